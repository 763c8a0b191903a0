#include "forms/common/plaintext.h"

namespace ferncastle {

QString richTextShowingPlainText(const QString &text)
{
    return QStringLiteral("<p style=\"white-space:pre-wrap\">") + text.toHtmlEscaped()
           + QStringLiteral("</p>");
}

} // namespace ferncastle
