#include "commandline.h"
#include "core/identity.h"
#include "ferncastleversion.h"
#include "windowsmain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <cstdio>

namespace {

// The folder of the running program, without an application object.
QString programFolder(const char *argv0)
{
    const QString self = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    return QFileInfo(self.isEmpty() ? QString::fromLocal8Bit(argv0) : self).absolutePath();
}

// The windows live in a module of their own: the build tree keeps it beside
// the program, an installed program finds it in its private library folder.
int runWindows(int &argc, char **argv)
{
    const QDir folder(programFolder(argv[0]));
    const QString name = QStringLiteral(FERNCASTLE_WINDOWS_MODULE);
    QString path = folder.filePath(name);
    if (!QFileInfo::exists(path))
        path = folder.filePath(QStringLiteral(FERNCASTLE_WINDOWS_FOLDER) + u'/' + name);
    QLibrary module(path);
    const auto windowsMain =
        reinterpret_cast<decltype(&ferncastleWindowsMain)>(module.resolve("ferncastleWindowsMain"));
    if (!windowsMain) {
        std::fprintf(stderr, "ferncastle: cannot load its windows: %s\nReinstall Ferncastle.\n",
                     module.errorString().toLocal8Bit().constData());
        return 1;
    }
    return windowsMain(argc, argv);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QLatin1String(ferncastle::identity::title));
    QCoreApplication::setOrganizationName(QLatin1String(ferncastle::identity::maker));
    QCoreApplication::setApplicationVersion(QLatin1String(ferncastle::version::text));
    // The modes for scripts start as a core program: no platform plugin, no
    // widgets, and their status comes back here.
    if (const std::optional<int> status = ferncastle::answerCommandLineModes(argc, argv))
        return *status;
    return runWindows(argc, argv);
}
