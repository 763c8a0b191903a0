#include "core/options/optionstring.h"

#include <QTest>

using namespace ferncastle;
using namespace Qt::StringLiterals;

namespace {

const QString portNotNumber = QStringLiteral("The 'CatWeasel port' is not a number. Option not used");
const QString tracksNotNumber = QStringLiteral("The 'Number of tracks' is not a number. Option not used");
const QString tracksRange =
    QStringLiteral("The 'Number of tracks' is not between 2 and 86 tracks. Option not used");
const QString retriesNotNumber = QStringLiteral("The 'Number of retries' is not a number. Option not used");
const QString retriesRange =
    QStringLiteral("The 'Number of retries' is not between 0 and 100. Option not used");
const QString portRange = QStringLiteral("The 'CatWeasel port' is not a card number 0 to F or a port "
                                         "220 to 388 (hexadecimal). Option not used");
const QString valueMissing =
    QStringLiteral("The option -v at the end of the 'Additional parameters' needs a value: cw2dmk "
                   "would take the chosen file as its value. Give it a value; nothing is started "
                   "until then.");

QString bareWord(const QString &word, const QString &tool)
{
    return QStringLiteral("\"%1\" in the 'Additional parameters' is neither an option nor an "
                          "option's value: %2 would take it as a file name in place of the chosen "
                          "file. Remove it; nothing is started until then.")
        .arg(word, tool);
}

// Builds an option panel a row at a time: every group starts unticked.
struct Panel {
    OptionSet set;

    Panel &list(GroupIndex group, int index, int state = Ticked)
    {
        set.groups[group] = {state, index, {}};
        return *this;
    }
    Panel &text(GroupIndex group, const char *text, int state = Ticked)
    {
        set.groups[group] = {state, -1, QString::fromUtf8(text)};
        return *this;
    }
    Panel &extra(const char *text)
    {
        set.extraParms = QString::fromUtf8(text);
        return *this;
    }
};

void addColumns()
{
    QTest::addColumn<OptionSet>("options");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("warnings");
}

void row(const char *name, const Panel &panel, const char *expected, const QStringList &warnings = {})
{
    QTest::newRow(name) << panel.set << QString::fromUtf8(expected) << warnings;
}

// Only the text groups, each ticked with a tracks and a retries value.
Panel tracksAndRetries(const char *tracks, const char *retries)
{
    return Panel().text(Tracks, tracks).text(Retries, retries);
}

} // namespace

class TestOptionString : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readOptions_data();
    void readOptions();
    void writeOptions_data();
    void writeOptions();
};

void TestOptionString::readOptions_data()
{
    addColumns();
    row("worked example", Panel().list(Drive, 1).text(Port, "0").list(Kind, 1).list(Steps, 1)
            .text(Tracks, "40").list(Sides, 1).list(Encoding, 1).text(Retries, "5"),
        "-d1 -p0 -k2 -m2 -t40 -s2 -e2 -x5 ");
    row("no box", Panel(), " ");
    row("no box, additional", Panel().extra("abc"), " abc", {bareWord(u"abc"_s, u"cw2dmk"_s)});
    row("additional untrimmed", Panel().list(Drive, 0).extra("  -v \"a b\" "), "-d0   -v \"a b\" ");
    row("drive only", Panel().list(Drive, 0), "-d0 ");
    row("kind only", Panel().list(Kind, 0), " -k1 ");
    row("last entries", Panel().list(Kind, 3).list(Steps, 1).list(Sides, 1).list(Encoding, 2),
        " -k4 -m2 -s2 -e3 ");
    // A position that is no entry (a hand-edited file) leaves its flag out:
    // the tools refuse -d-1 and -k0.
    row("nothing selected", Panel().list(Drive, -1).list(Kind, -1), " ");
    row("beyond the list", Panel().list(Drive, 2).list(Kind, 4).list(Steps, 1), " -m2 ");
    row("greyed counts as off", Panel().list(Drive, 1, Greyed).text(Tracks, "x", Greyed), " ");
    row("tracks 2, retries 0", tracksAndRetries("2", "0"), " -t2 -x0 ");
    row("tracks 86, retries 100", tracksAndRetries("86", "100"), " -t86 -x100 ");
    row("tracks 1, retries 101", tracksAndRetries("1", "101"), " ", {tracksRange, retriesRange});
    row("tracks 87, retries -1", tracksAndRetries("87", "-1"), " ", {tracksRange, retriesRange});
    row("empty texts", tracksAndRetries("", ""), " ", {tracksNotNumber, retriesNotNumber});
    row("letters", tracksAndRetries("abc", "five"), " ", {tracksNotNumber, retriesNotNumber});
    // The tools read only whole numbers, and 040 as octal: the rounded
    // number goes on in plain decimal.
    row("fractions are rounded", tracksAndRetries("1.6", "100.4"), " -t2 -x100 ");
    row("halves to even, in", tracksAndRetries("86.5", "-0.5"), " -t86 -x0 ");
    row("halves to even, at bounds", tracksAndRetries("1.5", "100.5"), " -t2 -x100 ");
    row("leading zeros dropped", tracksAndRetries("040", "010"), " -t40 -x10 ");
    row("exponent written out", tracksAndRetries("4E1", "1E1"), " -t40 -x10 ");
    row("halves to even, out", tracksAndRetries("87.5", "-1.5"), " ", {tracksRange, retriesRange});
    row("blanks dropped", tracksAndRetries(" 40", "5 "), " -t40 -x5 ");
    row("beyond 16 bits", tracksAndRetries("40000", "1E6"), " ", {tracksRange, retriesRange});
    row("far beyond 16 bits", tracksAndRetries("1E300", "-1E300"), " ", {tracksRange, retriesRange});
    row("hexadecimal", tracksAndRetries("&H10", "0x10"), " ", {tracksNotNumber, retriesNotNumber});
    row("port letters", Panel().text(Port, "xyz").list(Kind, 0), " -k1 ", {portNotNumber});
    row("port letters that are hexadecimal", Panel().text(Port, "abc"), " ", {portRange});
    row("port empty", Panel().text(Port, ""), " ", {portNotNumber});
    row("port 12345 refused by the tools", Panel().text(Port, "12345"), " ", {portRange});
    row("port 1E300 is hexadecimal too", Panel().text(Port, "1E300"), " ", {portRange});
    row("port as the tools document it", Panel().text(Port, " 0x320 "), " -p0x320 ");
    row("card number", Panel().text(Port, "1"), " -p1 ");
    row("warnings in step order",
        Panel().list(Drive, 0).text(Port, "$5").list(Kind, 1).text(Tracks, "99")
            .list(Sides, 0).text(Retries, "x").extra("-v"),
        "-d0 -k2 -s1 -v", {portNotNumber, tracksRange, retriesNotNumber, valueMissing});
}

void TestOptionString::readOptions()
{
    QFETCH(OptionSet, options);
    QFETCH(QString, expected);
    QFETCH(QStringList, warnings);
    const OptionString result = BuildReadOptions(options);
    QCOMPARE(result.text, expected);
    QCOMPARE(result.warnings, warnings);
}

void TestOptionString::writeOptions_data()
{
    addColumns();
    row("worked example", Panel().list(Drive, 0).text(Port, "1").list(Kind, 2).list(Steps, 0)
            .text(Tracks, "80").list(Sides, 1).list(Encoding, 0).text(Retries, "abc"),
        "-d0 -p1 -k3 -m1 -s2 ");
    row("no box", Panel(), " ");
    row("no box, additional", Panel().extra("abc"), " abc", {bareWord(u"abc"_s, u"dmk2cw"_s)});
    row("read-only groups ignored",
        Panel().text(Tracks, "abc").list(Encoding, 2).text(Retries, "1E300"), " ");
    row("read-only groups, bad ranges", tracksAndRetries("1", "-1"), " ");
    row("drive only", Panel().list(Drive, 1), "-d1 ");
    row("sides only", Panel().list(Sides, 1), " -s2 ");
    row("nothing selected", Panel().list(Drive, -1).list(Steps, -1), " ");
    row("port letters", Panel().text(Port, "xyz").list(Kind, 0).text(Retries, "x"), " -k1 ",
        {portNotNumber});
    row("port typed too", Panel().text(Port, "0x320").extra("-p 0x300"), " -p0x320 -p 0x300",
        {u"-p in the 'Additional parameters' sets what the ticked 'CatWeasel port' sets too; "
         "dmk2cw uses the typed value."_s});
    row("greyed port", Panel().text(Port, "abc", Greyed), " ");
}

void TestOptionString::writeOptions()
{
    QFETCH(OptionSet, options);
    QFETCH(QString, expected);
    QFETCH(QStringList, warnings);
    const OptionString result = BuildWriteOptions(options);
    QCOMPARE(result.text, expected);
    QCOMPARE(result.warnings, warnings);
}

QTEST_APPLESS_MAIN(TestOptionString)
#include "tst_optionstring.moc"
