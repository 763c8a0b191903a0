#include "core/optionstring.h"

#include <QTest>

using namespace ferncastle;

class TestOptionString : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readWorkedExample();
};

void TestOptionString::readWorkedExample()
{
    OptionSet options;
    for (GroupState &group : options.groups)
        group.checkState = Ticked;
    options.groups[Drive].listIndex = 1;
    options.groups[Port].text = QStringLiteral("0");
    options.groups[Kind].listIndex = 1;
    options.groups[Steps].listIndex = 1;
    options.groups[Tracks].text = QStringLiteral("40");
    options.groups[Sides].listIndex = 1;
    options.groups[Encoding].listIndex = 1;
    options.groups[Retries].text = QStringLiteral("5");
    const OptionString result = buildReadOptions(options);
    QCOMPARE(result.text, QStringLiteral("-d1 -p0 -k2 -m2 -t40 -s2 -e2 -x5 "));
    QVERIFY(result.warnings.isEmpty());
}

QTEST_APPLESS_MAIN(TestOptionString)
#include "tst_optionstring.moc"
