#pragma once

#include "core/run/runanalysis.h"
#include "core/run/transcript.h"
#include "core/toolcommand.h"
#include "platform/toolprocess.h"

#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace ferncastle {

class OutputView;
class Prompts;
class TrackGrid;

// One tool run in a window of its own: the command line, the output as it
// comes, progress over the disk, Stop, and at the end a verdict the user
// can trust. Everything shown is also written to a transcript beside the
// image. The window is top-level and deletes itself when closed.
class RunWindow : public QWidget
{
    Q_OBJECT

public:
    // How often arrived output is laid out and the clock redrawn.
    static constexpr int paintIntervalMs = 50;

    RunWindow(const ToolCommand &command, Prompts &prompts, QWidget *parent = nullptr);
    ~RunWindow() override;

    // What "Show Image" does with the image a run wrote (the image
    // information window); without it the button is not offered.
    using ShowImage = std::function<void(const QString &imageFile)>;
    void setShowImage(ShowImage showImage) { m_showImage = std::move(showImage); }

    // Opens the transcript and starts the tool.
    void start();
    bool isRunning() const { return m_process.isRunning(); }
    bool hasEnded() const { return m_ended; }

    const RunAnalysis &analysis() const { return m_analysis; }
    const Transcript &transcript() const { return m_transcript; }
    ToolProcess &process() { return m_process; }
    const ToolCommand &command() const { return m_command; }

Q_SIGNALS:
    void runEnded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    QWidget *buildBottomRow();
    void openTranscript();
    void onOutput(OutputStream stream, const QByteArray &bytes);
    void onStopStep(ToolProcess::StopStep step);
    void onEnded(const RunEnd &end);
    void stopClicked();
    void sendInput();
    void paintTick();
    void showProgress();
    void showVerdict(const RunEnd &end);
    void showIncompleteImage(const RunEnd &end);
    void openTranscriptFolder();
    void offerShowImage();
    void note(const QString &text);

    ToolCommand m_command;
    Prompts &m_prompts;
    ToolProcess m_process;
    RunAnalysis m_analysis;
    Transcript m_transcript;
    QTimer m_paintTimer;
    OutputStream m_lastStream = OutputStream::Stdout;
    int m_shownEvents = -1;
    bool m_ended = false;
    bool m_closeWhenEnded = false;
    ShowImage m_showImage;
    // The written files as they were before the run: only one the run
    // created or changed is called incomplete or read back.
    WrittenFiles m_written;

    QLineEdit *m_commandLine = nullptr;
    OutputView *m_output = nullptr;
    QLineEdit *m_input = nullptr;
    QLabel *m_elapsed = nullptr;
    QPushButton *m_stop = nullptr;
    QProgressBar *m_progress = nullptr;
    TrackGrid *m_grid = nullptr;
    QLabel *m_planChanges = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_verdict = nullptr;
    QLabel *m_cardFix = nullptr;
    QLabel *m_incomplete = nullptr;
    QLabel *m_transcriptName = nullptr;
    QPushButton *m_openFolder = nullptr;
    QPushButton *m_showImageButton = nullptr;
};

} // namespace ferncastle
