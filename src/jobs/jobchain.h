#pragma once

#include "jobs/jobstep.h"

#include <QList>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace ferncastle {

// Steps run one after another, with one verdict at the end: write and then
// verify, or one disk of a box after another. A step that fails, crashes or
// is stopped ends the chain; so does Stop. Steps may be added while the
// chain runs (the next disk of a batch). Questions reach the user through
// questionAsked(), so the job layer never needs a window.
class JobChain : public QObject
{
    Q_OBJECT

public:
    // The one verdict from the steps' own, in the order they ran; by
    // default the last step's verdict.
    using Conclusion = std::function<RunVerdict(const QList<RunVerdict> &verdicts)>;

    explicit JobChain(QObject *parent = nullptr);
    ~JobChain() override;

    void append(std::unique_ptr<JobStep> step);
    void setConclusion(Conclusion conclusion) { m_conclusion = std::move(conclusion); }

    void start();
    void stop();
    // The user's answer to the question asked last.
    void answer(bool carryOn);

    bool isRunning() const { return m_running; }
    bool hasEnded() const { return m_ended; }
    int stepCount() const { return int(m_steps.size()); }
    JobStep *step(int index) const { return m_steps.at(std::size_t(index)).get(); }
    const QList<RunVerdict> &verdicts() const { return m_verdicts; }
    const RunVerdict &verdict() const { return m_verdict; }

Q_SIGNALS:
    void stepStarted(int index, ferncastle::JobStep *step);
    void stepEnded(int index, const ferncastle::RunVerdict &verdict);
    void questionAsked(const QString &text);
    void ended(const ferncastle::RunVerdict &verdict);

private:
    void startNext();
    void onStepFinished();
    void end();

    std::vector<std::unique_ptr<JobStep>> m_steps;
    QList<RunVerdict> m_verdicts;
    RunVerdict m_verdict;
    Conclusion m_conclusion;
    int m_current = -1;
    bool m_running = false;
    bool m_ended = false;
    bool m_stopRequested = false;
};

} // namespace ferncastle
