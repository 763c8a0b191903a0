#include "commandline/imageinfocommand.h"

#include "core/displaytext.h"
#include "core/image/imagereader.h"
#include "core/image/imagereport.h"
#include "platform/openablepath.h"

#include <cstdio>

namespace ferncastle {

namespace {

void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

int exitStatus(ImageVerdict verdict)
{
    switch (verdict) {
    case ImageVerdict::Clean:
        return 0;
    case ImageVerdict::Flawed:
        return 1;
    case ImageVerdict::Unreadable:
        break;
    }
    return 2;
}

} // namespace

int printImageInformation(const QStringList &files)
{
    if (files.isEmpty()) {
        write(stderr, QStringLiteral("ferncastle: --info needs the names of the image files "
                                     "to read.\n"));
        return 2;
    }
    int status = 0;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = openablePath(files[i]);
        const DiskImage image = readDiskImageFile(path.isEmpty() ? files[i] : path);
        if (i > 0)
            write(stdout, QStringLiteral("\n"));
        // A name's control characters would act on the terminal.
        write(stdout, imageReport(image, escapedForTerminal(files[i])));
        status = qMax(status, exitStatus(imageVerdict(image)));
    }
    std::fflush(stdout);
    return status;
}

} // namespace ferncastle
