#include "commandline/commandline.h"
#include "core/identity.h"
#include "ferncastleversion.h"
#include "platform/windowsmodule.h"
#include "windowsentry.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QLatin1String(ferncastle::identity::title));
    QCoreApplication::setOrganizationName(QLatin1String(ferncastle::identity::maker));
    QCoreApplication::setApplicationVersion(QLatin1String(ferncastle::version::text));
    // The modes for scripts start as a core program: no platform plugin, no
    // widget libraries, and their status comes back here.
    if (const std::optional<int> status = ferncastle::answerCommandLineModes(argc, argv))
        return *status;

    const ferncastle::WindowsModule windows = ferncastle::loadWindowsModule(ferncastleRunWindowsName);
    if (!windows.entry) {
        std::fputs(qPrintable(windows.error + u'\n'), stderr);
        return 1;
    }
    return reinterpret_cast<FerncastleRunWindows>(windows.entry)(argc, argv);
}
