#include "core/run/runanalysis.h"

#include "core/cardcheck/cardmessages.h"
#include "core/image/imagelayout.h"
#include "core/image/imagereader.h"

#include <QFileInfo>

namespace ferncastle {

namespace {

// A verbose run prints millions of lines; the events kept for listing are
// capped, the map and summary still see every one.
constexpr qsizetype maxKeptEvents = 10000;

} // namespace

RunAnalysis::RunAnalysis(const QString &tool)
    : m_tool(tool)
    , m_parser(makeOutputParser(tool))
{
}

void RunAnalysis::planFromDmkHeader(QByteArrayView header)
{
    using namespace layout;
    if (header.size() < dmkHeaderSize)
        return;
    const quint8 writeProtect = byteAt(header, 0);
    const bool zeroTail = le16(header, 12) == 0 && le16(header, 14) == 0;
    const DmkHeader fields = dmkHeader(header);
    if ((writeProtect != 0x00 && writeProtect != 0xFF) || !zeroTail || fields.tracks == 0)
        return;
    RunEvent plan{RunEventKind::Plan};
    plan.tracks = fields.tracks;
    plan.sides = fields.sides;
    plan.sidesCertain = true;
    m_map.apply(plan);
}

void RunAnalysis::setConversionInput(const QString &path)
{
    m_input = ConversionInput{QFileInfo(path).fileName(), readDiskImageFile(path)};
}

QList<ShownLine> RunAnalysis::feed(OutputStream stream, QByteArrayView bytes)
{
    QList<ShownLine> shown;
    LineDecoder &decoder = stream == OutputStream::Stdout ? m_stdout : m_stderr;
    takeLines(stream, decoder.feed(bytes), shown);
    if (stream == OutputStream::Stdout && decoder.hasOpenLine()) {
        QList<RunEvent> events;
        m_parser->openLine(decoder.openLine(), events);
        apply(events);
    }
    return shown;
}

QList<ShownLine> RunAnalysis::finish(const RunEnd &end)
{
    QList<ShownLine> shown;
    takeLines(OutputStream::Stdout, m_stdout.finish(), shown);
    takeLines(OutputStream::Stderr, m_stderr.finish(), shown);
    QList<RunEvent> events;
    const bool completed = end.completed();
    m_parser->finish(completed, events);
    apply(events);
    m_map.finish(completed);
    m_end = end;
    m_verdict = judgeRun(m_tool, m_summary, m_map, end, {}, inputOrNull());
    return shown;
}

void RunAnalysis::readBackWrittenImages(const WrittenFiles &files)
{
    const bool endedOnItsOwn = m_verdict.kind == VerdictKind::Good
                               || m_verdict.kind == VerdictKind::Warning;
    if (!endedOnItsOwn || files.paths().isEmpty())
        return;
    QList<ImageReadBack> readBacks;
    for (qsizetype index = 0; index < files.paths().size(); ++index) {
        const QString &path = files.paths().at(index);
        readBacks.append(files.touched(index) ? readBackFile(path) : notWrittenBy(path));
    }
    // The map stands for the first image the run wrote (every tool writes
    // one): what that image holds has the last word.
    if (readBacks.constFirst().outcome == ImageReadBack::Outcome::Read)
        m_map.holdAgainst(readBacks.constFirst().cells);
    m_verdict = judgeRun(m_tool, m_summary, m_map, m_end, readBacks, inputOrNull());
}

const ConversionInput *RunAnalysis::inputOrNull() const
{
    return m_input ? &*m_input : nullptr;
}

QString RunAnalysis::openLine(OutputStream stream) const
{
    return (stream == OutputStream::Stdout ? m_stdout : m_stderr).openLine();
}

bool RunAnalysis::hasOpenLine(OutputStream stream) const
{
    return (stream == OutputStream::Stdout ? m_stdout : m_stderr).hasOpenLine();
}

void RunAnalysis::takeLines(OutputStream stream, const QList<DecodedLine> &lines,
                            QList<ShownLine> &shown)
{
    for (const DecodedLine &line : lines) {
        shown.append(ShownLine{line.text, stream, line.overwritten, line.raw, line.cut});
        const bool blank = line.text.trimmed().isEmpty();
        if (stream == OutputStream::Stderr) {
            if (!blank)
                m_summary.lastErrorLine = line.text;
            if (const QString fix = cardProblemFix(line.text); !fix.isEmpty())
                m_summary.cardFix = fix;
            continue;
        }
        if (!blank)
            m_summary.lastOutputLine = line.text;
        QList<RunEvent> events;
        m_parser->line(line.text, events);
        apply(events);
    }
}

void RunAnalysis::apply(const QList<RunEvent> &events)
{
    for (const RunEvent &event : events) {
        m_map.apply(event);
        m_summary.add(event);
        if (m_events.size() < maxKeptEvents)
            m_events.append(event);
        ++m_eventCount;
    }
}

} // namespace ferncastle
