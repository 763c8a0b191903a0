// The "Image Information" window on images from the test writer, and the
// main window's ways into it: the File menu item and a dropped file.

#include "core/imagewriter.h"
#include "fakes/scriptedprompts.h"
#include "fakes/settingsfolder.h"
#include "support/fourstateimage.h"

#include "core/image/imagereader.h"
#include "core/image/imagereport.h"
#include "core/image/sectordump.h"
#include "core/image/sectorsource.h"
#include "core/settings/settingskeys.h"
#include "forms/grid/trackgrid.h"
#include "forms/imageinfo/imageinfowindow.h"
#include "forms/imageinfo/sectorview.h"
#include "forms/main/moorfield.h"
#include "platform/run/terminallauncher.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTest>

using namespace ferncastle;
namespace iw = imagewriter;

Q_DECLARE_METATYPE(ferncastle::CellState)

class TestImageInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mapPaintsEachTrackInItsState_data();
    void mapPaintsEachTrackInItsState();
    void selectedCellListsItsSectors();
    void arrowKeysMoveTheSelection();
    void enterShowsSectorBytesAndKeysStep();
    void copyAsTextPutsTheReportOnTheClipboard();
    void findingsAreListed();
    void fileMenuOpensTheChosenImage();
    void fileMenuCancelAndNonImage();
    void droppedFileOpensItsInformation();
};

namespace {

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return file.fileName();
}

QColor mostCommonColour(const QImage &image, const QRect &area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    const auto most = std::max_element(counts.cbegin(), counts.cend());
    return most == counts.cend() ? QColor() : QColor(most.key());
}

// The main window, started with a tools folder stored so that it asks
// nothing at start.
struct MainWindow {
    MainWindow()
    {
        settings.store(QLatin1String(keys::toolsFolder), settings.path() + u'/');
        window.Form_Load();
    }

    QList<ImageInfoWindow *> infoWindows() const { return window.findChildren<ImageInfoWindow *>(); }

    test::SettingsFolder settings;
    test::ScriptedPrompts prompts;
    TerminalLauncher launcher;
    Moorfield window{{prompts, launcher, settings.settingsStore()}};
};

} // namespace

void TestImageInfo::mapPaintsEachTrackInItsState_data()
{
    QTest::addColumn<int>("track");
    QTest::addColumn<CellState>("state");
    QTest::newRow("all sectors good") << 0 << CellState::Good;
    QTest::newRow("a CRC error") << 1 << CellState::Bad;
    QTest::newRow("a sector missing from the run") << 2 << CellState::Missing;
    QTest::newRow("unformatted") << 3 << CellState::Unformatted;
}

// What the user sees: the cell's colour in the painted map.
void TestImageInfo::mapPaintsEachTrackInItsState()
{
    QFETCH(int, track);
    QFETCH(CellState, state);
    ImageInfoWindow info;
    info.showImage(readDiskImage(test::fourStateImage()), QStringLiteral("four.dmk"));
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    QCOMPARE(info.grid->model().cell(track, 0).state, state);
    const QImage painted = info.grid->grab().toImage();
    // Off the selection outline, which runs round the selected cell's edge;
    // the mark drawn over the colour covers less than the colour.
    const QRect inside = info.grid->cellRect(track, 0).adjusted(4, 4, -5, -5);
    QCOMPARE(mostCommonColour(painted, inside), lookOf(state).fill);
}

void TestImageInfo::selectedCellListsItsSectors()
{
    ImageInfoWindow info;
    info.showImage(readDiskImage(test::fourStateImage()), QStringLiteral("four.dmk"));
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    QCOMPARE(info.tblSectors->rowCount(), 3); // track 0 side 0 is selected first
    QTest::mouseClick(info.grid, Qt::LeftButton, {}, info.grid->cellRect(1, 0).center());
    QCOMPARE(info.grid->selectedTrack(), 1);
    QCOMPARE(info.tblSectors->rowCount(), 3);
    QCOMPARE(info.tblSectors->item(1, 3)->text(), QStringLiteral("2"));
    QCOMPARE(info.tblSectors->item(1, 8)->text(), QStringLiteral("bad"));
    QCOMPARE(info.tblSectors->item(0, 8)->text(), QStringLiteral("good"));
    QVERIFY(info.lblTrack->text().startsWith(QStringLiteral("Track 1 side 0: 3 sectors")));
    QTest::mouseClick(info.grid, Qt::LeftButton, {}, info.grid->cellRect(3, 0).center());
    QCOMPARE(info.tblSectors->rowCount(), 0);
    QVERIFY(info.lblTrack->text().contains(QStringLiteral("no sectors")));
}

// Enter on a row shows that sector's bytes as the file holds them; Page
// Down and P step through the sectors, from one track into the next.
void TestImageInfo::enterShowsSectorBytesAndKeysStep()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("four.dmk"), test::fourStateImage());
    QVERIFY(!path.isEmpty());
    const SectorSource source = SectorSource::fromFile(path);
    ImageInfoWindow info;
    info.showImage(source.image(), path);
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    info.grid->select(1, 0);
    info.tblSectors->setCurrentCell(1, 0);
    info.tblSectors->setFocus();
    QTest::keyClick(info.tblSectors, Qt::Key_Return);
    SectorView *view = info.sectorView;
    QVERIFY(view);
    QVERIFY(view->isVisible());
    const auto shows = [&](int track, int id) {
        const QString heading = u"Track %1 side 0, sector %2 "_qs.arg(track).arg(id);
        return view->lblSector->text().startsWith(heading)
               && view->txtBytes->toPlainText() == hexDump(source.sector({track, 0, id}).data);
    };
    QVERIFY2(shows(1, 2), qPrintable(view->lblSector->text()));
    QVERIFY(view->lblSector->text().contains(QStringLiteral("data CRC bad, data mark FB")));
    QTest::keyClick(view, Qt::Key_PageDown);
    QVERIFY(shows(1, 3));
    QTest::keyClick(view, Qt::Key_PageDown); // track 2 holds ids 1 and 3
    QVERIFY2(shows(2, 1), qPrintable(view->lblSector->text()));
    QTest::keyClick(view, Qt::Key_P);
    QVERIFY(shows(1, 3));
}

void TestImageInfo::arrowKeysMoveTheSelection()
{
    ImageInfoWindow info;
    info.showImage(readDiskImage(iw::dmk(3, 2, 0x1900, iw::uniform(2, true))),
                   QStringLiteral("ds.dmk"));
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    info.grid->setFocus();
    QTest::keyClick(info.grid, Qt::Key_Right);
    QTest::keyClick(info.grid, Qt::Key_Down);
    QCOMPARE(info.grid->selectedTrack(), 1);
    QCOMPARE(info.grid->selectedSide(), 1);
    QTest::keyClick(info.grid, Qt::Key_Down); // no side 2: stays
    QTest::keyClick(info.grid, Qt::Key_Right);
    QTest::keyClick(info.grid, Qt::Key_Right); // no track 3: stays
    QCOMPARE(info.grid->selectedTrack(), 2);
    QCOMPARE(info.grid->selectedSide(), 1);
    QCOMPARE(info.tblSectors->item(0, 2)->text(), QStringLiteral("1"));
}

void TestImageInfo::copyAsTextPutsTheReportOnTheClipboard()
{
    ImageInfoWindow info;
    const DiskImage image = readDiskImage(test::fourStateImage());
    info.showImage(image, QStringLiteral("four.dmk"));
    QGuiApplication::clipboard()->clear();
    info.cmdCopyText->click();
    const QString copied = QGuiApplication::clipboard()->text();
    QCOMPARE(copied, imageReport(image, QStringLiteral("four.dmk")));
    QVERIFY(copied.contains(QStringLiteral("Track  1 side 0 MFM    3: 1 2? 3")));
    QVERIFY(copied.contains(QStringLiteral("(missing 2)")));
}

void TestImageInfo::findingsAreListed()
{
    ImageInfoWindow info;
    const QByteArray image = test::fourStateImage();
    info.showImage(readDiskImage(image.first(image.size() - 10)), QStringLiteral("cut.dmk"));
    QCOMPARE(info.lstFindings->topLevelItemCount(), 2);
    QVERIFY(info.lstFindings->topLevelItem(0)->text(0).contains(QStringLiteral("interrupted read")));
    QVERIFY(info.lblSummary->text().contains(QStringLiteral("Findings: 2")));

    // Every track's ID fields name cylinder 0: one row, its instances beneath.
    const QByteArray stale = iw::dmk(3, 1, 0x1900, [](int, int) {
        return QList<iw::Sector>{{0, 0, 1, 1, true}};
    });
    info.showImage(readDiskImage(stale), QStringLiteral("stale.dmk"));
    QCOMPARE(info.lstFindings->topLevelItemCount(), 1);
    QTreeWidgetItem *group = info.lstFindings->topLevelItem(0);
    QVERIFY2(group->text(0).endsWith(QStringLiteral(": 2, tracks 1-2")), qPrintable(group->text(0)));
    QCOMPARE(group->childCount(), 2);
}

void TestImageInfo::fileMenuOpensTheChosenImage()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("four.dmk"), test::fourStateImage());
    MainWindow main;
    main.prompts.answerFile(path);
    main.window.mnuImageInfo->trigger();
    QCOMPARE(main.prompts.fileRequests.size(), 1);
    const FileRequest &request = main.prompts.fileRequests.first();
    QCOMPARE(request.mode, FileRequest::Mode::Open);
    QVERIFY(request.filter.startsWith(QStringLiteral("Disk Images (*.DMK;*.DSK;*.JV3)|")));
    QVERIFY(request.filter.endsWith(QStringLiteral("|All Files|*.*")));
    QCOMPARE(main.infoWindows().size(), 1);
    ImageInfoWindow *info = main.infoWindows().first();
    QVERIFY(info->isVisible());
    QCOMPARE(info->windowTitle(), QStringLiteral("Image Information - four.dmk"));
    QVERIFY(info->lblSummary->text().startsWith(path + QStringLiteral(": DMK image, 4 tracks")));
}

void TestImageInfo::fileMenuCancelAndNonImage()
{
    QTemporaryDir dir;
    MainWindow main;
    main.prompts.answerFile(QString());
    main.window.mnuImageInfo->trigger();
    QVERIFY(main.infoWindows().isEmpty());
    QVERIFY(main.prompts.messages.isEmpty());

    const QString text = writeFile(dir, QStringLiteral("notes.dmk"), "not an image\n");
    main.prompts.answerFile(text);
    main.window.mnuImageInfo->trigger();
    QVERIFY(main.infoWindows().isEmpty());
    QCOMPARE(main.prompts.messages.size(), 1);
    QCOMPARE(main.prompts.messages.first().icon, QMessageBox::Warning);
    QVERIFY(main.prompts.messages.first().text.startsWith(
        text + QStringLiteral(" is not a disk image Ferncastle can read.\rIts size (13 bytes)")));
}

void TestImageInfo::droppedFileOpensItsInformation()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("m1.dsk"), iw::jv1(35));
    MainWindow main;
    main.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main.window));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at = main.window.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&main.window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&main.window, &drop);
    QCOMPARE(main.infoWindows().size(), 1);
    QVERIFY(main.infoWindows().first()->lblSummary->text().contains(
        QStringLiteral("JV1 image, 35 tracks, 1 side")));

    QMimeData text;
    text.setText(QStringLiteral("just words"));
    QDragEnterEvent refused(at, Qt::CopyAction, &text, Qt::LeftButton, {});
    refused.setAccepted(false);
    QCoreApplication::sendEvent(&main.window, &refused);
    QVERIFY(!refused.isAccepted());
}

QTEST_MAIN(TestImageInfo)
#include "tst_imageinfo.moc"
