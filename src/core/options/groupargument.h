#pragma once

#include "core/options/optiongroups.h"
#include "core/options/optionset.h"

#include <QString>

#include <optional>

namespace ferncastle {

// The CatWeasel port as the tools read it: hexadecimal, with or without
// 0x, either a card number 0 to F (MK3/MK4) or an I/O base 220 to 388 (MK1).
enum class PortReading { Usable, NotNumber, OutOfRange };
PortReading readPort(QStringView text);

// "The 'CatWeasel port' is not a card number 0 to F or a port 220 to 388
// (hexadecimal). Option not used"
QString portRangeWarning(const OptionGroup &group);

// What one ticked group puts after its flag, or the warning that keeps the
// flag off the command line. Both empty: the flag is left out silently,
// as for a list position that is no entry of the list.
struct GroupArgument {
    std::optional<QString> value;
    QString warning;
};

// Every value is written so that the tools' strtol() reads exactly what the
// user meant: a list position as its number, tracks and retries as the
// rounded whole number in plain decimal (040 would be octal to the tools),
// and the port as typed without its blanks.
GroupArgument groupArgument(const OptionGroup &group, const GroupState &state);

} // namespace ferncastle
