#include "core/toolrun.h"

#include "core/argumenttext.h"
#include "core/derivedoutput.h"
#include "core/displaytext.h"
#include "core/jv1sniff.h"
#include "core/optionconflicts.h"
#include "core/optionstring.h"
#include "core/typedparameters.h"

#include <QFileInfo>

namespace ferncastle {

namespace {

const QString optionalParameters = QLatin1String(optionalParametersCaption);

// The conversions read their options from "Optional parameters" as typed.
OptionString conversionOptions(const ToolAction &action, const QString &typedText,
                               const QString &chosenFile, QStringList &notes)
{
    const QString tool = QLatin1String(action.tool);
    const TypedParameters typed = readTypedParameters(typedText, *toolOptions(tool));
    const ParameterCheck check = checkTypedParameters(typed, optionalParameters, tool);
    OptionString result{typedText, check.warnings, check.stopsRun};
    if (action.id == ToolActionId::JvToDmk && !typed.has(u'j') && chosenFile != QLatin1String(unchosenFile)
        && isPlainlyJv1(chosenFile)) {
        result.text = typedText.isEmpty() ? QStringLiteral("-j1") : QStringLiteral("-j1 ") + typedText;
        notes.append(QStringLiteral("-j1 added: %1 is a JV1 image, which jv2dmk reads only when told so.")
                         .arg(shortenedForDisplay(chosenFile)));
    }
    return result;
}

OptionString optionString(const ToolAction &action, const RunInputs &inputs,
                          const QString &chosenFile, QStringList &notes)
{
    switch (action.options) {
    case OptionSource::ReadOptions:
        return readOptionString(inputs.options);
    case OptionSource::WriteOptions:
        return writeOptionString(inputs.options);
    case OptionSource::OptionalParameters:
        break;
    }
    return conversionOptions(action, inputs.optionalParms, chosenFile, notes);
}

} // namespace

PlannedRun planToolRun(ToolActionId id, const RunInputs &inputs, const QString &chosenFile)
{
    PlannedRun run;
    const OptionString options = optionString(toolAction(id), inputs, chosenFile, run.notes);
    run.command = assembleToolCommand(inputs.toolsFolder, id, options.text, chosenFile);
    run.optionText = options.text;
    run.warnings = options.warnings;
    run.refusal = toolAction(id).options == OptionSource::OptionalParameters
                      ? argumentTextRefusal(inputs.optionalParms, optionalParametersCaption)
                      : optionTextsRefusal(inputs.options, options.text);
    const bool cardTool = toolAction(id).options != OptionSource::OptionalParameters;
    run.warnings += checkOptionConflicts(run.command.tool, options.text, cardTool ? &inputs.options : nullptr);
    run.stopsRun = options.stopsRun || !run.refusal.isEmpty();
    return run;
}

OutputDecision decideOutput(const ToolCommand &command)
{
    if (toolAction(command.action).dialog == DialogForm::Save)
        return {};
    for (const QString &written : command.writtenFiles) {
        switch (outputClash(command.chosenFile, written)) {
        case OutputClash::IsChosenFile:
            return {OutputDecision::Refuse,
                    sameFileRefusal(command.tool, command.chosenFile, u'.' + QFileInfo(written).suffix())};
        case OutputClash::Exists:
            return {OutputDecision::Ask, replaceQuestion(command.tool, written)};
        case OutputClash::None:
            break;
        }
    }
    return {};
}

} // namespace ferncastle
