#include "core/tools/toolrun.h"

#include "core/displaytext.h"
#include "core/options/argumenttext.h"
#include "core/options/optionconflicts.h"
#include "core/options/optionstring.h"
#include "core/options/typedparameters.h"
#include "core/tools/derivedoutput.h"
#include "core/tools/jv1sniff.h"

#include <QFileInfo>

namespace ferncastle {

namespace {

const QString optionalParameters = QLatin1String(optionalParametersCaption);

// The conversions read their options from "Optional parameters" as typed.
OptionString conversionOptions(const ToolRow &row, const QString &typedText,
                               const QString &chosenFile, QStringList &notes)
{
    const QString tool = QLatin1String(row.tool);
    const TypedParameters typed = readTypedParameters(typedText, row.options);
    const ParameterCheck check = checkTypedParameters(typed, optionalParameters, tool);
    OptionString result{typedText, typed.arguments, check.warnings, check.stopsRun};
    if (row.id == ToolActionId::JvToDmk && !typed.has(u'j') && chosenFile != QLatin1String(unchosenFile)
        && isPlainlyJv1(chosenFile)) {
        result.text = typedText.isEmpty() ? QStringLiteral("-j1") : QStringLiteral("-j1 ") + typedText;
        result.arguments.prepend(QStringLiteral("-j1"));
        notes.append(QStringLiteral("-j1 added: %1 is a JV1 image, which jv2dmk reads only when told so.")
                         .arg(shortenedForDisplay(chosenFile)));
    }
    return result;
}

OptionString optionString(const ToolRow &row, const RunInputs &inputs,
                          const QString &chosenFile, QStringList &notes)
{
    switch (row.optionSource) {
    case OptionSource::ReadOptions:
        return BuildReadOptions(inputs.options);
    case OptionSource::WriteOptions:
        return BuildWriteOptions(inputs.options);
    case OptionSource::OptionalParameters:
        break;
    }
    return conversionOptions(row, inputs.optionalParms, chosenFile, notes);
}

} // namespace

PlannedRun planToolRun(ToolActionId id, const RunInputs &inputs, const QString &chosenFile)
{
    PlannedRun run;
    const OptionString options = optionString(toolRow(id), inputs, chosenFile, run.notes);
    run.command = assembleToolCommand(inputs.toolsFolder, id, options.text, options.arguments,
                                      chosenFile);
    run.optionText = options.text;
    run.optionArguments = options.arguments;
    run.warnings = options.warnings;
    run.refusal = toolRow(id).optionSource == OptionSource::OptionalParameters
                      ? argumentTextRefusal(inputs.optionalParms, optionalParametersCaption)
                      : optionTextsRefusal(inputs.options, options.text);
    const bool cardTool = toolRow(id).optionSource != OptionSource::OptionalParameters;
    run.warnings += checkOptionConflicts(run.command.tool, options.arguments,
                                         cardTool ? &inputs.options : nullptr);
    run.stopsRun = options.stopsRun || !run.refusal.isEmpty();
    return run;
}

OutputDecision decideOutput(const ToolCommand &command)
{
    if (toolRow(command.action).dialog == DialogForm::Save)
        return {};
    for (const QString &written : command.writtenFiles) {
        switch (outputClash(command.chosenFile, written)) {
        case OutputClash::IsChosenFile:
            return {OutputDecision::Refuse,
                    sameFileRefusal(command.tool, command.chosenFile, u'.' + QFileInfo(written).suffix())};
        case OutputClash::NotAFile:
            return {OutputDecision::Refuse, notAFileRefusal(command.tool, written)};
        case OutputClash::Exists:
            return {OutputDecision::Ask, replaceQuestion(command.tool, written)};
        case OutputClash::None:
            break;
        }
    }
    return {};
}

} // namespace ferncastle
