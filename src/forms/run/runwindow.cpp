#include "forms/run/runwindow.h"

#include "forms/common/prompts.h"
#include "forms/grid/gridpalette.h"
#include "forms/grid/trackgrid.h"
#include "forms/run/outputview.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>

namespace ferncastle {

RunWindow::RunWindow(const ToolCommand &command, Prompts &prompts, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_job(command)
    , m_prompts(prompts)
{
    setAttribute(Qt::WA_DeleteOnClose);
    const QString file = QFileInfo(command.chosenFile).fileName();
    setWindowTitle(file.isEmpty() ? command.tool : command.tool + QStringLiteral(" \u2013 ") + file);
    buildLayout();
    m_paintTimer.setInterval(paintIntervalMs);
    connect(&m_paintTimer, &QTimer::timeout, this, &RunWindow::paintTick);
    connect(&m_job, &ToolJob::linesArrived, this, &RunWindow::onLines);
    connect(&m_job, &ToolJob::noted, this, &RunWindow::showNote);
    connect(&m_job, &ToolJob::stopStepTaken, this, &RunWindow::onStopStep);
    connect(&m_job, &ToolJob::ended, this, &RunWindow::onEnded);
    connect(m_stop, &QPushButton::clicked, &m_job, &ToolJob::stop);
    connect(m_input, &QLineEdit::returnPressed, this, &RunWindow::sendInput);
    connect(m_openFolder, &QPushButton::clicked, this, &RunWindow::openTranscriptFolder);
}

RunWindow::~RunWindow() = default;

void RunWindow::start()
{
    m_paintTimer.start();
    m_job.start();
    showProgress();
    m_transcriptName->setText(m_job.transcriptStatus());
    m_openFolder->setEnabled(m_job.transcript().isOpen());
}

void RunWindow::onLines(const QList<ShownLine> &lines, OutputStream stream)
{
    m_output->addLines(lines);
    m_lastStream = stream;
}

void RunWindow::paintTick()
{
    const RunAnalysis &analysis = m_job.analysis();
    const OutputStream other = m_lastStream == OutputStream::Stdout ? OutputStream::Stderr
                                                                   : OutputStream::Stdout;
    const OutputStream open = analysis.hasOpenLine(m_lastStream) ? m_lastStream : other;
    m_output->setOpenLine(analysis.openLine(open), open);
    m_output->paint();
    if (analysis.eventCount() != m_shownEvents)
        showProgress();
    if (!m_job.hasEnded())
        m_elapsed->setText(formatElapsed(m_job.elapsedMs()));
    m_transcriptName->setText(m_job.transcriptStatus());
}

void RunWindow::showProgress()
{
    const RunAnalysis &analysis = m_job.analysis();
    m_shownEvents = analysis.eventCount();
    const DiskMap &map = analysis.map();
    m_grid->setModel(gridModelOf(map));
    if (map.cellsPlanned() > 0) {
        m_progress->setRange(0, map.cellsPlanned());
        m_progress->setValue(map.cellsDone());
    }
    const QStringList &changes = analysis.summary().planChanges;
    m_planChanges->setVisible(!changes.isEmpty());
    m_planChanges->setText(changes.join(u'\n'));
}

void RunWindow::showNote(const QString &text)
{
    const QString shown = m_status->text();
    m_status->setText(shown.isEmpty() ? text : shown + u'\n' + text);
    m_status->show();
}

void RunWindow::onStopStep()
{
    m_stop->setEnabled(false);
}

void RunWindow::sendInput()
{
    const QString text = m_input->text();
    m_input->clear();
    m_job.sendLine(text);
}

void RunWindow::onEnded(const JobOutcome &outcome)
{
    m_elapsed->setText(formatElapsed(m_job.elapsedMs()));
    paintTick();
    m_paintTimer.stop();
    // The end settles the map (a guessed plan trimmed) without new events.
    showProgress();
    const DiskMap &map = m_job.analysis().map();
    m_progress->setRange(0, std::max(1, map.cellsPlanned()));
    m_progress->setValue(outcome.end.completed() ? m_progress->maximum() : map.cellsDone());
    showOutcome(outcome);
    offerShowImage();
    m_stop->setEnabled(false);
    m_input->setEnabled(false);
    Q_EMIT runEnded();
    if (m_closeWhenEnded)
        close();
}

void RunWindow::showOutcome(const JobOutcome &outcome)
{
    m_verdict->setText(outcome.verdict.sentence);
    m_verdict->setStyleSheet(QStringLiteral("QLabel{") + verdictStyle(outcome.verdict.kind)
                             + QStringLiteral("padding:6px;font-weight:bold;}"));
    m_verdict->show();
    m_cardFix->setText(QStringLiteral("How to fix it: ") + outcome.cardFix);
    m_cardFix->setVisible(!outcome.cardFix.isEmpty());
    const QString incomplete = outcome.incompleteSentence();
    m_incomplete->setText(incomplete);
    m_incomplete->setStyleSheet(QStringLiteral("QLabel{color:#c62828;font-weight:bold;}"));
    m_incomplete->setVisible(!incomplete.isEmpty());
}

// The first image the run left behind, complete or not: the information
// window says what it holds.
void RunWindow::offerShowImage()
{
    if (!m_showImage)
        return;
    for (const QString &file : command().writtenFiles) {
        if (QFileInfo(file).isFile() && QFileInfo(file).size() > 0) {
            connect(m_showImageButton, &QPushButton::clicked, this,
                    [this, file] { m_showImage(file); });
            m_showImageButton->show();
            return;
        }
    }
}

void RunWindow::openTranscriptFolder()
{
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(QFileInfo(m_job.transcript().fileName()).absolutePath()));
}

void RunWindow::closeEvent(QCloseEvent *event)
{
    if (m_job.hasEnded() || !m_job.isRunning()) {
        event->accept();
        return;
    }
    event->ignore();
    if (m_closeWhenEnded)
        return;
    if (!m_prompts.askYesNo(this, windowTitle(),
                            QStringLiteral("%1 is still running. Stop it and close this window?")
                                .arg(command().tool)))
        return;
    m_closeWhenEnded = true;
    m_job.stop();
}

} // namespace ferncastle
