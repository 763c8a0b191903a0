#include "platform/windowsmodule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

namespace ferncastle {

namespace {

// The running program's own file: no QCoreApplication exists yet, so its
// applicationDirPath() cannot be asked.
QString programFile()
{
#ifdef Q_OS_LINUX
    return QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
#else
    return {};
#endif
}

// In the build tree the module sits beside the program; installed, it sits
// in the program's private library folder.
QStringList moduleCandidates(const QString &programFolder)
{
    const QString name = QStringLiteral(FERNCASTLE_WINDOWS_MODULE);
    return {programFolder + u'/' + name,
            QDir::cleanPath(programFolder + QStringLiteral("/" FERNCASTLE_WINDOWS_MODULE_DIR "/")
                            + name)};
}

} // namespace

WindowsModule loadWindowsModule(const char *entryName)
{
    const QString program = programFile();
    if (program.isEmpty())
        return {nullptr, QStringLiteral("Ferncastle cannot tell where it is installed, so it cannot "
                                        "open its windows.")};
    const QStringList candidates = moduleCandidates(QFileInfo(program).path());
    for (const QString &candidate : candidates) {
        if (!QFileInfo::exists(candidate))
            continue;
        QLibrary module(candidate);
        module.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (void *entry = reinterpret_cast<void *>(module.resolve(entryName)))
            return {entry, {}};
        return {nullptr, QStringLiteral("Ferncastle cannot open its windows: %1 (%2). Reinstall "
                                        "Ferncastle.").arg(candidate, module.errorString())};
    }
    return {nullptr, QStringLiteral("Ferncastle cannot open its windows: %1 is missing. Reinstall "
                                    "Ferncastle.").arg(candidates.constLast())};
}

} // namespace ferncastle
