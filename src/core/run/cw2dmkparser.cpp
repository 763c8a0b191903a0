#include "core/run/outputparser.h"

#include <QRegularExpression>

#include <optional>

namespace ferncastle {

namespace {

using Re = QRegularExpression;

const Re &planPattern()
{
    static const Re re(QStringLiteral(
        "^Trying (\\d+) sides?, (\\d+) tracks/side, (single|double) stepping, (\\S+) encoding$"));
    return re;
}

// "Track %d, side %d, pass %d:" read by hand: every track line of a read
// starts so, and a pattern match per line costs more than the rest.
struct Prefix {
    int track = -1;
    int side = -1;
    int pass = 0;
    qsizetype end = 0;
};

bool readNumber(QStringView text, qsizetype &at, int &number)
{
    const qsizetype start = at;
    qint64 value = 0;
    while (at < text.size() && text[at].isDigit() && at - start < 9)
        value = value * 10 + text[at++].digitValue();
    number = int(value);
    return at > start;
}

bool readWord(QStringView text, qsizetype &at, QLatin1String word)
{
    if (!text.mid(at).startsWith(word))
        return false;
    at += word.size();
    return true;
}

std::optional<Prefix> readPrefix(QStringView text)
{
    Prefix prefix;
    qsizetype at = 0;
    if (readWord(text, at, QLatin1String("Track ")) && readNumber(text, at, prefix.track)
        && readWord(text, at, QLatin1String(", side ")) && readNumber(text, at, prefix.side)
        && readWord(text, at, QLatin1String(", pass ")) && readNumber(text, at, prefix.pass)
        && readWord(text, at, QLatin1String(":"))) {
        prefix.end = at;
        return prefix;
    }
    return std::nullopt;
}

// "[9 good, 1 error]" or, with -S, "[9/10 good, 1 error]" closing a pass
// that will be tried again.
const Re &retryPattern()
{
    static const Re re(QStringLiteral("\\[(\\d+)(?:/\\d+)? good, (\\d+) errors?\\]\\s*$"));
    return re;
}

// " 10 good sectors, 0 errors", also "9/10 good sectors" (-S) and
// "10 good sectors (2 reused), 0 errors" (-j), closing a track.
const Re &resultPattern()
{
    static const Re re(QStringLiteral(
        "(?:^| )(\\d+)(?:/\\d+)? good sectors?(?: \\(\\d+ reused\\))?, (\\d+) errors?\\s*$"));
    return re;
}

const Re &limitPattern()
{
    static const Re re(QStringLiteral("\\[apparently only (\\d+) tracks?; done\\]"));
    return re;
}

const Re &restartPattern()
{
    static const Re re(QStringLiteral("\\[([^\\]]*restarting[^\\]]*)\\]"));
    return re;
}

const Re &goodTotalsPattern()
{
    static const Re re(QStringLiteral(
        "^(\\d+) good tracks?, (\\d+) good sectors? \\((\\d+) FM \\+ (\\d+) MFM \\+ (\\d+) RX02\\)$"));
    return re;
}

const Re &badTotalsPattern()
{
    static const Re re(QStringLiteral(
        "^(\\d+) bad tracks?, (\\d+) unrecovered errors?, (\\d+) (?:retry|retries)$"));
    return re;
}

int number(const QRegularExpressionMatch &match, int group)
{
    return match.capturedView(group).toInt();
}

class Cw2dmkParser : public OutputParser
{
public:
    // Cheap tests of the first characters keep the patterns off the lines
    // that cannot match: high verbosity prints megabytes of flux samples.
    void line(const QString &text, QList<RunEvent> &events) override
    {
        if (text.startsWith(QLatin1String("Trying ")) && planLine(text, events))
            return;
        if (!text.isEmpty() && text.front().isDigit() && totalsLine(text, events))
            return;
        if (text.startsWith(QLatin1String("Possibly a flippy disk"))) {
            RunEvent note{RunEventKind::Note};
            note.text = text;
            events.append(note);
            return;
        }
        QStringView rest = text;
        if (const auto prefix = readPrefix(text)) {
            started(*prefix, events);
            rest = rest.mid(prefix->end);
        }
        if (rest.contains(u'['))
            trackNotes(rest, events);
        if (m_current.track >= 0 && rest.contains(QLatin1String(" good")))
            passResult(rest, events);
    }

    void openLine(const QString &text, QList<RunEvent> &events) override
    {
        if (const auto prefix = readPrefix(text))
            started(*prefix, events);
    }

private:
    struct Position {
        int track = -1;
        int side = -1;
        int pass = 0;
        bool operator==(const Position &) const = default;
    };

    bool planLine(const QString &text, QList<RunEvent> &events)
    {
        const auto match = planPattern().match(text);
        if (!match.hasMatch())
            return false;
        RunEvent event{RunEventKind::Plan};
        event.sides = number(match, 1);
        event.tracks = number(match, 2);
        event.text = text;
        events.append(event);
        // After a restart the read begins again at track 0, side 0; its
        // result can follow without a prefix of its own.
        m_current = Position{0, 0, 1};
        m_announced = Position{};
        return true;
    }

    bool totalsLine(const QString &text, QList<RunEvent> &events)
    {
        if (const auto good = goodTotalsPattern().match(text); good.hasMatch()) {
            m_totals.goodTracks = number(good, 1);
            m_totals.goodSectors = number(good, 2);
            return true;
        }
        const auto bad = badTotalsPattern().match(text);
        if (bad.hasMatch()) {
            m_totals.kind = RunEventKind::Totals;
            m_totals.badTracks = number(bad, 1);
            m_totals.errors = number(bad, 2);
            m_totals.retries = number(bad, 3);
            events.append(m_totals);
            return true;
        }
        return false;
    }

    void started(const Prefix &prefix, QList<RunEvent> &events)
    {
        m_current = Position{prefix.track, prefix.side, prefix.pass};
        if (m_current == m_announced)
            return;
        m_announced = m_current;
        events.append(at(RunEventKind::TrackStarted));
    }

    void trackNotes(QStringView rest, QList<RunEvent> &events)
    {
        if (const auto limit = limitPattern().match(rest); limit.hasMatch()) {
            RunEvent event{RunEventKind::TracksLimited};
            event.tracks = number(limit, 1);
            event.text = limit.captured(0);
            events.append(event);
        }
        if (const auto restart = restartPattern().match(rest); restart.hasMatch()) {
            RunEvent event{RunEventKind::Restart};
            event.text = restart.captured(1);
            events.append(event);
        }
        if (rest.contains(QLatin1String("[apparently single-sided]")))
            events.append(RunEvent{RunEventKind::SingleSided});
    }

    void passResult(QStringView rest, QList<RunEvent> &events)
    {
        const auto retry = rest.trimmed().endsWith(u']') ? retryPattern().match(rest)
                                                         : QRegularExpressionMatch();
        if (retry.hasMatch()) {
            RunEvent event = at(RunEventKind::PassFailed);
            event.good = number(retry, 1);
            event.errors = number(retry, 2);
            events.append(event);
            return;
        }
        if (const auto result = resultPattern().match(rest); result.hasMatch()) {
            RunEvent event = at(RunEventKind::TrackDone);
            event.good = number(result, 1);
            event.errors = number(result, 2);
            events.append(event);
        }
    }

    RunEvent at(RunEventKind kind) const
    {
        RunEvent event{kind};
        event.track = m_current.track;
        event.side = m_current.side;
        event.pass = m_current.pass;
        return event;
    }

    Position m_current;
    Position m_announced;
    RunEvent m_totals;
};

} // namespace

std::unique_ptr<OutputParser> makeCw2dmkParser()
{
    return std::make_unique<Cw2dmkParser>();
}

} // namespace ferncastle
