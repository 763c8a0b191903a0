#include "platform/run/toolprocess.h"

#include "platform/run/processgroup.h"

#include <csignal>
#include <sys/types.h>

namespace ferncastle {

namespace {

constexpr int stopStepMs = 5000;
// How often a group that outlived its tool is looked at, and for how many
// looks after SIGKILL before what is left is named instead of waited for.
constexpr int groupCheckMs = 100;
constexpr int checksAfterKill = 20;

} // namespace

ToolProcess::ToolProcess(QObject *parent)
    : QObject(parent)
{
    m_stepTimer.setInterval(stopStepMs);
    m_stepTimer.setSingleShot(true);
    connect(&m_stepTimer, &QTimer::timeout, this, &ToolProcess::nextStopStep);
    connect(&m_process, &QProcess::readyReadStandardOutput, this,
            [this] { readStream(OutputStream::Stdout); });
    connect(&m_process, &QProcess::readyReadStandardError, this,
            [this] { readStream(OutputStream::Stderr); });
    connect(&m_process, &QProcess::finished, this, &ToolProcess::onFinished);
    connect(&m_process, &QProcess::errorOccurred, this, &ToolProcess::onError);
    connect(&m_process, &QProcess::started, this, [this] { m_group = m_process.processId(); });
    m_groupTimer.setInterval(groupCheckMs);
    connect(&m_groupTimer, &QTimer::timeout, this, &ToolProcess::watchGroup);
    m_process.setChildProcessModifier(enterOwnProcessGroup);
}

ToolProcess::~ToolProcess()
{
    m_process.disconnect(this);
    if (m_toolEnded && !m_ended)
        signalProcessGroup(m_group, SIGKILL);
    if (m_process.state() != QProcess::NotRunning) {
        signalProcessGroup(m_group, SIGKILL);
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}

void ToolProcess::start(const QString &program, const QStringList &arguments)
{
    m_clock.start();
    // The default channel mode keeps the two streams apart, and the write
    // channel stays open: a tool's menu waiting on an empty stdin waits,
    // where a closed stdin would make it read end-of-file forever.
    m_process.setProgram(program);
    m_process.setArguments(arguments);
    m_process.start(QIODevice::ReadWrite);
    m_group = m_process.processId();
}

bool ToolProcess::isRunning() const
{
    return m_process.state() != QProcess::NotRunning || (m_toolEnded && !m_ended);
}

qint64 ToolProcess::processId() const
{
    return m_process.processId();
}

qint64 ToolProcess::elapsedMs() const
{
    return m_clock.isValid() ? m_clock.elapsed() : 0;
}

void ToolProcess::sendLine(const QString &text)
{
    if (m_process.state() == QProcess::Running)
        m_process.write(text.toLocal8Bit() + '\n');
}

void ToolProcess::stop()
{
    if (m_stopRequested || !isRunning())
        return;
    m_stopRequested = true;
    m_lastStep = StopStep::Interrupt;
    sendSignal(SIGINT);
    Q_EMIT stopStepTaken(StopStep::Interrupt);
    m_stepTimer.start();
}

void ToolProcess::nextStopStep()
{
    if (!isRunning())
        return;
    if (m_lastStep == StopStep::Interrupt) {
        m_lastStep = StopStep::Terminate;
        sendSignal(SIGTERM);
        Q_EMIT stopStepTaken(StopStep::Terminate);
        m_stepTimer.start();
    } else if (m_lastStep == StopStep::Terminate) {
        m_lastStep = StopStep::Kill;
        sendSignal(SIGKILL);
        Q_EMIT stopStepTaken(StopStep::Kill);
    }
}

// The whole group; the tool alone only in the instant before its group
// exists.
bool ToolProcess::sendSignal(int signalNumber)
{
    if (signalProcessGroup(m_group, signalNumber))
        return true;
    const qint64 pid = m_process.processId();
    return pid > 0 && ::kill(static_cast<pid_t>(pid), signalNumber) == 0;
}

// The tool has ended and processes of its group have not: the run ends
// when they do; after the last step of a stop, those still there are
// named instead.
void ToolProcess::watchGroup()
{
    if (!processGroupAlive(m_group)) {
        reportEnd();
        return;
    }
    if (m_stopRequested && m_lastStep == StopStep::Kill && ++m_checksAfterKill >= checksAfterKill) {
        m_end.stillRunning = processGroupMembers(m_group);
        reportEnd();
    }
}

void ToolProcess::reportEnd()
{
    m_groupTimer.stop();
    m_stepTimer.stop();
    if (m_ended)
        return;
    m_ended = true;
    m_end.stoppedByUser = m_stopRequested;
    Q_EMIT ended(m_end);
}

void ToolProcess::readStream(OutputStream stream)
{
    m_process.setReadChannel(stream == OutputStream::Stdout ? QProcess::StandardOutput
                                                             : QProcess::StandardError);
    const QByteArray bytes = m_process.readAll();
    if (!bytes.isEmpty())
        Q_EMIT outputRead(stream, bytes);
}

void ToolProcess::onFinished(int exitCode, QProcess::ExitStatus status)
{
    readStream(OutputStream::Stdout);
    readStream(OutputStream::Stderr);
    if (m_ended || m_toolEnded)
        return;
    m_toolEnded = true;
    // On a crash exit Qt reports the number of the signal that ended it.
    m_end.how = status == QProcess::CrashExit ? RunEnd::How::Signalled : RunEnd::How::Exited;
    m_end.code = exitCode;
    if (!processGroupAlive(m_group)) {
        reportEnd();
        return;
    }
    // A stop under way goes on against the group, step by step.
    Q_EMIT outlivedBy(processGroupMembers(m_group));
    m_groupTimer.start();
}

void ToolProcess::onError(QProcess::ProcessError error)
{
    if (error != QProcess::FailedToStart || m_ended)
        return;
    m_ended = true;
    RunEnd end;
    end.how = RunEnd::How::NotStarted;
    end.startError = QStringLiteral("Could not start %1: %2.")
                         .arg(m_process.program(), m_process.errorString());
    Q_EMIT ended(end);
}

} // namespace ferncastle
