#pragma once

class QWidget;

namespace ferncastle {

// Escape and Ctrl+W close the window as its close box does, so a window
// that asks before closing asks here too.
void closeOnEscapeAndCtrlW(QWidget &window);

} // namespace ferncastle
