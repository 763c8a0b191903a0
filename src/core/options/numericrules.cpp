#include "core/options/numericrules.h"

#include <QString>

#include <algorithm>
#include <limits>

namespace ferncastle {

namespace {

// The pieces of a text that is a plain decimal number.
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

// The k-th digit of the number written without its point, counting from
// the first integer digit; zero beyond either end.
int digitAt(const Decimal &d, long long k)
{
    const qsizetype integerCount = d.integerDigits.size();
    if (k >= 0 && k < integerCount)
        return d.integerDigits[k].unicode() - u'0';
    k -= integerCount;
    if (k >= 0 && k < d.fractionDigits.size())
        return d.fractionDigits[k].unicode() - u'0';
    return 0;
}

bool anyNonZeroFrom(const Decimal &d, long long k)
{
    const long long count = d.integerDigits.size() + d.fractionDigits.size();
    for (k = std::max(k, 0LL); k < count; ++k) {
        if (digitAt(d, k) != 0)
            return true;
    }
    return false;
}

// The absolute value rounded to the nearest whole number, halves to even.
// Works on the decimal digits themselves: a double would lose digits beyond
// its precision and misjudge texts such as 1.49999999999999999999. The
// caller has made sure the value is below a million.
long long roundedAbsolute(const Decimal &d)
{
    const long long point = d.integerDigits.size() + d.exponent;
    long long whole = 0;
    for (long long k = 0; k < point; ++k)
        whole = whole * 10 + digitAt(d, k);
    const int next = digitAt(d, point);
    const bool aboveHalf = next > 5 || (next == 5 && anyNonZeroFrom(d, point + 1));
    if (aboveHalf || (next == 5 && whole % 2 == 1))
        ++whole;
    return whole;
}

} // namespace

bool isPlainDecimal(QStringView text)
{
    return parse(text).has_value();
}

std::optional<qint16> roundedToInt16(QStringView text)
{
    const std::optional<Decimal> d = parse(text);
    if (!d)
        return std::nullopt;
    const std::optional<long long> order = magnitude(*d);
    if (!order || *order < -2)
        return qint16(0); // far below one half: rounds to zero
    if (*order > 6)
        return std::nullopt; // a million or more

    const long long absolute = roundedAbsolute(*d);
    const long long rounded = d->negative ? -absolute : absolute;
    if (rounded < std::numeric_limits<qint16>::min() || rounded > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(rounded);
}

} // namespace ferncastle
