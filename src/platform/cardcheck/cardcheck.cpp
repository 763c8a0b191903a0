#include "platform/cardcheck/cardcheck.h"

#include "platform/cardcheck/kernelports.h"
#include "platform/cardcheck/pcicards.h"
#include "platform/cardcheck/toolprivilege.h"
#include "platform/systemfiles.h"

#include <QSysInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace ferncastle {

namespace {

bool isX86(const QString &architecture)
{
    static const QStringList names = {QStringLiteral("x86_64"), QStringLiteral("amd64"),
                                      QStringLiteral("i386"),   QStringLiteral("i486"),
                                      QStringLiteral("i586"),   QStringLiteral("i686"),
                                      QStringLiteral("x86")};
    return names.contains(architecture);
}

bool processRunsAsRoot()
{
#ifdef Q_OS_UNIX
    return ::geteuid() == 0;
#else
    return false;
#endif
}

// rootFolder is empty for this computer.
// uname -r, read from the tree being checked so that a fake tree brings
// its own kernel.
QString kernelRelease(const QString &rootFolder)
{
    if (const auto release = readSystemFile(rootFolder + QStringLiteral("/proc/sys/kernel/osrelease")))
        return QString::fromLatin1(release->trimmed());
    return rootFolder.isEmpty() ? QSysInfo::kernelVersion() : QString();
}

CardFinding architectureFinding(const QString &architecture)
{
    if (isX86(architecture)) {
        return {FindingTopic::Architecture, FindingSeverity::Fine, {},
                QStringLiteral("The processor is an x86 (%1), which can reach the card.").arg(architecture),
                {}};
    }
    return {FindingTopic::Architecture, FindingSeverity::WillStop, {},
            QStringLiteral("The processor is not an x86 (%1). The tools reach the card through "
                           "x86 I/O ports, so the card cannot be used on this computer.")
                .arg(architecture),
            QStringLiteral("Put the card in a PC with an x86 or x86-64 processor.")};
}

#ifndef Q_OS_LINUX
CardCheckResult notApplicable()
{
    CardCheckResult result;
    result.applies = false;
    result.findings.append({FindingTopic::Platform, FindingSeverity::Fine, {},
                            QStringLiteral("The card and permission check is for Linux; it does "
                                           "not apply on this system."),
                            {}});
    return result;
}
#endif

} // namespace

CardCheckResult checkCard(const CardCheckSetup &setup)
{
#ifndef Q_OS_LINUX
    if (setup.rootFolder == QLatin1String("/"))
        return notApplicable();
#endif
    const QString root = setup.rootFolder == QLatin1String("/") ? QString() : setup.rootFolder;
    const QString architecture = setup.architecture.isEmpty() ? QSysInfo::currentCpuArchitecture()
                                                              : setup.architecture;
    const bool asRoot = setup.runsAsRoot.value_or(processRunsAsRoot());

    CardCheckResult result;
    result.findings.append(architectureFinding(architecture));
    checkPciCards(root, result);
    checkToolPrivilege(root, setup.toolsFolder, asRoot, result);
    if (isX86(architecture)) {
        checkPortPermission(root, asRoot, result);
        checkKernelPorts(root, kernelRelease(root), result);
    }
    return result;
}

QList<CardFinding> findingsByConcern(const QList<CardFinding> &findings)
{
    const auto rank = [](const CardFinding &finding) {
        switch (finding.severity) {
        case FindingSeverity::WillStop: return 0;
        case FindingSeverity::CannotTell: return 1;
        case FindingSeverity::Fine: return 2;
        }
        return 2;
    };
    QList<CardFinding> sorted = findings;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](const CardFinding &a, const CardFinding &b) { return rank(a) < rank(b); });
    return sorted;
}

} // namespace ferncastle
