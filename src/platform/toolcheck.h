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

} // namespace ferncastle
