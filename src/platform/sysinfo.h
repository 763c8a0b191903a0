#pragma once

#include "platform/settings/registry.h"

#include <QStringList>

#include <memory>

namespace ferncastle {

// Reads the value SubKeyRef of the key KeyName under KeyRoot into KeyVal and
// tells whether it was read.
// - A string loses one terminating zero character, if it has one.
// - A REG_DWORD becomes its decimal text.
// - Any other type is read but leaves KeyVal as it was passed.
// A key or value that cannot be read, a value larger than the registry
// buffer and an empty value (no text to take) empty KeyVal and give false.
bool GetKeyValue(Registry &registry, RegistryRoot KeyRoot, const QString &KeyName,
                 const QString &SubKeyRef, QString &KeyVal);

// Starts the platform's system information program and returns at once.
class SystemInformation
{
public:
    virtual ~SystemInformation() = default;

    // True when the program was started.
    virtual bool start() = 0;
};

// The Windows way: MSINFO32 where the registry says it is. The MSINFO
// "PATH" value names the program itself and is started as read; otherwise
// "Shared Tools Location" names the folder that must hold MSINFO32.EXE.
class RegistrySystemInformation : public SystemInformation
{
public:
    explicit RegistrySystemInformation(Registry &registry);

    bool start() override;

private:
    QString locate();

    Registry &m_registry;
};

// Where there is no registry: the first of a few programs found on PATH,
// started directly with no arguments and no shell.
class PathSystemInformation : public SystemInformation
{
public:
    explicit PathSystemInformation(QStringList candidates = knownPrograms());

    // hardinfo (system profiler), kinfocenter (KDE), gnome-system-monitor
    // (GNOME), in that order.
    static QStringList knownPrograms();

    bool start() override;

private:
    QStringList m_candidates;
};

// The right one for the platform the program runs on.
std::unique_ptr<SystemInformation> platformSystemInformation();

} // namespace ferncastle
