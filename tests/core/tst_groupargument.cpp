#include "core/options/groupargument.h"

#include <QTest>

using namespace ferncastle;
using namespace Qt::StringLiterals;

namespace {

const QString portNotNumber = u"The 'CatWeasel port' is not a number. Option not used"_s;
const QString portRange = u"The 'CatWeasel port' is not a card number 0 to F or a port 220 to 388 "
                          "(hexadecimal). Option not used"_s;
const QString tracksNotNumber = u"The 'Number of tracks' is not a number. Option not used"_s;
const QString tracksRange = u"The 'Number of tracks' is not between 2 and 86 tracks. Option not used"_s;
const QString retriesRange = u"The 'Number of retries' is not between 0 and 100. Option not used"_s;

// The value written after the flag, or "-" when the flag is left out.
QString written(const GroupArgument &argument)
{
    return argument.value.value_or(u"-"_s);
}

} // namespace

class TestGroupArgument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typed_data();
    void typed();
    void listPosition_data();
    void listPosition();
    void portReading_data();
    void portReading();
};

void TestGroupArgument::typed_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("warning");

    const auto row = [](GroupIndex group, const char *text, const char *value, const QString &warning = {}) {
        QTest::addRow("%s \"%s\"", optionGroups()[group].caption, text)
            << int(group) << QString::fromUtf8(text) << QString::fromUtf8(value) << warning;
    };
    // The tools read -t and -x with strtol(base 0) and nothing may follow.
    row(Tracks, "40", "40");
    row(Tracks, " 40", "40");
    row(Tracks, "040", "40"); // octal 32 to the tool if written as typed
    row(Tracks, "40.0", "40");
    row(Tracks, "4E1", "40");
    row(Tracks, "2.4", "2");
    row(Tracks, "1.6", "2");
    row(Tracks, "86.5", "86"); // half to even
    row(Tracks, "+ 5", "5");
    row(Tracks, "0x28", "-", tracksNotNumber);
    row(Tracks, "", "-", tracksNotNumber);
    row(Tracks, "1", "-", tracksRange);
    row(Tracks, "87", "-", tracksRange);
    row(Tracks, "40000", "-", tracksRange);
    row(Retries, "010", "10"); // octal 8 to the tool if written as typed
    row(Retries, "5.0", "5");
    row(Retries, "1E1", "10");
    row(Retries, "+5", "5");
    row(Retries, "0", "0");
    row(Retries, "-0.4", "0");
    row(Retries, "100", "100");
    row(Retries, "101", "-", retriesRange);
    row(Retries, "-1", "-", retriesRange);
    // The port is hexadecimal to the tools and goes on as typed, blanks removed.
    row(Port, "0x320", "0x320");
    row(Port, "320", "320");
    row(Port, " 0X388 ", "0X388");
    row(Port, "0", "0");
    row(Port, "F", "F");
    row(Port, "0xf", "0xf");
    row(Port, "220", "220");
    row(Port, "0220", "0220");
    row(Port, "12", "-", portRange); // 0x12: neither a card nor an MK1 port
    row(Port, "12345", "-", portRange);
    row(Port, "389", "-", portRange);
    row(Port, "21F", "-", portRange);
    row(Port, "1E1", "-", portRange); // hexadecimal 1E1, not ten
    row(Port, "10", "-", portRange);
    row(Port, "", "-", portNotNumber);
    row(Port, "0x", "-", portNotNumber);
    row(Port, "-1", "-", portNotNumber);
    row(Port, "+320", "-", portNotNumber);
    row(Port, "3 20", "-", portNotNumber);
    row(Port, "320h", "-", portNotNumber);
    row(Port, "&H320", "-", portNotNumber);
    row(Port, "1.5", "-", portNotNumber);
    row(Port, "abcdefg", "-", portNotNumber);
}

void TestGroupArgument::typed()
{
    QFETCH(int, group);
    QFETCH(QString, text);
    QFETCH(QString, value);
    QFETCH(QString, warning);

    const GroupArgument argument = groupArgument(optionGroups()[group], GroupState{Ticked, -1, text});
    QCOMPARE(written(argument), value);
    QCOMPARE(argument.warning, warning);
}

void TestGroupArgument::listPosition_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("value");

    const auto row = [](GroupIndex group, int index, const char *value) {
        QTest::addRow("%s %d", optionGroups()[group].caption, index) << int(group) << index
                                                                     << QString::fromLatin1(value);
    };
    row(Drive, 0, "0");
    row(Drive, 1, "1");
    row(Drive, -1, "-");
    row(Drive, 2, "-");
    row(Kind, 0, "1");
    row(Kind, 3, "4");
    row(Kind, -1, "-");
    row(Kind, 4, "-");
    row(Steps, -1, "-");
    row(Steps, 2, "-");
    row(Sides, -1, "-");
    row(Sides, 1, "2");
    row(Encoding, 2, "3");
    row(Encoding, -1, "-");
    row(Encoding, 3, "-");
    row(Encoding, -32768, "-");
}

void TestGroupArgument::listPosition()
{
    QFETCH(int, group);
    QFETCH(int, index);
    QFETCH(QString, value);

    const GroupArgument argument = groupArgument(optionGroups()[group], GroupState{Ticked, index, {}});
    QCOMPARE(written(argument), value);
    QVERIFY(argument.warning.isEmpty());
}

void TestGroupArgument::portReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("reading");

    const std::pair<const char *, PortReading> rows[] = {
        {"0", PortReading::Usable}, {"00000000000000000000F", PortReading::Usable},
        {"0x220", PortReading::Usable}, {"388", PortReading::Usable},
        {"10", PortReading::OutOfRange}, {"21f", PortReading::OutOfRange},
        {"FFFFFFFFFFFFFFFFFFFF", PortReading::OutOfRange},
        {"0x0x1", PortReading::NotNumber}, {"\t320", PortReading::NotNumber},
        {"\xef\xbc\x93", PortReading::NotNumber}, // FULLWIDTH DIGIT THREE
    };
    for (const auto &[text, reading] : rows)
        QTest::addRow("\"%s\"", text) << QString::fromUtf8(text) << int(reading);
}

void TestGroupArgument::portReading()
{
    QFETCH(QString, text);
    QFETCH(int, reading);
    QCOMPARE(int(readPort(text)), reading);
}

QTEST_GUILESS_MAIN(TestGroupArgument)
#include "tst_groupargument.moc"
