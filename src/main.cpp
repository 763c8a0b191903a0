#include "commandline.h"
#include "core/identity.h"
#include "ferncastleversion.h"
#include "forms/common/dialogprompts.h"
#include "forms/main/moorfield.h"
#include "platform/cardcheck.h"
#include "platform/settingsstore.h"
#include "platform/terminallauncher.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QLatin1String(ferncastle::identity::title));
    QApplication::setOrganizationName(QLatin1String(ferncastle::identity::maker));
    QApplication::setApplicationVersion(QLatin1String(ferncastle::version::text));
    QApplication::setDesktopFileName(QStringLiteral(FERNCASTLE_APP_ID));
    ferncastle::answerInformationOptions(argc, argv);

    QApplication app(argc, argv);
    ferncastle::rejectUnknownOptions(app);

    ferncastle::DialogPrompts prompts;
    ferncastle::TerminalLauncher launcher;
    const ferncastle::SettingsStore settings; // the user's own
    ferncastle::MoorfieldServices services{prompts, launcher, settings};
    services.cardCheck = [](const QString &toolsFolder) {
        ferncastle::CardCheckSetup thisComputer;
        thisComputer.toolsFolder = toolsFolder;
        return ferncastle::checkCard(thisComputer);
    };
    ferncastle::Moorfield window(services);
    if (!window.Form_Load())
        return 0;
    window.show();
    return app.exec();
}
