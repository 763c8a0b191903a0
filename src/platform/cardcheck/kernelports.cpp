#include "platform/cardcheck/kernelports.h"

#include "platform/systemfiles.h"

namespace ferncastle {

namespace {

const QByteArray optionName = "CONFIG_X86_IOPL_IOPERM";
const QString noPortsMessage = QStringLiteral("\"No access to I/O ports\"");
constexpr qint64 configLimit = 16 * 1024 * 1024;

CardFinding kernelFinding(FindingSeverity severity, const QString &sentence, const QString &fix = {})
{
    return {FindingTopic::KernelPorts, severity, {}, sentence, fix};
}

struct KernelConfig {
    QByteArray text;
    QString source;  // where it was read, for the user
    QString problem; // why it could not be read; empty when text was
};

KernelConfig readKernelConfig(const QString &rootFolder, const QString &release)
{
    const QString bootFile = QStringLiteral("/boot/config-") + release;
    if (!release.isEmpty()) {
        if (const auto text = readSystemFile(rootFolder + bootFile, configLimit))
            return {*text, bootFile, {}};
    }
    const QString procFile = QStringLiteral("/proc/config.gz");
    const auto packed = readSystemFile(rootFolder + procFile, configLimit);
    if (!packed) {
        return {{}, {}, QStringLiteral("neither %1 nor %2 could be read").arg(bootFile, procFile)};
    }
    if (!gzipSupported())
        return {{}, {}, QStringLiteral("this build of Ferncastle cannot unpack %1").arg(procFile)};
    if (const auto text = gunzip(*packed, configLimit))
        return {*text, procFile, {}};
    return {{}, {}, QStringLiteral("%1 could not be unpacked").arg(procFile)};
}

// The capability sets in /proc/<pid>/status are hexadecimal masks.
std::optional<quint64> statusMask(const QByteArray &status, const QByteArray &field)
{
    for (const QByteArray &line : status.split('\n')) {
        if (!line.startsWith(QByteArray(field + ':')))
            continue;
        bool ok = false;
        const quint64 mask = line.mid(field.size() + 1).trimmed().toULongLong(&ok, 16);
        return ok ? std::optional<quint64>(mask) : std::nullopt;
    }
    return std::nullopt;
}

constexpr quint64 rawIoCapability = quint64(1) << 17; // CAP_SYS_RAWIO

CardFinding permissionFinding(FindingSeverity severity, const QString &sentence, const QString &fix = {})
{
    return {FindingTopic::PortPermission, severity, {}, sentence, fix};
}

} // namespace

// The configuration is some 250 KB of lines; only the lines naming the
// option are looked at.
PortAccessOption portAccessOption(const QByteArray &kernelConfig)
{
    const QByteArrayView text(kernelConfig);
    for (qsizetype at = text.indexOf(optionName); at >= 0; at = text.indexOf(optionName, at + 1)) {
        const qsizetype lineStart = text.lastIndexOf('\n', at) + 1;
        qsizetype lineEnd = text.indexOf('\n', at);
        if (lineEnd < 0)
            lineEnd = text.size();
        const QByteArrayView line = text.sliced(lineStart, lineEnd - lineStart).trimmed();
        if (line == QByteArray(optionName + "=y"))
            return PortAccessOption::Set;
        if (line == QByteArray("# " + optionName + " is not set")
            || line.startsWith(QByteArray(optionName + '=')))
            return PortAccessOption::NotSet;
    }
    return PortAccessOption::NotMentioned;
}

void checkKernelPorts(const QString &rootFolder, const QString &kernelRelease, CardCheckResult &result)
{
    const KernelConfig config = readKernelConfig(rootFolder, kernelRelease);
    if (!config.problem.isEmpty()) {
        result.findings.append(kernelFinding(FindingSeverity::CannotTell,
            QStringLiteral("Whether the kernel lets programs take I/O ports cannot be told: %1.")
                .arg(config.problem)));
        return;
    }
    switch (portAccessOption(config.text)) {
    case PortAccessOption::Set:
        result.findings.append(kernelFinding(FindingSeverity::Fine,
            QStringLiteral("The kernel lets programs take I/O ports (%1=y in %2).")
                .arg(QLatin1String(optionName), config.source)));
        return;
    case PortAccessOption::NotSet:
        result.findings.append(kernelFinding(FindingSeverity::WillStop,
            QStringLiteral("The kernel was built without port access for programs (%1 is not set "
                           "in %2). The tools will stop with %3.")
                .arg(QLatin1String(optionName), config.source, noPortsMessage),
            QStringLiteral("Start a kernel built with %1=y; the standard kernels of most "
                           "distributions have it.").arg(QLatin1String(optionName))));
        return;
    case PortAccessOption::NotMentioned:
        result.findings.append(kernelFinding(FindingSeverity::CannotTell,
            QStringLiteral("%1 does not mention %2, so whether the kernel lets programs take I/O "
                           "ports cannot be told (kernels before 5.5 always let them).")
                .arg(config.source, QLatin1String(optionName))));
        return;
    }
}

void checkPortPermission(const QString &rootFolder, bool runsAsRoot, CardCheckResult &result)
{
    const QString statusFile = QStringLiteral("/proc/self/status");
    const auto status = readSystemFile(rootFolder + statusFile);
    // Root's own rights count for Ferncastle run as root; a set-user-ID
    // program gets at most the bounding set.
    const auto rights = status ? statusMask(*status, runsAsRoot ? "CapEff" : "CapBnd") : std::nullopt;
    if (!rights) {
        result.findings.append(permissionFinding(FindingSeverity::CannotTell,
            QStringLiteral("Whether programs started from here may take I/O ports cannot be told: "
                           "%1 could not be read.").arg(statusFile)));
        return;
    }
    if (!runsAsRoot && statusMask(*status, "NoNewPrivs").value_or(0) != 0) {
        result.findings.append({FindingTopic::Privilege, FindingSeverity::WillStop, {},
            QStringLiteral("Ferncastle runs in a sandbox that makes set-user-ID bits "
                           "ineffective (no_new_privs). The tools will stop with \"Must be "
                           "setuid to root or be run as root\"."),
            QStringLiteral("Start Ferncastle outside the sandbox.")});
    }
    if (*rights & rawIoCapability) {
        result.findings.append(permissionFinding(FindingSeverity::Fine,
            runsAsRoot ? QStringLiteral("Ferncastle may take I/O ports (it has CAP_SYS_RAWIO).")
                       : QStringLiteral("A set-user-ID root program started from here may take "
                                        "I/O ports (CAP_SYS_RAWIO is not withheld).")));
        return;
    }
    result.findings.append(permissionFinding(FindingSeverity::WillStop,
        QStringLiteral("Programs started from here may not take I/O ports, even as root: the "
                       "right to (CAP_SYS_RAWIO) is withheld, as in a container. The tools will "
                       "stop with %1.").arg(noPortsMessage),
        QStringLiteral("Run Ferncastle and the tools outside the container, or start the "
                       "container with that right (for example --cap-add SYS_RAWIO with "
                       "access to the card's device).")));
}

} // namespace ferncastle
