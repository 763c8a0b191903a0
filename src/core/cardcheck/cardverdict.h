#pragma once

#include "core/cardcheck/cardfindings.h"
#include "core/tools/tooltable.h"

namespace ferncastle {

// Whether to ask before starting a card tool, and on what.
struct CardQuestion {
    bool ask = false;
    QList<CardFinding> stoppers; // the findings that will stop the tool
};

// Decides from a check's findings and the option arguments of the planned
// run. Nothing is asked for tools that do not drive the card, when the tool
// is to replay a saved log (cw2dmk -R), when
// -p names an MK1 card's ISA port (the check cannot see those), or when
// nothing will certainly stop the tool.
CardQuestion cardQuestionFor(const CardCheckResult &result, const ToolRow &row,
                             const QStringList &arguments);

// The -p value among the arguments: absent, a card index or an ISA port,
// parsed as hexadecimal the way the tools parse it.
struct PortOption {
    enum class Kind { Absent, CardIndex, IsaPort, Invalid };
    Kind kind = Kind::Absent;
    int value = -1;
};
PortOption portOption(const QStringList &arguments, const ToolOptions &options);

} // namespace ferncastle
