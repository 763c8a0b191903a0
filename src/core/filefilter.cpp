#include "core/filefilter.h"

namespace ferncastle {

QString caseInsensitivePattern(const QString &pattern)
{
    if (pattern == u"*.*")
        return QStringLiteral("*");
    QString result;
    for (QChar c : pattern) {
        const QChar lower = c.toLower();
        const QChar upper = c.toUpper();
        if (lower == upper)
            result += c;
        else
            result += u'[' + QString(lower) + upper + u']';
    }
    return result;
}

std::optional<QStringList> toQtNameFilters(const QString &filter)
{
    const QStringList pieces = filter.split(u'|');
    if (pieces.size() % 2 != 0)
        return std::nullopt;
    QStringList result;
    for (qsizetype i = 0; i < pieces.size(); i += 2) {
        QStringList patterns;
        for (const QString &pattern : pieces[i + 1].split(u';', Qt::SkipEmptyParts))
            patterns.append(caseInsensitivePattern(pattern.trimmed()));
        result.append(pieces[i] + QLatin1String(" (") + patterns.join(u' ') + u')');
    }
    return result;
}

} // namespace ferncastle
