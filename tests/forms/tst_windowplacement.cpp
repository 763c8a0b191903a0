// Where windows open and how they close, on a 1280 x 1024 screen with a
// 12-point font: the main window fixed, with a close box only and a status
// bar of one line; each secondary window over the main window and inside
// the screen; Escape and Ctrl+W closing what may close, and asking first
// while a tool runs.

#include "fakes/scriptedprompts.h"
#include "fakes/settingsfolder.h"
#include "forms/cardcheck/cardcheckreport.h"
#include "forms/common/onelinelabel.h"
#include "forms/common/optioncheckbox.h"
#include "forms/imageinfo/imageinfowindow.h"
#include "forms/imageinfo/sectorview.h"
#include "forms/main/moorfield.h"
#include "forms/run/runwindow.h"
#include "forms/run/runwindowlauncher.h"
#include "platform/run/terminallauncher.h"
#include "support/fourstateimage.h"
#include "support/standincommand.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

using namespace ferncastle;

namespace {

constexpr int waitMs = 30000;

struct Scene {
    test::SettingsFolder settings;
    test::ScriptedPrompts prompts;
    TerminalLauncher terminal;
    RunWindowLauncher runs{prompts};
    QTemporaryDir dir;
    Moorfield main{{prompts, terminal, settings.settingsStore(), [] {}}};
    QPointer<QWidget> window;

    Scene() { runs.setOwnerWindow(&main); }
    ~Scene() { delete window.data(); }

    void showMainAt(Qt::Corner corner)
    {
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        const QRect available = main.screen()->availableGeometry();
        QRect frame = main.frameGeometry();
        if (corner == Qt::TopLeftCorner)
            frame.moveTopLeft(available.topLeft());
        else
            frame.moveBottomRight(available.bottomRight());
        main.move(frame.topLeft());
        QTRY_COMPARE(main.frameGeometry().topLeft(), frame.topLeft());
    }

    QString image()
    {
        QFile file(dir.filePath(QStringLiteral("four.dmk")));
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(test::fourStateImage());
        return file.fileName();
    }

    // A tool that runs until stopped, or one that ends at once.
    ToolCommand run(bool running)
    {
        ToolCommand command = test::standInCommand(QDir(dir.path()), QStringLiteral("stubborn-tool"),
                                                   QStringLiteral("cw2dmk"), QStringLiteral("c.dmk"));
        if (!running)
            command.program = QStringLiteral("/bin/true");
        return command;
    }

    // The window as the program opens it, shown.
    QWidget *open(const QString &which)
    {
        if (which == u"image information" || which == u"sector view") {
            ImageInfoWindow *info = main.openImageInformation(image());
            window = info;
            if (which == u"sector view" && info) {
                info->tblSectors->setCurrentCell(0, 0);
                info->tblSectors->setFocus();
                QTest::keyClick(info->tblSectors, Qt::Key_Return);
                return info->sectorView;
            }
        } else if (which.startsWith(u"run window")) {
            runs.start(run(which.endsWith(u"running")));
            window = runs.lastWindow();
        } else {
            auto *report = new CardCheckReport([] { return CardCheckResult(); }, settings.settingsStore(), &main);
            report->show();
            window = report;
        }
        return window;
    }
};

} // namespace

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mainWindowHasACloseBoxOnlyAndKeepsItsSize();
    void secondaryWindowsOpenOverTheMainWindow_data();
    void secondaryWindowsOpenOverTheMainWindow();
    void escapeAndCtrlWClose_data();
    void escapeAndCtrlWClose();
};

void TestWindowPlacement::mainWindowHasACloseBoxOnlyAndKeepsItsSize()
{
    Scene scene;
    scene.showMainAt(Qt::TopLeftCorner);
    const Qt::WindowFlags flags = scene.main.windowFlags();
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMinMaxButtonsHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(scene.main.minimumSize(), scene.main.maximumSize());
    // A preview far longer than the bar, with warnings under it, stays one
    // line: cut short where it is drawn, whole in its tooltip.
    const QSize before = scene.main.size();
    scene.main.txtExtraParms->setText(QStringLiteral("-v3 ").repeated(60) + QStringLiteral("-R"));
    scene.main.checkBox(Retries)->setValue(Ticked);
    QApplication::processEvents();
    auto *preview = scene.main.findChild<OneLineLabel *>(QStringLiteral("lblCommandPreview"));
    QVERIFY(preview);
    QCOMPARE(scene.main.size(), before);
    QCOMPARE(preview->height(), preview->sizeHint().height());
    QVERIFY(preview->shownText().endsWith(QChar(0x2026)));
    QVERIFY(preview->text().contains(u'\n')); // a warning follows the line
    QVERIFY(preview->toolTip().contains(QStringLiteral("-v3 -R")));
}

void TestWindowPlacement::secondaryWindowsOpenOverTheMainWindow_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<Qt::Corner>("mainCorner");
    QTest::newRow("image information, main at the top left") << QStringLiteral("image information") << Qt::TopLeftCorner;
    QTest::newRow("image information, main at the bottom right") << QStringLiteral("image information") << Qt::BottomRightCorner;
    QTest::newRow("sector view") << QStringLiteral("sector view") << Qt::BottomRightCorner;
    QTest::newRow("run window") << QStringLiteral("run window") << Qt::BottomRightCorner;
    QTest::newRow("card report") << QStringLiteral("card report") << Qt::TopLeftCorner;
}

void TestWindowPlacement::secondaryWindowsOpenOverTheMainWindow()
{
    QFETCH(QString, window);
    QFETCH(Qt::Corner, mainCorner);
    Scene scene;
    scene.showMainAt(mainCorner);
    QWidget *opened = scene.open(window);
    QVERIFY(opened);
    QVERIFY(QTest::qWaitForWindowExposed(opened));
    const QRect frame = opened->frameGeometry();
    const QRect available = scene.main.screen()->availableGeometry();
    QVERIFY2(available.contains(frame), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                       .arg(frame.x()).arg(frame.y())
                                                       .arg(frame.width()).arg(frame.height())));
    QVERIFY(frame.intersects(scene.main.frameGeometry()));
    QVERIFY(opened->isWindow());
}

void TestWindowPlacement::escapeAndCtrlWClose_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<bool>("asks");
    const QKeySequence escape(Qt::Key_Escape);
    const QKeySequence ctrlW(Qt::CTRL | Qt::Key_W);
    QTest::newRow("image information, Escape") << QStringLiteral("image information") << escape << false;
    QTest::newRow("card report, Ctrl+W") << QStringLiteral("card report") << ctrlW << false;
    QTest::newRow("running run window, Ctrl+W") << QStringLiteral("run window running") << ctrlW << true;
}

void TestWindowPlacement::escapeAndCtrlWClose()
{
    QFETCH(QString, window);
    QFETCH(QKeySequence, keys);
    QFETCH(bool, asks);
    Scene scene;
    scene.showMainAt(Qt::TopLeftCorner);
    QPointer<QWidget> opened = scene.open(window);
    QVERIFY(opened);
    if (auto *run = qobject_cast<RunWindow *>(opened.data())) {
        if (asks)
            QVERIFY(QTest::qWaitFor([&] { return run->isRunning(); }, waitMs));
        else
            QVERIFY(QTest::qWaitFor([&] { return run->hasEnded(); }, waitMs));
    }
    // A window over another counts as active while its owner is; the keys
    // go to the window that really is.
    opened->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), opened.data());
    scene.prompts.answerYesNo(false); // a running tool is kept
    QTest::keySequence(opened.data(), keys);
    QCOMPARE(scene.prompts.events.size(), asks ? 1 : 0);
    if (asks) {
        QVERIFY(scene.prompts.events.at(0).startsWith(QStringLiteral("question: cw2dmk is still running")));
        QVERIFY(opened && opened->isVisible());
        scene.prompts.answerYesNo(true);
        QTest::keySequence(opened.data(), keys); // yes: stopped, then closed
        QVERIFY(QTest::qWaitFor([&] { return !opened || !opened->isVisible(); }, waitMs));
    } else {
        QVERIFY(!opened || !opened->isVisible());
    }
}

// One screen of 1280 x 1024 and the 12-point font a user had chosen.
int main(int argc, char **argv)
{
    QTemporaryFile config;
    if (!config.open())
        return 1;
    config.write(R"({"screens": [
        {"name": "desk", "x": 0, "y": 0, "width": 1280, "height": 1024, "logicalDpi": 96}]})");
    config.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
    QApplication app(argc, argv);
    QFont font = QApplication::font();
    font.setPointSize(12);
    QApplication::setFont(font);
    TestWindowPlacement test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowplacement.moc"
