#pragma once

#include "core/run/runverdict.h"

#include <QObject>

#include <functional>

namespace ferncastle {

class ToolJob;
struct ToolCommand;

// One step of a chain: a tool run, a comparison, a question. It starts when
// the chain says, ends with a verdict of its own, and can be stopped.
class JobStep : public QObject
{
    Q_OBJECT

public:
    virtual void start() = 0;
    // Stops the step as soon as it can; it still ends with finished().
    virtual void stop() {}
    // The tool run behind the step, for a view to show; null for others.
    virtual ToolJob *toolJob() { return nullptr; }

    const RunVerdict &verdict() const { return m_verdict; }

Q_SIGNALS:
    void finished();

protected:
    void finish(const RunVerdict &verdict);

private:
    RunVerdict m_verdict;
};

// Runs a tool through a ToolJob; its verdict is the run's.
class RunStep : public JobStep
{
    Q_OBJECT

public:
    explicit RunStep(const ToolCommand &command);
    ~RunStep() override;

    void start() override;
    void stop() override;
    ToolJob *toolJob() override { return m_job; }

private:
    ToolJob *m_job;
};

// Work that takes milliseconds and needs no process (comparing two
// images): done in one go once the chain reaches it.
class WorkStep : public JobStep
{
    Q_OBJECT

public:
    explicit WorkStep(std::function<RunVerdict()> work) : m_work(std::move(work)) {}
    void start() override;

private:
    std::function<RunVerdict()> m_work;
};

// A question for the user. The chain asks it through its questionAsked()
// signal, so no window is needed here; the answer comes back through
// JobChain::answer(). Good when the user carries on, Stopped when not.
class QuestionStep : public JobStep
{
    Q_OBJECT

public:
    explicit QuestionStep(const QString &text) : m_text(text) {}
    const QString &text() const { return m_text; }
    void start() override;
    void stop() override { answer(false); }
    void answer(bool carryOn);

Q_SIGNALS:
    void asked(const QString &text);

private:
    QString m_text;
    bool m_answered = false;
};

} // namespace ferncastle
