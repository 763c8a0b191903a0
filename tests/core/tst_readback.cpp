#include "core/run/readback.h"
#include "core/run/runanalysis.h"
#include "support/samplerun.h"

#include <QTemporaryDir>
#include <QTest>

using namespace ferncastle;
using test::SampleRun;

namespace {

QString affectedText(const QList<AffectedTrack> &tracks)
{
    QStringList parts;
    for (const AffectedTrack &bad : tracks)
        parts.append(QStringLiteral("%1:%2:%3").arg(bad.track).arg(bad.side).arg(bad.errors));
    return parts.join(u' ');
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// How the image after a run stands to the one before it.
enum class Written { Fresh, Replaced, Missing, Untouched };

} // namespace

class TestReadBack : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void imagesReadBack_data();
    void imagesReadBack();
    void verdictTakesInTheImage_data();
    void verdictTakesInTheImage();

private:
    QString m_samples;
    QTemporaryDir m_dir;
};

void TestReadBack::initTestCase()
{
    m_samples = test::toolOutputDir();
    if (m_samples.isEmpty())
        QSKIP("the captured tool runs (shared/tool-output) are not there");
    QVERIFY(m_dir.isValid());
}

void TestReadBack::imagesReadBack_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("sectors");
    QTest::addColumn<int>("crcFailures");
    QTest::addColumn<QString>("badTracks");
    QTest::addColumn<bool>("damaged");

    const int read = int(ImageReadBack::Outcome::Read);
    // dmk2jv3 counts neither of these in its totals; the JV3 flags them.
    QTest::newRow("JV3 written over broken data")
        << "dmk2jv3-badcrc/produced/out.dsk.gz" << read << 720 << 2 << "7:0:1 19:0:1" << false;
    QTest::newRow("DMK with sectors flagged by jv2dmk")
        << "files/crcflag.dmk.gz" << read << 720 << 2 << "3:0:1 21:0:1" << false;
    QTest::newRow("clean read") << "cw2dmk-replay-clean/produced/out.dmk.gz" << read << 350 << 0
                                << "" << false;
    QTest::newRow("damaged read") << "cw2dmk-replay-damaged/produced/out.dmk.gz" << read << 350
                                  << 2 << "5:0:1 20:0:2" << false;
    // The header of a stopped read still claims every track.
    QTest::newRow("interrupted read")
        << "cw2dmk-sigint/produced/out.dmk.gz" << read << -1 << 0 << "21:0:1" << true;
    QTest::newRow("JV1 keeps no CRCs") << "files/m1sssd35.dsk" << read << 350 << 0 << "" << false;
    QTest::newRow("flux log, no image")
        << "files/m1sssd35.log.gz" << int(ImageReadBack::Outcome::Unreadable) << 0 << 0 << ""
        << false;
}

void TestReadBack::imagesReadBack()
{
    QFETCH(QString, image);
    QFETCH(int, outcome);
    QFETCH(int, sectors);
    QFETCH(int, crcFailures);
    QFETCH(QString, badTracks);
    QFETCH(bool, damaged);
    const QString path = m_dir.filePath(QFileInfo(image).fileName().remove(QStringLiteral(".gz")));
    QVERIFY(writeFile(path, test::readUnpacked(QDir(m_samples).filePath(image))));

    const ImageReadBack back = readBackFile(path);
    QCOMPARE(int(back.outcome), outcome);
    QCOMPARE(back.name, QFileInfo(path).fileName());
    if (sectors >= 0)
        QCOMPARE(back.sectors, sectors);
    QCOMPARE(back.crcFailures, crcFailures);
    QCOMPARE(affectedText(back.badTracks), badTracks);
    QCOMPARE(!back.damage.isEmpty(), damaged);
    QCOMPARE(back.keepsCrcs, !image.endsWith(QLatin1String("m1sssd35.dsk")));
    const bool read = outcome == int(ImageReadBack::Outcome::Read);
    QCOMPARE(back.clean(), read && badTracks.isEmpty() && !damaged);
}

void TestReadBack::verdictTakesInTheImage_data()
{
    QTest::addColumn<QString>("run");
    QTest::addColumn<QString>("image");
    QTest::addColumn<Written>("written");
    QTest::addColumn<VerdictKind>("kind");
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QString>("affected");

    const auto fresh = Written::Fresh;
    QTest::newRow("uncounted CRC errors make a warning")
        << "dmk2jv3-badcrc" << "dmk2jv3-badcrc/produced/out.dsk.gz" << fresh << VerdictKind::Warning
        << "0 total errors, 0 total warnings. Read back, out.dsk has 2 sectors whose CRC fails: "
           "track 7 side 0 (1 sector), track 19 side 0 (1 sector)."
        << "7:0:1 19:0:1";
    QTest::newRow("a clean conversion is verified")
        << "dmk2jv3-good" << "files/dd40.dsk" << Written::Replaced << VerdictKind::Good
        << "0 total errors, 0 total warnings. Read back, out.dsk holds 720 sectors, every CRC good."
        << "";
    QTest::newRow("a clean read is verified")
        << "cw2dmk-replay-clean" << "cw2dmk-replay-clean/produced/out.dmk.gz" << fresh
        << VerdictKind::Good
        << "35 good tracks, 350 good sectors, no errors. Read back, out.dmk holds 350 sectors, "
           "every CRC good."
        << "";
    QTest::newRow("the image confirms the tool's report")
        << "cw2dmk-replay-damaged" << "cw2dmk-replay-damaged/produced/out.dmk.gz" << fresh
        << VerdictKind::Warning
        << "3 unrecovered errors in 2 bad tracks: track 5 side 0 (1 sector), track 20 side 0 (2 "
           "sectors); 33 good tracks, 347 good sectors. Read back, out.dmk shows the same 3 bad "
           "sectors (2 with CRC errors)."
        << "5:0:1 20:0:2";
    QTest::newRow("a cut-short image is no success")
        << "dmk2jv3-good" << "cw2dmk-sigint/produced/out.dmk.gz" << fresh << VerdictKind::Warning
        << "0 total errors, 0 total warnings. Read back, out.dmk is damaged: The header claims 88 "
           "tracks" << "21:0:1";
    QTest::newRow("no image where one was due")
        << "dmk2jv3-good" << "" << Written::Missing << VerdictKind::Warning
        << "0 total errors, 0 total warnings. out.dsk was not written by this run." << "";
    QTest::newRow("an earlier image is not this run's")
        << "dmk2jv3-good" << "files/dd40.dsk" << Written::Untouched << VerdictKind::Warning
        << "0 total errors, 0 total warnings. out.dsk was not written by this run." << "";
    QTest::newRow("something else than an image")
        << "dmk2jv3-good" << "files/dd40.log.gz" << fresh << VerdictKind::Warning
        << "0 total errors, 0 total warnings. out.log could not be read back: " << "";
    // Silent at its verbosity, the run is still confirmed by what it wrote.
    QTest::newRow("a silent run is confirmed by its image")
        << "dmk2jv3-good-v0" << "files/dd40.dsk" << fresh << VerdictKind::Good
        << "dmk2jv3 ended normally and reports nothing at this verbosity. Read back, out.dsk "
           "holds 720 sectors, every CRC good."
        << "";
    QTest::newRow("a silent run without its image")
        << "dmk2jv3-good-v0" << "" << Written::Missing << VerdictKind::Warning
        << "dmk2jv3 ended normally and reports nothing at this verbosity. out.dsk was not "
           "written by this run."
        << "";
    // A run that failed or was stopped says its image is incomplete; the
    // image is not read as if it were the result.
    QTest::newRow("a failed run is not read back")
        << "dmk2jv3-missing-input" << "files/dd40.dsk" << fresh << VerdictKind::Failure
        << "dmk2jv3 failed (exit status 1)" << "";
}

void TestReadBack::verdictTakesInTheImage()
{
    QFETCH(QString, run);
    QFETCH(QString, image);
    QFETCH(Written, written);
    QFETCH(VerdictKind, kind);
    QFETCH(QString, sentence);
    QFETCH(QString, affected);
    const SampleRun sample = SampleRun::load(QDir(m_samples).filePath(run));
    QTemporaryDir folder;
    QString name = QFileInfo(image).fileName().remove(QStringLiteral(".gz"));
    const QString extension = name.isEmpty() ? QStringLiteral("dsk") : name.section(u'.', -1);
    name = QStringLiteral("out.") + extension;
    const QString path = folder.filePath(name);
    const QByteArray bytes = test::readUnpacked(QDir(m_samples).filePath(image));
    if (written == Written::Replaced)
        QVERIFY(writeFile(path, "an older, shorter file"));
    if (written == Written::Untouched)
        QVERIFY(writeFile(path, bytes));

    RunAnalysis analysis(sample.tool());
    const WrittenFiles files({path});
    analysis.feed(OutputStream::Stdout, sample.out);
    analysis.feed(OutputStream::Stderr, sample.err);
    RunEnd end;
    end.code = sample.status;
    analysis.finish(end);
    if (written == Written::Fresh || written == Written::Replaced)
        QVERIFY(writeFile(path, bytes));
    analysis.readBackWrittenImages(files);

    const RunVerdict &verdict = analysis.verdict();
    QCOMPARE(verdict.kind, kind);
    QVERIFY2(verdict.sentence.startsWith(sentence), qPrintable(verdict.sentence));
    if (kind != VerdictKind::Failure) // a failure ends with the tool's own words
        QVERIFY2(verdict.sentence.endsWith(u'.'), qPrintable(verdict.sentence));
    QCOMPARE(affectedText(verdict.affected), affected);
}

QTEST_GUILESS_MAIN(TestReadBack)
#include "tst_readback.moc"
