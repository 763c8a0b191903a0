#include "forms/main/commandpreview.h"

#include "forms/common/onelinelabel.h"
#include "forms/common/plaintext.h"

#include "core/displaytext.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>

namespace ferncastle {

CommandPreview::CommandPreview(QMainWindow *window, Inputs inputs,
                               std::vector<std::pair<QPushButton *, ToolActionId>> buttons)
    : QObject(window), m_inputs(std::move(inputs)), m_buttons(std::move(buttons))
{
    QStatusBar *bar = window->statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    bar->setSizeGripEnabled(false);
    m_label = new OneLineLabel(bar);
    m_label->setObjectName(QStringLiteral("lblCommandPreview"));
    m_label->setTextFormat(Qt::PlainText);
    // Named once: a name that changed with every keystroke would be read
    // out again and again. The line itself is the description.
    m_label->setAccessibleName(QStringLiteral("Command line"));
    m_label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(m_label, 2);
    for (const auto &[button, action] : m_buttons)
        button->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *, QWidget *now) { focusChanged(now); });
}

void CommandPreview::optionsChanged()
{
    m_started.reset();
    if (m_holds == 0)
        refresh();
}

void CommandPreview::hold()
{
    ++m_holds;
}

void CommandPreview::release()
{
    --m_holds;
    optionsChanged();
}

void CommandPreview::showStarted(const PlannedRun &run)
{
    m_started = std::pair{run.command.action, run};
    refresh();
}

bool CommandPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Enter) {
        m_hovered = actionOf(watched);
        refresh();
    } else if (event->type() == QEvent::Leave && m_hovered == actionOf(watched)) {
        m_hovered.reset();
        refresh();
    }
    return QObject::eventFilter(watched, event);
}

void CommandPreview::focusChanged(QWidget *now)
{
    m_focused = actionOf(now);
    refresh();
}

std::optional<ToolActionId> CommandPreview::actionOf(const QObject *widget) const
{
    for (const auto &[button, action] : m_buttons) {
        if (button == widget)
            return action;
    }
    return std::nullopt;
}

ToolActionId CommandPreview::shownAction() const
{
    return m_hovered.value_or(m_focused.value_or(ToolActionId::DiskToImage));
}

void CommandPreview::refresh()
{
    const ToolActionId action = shownAction();
    if (m_started && m_started->first == action) {
        const PlannedRun &run = m_started->second;
        show(QStringLiteral("Started: ") + run.command.commandLine, run.notes);
        return;
    }
    const PlannedRun run = planToolRun(action, m_inputs(), QLatin1String(unchosenFile));
    show(run.command.commandLine, run.refusal.isEmpty() ? run.warnings : run.warnings + QStringList{run.refusal});
}

// One line, cut with an ellipsis where the bar ends, so that the window
// keeps its size; the whole text, warnings and all, is in the tooltip. A
// command line of megabytes is shortened, since laying it out would freeze
// the window.
void CommandPreview::show(const QString &commandLine, const QStringList &lines)
{
    const QString shown = shortenedForDisplay(commandLine);
    const QString text = lines.isEmpty() ? shown : shown + u'\n' + lines.join(u'\n');
    if (text == m_label->text())
        return;
    m_label->setText(text);
    m_label->setToolTip(richTextShowingPlainText(text));
    m_label->setAccessibleDescription(text);
}

} // namespace ferncastle
