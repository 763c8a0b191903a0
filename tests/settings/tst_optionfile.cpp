#include "core/settings/optionfile.h"
#include "support/optionsetsamples.h"

#include <QTest>

using namespace ferncastle;
using namespace ferncastle::test;

namespace {

QString msg(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

class TestOptionFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstRunFileIsByteExact();
    void roundTrip_data();
    void roundTrip();
    void readsLineEndsAndIgnoresTheRest_data();
    void readsLineEndsAndIgnoresTheRest();
    void refusesMalformedFile_data();
    void refusesMalformedFile();
    void readsWindows1252Texts_data();
    void readsWindows1252Texts();
    void refusesTextsThatCannotBeWritten_data();
    void refusesTextsThatCannotBeWritten();
};

void TestOptionFile::firstRunFileIsByteExact()
{
    const EncodedOptionFile file = encodeOptionFile(firstRunOptions());
    QVERIFY(file.error.isEmpty());
    QCOMPARE(file.bytes, firstRunFile());
}

void TestOptionFile::roundTrip_data()
{
    QTest::addColumn<OptionSet>("options");

    QTest::newRow("first run") << firstRunOptions();

    OptionSet last = firstRunOptions();
    for (int i = 0; i < GroupCount; ++i) {
        last.groups[i].checkState = Ticked;
        last.groups[i].listIndex = optionGroups()[i].entries.empty()
                                       ? -1 : int(optionGroups()[i].entries.size()) - 1;
    }
    last.groups[Port].text = QStringLiteral("0x280");
    last.extraParms = QStringLiteral("-v 3 -c 0");
    QTest::newRow("ticked, last entries") << last;

    OptionSet odd = firstRunOptions();
    for (GroupState &group : odd.groups) {
        group.checkState = Greyed;
        if (group.listIndex == 0)
            group.listIndex = -1;
    }
    odd.groups[Tracks].text.clear();
    odd.groups[Retries].text.clear();
    QTest::newRow("greyed, no selection, empty texts") << odd;

    OptionSet blanks = firstRunOptions();
    blanks.groups[Port].text = QStringLiteral("  1 ");
    blanks.groups[Tracks].text = QStringLiteral(" ");
    blanks.groups[Retries].text = QStringLiteral("\t5");
    blanks.extraParms = QStringLiteral(" -v 2  ");
    QTest::newRow("leading and trailing blanks") << blanks;

    OptionSet accents = firstRunOptions();
    accents.groups[Port].text = QStringLiteral("Mémoire €5");
    accents.groups[Tracks].text = QStringLiteral("日本");
    accents.extraParms = QStringLiteral("-o \"Š ü ß\" \U0001F4BE");
    QTest::newRow("non-ASCII") << accents;

    // "Additional parameters" holds any length, not a text box's 32,767.
    OptionSet longParameters = firstRunOptions();
    longParameters.extraParms = QStringLiteral("-u ") + QString(40000, u'l');
    QTest::newRow("40,000 characters of parameters") << longParameters;

    // The longest texts the window's boxes take, in three-byte characters:
    // a file the program wrote must always load again.
    OptionSet fullBoxes = firstRunOptions();
    fullBoxes.groups[Port].text = QString(32767, QChar(0x20AC));
    fullBoxes.groups[Tracks].text = QString(32767, QChar(0x20AC));
    fullBoxes.groups[Retries].text = QString(32767, QChar(0x20AC));
    fullBoxes.extraParms = QString(128 * 1024, QChar(0x20AC));
    QTest::newRow("every box full of three-byte characters") << fullBoxes;
}

void TestOptionFile::roundTrip()
{
    QFETCH(OptionSet, options);
    const EncodedOptionFile file = encodeOptionFile(options);
    QVERIFY2(file.error.isEmpty(), qPrintable(file.error));
    QCOMPARE(int(file.bytes.count("\r\n")), OptionFileLineCount);
    const DecodedOptionFile decoded = decodeOptionFile(file.bytes);
    QVERIFY2(decoded.options, qPrintable(describe(decoded.error)));
    QCOMPARE(*decoded.options, options);
}

void TestOptionFile::readsLineEndsAndIgnoresTheRest_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QByteArray lf = firstRunFile();
    lf.replace("\r\n", "\n");
    QTest::newRow("LF only") << lf;
    QTest::newRow("more than 17 lines")
        << QByteArray(firstRunFile() + "1\r\n2\r\ngarbage \x01\x02\r\n");
    QTest::newRow("last line without its line end")
        << firstRunFileWith(17, "-x").chopped(2);
    QTest::newRow("last line ends in a lone CR") << firstRunFile().chopped(1);
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF" + firstRunFile());
    QTest::newRow("large tail after line 17")
        << QByteArray(firstRunFile() + QByteArray(2 * OptionFileMaxBytes, '\0'));
    QTest::newRow("leading zeros, sign and blanks in numbers")
        << firstRunFileWith(1, " +0").replace("\r\n0\r\n86", "\r\n-000\r\n86");
}

void TestOptionFile::readsLineEndsAndIgnoresTheRest()
{
    QFETCH(QByteArray, bytes);
    const DecodedOptionFile decoded = decodeOptionFile(bytes);
    QVERIFY2(decoded.options, qPrintable(describe(decoded.error)));
    OptionSet expected = firstRunOptions();
    if (QTest::currentDataTag() == QByteArrayLiteral("last line without its line end"))
        expected.extraParms = QStringLiteral("-x");
    QCOMPARE(*decoded.options, expected);
}

void TestOptionFile::refusesMalformedFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");

    const QByteArray sixteen = firstRunFile().left(firstRunFile().lastIndexOf("\r\n"));
    QTest::newRow("empty") << QByteArray() << 0
                           << msg("The file is empty; an options file has 17 lines.");
    QTest::newRow("16 lines") << firstRunFile().chopped(2) << 0
                              << msg("The file ends after line 16; an options file has 17 lines.");
    QTest::newRow("3 lines") << QByteArray("1\n1\n1\n") << 0 << msg("The file ends after line 3");
    QTest::newRow("no line end within the limit")
        << QByteArray(OptionFileMaxBytes + 1, 'x') << 0
        << msg("This is not an options file: its first 17 lines do not lie within its first 1024 KiB.");
    QTest::newRow("state not a number") << firstRunFileWith(1, "yes") << 1
                                        << msg("Line 1 (\"CatWeasel drive\" box): \"yes\" is not a whole number.");
    QTest::newRow("state empty") << firstRunFileWith(2, "") << 2 << msg("\"\" is not a whole number.");
    QTest::newRow("state with a fraction") << firstRunFileWith(3, "1.0") << 3
                                           << msg("\"1.0\" is not a whole number.");
    QTest::newRow("state 3") << firstRunFileWith(3, "3") << 3
                             << msg("Line 3 (\"Drive kind\" box): 3 is not a check box state (0, 1 or 2).");
    QTest::newRow("state -1") << firstRunFileWith(8, "-1") << 8
                              << msg("Line 8 (\"Number of retries\" box): -1 is not a check box state");
    QTest::newRow("beyond 16 bits") << firstRunFileWith(4, "32768") << 4
                                    << msg("\"32768\" does not fit in 16 bits (-32768 to 32767).");
    QTest::newRow("below 16 bits") << firstRunFileWith(9, "-32769") << 9
                                   << msg("\"-32769\" does not fit in 16 bits");
    QTest::newRow("far beyond 16 bits") << firstRunFileWith(11, "99999999999999999999") << 11
                                        << msg("does not fit in 16 bits");
    QTest::newRow("drive position 2")
        << firstRunFileWith(9, "2") << 9
        << msg("Line 9 (\"CatWeasel drive\" list): 2 is not a position in the list (-1 to 1).");
    QTest::newRow("kind position -2") << firstRunFileWith(11, "-2") << 11
                                      << msg("-2 is not a position in the list (-1 to 3).");
    QTest::newRow("encoding position 3") << firstRunFileWith(15, "3") << 15
                                         << msg("Line 15 (\"Encoding\" list): 3 is not a position");
    QTest::newRow("NUL in a text")
        << firstRunFileWith(10, QByteArray("1\0", 2)) << 10
        << msg("Line 10 (\"CatWeasel port\" text): holds a NUL character, so this is not a text file.");
    QTest::newRow("carriage return in a text")
        << firstRunFileWith(17, "-v\r-x") << 17
        << msg("Line 17 (\"Additional parameters\" text): holds a carriage return inside its text.");
    QTest::newRow("text beyond a text box")
        << firstRunFileWith(13, QByteArray(32768, '8')) << 13
        << msg("is longer than a text box holds (32767 characters).");
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR" + QByteArray(20, '\n'))
                            << 1 << msg("is not a whole number.");
    QTest::newRow("long bad line is quoted short")
        << firstRunFileWith(5, QByteArray(100, 'z')) << 5
        << msg("\"zzzzzzzzzzzzzzzzzzzzzzzz...\" is not a whole number.");
}

void TestOptionFile::refusesMalformedFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(QString, message);
    const DecodedOptionFile decoded = decodeOptionFile(bytes);
    QVERIFY(!decoded.options);
    QCOMPARE(decoded.error.line, line);
    const QString text = describe(decoded.error);
    QVERIFY2(text.contains(message), qPrintable(text));
}

void TestOptionFile::readsWindows1252Texts_data()
{
    QTest::addColumn<QByteArray>("port");
    QTest::addColumn<QString>("text");

    QTest::newRow("euro sign and e acute") << QByteArray("\x80 caf\xE9") << QStringLiteral("€ café");
    QTest::newRow("quotes and dashes") << QByteArray("\x93x\x94 \x96 \x85")
                                       << QStringLiteral("“x” – …");
    QTest::newRow("UTF-8 stays UTF-8") << QByteArray("caf\xC3\xA9 \xE2\x82\xAC")
                                       << QStringLiteral("café €");
}

void TestOptionFile::readsWindows1252Texts()
{
    QFETCH(QByteArray, port);
    QFETCH(QString, text);
    const DecodedOptionFile decoded = decodeOptionFile(firstRunFileWith(10, port));
    QVERIFY2(decoded.options, qPrintable(describe(decoded.error)));
    QCOMPARE(decoded.options->groups[Port].text, text);
}

void TestOptionFile::refusesTextsThatCannotBeWritten_data()
{
    QTest::addColumn<int>("group"); // GroupCount: the additional parameters
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    QTest::newRow("line feed in port") << int(Port) << QStringLiteral("1\n2")
                                       << msg("The \"CatWeasel port\" text holds a line break");
    QTest::newRow("carriage return in retries") << int(Retries) << QStringLiteral("5\r")
                                                << msg("The \"Number of retries\" text holds a line break");
    QTest::newRow("CR LF in additional parameters")
        << GroupCount << QStringLiteral("-v\r\n0\r\n0")
        << msg("The \"Additional parameters\" text holds a line break");
    QTest::newRow("NUL in tracks") << int(Tracks) << QString(QChar(0))
                                   << msg("The \"Number of tracks\" text holds a NUL character");
    QTest::newRow("lone surrogate") << GroupCount << QString(QChar(0xD800))
                                    << msg("The \"Additional parameters\" text holds a character "
                                       "that the system's encoding");
}

void TestOptionFile::refusesTextsThatCannotBeWritten()
{
    QFETCH(int, group);
    QFETCH(QString, text);
    QFETCH(QString, message);
    OptionSet options = firstRunOptions();
    (group == GroupCount ? options.extraParms : options.groups[group].text) = text;
    const EncodedOptionFile file = encodeOptionFile(options);
    QVERIFY2(file.error.startsWith(message), qPrintable(file.error));
    QVERIFY(file.bytes.isEmpty());
}

QTEST_APPLESS_MAIN(TestOptionFile)
#include "tst_optionfile.moc"
