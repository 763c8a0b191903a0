// A bad row of Image Information keeps its mark when selected.

#include "core/image/imagereader.h"
#include "forms/grid/trackgrid.h"
#include "forms/imageinfo/imageinfowindow.h"
#include "support/fourstateimage.h"

#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

using namespace ferncastle;

namespace {

bool holdsColour(const QImage &image, const QRect &area, const QColor &colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

} // namespace

class TestSelectedMark : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void selectedBadRowKeepsItsMark();
};

// The row's red gives way to the selection's colours; its mark does not.
void TestSelectedMark::selectedBadRowKeepsItsMark()
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

QTEST_MAIN(TestSelectedMark)
#include "tst_selectedmark.moc"
