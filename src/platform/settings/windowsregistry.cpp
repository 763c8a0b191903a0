#include "platform/settings/registry.h"

#include <qt_windows.h>

namespace ferncastle {

namespace {

// The predefined roots are negative 32-bit numbers, widened to a handle
// with their sign.
HKEY rootHandle(RegistryRoot root)
{
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
}

class WindowsRegistry : public Registry
{
public:
    std::optional<RegistryValue> query(RegistryRoot root, const QString &keyName,
                                       const QString &valueName) override
    {
        HKEY key = nullptr;
        // Read rights only: a standard user is refused write rights on the
        // machine-wide keys that locate the system tools.
        if (RegOpenKeyExA(rootHandle(root), keyName.toLocal8Bit().constData(), 0, KEY_READ, &key)
            != ERROR_SUCCESS)
            return std::nullopt;
        RegistryValue value;
        value.data = QByteArray(registryBufferSize, '\0');
        DWORD type = 0;
        DWORD size = DWORD(value.data.size());
        const LONG result = RegQueryValueExA(key, valueName.toLocal8Bit().constData(), nullptr,
                                             &type, reinterpret_cast<BYTE *>(value.data.data()),
                                             &size);
        RegCloseKey(key);
        if (result != ERROR_SUCCESS)
            return std::nullopt;
        value.type = type;
        value.data.truncate(qsizetype(size));
        return value;
    }
};

} // namespace

std::unique_ptr<Registry> openWindowsRegistry()
{
    return std::make_unique<WindowsRegistry>();
}

} // namespace ferncastle
