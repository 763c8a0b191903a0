#include "jobs/jobstep.h"

#include "jobs/tooljob.h"

#include <QTimer>

namespace ferncastle {

void JobStep::finish(const RunVerdict &verdict)
{
    m_verdict = verdict;
    Q_EMIT finished();
}

RunStep::RunStep(const ToolCommand &command)
    : m_job(new ToolJob(command, this))
{
    connect(m_job, &ToolJob::ended, this, [this](const JobOutcome &outcome) {
        finish(outcome.verdict);
    });
}

RunStep::~RunStep() = default;

void RunStep::start()
{
    m_job->start();
}

void RunStep::stop()
{
    if (m_job->isRunning())
        m_job->stop();
}

// Queued, so a chain never finishes a step inside its own start().
void WorkStep::start()
{
    QTimer::singleShot(0, this, [this] { finish(m_work()); });
}

void QuestionStep::start()
{
    Q_EMIT asked(m_text);
}

void QuestionStep::answer(bool carryOn)
{
    if (m_answered)
        return;
    m_answered = true;
    finish(carryOn ? RunVerdict{VerdictKind::Good, m_text, {}}
                   : RunVerdict{VerdictKind::Stopped, QStringLiteral("Stopped by you."), {}});
}

} // namespace ferncastle
