#include "platform/cardcheck/cardtoolfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>

namespace ferncastle {

namespace {

// "cw2dmk", or a versioned install such as "cw2dmk-4.10" that a link by
// the plain name points to.
bool isCardToolName(const QString &name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(?:cw2dmk|dmk2cw)(?:[-_.]?[0-9][0-9.]*)?$"));
    return pattern.match(name).hasMatch();
}

} // namespace

QString notACardTool(const QString &file)
{
    const QString shown = QDir::toNativeSeparators(file);
    const QString name = QFileInfo(file).fileName();
    struct stat info {};
    if (::lstat(QFile::encodeName(file).constData(), &info) != 0)
        return QStringLiteral("%1 is no longer there.").arg(shown);
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("%1 is a link to %2. Ferncastle gives root's rights only to the tools "
                              "themselves, never to a file a link leads to.")
            .arg(shown, QDir::toNativeSeparators(QFileInfo(file).symLinkTarget()));
    if (!isCardToolName(name))
        return QStringLiteral("%1 is not cw2dmk or dmk2cw (a link by that name leads to it). "
                              "Ferncastle gives root's rights only to the tools themselves.")
            .arg(shown);
    if (!S_ISREG(info.st_mode))
        return QStringLiteral("%1 is not a regular file.").arg(shown);
    if (info.st_nlink > 1)
        return QStringLiteral("%1 has other names (hard links), so it may be another program. "
                              "Ferncastle gives root's rights only to the tools themselves.")
            .arg(shown);
    return {};
}

} // namespace ferncastle
