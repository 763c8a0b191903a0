#pragma once

#include "jobs/tooljob.h"

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
// can trust. The window only shows its job (ToolJob), which runs the tool
// and writes the transcript. It is top-level and deletes itself when
// closed.
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

    // Starts the job: the transcript is opened and the tool started.
    void start();
    bool isRunning() const { return m_job.isRunning(); }
    bool hasEnded() const { return m_job.hasEnded(); }

    ToolJob &job() { return m_job; }
    const RunAnalysis &analysis() const { return m_job.analysis(); }
    const Transcript &transcript() const { return m_job.transcript(); }
    ToolProcess &process() { return m_job.process(); }
    const ToolCommand &command() const { return m_job.command(); }

Q_SIGNALS:
    void runEnded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    QWidget *buildBottomRow();
    void onLines(const QList<ShownLine> &lines, OutputStream stream);
    void showNote(const QString &text);
    void onStopStep();
    void onEnded(const JobOutcome &outcome);
    void sendInput();
    void paintTick();
    void showProgress();
    void showOutcome(const JobOutcome &outcome);
    void openTranscriptFolder();
    void offerShowImage();

    ToolJob m_job;
    Prompts &m_prompts;
    QTimer m_paintTimer;
    OutputStream m_lastStream = OutputStream::Stdout;
    int m_shownEvents = -1;
    bool m_closeWhenEnded = false;
    ShowImage m_showImage;

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
