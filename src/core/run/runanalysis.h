#pragma once

#include "core/run/diskmap.h"
#include "core/run/linedecoder.h"
#include "core/run/outputparser.h"
#include "core/run/readback.h"
#include "core/run/runsummary.h"
#include "core/run/runverdict.h"
#include "core/run/writtenfiles.h"

#include <memory>
#include <optional>

namespace ferncastle {

enum class OutputStream { Stdout, Stderr };

struct ShownLine {
    QString text;
    OutputStream stream = OutputStream::Stdout;
    bool overwritten = false; // see DecodedLine
    QByteArray raw = {};      // see DecodedLine
    bool cut = false;         // see DecodedLine
};

// Everything a run window knows about a run that is not a widget: the two
// output streams decoded into lines, the tool's parser, the disk map, the
// summary and, at the end, the verdict.
class RunAnalysis
{
public:
    explicit RunAnalysis(const QString &tool);

    // dmk2cw names no track count: the image it writes does. Takes the
    // image's first 16 bytes; a header that is not a DMK's changes nothing.
    void planFromDmkHeader(QByteArrayView header);
    // The tracks and sides the user set for a read (0: left to the tool).
    void setKnownSize(int tracks, int sides) { m_map.setKnownSize(tracks, sides); }

    // A conversion's input, read before the tool starts (the tool may yet
    // destroy it): its output is held against it, and a failure is
    // explained from it.
    void setConversionInput(const QString &path);

    // Bytes as they were read; returns the lines they completed.
    QList<ShownLine> feed(OutputStream stream, QByteArrayView bytes);
    // The tool has ended: the open lines become lines, the map is settled
    // and the verdict made.
    QList<ShownLine> finish(const RunEnd &end);
    // After finish: a run that ended on its own has what it wrote read back,
    // and the verdict takes in what those images hold. A run that did not
    // get that far keeps its verdict; its images are incomplete.
    void readBackWrittenImages(const WrittenFiles &files);

    // What stands on the open line of a stream now (a prefix waiting for
    // its result, a progress line about to be written over).
    QString openLine(OutputStream stream) const;
    bool hasOpenLine(OutputStream stream) const;

    const DiskMap &map() const { return m_map; }
    const RunSummary &summary() const { return m_summary; }
    const RunVerdict &verdict() const { return m_verdict; }
    // Counts events taken in; the window redraws only when it changed.
    int eventCount() const { return m_eventCount; }

    // Events of the run so far, for tests and the list of plan changes.
    const QList<RunEvent> &events() const { return m_events; }

private:
    void takeLines(OutputStream stream, const QList<DecodedLine> &lines, QList<ShownLine> &shown);
    void apply(const QList<RunEvent> &events);
    const ConversionInput *inputOrNull() const;

    QString m_tool;
    LineDecoder m_stdout;
    LineDecoder m_stderr;
    std::unique_ptr<OutputParser> m_parser;
    DiskMap m_map;
    RunSummary m_summary;
    RunVerdict m_verdict;
    RunEnd m_end;
    std::optional<ConversionInput> m_input;
    QList<RunEvent> m_events;
    int m_eventCount = 0;
};

} // namespace ferncastle
