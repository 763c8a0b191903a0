#include "core/cardcheck/cardverdict.h"

#include <QProcess>
#include <QTest>

using namespace ferncastle;

namespace {

CardFinding finding(FindingSeverity severity, FindingTopic topic = FindingTopic::Card,
                    const QString &tool = {})
{
    return {topic, severity, tool, QStringLiteral("sentence"), {}};
}

// The result of a check: "card" (one card found, all fine), "nocard"
// (none found), "unknown" (nothing certain), "cw2dmk" (only cw2dmk lacks
// its rights), "oldkernel" (the kernel stops every tool).
CardCheckResult resultFor(const QString &name)
{
    CardCheckResult result;
    result.cardsCheckable = true;
    result.findings.append(finding(FindingSeverity::Fine, FindingTopic::Architecture));
    if (name == QLatin1String("nocard")) {
        result.findings.append(finding(FindingSeverity::WillStop));
    } else if (name == QLatin1String("unknown")) {
        result.cardsCheckable = false;
        result.findings.append(finding(FindingSeverity::CannotTell));
        result.findings.append(finding(FindingSeverity::CannotTell, FindingTopic::KernelPorts));
    } else {
        result.cards.append({4, QStringLiteral("0000:03:00.0"), 0});
        result.findings.append(finding(FindingSeverity::Fine));
    }
    if (name == QLatin1String("cw2dmk")) {
        result.findings.append(finding(FindingSeverity::WillStop, FindingTopic::Privilege,
                                       QStringLiteral("cw2dmk")));
        result.findings.append(finding(FindingSeverity::Fine, FindingTopic::Privilege,
                                       QStringLiteral("dmk2cw")));
    }
    if (name == QLatin1String("oldkernel"))
        result.findings.append(finding(FindingSeverity::WillStop, FindingTopic::KernelPorts));
    return result;
}

} // namespace

class TestCardVerdict : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsPortOption_data();
    void readsPortOption();
    void decidesWhetherToAsk_data();
    void decidesWhetherToAsk();
    void namesACardThatIsNotThere();
};

void TestCardVerdict::readsPortOption_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("value");

    using K = PortOption::Kind;
    QTest::newRow("none") << "-v2 -k 2" << int(K::Absent) << -1;
    QTest::newRow("joined index") << "-p0" << int(K::CardIndex) << 0;
    QTest::newRow("separate index") << "-k 2 -p 1" << int(K::CardIndex) << 1;
    QTest::newRow("hex index F") << " -pF" << int(K::CardIndex) << 15;
    QTest::newRow("MK1 low end") << "-p220" << int(K::IsaPort) << 0x220;
    QTest::newRow("MK1 default") << "-p 320" << int(K::IsaPort) << 0x320;
    QTest::newRow("MK1 high end") << "-p388" << int(K::IsaPort) << 0x388;
    QTest::newRow("between") << "-p 100" << int(K::Invalid) << 0x100;
    QTest::newRow("above MK1") << "-p 389" << int(K::Invalid) << 0x389;
    QTest::newRow("not a number") << "-p xyz" << int(K::Invalid) << -1;
    QTest::newRow("value of another option") << "-u -p1.log -k2" << int(K::Absent) << -1;
    QTest::newRow("last one counts") << "-p 0 -p 320" << int(K::IsaPort) << 0x320;
    QTest::newRow("quoted") << "\"-p 2\"" << int(K::CardIndex) << 2;
}

void TestCardVerdict::readsPortOption()
{
    QFETCH(QString, options);
    QFETCH(int, kind);
    QFETCH(int, value);
    const PortOption port = portOption(QProcess::splitCommand(options), toolNamed(u"cw2dmk")->options);
    QCOMPARE(int(port.kind), kind);
    QCOMPARE(port.value, value);
}

void TestCardVerdict::decidesWhetherToAsk_data()
{
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("options");
    QTest::addColumn<int>("stoppers"); // 0: nothing is asked

    QTest::newRow("all fine") << "card" << "cw2dmk" << "" << 0;
    QTest::newRow("no card") << "nocard" << "cw2dmk" << "-k2" << 1;
    QTest::newRow("no card, writing") << "nocard" << "dmk2cw" << "" << 1;
    QTest::newRow("cannot tell") << "unknown" << "cw2dmk" << "" << 0;
    QTest::newRow("replay needs no card") << "nocard" << "cw2dmk" << "-R m1.log -k2" << 0;
    QTest::newRow("replay joined") << "oldkernel" << "cw2dmk" << "-k2 -Rm1.log" << 0;
    QTest::newRow("dmk2cw has no replay") << "nocard" << "dmk2cw" << "-R m1.log" << 1;
    QTest::newRow("MK1 port") << "nocard" << "cw2dmk" << "-p 320" << 0;
    QTest::newRow("MK1 port, writing") << "oldkernel" << "dmk2cw" << "-p2E0" << 0;
    QTest::newRow("PCI index is no MK1") << "nocard" << "cw2dmk" << "-p 0" << 1;
    QTest::newRow("only this tool lacks rights") << "cw2dmk" << "cw2dmk" << "" << 1;
    QTest::newRow("the other tool lacks rights") << "cw2dmk" << "dmk2cw" << "" << 0;
    QTest::newRow("kernel stops every tool") << "oldkernel" << "dmk2cw" << "" << 1;
    QTest::newRow("no card and no ports") << "oldkernel" << "cw2dmk" << "" << 1;
    QTest::newRow("not a card tool") << "nocard" << "dmk2jv3" << "" << 0;
    QTest::newRow("second card asked for") << "card" << "cw2dmk" << "-p1" << 1;
    QTest::newRow("first card asked for") << "card" << "cw2dmk" << "-p0" << 0;
}

void TestCardVerdict::decidesWhetherToAsk()
{
    QFETCH(QString, result);
    QFETCH(QString, tool);
    QFETCH(QString, options);
    QFETCH(int, stoppers);

    const CardQuestion question = cardQuestionFor(resultFor(result), *toolNamed(tool),
                                                  QProcess::splitCommand(options));
    QCOMPARE(question.ask, stoppers > 0);
    QCOMPARE(question.stoppers.size(), stoppers);
    for (const CardFinding &stopper : question.stoppers)
        QCOMPARE(stopper.severity, FindingSeverity::WillStop);
}

void TestCardVerdict::namesACardThatIsNotThere()
{
    const CardQuestion question = cardQuestionFor(resultFor(QStringLiteral("card")),
                                                  *toolNamed(u"dmk2cw"), {QStringLiteral("-pA")});
    QVERIFY(question.ask);
    QCOMPARE(question.stoppers.first().sentence,
             QStringLiteral("The option -p A selects card number 11, but only 1 card was found."));
    QCOMPARE(question.stoppers.first().fix,
             QStringLiteral("Give -p 0, or leave -p out to use the one card."));

    CardCheckResult notApplicable = resultFor(QStringLiteral("nocard"));
    notApplicable.applies = false;
    QVERIFY(!cardQuestionFor(notApplicable, *toolNamed(u"cw2dmk"), {}).ask);
}

QTEST_GUILESS_MAIN(TestCardVerdict)
#include "tst_cardverdict.moc"
