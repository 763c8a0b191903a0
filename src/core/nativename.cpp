#include "core/nativename.h"

#include <QStringDecoder>

namespace ferncastle {

namespace {

constexpr char16_t escapeBase = 0xDC00;

bool isEscapedByte(QChar c)
{
    return c.unicode() >= escapeBase + 0x80 && c.unicode() <= escapeBase + 0xFF;
}

// The length of the valid UTF-8 sequence at the start of bytes, 0 when
// there is none.
qsizetype validSequence(QByteArrayView bytes)
{
    const auto lead = static_cast<unsigned char>(bytes.front());
    const qsizetype length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || bytes.size() < length)
        return 0;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes.first(length));
    return utf8.hasError() || decoded.contains(QChar::ReplacementCharacter) ? 0 : length;
}

} // namespace

QString decodedNativeName(QByteArrayView native)
{
    QString name;
    name.reserve(native.size());
    qsizetype at = 0;
    while (at < native.size()) {
        const qsizetype length = validSequence(native.sliced(at));
        if (length == 0) {
            name.append(QChar(char16_t(escapeBase + static_cast<unsigned char>(native[at]))));
            ++at;
            continue;
        }
        name.append(QString::fromUtf8(native.sliced(at, length)));
        at += length;
    }
    return name;
}

QByteArray encodedNativeName(QStringView name)
{
    QByteArray native;
    qsizetype from = 0;
    for (qsizetype at = 0; at <= name.size(); ++at) {
        if (at < name.size() && !isEscapedByte(name[at]))
            continue;
        native += name.sliced(from, at - from).toUtf8();
        if (at < name.size())
            native += char(name[at].unicode() - escapeBase);
        from = at + 1;
    }
    return native;
}

bool holdsUndecodableBytes(QStringView name)
{
    for (const QChar c : name)
        if (isEscapedByte(c))
            return true;
    return false;
}

} // namespace ferncastle
