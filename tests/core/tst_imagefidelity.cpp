// For every sample image the shared folder holds with a `dmk2jv3 -v2`
// listing beside it, the reader must find the sector ids in the same order
// and the same CRC-error marks ("?") as the real tool.

#include "core/image/imagereader.h"
#include "core/image/imagereport.h"
#include "support/samplerun.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

using namespace ferncastle;

class TestImageFidelity : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void matchesDmk2jv3Listing_data();
    void matchesDmk2jv3Listing();
};

namespace {

// The input as the run's `files` record saw it before the run: its size and
// first 16 bytes. It may sit in files/ (perhaps gzipped) or be another
// run's product (the interrupted image is one).
QByteArray findInput(const QDir &root, const QString &caseName, const QString &name)
{
    QFile record(root.filePath(caseName + QStringLiteral("/files")));
    if (!record.open(QIODevice::ReadOnly))
        return {};
    const QString before = QString::fromUtf8(record.readAll()).section(QStringLiteral("# after"), 0, 0);
    const QRegularExpression line(QStringLiteral("^%1\\s+(\\d+)\\s+((?:[0-9a-f]{2} ?){16})")
                                      .arg(QRegularExpression::escape(name)),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = line.match(before);
    if (!m.hasMatch())
        return {};
    const qint64 size = m.captured(1).toLongLong();
    const QByteArray head = QByteArray::fromHex(m.captured(2).toLatin1());
    QStringList candidates{root.filePath(QStringLiteral("files/") + name),
                           root.filePath(QStringLiteral("files/") + name + QStringLiteral(".gz"))};
    for (const QString &dir : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QString &file : QDir(root.filePath(dir + QStringLiteral("/produced"))).entryList(QDir::Files))
            candidates.append(root.filePath(dir + QStringLiteral("/produced/") + file));
    for (const QString &path : std::as_const(candidates)) {
        if (!QFile::exists(path))
            continue;
        const QByteArray bytes = test::readUnpacked(path);
        if (bytes.size() == size && bytes.startsWith(head))
            return bytes;
    }
    return {};
}

struct Listing
{
    int tracks = -1, sides = -1, trackLength = -1;
    QList<QPair<QPair<int, int>, QStringList>> lines; // (track, side) -> tokens
    bool endOfFile = false;
};

// The tool prints its bracketed messages in the middle of a sector list,
// each ending its line; without them every track is one line again.
Listing parseListing(const QString &text)
{
    Listing listing;
    const QRegularExpression geometry(
        QStringLiteral("\\[tracks=(\\d+), sides=(\\d+), .*tracklen=0x([0-9a-f]+)\\]"));
    if (const auto m = geometry.match(text); m.hasMatch()) {
        listing.tracks = m.captured(1).toInt();
        listing.sides = m.captured(2).toInt();
        listing.trackLength = m.captured(3).toInt(nullptr, 16);
    }
    listing.endOfFile = text.contains(QLatin1String("[End of file on input]"));
    QString plain = text;
    plain.remove(QRegularExpression(QStringLiteral("\\[[^\\]\\n]*\\]\\n?")));
    const QRegularExpression trackLine(QStringLiteral("^Track (\\d+), side (\\d+), sector:(.*)$"));
    for (const QString &line : plain.split(QLatin1Char('\n'))) {
        const auto m = trackLine.match(line);
        if (m.hasMatch())
            listing.lines.append({{m.captured(1).toInt(), m.captured(2).toInt()}, {}});
        if (line.contains(QLatin1String("total errors")) || listing.lines.isEmpty())
            continue;
        const QString sectors = m.hasMatch() ? m.captured(3) : line;
        listing.lines.last().second += sectors.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    return listing;
}

// What dmk2jv3 lists for a track: the reader's sectors, plus the stale
// pointers that repeat one of them. dmk2jv3 follows every pointer that
// lands on 0xFE, so it lists such a sector twice; the reader reads it once
// and reports the repeat as a finding. Merging the findings back in by
// table entry makes that difference explicit instead of hiding it.
QStringList asDmk2jv3Lists(const DiskImage &image, const TrackInfo &track)
{
    QMap<int, QString> byEntry;
    for (const SectorInfo &s : track.sectors)
        byEntry.insert(s.entry, QString::number(s.sectorId) + (s.good() ? "" : "?"));
    for (const Finding &f : image.findings) {
        if (f.kind == FindingKind::DuplicatePointer && f.track == track.track
            && f.side == track.side)
            byEntry.insert(f.entry, byEntry.value(track.sectors.at(f.sameAs).entry));
    }
    return byEntry.values();
}

} // namespace

void TestImageFidelity::matchesDmk2jv3Listing_data()
{
    QTest::addColumn<QString>("caseName");
    if (test::toolOutputDir().isEmpty())
        QSKIP("the shared tool output is not there");
    const QDir root(test::toolOutputDir());
    int rows = 0;
    for (const QString &dir : root.entryList({QStringLiteral("dmk2jv3-*")}, QDir::Dirs)) {
        QFile command(root.filePath(dir + QStringLiteral("/command")));
        if (command.open(QIODevice::ReadOnly)
            && QString::fromUtf8(command.readAll()).split(QLatin1Char('\n')).contains(QLatin1String("-v2"))) {
            QTest::newRow(qPrintable(dir)) << dir;
            ++rows;
        }
    }
    if (rows == 0)
        QSKIP("no dmk2jv3 -v2 listing in the shared tool output");
}

void TestImageFidelity::matchesDmk2jv3Listing()
{
    QFETCH(QString, caseName);
    const QDir root(test::toolOutputDir());
    QFile command(root.filePath(caseName + QStringLiteral("/command")));
    QVERIFY(command.open(QIODevice::ReadOnly));
    const QStringList argv = QString::fromUtf8(command.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const auto input = std::find_if(argv.cbegin() + 1, argv.cend(),
                                    [](const QString &a) { return !a.startsWith(QLatin1Char('-')); });
    QVERIFY(input != argv.cend());
    const QByteArray bytes = findInput(root, caseName, *input);
    QVERIFY2(!bytes.isEmpty(), qPrintable(QStringLiteral("input not found: ") + *input));
    QFile out(root.filePath(caseName + QStringLiteral("/stdout")));
    QVERIFY(out.open(QIODevice::ReadOnly));
    const Listing listing = parseListing(QString::fromUtf8(out.readAll()));
    QVERIFY(!listing.lines.isEmpty());

    const DiskImage image = readDiskImage(bytes);
    QCOMPARE(image.format, ImageFormat::Dmk);
    QCOMPARE(image.geometry.headerTracks, listing.tracks);
    QCOMPARE(image.geometry.sides, listing.sides);
    QCOMPARE(image.geometry.trackLength, listing.trackLength);
    for (const auto &[place, tokens] : listing.lines) {
        const TrackInfo *track = image.track(place.first, place.second);
        QVERIFY2(track, qPrintable(QStringLiteral("track %1 side %2 missing").arg(place.first).arg(place.second)));
        QCOMPARE(asDmk2jv3Lists(image, *track), tokens);
    }
    // The reader goes one block further than dmk2jv3 only into the block
    // the file cuts short, which dmk2jv3 skips as "End of file".
    QCOMPARE(image.tracks.size() - listing.lines.size() > 0, listing.endOfFile && !image.tracks.last().complete);
    QVERIFY(image.tracks.size() - listing.lines.size() <= 1);
}

QTEST_GUILESS_MAIN(TestImageFidelity)
#include "tst_imagefidelity.moc"
