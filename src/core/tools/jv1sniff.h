#pragma once

#include <QString>

namespace ferncastle {

// True when the image reader calls the file JV1 (ten 256-byte sectors a
// track, no DMK or JV3 header it would take), whole or cut short. jv2dmk
// reads JV3 unless told -j1, and crashes on JV1.
bool isPlainlyJv1(const QString &fileName);

} // namespace ferncastle
