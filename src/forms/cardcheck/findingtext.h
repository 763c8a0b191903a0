#pragma once

#include "core/cardcheck/cardfindings.h"

namespace ferncastle {

// The findings as rich text, each with its weight and its fix, for a text
// view. The sentences are escaped: they hold file names.
QString findingsHtml(const QList<CardFinding> &findings);

// One finding as plain text, for tests and accessibility.
QString findingText(const CardFinding &finding);

} // namespace ferncastle
