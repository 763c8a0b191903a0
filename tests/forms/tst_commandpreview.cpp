// The live command line in the main window's status bar, and the window's
// access keys.

#include "core/settings/settingskeys.h"
#include "fakes/scriptedprompts.h"
#include "fakes/settingsfolder.h"
#include "forms/common/optioncheckbox.h"
#include "forms/main/moorfield.h"
#include "support/recordinglauncher.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

using namespace ferncastle;
using namespace Qt::StringLiterals;

namespace {

using test::RecordingLauncher;

} // namespace

class TestCommandPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void diskToImageWhenNoButtonIsPointedAt();
    void followsEveryKeystrokeAndTick_data();
    void followsEveryKeystrokeAndTick();
    void showsTheButtonUnderTheMouseOrWithTheFocus();
    void warningsGoToTheStatusBarNotABox();
    void showsWhatWasStarted();
    void altMPressesDmkToJvAtOnce();
    void altDMovesTheFocusAndSpacePresses();
    void parameterBoxesHoldLongTexts();

private:
    QString preview() const;
    void showActive();

    std::unique_ptr<test::SettingsFolder> m_settings;
    std::unique_ptr<test::ScriptedPrompts> m_prompts;
    RecordingLauncher m_launcher;
    Moorfield *m_window = nullptr;
};

void TestCommandPreview::init()
{
    m_settings = std::make_unique<test::SettingsFolder>();
    m_settings->store(QLatin1String(keys::toolsFolder), u"/opt/tools/"_s);
    m_prompts = std::make_unique<test::ScriptedPrompts>();
    m_launcher.started.clear();
    // Whatever card this machine has, the buttons go on to their dialogs.
    const auto noCardCheck = [](const QString &) {
        CardCheckResult result;
        result.applies = false;
        return result;
    };
    m_window = new Moorfield({*m_prompts, m_launcher, m_settings->settingsStore(), {}, noCardCheck});
    QVERIFY(m_window->Form_Load());
}

void TestCommandPreview::cleanup()
{
    delete m_window;
    m_prompts.reset();
    m_settings.reset();
}

QString TestCommandPreview::preview() const
{
    return m_window->findChild<QLabel *>(u"lblCommandPreview"_s)->text();
}

void TestCommandPreview::showActive()
{
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TestCommandPreview::diskToImageWhenNoButtonIsPointedAt()
{
    QVERIFY(m_window->statusBar()->isVisible() || !m_window->isVisible());
    QCOMPARE(preview(), u"/opt/tools/cw2dmk   \"<file>\""_s);
}

// Each row changes one thing the way a user does, and the line follows.
void TestCommandPreview::followsEveryKeystrokeAndTick_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("expected");
    QTest::newRow("tick tracks") << u"ckbTracks"_s << u"/opt/tools/cw2dmk  -t86  \"<file>\""_s;
    QTest::newRow("type tracks") << u"txtTracks"_s << u"/opt/tools/cw2dmk  -t40  \"<file>\""_s;
    QTest::newRow("choose a kind") << u"cboKind"_s << u"/opt/tools/cw2dmk  -k3  \"<file>\""_s;
    QTest::newRow("type parameters") << u"txtExtraParms"_s << u"/opt/tools/cw2dmk  -v3 \"<file>\""_s;
}

void TestCommandPreview::followsEveryKeystrokeAndTick()
{
    QFETCH(QString, change);
    QFETCH(QString, expected);
    showActive();
    if (change == u"ckbTracks") {
        QTest::mouseClick(m_window->checkBox(Tracks), Qt::LeftButton);
    } else if (change == u"txtTracks") {
        m_window->checkBox(Tracks)->setValue(Ticked);
        QLineEdit *tracks = m_window->textBox(Tracks);
        tracks->clear();
        QTest::keyClicks(tracks, u"04"_s);
        QCOMPARE(preview(), u"/opt/tools/cw2dmk  -t4  \"<file>\""_s); // every keystroke
        QTest::keyClicks(tracks, u"0"_s);
    } else if (change == u"cboKind") {
        m_window->checkBox(Kind)->setValue(Ticked);
        m_window->list(Kind)->setCurrentIndex(2);
    } else {
        QTest::keyClicks(m_window->txtExtraParms, u"-v3"_s);
    }
    QCOMPARE(preview(), expected);
}

void TestCommandPreview::showsTheButtonUnderTheMouseOrWithTheFocus()
{
    showActive();
    m_window->txtOptionalParms->setText(u"-k3"_s);
    m_window->cmdJV3->setFocus();
    QCOMPARE(preview(), u"/opt/tools/jv2dmk -k3 \"<file>\""_s);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(m_window->cmdWrite, &enter);
    QCOMPARE(preview(), u"/opt/tools/dmk2cw   \"<file>\""_s);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(m_window->cmdWrite, &leave);
    QCOMPARE(preview(), u"/opt/tools/jv2dmk -k3 \"<file>\""_s);
    m_window->checkBox(Drive)->setFocus();
    QCOMPARE(preview(), u"/opt/tools/cw2dmk   \"<file>\""_s);
}

void TestCommandPreview::warningsGoToTheStatusBarNotABox()
{
    showActive();
    m_window->checkBox(Port)->setValue(Ticked);
    QTest::keyClicks(m_window->textBox(Port), u"12"_s);
    QCOMPARE(preview(), u"/opt/tools/cw2dmk   \"<file>\"\nThe 'CatWeasel port' is not a card number 0 "
                        "to F or a port 220 to 388 (hexadecimal). Option not used"_s);
    m_window->cmdDMK->setFocus();
    QTest::keyClicks(m_window->txtOptionalParms, u"x.dsk"_s);
    QVERIFY2(preview().startsWith(u"/opt/tools/dmk2jv3 x.dsk \"<file>\"\n\"x.dsk\" in the 'Optional parameters'"),
             qPrintable(preview()));
    QVERIFY(m_prompts->events.isEmpty());
    // The boxes still come when the button is pressed, and nothing starts.
    m_window->cmdDMK->click();
    QCOMPARE(m_prompts->events.size(), 1);
    QVERIFY(m_prompts->events.at(0).startsWith(u"message: \"x.dsk\""));
    QVERIFY(m_launcher.started.isEmpty());
}

void TestCommandPreview::showsWhatWasStarted()
{
    showActive();
    m_window->cmdRead->setFocus();
    m_prompts->answerFile(u"/disks/a.dmk"_s);
    m_window->cmdRead->click();
    QCOMPARE(m_launcher.started.size(), 1);
    QCOMPARE(preview(), u"Started: /opt/tools/cw2dmk   \"/disks/a.dmk\""_s);
    QTest::keyClicks(m_window->txtExtraParms, u"-v3"_s);
    QCOMPARE(preview(), u"/opt/tools/cw2dmk  -v3 \"<file>\""_s);
}

void TestCommandPreview::altMPressesDmkToJvAtOnce()
{
    showActive();
    QSignalSpy clicked(m_window->cmdDMK, &QPushButton::clicked);
    QTest::keyClick(m_window->checkBox(Drive), Qt::Key_M, Qt::AltModifier);
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(m_prompts->events, QStringList{u"file dialog"_s}); // the action ran
}

// Alt+D is "&Disk to Image" and "&D&MK to JV": it moves the focus between
// the two without pressing either; Space presses the focused one.
void TestCommandPreview::altDMovesTheFocusAndSpacePresses()
{
    showActive();
    QSignalSpy readClicked(m_window->cmdRead, &QPushButton::clicked);
    QSignalSpy dmkClicked(m_window->cmdDMK, &QPushButton::clicked);
    QSet<QWidget *> visited;
    for (int press = 0; press < 2; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::AltModifier);
        visited.insert(QApplication::focusWidget());
    }
    QCOMPARE(visited, (QSet<QWidget *>{m_window->cmdRead, m_window->cmdDMK}));
    QCOMPARE(readClicked.size() + dmkClicked.size(), 0);
    QPushButton *focused = qobject_cast<QPushButton *>(QApplication::focusWidget());
    QTest::keyClick(focused, Qt::Key_Space);
    QCOMPARE((focused == m_window->cmdRead ? readClicked : dmkClicked).size(), 1);
}

void TestCommandPreview::parameterBoxesHoldLongTexts()
{
    const QString longText = u"-v3 "_s + QString(40000, u'x').prepend(u"-u "_s);
    m_window->txtExtraParms->setText(longText);
    m_window->txtOptionalParms->setText(longText);
    QCOMPARE(m_window->txtExtraParms->text(), longText);
    QCOMPARE(m_window->txtOptionalParms->text(), longText);
    m_prompts->answerFile(u"/disks/a.dmk"_s);
    m_window->cmdRead->click();
    QCOMPARE(m_launcher.started.size(), 1);
    QCOMPARE(m_launcher.started.at(0).arguments.at(2).size(), 40000);
}

QTEST_MAIN(TestCommandPreview)
#include "tst_commandpreview.moc"
