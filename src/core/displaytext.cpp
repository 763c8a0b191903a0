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

} // namespace

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
