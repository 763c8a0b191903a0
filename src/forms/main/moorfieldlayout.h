#pragma once

#include "forms/common/twips.h"

namespace ferncastle {

// The client area under the menu bar, 5190 x 8625 twips.
constexpr QSize moorfieldClientSize{346, 575};

} // namespace ferncastle
