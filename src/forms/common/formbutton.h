#pragma once

#include <QRect>

class QPushButton;
class QWidget;

namespace ferncastle {

// A push button at its fixed place, found by its object name. Focus alone
// never makes it the default button: Enter presses only a button that was
// made the default on purpose.
QPushButton *formButton(QWidget *parent, const char *name, const char *caption, QRect geometry);

} // namespace ferncastle
