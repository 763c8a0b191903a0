#pragma once

#include <QFont>

namespace ferncastle {

// The face every window of the program uses. The controls have the fixed
// sizes they always had, which were measured for an 8 point sans-serif face;
// the default 9 or 10 point desktop font would clip their captions.
QFont formFont();

} // namespace ferncastle
