#pragma once

#include <QFontMetrics>
#include <QSize>
#include <QWidget>

namespace ferncastle {

// Room for columns average characters on each of lines lines in the
// widget's own font: sizes that grow with a large font or a scaled screen,
// where pixel counts would cut texts off.
inline QSize roomForText(const QWidget &widget, int columns, int lines)
{
    const QFontMetrics metrics = widget.fontMetrics();
    return {metrics.averageCharWidth() * columns, metrics.lineSpacing() * lines};
}

} // namespace ferncastle
