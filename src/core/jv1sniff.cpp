#include "core/jv1sniff.h"

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
    if (size == 0 || size % layout::jv1TrackSize != 0)
        return false;
    // The image reader's own decision, so the run and Image Information
    // never disagree about what the file is.
    return probeImageFile(file) == ImageFormat::Jv1;
}

} // namespace ferncastle
