#pragma once

#include <QString>

namespace ferncastle {

// When a tool's line says it could not reach the CatWeasel card, what the
// user can do about it, in one plain sentence; empty for any other line.
QString cardProblemFix(const QString &line);

} // namespace ferncastle
