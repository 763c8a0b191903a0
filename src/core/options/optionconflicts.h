#pragma once

#include "core/options/optionset.h"
#include "core/options/typedparameters.h"

#include <QStringList>

#include <QString>

#include <span>

namespace ferncastle {

// How a tool refuses options it is given together, as its own option
// parsing refuses them: it stops before it touches the drive or a file.
enum class ConflictKind {
    NotWith,      // option given with any of others
    Needs,        // option given with none of others
    NeedsEarlier, // any of others given when option came nowhere before it
};

struct ConflictRule {
    const char *tool;
    ConflictKind kind;
    char option;
    const char *others;      // option letters
    const char *toolMessage; // what the tool prints; null: only its usage text
};

// Every rule, read from the tools' option parsing (version 4.10.1).
std::span<const ConflictRule> conflictRules();

// The warnings about what the tool would refuse in the options it is given
// (optionText, read as the tool reads it, in order). The run is not stopped:
// the tool refuses before it touches a drive or a file, and dmk2cw lets -g0
// stand with -i, which these rules do not look into. groups, when given,
// names the ticked group a flag came from.
QStringList checkOptionConflicts(const QString &tool, const QStringList &arguments,
                                    const OptionSet *groups = nullptr);

} // namespace ferncastle
