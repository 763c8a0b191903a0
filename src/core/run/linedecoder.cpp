#include "core/run/linedecoder.h"

#include <QStringDecoder>

#include <algorithm>

namespace ferncastle {

namespace {

constexpr char escapeByte = 0x1b;
constexpr char bellByte = 0x07;

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
            const qsizetype room = maxLineBytes - 1 - m_line.size();
            qsizetype end = at;
            while (end < bytes.size() && end - at < room && isPlainByte(bytes[end]))
                ++end;
            m_line.append(bytes.sliced(at, end - at));
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
    if (hasOpenLine())
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
    if (skipEscape(byte))
        return;
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
    } else if (byte == '\r') {
        m_pendingCarriageReturn = true;
    } else if (byte == escapeByte) {
        m_escape = Escape::Start;
    } else if (byte == '\t' || !isC0Control(byte)) {
        m_line.append(byte);
        if (m_line.size() >= maxLineBytes) {
            const qsizetype cut = safeCut(m_line);
            const QByteArray rest = m_line.mid(cut);
            m_line.truncate(cut);
            endLine(false, out);
            m_line = rest;
        }
    }
}

// ESC [ ... final (CSI), ESC ] ... BEL or ESC \ (OSC), and the short
// ESC forms; returns whether the byte belonged to such a sequence.
bool LineDecoder::skipEscape(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    switch (m_escape) {
    case Escape::None:
        return false;
    case Escape::Start:
        if (byte == '[')
            m_escape = Escape::Csi;
        else if (byte == ']')
            m_escape = Escape::Osc;
        else if (value >= 0x20 && value <= 0x2f)
            m_escape = Escape::Intermediate;
        else
            m_escape = Escape::None;
        return true;
    case Escape::Intermediate:
        if (value >= 0x30)
            m_escape = Escape::None;
        return true;
    case Escape::Csi:
        if (value >= 0x40 && value <= 0x7e)
            m_escape = Escape::None;
        return true;
    case Escape::Osc:
        if (byte == bellByte)
            m_escape = Escape::None;
        else if (byte == escapeByte)
            m_escape = Escape::OscEscape;
        return true;
    case Escape::OscEscape:
        m_escape = byte == '\\' ? Escape::None : Escape::Osc;
        return true;
    }
    return false;
}

void LineDecoder::endLine(bool overwritten, QList<DecodedLine> &out)
{
    out.append(DecodedLine{decodeToolText(m_line), overwritten});
    m_line.clear();
    m_pendingCarriageReturn = false;
}

} // namespace ferncastle
