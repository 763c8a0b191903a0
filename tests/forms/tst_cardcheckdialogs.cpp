#include "fakes/scriptedprompts.h"
#include "fakes/settingsfolder.h"
#include "support/fakesystemtree.h"
#include "support/modaldriver.h"

#include "forms/cardcheck/cardcheckgate.h"
#include "forms/cardcheck/cardcheckquestion.h"
#include "forms/cardcheck/cardcheckreport.h"
#include "platform/cardcheck/cardcheck.h"

#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

using namespace ferncastle;
using ferncastle::test::FakeSystemTree;
using ferncastle::test::SettingsFolder;

namespace {

constexpr uid_t nobody = 65534;

CardQuestion noCardQuestion()
{
    CardQuestion question;
    question.ask = true;
    question.stoppers.append({FindingTopic::Card, FindingSeverity::WillStop, {},
                              QStringLiteral("No card <here>."), QStringLiteral("Seat the card.")});
    return question;
}

// A computer with an MK4 card, a kernel that allows port access, tools
// owned by nobody, and a stand-in pkexec on PATH whose calls do what the
// statuses say (see fixtures/pkexec/pkexec).
class ReportScene
{
public:
    explicit ReportScene(const QByteArray &pkexecStatuses, bool withPkexec = true)
        : m_savedPath(qgetenv("PATH"))
    {
        tree.addDevice(QStringLiteral("0000:03:00.0"), 0xE159, 0x0001, 0x5213, 0x0002);
        tree.setRelease("6.1.0-test");
        tree.write(QStringLiteral("boot/config-6.1.0-test"), "CONFIG_X86_IOPL_IOPERM=y\n");
        tree.write(QStringLiteral("proc/self/status"), "CapEff:\t0\nCapBnd:\t000001ffffffffff\nNoNewPrivs:\t0\n");
        QDir(m_dir.path()).mkpath(QStringLiteral("bin"));
        if (withPkexec)
            QFile::link(QStringLiteral(FIXTURES_DIR "/pkexec/pkexec"), m_dir.filePath(QStringLiteral("bin/pkexec")));
        qputenv("PATH", QFile::encodeName(m_dir.filePath(QStringLiteral("bin"))) + ":/usr/bin:/bin");
        qputenv("FAKE_PKEXEC_RECORD", QFile::encodeName(m_dir.filePath(QStringLiteral("call"))));
        qputenv("FAKE_PKEXEC_STATUSES", pkexecStatuses);
        for (const char *name : {"cw2dmk", "dmk2cw"}) {
            const QString path = m_dir.filePath(QLatin1String(name));
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.close();
            ::chmod(QFile::encodeName(path).constData(), 0755);
            if (::chown(QFile::encodeName(path).constData(), nobody, gid_t(-1)) != 0)
                qFatal("chown failed");
            tools.append(path);
        }
    }
    ~ReportScene() { qputenv("PATH", m_savedPath); }

    CardCheckReport::Check check() const
    {
        CardCheckSetup setup;
        setup.rootFolder = tree.root();
        setup.toolsFolder = m_dir.path() + u'/';
        setup.architecture = QStringLiteral("x86_64");
        setup.runsAsRoot = false;
        return [setup] { return checkCard(setup); };
    }

    FakeSystemTree tree;
    QStringList tools;

private:
    QTemporaryDir m_dir;
    QByteArray m_savedPath;
};

} // namespace

class TestCardCheckDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void questionListsWhatWillStopTheTool();
    void questionCancelsOnEnter();
    void questionStartsAnywayWithTheBoxTicked();
    void gateAsksOnlyWhenTheToolWillStop_data();
    void gateAsksOnlyWhenTheToolWillStop();
    void gateIsOffOnceTurnedOff();
    void reportShowsEveryFindingAndTheFix();
    void reportGivesTheToolsRootRights_data();
    void reportGivesTheToolsRootRights();
    void reportHidesTheFixWhenNothingNeedsIt();
    void reportTurnsTheQuestionBackOn();
};

void TestCardCheckDialogs::questionListsWhatWillStopTheTool()
{
    CardCheckQuestion dialog(QStringLiteral("cw2dmk"), noCardQuestion(), nullptr);
    QCOMPARE(dialog.cmdStartAnyway->text(), QStringLiteral("Start Anyway"));
    QCOMPARE(dialog.cmdCancel->text(), QStringLiteral("Cancel"));
    QCOMPARE(dialog.chkDontCheckAgain->text(), QStringLiteral("Don't check again"));
    QVERIFY(dialog.cmdCancel->isDefault());
    QVERIFY(!dialog.cmdStartAnyway->isDefault());
    QVERIFY(!dialog.chkDontCheckAgain->isChecked());
    const QString text = dialog.txtFindings->toPlainText();
    QVERIFY2(text.contains(QLatin1String("No card <here>.")), qPrintable(text));
    QVERIFY(text.contains(QLatin1String("Seat the card.")));
    QVERIFY(dialog.findChild<QLabel *>(QStringLiteral("lblIntro"))->text().contains(QLatin1String("cw2dmk")));
}

void TestCardCheckDialogs::questionCancelsOnEnter()
{
    CardCheckQuestion dialog(QStringLiteral("dmk2cw"), noCardQuestion(), nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dialog, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
}

void TestCardCheckDialogs::questionStartsAnywayWithTheBoxTicked()
{
    CardCheckQuestion dialog(QStringLiteral("cw2dmk"), noCardQuestion(), nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.chkDontCheckAgain, Qt::LeftButton, {}, QPoint(6, dialog.chkDontCheckAgain->height() / 2));
    QTest::mouseClick(dialog.cmdStartAnyway, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.dontCheckAgain());
}

void TestCardCheckDialogs::gateAsksOnlyWhenTheToolWillStop_data()
{
    QTest::addColumn<bool>("stops");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("button"); // pressed in the question; empty: none expected
    QTest::addColumn<bool>("tick");
    QTest::addColumn<bool>("allowed");

    QTest::newRow("fine") << false << "" << "" << false << true;
    QTest::newRow("replay") << true << "-R m.log -k2" << "" << false << true;
    QTest::newRow("cancelled") << true << "" << "cmdCancel" << false << false;
    QTest::newRow("started anyway") << true << "" << "cmdStartAnyway" << false << true;
    QTest::newRow("cancelled, don't check again") << true << "" << "cmdCancel" << true << false;
    QTest::newRow("started, don't check again") << true << "-p 0" << "cmdStartAnyway" << true << true;
}

void TestCardCheckDialogs::gateAsksOnlyWhenTheToolWillStop()
{
    QFETCH(bool, stops);
    QFETCH(QString, options);
    QFETCH(QString, button);
    QFETCH(bool, tick);
    QFETCH(bool, allowed);

    SettingsFolder settings;
    test::ScriptedPrompts prompts;
    CardCheckResult result;
    result.findings.append({FindingTopic::Card, stops ? FindingSeverity::WillStop : FindingSeverity::Fine,
                            {}, QStringLiteral("No card."), {}});
    prompts.answerCardCheck({button == QLatin1String("cmdStartAnyway"), tick});
    QCOMPARE(cardCheckAllowsRun(nullptr, prompts, settings.settingsStore(), *toolNamed(u"cw2dmk"),
                                QProcess::splitCommand(options), [&] { return result; }),
             allowed);
    QCOMPARE(prompts.cardQuestions.size(), button.isEmpty() ? 0 : 1);
    QCOMPARE(settings.rereadStore()->value(QStringLiteral("Skip Card Check")).toString(),
             tick ? QStringLiteral("1") : QString());
    QVERIFY(prompts.messages.isEmpty());
}

void TestCardCheckDialogs::gateIsOffOnceTurnedOff()
{
    SettingsFolder settings;
    settings.store(QStringLiteral("Skip Card Check"), QStringLiteral("1"));
    test::ScriptedPrompts prompts;
    int checks = 0;
    QVERIFY(cardCheckAllowsRun(nullptr, prompts, settings.settingsStore(), *toolNamed(u"dmk2cw"), {}, [&] {
        ++checks;
        return CardCheckResult();
    }));
    QCOMPARE(checks, 0);
}

void TestCardCheckDialogs::reportShowsEveryFindingAndTheFix()
{
    if (::geteuid() != 0)
        QSKIP("giving the tool files to another user needs root");
    SettingsFolder settings;
    ReportScene scene("");
    CardCheckReport report(scene.check(), settings.settingsStore(), nullptr);
    const QString text = report.txtReport->toPlainText();
    const CardCheckResult result = scene.check()();
    for (const CardFinding &finding : result.findings)
        QVERIFY2(text.contains(finding.sentence), qPrintable(finding.sentence));
    // What will stop the tool comes first.
    QVERIFY2(text.startsWith(QLatin1String("Will stop the tool: ") + scene.tools.at(0)), qPrintable(text));
    QVERIFY(text.contains(QLatin1String("-p 0 selects it")));

    QVERIFY(report.cmdGiveRootRights->isVisibleTo(&report));
    const QString plan = report.lblRootRightsPlan->text();
    QVERIFY2(plan.contains(scene.tools.at(0) + QStringLiteral(" and ") + scene.tools.at(1)), qPrintable(plan));
    QVERIFY(plan.contains(QStringLiteral("sudo chown root ") + scene.tools.join(u' ')));
    QVERIFY(plan.contains(QStringLiteral("sudo chmod u+s ") + scene.tools.join(u' ')));
}

void TestCardCheckDialogs::reportGivesTheToolsRootRights_data()
{
    QTest::addColumn<QByteArray>("statuses");
    QTest::addColumn<bool>("withPkexec");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<bool>("fixed");

    QTest::newRow("authorised") << QByteArray("run run") << true << "are now owned by root and set-user-ID" << true;
    // pkexec says yes but runs nothing: the files tell the truth.
    QTest::newRow("success not borne out") << QByteArray("0 0") << true << "still are not owned by root with the set-user-ID bit" << false;
    QTest::newRow("prompt dismissed") << QByteArray("126") << true << "Nothing was changed." << false;
    QTest::newRow("no pkexec") << QByteArray() << false << "pkexec (polkit) was not found" << false;
}

void TestCardCheckDialogs::reportGivesTheToolsRootRights()
{
    QFETCH(QByteArray, statuses);
    QFETCH(bool, withPkexec);
    QFETCH(QString, outcome);
    QFETCH(bool, fixed);
    if (::geteuid() != 0)
        QSKIP("giving the tool files to another user needs root");

    SettingsFolder settings;
    ReportScene scene(statuses, withPkexec);
    CardCheckReport report(scene.check(), settings.settingsStore(), nullptr);
    report.show();
    QSignalSpy finished(&report, &CardCheckReport::fixFinished);
    QTest::mouseClick(report.cmdGiveRootRights, Qt::LeftButton);
    QVERIFY(finished.wait(10000));

    QVERIFY2(report.lblFixOutcome->text().contains(outcome), qPrintable(report.lblFixOutcome->text()));
    QVERIFY(report.lblFixOutcome->isVisible());
    // However long the outcome, each text has its lines' height and none
    // lies over another.
    QTest::qWait(0);
    for (QLabel *label : {report.lblRootRightsPlan, report.lblFixOutcome}) {
        if (label->isVisible())
            QVERIFY2(label->height() >= label->heightForWidth(label->width()), qPrintable(label->objectName()));
    }
    QList<QWidget *> shown;
    for (QWidget *child : report.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (child->isVisible())
            shown.append(child);
    for (qsizetype i = 0; i < shown.size(); ++i)
        for (qsizetype j = i + 1; j < shown.size(); ++j)
            QVERIFY2(!shown[i]->geometry().intersects(shown[j]->geometry()),
                     qPrintable(shown[i]->objectName() + u' ' + shown[j]->objectName()));
    QCOMPARE(report.cmdGiveRootRights->isVisible(), !fixed);
    const QString text = report.txtReport->toPlainText();
    QCOMPARE(text.contains(QLatin1String("is owned by root and set-user-ID")), fixed);
    QCOMPARE(text.contains(QLatin1String("Must be setuid")), !fixed);
}

void TestCardCheckDialogs::reportHidesTheFixWhenNothingNeedsIt()
{
    SettingsFolder settings;
    CardCheckResult fine;
    fine.findings.append({FindingTopic::Privilege, FindingSeverity::Fine, {},
                          QStringLiteral("Ferncastle runs as root, so cw2dmk and dmk2cw do too."), {}});
    CardCheckReport report([fine] { return fine; }, settings.settingsStore(), nullptr);
    report.show();
    QVERIFY(!report.cmdGiveRootRights->isVisible());
    QVERIFY(!report.lblRootRightsPlan->isVisible());
    QVERIFY(report.txtReport->toPlainText().startsWith(QLatin1String("Fine: Ferncastle runs as root")));
}

void TestCardCheckDialogs::reportTurnsTheQuestionBackOn()
{
    SettingsFolder settings;
    settings.store(QStringLiteral("Skip Card Check"), QStringLiteral("1"));
    CardCheckReport report([] { return CardCheckResult(); }, settings.settingsStore(), nullptr);
    report.show();
    QVERIFY(!report.chkCheckBeforeRuns->isChecked());
    QTest::mouseClick(report.chkCheckBeforeRuns, Qt::LeftButton, {},
                      QPoint(6, report.chkCheckBeforeRuns->height() / 2));
    QVERIFY(report.chkCheckBeforeRuns->isChecked());
    QCOMPARE(settings.rereadStore()->value(QStringLiteral("Skip Card Check")).toString(), QStringLiteral("0"));
}

QTEST_MAIN(TestCardCheckDialogs)
#include "tst_cardcheckdialogs.moc"
