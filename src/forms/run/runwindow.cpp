#include "forms/run/runwindow.h"

#include "core/image/imagelayout.h"
#include "forms/common/prompts.h"
#include "forms/run/outputview.h"
#include "forms/run/runtrackgrid.h"
#include "platform/processgroup.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>

namespace ferncastle {

namespace {

// Commands made before they named their tool and file still run: the
// program's file name is the tool, the last argument the file.
ToolCommand withDefaults(ToolCommand command)
{
    if (command.tool.isEmpty())
        command.tool = QFileInfo(command.program).fileName();
    if (command.chosenFile.isEmpty() && !command.arguments.isEmpty())
        command.chosenFile = command.arguments.constLast();
    return command;
}

QString styleOf(VerdictKind kind)
{
    switch (kind) {
    case VerdictKind::Good: return QStringLiteral("background:#2e7d32;color:white;");
    case VerdictKind::Warning: return QStringLiteral("background:#f9c02a;color:black;");
    case VerdictKind::Failure: return QStringLiteral("background:#c62828;color:white;");
    case VerdictKind::Crashed: return QStringLiteral("background:#7f1010;color:white;");
    case VerdictKind::Stopped: break;
    }
    return QStringLiteral("background:#546e7a;color:white;");
}

QString howItEnded(const RunEnd &end)
{
    switch (end.how) {
    case RunEnd::How::Exited: return QStringLiteral("Exit status %1").arg(end.code);
    case RunEnd::How::Signalled: return QStringLiteral("Ended by signal %1").arg(end.code);
    case RunEnd::How::NotStarted: break;
    }
    return QStringLiteral("Not started");
}

} // namespace

RunWindow::RunWindow(const ToolCommand &command, Prompts &prompts, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_command(withDefaults(command))
    , m_prompts(prompts)
    , m_analysis(m_command.tool)
{
    setAttribute(Qt::WA_DeleteOnClose);
    const QString file = QFileInfo(m_command.chosenFile).fileName();
    setWindowTitle(file.isEmpty() ? m_command.tool : m_command.tool + QStringLiteral(" \u2013 ") + file);
    buildLayout();
    m_paintTimer.setInterval(paintIntervalMs);
    connect(&m_paintTimer, &QTimer::timeout, this, &RunWindow::paintTick);
    connect(&m_process, &ToolProcess::outputRead, this, &RunWindow::onOutput);
    connect(&m_process, &ToolProcess::stopStepTaken, this, &RunWindow::onStopStep);
    connect(&m_process, &ToolProcess::ended, this, &RunWindow::onEnded);
    connect(&m_process, &ToolProcess::outlivedBy, this, [this](const QList<qint64> &ids) {
        note(QStringLiteral("%1 has ended, but processes it started are still running (ids %2): "
                            "the run ends when they do, or press Stop.")
                 .arg(m_command.tool, processIdList(ids)));
    });
    connect(m_stop, &QPushButton::clicked, this, &RunWindow::stopClicked);
    connect(m_input, &QLineEdit::returnPressed, this, &RunWindow::sendInput);
    connect(m_openFolder, &QPushButton::clicked, this, &RunWindow::openTranscriptFolder);
}

RunWindow::~RunWindow() = default;

void RunWindow::start()
{
    if (m_command.tool == QLatin1String("dmk2cw")) {
        QFile image(m_command.chosenFile);
        if (image.open(QIODevice::ReadOnly))
            m_analysis.planFromDmkHeader(image.read(layout::dmkHeaderSize));
        showProgress();
    }
    m_written = WrittenFiles(m_command.writtenFiles);
    openTranscript();
    m_paintTimer.start();
    m_process.start(m_command.program, m_command.arguments);
}

void RunWindow::openTranscript()
{
    if (m_command.chosenFile.isEmpty()) {
        m_transcriptName->setText(QStringLiteral("No transcript: the run names no file."));
        return;
    }
    if (!m_transcript.create(m_command.chosenFile, m_command.tool)) {
        m_transcriptName->setText(m_transcript.error());
        return;
    }
    m_transcript.writeStart(m_command.commandLine, QDateTime::currentDateTime());
    m_transcriptName->setText(QStringLiteral("Transcript: ")
                              + QDir::toNativeSeparators(m_transcript.fileName()));
    m_openFolder->setEnabled(true);
}

void RunWindow::onOutput(OutputStream stream, const QByteArray &bytes)
{
    const QList<ShownLine> lines = m_analysis.feed(stream, bytes);
    m_transcript.writeLines(lines);
    m_output->addLines(lines);
    m_lastStream = stream;
}

void RunWindow::paintTick()
{
    const OutputStream other = m_lastStream == OutputStream::Stdout ? OutputStream::Stderr
                                                                   : OutputStream::Stdout;
    const OutputStream open = m_analysis.hasOpenLine(m_lastStream) ? m_lastStream : other;
    m_output->setOpenLine(m_analysis.openLine(open), open);
    m_output->paint();
    if (m_analysis.eventCount() != m_shownEvents)
        showProgress();
    if (!m_ended)
        m_elapsed->setText(formatElapsed(m_process.elapsedMs()));
    if (m_transcript.writeFailed())
        m_transcriptName->setText(m_transcript.error());
}

void RunWindow::showProgress()
{
    m_shownEvents = m_analysis.eventCount();
    const DiskMap &map = m_analysis.map();
    m_grid->setMap(map);
    if (map.cellsPlanned() > 0) {
        m_progress->setRange(0, map.cellsPlanned());
        m_progress->setValue(map.cellsDone());
    }
    const QStringList &changes = m_analysis.summary().planChanges;
    m_planChanges->setVisible(!changes.isEmpty());
    m_planChanges->setText(changes.join(u'\n'));
}

void RunWindow::stopClicked()
{
    m_process.stop();
}

void RunWindow::onStopStep(ToolProcess::StopStep step)
{
    switch (step) {
    case ToolProcess::StopStep::Interrupt:
        note(QStringLiteral("Stopping: sent SIGINT, as ^C would."));
        break;
    case ToolProcess::StopStep::Terminate:
        note(QStringLiteral("Still running 5 seconds after SIGINT: sent SIGTERM."));
        break;
    case ToolProcess::StopStep::Kill:
        note(QStringLiteral("Still running 5 seconds after SIGTERM: sent SIGKILL."));
        break;
    }
    m_stop->setEnabled(false);
}

void RunWindow::note(const QString &text)
{
    const QString shown = m_status->text();
    m_status->setText(shown.isEmpty() ? text : shown + u'\n' + text);
    m_status->show();
    m_transcript.writeNote(text);
}

void RunWindow::sendInput()
{
    const QString text = m_input->text();
    m_input->clear();
    m_process.sendLine(text);
    m_transcript.writeNote(QStringLiteral("sent: ") + text);
}

void RunWindow::onEnded(const RunEnd &end)
{
    m_ended = true;
    if (!end.stillRunning.isEmpty())
        note(QStringLiteral("Processes the tool started are still running after SIGKILL (ids %1): "
                            "they may still change the image.").arg(processIdList(end.stillRunning)));
    const QList<ShownLine> lines = m_analysis.finish(end);
    m_analysis.readBackWrittenImages(m_written);
    m_transcript.writeLines(lines);
    m_output->addLines(lines);
    m_elapsed->setText(formatElapsed(m_process.elapsedMs()));
    paintTick();
    m_paintTimer.stop();
    // The end settles the map (a guessed plan trimmed) without new events.
    showProgress();
    m_progress->setRange(0, std::max(1, m_analysis.map().cellsPlanned()));
    m_progress->setValue(end.how == RunEnd::How::Exited && end.code == 0 && !end.stoppedByUser
                             ? m_progress->maximum()
                             : m_analysis.map().cellsDone());
    showVerdict(end);
    showIncompleteImage(end);
    offerShowImage();
    m_stop->setEnabled(false);
    m_input->setEnabled(false);
    QString record = m_verdict->text();
    for (const QLabel *extra : {m_cardFix, m_incomplete})
        if (!extra->isHidden())
            record += u'\n' + extra->text();
    m_transcript.writeEnd(howItEnded(end), m_process.elapsedMs(), record);
    if (m_transcript.writeFailed())
        m_transcriptName->setText(m_transcript.error());
    Q_EMIT runEnded();
    if (m_closeWhenEnded)
        close();
}

void RunWindow::showVerdict(const RunEnd &)
{
    const RunVerdict &verdict = m_analysis.verdict();
    m_verdict->setText(verdict.sentence);
    m_verdict->setStyleSheet(QStringLiteral("QLabel{") + styleOf(verdict.kind)
                             + QStringLiteral("padding:6px;font-weight:bold;}"));
    m_verdict->show();
    const QString fix = m_analysis.summary().cardFix;
    m_cardFix->setText(QStringLiteral("How to fix it: ") + fix);
    m_cardFix->setVisible(!fix.isEmpty());
}

// A cut-short image keeps a header that claims every track; say so, and
// name it, before anyone trusts it.
void RunWindow::showIncompleteImage(const RunEnd &)
{
    const VerdictKind kind = m_analysis.verdict().kind;
    if (kind != VerdictKind::Stopped && kind != VerdictKind::Failure && kind != VerdictKind::Crashed)
        return;
    QStringList incomplete;
    for (const QString &path : m_written.touchedPaths())
        incomplete.append(QDir::toNativeSeparators(path));
    if (incomplete.isEmpty())
        return;
    m_incomplete->setText(QStringLiteral("The image %1 is incomplete: the run did not finish, so it "
                                         "does not hold the whole disk. Do not rely on it; run the "
                                         "tool again.")
                              .arg(incomplete.join(QStringLiteral(", "))));
    m_incomplete->setStyleSheet(QStringLiteral("QLabel{color:#c62828;font-weight:bold;}"));
    m_incomplete->show();
}

// The first image the run left behind, complete or not: the information
// window says what it holds.
void RunWindow::offerShowImage()
{
    if (!m_showImage)
        return;
    for (const QString &file : m_command.writtenFiles) {
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
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(m_transcript.fileName()).absolutePath()));
}

void RunWindow::closeEvent(QCloseEvent *event)
{
    if (m_ended || !m_process.isRunning()) {
        event->accept();
        return;
    }
    event->ignore();
    if (m_closeWhenEnded)
        return;
    if (!m_prompts.askYesNo(this, windowTitle(),
                            QStringLiteral("%1 is still running. Stop it and close this window?")
                                .arg(m_command.tool)))
        return;
    m_closeWhenEnded = true;
    m_process.stop();
}

} // namespace ferncastle
