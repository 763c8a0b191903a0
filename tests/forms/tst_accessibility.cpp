// What a screen reader meets: every control of every window named, the
// secondary windows announced as windows, the track grid as a table of
// named cells, and the verdict as an alert.

#include "core/image/imagereader.h"
#include "fakes/scriptedprompts.h"
#include "fakes/settingsfolder.h"
#include "forms/about/frmabout.h"
#include "forms/cardcheck/cardcheckreport.h"
#include "forms/grid/trackgrid.h"
#include "forms/imageinfo/imageinfowindow.h"
#include "forms/main/moorfield.h"
#include "forms/preferences/frmpreferences.h"
#include "forms/run/runwindow.h"
#include "platform/run/terminallauncher.h"
#include "platform/sysinfo.h"
#include "support/fourstateimage.h"

#include <QAccessible>
#include <QLabel>
#include <QTest>

#include <functional>
#include <memory>

using namespace ferncastle;

namespace {

// The controls a user operates or reads a value from; text and pictures
// are named by what they show.
bool isControl(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::Table:
    case QAccessible::ProgressBar:
        return true;
    default:
        return false;
    }
}

// A name a screen reader can use: present, free of access-key marks, not
// the frame's title repeated and not merely the value shown.
QString nameProblem(QAccessibleInterface *control, const QString &frameTitle)
{
    const QString name = control->text(QAccessible::Name);
    if (name.trimmed().isEmpty())
        return QStringLiteral("no name");
    if (name.contains(u'&') && !name.contains(QStringLiteral("&&")))
        return QStringLiteral("an access-key mark in \"%1\"").arg(name);
    if (name == frameTitle)
        return QStringLiteral("named after its frame \"%1\"").arg(name);
    if (control->role() == QAccessible::ComboBox && name == control->text(QAccessible::Value))
        return QStringLiteral("named by its value \"%1\"").arg(name);
    return {};
}

// Controls inside lists, tables and trees are their rows and cells, named
// by their contents; scroll bars are not walked.
void collectProblems(QAccessibleInterface *node, const QString &frameTitle, QStringList &problems)
{
    const QAccessible::Role role = node->role();
    if (isControl(role) && !node->state().invisible) {
        const QString problem = nameProblem(node, frameTitle);
        if (!problem.isEmpty())
            problems << QStringLiteral("%1 (%2): %3")
                            .arg(node->object() ? node->object()->objectName() : QString())
                            .arg(int(role))
                            .arg(problem);
    }
    if (role == QAccessible::List || role == QAccessible::Tree || role == QAccessible::Table)
        return;
    const QString title = role == QAccessible::Grouping ? node->text(QAccessible::Name) : frameTitle;
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface *child = node->child(i))
            collectProblems(child, title, problems);
    }
}

// Each window as the program builds it, shown; the holder keeps what the
// window needs alive.
struct Scene {
    test::SettingsFolder settings;
    test::ScriptedPrompts prompts;
    TerminalLauncher launcher;
    std::unique_ptr<SystemInformation> systemInformation = platformSystemInformation();
    std::unique_ptr<Moorfield> main;
    std::unique_ptr<QWidget> window;

    Scene() { main = std::make_unique<Moorfield>(MoorfieldServices{prompts, launcher, settings.settingsStore()}); }

    QWidget *open(const QString &which)
    {
        if (which == u"main window")
            return main.get();
        if (which == u"run window") {
            ToolCommand command;
            command.tool = QStringLiteral("cw2dmk");
            command.program = QStringLiteral("/bin/true");
            command.commandLine = QStringLiteral("cw2dmk");
            window.reset(new RunWindow(command, prompts));
        } else if (which == u"image information") {
            auto *info = new ImageInfoWindow;
            info->showImage(readDiskImage(test::fourStateImage()), QStringLiteral("four.dmk"));
            info->offerComparison(prompts);
            window.reset(info);
        } else if (which == u"preferences") {
            window.reset(new frmPreferences(prompts, settings.settingsStore(), main.get()));
        } else if (which == u"about") {
            auto *about = new frmAbout(prompts, *systemInformation, main.get());
            about->Form_Load();
            window.reset(about);
        } else {
            window.reset(new CardCheckReport([] { return CardCheckResult(); }, settings.settingsStore(), main.get()));
        }
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        return window.get();
    }
};

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyControlHasAName_data();
    void everyControlHasAName();
    void gridCellsAreNamedByPlaceAndState_data();
    void gridCellsAreNamedByPlaceAndState();
    void verdictIsAnAlert();
};

void TestAccessibility::everyControlHasAName_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("role");
    QTest::newRow("main window") << QStringLiteral("main window") << int(QAccessible::Window);
    QTest::newRow("run window") << QStringLiteral("run window") << int(QAccessible::Window);
    QTest::newRow("image information") << QStringLiteral("image information") << int(QAccessible::Window);
    QTest::newRow("preferences") << QStringLiteral("preferences") << int(QAccessible::Dialog);
    QTest::newRow("about") << QStringLiteral("about") << int(QAccessible::Dialog);
    QTest::newRow("card report") << QStringLiteral("card report") << int(QAccessible::Dialog);
}

void TestAccessibility::everyControlHasAName()
{
    QFETCH(QString, window);
    QFETCH(int, role);
    Scene scene;
    QWidget *shown = scene.open(window);
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    QAccessibleInterface *root = QAccessible::queryAccessibleInterface(shown);
    QVERIFY(root);
    QCOMPARE(int(root->role()), role);
    QVERIFY(!root->text(QAccessible::Name).isEmpty());
    QStringList problems;
    collectProblems(root, QString(), problems);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void TestAccessibility::gridCellsAreNamedByPlaceAndState_data()
{
    QTest::addColumn<int>("track");
    QTest::addColumn<QString>("name");
    QTest::newRow("good") << 0 << QStringLiteral("track 0 side 0: all sectors good");
    QTest::newRow("CRC error") << 1 << QStringLiteral("track 1 side 0: CRC errors or damage");
    QTest::newRow("missing sector") << 2 << QStringLiteral("track 2 side 0: missing sectors");
    QTest::newRow("unformatted") << 3 << QStringLiteral("track 3 side 0: empty or unformatted");
}

void TestAccessibility::gridCellsAreNamedByPlaceAndState()
{
    QFETCH(int, track);
    QFETCH(QString, name);
    ImageInfoWindow info;
    info.showImage(readDiskImage(test::fourStateImage()), QStringLiteral("four.dmk"));
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(info.grid);
    QVERIFY(grid && grid->tableInterface());
    QCOMPARE(grid->tableInterface()->rowCount(), 1);
    QCOMPARE(grid->tableInterface()->columnCount(), 4);
    QCOMPARE(grid->childCount(), 4);
    QAccessibleInterface *cell = grid->tableInterface()->cellAt(0, track);
    QVERIFY(cell);
    QCOMPARE(cell->role(), QAccessible::Cell);
    QCOMPARE(cell->text(QAccessible::Name), name);
    QCOMPARE(cell->text(QAccessible::Description), info.grid->model().cell(track, 0).description);
    QCOMPARE(grid->indexOfChild(cell), track);
    QCOMPARE(grid->childAt(cell->rect().center().x(), cell->rect().center().y()), cell);
    // The selection moves with the keys, and the reader is told of it.
    info.grid->select(track, 0);
    QVERIFY(cell->state().selected);
    QCOMPARE(grid->tableInterface()->selectedCells(), QList<QAccessibleInterface *>{cell});
}

void TestAccessibility::verdictIsAnAlert()
{
    test::ScriptedPrompts prompts;
    ToolCommand command;
    command.tool = QStringLiteral("dmk2jv3");
    command.program = QStringLiteral("/bin/true");
    command.commandLine = QStringLiteral("dmk2jv3");
    RunWindow window(command, prompts);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    window.start();
    QVERIFY(QTest::qWaitFor([&] { return window.hasEnded(); }, 30000));
    auto *verdict = window.findChild<QLabel *>(QStringLiteral("verdictLabel"));
    QVERIFY(verdict && verdict->isVisible());
    QAccessibleInterface *label = QAccessible::queryAccessibleInterface(verdict);
    QCOMPARE(label->role(), QAccessible::AlertMessage);
    QVERIFY(!verdict->text().isEmpty());
    QCOMPARE(label->text(QAccessible::Name), verdict->text());
    QVERIFY(!label->state().invisible);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
