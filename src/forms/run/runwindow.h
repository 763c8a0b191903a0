#pragma once

#include "jobs/jobchain.h"
#include "jobs/tooljob.h"

#include <QDateTime>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace ferncastle {

class OutputView;
class Prompts;
class TrackGrid;

// One tool run in a window of its own: the command line, the output as it
// comes, progress over the disk, Stop, and at the end a verdict the user
// can trust. The window only shows jobs, which run the tools and write the
// transcripts: a chain of steps (a write, then its read-back) shown one
// after another with the chain's one verdict at the end; a single run is a
// chain of one. After a read it offers the next disk of a box, and keeps
// one line per disk read and a row in the catalog beside the images. It is
// top-level and deletes itself when closed.
class RunWindow : public QWidget
{
    Q_OBJECT

public:
    // How often arrived output is laid out and the clock redrawn.
    static constexpr int paintIntervalMs = 50;

    RunWindow(const ToolCommand &command, Prompts &prompts, QWidget *parent = nullptr);
    // The chain's first step is a tool run.
    RunWindow(std::unique_ptr<JobChain> chain, Prompts &prompts, QWidget *parent = nullptr);
    ~RunWindow() override;

    // What "Show Image" does with the image a run wrote (the image
    // information window); without it the button is not offered.
    using ShowImage = std::function<void(const QString &imageFile)>;
    void setShowImage(ShowImage showImage) { m_showImage = std::move(showImage); }

    // Starts the chain: the first transcript is opened and the tool started.
    void start();
    bool isRunning() const { return m_chain->isRunning(); }
    bool hasEnded() const { return m_chain->hasEnded(); }

    JobChain &chain() { return *m_chain; }
    // The tool run shown now: the chain's current or last.
    ToolJob &job() { return *m_job; }
    const RunAnalysis &analysis() const { return m_job->analysis(); }
    const Transcript &transcript() const { return m_job->transcript(); }
    ToolProcess &process() { return m_job->process(); }
    const ToolCommand &command() const { return m_job->command(); }

    // The next disk of the box into the next free name, after asking for
    // it; the same disk once more, without asking.
    void readNextDisk();
    void readAgain();
    // One line per disk read from this window: name, verdict, bad sectors.
    const QStringList &batchLines() const { return m_batchLines; }

Q_SIGNALS:
    void runEnded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    QWidget *buildBottomRow();
    QWidget *buildBatchRow();
    void watchChain();
    void watchJob(ToolJob *job);
    void onStepStarted(int index, JobStep *step);
    void showJobStarted();
    void onStepEnded(int index);
    void onChainEnded(const RunVerdict &verdict);
    void onLines(const QList<ShownLine> &lines, OutputStream stream);
    void showNote(const QString &text);
    void onStopStep();
    void onJobEnded(const JobOutcome &outcome);
    void askQuestion(const QString &text);
    void noteRead(const ToolJob &job);
    void runChain(std::unique_ptr<JobChain> chain);
    void offerNextRead();
    void sendInput();
    void paintTick();
    void showProgress();
    void showProgressEnd(const DiskMap &map, bool completed);
    void showVerdict(const RunVerdict &verdict);
    void showOutcome(const JobOutcome &outcome);
    void openTranscriptFolder();
    void offerShowImage();

    std::unique_ptr<JobChain> m_chain;
    // Chains of earlier disks of a batch: their jobs keep their transcripts.
    std::vector<std::unique_ptr<JobChain>> m_pastChains;
    ToolJob *m_job = nullptr;
    Prompts &m_prompts;
    // Reads started here go to the catalog and the batch list.
    bool m_readsDisks = false;
    QDateTime m_stepStarted;
    // The disk of the box read last (a read again goes beside it).
    QString m_lastDisk;
    QStringList m_batchLines;
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
    QLabel *m_progressWords = nullptr;
    QLabel *m_planChanges = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_verdict = nullptr;
    QLabel *m_cardFix = nullptr;
    QLabel *m_incomplete = nullptr;
    QLabel *m_transcriptName = nullptr;
    QPushButton *m_openFolder = nullptr;
    QPushButton *m_showImageButton = nullptr;
    QLabel *m_catalogStatus = nullptr;
    QListWidget *m_batchList = nullptr;
    QPushButton *m_readNext = nullptr;
    QPushButton *m_readAgain = nullptr;
};

} // namespace ferncastle
