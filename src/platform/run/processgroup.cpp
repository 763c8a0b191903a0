#include "platform/run/processgroup.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace ferncastle {

namespace {

// The group is field 5 of /proc/<pid>/stat, after the command name in
// parentheses, which may itself hold spaces and parentheses. A zombie
// (field 3 "Z") has ended and only waits for its parent: it is in no group.
qint64 groupOf(const QString &pid)
{
    QFile stat(QStringLiteral("/proc/") + pid + QStringLiteral("/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.read(4096);
    const qsizetype nameEnd = line.lastIndexOf(')');
    if (nameEnd < 0)
        return -1;
    const QList<QByteArray> fields = line.mid(nameEnd + 2).split(' ');
    if (fields.isEmpty() || fields.at(0) == "Z")
        return -1;
    bool ok = false;
    const qint64 group = fields.size() > 2 ? fields.at(2).toLongLong(&ok) : -1;
    return ok ? group : -1;
}

} // namespace

void enterOwnProcessGroup()
{
    ::setpgid(0, 0);
}

bool signalProcessGroup(qint64 groupId, int signalNumber)
{
    return groupId > 0 && ::kill(-static_cast<pid_t>(groupId), signalNumber) == 0;
}

bool processGroupAlive(qint64 groupId)
{
    if (groupId <= 0 || (::kill(-static_cast<pid_t>(groupId), 0) != 0 && errno != EPERM))
        return false;
    // The signal test counts zombies a busy parent has not reaped yet.
    return !QFile::exists(QStringLiteral("/proc/self/stat")) || !processGroupMembers(groupId).isEmpty();
}

QList<qint64> processGroupMembers(qint64 groupId)
{
    QList<qint64> members;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (numeric && groupOf(entry) == groupId)
            members.append(pid);
    }
    std::sort(members.begin(), members.end());
    return members;
}

QString processIdList(const QList<qint64> &processIds)
{
    QStringList ids;
    for (const qint64 id : processIds)
        ids.append(QString::number(id));
    return ids.join(QStringLiteral(", "));
}

} // namespace ferncastle
