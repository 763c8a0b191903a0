#pragma once

#include "platform/toollauncher.h"

#include <functional>

namespace ferncastle {

class Prompts;
class RunWindow;

// Starts each tool in a run window of its own (see RunWindow) and returns
// at once; the windows live on their own, even after the main window has
// closed. A tool that cannot be run is reported as the terminal launcher
// reports it, and opens no window.
class RunWindowLauncher : public ToolLauncher
{
public:
    explicit RunWindowLauncher(Prompts &prompts) : m_prompts(prompts) {}

    QString start(const ToolCommand &command) override;

    // Handed to every window opened from now on; see RunWindow::setShowImage.
    void setShowImage(std::function<void(const QString &imageFile)> showImage)
    {
        m_showImage = std::move(showImage);
    }

    // The window of the last start, for tests; null when none opened.
    RunWindow *lastWindow() const { return m_lastWindow; }

private:
    Prompts &m_prompts;
    RunWindow *m_lastWindow = nullptr;
    std::function<void(const QString &)> m_showImage;
};

} // namespace ferncastle
