#include "core/options/optionconflicts.h"
#include "core/tools/tooltable.h"

#include <QProcess>
#include "core/tools/toolrun.h"

#include <QTest>

using namespace ferncastle;
using namespace Qt::StringLiterals;

namespace {

const QString replayRefusal =
    u"it stops with \"Replay (-R) mode does not support options -m, -T, -M, -d, -p, -a, -r, or -x\""_s;

} // namespace

class TestOptionConflicts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rulesNameOptionsTheToolAccepts();
    void conflicts_data();
    void conflicts();
    void warnedBeforeTheRun_data();
    void warnedBeforeTheRun();
};

// A rule about a letter the tool does not accept would never fire, or
// would fire on a letter the tool reads as something else.
void TestOptionConflicts::rulesNameOptionsTheToolAccepts()
{
    for (const ConflictRule &rule : conflictRules()) {
        const ToolRow *row = toolNamed(QString::fromLatin1(rule.tool));
        const ToolOptions *options = row ? &row->options : nullptr;
        QVERIFY2(options, rule.tool);
        QVERIFY2(options->accepts(QLatin1Char(rule.option)), rule.tool);
        for (const char *other = rule.others; *other; ++other)
            QVERIFY2(options->accepts(QLatin1Char(*other)), other);
    }
}

// The options as the tool is given them; the warnings, in rule order.
void TestOptionConflicts::conflicts_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QStringList>("warnings");

    const QString needsK = u"cw2dmk refuses -R without -k: it stops with \"Replay (-R) mode requires -k "
                           u"option\". Add it."_s;
    QTest::newRow("replay with -k") << u"cw2dmk"_s << u"-k2 -R m.log"_s << QStringList();
    QTest::newRow("replay with -x (cw2dmk-replay-with-x)")
        << u"cw2dmk"_s << u"-k2 -x2 -R m.log"_s
        << QStringList{u"cw2dmk refuses -R together with -x: "_s + replayRefusal + u". Take one of them off."_s};
    QTest::newRow("replay without -k (cw2dmk-replay-without-k)")
        << u"cw2dmk"_s << u"-R m.log"_s << QStringList{needsK};
    QTest::newRow("-k after -R still counts") << u"cw2dmk"_s << u"-R m.log -k2"_s << QStringList();
    QTest::newRow("two refused, each named once")
        << u"cw2dmk"_s << u"-d0 -m2 -d1 -R m.log"_s
        << QStringList{u"cw2dmk refuses -R together with -d, -m: "_s + replayRefusal + u". Take one of them off."_s,
                       needsK};
    QTest::newRow("R as a value is no replay") << u"cw2dmk"_s << u"-u R -x2"_s << QStringList();
    QTest::newRow("R in a cluster") << u"cw2dmk"_s << u"-jR m.log -k2 -T6"_s
                                    << QStringList{u"cw2dmk refuses -R together with -T: "_s + replayRefusal
                                                   + u". Take one of them off."_s};
    QTest::newRow("-R after -- is a file name") << u"cw2dmk"_s << u"-x2 -- -R"_s << QStringList();
    QTest::newRow("fine tuning after -k") << u"cw2dmk"_s << u"-k2 -c2 -l6000 -12"_s << QStringList();
    QTest::newRow("fine tuning before -k")
        << u"cw2dmk"_s << u"-c2 -f9 -k2 -l6000"_s
        << QStringList{u"cw2dmk refuses -c, -f unless -k comes before: it stops and prints its usage text. "
                       u"Give -k first."_s};
    QTest::newRow("fine tuning without -k")
        << u"cw2dmk"_s << u"-2 30"_s
        << QStringList{u"cw2dmk refuses -2 unless -k comes before: it stops and prints its usage text. "
                       u"Give -k first."_s};
    QTest::newRow("dmk2cw -g with -i")
        << u"dmk2cw"_s << u"-i 40 -g10"_s
        << QStringList{u"dmk2cw refuses -g together with -i: it stops with \"-g and -i cannot be used "
                       u"together\". Take one of them off."_s};
    QTest::newRow("dmk2cw has no replay") << u"dmk2cw"_s << u"-d0 -R x"_s << QStringList();
    QTest::newRow("jv2dmk") << u"jv2dmk"_s << u"-j1 -k2 -i1"_s << QStringList();
    QTest::newRow("unknown tool") << u"cw2dmk.exe"_s << u"-R m.log"_s << QStringList();
}

void TestOptionConflicts::conflicts()
{
    QFETCH(QString, tool);
    QFETCH(QString, options);
    QFETCH(QStringList, warnings);

    QCOMPARE(checkOptionConflicts(tool, QProcess::splitCommand(options)), warnings);
}

// The planned run names the ticked group a refused flag came from; the
// preview and the button both show what planToolRun warns of.
void TestOptionConflicts::warnedBeforeTheRun_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("listIndex");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("warning");

    QTest::newRow("retries ticked, -R typed")
        << int(Retries) << -1 << u"6"_s << u"-k2 -R m.log"_s
        << u"cw2dmk refuses -R together with -x (the ticked 'Number of retries'): "_s + replayRefusal
               + u". Take one of them off."_s;
    QTest::newRow("drive ticked, -R typed")
        << int(Drive) << 1 << QString() << u"-R m.log -k2"_s
        << u"cw2dmk refuses -R together with -d (the ticked 'CatWeasel drive'): "_s + replayRefusal
               + u". Take one of them off."_s;
    QTest::newRow("-R typed, kind unticked")
        << int(Tracks) << -1 << u"40"_s << u"-R m.log"_s
        << u"cw2dmk refuses -R without -k (or tick 'Drive kind'): it stops with \"Replay (-R) mode "
           u"requires -k option\". Add it."_s;
    QTest::newRow("kind ticked comes before typed fine tuning")
        << int(Kind) << 1 << QString() << u"-c2"_s << QString();
}

void TestOptionConflicts::warnedBeforeTheRun()
{
    QFETCH(int, group);
    QFETCH(int, listIndex);
    QFETCH(QString, value);
    QFETCH(QString, typed);
    QFETCH(QString, warning);
    RunInputs inputs;
    inputs.options.groups[group] = {Ticked, listIndex, value};
    inputs.options.extraParms = typed;
    inputs.toolsFolder = u"/t/"_s;

    const PlannedRun run = planToolRun(ToolActionId::DiskToImage, inputs, QLatin1String(unchosenFile));

    QCOMPARE(run.warnings, warning.isEmpty() ? QStringList() : QStringList{warning});
    QVERIFY(!run.stopsRun); // the tool refuses before it touches a drive or a file
}

QTEST_APPLESS_MAIN(TestOptionConflicts)
#include "tst_optionconflicts.moc"
