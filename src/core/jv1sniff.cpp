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
    if (size == 0 || size % layout::jv1TrackSize != 0)
        return false;
    // The image reader's own decision, so the run and Image Information
    // never disagree about what the file is.
    return probeImage(file.read(probePrefixSize), size).format == ImageFormat::Jv1;
}

} // namespace ferncastle
