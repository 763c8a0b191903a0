#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace ferncastle {

// A predefined registry root as its 32-bit handle value.
using RegistryRoot = quint32;

namespace registryRoots {
inline constexpr RegistryRoot localMachine = 0x80000002u; // HKEY_LOCAL_MACHINE
} // namespace registryRoots

namespace registryTypes {
inline constexpr quint32 string = 1; // REG_SZ
inline constexpr quint32 dword = 4;  // REG_DWORD, least significant byte first
} // namespace registryTypes

// Values are read into a buffer of this many bytes; a larger one cannot be
// read.
inline constexpr qsizetype registryBufferSize = 1024;

// One value as the registry hands it over: its type and its bytes, text in
// the system code page with whatever terminator it was stored with.
struct RegistryValue {
    quint32 type = 0;
    QByteArray data;
};

// Read access to a registry of the Windows kind.
class Registry
{
public:
    virtual ~Registry() = default;

    // The value valueName of the key keyName under root, or nothing when the
    // key cannot be opened for reading or the value cannot be read.
    virtual std::optional<RegistryValue> query(RegistryRoot root, const QString &keyName,
                                               const QString &valueName) = 0;
};

#ifdef Q_OS_WIN
// The machine's registry through advapi32, opened for reading only.
std::unique_ptr<Registry> openWindowsRegistry();
#endif

} // namespace ferncastle
