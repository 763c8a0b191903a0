#include "core/optionstring.h"

#include <QTest>

using namespace ferncastle;

namespace {

const QString portNotNumber = QStringLiteral("The 'CatWeasel port' is not a number. Option not used");
const QString tracksNotNumber = QStringLiteral("The 'Number of tracks' is not a number. Option not used");
const QString tracksRange =
    QStringLiteral("The 'Number of tracks' is not between 2 and 86 tracks. Option not used");
const QString retriesNotNumber = QStringLiteral("The 'Number of retries' is not a number. Option not used");
const QString retriesRange =
    QStringLiteral("The 'Number of retries' is not between 0 and 100. Option not used");

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
    row("no box, additional", Panel().extra("abc"), " abc");
    row("additional untrimmed", Panel().list(Drive, 0).extra("  -v \"a b\" "), "-d0   -v \"a b\" ");
    row("drive only", Panel().list(Drive, 0), "-d0 ");
    row("kind only", Panel().list(Kind, 0), " -k1 ");
    row("last entries", Panel().list(Kind, 3).list(Steps, 1).list(Sides, 1).list(Encoding, 2),
        " -k4 -m2 -s2 -e3 ");
    row("nothing selected", Panel().list(Drive, -1).list(Kind, -1), "-d-1 -k0 ");
    row("greyed counts as off", Panel().list(Drive, 1, Greyed).text(Tracks, "x", Greyed), " ");
    row("tracks 2, retries 0", tracksAndRetries("2", "0"), " -t2 -x0 ");
    row("tracks 86, retries 100", tracksAndRetries("86", "100"), " -t86 -x100 ");
    row("tracks 1, retries 101", tracksAndRetries("1", "101"), " ", {tracksRange, retriesRange});
    row("tracks 87, retries -1", tracksAndRetries("87", "-1"), " ", {tracksRange, retriesRange});
    row("empty texts", tracksAndRetries("", ""), " ", {tracksNotNumber, retriesNotNumber});
    row("letters", tracksAndRetries("abc", "five"), " ", {tracksNotNumber, retriesNotNumber});
    row("fractions pass unchanged", tracksAndRetries("1.6", "100.4"), " -t1.6 -x100.4 ");
    row("halves to even, in", tracksAndRetries("86.5", "-0.5"), " -t86.5 -x-0.5 ");
    row("halves to even, at bounds", tracksAndRetries("1.5", "100.5"), " -t1.5 -x100.5 ");
    row("halves to even, out", tracksAndRetries("87.5", "-1.5"), " ", {tracksRange, retriesRange});
    row("blank kept", tracksAndRetries(" 40", "5 "), " -t 40 -x5  ");
    row("beyond 16 bits", tracksAndRetries("40000", "1E6"), " ", {tracksRange, retriesRange});
    row("far beyond 16 bits", tracksAndRetries("1E300", "-1E300"), " ", {tracksRange, retriesRange});
    row("hexadecimal", tracksAndRetries("&H10", "0x10"), " ", {tracksNotNumber, retriesNotNumber});
    row("port letters", Panel().text(Port, "abc").list(Kind, 0), " -k1 ", {portNotNumber});
    row("port empty", Panel().text(Port, ""), " ", {portNotNumber});
    row("port 12345", Panel().text(Port, "12345"), " -p12345 ");
    row("port has no range", Panel().text(Port, "1E300"), " -p1E300 ");
    row("warnings in step order",
        Panel().list(Drive, 0).text(Port, "$5").list(Kind, 1).text(Tracks, "99")
            .list(Sides, 0).text(Retries, "x").extra("-v"),
        "-d0 -k2 -s1 -v", {portNotNumber, tracksRange, retriesNotNumber});
}

void TestOptionString::readOptions()
{
    QFETCH(OptionSet, options);
    QFETCH(QString, expected);
    QFETCH(QStringList, warnings);
    const OptionString result = readOptionString(options);
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
    row("no box, additional", Panel().extra("abc"), " abc");
    row("read-only groups ignored",
        Panel().text(Tracks, "abc").list(Encoding, 2).text(Retries, "1E300"), " ");
    row("read-only groups, bad ranges", tracksAndRetries("1", "-1"), " ");
    row("drive only", Panel().list(Drive, 1), "-d1 ");
    row("sides only", Panel().list(Sides, 1), " -s2 ");
    row("nothing selected", Panel().list(Drive, -1).list(Steps, -1), "-d-1 -m0 ");
    row("port letters", Panel().text(Port, "abc").list(Kind, 0).text(Retries, "x"), " -k1 ",
        {portNotNumber});
    row("greyed port", Panel().text(Port, "abc", Greyed), " ");
}

void TestOptionString::writeOptions()
{
    QFETCH(OptionSet, options);
    QFETCH(QString, expected);
    QFETCH(QStringList, warnings);
    const OptionString result = writeOptionString(options);
    QCOMPARE(result.text, expected);
    QCOMPARE(result.warnings, warnings);
}

QTEST_APPLESS_MAIN(TestOptionString)
#include "tst_optionstring.moc"
