#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

namespace ferncastle {

// A tool and everything it starts share one process group (the tool's own
// id), so a stop reaches a wrapper script's real tool and a child left in
// the background, and the run is over only when none of them is left.

// To be called in the child between fork and exec: a group of its own.
void enterOwnProcessGroup();

// Sends the signal to every process of the group; false when none is left.
bool signalProcessGroup(qint64 groupId, int signalNumber);

// Whether any process of the group is still there.
bool processGroupAlive(qint64 groupId);

// The ids of the group's processes still there, read from /proc; empty
// where /proc cannot tell.
QList<qint64> processGroupMembers(qint64 groupId);

// "1234, 1240": the ids as the user would pass them to kill.
QString processIdList(const QList<qint64> &processIds);

} // namespace ferncastle
