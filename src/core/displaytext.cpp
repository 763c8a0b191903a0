#include "core/displaytext.h"

namespace ferncastle {

namespace {

// Moves a cut off the middle of a surrogate pair, so that no half of a
// character is shown.
qsizetype startCut(QStringView text, qsizetype at)
{
    return at > 0 && text.at(at - 1).isHighSurrogate() ? at - 1 : at;
}

qsizetype endCut(QStringView text, qsizetype at)
{
    return at < text.size() && text.at(at).isLowSurrogate() ? at + 1 : at;
}

bool needsEscape(QChar c)
{
    const char16_t code = c.unicode();
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || c.category() == QChar::Other_Format
           || (code >= 0xDC80 && code <= 0xDCFF);
}

} // namespace

QString escapedForTerminal(QStringView text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (c == u'\\')
            escaped += QLatin1String("\\\\");
        else if (!needsEscape(c))
            escaped += c;
        else if (code >= 0xDC80 && code <= 0xDCFF)
            escaped += QStringLiteral("\\x%1").arg(code - 0xDC00, 2, 16, QChar(u'0'));
        else if (code <= 0xFF)
            escaped += QStringLiteral("\\x%1").arg(code, 2, 16, QChar(u'0'));
        else
            escaped += QStringLiteral("\\u%1").arg(code, 4, 16, QChar(u'0'));
    }
    return escaped;
}

QString shortenedForDisplay(QStringView text)
{
    if (text.size() <= DisplayTextLimit)
        return text.toString();
    const qsizetype kept = DisplayTextLimit / 2;
    const QStringView start = text.first(startCut(text, kept));
    const QStringView end = text.sliced(endCut(text, text.size() - kept));
    return start + QStringView(u"\u2026") + end
           + QStringLiteral(" [%1 characters]").arg(text.size());
}

} // namespace ferncastle
