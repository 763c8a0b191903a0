// The dump of a sector, read back, gives the sector's bytes: real images'
// sectors through the sector source, and the heading names what went wrong
// with a bad one.

#include "core/image/imagereader.h"
#include "core/image/sectordump.h"
#include "core/image/sectorsource.h"
#include "support/sharedimages.h"

#include <QTest>

using namespace ferncastle;
using namespace Qt::StringLiterals;

class TestSectorDump : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dumpReadsBack_data();
    void dumpReadsBack();
    void shortLastLineKeepsColumns();
    void badSectorHeading();
};

namespace {

SectorSource sharedSource(const QString &name)
{
    const QByteArray bytes = test::sharedImage(name);
    return SectorSource(readDiskImage(bytes), bytes);
}

// The bytes the hex column names, line by line, checking each line's offset
// and that its ASCII column matches its hex.
QByteArray readBack(const QString &dump)
{
    QByteArray bytes;
    const QStringList lines = dump.split(u'\n');
    for (const QString &line : lines) {
        const qsizetype bar = line.indexOf(u'|');
        if (line.left(4).toInt(nullptr, 16) != bytes.size() || bar < 0)
            return "bad offset or no ASCII column: " + line.toLatin1();
        QByteArray lineBytes;
        for (const QString &hex : line.mid(5, bar - 5).split(u' ', Qt::SkipEmptyParts))
            lineBytes.append(char(hex.toInt(nullptr, 16)));
        QString ascii;
        for (char byte : lineBytes)
            ascii += (quint8(byte) >= 0x20 && quint8(byte) < 0x7F) ? QChar(u'\0' + quint8(byte)) : u'.';
        if (line.mid(bar) != u'|' + ascii + u'|')
            return "ASCII column differs: " + line.toLatin1();
        bytes += lineBytes;
    }
    return bytes;
}

} // namespace

void TestSectorDump::dumpReadsBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("cylinder");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("id");
    QTest::newRow("LDOS boot sector") << u"ld1-531.dsk"_s << 0 << 0 << 0;
    QTest::newRow("LDOS directory, names in ASCII") << u"ld1-531.dsk"_s << 17 << 0 << 2;
    QTest::newRow("FM DMK, bytes stored doubled") << u"m1sssd35.dmk"_s << 20 << 0 << 5;
    QTest::newRow("MFM DMK") << u"dd40.dmk"_s << 17 << 0 << 3;
    QTest::newRow("JV3 side 1") << u"sides40.dsk.gz"_s << 10 << 1 << 4;
}

void TestSectorDump::dumpReadsBack()
{
    QFETCH(QString, name);
    QFETCH(int, cylinder);
    QFETCH(int, side);
    QFETCH(int, id);
    const SectorSource source = sharedSource(name);
    if (!source.image().isImage())
        QSKIP("the shared sample images are not here (FERNCASTLE_SHARED_DIR)");
    const SectorRead read = source.sector({cylinder, side, id});
    QVERIFY(read.found());
    QVERIFY(!read.data.isEmpty());
    const QString dump = hexDump(read.data);
    QCOMPARE(dump.count(u'\n') + 1, (read.data.size() + 15) / 16);
    QCOMPARE(readBack(dump), read.data);
}

void TestSectorDump::shortLastLineKeepsColumns()
{
    const QByteArray bytes = QByteArray("LDOS 5.3.1 boot\x00\xFF", 17) + QByteArray(4, 'x');
    const QStringList lines = hexDump(bytes).split(u'\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[1].indexOf(u'|'), lines[0].indexOf(u'|'));
    QCOMPARE(readBack(lines.join(u'\n')), bytes);
    QVERIFY(hexDump({}).isEmpty());
}

void TestSectorDump::badSectorHeading()
{
    const SectorSource source = sharedSource(u"dd40-badcrc.dmk"_s);
    if (!source.image().isImage())
        QSKIP("the shared sample images are not here (FERNCASTLE_SHARED_DIR)");
    for (const TrackInfo &track : source.image().tracks) {
        for (const SectorInfo &sector : track.sectors) {
            if (sector.good())
                continue;
            const QString heading = sectorHeading(track, sector, source.data(sector).size());
            QVERIFY2(heading.contains(u"CRC bad") || heading.contains(u"no data mark"),
                     qPrintable(heading));
            QVERIFY(heading.startsWith(u"Track %1 side %2, sector %3 "_s.arg(track.track)
                                           .arg(track.side)
                                           .arg(sector.sectorId)));
            return;
        }
    }
    QFAIL("the sample with CRC errors has no bad sector");
}

QTEST_GUILESS_MAIN(TestSectorDump)
#include "tst_sectordump.moc"
