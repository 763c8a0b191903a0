#include "forms/run/runwindow.h"

#include "core/tools/tooltable.h"
#include "forms/common/accessiblenames.h"
#include "forms/common/closekeys.h"
#include "forms/common/prompts.h"
#include "forms/run/outputview.h"
#include "forms/grid/gridpalette.h"
#include "forms/grid/trackgrid.h"
#include "jobs/jobstep.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>

namespace ferncastle {

namespace {

std::unique_ptr<JobChain> chainOfOne(const ToolCommand &command)
{
    auto chain = std::make_unique<JobChain>();
    chain->append(std::make_unique<RunStep>(command));
    return chain;
}

} // namespace

RunWindow::RunWindow(const ToolCommand &command, Prompts &prompts, QWidget *parent)
    : RunWindow(chainOfOne(command), prompts, parent)
{
}

RunWindow::RunWindow(std::unique_ptr<JobChain> chain, Prompts &prompts, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_chain(std::move(chain))
    , m_job(m_chain->step(0)->toolJob())
    , m_prompts(prompts)
{
    Q_ASSERT(m_job);
    setAttribute(Qt::WA_DeleteOnClose);
    const ToolCommand &first = m_job->command();
    const ToolRow *row = toolNamed(first.tool);
    m_readsDisks = m_chain->stepCount() == 1 && row && row->id == ToolActionId::DiskToImage;
    m_lastDisk = first.chosenFile;
    const QString file = QFileInfo(first.chosenFile).fileName();
    setWindowTitle(file.isEmpty() ? first.tool : first.tool + QStringLiteral(" \u2013 ") + file);
    buildLayout();
    announceAsWindow(*this);
    closeOnEscapeAndCtrlW(*this);
    m_paintTimer.setInterval(paintIntervalMs);
    connect(&m_paintTimer, &QTimer::timeout, this, &RunWindow::paintTick);
    watchJob(m_job);
    watchChain();
    connect(m_stop, &QPushButton::clicked, this, [this] { m_chain->stop(); });
    connect(m_input, &QLineEdit::returnPressed, this, &RunWindow::sendInput);
    connect(m_openFolder, &QPushButton::clicked, this, &RunWindow::openTranscriptFolder);
}

RunWindow::~RunWindow() = default;

void RunWindow::watchChain()
{
    connect(m_chain.get(), &JobChain::stepStarted, this, &RunWindow::onStepStarted);
    connect(m_chain.get(), &JobChain::stepEnded, this, &RunWindow::onStepEnded);
    connect(m_chain.get(), &JobChain::ended, this, &RunWindow::onChainEnded);
    // Asked once the chain's own call has returned, so a modal question
    // never runs inside a step's start.
    connect(m_chain.get(), &JobChain::questionAsked, this, &RunWindow::askQuestion,
            Qt::QueuedConnection);
}

void RunWindow::watchJob(ToolJob *job)
{
    disconnect(m_job, nullptr, this, nullptr);
    m_job = job;
    connect(m_job, &ToolJob::linesArrived, this, &RunWindow::onLines);
    connect(m_job, &ToolJob::noted, this, &RunWindow::showNote);
    connect(m_job, &ToolJob::stopStepTaken, this, &RunWindow::onStopStep);
}

void RunWindow::start()
{
    m_chain->start();
    showJobStarted();
}

// After the job's own start: the plan from the image and the transcript
// are known only then.
void RunWindow::showJobStarted()
{
    showProgress();
    m_transcriptName->setText(m_job->transcriptStatus());
    m_openFolder->setEnabled(m_job->transcript().isOpen());
}

// Each tool run of the chain takes the window over: its command line,
// output, map, progress and transcript.
void RunWindow::onStepStarted(int, JobStep *step)
{
    ToolJob *job = step->toolJob();
    if (!job)
        return;
    if (job != m_job) {
        watchJob(job);
        m_commandLine->setText(job->command().commandLine);
        m_commandLine->setCursorPosition(0);
        m_output->addLines({{QString(), OutputStream::Stdout},
                            {QStringLiteral("\u2014 ") + job->command().commandLine,
                             OutputStream::Stdout}});
        m_progress->setRange(0, 0);
        m_progress->resetFormat();
        m_shownEvents = -1;
        m_stop->setEnabled(true);
        m_input->setEnabled(true);
    }
    m_stepStarted = QDateTime::currentDateTime();
    m_paintTimer.start();
    QTimer::singleShot(0, this, &RunWindow::showJobStarted);
}

void RunWindow::onStepEnded(int index)
{
    JobStep *step = m_chain->step(index);
    if (step->toolJob() != m_job)
        return;
    onJobEnded(m_job->outcome());
    if (m_readsDisks)
        noteRead(*m_job);
}

void RunWindow::onLines(const QList<ShownLine> &lines, OutputStream stream)
{
    m_output->addLines(lines);
    m_lastStream = stream;
}

void RunWindow::paintTick()
{
    const RunAnalysis &analysis = m_job->analysis();
    const OutputStream other = m_lastStream == OutputStream::Stdout ? OutputStream::Stderr
                                                                   : OutputStream::Stdout;
    const OutputStream open = analysis.hasOpenLine(m_lastStream) ? m_lastStream : other;
    m_output->setOpenLine(analysis.openLine(open), open);
    m_output->paint();
    if (analysis.eventCount() != m_shownEvents)
        showProgress();
    if (!m_job->hasEnded())
        m_elapsed->setText(formatElapsed(m_job->elapsedMs()));
    m_transcriptName->setText(m_job->transcriptStatus());
}

void RunWindow::showProgress()
{
    const RunAnalysis &analysis = m_job->analysis();
    m_shownEvents = analysis.eventCount();
    const DiskMap &map = analysis.map();
    m_grid->setModel(gridModelOf(map));
    // A percent of a guessed size would mislead (a 35-track disk at 18 %
    // near its middle): until the size is known the bar only shows activity.
    const int expected = map.cellsExpected();
    m_progress->setRange(0, expected);
    m_progress->setValue(std::min(map.cellsDone(), expected));
    m_progressWords->setVisible(map.cellsDone() > 0);
    m_progressWords->setText(QStringLiteral("Done so far: ") + doneInWords(map)
                             + (expected > 0 ? QStringLiteral(".")
                                             : QStringLiteral(". Where the disk ends is not "
                                                              "known yet.")));
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
    m_job->sendLine(text);
}

void RunWindow::onJobEnded(const JobOutcome &outcome)
{
    m_elapsed->setText(formatElapsed(m_job->elapsedMs()));
    paintTick();
    m_paintTimer.stop();
    // The end settles the map (a guessed plan trimmed) without new events.
    showProgress();
    showProgressEnd(m_job->analysis().map(), outcome.end.completed());
    showOutcome(outcome);
}

// A run cut short on a disk of unknown size has no share done to show:
// the bar stays empty and says what was done.
void RunWindow::showProgressEnd(const DiskMap &map, bool completed)
{
    const int expected = map.cellsExpected();
    m_progress->setRange(0, std::max(1, expected));
    m_progress->setValue(completed ? m_progress->maximum() : std::min(map.cellsDone(), expected));
    if (!completed && expected == 0 && map.cellsDone() > 0)
        m_progress->setFormat(doneInWords(map));
    m_progressWords->setText(QStringLiteral("Done: ") + doneInWords(map) + u'.');
}

void RunWindow::onChainEnded(const RunVerdict &verdict)
{
    m_paintTimer.stop();
    showVerdict(verdict);
    offerShowImage();
    offerNextRead();
    m_stop->setEnabled(false);
    m_input->setEnabled(false);
    Q_EMIT runEnded();
    if (m_closeWhenEnded)
        close();
}

void RunWindow::showVerdict(const RunVerdict &verdict)
{
    m_verdict->setText(verdict.sentence);
    m_verdict->setStyleSheet(QStringLiteral("QLabel{") + verdictStyle(verdict.kind)
                             + QStringLiteral("padding:6px;font-weight:bold;}"));
    m_verdict->show();
    announce(*m_verdict);
}

void RunWindow::showOutcome(const JobOutcome &outcome)
{
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
        QUrl::fromLocalFile(QFileInfo(m_job->transcript().fileName()).absolutePath()));
}

void RunWindow::closeEvent(QCloseEvent *event)
{
    if (!m_chain->isRunning()) {
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
    m_chain->stop();
}

} // namespace ferncastle
