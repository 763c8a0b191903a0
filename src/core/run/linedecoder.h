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
};

// Turns a tool's output, read in chunks of any size, into whole lines the
// way a terminal would show them: CR LF ends a line, CR alone starts the
// line over, ANSI escape sequences and stray control bytes are dropped.
// Each line is read as UTF-8, or as Latin-1 when it is not valid UTF-8, so
// no byte is ever lost.
class LineDecoder
{
public:
    // A line longer than this is cut, so that a tool that never ends a
    // line cannot make memory grow without bound.
    static constexpr qsizetype maxLineBytes = 64 * 1024;

    QList<DecodedLine> feed(QByteArrayView bytes);
    // The end of the stream: whatever is still open becomes a line.
    QList<DecodedLine> finish();
    // The line being received, as it would stand on a terminal now.
    QString openLine() const;
    bool hasOpenLine() const { return !m_line.isEmpty() || m_pendingCarriageReturn; }

private:
    enum class Escape { None, Start, Intermediate, Csi, Osc, OscEscape };

    void take(char byte, QList<DecodedLine> &out);
    bool skipEscape(char byte);
    void endLine(bool overwritten, QList<DecodedLine> &out);

    QByteArray m_line;
    bool m_pendingCarriageReturn = false;
    Escape m_escape = Escape::None;
};

// UTF-8 when the bytes are valid UTF-8, otherwise Latin-1.
QString decodeToolText(QByteArrayView bytes);

} // namespace ferncastle
