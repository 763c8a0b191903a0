#include "core/filefilter.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace ferncastle;
using namespace Qt::StringLiterals;

namespace {

// The patterns of one Qt name filter, read the way QFileDialog reads them:
// the blank-separated list inside the last parentheses.
QStringList patternsOf(const QString &nameFilter)
{
    static const QRegularExpression lastParentheses(u"\\(([^()]*)\\)$"_s);
    return lastParentheses.match(nameFilter).captured(1).split(u' ', Qt::SkipEmptyParts);
}

// Case-sensitive, as the GTK dialog matches.
bool matches(const QString &nameFilter, const QString &fileName)
{
    for (const QString &pattern : patternsOf(nameFilter)) {
        if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern))
                .match(fileName).hasMatch())
            return true;
    }
    return false;
}

QStringList converted(const char *filter)
{
    return toQtNameFilters(QLatin1String(filter)).value_or(QStringList());
}

} // namespace

class TestFileFilter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void convert_data();
    void convert();
    void match_data();
    void match();
    void dialogDirectoryListing();
};

void TestFileFilter::convert_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<std::optional<QStringList>>("expected");

    const QString dmk = u"Disk Image (*.DMK) (*.[dD][mM][kK])"_s;
    const QString dsk = u"Disk Image (*.DSK) (*.[dD][sS][kK])"_s;
    const QString all = u"All Files (*)"_s;
    const auto row = [](const char *name, const char *filter, std::optional<QStringList> expected) {
        QTest::newRow(name) << QString::fromLatin1(filter) << expected;
    };
    // Every filter the program uses, so each is known to pair up.
    row("diskImages", filters::diskImages, QStringList{dmk, dsk, all});
    row("dmkImages", filters::dmkImages, QStringList{dmk, all});
    row("dskImages", filters::dskImages, QStringList{dsk, all});
    row("optionFiles", filters::optionFiles,
        QStringList{u"Options Files (*.DAT) (*.[dD][aA][tT])"_s, all});
#ifdef Q_OS_WIN
    row("toolFiles", filters::toolFiles,
        QStringList{u"Executable Files (*.EXE) (*.[eE][xX][eE])"_s, all});
#else
    row("toolFiles", filters::toolFiles,
        QStringList{u"Disk Tools (cw2dmk, dmk2cw, dmk2jv3, jv2dmk) ([cC][wW]2[dD][mM][kK] "
                    "[dD][mM][kK]2[cC][wW] [dD][mM][kK]2[jJ][vV]3 [jJ][vV]2[dD][mM][kK])"_s, all});
#endif

    row("several patterns", "Images|*.DMK; *.DSK;|All Files|*.*",
        QStringList{u"Images (*.[dD][mM][kK] *.[dD][sS][kK])"_s, all});
    row("no letters", "Numbered|*.001", QStringList{u"Numbered (*.001)"_s});
    row("odd pieces", "Disk Image (*.DMK)|*.DMK|All Files", std::nullopt);
    row("one piece", "*.DMK", std::nullopt);
    row("empty", "", std::nullopt);
}

void TestFileFilter::convert()
{
    QFETCH(QString, filter);
    QFETCH(std::optional<QStringList>, expected);
    const std::optional<QStringList> result = toQtNameFilters(filter);
    QCOMPARE(result.has_value(), expected.has_value());
    if (expected)
        QCOMPARE(*result, *expected);
}

void TestFileFilter::match_data()
{
    QTest::addColumn<QString>("nameFilter");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("expected");

    const QStringList disk = converted(filters::diskImages);
    QCOMPARE(disk.size(), 3);
    const std::tuple<int, const char *, bool> rows[] = {
        {0, "game.dmk", true}, {0, "Game.Dmk", true}, {0, "GAME.DMK", true},
        {0, "my game.dmk", true}, {0, "game.dsk", false}, {0, "game.dmk.bak", false},
        {0, "game", false}, {1, "GAME.DSK", true}, {1, "game.dSk", true},
        {1, "game.dmk", false}, {2, "game.dmk", true}, {2, "README", true},
        {2, ".profile", true},
    };
    for (const auto &[index, file, expected] : rows) {
        QTest::addRow("%s vs %s", qPrintable(disk[index]), file)
            << disk[index] << QString::fromLatin1(file) << expected;
    }
}

void TestFileFilter::match()
{
    QFETCH(QString, nameFilter);
    QFETCH(QString, fileName);
    QFETCH(bool, expected);
    QCOMPARE(matches(nameFilter, fileName), expected);
}

// The same patterns on a real folder, listed case-sensitively.
void TestFileFilter::dialogDirectoryListing()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (const char *name : {"game.dmk", "Game.Dmk", "GAME.DMK", "game.dsk", "README"}) {
        QFile file(folder.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QStringList filters = converted(filters::dmkImages);
    QDir dir(folder.path(), {}, QDir::Name, QDir::Files | QDir::CaseSensitive);
    dir.setNameFilters(patternsOf(filters[0]));
    QCOMPARE(dir.entryList(), QStringList({u"GAME.DMK"_s, u"Game.Dmk"_s, u"game.dmk"_s}));
    dir.setNameFilters(patternsOf(filters[1]));
    QCOMPARE(dir.entryList().size(), 5);
}

QTEST_APPLESS_MAIN(TestFileFilter)
#include "tst_filefilter.moc"
