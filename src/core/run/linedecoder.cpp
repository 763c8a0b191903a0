#include "core/run/linedecoder.h"

#include <QStringDecoder>

#include <algorithm>

namespace ferncastle {

namespace {

constexpr char escapeByte = 0x1b;
constexpr char bellByte = 0x07;
constexpr char cancelByte = 0x18;
constexpr char substituteByte = 0x1a;

bool isC0Control(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return value < 0x20 || value == 0x7f;
}

bool isPlainByte(char byte)
{
    return byte == '\t' || !isC0Control(byte);
}

// Where a cut may fall without splitting a UTF-8 sequence: before a lead
// byte whose continuation bytes have not all arrived.
qsizetype safeCut(const QByteArray &line)
{
    const qsizetype size = line.size();
    qsizetype trailing = 0;
    while (trailing < 3 && trailing < size
           && (static_cast<unsigned char>(line.at(size - 1 - trailing)) & 0xC0) == 0x80)
        ++trailing;
    const qsizetype leadAt = size - 1 - trailing;
    if (leadAt < 0)
        return size;
    const auto lead = static_cast<unsigned char>(line.at(leadAt));
    const qsizetype expected = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return expected > trailing + 1 ? leadAt : size;
}

} // namespace

QString decodeToolText(QByteArrayView bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](char byte) { return byte >= 0; }))
        return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return QString::fromLatin1(bytes);
    return text;
}

QList<DecodedLine> LineDecoder::feed(QByteArrayView bytes)
{
    QList<DecodedLine> out;
    qsizetype at = 0;
    while (at < bytes.size()) {
        // Plain text goes in a run at a time; only the bytes that mean
        // something to a terminal go one by one.
        if (m_escape == Escape::None && !m_pendingCarriageReturn) {
            const qsizetype room = maxLineBytes - 1 - m_raw.size();
            qsizetype end = at;
            while (end < bytes.size() && end - at < room && isPlainByte(bytes[end]))
                ++end;
            m_line.append(bytes.sliced(at, end - at));
            m_raw.append(bytes.sliced(at, end - at));
            at = end;
            if (at == bytes.size())
                break;
        }
        take(bytes[at++], out);
    }
    return out;
}

QList<DecodedLine> LineDecoder::finish()
{
    QList<DecodedLine> out;
    if (hasOpenLine() || !m_raw.isEmpty())
        endLine(false, out);
    m_escape = Escape::None;
    return out;
}

QString LineDecoder::openLine() const
{
    return decodeToolText(m_line);
}

void LineDecoder::take(char byte, QList<DecodedLine> &out)
{
    if (skipEscape(byte)) {
        m_raw.append(byte);
        cutIfFull(out);
        return;
    }
    if (m_pendingCarriageReturn) {
        if (byte == '\r')
            return;
        if (byte == '\n') {
            endLine(false, out);
            return;
        }
        endLine(true, out);
    }
    if (byte == '\n') {
        endLine(false, out);
        return;
    }
    if (byte == '\r') {
        m_pendingCarriageReturn = true;
        return;
    }
    m_raw.append(byte);
    if (byte == escapeByte) {
        m_escape = Escape::Start;
        m_escapeBytes = 1;
    } else if (isPlainByte(byte)) {
        m_line.append(byte);
    }
    cutIfFull(out);
}

// Whether the byte belongs to the escape sequence under way. A byte that
// ends one without belonging to it (a line end, a control, text past the
// bound) returns false and is taken as the terminal would take it.
bool LineDecoder::skipEscape(char byte)
{
    if (m_escape == Escape::None)
        return false;
    const auto value = static_cast<unsigned char>(byte);
    if (byte == cancelByte || byte == substituteByte) {
        m_escape = Escape::None;
        return true;
    }
    if (m_escape == Escape::StringEscape) {
        if (byte == '\\') {
            m_escape = Escape::None;
            return true;
        }
        m_escape = Escape::Start;
        m_escapeBytes = 1;
        return startSequence(byte);
    }
    if (byte == escapeByte) {
        m_escape = m_escape == Escape::String ? Escape::StringEscape : Escape::Start;
        m_escapeBytes = m_escape == Escape::Start ? 1 : m_escapeBytes;
        return true;
    }
    if (m_escape == Escape::String && byte == bellByte) {
        m_escape = Escape::None;
        return true;
    }
    if (isC0Control(byte) && value != 0x7f) {
        m_escape = Escape::None;
        return false;
    }
    if (!withinBound())
        return false;
    switch (m_escape) {
    case Escape::Start:
        return startSequence(byte);
    case Escape::Intermediate:
        if (value < 0x20 || value > 0x2f)
            m_escape = Escape::None;
        return value <= 0x7e;
    case Escape::Csi:
        if (value == 0x7f)
            return true; // a terminal ignores DEL inside a sequence
        if (value >= 0x40)
            m_escape = Escape::None;
        return value <= 0x7e;
    default:
        return true;
    }
}

// The byte after ESC: which kind of sequence this is.
bool LineDecoder::startSequence(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    m_escape = Escape::None;
    if (byte == '[')
        m_escape = Escape::Csi;
    else if (byte == ']' || byte == 'P' || byte == 'X' || byte == '^' || byte == '_')
        m_escape = Escape::String;
    else if (value >= 0x20 && value <= 0x2f)
        m_escape = Escape::Intermediate;
    else if (value < 0x20 || value > 0x7e)
        return false;
    return true;
}

bool LineDecoder::withinBound()
{
    const int bound = m_escape == Escape::String ? maxControlStringBytes : maxControlSequenceBytes;
    if (++m_escapeBytes <= bound)
        return true;
    m_escape = Escape::None;
    return false;
}

// Memory stays bounded however long the tool goes without a line end; the
// cut falls where it splits no UTF-8 sequence of the shown text.
void LineDecoder::cutIfFull(QList<DecodedLine> &out)
{
    if (m_raw.size() < maxLineBytes)
        return;
    const qsizetype cut = safeCut(m_line);
    const qsizetype carried = m_line.size() - cut;
    const QByteArray rest = m_line.mid(cut);
    const QByteArray rawRest = m_raw.right(carried);
    m_line.truncate(cut);
    m_raw.chop(carried);
    endLine(false, out, true);
    m_line = rest;
    m_raw = rawRest;
}

void LineDecoder::endLine(bool overwritten, QList<DecodedLine> &out, bool cut)
{
    out.append(DecodedLine{decodeToolText(m_line), overwritten, cut, m_raw});
    m_line.clear();
    m_raw.clear();
    m_pendingCarriageReturn = false;
}

} // namespace ferncastle
