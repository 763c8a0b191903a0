#pragma once

namespace ferncastle {

// A check box's state as the tools' front end has always stored it:
// 0 unticked, 1 ticked, 2 greyed. Only Ticked switches a group on.
enum CheckValue : int { Unticked = 0, Ticked = 1, Greyed = 2 };

inline bool isValidCheckValue(int value)
{
    return value == Unticked || value == Ticked || value == Greyed;
}

} // namespace ferncastle
