// The main window at 2x scaling, on a screen it fits and on one it does
// not: 1024 pixels tall is 512 at 2x, less than the window needs.
#include "fakes/scriptedprompts.h"
#include "fakes/settingsfolder.h"
#include "forms/main/moorfield.h"
#include "platform/run/terminallauncher.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryFile>
#include <QTest>

using namespace ferncastle;

namespace {

QScreen *screenNamed(const char *name)
{
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen->name() == QLatin1String(name))
            return screen;
    }
    return nullptr;
}

struct Window {
    test::SettingsFolder settings;
    test::ScriptedPrompts prompts;
    TerminalLauncher launcher;
    Moorfield window{{prompts, launcher, settings.settingsStore(), [] {}}};

    void showOn(const char *screenName)
    {
        QScreen *screen = screenNamed(screenName);
        window.setScreen(screen);
        window.move(screen->availableGeometry().topLeft());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};

} // namespace

class TestSmallScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void fittingWindowKeepsItsFixedLayout();
    void tallWindowScrollsToEveryButton();
};

void TestSmallScreen::initTestCase()
{
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
    QVERIFY(screenNamed("tall"));
    QVERIFY(screenNamed("short"));
}

void TestSmallScreen::fittingWindowKeepsItsFixedLayout()
{
    Window w;
    w.showOn("tall");
    QVERIFY(!w.window.findChild<QScrollArea *>());
    QCOMPARE(w.window.centralWidget()->objectName(), "client");
    QCOMPARE(w.window.centralWidget()->size(), QSize(346, 575));
    QCOMPARE(w.window.minimumSize(), w.window.maximumSize());
}

void TestSmallScreen::tallWindowScrollsToEveryButton()
{
    Window w;
    w.showOn("short");
    const QRect available = w.window.screen()->availableGeometry();
    QVERIFY2(w.window.frameGeometry().height() <= available.height(),
             qPrintable(QString::number(w.window.frameGeometry().height())));
    auto *scroll = w.window.findChild<QScrollArea *>();
    QVERIFY(scroll);
    QCOMPARE(scroll->widget()->objectName(), "client");
    QCOMPARE(scroll->widget()->size(), QSize(346, 575));
    QVERIFY(w.window.minimumSize() != w.window.maximumSize()); // the user may resize it
    QVERIFY(!scroll->horizontalScrollBar()->isVisible()); // the width still fits
    for (const char *name : {"cmdExit", "cmdJV3", "cmdDMK", "cmdRead"}) {
        auto *button = w.window.findChild<QPushButton *>(QLatin1String(name));
        scroll->ensureWidgetVisible(button);
        const QRect shown(button->mapTo(scroll->viewport(), QPoint()), button->size());
        QVERIFY2(scroll->viewport()->rect().contains(shown), name);
    }
}

// Two screens at 2x: 1920 x 1600 pixels (960 x 800 for the window) and
// 1920 x 1024 (960 x 512).
int main(int argc, char **argv)
{
    QTemporaryFile config;
    if (!config.open())
        return 1;
    config.write(R"({"screens": [
        {"name": "tall", "x": 0, "y": 0, "width": 1920, "height": 1600, "logicalDpi": 96},
        {"name": "short", "x": 1920, "y": 0, "width": 1920, "height": 1024, "logicalDpi": 96}]})");
    config.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestSmallScreen test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_smallscreen.moc"
