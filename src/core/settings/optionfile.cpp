#include "core/settings/optionfile.h"

#include "core/settings/storednumber.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

namespace ferncastle {

namespace {

const char *const extraParmsCaption = "Additional parameters";

// A group's text box holds at most this many characters and cuts off the
// rest; the parameter boxes hold any length.
constexpr qsizetype MaxTextLength = 32767;

// Offending texts are quoted in messages, but never at length.
constexpr qsizetype QuotedTextLength = 24;

const OptionGroup &groupOfValueLine(int index)
{
    return optionGroups()[index - GroupCount];
}

bool isStateLine(int index)
{
    return index < GroupCount;
}

bool isGroupValueLine(int index)
{
    return index >= GroupCount && index < 2 * GroupCount;
}

// How messages name the control behind a line (0-based index).
QString lineSubject(int index)
{
    if (isStateLine(index))
        return QStringLiteral("\"%1\" box").arg(QLatin1String(optionGroups()[index].caption));
    if (isGroupValueLine(index)) {
        const OptionGroup &group = groupOfValueLine(index);
        const QLatin1String kind(group.kind == ValueKind::List ? "list" : "text");
        return QStringLiteral("\"%1\" %2").arg(QLatin1String(group.caption), kind);
    }
    return QStringLiteral("\"%1\" text").arg(QLatin1String(extraParmsCaption));
}

QString quoted(const QString &text)
{
    if (text.size() <= QuotedTextLength)
        return u'"' + text + u'"';
    return u'"' + text.left(QuotedTextLength) + QStringLiteral("...\"");
}

// --- Writing ----------------------------------------------------------------

void appendLine(QByteArray &bytes, const QByteArray &line)
{
    bytes += line;
    bytes += "\r\n";
}

QString textFault(const char *caption, const QString &text)
{
    const QString subject = QStringLiteral("The \"%1\" text").arg(QLatin1String(caption));
    if (text.contains(u'\r') || text.contains(u'\n'))
        return subject + QStringLiteral(" holds a line break, which an options file cannot hold.");
    if (text.contains(QChar(0)))
        return subject + QStringLiteral(" holds a NUL character, which an options file cannot hold.");
    return {};
}

// Empty on success, else why the text cannot be written faithfully.
QString appendText(QByteArray &bytes, const char *caption, const QString &text)
{
    const QString fault = textFault(caption, text);
    if (!fault.isEmpty())
        return fault;
    QStringEncoder encoder(QStringConverter::System);
    const QByteArray encoded = encoder.encode(text);
    // Qt's UTF-8 encoder quietly replaces an unpaired surrogate.
    if (encoder.hasError() || !text.isValidUtf16())
        return QStringLiteral("The \"%1\" text holds a character that the system's encoding (%2) "
                              "cannot hold.")
            .arg(QLatin1String(caption), QLatin1String(encoder.name()));
    appendLine(bytes, encoded);
    return {};
}

QString appendGroupValue(QByteArray &bytes, const OptionGroup &group, const GroupState &state)
{
    if (group.kind == ValueKind::List) {
        appendLine(bytes, QByteArray::number(state.listIndex));
        return {};
    }
    return appendText(bytes, group.caption, state.text);
}

// --- Reading ----------------------------------------------------------------

QByteArrayView withoutCarriageReturn(QByteArrayView line)
{
    return line.endsWith('\r') ? line.chopped(1) : line;
}

// The first 17 lines without their line ends, or fewer when the bytes hold
// fewer. A last line without a line end counts only when the file ends there.
QList<QByteArrayView> firstLines(QByteArrayView bytes, bool fileGoesOn)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    while (lines.size() < OptionFileLineCount) {
        const qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) {
            if (start < bytes.size() && !fileGoesOn)
                lines.append(withoutCarriageReturn(bytes.sliced(start)));
            break;
        }
        lines.append(withoutCarriageReturn(bytes.sliced(start, end - start)));
        start = end + 1;
    }
    return lines;
}

bool isValidUtf8(const QList<QByteArrayView> &lines)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    for (QByteArrayView line : lines) {
        [[maybe_unused]] const QString text = decoder.decode(line);
        if (decoder.hasError())
            return false;
    }
    return true;
}

// Files that are not UTF-8 come from the Windows versions, which write the
// ANSI code page: on Windows the system's own, elsewhere taken to be
// Windows-1252, the Western one. Debian's Qt decodes it through ICU; a Qt
// without ICU falls back to Latin-1, which differs only in 0x80 to 0x9F.
QStringDecoder windowsDecoder()
{
#ifdef Q_OS_WIN
    return QStringDecoder(QStringConverter::System, QStringConverter::Flag::Stateless);
#else
    QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
    if (decoder.isValid())
        return decoder;
    return QStringDecoder(QStringConverter::Latin1, QStringConverter::Flag::Stateless);
#endif
}

QStringList decodeLines(const QList<QByteArrayView> &lines)
{
    QStringDecoder decoder = isValidUtf8(lines)
                                 ? QStringDecoder(QStringConverter::Utf8,
                                                  QStringConverter::Flag::Stateless)
                                 : windowsDecoder();
    QStringList texts;
    for (QByteArrayView line : lines)
        texts.append(decoder.decode(line));
    return texts;
}

QString shortFileReason(qsizetype lineCount, bool tooLarge)
{
    if (tooLarge)
        return QStringLiteral("This is not an options file: its first %1 lines do not lie "
                              "within its first %2 KiB.")
            .arg(OptionFileLineCount)
            .arg(OptionFileMaxBytes / 1024);
    if (lineCount == 0)
        return QStringLiteral("The file is empty; an options file has %1 lines.")
            .arg(OptionFileLineCount);
    return QStringLiteral("The file ends after line %1; an options file has %2 lines.")
        .arg(lineCount)
        .arg(OptionFileLineCount);
}

QString characterFault(const QString &line)
{
    if (line.contains(QChar(0)))
        return QStringLiteral("holds a NUL character, so this is not a text file.");
    if (line.contains(u'\r'))
        return QStringLiteral("holds a carriage return inside its text.");
    return {};
}

QString lengthFault(const QString &line)
{
    if (line.size() > MaxTextLength)
        return QStringLiteral("is longer than a text box holds (%1 characters).")
            .arg(MaxTextLength);
    return {};
}

// Why a line does not hold the box state or list position it must hold;
// empty when number has its value.
QString numberFault(const QString &line, const StoredNumber &number, const OptionGroup *group)
{
    switch (number.fault) {
    case StoredNumberFault::None:
        return {};
    case StoredNumberFault::NotWholeNumber:
        return quoted(line) + QStringLiteral(" is not a whole number.");
    case StoredNumberFault::OutsideInt16:
        return quoted(line) + QStringLiteral(" does not fit in 16 bits (-32768 to 32767).");
    case StoredNumberFault::NotBoxState:
        return QStringLiteral("%1 is not a check box state (0, 1 or 2).").arg(number.number);
    case StoredNumberFault::NotListPosition:
        break;
    }
    return QStringLiteral("%1 is not a position in the list (-1 to %2).")
        .arg(number.number)
        .arg(qsizetype(group->entries.size()) - 1);
}

QString readNumber(const QString &line, const StoredNumber &number, const OptionGroup *group,
                   int &value)
{
    if (number.value)
        value = *number.value;
    return numberFault(line, number, group);
}

// Puts line (0-based index) into options. Empty on success, else the fault.
QString readLine(OptionSet &options, int index, const QString &line)
{
    const QString fault = characterFault(line);
    if (!fault.isEmpty())
        return fault;
    if (isStateLine(index))
        return readNumber(line, storedBoxState(line), nullptr, options.groups[index].checkState);
    if (!isGroupValueLine(index)) {
        options.extraParms = line;
        return {};
    }
    const OptionGroup &group = groupOfValueLine(index);
    GroupState &state = options.groups[index - GroupCount];
    if (group.kind == ValueKind::List)
        return readNumber(line, storedListPosition(line, group), &group, state.listIndex);
    state.text = line;
    return lengthFault(line);
}

DecodedOptionFile failure(int line, const QString &reason)
{
    return {std::nullopt, {line, reason}};
}

} // namespace

EncodedOptionFile encodeOptionFile(const OptionSet &options)
{
    QByteArray bytes;
    for (const GroupState &group : options.groups)
        appendLine(bytes, QByteArray::number(group.checkState));
    for (int i = 0; i < GroupCount; ++i) {
        const QString error = appendGroupValue(bytes, optionGroups()[i], options.groups[i]);
        if (!error.isEmpty())
            return {{}, error};
    }
    const QString error = appendText(bytes, extraParmsCaption, options.extraParms);
    if (!error.isEmpty())
        return {{}, error};
    return {bytes, {}};
}

DecodedOptionFile decodeOptionFile(const QByteArray &bytes)
{
    const bool tooLarge = bytes.size() > OptionFileMaxBytes;
    QByteArrayView head = QByteArrayView(bytes).first(std::min(bytes.size(), OptionFileMaxBytes));
    if (head.startsWith("\xEF\xBB\xBF")) // a UTF-8 byte-order mark, as some editors write
        head = head.sliced(3);
    const QList<QByteArrayView> rawLines = firstLines(head, tooLarge);
    if (rawLines.size() < OptionFileLineCount)
        return failure(0, shortFileReason(rawLines.size(), tooLarge));
    const QStringList lines = decodeLines(rawLines);
    OptionSet options;
    for (int i = 0; i < OptionFileLineCount; ++i) {
        const QString fault = readLine(options, i, lines[i]);
        if (!fault.isEmpty())
            return failure(i + 1, fault);
    }
    return {options, {}};
}

QString describe(const OptionFileError &error)
{
    if (error.line == 0)
        return error.reason;
    return QStringLiteral("Line %1 (%2): %3")
        .arg(error.line)
        .arg(lineSubject(error.line - 1), error.reason);
}

} // namespace ferncastle
