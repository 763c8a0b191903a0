#include "core/tools/jv1sniff.h"

#include "core/image/imagelayout.h"
#include "core/image/imagereader.h"
#include "core/io/regularfile.h"

namespace ferncastle {

bool isPlainlyJv1(const QString &fileName)
{
    RegularFile file;
    if (!file.open(fileName))
        return false;
    const qint64 size = file.size();
    if (size == 0)
        return false;
    // The image reader's own decision, so the run and Image Information
    // never disagree about what the file is: one cut inside its last track
    // is still JV1, and jv2dmk must be told so.
    return probeImageFile(file) == ImageFormat::Jv1;
}

} // namespace ferncastle
