#include "core/options/groupargument.h"

#include "core/options/numericrules.h"

namespace ferncastle {

namespace {

constexpr int highestCardNumber = 0xF;
constexpr int lowestMk1Port = 0x220;
constexpr int highestMk1Port = 0x388;

QStringView withoutBlanks(QStringView text)
{
    while (text.startsWith(u' '))
        text = text.sliced(1);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

int hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// The value of hexadecimal digits, saturating far above any port.
std::optional<int> hexValue(QStringView digits)
{
    if (digits.isEmpty())
        return std::nullopt;
    int value = 0;
    for (QChar c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = std::min(value * 16 + digit, 0x10000);
    }
    return value;
}

GroupArgument listArgument(const OptionGroup &group, int index)
{
    if (index < 0 || index >= qsizetype(group.entries.size()))
        return {};
    return {QString::number(index + group.indexOffset), {}};
}

GroupArgument wholeNumberArgument(const OptionGroup &group, const QString &text)
{
    if (!isPlainDecimal(text))
        return {std::nullopt, notNumberWarning(group)};
    const std::optional<qint16> value = roundedToInt16(text);
    if (!value || *value < group.check.minimum || *value > group.check.maximum)
        return {std::nullopt, QString::fromLatin1(group.check.rangeWarning)};
    return {QString::number(*value), {}};
}

GroupArgument portArgument(const OptionGroup &group, const QString &text)
{
    switch (readPort(text)) {
    case PortReading::NotNumber:
        return {std::nullopt, notNumberWarning(group)};
    case PortReading::OutOfRange:
        return {std::nullopt, portRangeWarning(group)};
    case PortReading::Usable:
        break;
    }
    return {withoutBlanks(text).toString(), {}};
}

} // namespace

PortReading readPort(QStringView text)
{
    QStringView digits = withoutBlanks(text);
    if (digits.startsWith(u"0x", Qt::CaseInsensitive))
        digits = digits.sliced(2);
    const std::optional<int> value = hexValue(digits);
    if (!value)
        return PortReading::NotNumber;
    if (*value <= highestCardNumber || (*value >= lowestMk1Port && *value <= highestMk1Port))
        return PortReading::Usable;
    return PortReading::OutOfRange;
}

QString portRangeWarning(const OptionGroup &group)
{
    return QStringLiteral("The '%1' is not a card number 0 to F or a port 220 to 388 (hexadecimal). "
                          "Option not used")
        .arg(QLatin1String(group.caption));
}

// The port is the one checked number without a decimal range: the tools
// read it in base 16.
GroupArgument groupArgument(const OptionGroup &group, const GroupState &state)
{
    if (group.kind == ValueKind::List)
        return listArgument(group, state.listIndex);
    if (!group.check.enabled)
        return {state.text, {}};
    if (group.check.hasRange)
        return wholeNumberArgument(group, state.text);
    return portArgument(group, state.text);
}

} // namespace ferncastle
