#include "platform/sysinfo.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace ferncastle {

namespace {

QString stringText(QByteArray data)
{
    if (data.endsWith('\0'))
        data.chop(1);
    return QString::fromLocal8Bit(data);
}

QString dwordText(const QByteArray &data)
{
    quint32 number = 0;
    for (qsizetype i = qMin<qsizetype>(data.size(), 4) - 1; i >= 0; --i)
        number = (number << 8) | quint8(data[i]);
    return QString::number(number);
}

bool startProgram(const QString &program)
{
    return !program.isEmpty() && QProcess::startDetached(program, {});
}

} // namespace

bool GetKeyValue(Registry &registry, RegistryRoot KeyRoot, const QString &KeyName,
                 const QString &SubKeyRef, QString &KeyVal)
{
    const std::optional<RegistryValue> value = registry.query(KeyRoot, KeyName, SubKeyRef);
    if (!value || value->data.isEmpty() || value->data.size() > registryBufferSize) {
        KeyVal.clear();
        return false;
    }
    switch (value->type) {
    case registryTypes::string:
        KeyVal = stringText(value->data);
        break;
    case registryTypes::dword:
        KeyVal = dwordText(value->data);
        break;
    default:
        break;
    }
    return true;
}

RegistrySystemInformation::RegistrySystemInformation(Registry &registry)
    : m_registry(registry)
{
}

// The program to start, or an empty string when there is none.
QString RegistrySystemInformation::locate()
{
    QString path;
    if (GetKeyValue(m_registry, registryRoots::localMachine,
                    QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                    QStringLiteral("PATH"), path))
        return path;
    if (!GetKeyValue(m_registry, registryRoots::localMachine,
                     QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                     QStringLiteral("MSINFO"), path))
        return {};
    const QString program = path + QDir::separator() + QStringLiteral("MSINFO32.EXE");
    return QFileInfo(program).isFile() ? program : QString();
}

bool RegistrySystemInformation::start()
{
    return startProgram(locate());
}

PathSystemInformation::PathSystemInformation(QStringList candidates)
    : m_candidates(std::move(candidates))
{
}

QStringList PathSystemInformation::knownPrograms()
{
    return {QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor")};
}

bool PathSystemInformation::start()
{
    for (const QString &name : std::as_const(m_candidates)) {
        const QString program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty())
            return startProgram(program);
    }
    return false;
}

#ifdef Q_OS_WIN
namespace {

class WindowsSystemInformation : public SystemInformation
{
public:
    bool start() override { return m_steps.start(); }

private:
    std::unique_ptr<Registry> m_registry = openWindowsRegistry();
    RegistrySystemInformation m_steps{*m_registry};
};

} // namespace
#endif

std::unique_ptr<SystemInformation> platformSystemInformation()
{
#ifdef Q_OS_WIN
    return std::make_unique<WindowsSystemInformation>();
#else
    return std::make_unique<PathSystemInformation>();
#endif
}

} // namespace ferncastle
