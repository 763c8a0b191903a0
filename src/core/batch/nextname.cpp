#include "core/batch/nextname.h"

#include <QDir>
#include <QFileInfo>

namespace ferncastle {

namespace {

// Where the trailing digits of base begin; base.size() when there are none.
qsizetype digitsStart(const QString &base)
{
    qsizetype start = base.size();
    while (start > 0 && base.at(start - 1).isDigit() && base.at(start - 1).unicode() < 0x80)
        --start;
    return start;
}

} // namespace

QString followingName(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    // A leading dot is part of the name, not an extension.
    const qsizetype split = dot > 0 ? dot : fileName.size();
    const QString base = fileName.left(split);
    const QString extension = fileName.mid(split);
    const qsizetype start = digitsStart(base);
    if (start == base.size())
        return base + QStringLiteral("-2") + extension;
    const QString digits = base.mid(start);
    QString next = QString::number(digits.toULongLong() + 1);
    if (next.size() < digits.size())
        next = QString(digits.size() - next.size(), u'0') + next;
    return base.left(start) + next + extension;
}

QString nextFreeName(const QString &path)
{
    const QFileInfo info(path);
    const QDir folder = info.dir();
    QString name = info.fileName();
    do {
        name = followingName(name);
    } while (QFileInfo::exists(folder.filePath(name)));
    return folder.filePath(name);
}

QString retryName(const QString &path)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const qsizetype split = dot > 0 ? dot : name.size();
    QString retry = name.left(split) + QStringLiteral("-2") + name.mid(split);
    while (QFileInfo::exists(info.dir().filePath(retry)))
        retry = followingName(retry);
    return info.dir().filePath(retry);
}

ToolCommand commandForImage(const ToolCommand &command, const QString &image)
{
    ToolCommand next = command;
    next.chosenFile = image;
    for (QString &argument : next.arguments) {
        if (argument == command.chosenFile)
            argument = image;
    }
    for (QString &file : next.writtenFiles) {
        if (file == command.chosenFile)
            file = image;
    }
    const QString shown = u'"' + QDir::toNativeSeparators(command.chosenFile) + u'"';
    const qsizetype at = next.commandLine.lastIndexOf(shown);
    if (at >= 0)
        next.commandLine.replace(at, shown.size(),
                                 u'"' + QDir::toNativeSeparators(image) + u'"');
    return next;
}

} // namespace ferncastle
