#include "core/batch/catalog.h"
#include "core/batch/nextname.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ferncastle;

namespace {

void touch(const QString &path, const QByteArray &bytes = "x")
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

CatalogRow row(const QString &image, const QString &verdict)
{
    CatalogRow row;
    row.imageFile = image;
    row.started = QDateTime(QDate(2026, 3, 1), QTime(9, 30, 5));
    row.commandLine = QStringLiteral("cw2dmk -d0 \"/box/%1\"").arg(image);
    row.exitStatus = QStringLiteral("0");
    row.verdict = verdict;
    row.goodSectors = 718;
    row.badSectors = 2;
    row.sha256 = QStringLiteral("ab12");
    row.dos = QStringLiteral("LDOS 5.3");
    row.diskName = QStringLiteral("GAMES");
    row.files = 14;
    row.damagedFiles = 1;
    return row;
}

} // namespace

class TestBatchNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void followingName_data();
    void followingName();
    void takenNamesAreSkipped();
    void commandForImageSwapsEveryMention();
    void catalogStartsWithItsHeaderAndQuotes();
    void catalogChangedElsewhereIsOnlyAppendedTo();
    void rowTakesTheColumnsOfTheHeaderOnDisk_data();
    void rowTakesTheColumnsOfTheHeaderOnDisk();
    void unwritableCatalogIsSaid();
};

void TestBatchNames::followingName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("next");

    QTest::newRow("digits keep their width") << "disk007.dmk" << "disk008.dmk";
    QTest::newRow("carry") << "disk009.dmk" << "disk010.dmk";
    QTest::newRow("width grows past all nines") << "disk999.dmk" << "disk1000.dmk";
    QTest::newRow("no digits") << "games.dmk" << "games-2.dmk";
    QTest::newRow("after -2") << "games-2.dmk" << "games-3.dmk";
    QTest::newRow("digits only before the dot count") << "disk1.v2.dmk" << "disk1.v3.dmk";
    QTest::newRow("no extension") << "box12" << "box13";
    QTest::newRow("dot file") << ".dmk" << ".dmk-2";
}

void TestBatchNames::followingName()
{
    QFETCH(QString, name);
    QFETCH(QString, next);
    QCOMPARE(ferncastle::followingName(name), next);
}

void TestBatchNames::takenNamesAreSkipped()
{
    QTemporaryDir dir;
    touch(dir.filePath("disk008.dmk"));
    QCOMPARE(nextFreeName(dir.filePath("disk007.dmk")), dir.filePath("disk009.dmk"));
    touch(dir.filePath("disk007-2.dmk"));
    QCOMPARE(retryName(dir.filePath("disk007.dmk")), dir.filePath("disk007-3.dmk"));
}

void TestBatchNames::commandForImageSwapsEveryMention()
{
    ToolCommand read;
    read.chosenFile = QStringLiteral("/box/disk007.dmk");
    read.writtenFiles = {read.chosenFile};
    read.arguments = {QStringLiteral("-d0"), read.chosenFile};
    read.commandLine = QStringLiteral("/tools/cw2dmk -d0 \"/box/disk007.dmk\"");
    const ToolCommand next = commandForImage(read, QStringLiteral("/box/disk008.dmk"));
    QCOMPARE(next.arguments, QStringList({"-d0", "/box/disk008.dmk"}));
    QCOMPARE(next.writtenFiles, QStringList{"/box/disk008.dmk"});
    QCOMPARE(next.commandLine, QStringLiteral("/tools/cw2dmk -d0 \"/box/disk008.dmk\""));
}

void TestBatchNames::catalogStartsWithItsHeaderAndQuotes()
{
    QTemporaryDir dir;
    QCOMPARE(catalog::append(dir.path(), row("a.dmk", "Good")), QString());
    QCOMPARE(catalog::append(dir.path(), row("b,\"c\".dmk", "2 bad sectors,\nsee track 3")),
             QString());
    QCOMPARE(readAll(dir.filePath("catalog.csv")),
             QByteArray("Image file,Started,Command line,Exit status,Verdict,Good sectors,"
                        "Bad sectors,SHA-256,DOS,Disk name,Files,Damaged files\r\n"
                        "a.dmk,2026-03-01T09:30:05,\"cw2dmk -d0 \"\"/box/a.dmk\"\"\",0,Good,718,2,ab12,"
                        "LDOS 5.3,GAMES,14,1\r\n"
                        "\"b,\"\"c\"\".dmk\",2026-03-01T09:30:05,"
                        "\"cw2dmk -d0 \"\"/box/b,\"\"c\"\".dmk\"\"\",0,\"2 bad sectors,\nsee track 3\","
                        "718,2,ab12,LDOS 5.3,GAMES,14,1\r\n"));
}

// A spreadsheet saved it with its own columns and no last line break: the
// rows it holds stay byte for byte, the new row starts a line of its own.
void TestBatchNames::catalogChangedElsewhereIsOnlyAppendedTo()
{
    QTemporaryDir dir;
    const QByteArray edited = "Image file;Notes\nold.dmk;cracked sleeve";
    touch(dir.filePath("catalog.csv"), edited);
    QCOMPARE(catalog::append(dir.path(), row("a.dmk", "Good")), QString());
    const QByteArray now = readAll(dir.filePath("catalog.csv"));
    QVERIFY(now.startsWith(QByteArray(edited + "\r\na.dmk,")));
    QCOMPARE(now.count("Image file"), 1);
}

void TestBatchNames::rowTakesTheColumnsOfTheHeaderOnDisk_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("added");

    QTest::newRow("an older catalog, without the DOS columns")
        << QByteArray("Image file,Started,Command line,Exit status,Verdict,Good sectors,"
                      "Bad sectors,SHA-256\r\n")
        << QByteArray("a.dmk,2026-03-01T09:30:05,\"cw2dmk -d0 \"\"/box/a.dmk\"\"\",0,Good,718,2,"
                      "ab12\r\n");
    QTest::newRow("columns a spreadsheet moved, one of its own, a byte order mark")
        << QByteArray("\xEF\xBB\xBF\"Disk name\",Notes,image file,Files\r\n")
        << QByteArray("GAMES,,a.dmk,14\r\n");
    QTest::newRow("a quoted column holding a comma and a line break is no column of ours")
        << QByteArray("\"Files,\nDOS\",SHA-256\n") << QByteArray(",ab12\r\n");
}

// The file keeps the one shape it has: every new row fits its header.
void TestBatchNames::rowTakesTheColumnsOfTheHeaderOnDisk()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, added);
    QTemporaryDir dir;
    touch(dir.filePath("catalog.csv"), before);
    QCOMPARE(catalog::append(dir.path(), row("a.dmk", "Good")), QString());
    QCOMPARE(readAll(dir.filePath("catalog.csv")), before + added);
}

// Root writes read-only folders, so the folder is a file here.
void TestBatchNames::unwritableCatalogIsSaid()
{
    QTemporaryDir dir;
    touch(dir.filePath("box"));
    const QString error = catalog::append(dir.filePath("box"), row("a.dmk", "Good"));
    QVERIFY(error.startsWith(QStringLiteral("The catalog ")));
    QVERIFY(error.contains(QStringLiteral("could not be written")));
}

QTEST_GUILESS_MAIN(TestBatchNames)
#include "tst_batchnames.moc"
