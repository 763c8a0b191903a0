#pragma once

#include <QStringView>

#include <optional>

namespace ferncastle {

struct OptionGroup;

// Why a stored text is not the number a box or a list needs.
enum class StoredNumberFault {
    None,
    NotWholeNumber, // not blanks, an optional sign and decimal digits
    OutsideInt16,   // a whole number beyond -32768..32767
    NotBoxState,    // a whole number other than 0, 1 or 2
    NotListPosition // a whole number outside -1..last entry
};

// What a stored text gives a box or a list, or why it gives nothing. Both
// the settings store and options files keep these numbers as text, and
// both read them here.
struct StoredNumber {
    std::optional<int> value;
    StoredNumberFault fault = StoredNumberFault::None;
    int number = 0; // the whole number read, for NotBoxState and NotListPosition
};

// "12", " -1 ", "+3": decimal digits with an optional sign and blanks
// around, within -32768..32767. "1.5", "0x1" and "" are not whole numbers.
StoredNumber storedWholeNumber(QStringView text);

// A check box's stored state: 0, 1 or 2.
StoredNumber storedBoxState(QStringView text);

// A list group's stored position: -1 or the position of one of its entries.
StoredNumber storedListPosition(QStringView text, const OptionGroup &group);

} // namespace ferncastle
