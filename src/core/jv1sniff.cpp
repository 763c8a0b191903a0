#include "core/jv1sniff.h"

#include "core/image/imagelayout.h"
#include "core/image/imageprobe.h"

#include <QFile>

namespace ferncastle {

bool isPlainlyJv1(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    if (size == 0)
        return false;
    // The image reader's own decision, so the run and Image Information
    // never disagree about what the file is: one cut inside its last track
    // is still JV1, and jv2dmk must be told so.
    return probeImage(file.read(probePrefixSize), size).format == ImageFormat::Jv1;
}

} // namespace ferncastle
