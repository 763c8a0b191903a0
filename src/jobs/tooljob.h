#pragma once

#include "core/run/runanalysis.h"
#include "core/run/transcript.h"
#include "core/run/writtenfiles.h"
#include "core/tools/toolcommand.h"
#include "platform/run/toolprocess.h"

#include <QObject>

namespace ferncastle {

// How a run ended and what it means, as every view shows it and the
// transcript records it.
struct JobOutcome {
    RunEnd end;
    RunVerdict verdict;
    QString cardFix;            // how to fix a card or permission problem
    QStringList incompleteImages; // images the run touched but did not finish
    QStringList stubImages;       // of those, files holding no more than a header

    // "The image … is incomplete: …", or empty; a stub is named as one.
    QString incompleteSentence() const;
    // The fix and the incomplete images, then last the line a script reads:
    // "Verdict: <kind in one word>. <sentence>".
    QString record() const;
};

// One tool run from start to verdict, with no window: the process, its
// output decoded and parsed, the disk map, the transcript, the written
// images read back and the verdict. Views (the run window, a chain of
// runs) watch its signals.
class ToolJob : public QObject
{
    Q_OBJECT

public:
    explicit ToolJob(const ToolCommand &command, QObject *parent = nullptr);

    // Opens the transcript and starts the tool; the end always comes as
    // ended(), also when the tool could not start.
    void start();
    void stop();
    void sendLine(const QString &text);

    bool isRunning() const { return m_process.isRunning(); }
    bool hasEnded() const { return m_ended; }
    qint64 elapsedMs() const { return m_process.elapsedMs(); }

    const ToolCommand &command() const { return m_command; }
    const RunAnalysis &analysis() const { return m_analysis; }
    const Transcript &transcript() const { return m_transcript; }
    // "Transcript: <file>", or why there is none or it stopped.
    QString transcriptStatus() const;
    const JobOutcome &outcome() const { return m_outcome; }
    ToolProcess &process() { return m_process; }

Q_SIGNALS:
    void linesArrived(const QList<ferncastle::ShownLine> &lines, ferncastle::OutputStream stream);
    // The disk map or the summary took in what the tool reported.
    void progressed();
    // Something the user should know while the run goes on, as the
    // transcript records it: a step of a stop, processes left running.
    void noted(const QString &text);
    // A step of a stop was taken (noted() says which).
    void stopStepTaken();
    void ended(const ferncastle::JobOutcome &outcome);

private:
    void planFromChosenImage();
    void planFromArguments();
    void openTranscript();
    void onOutput(OutputStream stream, const QByteArray &bytes);
    void onStopStep(ToolProcess::StopStep step);
    void note(const QString &text);
    void onEnded(const RunEnd &end);
    QStringList incompleteImages() const;
    static QStringList stubsAmong(const QStringList &paths);

    ToolCommand m_command;
    ToolProcess m_process;
    RunAnalysis m_analysis;
    Transcript m_transcript;
    QString m_transcriptStatus;
    // The written files as they were before the run: only one the run
    // created or changed is called incomplete or read back.
    WrittenFiles m_written;
    JobOutcome m_outcome;
    bool m_ended = false;
};

} // namespace ferncastle
