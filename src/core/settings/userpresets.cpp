#include "core/settings/userpresets.h"

#include "core/settings/optionfileio.h"

#include <QDir>

#include <algorithm>

namespace ferncastle {

namespace {

const QString suffix = QStringLiteral(".DAT");

// Leaves room for the suffix in the 255 bytes most file systems allow.
constexpr qsizetype longestName = 200;

} // namespace

QString userPresetFolder(const QString &settingsFolder)
{
    return QDir(settingsFolder).filePath(QStringLiteral("Ferncastle Presets"));
}

QList<UserPreset> listUserPresets(const QString &folder)
{
    QList<UserPreset> presets;
    const QDir dir(folder);
    const QStringList files =
        dir.entryList({u'*' + suffix}, QDir::Files | QDir::Readable, QDir::NoSort);
    for (const QString &file : files)
        presets.append({file.chopped(suffix.size()), dir.filePath(file)});
    std::sort(presets.begin(), presets.end(), [](const UserPreset &a, const UserPreset &b) {
        return QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
    });
    return presets;
}

QString presetNameProblem(const QString &name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("A preset needs a name.");
    if (name.contains(u'/') || name.contains(u'\\') || name.startsWith(u'.'))
        return QStringLiteral("A preset's name becomes a file name: it may not hold / or \\ nor "
                              "start with a dot.");
    if (name.toUtf8().size() > longestName)
        return QStringLiteral("The name is too long for a file name. Choose a shorter one.");
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("A preset's name may not hold control characters.");
    }
    return {};
}

QString saveUserPreset(const QString &folder, const QString &name, const OptionSet &options)
{
    if (!QDir().mkpath(folder))
        return QStringLiteral("The folder for presets could not be made:\r%1").arg(QDir::toNativeSeparators(folder));
    return saveOptionFile(QDir(folder).filePath(name + suffix), options);
}

} // namespace ferncastle
