#pragma once

#include <QString>

namespace ferncastle {

// Where a tool's program is, or why it cannot be run.
struct CheckedTool {
    QString path;  // absolute; empty when the tool cannot be run
    QString error; // a sentence for the user; empty when path is set
};

// A program holding a '/' is a path (relative ones to the current folder);
// a bare name is looked up on PATH. A terminal that starts says nothing
// about whether the tool in it can run, so this is asked first.
CheckedTool checkTool(const QString &program);

// Why a tools folder will not serve, as a sentence for the user: it does
// not exist, is a file, or holds none of the four tools as a program that
// can be run. Empty when at least one of them is there.
QString toolsFolderProblem(const QString &folder);

} // namespace ferncastle
