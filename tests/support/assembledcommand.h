#pragma once

#include "core/options/typedparameters.h"
#include "core/tools/toolcommand.h"

namespace ferncastle::test {

// A command as a planned run assembles it: the option text split once, the
// way the tool's typed parameters are read.
inline ToolCommand assembled(const QString &toolsFolder, ToolActionId action,
                             const QString &optionText, const QString &chosenFile)
{
    const QStringList arguments =
        readTypedParameters(optionText, toolRow(action).options).arguments;
    return assembleToolCommand(toolsFolder, action, optionText, arguments, chosenFile);
}

} // namespace ferncastle::test
