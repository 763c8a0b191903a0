#pragma once

#include "core/run/runanalysis.h"

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QTimer>

namespace ferncastle {

// One tool run as a child process: its standard output and error read
// apart, its standard input kept open (and empty until the user types), and
// a stop that asks politely first. The tool runs in a process group of its
// own; every step of a stop reaches the whole group, and the run ends only
// when the group is gone.
class ToolProcess : public QObject
{
    Q_OBJECT

public:
    enum class StopStep { Interrupt, Terminate, Kill };

    explicit ToolProcess(QObject *parent = nullptr);
    // A process still running is killed: nothing is left behind.
    ~ToolProcess() override;

    void start(const QString &program, const QStringList &arguments);
    // The tool or a process it started is still there.
    bool isRunning() const;
    qint64 processId() const;
    qint64 elapsedMs() const;

    // Sends text and a newline to the tool's standard input.
    void sendLine(const QString &text);
    // SIGINT now (what ^C does in a terminal), SIGTERM if the tool is still
    // there after the step interval, SIGKILL after another.
    void stop();
    bool stopRequested() const { return m_stopRequested; }
    void setStopStepInterval(int milliseconds) { m_stepTimer.setInterval(milliseconds); }

Q_SIGNALS:
    void outputRead(ferncastle::OutputStream stream, const QByteArray &bytes);
    void stopStepTaken(ferncastle::ToolProcess::StopStep step);
    // The tool has ended but processes it started have not (their ids):
    // the run goes on until they end or are stopped.
    void outlivedBy(const QList<qint64> &processIds);
    // Once per run, after the last output: how it ended, or why it could
    // not start.
    void ended(const ferncastle::RunEnd &end);

private:
    void readStream(OutputStream stream);
    void onFinished(int exitCode, QProcess::ExitStatus status);
    void onError(QProcess::ProcessError error);
    void nextStopStep();
    void watchGroup();
    void reportEnd();
    bool sendSignal(int signalNumber);

    QProcess m_process;
    qint64 m_group = 0;
    RunEnd m_end;
    bool m_toolEnded = false;
    QTimer m_stepTimer;
    QTimer m_groupTimer;
    int m_checksAfterKill = 0;
    QElapsedTimer m_clock;
    StopStep m_lastStep = StopStep::Interrupt;
    bool m_stopRequested = false;
    bool m_ended = false;
};

} // namespace ferncastle
