#pragma once

#include "core/cardfindings.h"

namespace ferncastle {

// Whether to ask before starting a card tool, and on what.
struct CardQuestion {
    bool ask = false;
    QList<CardFinding> stoppers; // the findings that will stop the tool
};

// Decides from a check's findings and the option text typed for the run
// (the text the command line is built from). Nothing is asked for tools
// that do not use the card, when cw2dmk is to replay a saved log (-R), when
// -p names an MK1 card's ISA port (the check cannot see those), or when
// nothing will certainly stop the tool.
CardQuestion cardQuestionFor(const CardCheckResult &result, const QString &tool,
                             const QString &optionText);

// The -p value in the option text: absent, a card index or an ISA port,
// parsed as hexadecimal the way the tools parse it.
struct PortOption {
    enum class Kind { Absent, CardIndex, IsaPort, Invalid };
    Kind kind = Kind::Absent;
    int value = -1;
};
PortOption portOption(const QString &optionText);

// True when the option text holds -R.
bool replaysLog(const QString &optionText);

} // namespace ferncastle
