#pragma once

class QMainWindow;
class QWidget;

namespace ferncastle {

// A window of fixed size made at 96 dpi is taller than some screens at 2x
// scaling (QT_SCALE_FACTOR=2, a 192 dpi desktop): its lower buttons would
// be out of reach, and a fixed-size window cannot be resized. Whenever the
// window is shown, or moves to another screen, and its size does not fit
// that screen's available area, its central widget is put in a scroll area
// and the window becomes resizable up to its full size. Where it fits,
// nothing changes.
void keepReachableOnSmallScreens(QMainWindow &window);

// A secondary window opens over the window it was opened from, and wholly
// inside the available area of that window's screen: a window sized for a
// large desktop is made smaller to fit, and one over a window near an edge
// is moved in. Placed once, when it is first shown, so that where the user
// later moves it is kept. owner may be null: the window then opens in the
// middle of the screen.
void openOver(QWidget &window, const QWidget *owner);

// A label that wraps needs more height the narrower it is, and a window's
// layout does not pass that on to the window: a text that grows (a longer
// message shown later) would be cut off or drawn over its neighbours. The
// window grows, within its screen, whenever its contents change.
void growForWrappedTexts(QWidget &window);

} // namespace ferncastle
