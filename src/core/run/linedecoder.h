#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace ferncastle {

// One line taken out of a tool's byte stream.
struct DecodedLine {
    QString text;
    // The line ended in a carriage return alone: a terminal would write the
    // next line over it (dmk2cw's "Track T, side S\r" progress).
    bool overwritten = false;
    // The line was cut at maxLineBytes and goes on in the next one: the
    // tool did not end it here.
    bool cut = false;
    // The line's bytes as the tool wrote them, escape sequences and stray
    // controls included, without the line end: what a transcript keeps.
    QByteArray raw = {};
};

// Turns a tool's output, read in chunks of any size, into whole lines the
// way a terminal would show them: CR LF ends a line, CR alone starts the
// line over, ANSI escape sequences and stray control bytes are dropped.
// A sequence ends as a terminal ends it: at its final byte or terminator,
// cancelled by CAN or SUB, and cut short by a line end or other control or
// by growing past a bound, so an unfinished one never hides what follows.
// Each line is read as UTF-8, or as Latin-1 when it is not valid UTF-8, so
// no byte is ever lost.
class LineDecoder
{
public:
    // A line longer than this is cut, so that a tool that never ends a
    // line cannot make memory grow without bound.
    static constexpr qsizetype maxLineBytes = 64 * 1024;
    // Longer control sequences are taken as garbage and end there; what
    // follows is shown. Strings (titles, links, device controls) may be
    // longer than CSI's handful of numbers.
    static constexpr int maxControlSequenceBytes = 64;
    static constexpr int maxControlStringBytes = 4096;

    QList<DecodedLine> feed(QByteArrayView bytes);
    // The end of the stream: whatever is still open becomes a line.
    QList<DecodedLine> finish();
    // The line being received, as it would stand on a terminal now.
    QString openLine() const;
    bool hasOpenLine() const { return !m_line.isEmpty() || m_pendingCarriageReturn; }

private:
    // String: OSC, DCS, SOS, PM or APC, ended by ST (ESC \\) or, for OSC, BEL.
    enum class Escape { None, Start, Intermediate, Csi, String, StringEscape };

    void take(char byte, QList<DecodedLine> &out);
    bool skipEscape(char byte);
    bool startSequence(char byte);
    bool withinBound();
    void cutIfFull(QList<DecodedLine> &out);
    void endLine(bool overwritten, QList<DecodedLine> &out, bool cut = false);

    QByteArray m_line;
    QByteArray m_raw;
    bool m_pendingCarriageReturn = false;
    Escape m_escape = Escape::None;
    int m_escapeBytes = 0;
};

// UTF-8 when the bytes are valid UTF-8, otherwise Latin-1.
QString decodeToolText(QByteArrayView bytes);

} // namespace ferncastle
