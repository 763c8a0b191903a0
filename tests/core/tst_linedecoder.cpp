#include "core/cardcheck/cardmessages.h"
#include "core/run/linedecoder.h"

#include <QTest>

using namespace ferncastle;

namespace {

// The lines as "text" or "text<CR>" for one written over, then "|" and
// the open line.
QString decodeAll(const QByteArray &bytes, qsizetype chunk)
{
    LineDecoder decoder;
    QStringList lines;
    const auto keep = [&](const QList<DecodedLine> &decoded) {
        for (const DecodedLine &line : decoded)
            lines.append(line.text + (line.overwritten ? QStringLiteral("<CR>") : QString()));
    };
    for (qsizetype from = 0; from < bytes.size(); from += chunk)
        keep(decoder.feed(QByteArrayView(bytes).sliced(from, std::min(chunk, bytes.size() - from))));
    const QString open = decoder.openLine();
    keep(decoder.finish());
    return lines.join(u'/') + u'|' + open;
}

} // namespace

class TestLineDecoder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linesAsATerminalShowsThem_data();
    void linesAsATerminalShowsThem();
    void overlongLineIsCutWithoutSplittingACharacter();
    void overlongSequenceEndsAndTheRestShows_data();
    void overlongSequenceEndsAndTheRestShows();
    void rawBytesAreKept_data();
    void rawBytesAreKept();
    void cardMessagesGetTheirFix_data();
    void cardMessagesGetTheirFix();
};

void TestLineDecoder::linesAsATerminalShowsThem_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain lines") << QByteArray("a\nb\n") << "a/b|";
    QTest::newRow("open prefix waits")
        << QByteArray("x\nTrack 1, side 0, pass 1:") << "x/Track 1, side 0, pass 1:|Track 1, side 0, pass 1:";
    QTest::newRow("CR LF is one end") << QByteArray("a\r\nb\r\n") << "a/b|";
    QTest::newRow("CR alone starts over")
        << QByteArray("Track 0, side 0\rTrack 1, side 0\rdone\n") << "Track 0, side 0<CR>/Track 1, side 0<CR>/done|";
    QTest::newRow("CR at the end stays shown")
        << QByteArray("Track 7, side 1\r") << "Track 7, side 1|Track 7, side 1";
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << "a/b|b";
    QTest::newRow("blank lines kept") << QByteArray("\n\nTotals:\n") << "//Totals:|";
    QTest::newRow("colour escapes dropped")
        << QByteArray("\x1b[1;31mred\x1b[0m text\n") << "red text|";
    QTest::newRow("title escape dropped")
        << QByteArray("\x1b]0;title\x07shown\n\x1b]2;t\x1b\\also\n") << "shown/also|";
    QTest::newRow("short escape dropped") << QByteArray("\x1b(Bx\x1b" "7y\n") << "xy|";
    QTest::newRow("bell and NUL dropped, tab kept") << QByteArray("a\x07\0b\tc\n", 7) << "ab\tc|";
    QTest::newRow("UTF-8 kept") << QByteArray("caf\xc3\xa9 \xe2\x80\x93\n") << QString::fromUtf8("café –|");
    QTest::newRow("invalid UTF-8 as Latin-1")
        << QByteArray("caf\xe9\nok\xc3\xa9\n") << QString::fromUtf8("café/oké|");
    QTest::newRow("unended title ends at the line end")
        << QByteArray("\x1b]0;never ends\n3 total errors, 0 total warnings\n")
        << "/3 total errors, 0 total warnings|";
    QTest::newRow("unended CSI keeps the line end")
        << QByteArray("a\x1b[12\nb\x1b[1;\rc\n") << "a/b<CR>/c|";
    QTest::newRow("CSI ends at another control") << QByteArray("a\x1b[3\tb\n") << "a\tb|";
    QTest::newRow("device control string dropped")
        << QByteArray("\x1bPq#0;2;0;0;0#0~~\x1b\\done\n\x1b_app\x1b\\x\n") << "done/x|";
    QTest::newRow("CAN and SUB cancel")
        << QByteArray("\x1b[1;3\x18x\x1b]0;t\x1ay\x1bP1\x18z\n") << "xyz|";
    QTest::newRow("escape inside a title starts anew")
        << QByteArray("\x1b]0;t\x1b[1mx\n") << "x|";
    QTest::newRow("escape then line end") << QByteArray("a\x1b\nb\n") << "a/b|";
    QTest::newRow("DEL inside CSI ignored") << QByteArray("\x1b[1\x7fmx\n") << "x|";
    QTest::newRow("truncated UTF-8 at the end as Latin-1")
        << QByteArray("ab\xc3") << QString::fromUtf8("abÃ|abÃ");
}

// Every chunk size gives the same lines: CR LF, escapes and UTF-8
// sequences split across chunks are put back together.
void TestLineDecoder::linesAsATerminalShowsThem()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    for (qsizetype chunk = 1; chunk <= std::max<qsizetype>(1, bytes.size()); ++chunk)
        QCOMPARE(decodeAll(bytes, chunk), expected);
}

void TestLineDecoder::overlongLineIsCutWithoutSplittingACharacter()
{
    QByteArray bytes(LineDecoder::maxLineBytes - 1, 'x');
    bytes += "\xc3\xa9tail\n";
    LineDecoder decoder;
    const QList<DecodedLine> lines = decoder.feed(bytes);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).text, QString(LineDecoder::maxLineBytes - 1, u'x'));
    QCOMPARE(lines.at(1).text, QString::fromUtf8("étail"));
}

void TestLineDecoder::overlongSequenceEndsAndTheRestShows_data()
{
    QTest::addColumn<QByteArray>("opening");
    QTest::addColumn<char>("filler");
    QTest::addColumn<int>("bound");

    QTest::newRow("CSI of digits") << QByteArray("\x1b[") << '1' << LineDecoder::maxControlSequenceBytes;
    QTest::newRow("title") << QByteArray("\x1b]0;") << 'a' << LineDecoder::maxControlStringBytes;
    QTest::newRow("device control") << QByteArray("\x1bP") << 'q' << LineDecoder::maxControlStringBytes;
}

// Without a line end, only the bound ends the sequence; what follows it is
// shown, and the sequence's own bytes up to the bound are not.
void TestLineDecoder::overlongSequenceEndsAndTheRestShows()
{
    QFETCH(QByteArray, opening);
    QFETCH(char, filler);
    QFETCH(int, bound);
    const QByteArray bytes = opening + QByteArray(3 * bound, filler) + "END";
    for (const qsizetype chunk : {qsizetype(1), qsizetype(7), bytes.size()}) {
        const QString shown = decodeAll(bytes, chunk).section(u'|', 0, 0);
        QVERIFY2(shown.endsWith(QStringLiteral("END")), qPrintable(shown));
        QCOMPARE(shown.size(), bytes.size() - bound);
    }
}

void TestLineDecoder::rawBytesAreKept_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("colours and title") << QByteArray("\x1b[1;31mred\x1b[0m\n\x1b]0;t\x07x\n");
    QTest::newRow("controls and bad UTF-8") << QByteArray("a\x07\x01\xe9\xff\n\x1bPq\x1b\\\n");
    QTest::newRow("no line end for 200 KB")
        << QByteArray(200 * 1024, 'z') + "\xc3\xa9" + QByteArray(70 * 1024, '\x1b');
}

// The transcript's record: the lines' raw bytes, a line end after each
// the tool ended, give back what the tool wrote.
void TestLineDecoder::rawBytesAreKept()
{
    QFETCH(QByteArray, bytes);
    for (const qsizetype chunk : {qsizetype(1), qsizetype(4096), bytes.size()}) {
        LineDecoder decoder;
        QList<DecodedLine> lines;
        for (qsizetype from = 0; from < bytes.size(); from += chunk)
            lines += decoder.feed(QByteArrayView(bytes).sliced(from, std::min(chunk, bytes.size() - from)));
        lines += decoder.finish();
        QByteArray kept;
        for (const DecodedLine &line : lines) {
            QVERIFY(line.raw.size() <= LineDecoder::maxLineBytes);
            kept += line.raw + (line.cut ? "" : "\n");
        }
        QCOMPARE(kept, bytes.endsWith('\n') ? bytes : bytes + '\n');
    }
}

void TestLineDecoder::cardMessagesGetTheirFix_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("fixMentions");

    QTest::newRow("not root") << "cw2dmk: Must be setuid to root or be run as root" << "chmod u+s";
    QTest::newRow("dmk2cw says cw2dmk") << "cw2dmk: Must be setuid to root or be run as root" << "root";
    QTest::newRow("no ports") << "dmk2cw: No access to I/O ports" << "CONFIG_X86_IOPL_IOPERM";
    QTest::newRow("no card") << "cw2dmk: Failed to detect Catweasel at port 0x320" << "-p";
    QTest::newRow("other error") << "cw2dmk: Failed to open 'x.log': No such file or directory" << "";
    QTest::newRow("ordinary line") << "Track 0, side 0, pass 1: 10 good sectors, 0 errors" << "";
}

void TestLineDecoder::cardMessagesGetTheirFix()
{
    QFETCH(QString, line);
    QFETCH(QString, fixMentions);
    const QString fix = cardProblemFix(line);
    if (fixMentions.isEmpty())
        QVERIFY(fix.isEmpty());
    else
        QVERIFY2(fix.contains(fixMentions), qPrintable(fix));
}

QTEST_GUILESS_MAIN(TestLineDecoder)
#include "tst_linedecoder.moc"
