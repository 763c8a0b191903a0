#pragma once

#include <QString>

namespace ferncastle {

// True when the file is plainly a JV1 image: it holds a whole number of
// 2,560-byte tracks (ten 256-byte sectors) and does not start with a valid
// JV3 header. jv2dmk reads JV3 unless told -j1, and crashes on JV1.
bool isPlainlyJv1(const QString &fileName);

} // namespace ferncastle
