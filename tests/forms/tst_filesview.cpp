// The Files view of "Image Information" on the real LDOS disk, on copies of
// it damaged here, and on an image without a directory; looking inside a
// file; Save Files... with scripted answers.

#include "core/dosdisks.h"
#include "fakes/scriptedprompts.h"
#include "support/fourstateimage.h"
#include "support/samplerun.h"

#include "core/dos/dosdirectory.h"
#include "core/image/imagereader.h"
#include "forms/grid/trackgrid.h"
#include "forms/imageinfo/filelookwindow.h"
#include "forms/imageinfo/filesview.h"
#include "forms/imageinfo/imageinfowindow.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace ferncastle;

namespace {

const QString damagedName = QStringLiteral("TED/CMD");

QByteArray ldosDisk()
{
    return test::readWhole(QStringLiteral(FIXTURES_DIR "/dos/ld1-531.dsk"));
}

SectorSource sourceOf(const QByteArray &bytes)
{
    return SectorSource(readDiskImage(bytes), bytes);
}

const DosFile *named(const DosDirectory &directory, const QString &name)
{
    for (const DosFile &file : directory.files)
        if (file.dosName() == name)
            return &file;
    return nullptr;
}

// The LDOS disk as a DMK with a CRC spoilt in the first and the last sector
// of TED/CMD; the cells those sectors lie on.
std::pair<QByteArray, QList<QPoint>> damagedLdos()
{
    const SectorSource clean = sourceOf(ldosDisk());
    const DosDirectory directory = readDosDirectory(clean);
    const DosFile *file = named(directory, damagedName);
    dosdisks::Disk disk = dosdisks::copyOf(clean);
    QList<QPoint> cells;
    for (const SectorAddress &at : {file->sectors.constFirst(), file->sectors.constLast()}) {
        disk.at(at.cylinder, at.side, at.id).badCrc = true;
        if (!cells.contains(QPoint(at.cylinder, at.side)))
            cells.append(QPoint(at.cylinder, at.side));
    }
    return {dosdisks::toDmk(disk), cells};
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

int rowOf(const QTableWidget &table, const QString &name)
{
    for (int row = 0; row < table.rowCount(); ++row)
        if (table.item(row, 0)->text() == name)
            return row;
    return -1;
}

} // namespace

class TestFilesView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filesViewShowsTheDisk_data();
    void filesViewShowsTheDisk();
    void enterLooksInsideAndEscapeCloses();
    void saveFiles_data();
    void saveFiles();
};

void TestFilesView::filesViewShowsTheDisk_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<QString>("diskLine");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("health");   // of TED/CMD
    QTest::addColumn<QList<QPoint>>("marked"); // when TED/CMD is selected

    QTest::newRow("LDOS disk, all intact")
        << ldosDisk() << "LDOS 5.3 disk LDOS531: 14 files, all intact.\nFormatted 07/14/91; "
                         "35 cylinders, one side, single density; 0 bytes free."
        << 29 << "intact" << QList<QPoint>{};
    const auto [damaged, cells] = damagedLdos();
    QTest::newRow("a copy with bad sectors in one file")
        << damaged << "LDOS 5.3 disk LDOS531: 14 files; damaged: TED/CMD." << 29
        << "damaged: 2 sectors bad or missing." << cells;
    QTest::newRow("an image without a directory")
        << test::fourStateImage() << "No TRS-80 directory found: " << 0 << ""
        << QList<QPoint>{};
    // Its sectors hold labels; empty where the shared samples are not here.
    const QString toolOutput = test::toolOutputDir();
    QTest::newRow("a tool sample without a directory")
        << (toolOutput.isEmpty() ? QByteArray() : test::readWhole(toolOutput + "/files/dd40.dmk"))
        << "No TRS-80 directory found: " << 0 << "" << QList<QPoint>{};
}

void TestFilesView::filesViewShowsTheDisk()
{
    QFETCH(QByteArray, image);
    QFETCH(QString, diskLine);
    QFETCH(int, rows);
    QFETCH(QString, health);
    QFETCH(QList<QPoint>, marked);
    if (image.isEmpty())
        QSKIP("the shared tool samples are not here");
    ImageInfoWindow info;
    info.showImage(sourceOf(image), QStringLiteral("disk.dmk"));
    info.tabDetails->setCurrentWidget(info.filesView);
    info.show();
    FilesView &view = *info.filesView;
    QVERIFY2(view.dosDiskLine->text().contains(diskLine), qPrintable(view.dosDiskLine->text()));
    QCOMPARE(view.filesTable->rowCount(), rows);
    // The cell selected first names the files on it from the start.
    QCOMPARE(info.lblTrack->text().contains(QStringLiteral("Holds part of BOOT/SYS")), rows > 0);
    // Never an empty table standing for an empty disk.
    QCOMPARE(view.filesTable->isVisible(), rows > 0);
    if (rows == 0)
        return;
    // In the directory's order until the user sorts.
    QCOMPARE(view.filesTable->item(0, 0)->text(), view.directory().files.first().dosName());
    view.filesTable->sortByColumn(1, Qt::DescendingOrder); // by size, as numbers
    QVERIFY(view.filesTable->item(0, 1)->text().toInt()
            >= view.filesTable->item(1, 1)->text().toInt());
    const int row = rowOf(*view.filesTable, damagedName);
    QVERIFY(view.filesTable->item(row, 4)->text().startsWith(health));
    view.filesTable->selectRow(row);
    QCOMPARE(view.markedCells(), marked);
    if (!marked.isEmpty()) {
        QCOMPARE(info.grid->selectedTrack(), marked.first().x());
        const QString onTrack = info.lblTrack->text();
        QVERIFY2(onTrack.contains(QStringLiteral("Holds part of "))
                     && onTrack.contains(damagedName),
                 qPrintable(onTrack));
    }
}

// A /CMD file shows its load blocks; Escape closes the window.
void TestFilesView::enterLooksInsideAndEscapeCloses()
{
    ImageInfoWindow info;
    info.showImage(sourceOf(ldosDisk()), QStringLiteral("ld1-531.dsk"));
    info.tabDetails->setCurrentWidget(info.filesView);
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    QTableWidget *table = info.filesView->filesTable;
    table->setCurrentCell(rowOf(*table, damagedName), 0);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Return);
    QPointer<FileLookWindow> look = info.filesView->fileLook;
    QVERIFY(look && look->isVisible());
    // Escape must reach the look, not Image Information behind it.
    QVERIFY(QTest::qWaitForWindowActive(look));
    QVERIFY2(look->lblFileLook->text().contains(QStringLiteral("load module")),
             qPrintable(look->lblFileLook->text()));
    QVERIFY(look->txtFileLook->toPlainText().contains(QStringLiteral("ntry")));
    QTest::keyClick(look, Qt::Key_Escape);
    QTRY_VERIFY(!look);
}

void TestFilesView::saveFiles_data()
{
    QTest::addColumn<bool>("damagedDisk");
    QTest::addColumn<QString>("selected");    // "" for none: all are saved
    QTest::addColumn<bool>("alreadyThere"); // TED.CMD holds other bytes first
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("asked");       // part of the one question, "" for none
    QTest::addColumn<bool>("written");        // TED.CMD holds the file's bytes after
    QTest::addColumn<QString>("said");

    QTest::newRow("fresh folder, all files")
        << false << "" << false << QList<bool>{} << "" << true << "Saved 29 files into ";
    QTest::newRow("file already there, No leaves it")
        << false << damagedName << true << QList<bool>{false} << "TED.CMD already exists."
        << false << "Saved none of the 1 file into %1; not saved: TED/CMD (TED.CMD already "
                    "there, left as it was).";
    QTest::newRow("file already there, Yes replaces it")
        << false << damagedName << true << QList<bool>{true} << "TED.CMD already exists."
        << true << "Saved 1 file into ";
    QTest::newRow("damaged file refused")
        << true << damagedName << false << QList<bool>{false}
        << "TED/CMD is damaged: 2 sectors bad or missing.\rIts bad or missing sectors "
           "(cylinder/side/sector): "
        << false << "not saved: TED/CMD (damaged).";
    QTest::newRow("damaged file agreed")
        << true << damagedName << false << QList<bool>{true} << "Save it anyway" << true
        << "Saved 1 file into ";
}

void TestFilesView::saveFiles()
{
    QFETCH(bool, damagedDisk);
    QFETCH(QString, selected);
    QFETCH(bool, alreadyThere);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, asked);
    QFETCH(bool, written);
    QFETCH(QString, said);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(folder));
    const QString saved = QDir(folder).filePath(QStringLiteral("TED.CMD"));
    if (alreadyThere)
        QVERIFY(!writeFile(saved, "the user's own").isEmpty());
    const QString image = writeFile(dir.filePath(QStringLiteral("disk.dmk")),
                                    damagedDisk ? damagedLdos().first : ldosDisk());
    test::ScriptedPrompts prompts;
    prompts.answerFolder(folder);
    for (bool answer : answers)
        prompts.answerYesNo(answer);
    ImageInfoWindow info;
    const SectorSource source = SectorSource::fromFile(image);
    info.showImage(source, image);
    info.offerFileSaving(prompts);
    FilesView &view = *info.filesView;
    if (!selected.isEmpty())
        view.filesTable->selectRow(rowOf(*view.filesTable, selected));
    view.cmdSaveFiles->click();

    QCOMPARE(prompts.messages.size(), answers.size() + 1);
    if (!asked.isEmpty())
        QVERIFY2(prompts.messages.first().text.contains(asked),
                 qPrintable(prompts.messages.first().text));
    const QString sentence = prompts.messages.last().text;
    QVERIFY2(sentence.contains(said.arg(folder)), qPrintable(sentence));
    const QByteArray wanted = fileBytes(source, *named(view.directory(), damagedName));
    QCOMPARE(test::readWhole(saved) == wanted, written);
    if (alreadyThere && !written)
        QCOMPARE(test::readWhole(saved), QByteArray("the user's own"));
}

QTEST_MAIN(TestFilesView)
#include "tst_filesview.moc"
