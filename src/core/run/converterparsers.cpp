#include "core/run/outputparser.h"
#include "core/tools/tooltable.h"

#include <QRegularExpression>

namespace ferncastle {

namespace {

using Re = QRegularExpression;

int number(const QRegularExpressionMatch &match, int group)
{
    return match.capturedView(group).toInt();
}

RunEvent trackEvent(RunEventKind kind, int track, int side)
{
    RunEvent event{kind};
    event.track = track;
    event.side = side;
    return event;
}

// dmk2cw prints "Track T, side S" before writing each track, ended by a
// carriage return at level 1 and by a newline at level 2.
class Dmk2cwParser : public OutputParser
{
public:
    void line(const QString &text, QList<RunEvent> &events) override
    {
        static const Re notFit(QStringLiteral("Some data did not fit on track (\\d+), side (\\d+)"));
        if (const auto match = notFit.match(text); match.hasMatch()) {
            RunEvent event = trackEvent(RunEventKind::TrackProblem, number(match, 1),
                                        number(match, 2));
            event.text = text;
            events.append(event);
            return;
        }
        openLine(text, events);
    }

    void openLine(const QString &text, QList<RunEvent> &events) override
    {
        static const Re progress(QStringLiteral("^Track (\\d+), side (\\d+)$"));
        const auto match = progress.match(text);
        if (!match.hasMatch())
            return;
        const int track = number(match, 1);
        const int side = number(match, 2);
        if (track == m_track && side == m_side)
            return;
        // A new track begins only once the one before is on the disk.
        if (m_track >= 0)
            events.append(trackEvent(RunEventKind::TrackWritten, m_track, m_side));
        m_track = track;
        m_side = side;
        events.append(trackEvent(RunEventKind::TrackStarted, track, side));
    }

    void finish(bool completed, QList<RunEvent> &events) override
    {
        if (completed && m_track >= 0)
            events.append(trackEvent(RunEventKind::TrackWritten, m_track, m_side));
    }

private:
    int m_track = -1;
    int m_side = -1;
};

// dmk2jv3 at -v2 lists the sector ids of each track; a "?" after an id
// marks a CRC error. Bracketed messages can break into the middle of a
// list, which then goes on on the next line.
class Dmk2jv3Parser : public OutputParser
{
public:
    void line(const QString &text, QList<RunEvent> &events) override
    {
        static const Re geometry(QStringLiteral("^\\[tracks=(\\d+), sides=(\\d+),.*\\]$"));
        static const Re totals(QStringLiteral("^(\\d+) total errors?, (\\d+) total warnings?$"));
        if (const auto match = geometry.match(text); match.hasMatch()) {
            RunEvent event{RunEventKind::Plan};
            event.tracks = number(match, 1);
            event.sides = number(match, 2);
            event.sidesCertain = true;
            event.text = text;
            events.append(event);
            return;
        }
        if (const auto match = totals.match(text); match.hasMatch()) {
            RunEvent event{RunEventKind::ConverterTotals};
            event.errors = number(match, 1);
            event.warnings = number(match, 2);
            events.append(event);
            return;
        }
        static const Re header(QStringLiteral("^Track (\\d+), side (\\d+), sector:"));
        QString rest = text;
        if (const auto match = header.match(text); match.hasMatch()) {
            m_track = number(match, 1);
            m_side = number(match, 2);
            m_good = m_bad = m_problems = 0;
            m_inList = true;
            events.append(trackEvent(RunEventKind::TrackStarted, m_track, m_side));
            rest = text.mid(match.capturedEnd());
        }
        rest = messagesTakenOut(rest, events);
        if (m_inList)
            sectorIds(rest, events);
    }

private:
    QString messagesTakenOut(const QString &text, QList<RunEvent> &events)
    {
        static const Re message(QStringLiteral("\\[([^\\]]*)\\]"));
        auto matches = message.globalMatch(text);
        while (matches.hasNext())
            report(matches.next().captured(1), events);
        return QString(text).remove(message);
    }

    // "[Warning: ...]" counts as a warning; the rest leave a sector bad
    // or missing on the current track.
    void report(const QString &message, QList<RunEvent> &events)
    {
        RunEvent event = trackEvent(RunEventKind::TrackProblem, m_track, m_side);
        event.text = message;
        event.warning = message.startsWith(QLatin1String("Warning"));
        events.append(event);
        if (!event.warning && m_track >= 0) {
            ++m_problems;
            events.append(done());
        }
    }

    // The ids of the current track, on its own line or the next ones.
    void sectorIds(const QString &rest, QList<RunEvent> &events)
    {
        static const Re idList(QStringLiteral("^(?:\\s*\\d+[?]?)*\\s*$"));
        if (rest.trimmed().isEmpty() || !idList.match(rest).hasMatch()) {
            m_inList = rest.trimmed().isEmpty();
            return;
        }
        for (const QStringView id : QStringView(rest).split(u' ', Qt::SkipEmptyParts)) {
            if (id.endsWith(u'?'))
                ++m_bad;
            else
                ++m_good;
        }
        events.append(done());
    }

    RunEvent done() const
    {
        RunEvent event = trackEvent(RunEventKind::TrackDone, m_track, m_side);
        event.good = m_good;
        event.errors = m_bad + m_problems;
        return event;
    }

    int m_track = -1;
    int m_side = -1;
    int m_good = 0;
    int m_bad = 0;
    int m_problems = 0;
    bool m_inList = false;
};

// jv2dmk: "track %2d side %d: ids " at -v1, one line per sector at -v2.
class Jv2dmkParser : public OutputParser
{
public:
    void line(const QString &text, QList<RunEvent> &events) override
    {
        static const Re perTrack(QStringLiteral("^track\\s+(\\d+) side (\\d+):((?: \\d+)*) ?$"));
        static const Re perSector(QStringLiteral(
            "^track\\s+(\\d+), side (\\d+), sector\\s+\\d+: size \\d+, [sd]den, dam [0-9a-f]{2}(.*)$"));
        if (const auto match = perTrack.match(text); match.hasMatch()) {
            begin(number(match, 1), number(match, 2), events);
            m_good = int(match.capturedView(3).split(u' ', Qt::SkipEmptyParts).size());
            events.append(done());
            return;
        }
        const auto match = perSector.match(text);
        if (!match.hasMatch())
            return;
        begin(number(match, 1), number(match, 2), events);
        const QStringView flags = match.capturedView(3);
        if (flags.contains(QLatin1String("crc error")) || flags.contains(QLatin1String("not supported")))
            ++m_bad;
        else
            ++m_good;
        events.append(done());
    }

private:
    void begin(int track, int side, QList<RunEvent> &events)
    {
        if (track == m_track && side == m_side)
            return;
        m_track = track;
        m_side = side;
        m_good = m_bad = 0;
        events.append(trackEvent(RunEventKind::TrackStarted, track, side));
    }

    RunEvent done() const
    {
        RunEvent event = trackEvent(RunEventKind::TrackDone, m_track, m_side);
        event.good = m_good;
        event.errors = m_bad;
        return event;
    }

    int m_track = -1;
    int m_side = -1;
    int m_good = 0;
    int m_bad = 0;
};

class SilentParser : public OutputParser
{
public:
    void line(const QString &, QList<RunEvent> &) override {}
};

} // namespace

std::unique_ptr<OutputParser> makeDmk2cwParser()
{
    return std::make_unique<Dmk2cwParser>();
}

std::unique_ptr<OutputParser> makeDmk2jv3Parser()
{
    return std::make_unique<Dmk2jv3Parser>();
}

std::unique_ptr<OutputParser> makeJv2dmkParser()
{
    return std::make_unique<Jv2dmkParser>();
}

std::unique_ptr<OutputParser> makeOutputParser(const QString &tool)
{
    if (const ToolRow *row = toolNamed(tool))
        return row->makeParser();
    return std::make_unique<SilentParser>();
}

} // namespace ferncastle
