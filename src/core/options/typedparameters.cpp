#include "core/options/typedparameters.h"

#include "core/displaytext.h"

#include <QProcess>

namespace ferncastle {

namespace {

// Walks the letters of one option argument ("-jv3") the way getopt() does.
// Returns true when the option's value is the next argument.
bool readCluster(QStringView argument, const ToolOptions &options, TypedParameters &typed)
{
    for (qsizetype i = 1; i < argument.size(); ++i) {
        const QChar letter = argument[i];
        typed.options += letter;
        if (options.takesValue(letter))
            return i + 1 == argument.size(); // else the rest is the value
    }
    return false;
}

bool isOption(QStringView argument)
{
    return argument.size() > 1 && argument.startsWith(u'-');
}

} // namespace

TypedParameters readTypedParameters(const QString &text, const ToolOptions &options)
{
    TypedParameters typed = readTypedArguments(QProcess::splitCommand(text), options);
    typed.oddQuotes = text.count(u'"') % 2 != 0;
    return typed;
}

TypedParameters readTypedArguments(const QStringList &arguments, const ToolOptions &options)
{
    TypedParameters typed;
    typed.arguments = arguments;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < typed.arguments.size(); ++i) {
        const QString &argument = typed.arguments[i];
        if (optionsEnded || !isOption(argument)) {
            typed.bareWords.append(argument);
        } else if (argument == u"--") {
            optionsEnded = true;
        } else if (readCluster(argument, options, typed)) {
            if (++i == typed.arguments.size())
                typed.valueMissing = typed.options.back();
        }
    }
    return typed;
}

std::optional<QString> optionValue(const QStringList &arguments, const ToolOptions &options,
                                   QChar letter)
{
    std::optional<QString> found;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"--")
            break;
        if (!isOption(argument))
            continue;
        for (qsizetype at = 1; at < argument.size(); ++at) {
            const QChar met = argument[at];
            if (!options.takesValue(met)) {
                if (met == letter)
                    found = QString();
                continue;
            }
            const QString value = at + 1 < argument.size() ? argument.mid(at + 1)
                                                           : arguments.value(++i);
            if (met == letter)
                found = value;
            break;
        }
    }
    return found;
}

ParameterCheck checkTypedParameters(const TypedParameters &typed, const QString &boxCaption,
                                    const QString &tool, std::span<const GroupFlag> groupFlags)
{
    ParameterCheck check;
    if (typed.oddQuotes) {
        check.warnings.append(QStringLiteral("The '%1' have an odd number of double quotes. "
                                             "Close the open quote; nothing is started until then.")
                                  .arg(boxCaption));
        check.stopsRun = true;
        return check;
    }
    for (const QString &word : typed.bareWords) {
        check.warnings.append(QStringLiteral("\"%1\" in the '%2' is neither an option nor an option's "
                                             "value: %3 would take it as a file name in place of the "
                                             "chosen file. Remove it; nothing is started until then.")
                                  .arg(shortenedForDisplay(word), boxCaption, tool));
        check.stopsRun = true;
    }
    if (!typed.valueMissing.isNull()) {
        check.warnings.append(QStringLiteral("The option -%1 at the end of the '%2' needs a value: %3 "
                                             "would take the chosen file as its value. Give it a value; "
                                             "nothing is started until then.")
                                  .arg(typed.valueMissing, boxCaption, tool));
        check.stopsRun = true;
    }
    for (const GroupFlag &flag : groupFlags) {
        if (typed.has(flag.letter)) {
            check.warnings.append(QStringLiteral("-%1 in the '%2' sets what the ticked '%3' sets too; "
                                                 "%4 uses the typed value.")
                                      .arg(flag.letter, boxCaption, QLatin1String(flag.caption), tool));
        }
    }
    return check;
}

} // namespace ferncastle
