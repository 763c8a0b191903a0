#include "core/run/runanalysis.h"

#include <QRandomGenerator>
#include <QTest>

#include <climits>

using namespace ferncastle;

class TestDiskMap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linesNamingNoDiskTrackChangeNothing_data();
    void linesNamingNoDiskTrackChangeNothing();
    void anyEventStaysInsideTheMap();
};

void TestDiskMap::linesNamingNoDiskTrackChangeNothing_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QByteArray>("output");

    QTest::newRow("dmk2jv3, huge track")
        << "dmk2jv3" << QByteArray("Track 2000000, side 1, sector: 1\n[Error: x]\n");
    QTest::newRow("dmk2jv3, side 7")
        << "dmk2jv3" << QByteArray("Track 255, side 7, sector: 1\n[Error: x]\n");
    QTest::newRow("dmk2cw, progress past the map")
        << "dmk2cw" << QByteArray("Track 256, side 0\rTrack 2000000, side 1\rTrack 3, side 9\r"
                                  "Some data did not fit on track 99999, side 5\n");
    QTest::newRow("cw2dmk, track and side past the map")
        << "cw2dmk" << QByteArray("Track 999999999, side 0, pass 1: 10 good sectors, 0 errors\n"
                                  "Track 1, side 2, pass 1: 10 good sectors, 3 errors\n");
    QTest::newRow("jv2dmk, sector lines past the map")
        << "jv2dmk" << QByteArray("track 300 side 0: 1 2 3\ntrack 2, side 4, sector 1: size 256, "
                                  "dden, dam fb crc error\n");
}

// Every cell a line names past 255 tracks or 2 sides is ignored: the map
// never grows past a disk, nor is anything written beyond it.
void TestDiskMap::linesNamingNoDiskTrackChangeNothing()
{
    QFETCH(QString, tool);
    QFETCH(QByteArray, output);
    for (qsizetype chunk : {qsizetype(1), qsizetype(5), output.size()}) {
        RunAnalysis run(tool);
        for (qsizetype from = 0; from < output.size(); from += chunk)
            run.feed(OutputStream::Stdout, QByteArrayView(output).sliced(from, std::min(chunk, output.size() - from)));
        run.finish(RunEnd{});
        QVERIFY(run.map().tracks() <= 256);
        QVERIFY(run.map().sides() <= 2);
        QCOMPARE(run.map().cell(255, 1).errors, 0);
    }
}

// Whatever numbers a parser hands on, no event writes outside the map;
// the sanitizer build catches any that does.
void TestDiskMap::anyEventStaysInsideTheMap()
{
    const QList<RunEventKind> kinds = {RunEventKind::Plan, RunEventKind::TrackStarted,
                                       RunEventKind::TrackDone, RunEventKind::TrackWritten,
                                       RunEventKind::TrackProblem, RunEventKind::TracksLimited,
                                       RunEventKind::SingleSided};
    const QList<int> numbers = {-1, 0, 1, 2, 7, 79, 254, 255, 256, 257, 2000000, INT_MAX, INT_MIN};
    QRandomGenerator random(24);
    DiskMap map;
    for (int round = 0; round < 20000; ++round) {
        RunEvent event{kinds.at(random.bounded(int(kinds.size())))};
        event.track = numbers.at(random.bounded(int(numbers.size())));
        event.side = numbers.at(random.bounded(int(numbers.size())));
        event.tracks = numbers.at(random.bounded(int(numbers.size())));
        event.sides = numbers.at(random.bounded(int(numbers.size())));
        event.errors = 1;
        map.apply(event);
        QVERIFY(map.tracks() >= 0 && map.tracks() <= 256);
        QVERIFY(map.sides() >= 0 && map.sides() <= 2);
        if (round % 997 == 0)
            map.finish(round % 2 == 0);
    }
    QCOMPARE(map.cell(256, 0).state, RunTrackState::NotRead);
    QCOMPARE(map.cell(0, 2).state, RunTrackState::NotRead);
}

QTEST_GUILESS_MAIN(TestDiskMap)
#include "tst_diskmap.moc"
