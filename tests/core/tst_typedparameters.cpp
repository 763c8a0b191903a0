#include "core/options/typedparameters.h"

#include <QTest>

using namespace ferncastle;
using namespace Qt::StringLiterals;

namespace {

const QString additional = u"Additional parameters"_s;
const QString optional = u"Optional parameters"_s;

const ToolOptions &optionsOf(const QString &tool)
{
    const ToolRow *row = toolNamed(tool);
    Q_ASSERT(row);
    return row->options;
}

} // namespace

class TestTypedParameters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reading_data();
    void reading();
    void unknownToolHasNoTable();
    void warnings_data();
    void warnings();
};

// Each row: what getopt() in the tool takes as options, as file names, and
// which option would swallow the chosen file as its value.
void TestTypedParameters::reading_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QStringList>("bareWords");
    QTest::addColumn<QString>("valueMissing");
    QTest::addColumn<bool>("oddQuotes");

    const auto row = [](const char *name, const char *tool, const char *text, const char *options,
                        const QStringList &bare = {}, const char *missing = "", bool odd = false) {
        QTest::newRow(name) << QString::fromLatin1(tool) << QString::fromUtf8(text)
                            << QString::fromLatin1(options) << bare << QString::fromLatin1(missing) << odd;
    };
    row("empty", "jv2dmk", "", "");
    row("blanks only", "jv2dmk", "   ", "");
    row("attached value", "jv2dmk", "-v2", "v");
    row("separate value", "jv2dmk", "-v 2", "v");
    row("-j1 for JV1", "jv2dmk", "-j1 -k3", "jk");
    row("bare word is the input file", "jv2dmk", "out.dmk", "", {u"out.dmk"_s});
    row("bare word after options", "dmk2jv3", "-v 2 new.dsk", "v", {u"new.dsk"_s});
    row("value that looks like an option", "cw2dmk", "-i -1", "i");
    row("-1 is an option of cw2dmk", "cw2dmk", "-k2 -1 20", "k1");
    row("cw2dmk -j takes no value", "cw2dmk", "-j x.dmk", "j", {u"x.dmk"_s});
    row("cluster of flag and option", "cw2dmk", "-jv3", "jv");
    row("cluster ending in an option", "cw2dmk", "-jv 3", "jv");
    row("value at the end swallows the file", "dmk2jv3", "-v", "v", {}, "v");
    row("log file at the end", "cw2dmk", "-k2 -u", "ku", {}, "u");
    row("-j is no option of dmk2jv3", "dmk2jv3", "-j1", "j1");
    row("dmk2jv3 -j1 then a word", "dmk2jv3", "-j 1", "j", {u"1"_s});
    row("lone dash is a file name", "jv2dmk", "-", "", {u"-"_s});
    row("double dash ends the options", "jv2dmk", "-- -v2", "", {u"-v2"_s});
    row("double dash as a value", "jv2dmk", "-v -- x", "v", {u"x"_s});
    row("quoted value stays one argument", "cw2dmk", "-u \"my log.txt\"", "u");
    row("quoted word is one file name", "jv2dmk", "\"a b\"", "", {u"a b"_s});
    row("odd quotes", "jv2dmk", "-v2 \"abc", "v", {u"abc"_s}, "", true);
    row("dmk2cw newest options", "dmk2cw", "-a 1.01 -e1 -T 6,0", "aeT");
    row("replay", "cw2dmk", "-R dd40.log -k2", "Rk");
}

void TestTypedParameters::reading()
{
    QFETCH(QString, tool);
    QFETCH(QString, text);
    QFETCH(QString, options);
    QFETCH(QStringList, bareWords);
    QFETCH(QString, valueMissing);
    QFETCH(bool, oddQuotes);

    const TypedParameters typed = readTypedParameters(text, optionsOf(tool));
    QCOMPARE(typed.options, options);
    QCOMPARE(typed.bareWords, bareWords);
    QCOMPARE(QString(typed.valueMissing.isNull() ? QString() : QString(typed.valueMissing)), valueMissing);
    QCOMPARE(typed.oddQuotes, oddQuotes);
}

void TestTypedParameters::unknownToolHasNoTable()
{
    QVERIFY(!toolNamed(u"cw2dmk.exe"));
    QVERIFY(!toolNamed(u""));
    QVERIFY(toolNamed(u"dmk2cw"));
}

void TestTypedParameters::warnings_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<bool>("stopsRun");

    QTest::newRow("clean") << u"jv2dmk"_s << optional << u"-v1 -k3"_s << QStringList() << false;
    QTest::newRow("odd quotes only") << u"cw2dmk"_s << additional << u"-t40 \"x y"_s
        << QStringList{u"The 'Additional parameters' have an odd number of double quotes. "
                       "Close the open quote; nothing is started until then."_s}
        << true;
    QTest::newRow("bare word") << u"dmk2jv3"_s << optional << u"new.dsk"_s
        << QStringList{u"\"new.dsk\" in the 'Optional parameters' is neither an option nor an "
                       "option's value: dmk2jv3 would take it as a file name in place of the chosen "
                       "file. Remove it; nothing is started until then."_s}
        << true;
    QTest::newRow("missing value") << u"jv2dmk"_s << optional << u"-k"_s
        << QStringList{u"The option -k at the end of the 'Optional parameters' needs a value: "
                       "jv2dmk would take the chosen file as its value. Give it a value; nothing "
                       "is started until then."_s}
        << true;
    QTest::newRow("tracks typed and ticked") << u"cw2dmk"_s << additional << u"-t 80 -v3"_s
        << QStringList{u"-t in the 'Additional parameters' sets what the ticked 'Number of tracks' "
                       "sets too; cw2dmk uses the typed value."_s}
        << false;
    QTest::newRow("a value -t is no flag") << u"cw2dmk"_s << additional << u"-u -t"_s
        << QStringList() << false;
}

void TestTypedParameters::warnings()
{
    QFETCH(QString, tool);
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QStringList, warnings);
    QFETCH(bool, stopsRun);

    const GroupFlag ticked[] = {{u't', "Number of tracks"}, {u'd', "CatWeasel drive"}};
    const ParameterCheck check =
        checkTypedParameters(readTypedParameters(text, optionsOf(tool)), box, tool, ticked);
    QCOMPARE(check.warnings, warnings);
    QCOMPARE(check.stopsRun, stopsRun);
}

QTEST_GUILESS_MAIN(TestTypedParameters)
#include "tst_typedparameters.moc"
