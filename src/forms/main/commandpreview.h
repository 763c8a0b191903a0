#pragma once

#include "core/tools/toolrun.h"

#include <QObject>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QLabel;
class QMainWindow;
class QPushButton;

namespace ferncastle {

// The main window's status bar: the command line of the tool button under
// the mouse, else of the one with the focus, else of Disk to Image, built
// by the same call that starts the run, with "<file>" for the file not yet
// chosen and every warning that pressing the button would show in a box.
// After a start it shows what was started, and why anything was added,
// until the options change or another button is pointed at.
class CommandPreview : public QObject
{
public:
    using Inputs = std::function<RunInputs()>;
    CommandPreview(QMainWindow *window, Inputs inputs,
                   std::vector<std::pair<QPushButton *, ToolActionId>> buttons);

    // After any change of what a run is built from.
    void optionsChanged();
    // While held, changes wait: setting every control at once (start-up, an
    // option file) rebuilds the line once, not once per control.
    void hold();
    void release();
    void showStarted(const PlannedRun &run);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void focusChanged(QWidget *now);
    void refresh();
    void show(const QString &commandLine, const QStringList &lines);
    std::optional<ToolActionId> actionOf(const QObject *widget) const;
    ToolActionId shownAction() const;

    Inputs m_inputs;
    std::vector<std::pair<QPushButton *, ToolActionId>> m_buttons;
    QLabel *m_label = nullptr;
    std::optional<ToolActionId> m_hovered;
    std::optional<ToolActionId> m_focused;
    std::optional<std::pair<ToolActionId, PlannedRun>> m_started;
    int m_holds = 0;
};

} // namespace ferncastle
