#pragma once

#include <QLatin1String>

namespace ferncastle {

// A new widget with the object name tests and style sheets know it by.
template<typename Widget>
Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace ferncastle
