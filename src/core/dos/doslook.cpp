#include "doslook.h"

#include "core/image/sectordump.h"

namespace ferncastle {

namespace {

// Level II BASIC's keywords, tokens 0x80 to 0xFB in order.
constexpr const char *basicTokens[] = {
    "END", "FOR", "RESET", "SET", "CLS", "CMD", "RANDOM", "NEXT", "DATA", "INPUT", "DIM",
    "READ", "LET", "GOTO", "RUN", "IF", "RESTORE", "GOSUB", "RETURN", "REM", "STOP", "ELSE",
    "TRON", "TROFF", "DEFSTR", "DEFINT", "DEFSNG", "DEFDBL", "LINE", "EDIT", "ERROR",
    "RESUME", "OUT", "ON", "OPEN", "FIELD", "GET", "PUT", "CLOSE", "LOAD", "MERGE", "NAME",
    "KILL", "LSET", "RSET", "SAVE", "SYSTEM", "LPRINT", "DEF", "POKE", "PRINT", "CONT",
    "LIST", "LLIST", "DELETE", "AUTO", "CLEAR", "CLOAD", "CSAVE", "NEW", "TAB(", "TO", "FN",
    "USING", "VARPTR", "USR", "ERL", "ERR", "STRING$", "INSTR", "POINT", "TIME$", "MEM",
    "INKEY$", "THEN", "NOT", "STEP", "+", "-", "*", "/", "[", "AND", "OR", ">", "=", "<",
    "SGN", "INT", "ABS", "FRE", "INP", "POS", "SQR", "RND", "LOG", "EXP", "COS", "SIN", "TAN",
    "ATN", "PEEK", "CVI", "CVS", "CVD", "EOF", "LOC", "LOF", "MKI$", "MKS$", "MKD$", "CINT",
    "CSNG", "CDBL", "FIX", "LEN", "STR$", "VAL", "ASC", "CHR$", "LEFT$", "RIGHT$", "MID$", "'",
};
constexpr int tokenRem = 0x93;
constexpr int tokenElse = 0x95;
constexpr int tokenApostrophe = 0xFB;

QChar shown(quint8 byte)
{
    return byte >= 0x20 && byte < 0x7F ? QChar(char16_t(byte)) : QChar(u'.');
}

// One line's tokenised text; ':' before ELSE and ":REM" before ' are how
// the interpreter stores what the listing shows without them.
QString detokenise(QByteArrayView text)
{
    QString line;
    bool quoted = false;
    bool remark = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const quint8 c = quint8(text[i]);
        if (remark || quoted || c < 0x80 || c > tokenApostrophe) {
            const bool plain = !remark && !quoted;
            if (plain && c == ':' && text.sliced(i).startsWith("\x3A\x93\xFB")) {
                line += u'\'';
                remark = true;
                i += 2;
                continue;
            }
            if (plain && c == ':' && i + 1 < text.size() && quint8(text[i + 1]) == tokenElse)
                continue;
            quoted = !remark && (c == '"' ? !quoted : quoted);
            line += c < 0x80 ? QChar(char16_t(c)) : QChar(u'?');
            continue;
        }
        line += QLatin1String(basicTokens[c - 0x80]);
        remark = c == tokenRem || c == tokenApostrophe;
    }
    return line;
}

quint16 word(const QByteArray &bytes, qsizetype at)
{
    return quint16(quint8(bytes[at]) | (quint8(bytes[at + 1]) << 8));
}

QString hex4(int value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace

std::optional<QString> basicListing(const QByteArray &bytes)
{
    if (bytes.size() < 3 || quint8(bytes[0]) != 0xFF)
        return std::nullopt;
    QString listing;
    qsizetype at = 1;
    int previous = -1;
    while (at + 2 <= bytes.size() && word(bytes, at) != 0) {
        if (at + 4 > bytes.size())
            return std::nullopt;
        const int number = word(bytes, at + 2);
        const qsizetype end = bytes.indexOf('\0', at + 4);
        if (number <= previous || number > 65529 || end < 0)
            return std::nullopt;
        listing += QString::number(number) + u' '
                   + detokenise(QByteArrayView(bytes).sliced(at + 4, end - at - 4)) + u'\n';
        previous = number;
        at = end + 1;
    }
    return previous < 0 ? std::nullopt : std::optional<QString>(listing);
}

std::optional<QString> loadModuleView(const QByteArray &bytes)
{
    QString view;
    qsizetype at = 0;
    bool loaded = false;
    while (at + 2 <= bytes.size()) {
        const quint8 type = quint8(bytes[at]);
        int length = quint8(bytes[at + 1]);
        if (type == 0x01 && length <= 2)
            length += 256; // a block's length byte counts its two address bytes
        if (type == 0 || type > 0x1F || at + 2 + length > bytes.size())
            return std::nullopt;
        if (type == 0x01 && length >= 2) {
            const int address = word(bytes, at + 2);
            view += QStringLiteral("Load block %1-%2 (%3 bytes)\n")
                        .arg(hex4(address), hex4((address + length - 3) & 0xFFFF))
                        .arg(length - 2);
            loaded = true;
        } else if (type == 0x02 && length >= 2) {
            view += QStringLiteral("Entry address %1\n").arg(hex4(word(bytes, at + 2)));
            return loaded ? std::optional<QString>(view) : std::nullopt;
        } else if (type == 0x05) {
            view += QStringLiteral("Module %1\n")
                        .arg(QString::fromLatin1(bytes.mid(at + 2, length)).trimmed());
        }
        at += 2 + length;
    }
    return std::nullopt; // no entry address: not a load module
}

std::optional<QString> textView(const QByteArray &bytes)
{
    qsizetype printable = 0;
    for (char c : bytes) {
        const quint8 b = quint8(c);
        printable += (b >= 0x20 && b < 0x7F) || b == '\r' || b == '\n' || b == '\t' ? 1 : 0;
    }
    if (bytes.isEmpty() || printable * 20 < bytes.size() * 19)
        return std::nullopt;
    QString text;
    for (char c : bytes)
        text += c == '\r' ? QChar(u'\n') : (c == '\n' || c == '\t' ? QLatin1Char(c) : shown(quint8(c)));
    return text;
}

FileLook lookInside(const QByteArray &bytes)
{
    if (auto listing = basicListing(bytes))
        return {LookKind::BasicListing, *listing};
    if (auto module = loadModuleView(bytes))
        return {LookKind::LoadModule, *module};
    if (auto text = textView(bytes))
        return {LookKind::Text, *text};
    return {LookKind::HexDump, hexDump(bytes)};
}

} // namespace ferncastle
