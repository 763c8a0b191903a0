#include "platform/cardcheck/rootrightsfix.h"

#include "platform/cardcheck/cardtoolfile.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace ferncastle {

namespace {

// pkexec's own statuses: 126 when the password prompt was dismissed or the
// user is not allowed, 127 when it could not authorise at all.
constexpr int dismissedStatus = 126;
constexpr int notAuthorisedStatus = 127;

// The system's own chown and chmod, never whatever PATH offers first: they
// run as root.
QString systemProgram(const QString &name)
{
    const QString found = QStandardPaths::findExecutable(name, {QStringLiteral("/usr/bin"),
                                                                QStringLiteral("/bin")});
    return found.isEmpty() ? QStringLiteral("/bin/") + name : found;
}

QString changedSoFar(int step)
{
    return step == 0 ? QStringLiteral("Nothing was changed.")
                     : QStringLiteral("The owner is now root, but the set-user-ID bit was not set.");
}

QString fileList(const QStringList &files)
{
    return files.size() == 2 ? files.at(0) + QStringLiteral(" and ") + files.at(1)
                             : files.join(QStringLiteral(", "));
}

} // namespace

RootRightsFix::RootRightsFix(const QStringList &files, QObject *parent)
    : QObject(parent), m_files(files)
{
    qRegisterMetaType<RootRightsOutcome>();
}

QList<QStringList> RootRightsFix::commands() const
{
    return {QStringList{systemProgram(QStringLiteral("chown")), QStringLiteral("root")} + m_files,
            QStringList{systemProgram(QStringLiteral("chmod")), QStringLiteral("u+s")} + m_files};
}

QString RootRightsFix::description() const
{
    return QStringLiteral("This makes root the owner of %1 and sets their set-user-ID bit, so that "
                          "they run with root's rights whoever starts them. It runs \"%2\", then "
                          "\"%3\", each through pkexec, which asks for an administrator's password.")
        .arg(fileList(m_files), commands().at(0).join(u' '), commands().at(1).join(u' '));
}

void RootRightsFix::start()
{
    m_ownerChanged = false;
    m_pkexec = QStandardPaths::findExecutable(QStringLiteral("pkexec"));
    if (m_pkexec.isEmpty()) {
        // Reported from the event loop, as a started run would be.
        QTimer::singleShot(0, this, [this] {
            finish(RootRightsOutcome::Kind::NoPkexec,
                   QStringLiteral("pkexec (polkit) was not found, so nothing was changed. Type the "
                                  "commands shown below in a terminal instead."));
        });
        return;
    }
    runStep(0);
}

void RootRightsFix::runStep(int step)
{
    // The files as they are now, not as they were when the dialog opened.
    for (const QString &file : m_files) {
        if (const QString refusal = notACardTool(file); !refusal.isEmpty()) {
            QTimer::singleShot(0, this, [this, refusal, step] {
                finish(RootRightsOutcome::Kind::Refused, refusal + u' ' + changedSoFar(step));
            });
            return;
        }
    }
    delete m_process;
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    connect(m_process, &QProcess::finished, this, [this, step](int exitCode, QProcess::ExitStatus status) {
        stepFinished(step, exitCode, status == QProcess::CrashExit);
    });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish(RootRightsOutcome::Kind::NoPkexec,
                   QStringLiteral("pkexec (%1) could not be started, so nothing was changed. Type "
                                  "the commands shown below in a terminal instead.").arg(m_pkexec));
    });
    m_process->start(m_pkexec, commands().at(step));
}

void RootRightsFix::stepFinished(int step, int exitCode, bool crashed)
{
    const QString command = commands().at(step).join(u' ');
    const QString sofar = changedSoFar(step);
    if (!crashed && exitCode == 0) {
        if (step == 0) {
            m_ownerChanged = true;
            runStep(1);
            return;
        }
        finish(RootRightsOutcome::Kind::Done,
               QStringLiteral("%1 are now owned by root and set-user-ID.").arg(fileList(m_files)));
        return;
    }
    if (!crashed && (exitCode == dismissedStatus || exitCode == notAuthorisedStatus)) {
        finish(RootRightsOutcome::Kind::NotAuthorised,
               QStringLiteral("The password prompt for \"%1\" was cancelled or refused. %2")
                   .arg(command, sofar));
        return;
    }
    const QString output = QString::fromLocal8Bit(m_process->readAll()).trimmed();
    finish(RootRightsOutcome::Kind::Failed,
           QStringLiteral("\"%1\" failed (status %2)%3 %4")
               .arg(command, QString::number(exitCode),
                    output.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + output + u'.',
                    step == 0 ? QStringLiteral("Check the files' owners again.") : sofar));
}

void RootRightsFix::finish(RootRightsOutcome::Kind kind, const QString &message)
{
    Q_EMIT finished({kind, m_ownerChanged, message});
}

} // namespace ferncastle
