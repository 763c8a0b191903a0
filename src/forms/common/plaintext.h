#pragma once

#include <QString>

namespace ferncastle {

// Text for places Qt reads as rich text when it looks like markup
// (tooltips): a path or a tool's output shown exactly as it is, line
// breaks kept, "<font ...>" in a file name shown as typed.
QString richTextShowingPlainText(const QString &text);

} // namespace ferncastle
