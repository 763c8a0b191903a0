// The one track grid: what a run's map and an image turn into, and that a
// bad track can be told from a good one without seeing colour.

#include "core/image/imagereader.h"
#include "core/imagewriter.h"
#include "core/run/diskmap.h"
#include "forms/grid/trackgrid.h"
#include "support/fourstateimage.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <set>

using namespace ferncastle;
namespace iw = imagewriter;

Q_DECLARE_METATYPE(ferncastle::CellState)
Q_DECLARE_METATYPE(ferncastle::VerdictKind)

class TestTrackGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void runMapBecomesCells_data();
    void runMapBecomesCells();
    void imageBecomesCells_data();
    void imageBecomesCells();
    void statesDifferInGrey_data();
    void statesDifferInGrey();
    void paintedBadCellDiffersFromGoodInGrey();
    void verdictTextIsReadable_data();
    void verdictTextIsReadable();
    void screenReaderHearsTheBadTracks();
};

namespace {

RunEvent track(RunEventKind kind, int track, int side, int pass = 1, int good = 0, int errors = 0)
{
    RunEvent e(kind);
    e.track = track;
    e.side = side;
    e.pass = pass;
    e.good = good;
    e.errors = errors;
    return e;
}

RunEvent plan(int tracks, int sides)
{
    RunEvent e(RunEventKind::Plan);
    e.tracks = tracks;
    e.sides = sides;
    e.sidesCertain = true;
    return e;
}

// Track 0 read cleanly, badTrack with errors left, the rest not read.
GridModel oneBadTrack(int tracks, int badTrack)
{
    DiskMap map;
    map.apply(plan(tracks, 1));
    map.apply(track(RunEventKind::TrackDone, 0, 0, 1, 10, 0));
    map.apply(track(RunEventKind::TrackDone, badTrack, 0, 4, 7, 3));
    return gridModelOf(map);
}

// Every state a cell of the model is in has its words in the legend.
bool legendCoversCells(const GridModel &model)
{
    for (const GridCell &cell : model.cells)
        if (std::none_of(model.legend.cbegin(), model.legend.cend(),
                         [&](const LegendEntry &entry) { return entry.state == cell.state; }))
            return false;
    return true;
}

QImage greyCell(CellState state, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintCell(painter, image.rect(), state);
    painter.end();
    return image.convertToFormat(QImage::Format_Grayscale8);
}

int greyLevels(const QImage &grey)
{
    std::set<int> levels;
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            levels.insert(qGray(grey.pixel(x, y)));
    return int(levels.size());
}

double luminance(const QColor &colour)
{
    const auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF())
           + 0.0722 * channel(colour.blueF());
}

} // namespace

void TestTrackGrid::runMapBecomesCells_data()
{
    QTest::addColumn<int>("pass");
    QTest::addColumn<int>("good");
    QTest::addColumn<int>("errors");
    QTest::addColumn<CellState>("state");
    QTest::addColumn<QString>("description");
    QTest::newRow("read at once") << 1 << 10 << 0 << CellState::Good
                                  << "Track 1, side 1: read cleanly (10 good, 0 bad)";
    QTest::newRow("read on the third pass") << 3 << 10 << 0 << CellState::Retried
                                            << "Track 1, side 1: read after retries (10 good, 0 bad)";
    QTest::newRow("errors left") << 5 << 8 << 2 << CellState::Bad
                                 << "Track 1, side 1: unrecovered errors (8 good, 2 bad)";
    QTest::newRow("nothing found") << 1 << 0 << 0 << CellState::Unformatted
                                   << "Track 1, side 1: unformatted (0 good, 0 bad)";
}

void TestTrackGrid::runMapBecomesCells()
{
    QFETCH(int, pass);
    QFETCH(int, good);
    QFETCH(int, errors);
    DiskMap map;
    map.apply(plan(3, 2));
    map.apply(track(RunEventKind::TrackStarted, 1, 1, pass));
    map.apply(track(RunEventKind::TrackDone, 1, 1, pass, good, errors));
    map.apply(track(RunEventKind::TrackStarted, 2, 0));

    const GridModel model = gridModelOf(map);
    QCOMPARE(model.tracks, 3);
    QCOMPARE(model.sides, 2);
    QTEST(model.cell(1, 1).state, "state");
    QTEST(model.cell(1, 1).description, "description");
    QCOMPARE(model.cell(0, 0).state, CellState::NotRead);
    QCOMPARE(model.currentTrack, 2);
    QCOMPARE(model.currentSide, 0);
    QVERIFY(legendCoversCells(model));
}

void TestTrackGrid::imageBecomesCells_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("track");
    QTest::addColumn<int>("side");
    QTest::addColumn<CellState>("state");
    QTest::addColumn<QString>("description");
    const QByteArray four = test::fourStateImage();
    QTest::newRow("all sectors good") << four << 0 << 0 << CellState::Good
                                      << "Track 0 side 0: 3 sectors, MFM";
    QTest::newRow("a CRC error") << four << 1 << 0 << CellState::Bad
                                 << "Track 1 side 0: 3 sectors, MFM, 1 bad";
    QTest::newRow("a gap in the ids") << four << 2 << 0 << CellState::Missing
                                      << "Track 2 side 0: 2 sectors, MFM, missing 2";
    QTest::newRow("unformatted") << four << 3 << 0 << CellState::Unformatted
                                 << "Track 3 side 0: no sectors (unformatted or not read)";
    // A double-sided read cut off after side 0 of its last track.
    const QByteArray twoSided = iw::dmk(2, 2, 0x1900, iw::uniform(2, true));
    QTest::newRow("side cut off") << twoSided.first(twoSided.size() - 0x1900) << 1 << 1
                                  << CellState::NotRead << "Track 1 side 1: not in the file";
}

void TestTrackGrid::imageBecomesCells()
{
    QFETCH(QByteArray, image);
    QFETCH(int, track);
    QFETCH(int, side);
    const DiskImage read = readDiskImage(image);
    const GridModel model = gridModelOf(read);
    QCOMPARE(model.tracks, read.geometry.tracks);
    QCOMPARE(model.sides, read.geometry.sides);
    QCOMPARE(model.cells.size(), model.tracks * model.sides);
    QTEST(model.cell(track, side).state, "state");
    QTEST(model.cell(track, side).description, "description");
    QCOMPARE(model.currentTrack, -1);
    QVERIFY(legendCoversCells(model));
}

// Sizes the cells take: a long disk in a narrow run window, an image's
// map, a legend swatch.
void TestTrackGrid::statesDifferInGrey_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("narrow cell") << QSize(4, 17);
    QTest::newRow("wide cell") << QSize(19, 19);
    QTest::newRow("legend swatch") << QSize(13, 13);
}

// In grey, as a reader who cannot tell the hues apart sees them, every
// state still looks unlike every other, and each one that needs attention
// carries a mark rather than a flat colour.
void TestTrackGrid::statesDifferInGrey()
{
    QFETCH(QSize, size);
    const QList<CellState> states{CellState::Good,        CellState::Retried,
                                  CellState::Missing,     CellState::Bad,
                                  CellState::Unformatted, CellState::NotRead};
    for (CellState a : states) {
        if (lookOf(a).notable)
            QVERIFY2(greyLevels(greyCell(a, size)) > 1, qPrintable(QString::number(int(a))));
        for (CellState b : states)
            if (a != b)
                QVERIFY2(greyCell(a, size) != greyCell(b, size),
                         qPrintable(QStringLiteral("%1 and %2").arg(int(a)).arg(int(b))));
    }
}

void TestTrackGrid::paintedBadCellDiffersFromGoodInGrey()
{
    TrackGrid grid;
    grid.setModel(oneBadTrack(2, 1));
    grid.resize(grid.sizeHint());
    const QImage grey = grid.grab().toImage().convertToFormat(QImage::Format_Grayscale8);
    const QImage good = grey.copy(grid.cellRect(0, 0).adjusted(0, 0, -1, -1));
    const QImage bad = grey.copy(grid.cellRect(1, 0).adjusted(0, 0, -1, -1));
    QCOMPARE(greyLevels(good), 1);
    QVERIFY(greyLevels(bad) > 1);
    QVERIFY(good != bad);
}

void TestTrackGrid::verdictTextIsReadable_data()
{
    QTest::addColumn<VerdictKind>("kind");
    QTest::newRow("good") << VerdictKind::Good;
    QTest::newRow("warning") << VerdictKind::Warning;
    QTest::newRow("failure") << VerdictKind::Failure;
    QTest::newRow("crashed") << VerdictKind::Crashed;
    QTest::newRow("stopped") << VerdictKind::Stopped;
}

// The verdict's words on its colour meet the usual 4.5:1 contrast for
// text.
void TestTrackGrid::verdictTextIsReadable()
{
    QFETCH(VerdictKind, kind);
    const VerdictLook look = verdictLookOf(kind);
    const double lighter = std::max(luminance(look.background), luminance(look.text));
    const double darker = std::min(luminance(look.background), luminance(look.text));
    QVERIFY2((lighter + 0.05) / (darker + 0.05) >= 4.5, qPrintable(verdictStyle(kind)));
}

void TestTrackGrid::screenReaderHearsTheBadTracks()
{
    TrackGrid grid;
    grid.setModel(oneBadTrack(40, 20));
    QCOMPARE(grid.accessibleName(), QStringLiteral("Track map"));
    // Tracks not read yet are not problems.
    QCOMPARE(grid.accessibleDescription(),
             QStringLiteral("Tracks with a problem: Track 20, side 0: unrecovered errors "
                            "(7 good, 3 bad)."));
}

QTEST_MAIN(TestTrackGrid)
#include "tst_trackgrid.moc"
