#include "core/cardcheck/cardmessages.h"
#include "core/run/runanalysis.h"
#include "support/samplerun.h"

#include <QHash>
#include <QTest>

using namespace ferncastle;
using test::SampleRun;

namespace {

enum class Chunks { Whole, Lines, Bytes };

// Everything a run window would show from a run, in comparable form.
struct Outcome {
    QStringList lines;
    QString map; // "35x1 CCRU..." one letter per track and side
    VerdictKind kind = VerdictKind::Good;
    QString sentence;
    QString affected; // "5:0:1 20:0:2" track:side:sectors
    QString cardFix;
    bool operator==(const Outcome &) const = default;
};

QList<QByteArrayView> split(const QByteArray &bytes, Chunks chunks)
{
    QList<QByteArrayView> pieces;
    if (chunks == Chunks::Whole) {
        pieces.append(bytes);
        return pieces;
    }
    qsizetype from = 0;
    while (from < bytes.size()) {
        qsizetype to = from + 1;
        if (chunks == Chunks::Lines) {
            const qsizetype newline = bytes.indexOf('\n', from);
            to = newline < 0 ? bytes.size() : newline + 1;
        }
        pieces.append(QByteArrayView(bytes).sliced(from, to - from));
        from = to;
    }
    return pieces;
}

QChar letter(RunTrackState state)
{
    switch (state) {
    case RunTrackState::Clean: return u'C';
    case RunTrackState::AfterRetries: return u'R';
    case RunTrackState::Unrecovered: return u'U';
    case RunTrackState::Unformatted: return u'F';
    case RunTrackState::NotInImage: return u'N';
    case RunTrackState::NotRead: break;
    }
    return u'.';
}

QString mapText(const DiskMap &map)
{
    QString text = QStringLiteral("%1x%2 ").arg(map.tracks()).arg(map.sides());
    for (int track = 0; track < map.tracks(); ++track)
        for (int side = 0; side < map.sides(); ++side)
            text += letter(map.cell(track, side).state);
    return text;
}

RunEnd endOf(const SampleRun &run)
{
    RunEnd end;
    end.how = run.signalled() ? RunEnd::How::Signalled : RunEnd::How::Exited;
    end.code = run.signalled() ? run.status - 128 : run.status;
    end.stoppedByUser = run.interrupted;
    return end;
}

Outcome analyse(const SampleRun &run, Chunks chunks)
{
    RunAnalysis analysis(run.tool());
    Outcome outcome;
    const auto keep = [&](const QList<ShownLine> &lines) {
        for (const ShownLine &line : lines)
            outcome.lines.append(line.text);
    };
    for (const QByteArrayView piece : split(run.out, chunks))
        keep(analysis.feed(OutputStream::Stdout, piece));
    for (const QByteArrayView piece : split(run.err, chunks))
        keep(analysis.feed(OutputStream::Stderr, piece));
    keep(analysis.finish(endOf(run)));
    outcome.map = mapText(analysis.map());
    outcome.kind = analysis.verdict().kind;
    outcome.sentence = analysis.verdict().sentence;
    QStringList affected;
    for (const AffectedTrack &bad : analysis.verdict().affected)
        affected.append(QStringLiteral("%1:%2:%3").arg(bad.track).arg(bad.side).arg(bad.errors));
    outcome.affected = affected.join(u' ');
    outcome.cardFix = analysis.summary().cardFix;
    return outcome;
}

// "35x1 " then the fill letter for every cell but the exceptions.
QString grid(int tracks, int sides, QChar fill, const QHash<int, QChar> &exceptions = {})
{
    QString text = QStringLiteral("%1x%2 ").arg(tracks).arg(sides);
    for (int cell = 0; cell < tracks * sides; ++cell)
        text += exceptions.value(cell, fill);
    return text;
}

struct Expected {
    VerdictKind kind;
    const char *fragment;
    QString map;
    const char *affected = "";
    bool cardFix = false;
};

// What each captured run must come to; the figures are the README's.
QHash<QString, Expected> expectations()
{
    using K = VerdictKind;
    const QString none = grid(0, 0, u'.');
    const QString clean35 = grid(35, 1, u'C');
    const QString damaged = grid(35, 1, u'C', {{5, u'U'}, {12, u'R'}, {20, u'U'}, {30, u'R'}});
    const QString dd40 = grid(40, 1, u'C');
    return {
        {"cw2dmk-no-arguments", {K::Failure, "cw2dmk failed (exit status 1)", none}},
        {"cw2dmk-no-card-root-no-ioports", {K::Failure, "): No access to I/O ports", none, "", true}},
        {"cw2dmk-no-card-user", {K::Failure, "Must be setuid to root", none, "", true}},
        {"cw2dmk-replay-clean", {K::Good, "35 good tracks, 350 good sectors, no errors.", clean35}},
        {"cw2dmk-replay-clean-v0", {K::Warning, "without its Totals", none}},
        {"cw2dmk-replay-clean-v1", {K::Good, "35 good tracks, 350 good sectors", none}},
        {"cw2dmk-replay-clean-v3", {K::Good, "35 good tracks, 350 good sectors", clean35}},
        {"cw2dmk-replay-clean-v4", {K::Good, "35 good tracks, 350 good sectors", clean35}},
        {"cw2dmk-replay-damaged", {K::Warning, "3 unrecovered errors in 2 bad tracks: track 5 side 0 (1 sector), track 20 side 0 (2 sectors); 33 good tracks, 347 good sectors.", damaged, "5:0:1 20:0:2"}},
        {"cw2dmk-replay-damaged-paced", {K::Warning, "3 unrecovered errors", damaged, "5:0:1 20:0:2"}},
        {"cw2dmk-replay-damaged-v3", {K::Warning, "3 unrecovered errors", damaged, "5:0:1 20:0:2"}},
        {"cw2dmk-replay-log-to-file", {K::Good, "35 good tracks", none}},
        {"cw2dmk-replay-mfm-40", {K::Good, "40 good tracks, 720 good sectors, no errors.", dd40}},
        {"cw2dmk-replay-missing-log", {K::Failure, "Failed to open 'nosuch.log'", none}},
        {"cw2dmk-replay-only-35-tracks", {K::Good, "35 good tracks", clean35}},
        {"cw2dmk-replay-only-35-tracks-v3", {K::Good, "35 good tracks", clean35}},
        {"cw2dmk-replay-restart-single-sided", {K::Good, "40 good tracks, 711 good sectors", dd40}},
        {"cw2dmk-replay-restart-single-sided-v3", {K::Good, "711 good sectors", dd40}},
        {"cw2dmk-replay-v7-one-track", {K::Good, "1 good track, 10 good sectors, no errors.", grid(1, 1, u'C')}},
        {"cw2dmk-replay-with-x", {K::Failure, "does not support options", none}},
        {"cw2dmk-replay-without-k", {K::Failure, "requires -k option", none}},
        {"cw2dmk-sigint", {K::Stopped, "Stopped by you after 21 cylinders, both sides, and side 0 of cylinder 21.", QString()}},
        {"cw2dmk-sigint-paced", {K::Stopped, "Stopped by you after 14 tracks.", grid(15, 1, u'.', [] {
             QHash<int, QChar> done;
             for (int track = 0; track < 14; ++track)
                 done.insert(track, u'C');
             return done;
         }())}},
        {"dmk2cw-missing-input-root-no-ioports", {K::Failure, "No access to I/O ports", none, "", true}},
        {"dmk2cw-missing-input-user", {K::Failure, "dmk2cw failed (exit status 1): Must be setuid", none, "", true}},
        {"dmk2cw-no-card-root-no-ioports", {K::Failure, "No access to I/O ports", none, "", true}},
        {"dmk2cw-no-card-user", {K::Failure, "Must be setuid", none, "", true}},
        {"dmk2cw-no-card-user-v1", {K::Failure, "Must be setuid", none, "", true}},
        {"dmk2cw-no-card-user-v2", {K::Failure, "Must be setuid", none, "", true}},
        {"dmk2jv3-badcrc", {K::Good, "0 total errors, 0 total warnings (dmk2jv3 does not count data CRC errors", none}},
        {"dmk2jv3-badcrc-v2", {K::Warning, "bad sectors on track 7 side 0 (1 sector), track 19 side 0 (1 sector).", grid(40, 1, u'C', {{7, u'U'}, {19, u'U'}}), "7:0:1 19:0:1"}},
        {"dmk2jv3-crcflag-v2", {K::Warning, "track 3 side 0 (1 sector), track 21 side 0 (1 sector)", grid(40, 1, u'C', {{3, u'U'}, {21, u'U'}}), "3:0:1 21:0:1"}},
        {"dmk2jv3-fm-v2", {K::Good, "0 total errors, 0 total warnings.", clean35}},
        {"dmk2jv3-good", {K::Good, "0 total errors, 0 total warnings", none}},
        {"dmk2jv3-good-v0", {K::Warning, "without its error count", none}},
        {"dmk2jv3-good-v2", {K::Good, "0 total errors, 0 total warnings.", dd40}},
        {"dmk2jv3-interrupted-image-v2", {K::Warning, "120 total errors, 60 total warnings; bad sectors on track 0 side 1", QString(), "0:1:10 1:0:10 1:1:10 2:0:10 2:1:10 3:0:10 3:1:10 4:0:10 4:1:10 5:0:10 5:1:10 6:0:92"}},
        {"dmk2jv3-missing-input", {K::Failure, "nosuch.dmk: No such file or directory", none}},
        {"dmk2jv3-no-arguments", {K::Failure, "dmk2jv3 failed (exit status 1)", none}},
        {"dmk2jv3-not-dmk", {K::Failure, "File is not in DMK format", none}},
        {"dmk2jv3-one-name-existing-dsk", {K::Good, "0 total errors", none}},
        {"dmk2jv3-one-name-same-as-input", {K::Warning, "the input ended early (40 times)", none}},
        {"dmk2jv3-stale-idam-v2", {K::Warning, "0 total errors, 1 total warning", grid(40, 2, u'C')}},
        {"jv2dmk-bad-option", {K::Failure, "jv2dmk failed (exit status 2)", none}},
        {"jv2dmk-jv1", {K::Warning, "unchecked", none}},
        {"jv2dmk-jv1-v1", {K::Good, "jv2dmk converted 35 tracks", clean35}},
        {"jv2dmk-jv1-v2", {K::Good, "jv2dmk converted 35 tracks", clean35}},
        {"jv2dmk-jv1-without-j1", {K::Crashed, "jv2dmk crashed (signal 11).", none}},
        {"jv2dmk-jv3", {K::Warning, "unchecked", none}},
        {"jv2dmk-jv3-crcflag-v2", {K::Warning, "track 3 side 0 (1 sector), track 21 side 0 (1 sector)", grid(40, 1, u'C', {{3, u'U'}, {21, u'U'}}), "3:0:1 21:0:1"}},
        {"jv2dmk-jv3-fewer-sectors-v1", {K::Good, "jv2dmk converted 40 cylinders, both sides", grid(40, 2, u'C')}},
        {"jv2dmk-missing-input", {K::Failure, "nosuch.dsk: No such file or directory", none}},
        {"jv2dmk-one-name-existing-dmk", {K::Warning, "unchecked", none}},
        {"jv2dmk-one-name-same-as-input", {K::Crashed, "signal 11", none}},
        {"jv2dmk-too-long-track", {K::Failure, "jv2dmk failed (exit status 1): Physical track 0 too long by 2216 bytes", none}},
    };
}

} // namespace

class TestRunAnalysis : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everySampleReadsAlikeInAnyChunks_data() { everySample(); }
    void everySampleReadsAlikeInAnyChunks();
    void everySampleComesToItsVerdict_data() { everySample(); }
    void everySampleComesToItsVerdict();
    void exitStatusAloneIsNeverGood_data() { everySample(); }
    void exitStatusAloneIsNeverGood();
    void dmk2cwPlansFromTheImageHeader_data();
    void dmk2cwPlansFromTheImageHeader();
    void formatsTheCapturesDoNotShow_data();
    void formatsTheCapturesDoNotShow();

private:
    void everySample();
};

void TestRunAnalysis::everySample()
{
    QTest::addColumn<QString>("folder");
    const QString dir = test::toolOutputDir();
    if (dir.isEmpty())
        QSKIP("the captured tool runs (shared/tool-output) are not there");
    for (const QString &folder : SampleRun::folders(dir))
        QTest::newRow(qPrintable(QDir(folder).dirName())) << folder;
}

void TestRunAnalysis::everySampleReadsAlikeInAnyChunks()
{
    QFETCH(QString, folder);
    const SampleRun run = SampleRun::load(folder);
    const Outcome whole = analyse(run, Chunks::Whole);
    QCOMPARE(analyse(run, Chunks::Lines), whole);
    QCOMPARE(analyse(run, Chunks::Bytes), whole);
    // No byte is lost: the lines hold all the text of both streams.
    QString text = QString::fromLatin1(run.out + run.err);
    text.remove(u'\r');
    QCOMPARE(whole.lines.join(QString()).size(), text.size() - text.count(u'\n'));
}

void TestRunAnalysis::everySampleComesToItsVerdict()
{
    QFETCH(QString, folder);
    const SampleRun run = SampleRun::load(folder);
    const auto expected = expectations().value(run.name);
    if (!expectations().contains(run.name))
        QSKIP("a new capture: only the general rules apply to it");
    const Outcome outcome = analyse(run, Chunks::Whole);
    QCOMPARE(outcome.kind, expected.kind);
    QVERIFY2(outcome.sentence.contains(QLatin1String(expected.fragment)), qPrintable(outcome.sentence));
    if (!expected.map.isNull())
        QCOMPARE(outcome.map, expected.map);
    QCOMPARE(outcome.affected, QLatin1String(expected.affected));
    QCOMPARE(!outcome.cardFix.isEmpty(), expected.cardFix);
}

// Whatever a capture holds, a non-zero status or a signal never reads as
// good, and no tool reaches good without a report of its own.
void TestRunAnalysis::exitStatusAloneIsNeverGood()
{
    QFETCH(QString, folder);
    const SampleRun run = SampleRun::load(folder);
    const Outcome outcome = analyse(run, Chunks::Whole);
    if (run.status != 0)
        QVERIFY(outcome.kind != VerdictKind::Good);
    if (run.out.trimmed().isEmpty())
        QVERIFY(outcome.kind != VerdictKind::Good);
}

void TestRunAnalysis::dmk2cwPlansFromTheImageHeader_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<int>("planned");

    const QByteArray ds80("\x00\x50\x80\x19\x00\x00\0\0\0\0\0\0\0\0\0\0", 16);
    QByteArray ss35 = ds80;
    ss35[1] = 35;
    ss35[4] = 0x10;
    QByteArray protectedImage = ss35;
    protectedImage[0] = char(0xFF);
    QByteArray realDrive = ds80;
    realDrive[12] = 0x12;
    QByteArray badProtect = ds80;
    badProtect[0] = 0x01;
    QTest::newRow("80 tracks, two sides") << ds80 << 160;
    QTest::newRow("35 tracks, one side") << ss35 << 35;
    QTest::newRow("write-protected") << protectedImage << 35;
    // Otherwise only the tool's own lines size the map.
    QTest::newRow("real-drive marker") << realDrive << 2;
    QTest::newRow("write-protect byte neither 00 nor FF") << badProtect << 2;
    QTest::newRow("shorter than a header") << ds80.left(15) << 2;
}

void TestRunAnalysis::dmk2cwPlansFromTheImageHeader()
{
    QFETCH(QByteArray, header);
    QFETCH(int, planned);
    RunAnalysis analysis(QStringLiteral("dmk2cw"));
    analysis.planFromDmkHeader(header);
    analysis.feed(OutputStream::Stdout, "Track 0, side 0\rTrack 1, side 0\r");
    QCOMPARE(analysis.map().cellsPlanned(), planned);
    QCOMPARE(analysis.map().cellsDone(), 1);
}

// Line formats the tools' sources print that no captured run shows.
void TestRunAnalysis::formatsTheCapturesDoNotShow_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("map");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("fragment");

    const QByteArray clean = "\nTotals:\n1 good track, 10 good sectors (10 FM + 0 MFM + 0 RX02)\n"
                             "0 bad tracks, 0 unrecovered errors, 1 retry\n";
    QTest::newRow("cw2dmk -S counts")
        << "cw2dmk"
        << "Track 0, side 0, pass 1:[9/10 good, 1 error]\nTrack 0, side 0, pass 2: 10 good sectors, 0 errors\n"
               + clean
        << 0 << "1x1 R" << int(VerdictKind::Good) << "1 good track, 10 good sectors, no errors.";
    QTest::newRow("cw2dmk -j reused")
        << "cw2dmk" << "Track 0, side 0, pass 1: 10 good sectors (2 reused), 0 errors\n" + clean << 0
        << "1x1 C" << int(VerdictKind::Good) << "no errors";
    QTest::newRow("cw2dmk unformatted track")
        << "cw2dmk"
        << "Track 0, side 0, pass 1: 10 good sectors, 0 errors\nTrack 1, side 0, pass 1: 0 good sectors, 0 errors\n"
               + clean
        << 0 << "2x1 CF" << int(VerdictKind::Good) << "no errors";
    QTest::newRow("cw2dmk double stepping restart")
        << "cw2dmk"
        << "Trying 2 sides, 88 tracks/side, single stepping, autodetect encoding\n"
           "Track 0, side 0, pass 1: 10 good sectors, 0 errors\n"
           "Track 1, side 0, pass 1:[double-stepping apparently needed; restarting]\n"
           "Trying 1 side, 40 tracks/side, double stepping, autodetect encoding\n"
           "Track 0, side 0, pass 1:[9 good, 1 error]\nTrack 0, side 0, pass 2: 10 good sectors, 0 errors\n"
               + clean + "Possibly a flippy disk; check reverse side too\n"
        << 0 << "1x1 R" << int(VerdictKind::Good) << "1 good track";
    QTest::newRow("cw2dmk bad totals without per-track lines")
        << "cw2dmk"
        << QByteArray("\nTotals:\n34 good tracks, 340 good sectors (340 FM + 0 MFM + 0 RX02)\n"
                      "1 bad track, 1 unrecovered error, 5 retries\n")
        << 0 << "0x0 " << int(VerdictKind::Warning) << "1 unrecovered error in 1 bad track; 34 good tracks";
    QTest::newRow("dmk2cw progress and a track that did not fit")
        << "dmk2cw"
        << QByteArray("Track 0, side 0\rTrack 0, side 1\rTrack 1, side 0\r"
                      "dmk2cw: Some data did not fit on track 1, side 0\nTrack 1, side 1\r")
        << 0 << "2x2 CCUC" << int(VerdictKind::Warning) << "did not fit on track 1 side 0";
    QTest::newRow("dmk2cw clean write")
        << "dmk2cw" << QByteArray("Track 0, side 0\rTrack 1, side 0\r") << 0 << "2x1 CC"
        << int(VerdictKind::Good) << "dmk2cw wrote 2 tracks.";
    QTest::newRow("dmk2jv3 errors it counts")
        << "dmk2jv3"
        << QByteArray("[tracks=2, sides=1, fmtimes=2, rx02=0, tracklen=0x1900]\n"
                      "Track 0, side 0, sector:  0 1[Recording ID CRC error as data CRC error]\n"
                      " 2 3\nTrack 1, side 0, sector:  0 1 2 3\n1 total error, 0 total warnings\n")
        << 0 << "2x1 UC" << int(VerdictKind::Warning) << "1 total error, 0 total warnings; bad sectors on track 0 side 0 (1 sector)";
    QTest::newRow("jv2dmk non-IBM sector")
        << "jv2dmk"
        << QByteArray("track  0, side 0, sector  0: size 256, dden, dam fb, non-ibm [not supported]\n"
                      "track  0, side 0, sector  1: size 256, dden, dam fb\n")
        << 0 << "1x1 U" << int(VerdictKind::Warning) << "track 0 side 0 (1 sector)";
    QTest::newRow("failure with nothing on stderr names the last output")
        << "cw2dmk" << QByteArray("Track 3, side 0, pass 1:") << 1 << "0x0 "
        << int(VerdictKind::Failure) << "cw2dmk failed (exit status 1): Track 3, side 0, pass 1:";
}

void TestRunAnalysis::formatsTheCapturesDoNotShow()
{
    QFETCH(QString, tool);
    QFETCH(QByteArray, out);
    QFETCH(int, status);
    QFETCH(QString, map);
    QFETCH(int, kind);
    QFETCH(QString, fragment);
    SampleRun run;
    run.command = QStringList{tool};
    run.out = out;
    run.status = status;
    const Outcome whole = analyse(run, Chunks::Whole);
    QCOMPARE(analyse(run, Chunks::Bytes), whole);
    QCOMPARE(whole.map, map);
    QCOMPARE(int(whole.kind), kind);
    QVERIFY2(whole.sentence.contains(fragment), qPrintable(whole.sentence));
}

QTEST_GUILESS_MAIN(TestRunAnalysis)
#include "tst_runanalysis.moc"
