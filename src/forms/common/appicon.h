#pragma once

#include <QIcon>
#include <QImage>

namespace ferncastle {

// The floppy-disk picture that every window of the program carries, drawn
// at size x size pixels (16 or 32) in the 16 colours of the classic palette.
QImage floppyImage(int size);

// Both images, 32 x 32 and 16 x 16, as one icon.
QIcon appIcon();

} // namespace ferncastle
