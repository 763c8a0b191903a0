#include "forms/cardcheck/findingtext.h"

namespace ferncastle {

namespace {

QString weight(FindingSeverity severity)
{
    switch (severity) {
    case FindingSeverity::WillStop: return QStringLiteral("Will stop the tool:");
    case FindingSeverity::CannotTell: return QStringLiteral("Cannot tell:");
    case FindingSeverity::Fine: return QStringLiteral("Fine:");
    }
    return {};
}

} // namespace

QString findingText(const CardFinding &finding)
{
    QString text = weight(finding.severity) + u' ' + finding.sentence;
    if (!finding.fix.isEmpty())
        text += QStringLiteral(" Fix: ") + finding.fix;
    return text;
}

QString findingsHtml(const QList<CardFinding> &findings)
{
    QString html;
    for (const CardFinding &finding : findings) {
        html += QStringLiteral("<p><b>%1</b> %2").arg(weight(finding.severity), finding.sentence.toHtmlEscaped());
        if (!finding.fix.isEmpty())
            html += QStringLiteral("<br><i>Fix:</i> ") + finding.fix.toHtmlEscaped();
        html += QStringLiteral("</p>");
    }
    return html;
}

} // namespace ferncastle
