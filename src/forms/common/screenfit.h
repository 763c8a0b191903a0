#pragma once

class QMainWindow;

namespace ferncastle {

// A window of fixed size made at 96 dpi is taller than some screens at 2x
// scaling (QT_SCALE_FACTOR=2, a 192 dpi desktop): its lower buttons would
// be out of reach, and a fixed-size window cannot be resized. Whenever the
// window is shown, or moves to another screen, and its size does not fit
// that screen's available area, its central widget is put in a scroll area
// and the window becomes resizable up to its full size. Where it fits,
// nothing changes.
void keepReachableOnSmallScreens(QMainWindow &window);

} // namespace ferncastle
