#pragma once

#include "platform/run/toollauncher.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

namespace ferncastle {

class JobChain;
class Prompts;
class RunWindow;

// Starts each tool in a run window of its own (see RunWindow) and returns
// at once; the windows live on their own, even after the main window has
// closed. A tool that cannot be run is reported as the terminal launcher
// reports it, and opens no window. A write is followed by its read-back and
// comparison when verifying is on.
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

    // Asked at every start of a write: true when the disk is to be read
    // back and compared. Without it writes are not verified.
    void setVerifyAfterWriting(std::function<bool()> verify) { m_verify = std::move(verify); }

    // The window the runs are started from: each run window opens over it.
    void setOwnerWindow(QWidget *owner) { m_owner = owner; }

    // The window of the last start, for tests; null when none opened.
    RunWindow *lastWindow() const;

private:
    std::unique_ptr<JobChain> verifiedWrite(const ToolCommand &write, QString &error) const;

    Prompts &m_prompts;
    QPointer<RunWindow> m_lastWindow;
    QPointer<QWidget> m_owner;
    std::function<void(const QString &)> m_showImage;
    std::function<bool()> m_verify;
};

} // namespace ferncastle
