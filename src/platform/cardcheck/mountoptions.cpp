#include "platform/cardcheck/mountoptions.h"

#include <QFile>

namespace ferncastle {

namespace {

// mountinfo writes blanks and other bytes in paths as \ooo octal escapes.
QByteArray unescaped(const QByteArray &field)
{
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        bool ok = false;
        const int code = field.at(i) == '\\' && i + 3 < field.size() ? field.mid(i + 1, 3).toInt(&ok, 8) : 0;
        if (ok) {
            out.append(char(code));
            i += 3;
        } else {
            out.append(field.at(i));
        }
    }
    return out;
}

bool holds(const QByteArray &mountPoint, const QByteArray &path)
{
    if (mountPoint == "/")
        return true;
    return path == mountPoint || path.startsWith(QByteArray(mountPoint + '/'));
}

} // namespace

std::optional<QString> nosuidMountOf(const QByteArray &mountInfo, const QString &file)
{
    const QByteArray path = QFile::encodeName(file);
    QByteArray best;
    bool bestIsNosuid = false;
    // Later lines mount over earlier ones at the same point, so they win ties.
    for (const QByteArray &line : mountInfo.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 6)
            continue;
        const QByteArray mountPoint = unescaped(fields.at(4));
        if (!holds(mountPoint, path) || mountPoint.size() < best.size())
            continue;
        best = mountPoint;
        bestIsNosuid = fields.at(5).split(',').contains("nosuid");
    }
    if (best.isEmpty() || !bestIsNosuid)
        return std::nullopt;
    return QFile::decodeName(best);
}

} // namespace ferncastle
