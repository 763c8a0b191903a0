#pragma once

#include <QStringView>

#include <optional>

namespace ferncastle {

// A plain decimal number: optional blanks around an optional sign, digits
// with an optional decimal point, an optional exponent, optional trailing
// blanks. No hexadecimal, currency signs or thousands separators;
// the empty text is not a number. The decimal point is always '.', whatever
// the user's locale, because the tools read it that way.
bool isPlainDecimal(QStringView text);

// The number rounded to the nearest whole number, halves to the even
// neighbour, as a 16-bit signed integer. Empty when the text is not a number
// or the rounded value lies outside -32768..32767.
std::optional<qint16> roundedToInt16(QStringView text);

} // namespace ferncastle
