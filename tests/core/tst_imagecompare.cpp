// Two images compared sector by sector: the real tools' conversions of one
// image into another format are equal, and one changed byte, sector, CRC
// or data mark in either is found, once, at its address. The lines it
// prints are checked through the command line (tst_comparecommand).

#include "core/image/imagecompare.h"
#include "core/image/imagereader.h"
#include "support/sharedimages.h"

#include <QTest>

#include <functional>

using namespace ferncastle;
using namespace Qt::StringLiterals;

class TestImageCompare : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void conversionsAreEqual_data();
    void conversionsAreEqual();
    void changesAreFound_data();
    void changesAreFound();
};

namespace {

SectorSource fromBytes(const QByteArray &bytes)
{
    return SectorSource(readDiskImage(bytes), bytes);
}

// The JV3 header entry of a sector (dd40.dsk has one block, in disk order).
int jv3Entry(const QByteArray &jv3, SectorAddress address)
{
    for (int i = 0; i < 2901; ++i) {
        if (quint8(jv3[i * 3]) == address.cylinder && quint8(jv3[i * 3 + 1]) == address.id
            && ((quint8(jv3[i * 3 + 2]) & 0x10) != 0) == (address.side == 1))
            return i;
    }
    qFatal("no such sector in the JV3");
}

// Offsets within dd40.dsk: every sector there is 256 bytes.
qint64 jv3DataOffset(const QByteArray &jv3, SectorAddress address)
{
    return 8704 + qint64(jv3Entry(jv3, address)) * 256;
}

using Change = std::function<void(QByteArray &dmk, QByteArray &jv3)>;

struct Expected
{
    SectorAddress address;
    SectorDifferenceKind kind;
    int firstDifferentByte;
    bool statusDiffers;
};

} // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(Expected)

void TestImageCompare::conversionsAreEqual_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("sectors");
    QTest::newRow("FM DMK and the JV1 it came from")
        << u"m1sssd35.dmk"_s << u"m1sssd35.dsk"_s << 350;
    QTest::newRow("JV3 and the DMK made of it") << u"dd40.dsk"_s << u"dd40.dmk"_s << 720;
    QTest::newRow("CRC errors kept both ways") << u"crcflag.dmk.gz"_s << u"crcflag.dsk.gz"_s
                                               << 720;
    QTest::newRow("DMK with bad data and dmk2jv3's JV3 of it")
        << u"dd40-badcrc.dmk"_s << u"dmk2jv3-badcrc/produced/out.dsk.gz"_s << 720;
    QTest::newRow("two sides, stale pointers in the DMK")
        << u"sides40.dmk.gz"_s << u"sides40.dsk.gz"_s << 1080;
    QTest::newRow("an image and itself") << u"ds80.dmk.gz"_s << u"ds80.dmk.gz"_s << 2880;
    QTest::newRow("a real JV3 disk and itself") << u"xtrs-utility.dsk"_s
                                                << u"xtrs-utility.dsk"_s << 800;
}

void TestImageCompare::conversionsAreEqual()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(int, sectors);
    const QByteArray a = test::sharedImage(first);
    const QByteArray b = test::sharedImage(second);
    if (a.isEmpty() || b.isEmpty())
        QSKIP("the shared sample images are not here (FERNCASTLE_SHARED_DIR)");
    const ImageComparison comparison = compareImages(fromBytes(a), fromBytes(b));
    for (const SectorDifference &d : comparison.differences)
        qWarning("%s", qPrintable(describeDifference(d, u"A"_s, u"B"_s)));
    QVERIFY(comparison.equal());
    QCOMPARE(comparison.sameSectors, sectors);
    QCOMPARE(comparison.firstSectors, sectors);
    QCOMPARE(comparison.secondSectors, sectors);
}

// dd40.dmk against the JV3 it was made from, one change made to either.
void TestImageCompare::changesAreFound_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<Expected>("expected");
    using Kind = SectorDifferenceKind;
    QTest::newRow("one data byte flipped in the JV3")
        << Change([](QByteArray &, QByteArray &jv3) {
               jv3[jv3DataOffset(jv3, {7, 0, 4}) + 16] ^= 0x01;
           })
        << Expected{{7, 0, 4}, Kind::Differs, 16, false};
    QTest::newRow("last data byte flipped in the DMK")
        << Change([](QByteArray &dmk, QByteArray &) {
               const SectorSource source = fromBytes(dmk); // the read points into it
               dmk[source.sector({39, 0, 17}).info->dataOffset + 255] ^= char(0x80);
           })
        << Expected{{39, 0, 17}, Kind::Differs, 255, true}; // its CRC no longer fits
    QTest::newRow("a sector dropped from the DMK's pointer table")
        << Change([](QByteArray &dmk, QByteArray &) {
               // Track 5's last pointer (entry 17, sector 17 in 2:1 order).
               const qint64 entry = 16 + 5 * 0x1900 + 17 * 2;
               dmk[entry] = 0;
               dmk[entry + 1] = 0;
           })
        << Expected{{5, 0, 17}, Kind::OnlyInSecond, -1, false};
    QTest::newRow("a sector freed in the JV3")
        << Change([](QByteArray &, QByteArray &jv3) {
               // A free entry of a 256-byte slot, so the data after it stays put.
               jv3.replace(jv3Entry(jv3, {0, 0, 3}) * 3, 3, QByteArray(3, char(0xFF)));
           })
        << Expected{{0, 0, 3}, Kind::OnlyInFirst, -1, false};
    QTest::newRow("a CRC error flagged in the JV3")
        << Change([](QByteArray &, QByteArray &jv3) {
               jv3[jv3Entry(jv3, {12, 0, 3}) * 3 + 2] |= 0x08;
           })
        << Expected{{12, 0, 3}, Kind::Differs, -1, true};
    QTest::newRow("a deleted data mark in the JV3")
        << Change([](QByteArray &, QByteArray &jv3) {
               jv3[jv3Entry(jv3, {20, 0, 9}) * 3 + 2] |= 0x20;
           })
        << Expected{{20, 0, 9}, Kind::Differs, -1, true};
}

void TestImageCompare::changesAreFound()
{
    QFETCH(Change, change);
    QFETCH(Expected, expected);
    QByteArray dmk = test::sharedImage(u"dd40.dmk"_s);
    QByteArray jv3 = test::sharedImage(u"dd40.dsk"_s);
    if (dmk.isEmpty() || jv3.isEmpty())
        QSKIP("the shared sample images are not here (FERNCASTLE_SHARED_DIR)");
    change(dmk, jv3);
    const ImageComparison comparison = compareImages(fromBytes(dmk), fromBytes(jv3));
    QCOMPARE(comparison.differences.size(), 1);
    const SectorDifference &found = comparison.differences.constFirst();
    QCOMPARE(found.address, expected.address);
    QCOMPARE(found.kind, expected.kind);
    QCOMPARE(found.firstDifferentByte, expected.firstDifferentByte);
    QCOMPARE(found.statusDiffers(), expected.statusDiffers);
    // The same difference seen from the other side.
    const ImageComparison reversed = compareImages(fromBytes(jv3), fromBytes(dmk));
    QCOMPARE(reversed.differences.size(), 1);
    QCOMPARE(reversed.differences.constFirst().address, expected.address);
}

QTEST_GUILESS_MAIN(TestImageCompare)
#include "tst_imagecompare.moc"
