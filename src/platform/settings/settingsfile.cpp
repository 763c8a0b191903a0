#include "platform/settings/settingsfile.h"

#include "core/io/regularfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <atomic>

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

IniContents readUnseen(const QString &unseenName)
{
    const QSettings copy(unseenName, QSettings::IniFormat);
    IniContents contents;
    contents.found = true;
    contents.values = allValues(copy); // parses every section
    contents.whole = copy.status() == QSettings::NoError;
    return contents;
}

// QSettings keeps every file it has read in a process-wide cache and
// trusts it while the size and time match, so a true re-read goes through
// a name it has never seen. A second hard link beside the file needs no
// room on a full disk and no temporary folder.
std::optional<IniContents> readThroughLink(const QString &fileName)
{
#ifdef Q_OS_UNIX
    static std::atomic<int> reads{0};
    const QString link = fileName + QStringLiteral(".reread-%1-%2")
                                        .arg(QCoreApplication::applicationPid())
                                        .arg(++reads);
    if (::link(QFile::encodeName(fileName).constData(), QFile::encodeName(link).constData()) != 0)
        return std::nullopt;
    const IniContents contents = readUnseen(link);
    QFile::remove(link);
    return contents;
#else
    Q_UNUSED(fileName);
    return std::nullopt;
#endif
}

// Where the folder takes no links: a copy in the temporary folder.
std::optional<IniContents> readThroughCopy(RegularFile &file)
{
    const QTemporaryDir folder;
    const QString copyName = folder.filePath(QStringLiteral("reread.ini"));
    const std::optional<QByteArray> bytes = file.read(file.size());
    if (!folder.isValid() || !bytes || !writeWhole(copyName, *bytes))
        return std::nullopt;
    return readUnseen(copyName);
}

bool sameContents(const QString &oneName, const QString &otherName)
{
    QFile one(oneName);
    QFile other(otherName);
    if (one.size() != other.size() || !one.open(QIODevice::ReadOnly) || !other.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 chunk = 64 * 1024;
    while (!one.atEnd()) {
        if (one.read(chunk) != other.read(chunk))
            return false;
    }
    return true;
}

// A file that keeps coming back with the same damage (another program
// writes it so, or QSettings cannot write a line back the way it read it)
// is kept once, not at every save.
bool alreadyKept(const QString &fileName)
{
    const QFileInfo info(fileName);
    const QDir folder = info.dir();
    const QStringList copies = folder.entryList({info.fileName() + QStringLiteral(".damaged-*")},
                                                QDir::Files | QDir::Hidden);
    for (const QString &copy : copies) {
        if (sameContents(fileName, folder.filePath(copy)))
            return true;
    }
    return false;
}

} // namespace

std::optional<IniContents> readIniFromDisk(const QString &fileName)
{
    // A FIFO or device put in the store's place would block QSettings.
    RegularFile file;
    if (!file.open(fileName))
        return IniContents{};
    if (std::optional<IniContents> contents = readThroughLink(fileName))
        return contents;
    return readThroughCopy(file);
}

QString keepCopyIfDamaged(const QString &fileName, const IniContents &contents)
{
    if (!contents.found || contents.whole || alreadyKept(fileName))
        return {};
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString copyName = unusedName(fileName + QStringLiteral(".damaged-") + stamp);
    return QFile::copy(fileName, copyName) ? copyName : QString();
}

bool fileHoldsValues(const IniContents &onDisk, const QMap<QString, QVariant> &expected,
                     bool mustBeWhole)
{
    if (mustBeWhole && !onDisk.whole)
        return false;
    // An absent key reads as an invalid value, as does "@Invalid()".
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        if (onDisk.values.value(it.key()) != it.value())
            return false;
    }
    return true;
}

QString followLinks(const QString &fileName)
{
    QFileInfo info(fileName);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    if (info.isSymLink() || info.filePath() == fileName)
        return fileName; // a loop: QSaveFile writes over the name itself too
    // The folder QSettings creates for its file, made for the file the
    // link names, which is where the write goes.
    QDir().mkpath(info.absolutePath());
    return info.filePath();
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
