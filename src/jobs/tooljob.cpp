#include "jobs/tooljob.h"

#include "core/image/imagelayout.h"
#include "core/io/regularfile.h"
#include "core/options/typedparameters.h"
#include "core/tools/tooltable.h"
#include "platform/run/processgroup.h"

#include <QDir>
#include <QFileInfo>

namespace ferncastle {

namespace {

QString howItEnded(const RunEnd &end)
{
    switch (end.how) {
    case RunEnd::How::Exited: return QStringLiteral("Exit status %1").arg(end.code);
    case RunEnd::How::Signalled: return QStringLiteral("Ended by signal %1").arg(end.code);
    case RunEnd::How::NotStarted: break;
    }
    return QStringLiteral("Not started");
}

QString stopStepText(ToolProcess::StopStep step)
{
    switch (step) {
    case ToolProcess::StopStep::Interrupt:
        return QStringLiteral("Stopping: sent SIGINT, as ^C would.");
    case ToolProcess::StopStep::Terminate:
        return QStringLiteral("Still running 5 seconds after SIGINT: sent SIGTERM.");
    case ToolProcess::StopStep::Kill:
        break;
    }
    return QStringLiteral("Still running 5 seconds after SIGTERM: sent SIGKILL.");
}

// A record cut short by a full disk is never passed off as whole.
RunVerdict withTranscriptState(RunVerdict verdict, const Transcript &transcript)
{
    if (transcript.writeFailed())
        verdict.sentence += u' ' + transcript.error();
    return verdict;
}

bool endedOnItsOwn(VerdictKind kind)
{
    return kind == VerdictKind::Good || kind == VerdictKind::Warning;
}

} // namespace

QString JobOutcome::incompleteSentence() const
{
    QStringList sentences;
    QStringList partial = incompleteImages;
    for (const QString &stub : stubImages)
        partial.removeAll(stub);
    if (!partial.isEmpty())
        sentences.append(QStringLiteral("The image %1 is incomplete: the run did not finish, so "
                                        "it does not hold the whole disk. Do not rely on it; run "
                                        "the tool again.")
                             .arg(partial.join(QStringLiteral(", "))));
    if (!stubImages.isEmpty())
        sentences.append(QStringLiteral("The run left only an incomplete stub in %1: a header at most, no "
                                        "track. It is no image; the next run asks before "
                                        "replacing it.")
                             .arg(stubImages.join(QStringLiteral(", "))));
    return sentences.join(u' ');
}

QString JobOutcome::record() const
{
    QString record;
    if (!cardFix.isEmpty())
        record += QStringLiteral("How to fix it: ") + cardFix + u'\n';
    if (const QString incomplete = incompleteSentence(); !incomplete.isEmpty())
        record += incomplete + u'\n';
    return record + QStringLiteral("Verdict: ") + verdictKindWord(verdict.kind) + QLatin1String(". ")
           + verdict.sentence;
}

ToolJob::ToolJob(const ToolCommand &command, QObject *parent)
    : QObject(parent)
    , m_command(command)
    , m_analysis(command.tool)
{
    connect(&m_process, &ToolProcess::outputRead, this, &ToolJob::onOutput);
    connect(&m_process, &ToolProcess::stopStepTaken, this, &ToolJob::onStopStep);
    connect(&m_process, &ToolProcess::ended, this, &ToolJob::onEnded);
    connect(&m_process, &ToolProcess::outlivedBy, this, [this](const QList<qint64> &ids) {
        note(QStringLiteral("%1 has ended, but processes it started are still running (ids %2): "
                            "the run ends when they do, or press Stop.")
                 .arg(m_command.tool, processIdList(ids)));
    });
}

void ToolJob::start()
{
    planFromChosenImage();
    planFromArguments();
    if (const ToolRow *row = toolNamed(m_command.tool); row && row->convertsChosenImage)
        m_analysis.setConversionInput(m_command.chosenFile);
    m_written = WrittenFiles(m_command.writtenFiles);
    openTranscript();
    m_process.start(m_command.program, m_command.arguments);
}

// A tool that writes an image to a disk names no track count: the image's
// header does.
void ToolJob::planFromChosenImage()
{
    const ToolRow *row = toolNamed(m_command.tool);
    if (!row || !row->writesChosenImageToDisk)
        return;
    RegularFile image;
    if (image.open(m_command.chosenFile))
        m_analysis.planFromDmkHeader(image.read(layout::dmkHeaderSize).value_or(QByteArray()));
}

// A read guesses only what the user left out: a track or side count on
// the command line is the disk's size from the first track on.
void ToolJob::planFromArguments()
{
    const ToolRow *row = toolNamed(m_command.tool);
    if (!row || row->id != ToolActionId::DiskToImage)
        return;
    const auto count = [&](QChar letter) {
        // Read as the tool's strtol(optarg, NULL, 0) reads it: 0x23 and 043 too.
        const int value = optionValue(m_command.arguments, row->options, letter)
                              .value_or(QString())
                              .toInt(nullptr, 0);
        return std::max(value, 0);
    };
    m_analysis.setKnownSize(count(u't'), count(u's'));
}

void ToolJob::openTranscript()
{
    if (m_command.chosenFile.isEmpty()) {
        m_transcriptStatus = QStringLiteral("No transcript: the run names no file.");
        return;
    }
    if (!m_transcript.create(m_command.chosenFile, m_command.tool)) {
        m_transcriptStatus = m_transcript.error();
        return;
    }
    m_transcript.writeStart(m_command.commandLine, QDateTime::currentDateTime());
    m_transcriptStatus = QStringLiteral("Transcript: ")
                         + QDir::toNativeSeparators(m_transcript.fileName());
}

void ToolJob::stop()
{
    m_process.stop();
}

void ToolJob::sendLine(const QString &text)
{
    m_process.sendLine(text);
    m_transcript.writeNote(QStringLiteral("sent: ") + text);
}

void ToolJob::onOutput(OutputStream stream, const QByteArray &bytes)
{
    const int eventsBefore = m_analysis.eventCount();
    const QList<ShownLine> lines = m_analysis.feed(stream, bytes);
    m_transcript.writeLines(lines);
    Q_EMIT linesArrived(lines, stream);
    if (m_analysis.eventCount() != eventsBefore)
        Q_EMIT progressed();
}

void ToolJob::note(const QString &text)
{
    m_transcript.writeNote(text);
    Q_EMIT noted(text);
}

void ToolJob::onStopStep(ToolProcess::StopStep step)
{
    note(stopStepText(step));
    Q_EMIT stopStepTaken();
}

QString ToolJob::transcriptStatus() const
{
    return m_transcript.writeFailed() ? m_transcript.error() : m_transcriptStatus;
}

void ToolJob::onEnded(const RunEnd &end)
{
    m_ended = true;
    if (!end.stillRunning.isEmpty())
        note(QStringLiteral("Processes the tool started are still running after SIGKILL (ids %1): "
                            "they may still change the image.").arg(processIdList(end.stillRunning)));
    const QList<ShownLine> lines = m_analysis.finish(end);
    m_analysis.readBackWrittenImages(m_written);
    m_transcript.writeLines(lines);
    if (!lines.isEmpty())
        Q_EMIT linesArrived(lines, OutputStream::Stdout);
    m_outcome.end = end;
    m_outcome.verdict = withTranscriptState(m_analysis.verdict(), m_transcript);
    m_outcome.cardFix = m_analysis.summary().cardFix;
    m_outcome.incompleteImages = incompleteImages();
    m_outcome.stubImages = stubsAmong(m_outcome.incompleteImages);
    m_transcript.writeEnd(howItEnded(end), m_process.elapsedMs(), m_outcome.record());
    Q_EMIT ended(m_outcome);
}

// A tool that fails before its first track leaves a file holding its
// header or nothing at all.
QStringList ToolJob::stubsAmong(const QStringList &paths)
{
    QStringList stubs;
    for (const QString &path : paths)
        if (QFileInfo(path).size() <= layout::dmkHeaderSize)
            stubs.append(path);
    return stubs;
}

// A cut-short image keeps a header that claims every track: after a stop,
// failure or crash every image the run touched is named as incomplete.
QStringList ToolJob::incompleteImages() const
{
    if (endedOnItsOwn(m_outcome.verdict.kind))
        return {};
    QStringList incomplete;
    for (const QString &path : m_written.touchedPaths())
        incomplete.append(QDir::toNativeSeparators(path));
    return incomplete;
}

} // namespace ferncastle
