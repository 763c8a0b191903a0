#include "core/options/optionstring.h"

#include "core/options/argumenttext.h"
#include "core/options/groupargument.h"
#include "core/options/typedparameters.h"

#include <QVarLengthArray>

namespace ferncastle {

namespace {

// Which card tool the string is for: reading a disk or writing one.
enum class CardDirection { Read, Write };

const QString additionalParameters = QLatin1String(additionalParametersCaption);

// The groups first, each value written as the tool reads what the user
// meant; then the typed parameters, read as the tool will read them.
OptionString build(const OptionSet &options, CardDirection direction)
{
    OptionString result;
    QVarLengthArray<GroupFlag, GroupCount> written;
    const auto &groups = optionGroups();
    for (int i = 0; i < GroupCount; ++i) {
        const OptionGroup &group = groups[i];
        const GroupState &state = options.groups[i];
        if ((direction == CardDirection::Write && !group.usedForWrite) || state.checkState != Ticked)
            continue;
        const GroupArgument argument = groupArgument(group, state);
        if (!argument.warning.isEmpty())
            result.warnings.append(argument.warning);
        if (!argument.value)
            continue;
        const QLatin1String flag(group.flag);
        result.text += flag + *argument.value;
        result.arguments.append(QString(flag).trimmed() + *argument.value);
        written.append({flag.back(), group.caption});
    }
    result.text += u' ' + options.extraParms;

    const ToolRow &row = toolRow(direction == CardDirection::Read ? ToolActionId::DiskToImage
                                                                  : ToolActionId::ImageToDisk);
    const TypedParameters typed = readTypedParameters(options.extraParms, row.options);
    result.arguments += typed.arguments;
    const ParameterCheck check = checkTypedParameters(typed, additionalParameters,
                                                      QLatin1String(row.tool), written);
    result.warnings += check.warnings;
    result.stopsRun = check.stopsRun;
    return result;
}

} // namespace

OptionString BuildReadOptions(const OptionSet &options)
{
    return build(options, CardDirection::Read);
}

OptionString BuildWriteOptions(const OptionSet &options)
{
    return build(options, CardDirection::Write);
}

} // namespace ferncastle
