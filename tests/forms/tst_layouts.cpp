// Layouts that hold with large fonts: the map's side labels clear of its
// cells, and a bad row that keeps its mark when selected.

#include "core/image/imagereader.h"
#include "forms/grid/trackgrid.h"
#include "forms/imageinfo/imageinfowindow.h"
#include "support/fourstateimage.h"

#include <QPainter>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

using namespace ferncastle;

namespace {

// The first and last columns in area holding a pixel other than the
// background, or {-1, -1}.
std::pair<int, int> inkColumns(const QImage &image, const QRect &area, QRgb background)
{
    int first = -1;
    int last = -1;
    for (int x = area.left(); x <= area.right(); ++x) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            if (image.pixel(x, y) != background) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

int inkWidthAlone(const QString &text, const QFont &font, QRgb background)
{
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(text) + 20, metrics.height() + 4, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(10, metrics.ascent() + 2), text);
    painter.end();
    const auto [first, last] = inkColumns(image, image.rect(), background);
    return last - first + 1;
}

bool holdsColour(const QImage &image, const QRect &area, const QColor &colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

} // namespace

class TestLayouts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sideLabelsStayClearOfTheCells_data();
    void sideLabelsStayClearOfTheCells();
    void selectedBadRowKeepsItsMark();
};

void TestLayouts::sideLabelsStayClearOfTheCells_data()
{
    QTest::addColumn<int>("points");
    for (const int points : {8, 12, 16, 24})
        QTest::addRow("%d points", points) << points;
}

// Every cell is drawn after the labels: one drawn over a label cuts its
// ink short, so the label on the map must be as wide as the text alone.
void TestLayouts::sideLabelsStayClearOfTheCells()
{
    QFETCH(int, points);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(points);
    TrackGrid grid;
    grid.setFont(font);
    GridModel model;
    model.tracks = 80;
    model.sides = 2;
    model.cells.fill(GridCell{CellState::Bad, QString()}, 160);
    grid.setModel(model);
    grid.resize(grid.sizeHint());
    const QImage painted = grid.grab().toImage();
    const QRgb background = grid.palette().color(QPalette::Window).rgb();
    for (int side = 0; side < 2; ++side) {
        const QRect firstCell = grid.cellRect(0, side);
        const QRect labelArea(0, firstCell.top(), firstCell.left(), firstCell.height() - 1);
        const auto [first, last] = inkColumns(painted, labelArea, background);
        QVERIFY(first >= 0);
        QVERIFY2(last < firstCell.left() - 1, qPrintable(QString::number(last)));
        // Within a pixel: the two may start at different fractions of one.
        const int alone = inkWidthAlone(QStringLiteral("Side %1").arg(side), font, background);
        QVERIFY2(std::abs(last - first + 1 - alone) <= 1, qPrintable(QString::number(last - first + 1)));
    }
}

// The row's red gives way to the selection's colours; its mark does not.
void TestLayouts::selectedBadRowKeepsItsMark()
{
    // Cut inside its last track, the image has a finding to list as well.
    const QByteArray cut = test::fourStateImage().chopped(100);
    ImageInfoWindow info;
    info.showImage(readDiskImage(cut), QStringLiteral("four.dmk"));
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    info.grid->select(1, 0); // its second sector has a CRC error
    const QColor bad = lookOf(CellState::Bad).fill;
    info.tblSectors->selectRow(1);
    info.tblSectors->setFocus();
    QVERIFY(info.tblSectors->item(1, 0)->isSelected());
    const QRect badRow = info.tblSectors->visualItemRect(info.tblSectors->item(1, 0));
    QVERIFY(holdsColour(info.tblSectors->viewport()->grab().toImage(), badRow, bad));
    const QRect goodRow = info.tblSectors->visualItemRect(info.tblSectors->item(0, 0));
    QVERIFY(!holdsColour(info.tblSectors->viewport()->grab().toImage(), goodRow, bad));
    QTreeWidgetItem *finding = info.lstFindings->topLevelItem(0);
    QVERIFY(finding);
    info.lstFindings->setCurrentItem(finding);
    QVERIFY(finding->isSelected());
    QVERIFY(holdsColour(info.lstFindings->viewport()->grab().toImage(),
                        info.lstFindings->visualItemRect(finding), bad));
}

QTEST_MAIN(TestLayouts)
#include "tst_layouts.moc"
