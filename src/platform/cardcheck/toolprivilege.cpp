#include "platform/cardcheck/toolprivilege.h"

#include "core/tools/tooltable.h"
#include "platform/cardcheck/cardtoolfile.h"
#include "platform/cardcheck/mountoptions.h"
#include "platform/systemfiles.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace ferncastle {

namespace {

CardFinding toolFinding(const QString &tool, FindingSeverity severity, const QString &sentence,
                        const QString &fix = {})
{
    return {FindingTopic::Privilege, severity, tool, sentence, fix};
}

// Typed commands are read by a shell; a name with anything but plain
// characters is put in single quotes.
QString shellQuoted(const QString &file)
{
    const auto plain = [](QChar c) {
        return c.isLetterOrNumber() || QStringView(u"/._-+,:@%").contains(c);
    };
    if (!file.isEmpty() && std::all_of(file.cbegin(), file.cend(), plain))
        return file;
    QString quoted = file;
    quoted.replace(u'\'', QLatin1String("'\\''"));
    return u'\'' + quoted + u'\'';
}

#ifdef Q_OS_UNIX
// The tool is a card tool that lacks root's ownership or the set-user-ID bit.
void reportMissingRootRights(const QString &tool, const QString &file, bool notOwnedByRoot,
                             CardCheckResult &result)
{
    const QString missing = notOwnedByRoot ? QStringLiteral("is not owned by root")
                                           : QStringLiteral("does not have the set-user-ID bit");
    result.filesNeedingRootRights.append(file);
    result.findings.append(toolFinding(tool, FindingSeverity::WillStop,
        QStringLiteral("%1 %2, and Ferncastle does not run as root. %3 will stop with \"Must be "
                       "setuid to root or be run as root\".").arg(file, missing, tool),
        QStringLiteral("Give it owner root and the set-user-ID bit: Options, Check CatWeasel "
                       "Card has a button for it, or type: %1")
            .arg(rootRightsCommands({file}).join(QLatin1String(" && ")))));
}
#endif

void checkOneTool(const QByteArray &mountInfo, const QString &toolsFolder, const QString &tool,
                  CardCheckResult &result)
{
    const QString file = toolFile(toolsFolder, tool);
    if (file.isEmpty()) {
        result.findings.append(toolFinding(tool, FindingSeverity::CannotTell,
            QStringLiteral("%1 was not found, so whether it runs with root's rights cannot be "
                           "told.").arg(tool),
            QStringLiteral("Set the tools folder in Options, Preferences.")));
        return;
    }
#ifdef Q_OS_UNIX
    struct stat info {};
    if (::stat(QFile::encodeName(file).constData(), &info) != 0) {
        result.findings.append(toolFinding(tool, FindingSeverity::CannotTell,
            QStringLiteral("%1 could not be examined, so whether it runs with root's rights "
                           "cannot be told.").arg(file)));
        return;
    }
    if (const auto mount = nosuidMountOf(mountInfo, file)) {
        // Owner and bit would not help here, so the file is not offered to
        // the root-rights fix.
        result.findings.append(toolFinding(tool, FindingSeverity::WillStop,
            QStringLiteral("%1 is on a file system mounted nosuid (%2), where the set-user-ID bit "
                           "has no effect. %3 will stop with \"Must be setuid to root or be run "
                           "as root\".").arg(file, *mount, tool),
            QStringLiteral("Install the tools on another file system, such as /usr/local/bin, and "
                           "set the tools folder in Options, Preferences.")));
        return;
    }
    if (info.st_uid == 0 && (info.st_mode & S_ISUID)) {
        result.findings.append(toolFinding(tool, FindingSeverity::Fine,
            QStringLiteral("%1 is owned by root and set-user-ID, so it runs with root's rights.")
                .arg(file)));
        return;
    }
    if (const QString refusal = notACardTool(file); !refusal.isEmpty()) {
        result.findings.append(toolFinding(tool, FindingSeverity::WillStop, refusal,
            QStringLiteral("Set the tools folder in Options, Preferences to the folder that holds "
                           "the tools themselves.")));
        return;
    }
    reportMissingRootRights(tool, file, info.st_uid != 0, result);
#else
    Q_UNUSED(mountInfo)
#endif
}

} // namespace

QString toolFile(const QString &toolsFolder, const QString &tool)
{
    const QString program = toolsFolder + tool;
    const QString found = program.contains(u'/') ? program : QStandardPaths::findExecutable(program);
    if (found.isEmpty())
        return {};
    const QFileInfo info(found);
    // chmod and chown act on the file a link points to, and that is what
    // the user is shown.
    const QString real = info.canonicalFilePath();
    return real.isEmpty() || !QFileInfo(real).isFile() ? QString() : real;
}

void checkToolPrivilege(const QString &rootFolder, const QString &toolsFolder, bool runsAsRoot,
                        CardCheckResult &result)
{
    if (runsAsRoot) {
        result.findings.append(toolFinding({}, FindingSeverity::Fine,
            QStringLiteral("Ferncastle runs as root, so cw2dmk and dmk2cw do too.")));
        return;
    }
    const QByteArray mountInfo =
        readSystemFile(rootFolder + QStringLiteral("/proc/self/mountinfo"), 4 * 1024 * 1024).value_or(QByteArray());
    for (const ToolRow &row : toolRows()) {
        if (row.drivesCard)
            checkOneTool(mountInfo, toolsFolder, QLatin1String(row.tool), result);
    }
}

QStringList rootRightsCommands(const QStringList &files)
{
    QStringList quoted;
    for (const QString &file : files)
        quoted.append(shellQuoted(file));
    const QString names = quoted.join(u' ');
    return {QStringLiteral("sudo chown root ") + names, QStringLiteral("sudo chmod u+s ") + names};
}

} // namespace ferncastle
