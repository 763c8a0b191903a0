#pragma once

#include <QString>

namespace ferncastle {

// True when the file is plainly a JV1 image: it holds a whole number of
// 2,560-byte tracks (ten 256-byte sectors) and has no DMK or JV3 header the
// image reader would take. jv2dmk reads JV3 unless told -j1, and crashes
// on JV1.
bool isPlainlyJv1(const QString &fileName);

} // namespace ferncastle
