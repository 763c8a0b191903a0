#include "forms/run/runwindowlauncher.h"

#include "forms/common/screenfit.h"
#include "forms/run/runwindow.h"
#include "jobs/writeverify.h"
#include "platform/run/toolcheck.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

namespace ferncastle {

namespace {

// cw2dmk lies beside dmk2cw, under the same kind of name.
QString readerBeside(const QString &writer)
{
    const QFileInfo info(writer);
    QString name = info.fileName();
    name.replace(QLatin1String(toolRow(ToolActionId::ImageToDisk).tool),
                 QLatin1String(toolRow(ToolActionId::DiskToImage).tool));
    return info.dir().filePath(name);
}

} // namespace

// The write's chain: the write, its read-back and the comparison; null with
// an error when the reader cannot run, so no write is ever called verified
// without a read.
std::unique_ptr<JobChain> RunWindowLauncher::verifiedWrite(const ToolCommand &write,
                                                           QString &error) const
{
    const CheckedTool reader = checkTool(readerBeside(write.program));
    if (reader.path.isEmpty()) {
        error = QStringLiteral("The disk could not be verified after writing, so nothing was "
                               "written: %1 Untick Options > Verify After Writing to write "
                               "without it.")
                    .arg(reader.error);
        return nullptr;
    }
    const ToolCommand read = readBackCommand(write, reader.path);
    if (read.program.isEmpty())
        return nullptr;
    return writeVerifyChain(write, read);
}

QString RunWindowLauncher::start(const ToolCommand &command)
{
    const CheckedTool tool = checkTool(command.program);
    if (tool.path.isEmpty())
        return tool.error;
    ToolCommand checked = command;
    checked.program = tool.path;
    std::unique_ptr<JobChain> chain;
    const ToolRow *row = toolNamed(checked.tool);
    if (row && row->writesChosenImageToDisk && m_verify && m_verify()) {
        QString error;
        chain = verifiedWrite(checked, error);
        if (!error.isEmpty())
            return error;
    }
    auto *window = chain ? new RunWindow(std::move(chain), m_prompts)
                         : new RunWindow(checked, m_prompts);
    window->setShowImage(m_showImage);
    openOver(*window, m_owner.data());
    // A guarded pointer: the window may outlive the launcher, and a
    // connection back to the launcher would then call into freed memory.
    m_lastWindow = window;
    // Shown before the tool starts: the window is there while it begins.
    window->show();
    window->start();
    return {};
}

RunWindow *RunWindowLauncher::lastWindow() const
{
    return m_lastWindow.data();
}

} // namespace ferncastle
