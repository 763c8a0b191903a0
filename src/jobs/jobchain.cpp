#include "jobs/jobchain.h"

namespace ferncastle {

namespace {

bool endsTheChain(VerdictKind kind)
{
    return kind == VerdictKind::Failure || kind == VerdictKind::Crashed
           || kind == VerdictKind::Stopped;
}

} // namespace

JobChain::JobChain(QObject *parent)
    : QObject(parent)
{
}

JobChain::~JobChain() = default;

void JobChain::append(std::unique_ptr<JobStep> step)
{
    connect(step.get(), &JobStep::finished, this, &JobChain::onStepFinished);
    if (auto *question = qobject_cast<QuestionStep *>(step.get()))
        connect(question, &QuestionStep::asked, this, &JobChain::questionAsked);
    m_steps.push_back(std::move(step));
}

void JobChain::start()
{
    if (m_running || m_ended)
        return;
    m_running = true;
    startNext();
}

void JobChain::stop()
{
    if (!m_running)
        return;
    m_stopRequested = true;
    step(m_current)->stop();
}

void JobChain::answer(bool carryOn)
{
    if (!m_running)
        return;
    if (auto *question = qobject_cast<QuestionStep *>(step(m_current)))
        question->answer(carryOn);
}

void JobChain::startNext()
{
    if (++m_current >= stepCount()) {
        end();
        return;
    }
    JobStep *next = step(m_current);
    Q_EMIT stepStarted(m_current, next);
    next->start();
}

void JobChain::onStepFinished()
{
    if (sender() != step(m_current))
        return;
    const RunVerdict &verdict = step(m_current)->verdict();
    m_verdicts.append(verdict);
    Q_EMIT stepEnded(m_current, verdict);
    if (m_stopRequested || endsTheChain(verdict.kind)) {
        end();
        return;
    }
    startNext();
}

void JobChain::end()
{
    m_running = false;
    m_ended = true;
    m_verdict = m_conclusion ? m_conclusion(m_verdicts)
                             : (m_verdicts.isEmpty() ? RunVerdict{} : m_verdicts.constLast());
    Q_EMIT ended(m_verdict);
}

} // namespace ferncastle
