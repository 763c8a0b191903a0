#include "core/options/argumenttext.h"
#include "core/options/optionstring.h"

#include <QTest>

using namespace ferncastle;

Q_DECLARE_METATYPE(ferncastle::OptionSet)

namespace {

const QString nul(1, QChar(0));

OptionSet withPort(int checkState, const QString &port, const QString &extra)
{
    OptionSet options;
    options.groups[Port] = {checkState, -1, port};
    options.extraParms = extra;
    return options;
}

} // namespace

class TestArgumentText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusalNamesTheBoxThatBroughtTheNul_data();
    void refusalNamesTheBoxThatBroughtTheNul();
};

void TestArgumentText::refusalNamesTheBoxThatBroughtTheNul_data()
{
    QTest::addColumn<OptionSet>("options");
    QTest::addColumn<QString>("box"); // empty: nothing refused

    QTest::newRow("plain texts") << withPort(Ticked, "1", "-v -x 9") << QString();
    QTest::newRow("NUL in the additional parameters")
        << withPort(Unticked, "", "-v" + nul + "-x 9") << "Additional parameters";
    QTest::newRow("NUL in an unticked box is never used")
        << withPort(Unticked, "1" + nul, "-v") << QString();
    QTest::newRow("NUL in a ticked port is refused as no number, not passed")
        << withPort(Ticked, "1" + nul, "-v") << QString();
}

// The option string as the window builds it decides what reaches the tool.
void TestArgumentText::refusalNamesTheBoxThatBroughtTheNul()
{
    QFETCH(OptionSet, options);
    QFETCH(QString, box);
    for (const OptionString &built : {BuildReadOptions(options), BuildWriteOptions(options)}) {
        const QString refusal = optionTextsRefusal(options, built.text);
        if (box.isEmpty()) {
            QVERIFY2(refusal.isEmpty(), qPrintable(refusal));
            QVERIFY(!built.text.contains(QChar(0)));
        } else {
            QVERIFY2(refusal.startsWith("The \"" + box + "\" box holds a NUL character"),
                     qPrintable(refusal));
        }
    }
    QVERIFY(argumentTextRefusal("-v" + nul, optionalParametersCaption).contains("\"Optional parameters\""));
}

QTEST_GUILESS_MAIN(TestArgumentText)
#include "tst_argumenttext.moc"
