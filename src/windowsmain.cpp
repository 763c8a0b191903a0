// The windows, loaded by the program only when no command-line mode
// answered: a script's --info or --files never loads the widget libraries.

#include "commandline/commandline.h"
#include "core/settings/settingskeys.h"
#include "forms/common/dialogprompts.h"
#include "forms/main/moorfield.h"
#include "forms/run/runwindowlauncher.h"
#include "platform/cardcheck/cardcheck.h"
#include "platform/run/choosinglauncher.h"
#include "platform/run/terminallauncher.h"
#include "platform/settings/settingsstore.h"
#include "windowsentry.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>

namespace {

// Exit leaves the run windows open, as the tools' own terminals stayed:
// the program ends now only when none is left, otherwise when the last one
// closes.
void endWhenNoWindowIsLeft()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    if (std::none_of(windows.cbegin(), windows.cend(),
                     [](const QWidget *window) { return window->isVisible(); }))
        QCoreApplication::exit(0);
}

} // namespace

extern "C" Q_DECL_EXPORT int ferncastleRunWindows(int argc, char *argv[])
{
    QGuiApplication::setDesktopFileName(QStringLiteral(FERNCASTLE_APP_ID));
    QApplication app(argc, argv);
    ferncastle::rejectUnknownOptions(app);

    ferncastle::DialogPrompts prompts;
    const ferncastle::SettingsStore settings; // the user's own
    ferncastle::TerminalLauncher terminal;
    ferncastle::RunWindowLauncher runWindows(prompts);
    runWindows.setVerifyAfterWriting([&settings] {
        return settings.text(ferncastle::keys::verifyAfterWriting) != QLatin1String("0");
    });
    ferncastle::ChoosingLauncher launcher(terminal, runWindows, [&settings] {
        return settings.text(ferncastle::keys::runToolsInTerminal) == QLatin1String("1");
    });
    ferncastle::MoorfieldServices services{prompts, launcher, settings, endWhenNoWindowIsLeft};
    services.cardCheck = [](const QString &toolsFolder) {
        ferncastle::CardCheckSetup thisComputer;
        thisComputer.toolsFolder = toolsFolder;
        return ferncastle::checkCard(thisComputer);
    };
    ferncastle::Moorfield window(services);
    runWindows.setOwnerWindow(&window);
    // A run window's "Show Image" opens what the run wrote in Image Information.
    runWindows.setShowImage([&window](const QString &image) { window.openImageInformation(image); });
    if (!window.Form_Load())
        return 0;
    window.show();
    return app.exec();
}
