#include "platform/settingsfile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <cstdio>
#include <unistd.h>
#endif

namespace ferncastle {

namespace {

QMap<QString, QVariant> allValues(const QSettings &settings)
{
    QMap<QString, QVariant> values;
    for (const QString &key : settings.allKeys())
        values.insert(key, settings.value(key));
    return values;
}

bool writeWhole(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        && file.write(bytes) == bytes.size();
}

QString unusedName(const QString &base)
{
    QString name = base;
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = base + u'-' + QString::number(n);
    return name;
}

} // namespace

std::optional<IniContents> readIniFromDisk(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // QSettings keeps every file it has read in a process-wide cache and
    // trusts it while the size and time match, so a true re-read goes
    // through a copy under a name it has never seen.
    const QTemporaryDir folder;
    const QString copyName = folder.filePath(QStringLiteral("reread.ini"));
    if (!folder.isValid() || !writeWhole(copyName, file.readAll()))
        return std::nullopt;
    const QSettings copy(copyName, QSettings::IniFormat);
    IniContents contents;
    contents.values = allValues(copy); // parses every section
    contents.whole = copy.status() == QSettings::NoError;
    return contents;
}

QString keepCopyIfDamaged(const QString &fileName)
{
    const std::optional<IniContents> contents = readIniFromDisk(fileName);
    if (!contents || contents->whole)
        return {};
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString copyName = unusedName(fileName + QStringLiteral(".damaged-") + stamp);
    return QFile::copy(fileName, copyName) ? copyName : QString();
}

bool fileHoldsCachedValues(const QString &fileName)
{
    const std::optional<IniContents> onDisk = readIniFromDisk(fileName);
    if (!onDisk || !onDisk->whole)
        return false;
    // Opened on the same file, this shares the contents QSettings cached
    // when it wrote, which are the values it meant to store.
    const QSettings cached(fileName, QSettings::IniFormat);
    return onDisk->values == allValues(cached);
}

// A hard link: it needs no room on the disk, which may be what ran out.
PreviousVersion keepPreviousVersion(const QString &fileName)
{
    PreviousVersion previous;
    previous.existed = QFileInfo(fileName).isFile();
#ifdef Q_OS_UNIX
    const QString link = fileName + QStringLiteral(".previous");
    QFile::remove(link);
    if (previous.existed
        && ::link(QFile::encodeName(fileName).constData(), QFile::encodeName(link).constData()) == 0)
        previous.link = link;
#endif
    return previous;
}

void restorePreviousVersion(const PreviousVersion &previous, const QString &fileName)
{
    if (!previous.link.isEmpty()) {
#ifdef Q_OS_UNIX
        // rename() replaces the incomplete file in one step.
        std::rename(QFile::encodeName(previous.link).constData(),
                    QFile::encodeName(fileName).constData());
#endif
    } else if (!previous.existed) {
        QFile::remove(fileName); // better asked again than a wrong value
    }
}

void forgetPreviousVersion(const PreviousVersion &previous)
{
    if (!previous.link.isEmpty())
        QFile::remove(previous.link);
}

} // namespace ferncastle
