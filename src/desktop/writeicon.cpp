// Writes the program's floppy icon as a PNG file. The build runs it to give
// the desktop's icon theme the very picture the program's windows carry.
//
// Usage: ferncastle_writeicon SIZE FILE   (SIZE a multiple of 16)

#include "forms/common/appicon.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

namespace {

// The picture is laid out on a 16 x 16 grid, so only whole multiples of 16
// draw every part of it.
int iconSize(const char *text)
{
    bool ok = false;
    const int size = QByteArray(text).toInt(&ok);
    return ok && size >= 16 && size % 16 == 0 ? size : 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const int size = argc == 3 ? iconSize(argv[1]) : 0;
    if (size == 0) {
        std::fprintf(stderr, "usage: %s SIZE FILE (SIZE a multiple of 16)\n", argv[0]);
        return 2;
    }
    // Painting into a QImage needs no QGuiApplication and so no display.
    if (!ferncastle::floppyImage(size).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
