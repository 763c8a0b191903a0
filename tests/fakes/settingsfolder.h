#pragma once

#include "platform/settings/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QUuid>

#include <memory>

namespace ferncastle::test {

// A settings store of the test's own: the real INI file, Larkvale.ini, in a
// fresh temporary folder. Windows are handed settingsStore(); the per-user
// store is pointed at the same folder as well while this lives, so that
// nothing a test runs can reach the user's own settings.
class SettingsFolder
{
public:
    SettingsFolder() : m_store(storeFile())
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }

    QString path() const { return m_dir.path(); }
    QString storeFile() const { return m_dir.filePath(QStringLiteral("Larkvale.ini")); }
    const SettingsStore &settingsStore() const { return m_store; }

    // Stores a value in [Ferncastle] as the program does.
    void store(const QString &key, const QString &value) const
    {
        m_store.open()->setValue(key, value);
    }

    QByteArray fileBytes() const
    {
        QFile file(storeFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void writeFile(const QByteArray &bytes) const
    {
        QFile file(storeFile());
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the settings file");
    }

    // [Ferncastle] of the file as it is on disk, read by a QSettings that
    // has never seen it: QSettings caches every file it reads, and the
    // cache would hand back what the program meant to write.
    std::unique_ptr<QSettings> rereadStore() const
    {
        const QString copy = m_dir.filePath(QUuid::createUuid().toString(QUuid::WithoutBraces));
        QFile::copy(storeFile(), copy);
        auto settings = std::make_unique<QSettings>(copy, QSettings::IniFormat);
        settings->beginGroup(QStringLiteral("Ferncastle"));
        return settings;
    }

    QStringList damagedCopies() const
    {
        return QDir(path()).entryList({QStringLiteral("Larkvale.ini.damaged-*")}, QDir::Files);
    }

private:
    QTemporaryDir m_dir;
    SettingsStore m_store;
};

} // namespace ferncastle::test
