#include "core/numericrules.h"

#include <QString>

#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace ferncastle {

namespace {

// The pieces of a text that passed rule N.
struct Decimal {
    bool negative = false;
    QStringView integerDigits;
    QStringView fractionDigits;
    long long exponent = 0;
};

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

qsizetype skipBlanks(QStringView text, qsizetype i)
{
    while (i < text.size() && text[i] == u' ')
        ++i;
    return i;
}

qsizetype skipDigits(QStringView text, qsizetype i)
{
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i;
}

// Reads an exponent's digits, saturating far beyond any value that matters.
long long saturatedValue(QStringView digits)
{
    long long value = 0;
    for (QChar c : digits)
        value = std::min(value * 10 + (c.unicode() - u'0'), 1'000'000'000LL);
    return value;
}

std::optional<Decimal> parse(QStringView text)
{
    Decimal d;
    qsizetype i = skipBlanks(text, 0);
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        d.negative = text[i] == u'-';
        i = skipBlanks(text, i + 1);
    }
    qsizetype start = i;
    i = skipDigits(text, i);
    d.integerDigits = text.mid(start, i - start);
    if (i < text.size() && text[i] == u'.') {
        start = ++i;
        i = skipDigits(text, i);
        d.fractionDigits = text.mid(start, i - start);
    }
    if (d.integerDigits.isEmpty() && d.fractionDigits.isEmpty())
        return std::nullopt;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        bool negativeExponent = false;
        if (++i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            negativeExponent = text[i++] == u'-';
        start = i;
        i = skipDigits(text, i);
        if (i == start)
            return std::nullopt;
        d.exponent = saturatedValue(text.mid(start, i - start));
        if (negativeExponent)
            d.exponent = -d.exponent;
    }
    if (skipBlanks(text, i) != text.size())
        return std::nullopt;
    return d;
}

// Decimal order of magnitude of the first significant digit: 1 for 1..9,
// 2 for 10..99, 0 for 0.1..0.9. Empty when every digit is zero.
std::optional<long long> magnitude(const Decimal &d)
{
    qsizetype lead = 0;
    while (lead < d.integerDigits.size() && d.integerDigits[lead] == u'0')
        ++lead;
    if (lead < d.integerDigits.size())
        return d.integerDigits.size() - lead + d.exponent;
    qsizetype zeros = 0;
    while (zeros < d.fractionDigits.size() && d.fractionDigits[zeros] == u'0')
        ++zeros;
    if (zeros == d.fractionDigits.size())
        return std::nullopt;
    return -zeros + d.exponent;
}

} // namespace

bool isNumber(QStringView text)
{
    return parse(text).has_value();
}

std::optional<qint16> toInt16(QStringView text)
{
    const std::optional<Decimal> d = parse(text);
    if (!d)
        return std::nullopt;
    const std::optional<long long> order = magnitude(*d);
    if (!order || *order < -2)
        return qint16(0); // far below one half: rounds to zero
    if (*order > 6)
        return std::nullopt; // a million or more

    // Within these bounds the value neither overflows nor underflows a double.
    const std::string digits = QStringLiteral("%1.%2e%3")
                                   .arg(d->integerDigits.isEmpty() ? QStringLiteral("0")
                                                                   : d->integerDigits.toString(),
                                        d->fractionDigits.toString())
                                   .arg(d->exponent)
                                   .toStdString();
    double value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    // nearbyint rounds in the default mode, to nearest with ties to even.
    const double rounded = std::nearbyint(d->negative ? -value : value);
    if (rounded < std::numeric_limits<qint16>::min() || rounded > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(rounded);
}

} // namespace ferncastle
