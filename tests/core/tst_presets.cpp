#include "core/options/optionconflicts.h"
#include "core/options/optionstring.h"
#include "core/options/presets.h"
#include "core/options/typedparameters.h"
#include "core/tools/tooltable.h"

#include <QSet>
#include <QTest>

using namespace ferncastle;
using namespace Qt::StringLiterals;

class TestPresets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namesAreDistinct();
    void toolsTakeEveryPreset_data();
    void toolsTakeEveryPreset();
};

void TestPresets::namesAreDistinct()
{
    QSet<QString> names;
    for (const BuiltInPreset &preset : builtInPresets())
        names.insert(QString::fromUtf8(preset.name));
    QCOMPARE(names.size(), qsizetype(builtInPresets().size()));
}

void TestPresets::toolsTakeEveryPreset_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(builtInPresets().size()); ++i)
        QTest::newRow(builtInPresets()[i].name) << i;
}

// Each preset must give both card tools a command line they accept as it
// stands: every value in range, every flag one the tool knows, with the
// value it needs, and no combination the tool refuses.
void TestPresets::toolsTakeEveryPreset()
{
    QFETCH(int, index);
    const BuiltInPreset &preset = builtInPresets()[index];
    const OptionSet options = presetOptions(preset);
    QVERIFY(!QString::fromUtf8(preset.reason).isEmpty());
    QVERIFY(!preset.ticked.empty());

    for (const PresetValue &value : preset.ticked) {
        const OptionGroup &group = optionGroups()[value.group];
        if (group.kind == ValueKind::List)
            QVERIFY2(value.listIndex >= 0 && isListPosition(group, value.listIndex), group.caption);
        else
            QVERIFY2(value.text, group.caption);
    }
    int ticked = 0;
    for (const GroupState &state : options.groups)
        ticked += state.checkState == Ticked;
    QCOMPARE(ticked, int(preset.ticked.size()));
    QVERIFY(options.extraParms.isEmpty());

    for (const auto &[tool, built] : {std::pair{u"cw2dmk"_s, BuildReadOptions(options)},
                                      std::pair{u"dmk2cw"_s, BuildWriteOptions(options)}}) {
        QVERIFY2(built.warnings.isEmpty(), qPrintable(built.warnings.join(u'\n')));
        QVERIFY(!built.stopsRun);
        const ToolOptions &accepted = toolNamed(tool)->options;
        const TypedParameters typed = readTypedParameters(built.text, accepted);
        QVERIFY2(typed.bareWords.isEmpty(), qPrintable(built.text));
        QVERIFY(typed.valueMissing.isNull());
        for (const QChar letter : typed.options)
            QVERIFY2(accepted.accepts(letter), qPrintable(tool + u": -"_s + letter));
        QCOMPARE(checkOptionConflicts(tool, built.arguments), QStringList());
    }
}

QTEST_APPLESS_MAIN(TestPresets)
#include "tst_presets.moc"
