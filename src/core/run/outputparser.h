#pragma once

#include "core/run/runevent.h"

#include <QList>
#include <QString>

#include <memory>

namespace ferncastle {

// Reads one tool's standard output line by line and reports what it says.
// Lines it does not know are ignored: higher verbosity levels print much
// more than the formats below.
class OutputParser
{
public:
    virtual ~OutputParser() = default;
    // A whole line (also one a carriage return made the tool write over).
    virtual void line(const QString &text, QList<RunEvent> &events) = 0;
    // The line received so far; tools flush a track's prefix before its
    // result, so this is where "now reading" shows first.
    virtual void openLine(const QString &, QList<RunEvent> &) {}
    // The tool has ended; completed is true when it exited normally.
    virtual void finish(bool, QList<RunEvent> &) {}
};

// The parser for "cw2dmk", "dmk2cw", "dmk2jv3" or "jv2dmk"; one that
// reports nothing for any other name.
std::unique_ptr<OutputParser> makeOutputParser(const QString &tool);

std::unique_ptr<OutputParser> makeCw2dmkParser();
std::unique_ptr<OutputParser> makeDmk2cwParser();
std::unique_ptr<OutputParser> makeDmk2jv3Parser();
std::unique_ptr<OutputParser> makeJv2dmkParser();

} // namespace ferncastle
