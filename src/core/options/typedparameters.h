#pragma once

#include "core/tools/tooltable.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace ferncastle {

// What a tool makes of the text typed into "Additional parameters" or
// "Optional parameters". That text stands on the command line just before
// the chosen file, and the tool reads it with getopt(): options and their
// values, and anything else as a file name.
struct TypedParameters {
    QStringList arguments;  // as the run receives them (QProcess::splitCommand)
    bool oddQuotes = false; // the split then swallows the rest of the line
    QString options;        // the option letters met, in order
    QStringList bareWords;  // arguments the tool takes as file names
    QChar valueMissing;     // an option whose value would be the chosen file

    bool has(QChar letter) const { return options.contains(letter); }
};

TypedParameters readTypedParameters(const QString &text, const ToolOptions &options);
// The same for arguments already apart, as a planned run holds them.
TypedParameters readTypedArguments(const QStringList &arguments, const ToolOptions &options);

// The value getopt() leaves for letter after reading arguments: the last
// one given wins, as in the tools' option loops; a flag without a value
// gives an empty string; nullopt when the option is not there.
std::optional<QString> optionValue(const QStringList &arguments, const ToolOptions &options,
                                   QChar letter);

// A flag that a ticked option group puts on the same command line.
struct GroupFlag {
    QChar letter;
    const char *caption; // "Number of tracks"
};

// The warnings about typed parameters, and whether the run must not start.
struct ParameterCheck {
    QStringList warnings;
    bool stopsRun = false;
};

// boxCaption names the box the text came from ("Additional parameters").
ParameterCheck checkTypedParameters(const TypedParameters &typed, const QString &boxCaption,
                                    const QString &tool, std::span<const GroupFlag> groupFlags = {});

} // namespace ferncastle
