#include "core/dos/doslook.h"
#include "core/dos/dosdirectory.h"
#include "core/image/imagereader.h"
#include "support/samplerun.h"

#include <QTest>

using namespace ferncastle;

Q_DECLARE_METATYPE(LookKind)

class TestDosLook : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void looks_data();
    void looks();
    void filesOnTheRealDisk_data();
    void filesOnTheRealDisk();
};

void TestDosLook::looks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<LookKind>("kind");
    QTest::addColumn<QString>("text");

    // Level II BASIC as SAVE writes it: 0xFF, then per line the next line's
    // address, the line number and the tokens, ending at a zero address.
    static const char basicBytes[] = "\xFF"
                           "\x10\x68\x0A\x00\xB2 \"HELLO\"\x00"
                           "\x20\x68\x14\x00\x8F A \xCA 10 \x3A\x95 20\x00"
                           "\x30\x68\x1E\x00\x8D 10 \x3A\x93\xFB GOTO is kept\x00"
                           "\x40\x68\x28\x00\xB2 \"\xB2\"\x3A\x93 \xB2\x00"
                           "\x00\x00";
    const QByteArray basic(basicBytes, sizeof basicBytes - 1);
    QTest::newRow("BASIC")
        << basic << LookKind::BasicListing
        << "10 PRINT \"HELLO\"\n20 IF A THEN 10 ELSE 20\n30 GOTO 10 ' GOTO is kept\n"
           "40 PRINT \"?\":REM ?\n";
    QTest::newRow("BASIC whose lines go backwards is no BASIC")
        << QByteArray("\xFF\x10\x68\x14\x00\x80\x00\x20\x68\x0A\x00\x80\x00\x00\x00", 15)
        << LookKind::HexDump << "";
    // A load module: a name, one block of three bytes, one of 256, the entry.
    static const char moduleBytes[] = "\x05\x06HELLO \x01\x05\x00\x52\xAA\xBB\xCC\x01\x02\x00\x60";
    QByteArray module(moduleBytes, sizeof moduleBytes - 1);
    module += QByteArray(256, char(0x11)) + QByteArray("\x02\x02\x00\x52", 4);
    QTest::newRow("load module")
        << module << LookKind::LoadModule
        << "Module HELLO\nLoad block 5200-5202 (3 bytes)\nLoad block 6000-60FF (256 bytes)\n"
           "Entry address 5200\n";
    QTest::newRow("a load module cut short is no module")
        << module.first(module.size() - 4) << LookKind::HexDump << "";
    QTest::newRow("text with CR line ends")
        << QByteArray("10 REM\rDIR :0\r") << LookKind::Text << "10 REM\nDIR :0\n";
    QTest::newRow("binary") << QByteArray("AB\x00\x01\x80", 5) << LookKind::HexDump
                            << "0000  41 42 00 01 80" + QString(11 * 3 + 1, u' ') + "  |AB...|";
}

void TestDosLook::looks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(LookKind, kind);
    QFETCH(QString, text);

    const FileLook look = lookInside(bytes);
    QCOMPARE(look.kind, kind);
    if (!text.isEmpty())
        QCOMPARE(look.text, text);
}

void TestDosLook::filesOnTheRealDisk_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<LookKind>("kind");
    QTest::addColumn<QString>("start");

    QTest::newRow("a /CMD file") << "CD/CMD" << LookKind::LoadModule << "Load block";
    QTest::newRow("BASIC kept as text") << "EXPALL/BAS" << LookKind::Text << "";
    QTest::newRow("a job file") << "DO6/JCL" << LookKind::Text << "";
}

void TestDosLook::filesOnTheRealDisk()
{
    QFETCH(QString, name);
    QFETCH(LookKind, kind);
    QFETCH(QString, start);

    const QByteArray image = test::readWhole(QStringLiteral(FIXTURES_DIR "/dos/xtrs-utility.dsk"));
    const SectorSource source(readDiskImage(image), image);
    const DosDirectory directory = readDosDirectory(source);
    for (const DosFile &file : directory.files) {
        if (file.dosName() != name)
            continue;
        const FileLook look = lookInside(fileBytes(source, file));
        QCOMPARE(look.kind, kind);
        QVERIFY(look.text.startsWith(start));
        QVERIFY(!look.text.contains(u'\r'));
        return;
    }
    QFAIL("no such file");
}

QTEST_GUILESS_MAIN(TestDosLook)
#include "tst_doslook.moc"
