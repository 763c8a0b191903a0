#include "forms/common/appicon.h"

#include <QPainter>

namespace ferncastle {

namespace {

// The 16 colours every display of the tools' era could show.
const QList<QRgb> classicPalette = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};

enum Colour { Black = 0, Navy = 4, Silver = 7, Grey = 8, White = 15 };

// Fills a rectangle given in sixteenths of the image.
void fill(QPainter &painter, int unit, int left, int top, int width, int height, Colour colour)
{
    painter.fillRect(left * unit, top * unit, width * unit, height * unit,
                     QColor(classicPalette[colour]));
}

} // namespace

QImage floppyImage(int size)
{
    const int unit = size / 16;
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    fill(painter, unit, 1, 1, 14, 14, Black);  // outline
    fill(painter, unit, 2, 2, 12, 12, Navy);   // body
    fill(painter, unit, 4, 1, 8, 5, Silver);   // metal shutter
    fill(painter, unit, 9, 2, 2, 3, Navy);     // head window
    fill(painter, unit, 4, 8, 8, 6, White);    // label
    fill(painter, unit, 5, 10, 6, 1, Grey);    // writing on the label
    fill(painter, unit, 5, 12, 4, 1, Grey);
    fill(painter, unit, 14, 1, 1, 1, Silver);  // cut corner
    painter.end();
    // Every pixel already is one of the 16 colours, so nothing is dithered.
    QList<QRgb> colours = classicPalette;
    colours.append(qRgba(0, 0, 0, 0));
    return image.convertToFormat(QImage::Format_Indexed8, colours, Qt::ThresholdDither);
}

QIcon appIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(floppyImage(32)));
    icon.addPixmap(QPixmap::fromImage(floppyImage(16)));
    return icon;
}

} // namespace ferncastle
