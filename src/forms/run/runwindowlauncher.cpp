#include "forms/run/runwindowlauncher.h"

#include "forms/run/runwindow.h"
#include "platform/toolcheck.h"

#include <QPointer>

namespace ferncastle {

QString RunWindowLauncher::start(const ToolCommand &command)
{
    const CheckedTool tool = checkTool(command.program);
    if (tool.path.isEmpty())
        return tool.error;
    ToolCommand checked = command;
    checked.program = tool.path;
    auto *window = new RunWindow(checked, m_prompts);
    window->setShowImage(m_showImage);
    m_lastWindow = window;
    QObject::connect(window, &QObject::destroyed, window, [this, window] {
        if (m_lastWindow == window)
            m_lastWindow = nullptr;
    });
    // Shown before the tool starts: the window is there while it begins.
    window->show();
    window->start();
    return {};
}

} // namespace ferncastle
