#pragma once

#include "core/options/optionset.h"

#include <QString>

namespace ferncastle {

inline constexpr char additionalParametersCaption[] = "Additional parameters";
inline constexpr char optionalParametersCaption[] = "Optional parameters";

// Why the text of the box called boxCaption cannot be handed to a program,
// or an empty string when it can. A NUL character ends an argument wherever
// the system passes one, so the rest of it would be lost without a word:
// such a text is refused, and nothing is started.
QString argumentTextRefusal(const QString &text, const char *boxCaption);

// The refusal for an option string built from options, naming the first
// box whose text went into it and cannot be handed on (a ticked group's
// text box, then "Additional parameters"). Empty when the string can be
// handed on; a box whose text the builder left out does not count.
QString optionTextsRefusal(const OptionSet &options, const QString &builtOptions);

} // namespace ferncastle
