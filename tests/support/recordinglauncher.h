#pragma once

#include "core/tools/toolcommand.h"
#include "platform/run/toollauncher.h"

#include <QStringList>

namespace ferncastle::test {

// Notes each command the window asks to start and starts nothing: for
// tests about what would run, not about running it.
class RecordingLauncher : public ToolLauncher
{
public:
    QString start(const ToolCommand &command) override
    {
        started.append(command);
        return {};
    }

    // Nothing is started, so nothing stands in the way.
    QString cannotStart(const ToolCommand &) const override { return {}; }

    QStringList tools() const
    {
        QStringList names;
        for (const ToolCommand &command : started)
            names.append(command.tool);
        return names;
    }

    QList<ToolCommand> started;
};

} // namespace ferncastle::test
