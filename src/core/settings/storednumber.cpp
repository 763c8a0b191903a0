#include "core/settings/storednumber.h"

#include "core/options/checkvalue.h"
#include "core/options/optiongroups.h"

#include <QString>

#include <algorithm>

namespace ferncastle {

namespace {

bool isDigits(QStringView text)
{
    return !text.isEmpty()
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

StoredNumber failed(StoredNumberFault fault, int number = 0)
{
    return {std::nullopt, fault, number};
}

} // namespace

StoredNumber storedWholeNumber(QStringView text)
{
    QStringView digits = text.trimmed();
    const bool negative = digits.startsWith(u'-');
    if (negative || digits.startsWith(u'+'))
        digits = digits.sliced(1);
    if (!isDigits(digits))
        return failed(StoredNumberFault::NotWholeNumber);
    while (digits.size() > 1 && digits.startsWith(u'0'))
        digits = digits.sliced(1);
    const int value = digits.size() <= 5 ? (negative ? -1 : 1) * digits.toInt() : 0;
    if (digits.size() > 5 || value < -32768 || value > 32767)
        return failed(StoredNumberFault::OutsideInt16);
    return {value, StoredNumberFault::None, value};
}

StoredNumber storedBoxState(QStringView text)
{
    const StoredNumber number = storedWholeNumber(text);
    if (number.value && !isValidCheckValue(*number.value))
        return failed(StoredNumberFault::NotBoxState, *number.value);
    return number;
}

StoredNumber storedListPosition(QStringView text, const OptionGroup &group)
{
    const StoredNumber number = storedWholeNumber(text);
    if (number.value && !isListPosition(group, *number.value))
        return failed(StoredNumberFault::NotListPosition, *number.value);
    return number;
}

} // namespace ferncastle
