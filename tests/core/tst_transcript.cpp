#include "core/run/runanalysis.h"
#include "core/run/transcript.h"

#include "fakes/filesizelimit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ferncastle;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestTranscript : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keepsTheToolsBytes_data();
    void keepsTheToolsBytes();
    void fullDiskIsReportedNeverHidden_data();
    void fullDiskIsReportedNeverHidden();
};

void TestTranscript::keepsTheToolsBytes_data()
{
    QTest::addColumn<QByteArray>("stdoutBytes");
    QTest::addColumn<QByteArray>("stderrBytes");
    QTest::addColumn<QByteArray>("kept");

    QTest::newRow("escapes and controls")
        << QByteArray("\x1b[1;31mred\x1b[0m\n\x1b]0;t\x07x\x01\n") << QByteArray()
        << QByteArray("\x1b[1;31mred\x1b[0m\n\x1b]0;t\x07x\x01\n");
    QTest::newRow("not UTF-8") << QByteArray("caf\xe9\n") << QByteArray("\xff\xfe\n")
                               << QByteArray("caf\xe9\n[stderr] \xff\xfe\n");
    const QByteArray flood(150 * 1024, 'w');
    QTest::newRow("long line stays one line")
        << flood + "\n" << QByteArray("e\n") << flood + "\n[stderr] e\n";
}

// The view shows lines as a terminal would; the record keeps what the tool
// wrote, a line it never cut stays one line.
void TestTranscript::keepsTheToolsBytes()
{
    QFETCH(QByteArray, stdoutBytes);
    QFETCH(QByteArray, stderrBytes);
    QFETCH(QByteArray, kept);
    QTemporaryDir dir;
    Transcript transcript;
    QVERIFY(transcript.create(dir.filePath(QStringLiteral("x.dmk")), QStringLiteral("cw2dmk")));
    RunAnalysis analysis(QStringLiteral("cw2dmk"));
    transcript.writeLines(analysis.feed(OutputStream::Stdout, stdoutBytes));
    transcript.writeLines(analysis.feed(OutputStream::Stderr, stderrBytes));
    transcript.writeLines(analysis.finish(RunEnd{}));
    QCOMPARE(contents(transcript.fileName()), kept);
    QVERIFY(!transcript.writeFailed());
}

void TestTranscript::fullDiskIsReportedNeverHidden_data()
{
    QTest::addColumn<int>("room");
    QTest::addColumn<int>("lines");

    QTest::newRow("no room for the start") << 10 << 0;
    QTest::newRow("full during the lines") << 4096 << 1000;
    QTest::newRow("full at the end") << 300 << 0;
}

void TestTranscript::fullDiskIsReportedNeverHidden()
{
    QFETCH(int, room);
    QFETCH(int, lines);
    QTemporaryDir dir;
    Transcript transcript;
    QVERIFY(transcript.create(dir.filePath(QStringLiteral("x.dmk")), QStringLiteral("dmk2jv3")));
    {
        test::FileSizeLimit limit(room);
        transcript.writeStart(QStringLiteral("dmk2jv3 x.dmk x.dsk"), QDateTime::currentDateTime());
        for (int line = 0; line < lines; ++line)
            transcript.writeLines({ShownLine{QStringLiteral("Track %1, side 0").arg(line)}});
        transcript.writeEnd(QStringLiteral("Exit status 0"), 1000, QString(400, u'v'));
    }
    QVERIFY(transcript.writeFailed());
    QVERIFY2(transcript.error().contains(QStringLiteral("could not be written whole")),
             qPrintable(transcript.error()));
    QVERIFY(transcript.error().contains(QStringLiteral("x.dmk2jv3.txt")));
    // Nothing written after the hole: the record never reads as whole.
    transcript.writeNote(QStringLiteral("later"));
    QVERIFY(!contents(transcript.fileName()).contains("later"));
    QVERIFY(contents(transcript.fileName()).size() <= room);
}

QTEST_GUILESS_MAIN(TestTranscript)
#include "tst_transcript.moc"
