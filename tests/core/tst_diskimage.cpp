// The image reader against images built by an independent writer: one row
// per format feature, then damaged images, then every cut of an image.

#include "core/image/crc16.h"
#include "core/image/imageprobe.h"
#include "core/image/imagereader.h"
#include "core/image/findinggroups.h"
#include "core/image/imagereport.h"
#include "imagewriter.h"

#include <QTemporaryDir>
#include <QTest>

using namespace ferncastle;
namespace iw = imagewriter;

Q_DECLARE_METATYPE(ferncastle::ImageFormat)
Q_DECLARE_METATYPE(ferncastle::FindingKind)

class TestDiskImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void crcWorkedValues();
    void readsFormatFeatures_data();
    void readsFormatFeatures();
    void reportsDamage_data();
    void reportsDamage();
    void reportNamesSizesAndBadSectors_data();
    void reportNamesSizesAndBadSectors();
    void trackRangesJoinRuns_data();
    void trackRangesJoinRuns();
    void repeatedFindingsGroupByKind();
    void survivesEveryCut_data();
    void survivesEveryCut();
    void refusesLargeJunkFromItsSize();
};

namespace {

// "t.s DENSITY: tokens" per track, joined by " | ".
QString layout(const DiskImage &image)
{
    QStringList tracks;
    for (const TrackInfo &track : image.tracks) {
        QStringList tokens;
        for (const SectorInfo &sector : track.sectors)
            tokens.append(sectorToken(sector));
        static const char *names[] = {"empty", "FM", "MFM", "mixed"};
        tracks.append(QStringLiteral("%1.%2 %3: %4")
                          .arg(track.track)
                          .arg(track.side)
                          .arg(QLatin1String(names[int(track.density())]))
                          .arg(tokens.join(QLatin1Char(' '))));
    }
    return tracks.join(QStringLiteral(" | "));
}

iw::TrackPlan plan(std::initializer_list<iw::Sector> sectors)
{
    const QList<iw::Sector> list(sectors);
    return [list](int, int) { return list; };
}

iw::Sector mfm(quint8 id, quint8 sizeCode = 1)
{
    return {0, 0, id, sizeCode, true};
}

iw::Sector fm(quint8 id, quint8 sizeCode = 1)
{
    return {0, 0, id, sizeCode, false};
}

template<typename Change>
iw::Sector with(iw::Sector s, Change change)
{
    change(s);
    return s;
}

QList<FindingKind> kinds(const DiskImage &image)
{
    QList<FindingKind> result;
    for (const Finding &f : image.findings)
        result.append(f.kind);
    return result;
}

void setPointer(QByteArray &image, int block, int trackLength, int entry, int value)
{
    const int at = 16 + block * trackLength + entry * 2;
    image[at] = char(value & 0xFF);
    image[at + 1] = char(value >> 8);
}

int pointer(const QByteArray &image, int block, int trackLength, int entry)
{
    const int at = 16 + block * trackLength + entry * 2;
    return quint8(image[at]) | (quint8(image[at + 1]) << 8);
}

// Every good sector's data in the file is the writer's fill pattern.
bool dataWhereReported(const DiskImage &image, const QByteArray &bytes, int fmStep)
{
    for (const TrackInfo &track : image.tracks) {
        for (const SectorInfo &s : track.sectors) {
            if (!s.good() || s.idOffset < 0)
                continue;
            const int step = s.encoding == Recording::MFM ? 1 : fmStep;
            const iw::Sector written{s.cylinder, s.head, s.sectorId, s.sizeCode, true};
            for (int i = 0; i < s.dataSize; ++i) {
                if (quint8(bytes[s.dataOffset + qint64(i) * step]) != iw::fill(written, i))
                    return false;
            }
        }
    }
    return true;
}

} // namespace

void TestDiskImage::crcWorkedValues()
{
    quint16 crc = crc16::initial;
    for (quint8 b : {0xFE, 0x00, 0x00, 0x00, 0x01})
        crc = crc16::update(crc, b);
    QCOMPARE(crc, quint16(0xF1D3));
    crc = crc16::afterMfmPremarks;
    for (quint8 b : {0xFE, 0x00, 0x00, 0x00, 0x01})
        crc = crc16::update(crc, b);
    QCOMPARE(crc, quint16(0xC93D));
}

void TestDiskImage::readsFormatFeatures_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<ImageFormat>("format");
    QTest::addColumn<int>("tracks");
    QTest::addColumn<int>("sides");
    QTest::addColumn<QString>("expected");

    QTest::newRow("DMK FM, bytes doubled")
        << iw::dmk(2, 1, 0x0CC0, iw::uniform(3, false)) << ImageFormat::Dmk << 2 << 1
        << "0.0 FM: 0 1 2 | 1.0 FM: 0 1 2";
    QTest::newRow("DMK FM, bytes stored once")
        << iw::dmk(1, 1, 0x0CC0, iw::uniform(3, false), 0x40) << ImageFormat::Dmk << 1 << 1
        << "0.0 FM: 0 1 2";
    QTest::newRow("DMK MFM, 18 sectors")
        << iw::dmk(1, 1, 0x1900, iw::uniform(18, true)) << ImageFormat::Dmk << 1 << 1
        << "0.0 MFM: 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17";
    QTest::newRow("DMK mixed density track")
        << iw::dmk(1, 1, 0x1900, plan({fm(1), fm(2), mfm(3), mfm(4)})) << ImageFormat::Dmk << 1
        << 1 << "0.0 mixed: 1 2 3 4";
    QTest::newRow("DMK double-sided")
        << iw::dmk(2, 2, 0x1900, iw::uniform(2, true, 1, 1)) << ImageFormat::Dmk << 2 << 2
        << "0.0 MFM: 1 2 | 0.1 MFM: 1 2 | 1.0 MFM: 1 2 | 1.1 MFM: 1 2";
    QTest::newRow("DMK deleted data marks, FM and MFM")
        << iw::dmk(1, 1, 0x1900,
                   plan({with(fm(1), [](auto &s) { s.dam = 0xF8; }), with(fm(2), [](auto &s) {
                             s.dam = 0xFA;
                         }), with(mfm(3), [](auto &s) { s.dam = 0xF8; })}))
        << ImageFormat::Dmk << 1 << 1 << "0.0 mixed: 1D 2 3D";
    QTest::newRow("DMK CRC error in ID and in data, missing data mark")
        << iw::dmk(1, 1, 0x1900,
                   plan({with(mfm(1), [](auto &s) { s.badIdCrc = true; }),
                         with(mfm(2), [](auto &s) { s.badDataCrc = true; }),
                         with(fm(3), [](auto &s) { s.badDataCrc = true; }),
                         with(mfm(4), [](auto &s) { s.noDam = true; }), mfm(5)}))
        << ImageFormat::Dmk << 1 << 1 << "0.0 mixed: 1! 2? 3? 4- 5";
    QTest::newRow("DMK 128 to 1024-byte sectors")
        << iw::dmk(1, 1, 0x2940, plan({mfm(0, 0), mfm(1, 1), mfm(2, 2), mfm(3, 3), fm(4, 3)}))
        << ImageFormat::Dmk << 1 << 1 << "0.0 mixed: 0 1 2 3 4";
    QTest::newRow("DMK unformatted track")
        << iw::dmk(2, 1, 0x1900, [](int t, int) {
               return t == 0 ? QList<iw::Sector>{mfm(1)} : QList<iw::Sector>{};
           }) << ImageFormat::Dmk << 2 << 1 << "0.0 MFM: 1 | 1.0 empty: ";

    QTest::newRow("JV3 FM and MFM, sides, DAMs, CRC flag")
        << iw::jv3({{0, 1, 0x01}, {0, 2, 0x01 | 0x60}, {0, 3, 0x01 | 0x20}, {0, 4, 0x81 | 0x20},
                    {0, 5, 0x81 | 0x10}, {1, 1, 0x81 | 0x08}})
        << ImageFormat::Jv3 << 2 << 2 << "0.0 mixed: 1 2D 3 4D | 0.1 MFM: 5 | 1.0 MFM: 1? | 1.1 empty: ";
    QTest::newRow("JV3 128 to 1024-byte sectors")
        << iw::jv3({{0, 0, 0x01}, {0, 1, 0x00}, {0, 2, 0x03}, {0, 3, 0x02}}) << ImageFormat::Jv3
        << 1 << 1 << "0.0 FM: 0 1 2 3";
    QList<iw::Jv3Entry> many;
    for (int i = 0; i < 3000; ++i)
        many.append({quint8(i / 30), quint8(i % 30), 0x81});
    QTest::newRow("JV3 with a second header block")
        << iw::jv3(many) << ImageFormat::Jv3 << 100 << 1 << "";
    QTest::newRow("JV1 35 tracks") << iw::jv1(35) << ImageFormat::Jv1 << 35 << 1 << "";
    QTest::newRow("JV1 40 tracks") << iw::jv1(40) << ImageFormat::Jv1 << 40 << 1 << "";
    QTest::newRow("JV1 80 tracks") << iw::jv1(80) << ImageFormat::Jv1 << 80 << 1 << "";
}

void TestDiskImage::readsFormatFeatures()
{
    QFETCH(QByteArray, bytes);
    QFETCH(ImageFormat, format);
    QFETCH(int, tracks);
    QFETCH(int, sides);
    QFETCH(QString, expected);

    const DiskImage image = readDiskImage(bytes);
    QCOMPARE(image.format, format);
    QCOMPARE(image.geometry.tracks, tracks);
    QCOMPARE(image.geometry.sides, sides);
    QVERIFY2(image.findings.isEmpty(), qPrintable(imageReport(image, QStringLiteral("row"))));
    if (!expected.isEmpty())
        QCOMPARE(layout(image), expected);
    const int fmStep = (quint8(bytes[4]) & 0x40) ? 1 : 2;
    if (format == ImageFormat::Dmk)
        QVERIFY(dataWhereReported(image, bytes, fmStep));
    for (const TrackInfo &track : image.tracks) {
        for (const SectorInfo &sector : track.sectors) {
            QCOMPARE(sector.dataSize, 128 << (sector.sizeCode & 3));
            QCOMPARE(sector.head, quint8(track.side));
            QVERIFY(sector.dataOffset + sector.dataSize <= bytes.size());
        }
    }
    if (format == ImageFormat::Jv1) {
        QCOMPARE(image.sectorCount(), tracks * 10);
        QCOMPARE(image.track(17, 0)->sectors.first().dataMark, quint8(0xFA));
        QCOMPARE(image.track(16, 0)->sectors.first().dataMark, quint8(0xFB));
        QCOMPARE(image.track(tracks - 1, 0)->sectors.last().dataOffset, bytes.size() - 256);
    }
    if (format == ImageFormat::Jv3 && image.sectorCount() == 3000) {
        // The second block's first sector sits right after that block.
        const SectorInfo &s = image.track(96, 0)->sectors.at(21);
        QCOMPARE(s.entry, 2901);
        QCOMPARE(s.dataOffset, 8704 + 2901 * 128 + 8704);
    }
}

void TestDiskImage::reportsDamage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<ImageFormat>("format");
    QTest::addColumn<QList<FindingKind>>("expected");
    QTest::addColumn<QString>("trackLayout"); // of the whole image, or empty

    const int len = 0x1900;
    const QByteArray two = iw::dmk(2, 1, len, iw::uniform(3, true));

    QByteArray outside = two;
    setPointer(outside, 0, len, 1, 0x8000 | len);
    setPointer(outside, 1, len, 0, 0x8000 | 0x40);
    QTest::newRow("DMK pointers outside the track")
        << outside << ImageFormat::Dmk
        << QList<FindingKind>{FindingKind::PointerOutsideTrack, FindingKind::PointerOutsideTrack}
        << "0.0 MFM: 0 2 | 1.0 MFM: 1 2";

    QByteArray offMark = two;
    setPointer(offMark, 1, len, 1, pointer(offMark, 1, len, 1) + 3);
    QTest::newRow("DMK pointer not on an ID mark")
        << offMark << ImageFormat::Dmk << QList<FindingKind>{FindingKind::PointerNotOnIdMark}
        << "0.0 MFM: 0 1 2 | 1.0 MFM: 0 2";

    // jv2dmk leaves the longer track's pointers after the shorter track's
    // own: some land in data, some on its IDAMs again.
    QByteArray stale = iw::dmk(1, 2, len, [](int, int s) {
        return iw::uniform(s == 0 ? 6 : 3, true)(0, s);
    });
    for (int entry = 3; entry < 6; ++entry)
        setPointer(stale, 1, len, entry, pointer(stale, 0, len, entry));
    setPointer(stale, 1, len, 5, pointer(stale, 1, len, 1));
    QTest::newRow("DMK stale pointers from a longer track")
        << stale << ImageFormat::Dmk
        << QList<FindingKind>{FindingKind::PointerNotOnIdMark, FindingKind::PointerNotOnIdMark,
                              FindingKind::DuplicatePointer}
        << "0.0 MFM: 0 1 2 3 4 5 | 0.1 MFM: 0 1 2";

    QTest::newRow("DMK header claims more tracks than present")
        << two.first(16 + len) << ImageFormat::Dmk
        << QList<FindingKind>{FindingKind::MissingTracks} << "0.0 MFM: 0 1 2";
    QTest::newRow("DMK cut inside a sector")
        << two.first(16 + len + 0x200) << ImageFormat::Dmk
        << QList<FindingKind>{FindingKind::MissingTracks, FindingKind::Truncated,
                              FindingKind::Truncated}
        << "0.0 MFM: 0 1 2 | 1.0 MFM: 0 1<";
    QTest::newRow("DMK trailing bytes")
        << two + QByteArray(100, 'x') << ImageFormat::Dmk
        << QList<FindingKind>{FindingKind::TrailingBytes} << "";
    QTest::newRow("DMK duplicate sector ids")
        << iw::dmk(1, 1, len, plan({mfm(1), mfm(2), mfm(1)})) << ImageFormat::Dmk
        << QList<FindingKind>{FindingKind::DuplicateSector} << "0.0 MFM: 1 2 1";
    QTest::newRow("DMK ID fields of another cylinder")
        << iw::dmk(2, 1, len, plan({mfm(1)})) << ImageFormat::Dmk
        << QList<FindingKind>{FindingKind::CylinderMismatch} << "";

    QByteArray zeroLength = two;
    zeroLength[2] = zeroLength[3] = 0;
    QTest::newRow("DMK zero track length") << zeroLength << ImageFormat::Unknown
                                           << QList<FindingKind>{} << "";
    QTest::newRow("DMK cut inside the header")
        << two.first(10) << ImageFormat::Unknown << QList<FindingKind>{} << "";

    const QByteArray jv3 = iw::jv3({{0, 1, 0x80}, {0, 2, 0x80}, {1, 1, 0x80}});
    QTest::newRow("JV3 cut inside a sector")
        << jv3.first(jv3.size() - 5) << ImageFormat::Jv3
        << QList<FindingKind>{FindingKind::Truncated} << "0.0 MFM: 1 2 | 1.0 MFM: 1<";
    QTest::newRow("JV3 duplicate sector ids")
        << iw::jv3({{0, 1, 0x80}, {0, 1, 0x80}}) << ImageFormat::Jv3
        << QList<FindingKind>{FindingKind::DuplicateSector} << "";
    QTest::newRow("JV1 part of a track")
        << iw::jv1(3).first(2560 * 2 + 256 * 4) << ImageFormat::Jv1
        << QList<FindingKind>{FindingKind::Truncated} << "";
    QTest::newRow("JV1 boot sector that reads like a DMK header")
        << QByteArray("\x00\xFE", 2) + iw::jv1(35).mid(2) << ImageFormat::Jv1
        << QList<FindingKind>{} << "";
    QTest::newRow("nothing") << QByteArray() << ImageFormat::Unknown << QList<FindingKind>{}
                             << "";
    QTest::newRow("text") << QByteArray("hello, world\n") << ImageFormat::Unknown
                          << QList<FindingKind>{} << "";
}

void TestDiskImage::reportsDamage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(ImageFormat, format);
    QFETCH(QList<FindingKind>, expected);
    QFETCH(QString, trackLayout);

    const DiskImage image = readDiskImage(bytes);
    const QString report = imageReport(image, QStringLiteral("row"));
    QCOMPARE(image.format, format);
    QCOMPARE(kinds(image), expected);
    if (!trackLayout.isEmpty())
        QCOMPARE(layout(image), trackLayout);
    if (format == ImageFormat::Unknown)
        QVERIFY2(!image.refusal.isEmpty() && image.tracks.isEmpty(), qPrintable(report));
    else
        QCOMPARE(imageVerdict(image),
                 expected.isEmpty() ? ImageVerdict::Clean : ImageVerdict::Flawed);
}

void TestDiskImage::reportNamesSizesAndBadSectors_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("trackLine");
    QTest::addColumn<QString>("badSectors");
    QTest::newRow("256-byte sectors need no note")
        << iw::dmk(1, 1, 0x1900, plan({mfm(1), mfm(2)})) << "MFM    2: 1 2"
        << "Bad sectors: none";
    QTest::newRow("512-byte sectors")
        << iw::dmk(1, 1, 0x1900, plan({mfm(1, 2), mfm(2, 2)}))
        << "MFM    2: 1 2  (512-byte sectors)" << "Bad sectors: none";
    QTest::newRow("sizes mixed on one track")
        << iw::dmk(1, 1, 0x1900, plan({mfm(1, 0), mfm(2, 1)}))
        << "MFM    2: 1 2  (sector sizes 128, 256)" << "Bad sectors: none";
    QTest::newRow("each fault named, one line a sector")
        << iw::dmk(1, 1, 0x1900,
                   plan({with(mfm(1), [](auto &s) { s.badIdCrc = true; }),
                         with(mfm(2), [](auto &s) { s.badDataCrc = true; }),
                         with(mfm(3), [](auto &s) { s.noDam = true; }), mfm(4)}))
        << "MFM    4: 1! 2? 3- 4"
        << "Bad sector: track 0 side 0 id 1: ID CRC error\n"
           "Bad sector: track 0 side 0 id 2: data CRC error\n"
           "Bad sector: track 0 side 0 id 3: no data mark";
}

// The track line names sizes other than 256 bytes; the report ends with the
// bad sectors, one a line.
void TestDiskImage::reportNamesSizesAndBadSectors()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, trackLine);
    QFETCH(QString, badSectors);
    const QString report = imageReport(readDiskImage(bytes), QStringLiteral("row"));
    QVERIFY2(report.contains(QStringLiteral("Track  0 side 0 ") + trackLine + u'\n'),
             qPrintable(report));
    QVERIFY2(report.endsWith(u'\n' + badSectors + u'\n'), qPrintable(report));
}

void TestDiskImage::trackRangesJoinRuns_data()
{
    QTest::addColumn<QList<int>>("tracks");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << QList<int>{} << "";
    QTest::newRow("one") << QList<int>{7} << "7";
    QTest::newRow("a run") << QList<int>{0, 1, 2, 3} << "0-3";
    QTest::newRow("runs and singles") << QList<int>{0, 1, 3, 5, 6, 7, 39} << "0-1, 3, 5-7, 39";
}

void TestDiskImage::trackRangesJoinRuns()
{
    QFETCH(QList<int>, tracks);
    QFETCH(QString, text);
    QCOMPARE(trackRanges(tracks), text);
}

// A fault repeated on every track is one line with its count and tracks;
// a kind seen once keeps its own sentence.
void TestDiskImage::repeatedFindingsGroupByKind()
{
    const QByteArray bytes = iw::dmk(4, 1, 0x1900, [](int track, int) {
        QList<iw::Sector> sectors{mfm(1), mfm(2)};
        if (track != 2)
            sectors.append(mfm(1));
        return sectors;
    });
    const DiskImage image = readDiskImage(bytes.first(bytes.size() - 10));
    // Two kinds once each (the cut), and two repeated: ids repeated on three
    // tracks, and every ID field naming cylinder 0.
    const QList<FindingGroup> groups = groupFindings(image.findings);
    const QString report = imageReport(image, QStringLiteral("row"));
    QVERIFY2(groups.size() == 4, qPrintable(report));
    QCOMPARE(image.findings.size(), 8);
    const auto repeated = std::find_if(groups.cbegin(), groups.cend(), [](const auto &g) {
        return g.kind == FindingKind::DuplicateSector;
    });
    QVERIFY(repeated != groups.cend());
    QCOMPARE(repeated->instances.size(), 3);
    QCOMPARE(repeated->tracks, (QList<int>{0, 1, 3}));
    QVERIFY2(report.contains(u"\nFinding: " + image.findings.first().text + u'\n'),
             qPrintable(report));
    QVERIFY2(report.contains(u": 3, tracks 0-1, 3\n"), qPrintable(report));
    QCOMPARE(report.count(QStringLiteral("Finding: ")), 4);
}

void TestDiskImage::survivesEveryCut_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("DMK FM and MFM, two sides")
        << iw::dmk(2, 2, 0x0D00, plan({fm(1), mfm(2, 3), fm(3, 0)}));
    QList<iw::Jv3Entry> entries;
    for (int i = 0; i < 2950; ++i)
        entries.append({quint8(i / 30), quint8(i % 30), 0x01});
    QTest::newRow("JV3 two blocks") << iw::jv3(entries);
}

// Every length from nothing to the whole: whatever the reader makes of it,
// no sector it calls complete may reach past the end, and a cut image
// must not pass for a clean one.
void TestDiskImage::survivesEveryCut()
{
    QFETCH(QByteArray, bytes);
    const ImageFormat whole = readDiskImage(bytes).format;
    for (qsizetype length = 0; length < bytes.size(); length += 1 + length / 32) {
        const QByteArrayView cut = QByteArrayView(bytes).first(length);
        const DiskImage image = readDiskImage(cut);
        for (const TrackInfo &track : image.tracks) {
            for (const SectorInfo &s : track.sectors) {
                if (s.complete && s.dataOffset >= 0)
                    QVERIFY(s.dataOffset + s.dataSize <= length);
            }
        }
        if (image.format == whole && length > 0)
            QVERIFY2(imageVerdict(image) != ImageVerdict::Clean, qPrintable(QString::number(length)));
    }
}

void TestDiskImage::refusesLargeJunkFromItsSize()
{
    QTemporaryDir dir;
    QFile junk(dir.filePath(QStringLiteral("junk.bin")));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    QVERIFY(junk.resize(100 * 1024 * 1024));
    junk.close();
    const DiskImage image = readDiskImageFile(junk.fileName());
    QCOMPARE(image.format, ImageFormat::Unknown);
    QVERIFY(image.refusal.contains(QStringLiteral("larger than any")));
    QCOMPARE(image.fileSize, 100 * 1024 * 1024);

    const DiskImage missing = readDiskImageFile(dir.filePath(QStringLiteral("nosuch.dmk")));
    QCOMPARE(missing.format, ImageFormat::Unknown);
    QVERIFY(missing.refusal.contains(QStringLiteral("could not be opened")));
}

QTEST_GUILESS_MAIN(TestDiskImage)
#include "tst_diskimage.moc"
