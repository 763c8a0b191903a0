// A sector's bytes by address, checked against bytes known without the
// reader: file slices of JV images, the writer's fill pattern, and the
// real tools' conversions of one image into another format.

#include "core/image/imagereader.h"
#include "core/image/sectorsource.h"
#include "imagewriter.h"
#include "support/sharedimages.h"

#include <QTest>

using namespace ferncastle;
using namespace Qt::StringLiterals;
namespace iw = imagewriter;

Q_DECLARE_METATYPE(ferncastle::SectorAddress)

class TestSectorSource : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void jv1SectorIsFileSlice_data();
    void jv1SectorIsFileSlice();
    void conversionHoldsSameBytes_data();
    void conversionHoldsSameBytes();
    void madeImages_data();
    void madeImages();
};

namespace {

SectorSource fromBytes(const QByteArray &bytes)
{
    return SectorSource(readDiskImage(bytes), bytes);
}

QByteArray filled(const iw::Sector &sector, int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(iw::fill(sector, i));
    return bytes;
}

// The track block moved round by shift bytes, its pointers with it, as if
// the index hole had passed elsewhere: what lay at the block's start now
// continues past its end.
QByteArray turned(const QByteArray &image, int trackLength, int shift)
{
    QByteArray out = image.left(16);
    const int body = trackLength - 128;
    for (qsizetype start = 16; start < image.size(); start += trackLength) {
        const QByteArray block = image.mid(start, trackLength);
        QByteArray table = block.left(128);
        for (int entry = 0; entry < 64; ++entry) {
            const int pointer = quint8(table[entry * 2]) | quint8(table[entry * 2 + 1]) << 8;
            if (pointer == 0)
                break;
            const int moved = 128 + ((pointer & 0x3FFF) - 128 + shift) % body;
            table[entry * 2] = char(moved & 0xFF);
            table[entry * 2 + 1] = char(((pointer & 0xC000) | moved) >> 8);
        }
        const QByteArray rest = block.mid(128);
        out += table + rest.right(shift) + rest.left(body - shift);
    }
    return out;
}

QByteArray cutInsideData(const QByteArray &image, SectorAddress address, int keep)
{
    // The read points into its source: keep the source while it is used.
    const SectorSource source = fromBytes(image);
    const SectorRead read = source.sector(address);
    return image.left(read.info->dataOffset + keep);
}

} // namespace

void TestSectorSource::jv1SectorIsFileSlice_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("cylinder");
    QTest::addColumn<int>("id");
    QTest::newRow("LDOS boot sector") << u"ld1-531.dsk"_s << 0 << 0;
    QTest::newRow("LDOS directory track") << u"ld1-531.dsk"_s << 17 << 3;
    QTest::newRow("LDOS last sector") << u"ld1-531.dsk"_s << 34 << 9;
    QTest::newRow("tools' JV1, middle") << u"m1sssd35.dsk"_s << 20 << 5;
}

void TestSectorSource::jv1SectorIsFileSlice()
{
    QFETCH(QString, name);
    QFETCH(int, cylinder);
    QFETCH(int, id);
    const QByteArray bytes = test::sharedImage(name);
    if (bytes.isEmpty())
        QSKIP("the shared sample images are not here (FERNCASTLE_SHARED_DIR)");
    const SectorRead read = fromBytes(bytes).sector({cylinder, 0, id});
    QVERIFY(read.found());
    QCOMPARE(read.data, bytes.mid((cylinder * 10 + id) * 256, 256));
}

// Every sector of the JV image is in the DMK the tools made of it (or that
// it was made from), with the same bytes and status.
void TestSectorSource::conversionHoldsSameBytes_data()
{
    QTest::addColumn<QString>("jv");
    QTest::addColumn<QString>("dmk");
    QTest::addColumn<int>("sectors");
    QTest::newRow("JV1 to FM DMK, bytes doubled") << u"m1sssd35.dsk"_s << u"m1sssd35.dmk"_s << 350;
    QTest::newRow("JV3 two sides, stale pointers on side 1")
        << u"sides40.dsk.gz"_s << u"sides40.dmk.gz"_s << 1080;
}

void TestSectorSource::conversionHoldsSameBytes()
{
    QFETCH(QString, jv);
    QFETCH(QString, dmk);
    QFETCH(int, sectors);
    const QByteArray jvBytes = test::sharedImage(jv);
    const QByteArray dmkBytes = test::sharedImage(dmk);
    if (jvBytes.isEmpty() || dmkBytes.isEmpty())
        QSKIP("the shared sample images are not here (FERNCASTLE_SHARED_DIR)");
    const SectorSource jvSource = fromBytes(jvBytes);
    const SectorSource dmkSource = fromBytes(dmkBytes);
    int checked = 0;
    for (const TrackInfo &track : jvSource.image().tracks) {
        for (const SectorInfo &sector : track.sectors) {
            const SectorAddress address{track.track, track.side, sector.sectorId};
            const SectorRead there = dmkSource.sector(address);
            QVERIFY2(there.found(), qPrintable(u"%1.%2.%3"_s.arg(address.cylinder)
                                                   .arg(address.side).arg(address.id)));
            QCOMPARE(there.data, jvSource.data(sector));
            QCOMPARE(there.data.size(), sector.dataSize);
            QCOMPARE(there.good(), sector.good());
            ++checked;
        }
    }
    QCOMPARE(checked, sectors);
}

void TestSectorSource::madeImages_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<SectorAddress>("address");
    QTest::addColumn<QByteArray>("data"); // null: not found

    const iw::Sector c3s1id4{3, 1, 4, 1, true};
    const QByteArray ds = iw::dmk(5, 2, 0x1900, iw::uniform(10, true));
    QTest::newRow("DMK side 1") << ds << SectorAddress{3, 1, 4} << filled(c3s1id4, 256);
    QTest::newRow("DMK id not on the track") << ds << SectorAddress{3, 1, 10} << QByteArray();
    QTest::newRow("DMK cylinder beyond the image") << ds << SectorAddress{5, 0, 1} << QByteArray();
    QTest::newRow("DMK side beyond the image") << ds << SectorAddress{1, 2, 1} << QByteArray();

    const iw::Sector fm2{2, 0, 7, 1, false};
    const QByteArray fmDoubled = iw::dmk(3, 1, 0x1900, iw::uniform(10, false));
    QTest::newRow("FM bytes doubled") << fmDoubled << SectorAddress{2, 0, 7} << filled(fm2, 256);
    const QByteArray fmOnce = iw::dmk(3, 1, 0x0D00, iw::uniform(10, false), 0x40);
    QTest::newRow("FM bytes stored once") << fmOnce << SectorAddress{2, 0, 7} << filled(fm2, 256);
    const iw::Sector first{1, 0, 0, 1, true};
    QTest::newRow("MFM data past the block's end")
        << turned(iw::dmk(2, 1, 0x1900, iw::uniform(5, true)), 0x1900, 0x1900 - 128 - 149)
        << SectorAddress{1, 0, 0} << filled(first, 256);
    const iw::Sector fmFirst{1, 0, 0, 1, false};
    QTest::newRow("FM doubled data past the block's end")
        << turned(iw::dmk(2, 1, 0x1900, iw::uniform(5, false)), 0x1900, 0x1900 - 128 - 149)
        << SectorAddress{1, 0, 0} << filled(fmFirst, 256);
    const iw::Sector last{1, 0, 4, 1, true};
    QTest::newRow("DMK cut inside the data")
        << cutInsideData(iw::dmk(2, 1, 0x1900, iw::uniform(5, true)), {1, 0, 4}, 100)
        << SectorAddress{1, 0, 4} << filled(last, 100);
    QTest::newRow("FM DMK cut inside the data")
        << cutInsideData(iw::dmk(2, 1, 0x1900, iw::uniform(5, false)), {1, 0, 4}, 101)
        << SectorAddress{1, 0, 4} << filled({1, 0, 4, 1, false}, 51);

    // Flags: MFM, side bit, size bits (0: 256 bytes, 3: 512).
    const QByteArray jv3 = iw::jv3({{0, 1, 0x80}, {0, 2, 0x90}, {1, 7, 0x83}});
    QTest::newRow("JV3 side 1") << jv3 << SectorAddress{0, 1, 2} << QByteArray(256, '2');
    QTest::newRow("JV3 512-byte sector") << jv3 << SectorAddress{1, 0, 7} << QByteArray(512, '7');
    QTest::newRow("JV3 cut inside the last sector")
        << jv3.chopped(500) << SectorAddress{1, 0, 7} << QByteArray(12, '7');
    QTest::newRow("JV3 sector not there") << jv3 << SectorAddress{0, 0, 2} << QByteArray();
}

void TestSectorSource::madeImages()
{
    QFETCH(QByteArray, image);
    QFETCH(SectorAddress, address);
    QFETCH(QByteArray, data);
    const SectorRead read = fromBytes(image).sector(address);
    QCOMPARE(read.found(), !data.isNull());
    QCOMPARE(read.data, data);
}

QTEST_GUILESS_MAIN(TestSectorSource)
#include "tst_sectorsource.moc"
