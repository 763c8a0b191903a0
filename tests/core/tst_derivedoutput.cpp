#include "core/run/writtenfiles.h"
#include "core/tools/derivedoutput.h"
#include "core/tools/tooltable.h"
#include "support/samplefiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <unistd.h>

using namespace ferncastle;
using namespace Qt::StringLiterals;

class TestDerivedOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void name_data();
    void name();
    void clash_data();
    void clash();
    void notAFileRefusalSaysWhatItIs_data();
    void notAFileRefusalSaysWhatItIs();
    void refusalSaysWhatToDo();
    void onlyAnOrdinaryFileIsAnImageWritten_data();
    void onlyAnOrdinaryFileIsAnImageWritten();

private:
    QTemporaryDir m_dir;
};

// The names the tools make from one given name (strrchr on the whole path).
void TestDerivedOutput::name_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("output");

    QTest::newRow("dmk to dsk") << u"/d/game.dmk"_s << u".dsk"_s << u"/d/game.dsk"_s;
    QTest::newRow("upper case kept, tool's case added") << u"/d/GAME.DMK"_s << u".dsk"_s << u"/d/GAME.dsk"_s;
    QTest::newRow("DSK to dmk") << u"/d/GAME.DSK"_s << u".dmk"_s << u"/d/GAME.dmk"_s;
    QTest::newRow("same name") << u"/d/x.dsk"_s << u".dsk"_s << u"/d/x.dsk"_s;
    QTest::newRow("last dot only") << u"/d/a.b.dmk"_s << u".dsk"_s << u"/d/a.b.dsk"_s;
    QTest::newRow("no extension") << u"/d/game"_s << u".dsk"_s << u"/d/game.dsk"_s;
    QTest::newRow("dot in the folder") << u"/d/v1.2/game"_s << u".dsk"_s << u"/d/v1.dsk"_s;
    QTest::newRow("dot file") << u"/d/.dmk"_s << u".dsk"_s << u"/d/.dsk"_s;
    QTest::newRow("trailing dot") << u"/d/game."_s << u".dmk"_s << u"/d/game.dmk"_s;
}

void TestDerivedOutput::name()
{
    QFETCH(QString, input);
    QFETCH(QString, extension);
    QFETCH(QString, output);
    QCOMPARE(derivedOutputFile(input, QLatin1String(extension.toLatin1())), output);
}

void TestDerivedOutput::clash_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::addColumn<int>("clash");

    QVERIFY(m_dir.isValid());
    const QString dmk = test::writeSampleFile(m_dir, u"dd40.dmk"_s);
    QTest::newRow("nothing there") << dmk << m_dir.filePath(u"dd40.dsk"_s) << int(OutputClash::None);
    const QString old = test::writeSampleFile(m_dir, u"old.dmk"_s);
    const QString oldDsk = test::writeSampleFile(m_dir, u"old.dsk"_s, "old file, should not vanish");
    QTest::newRow("other file exists") << old << oldDsk << int(OutputClash::Exists);
    const QString same = test::writeSampleFile(m_dir, u"image.dsk"_s);
    QTest::newRow("same name") << same << same << int(OutputClash::IsChosenFile);
    const QString target = test::writeSampleFile(m_dir, u"real.dsk"_s);
    const QString link = m_dir.filePath(u"link.dmk"_s);
    QVERIFY(QFile::link(target, link));
    QTest::newRow("chosen is a link to the output") << link << target << int(OutputClash::IsChosenFile);
    const QString hard = m_dir.filePath(u"hard.dmk"_s);
    const QString hardTarget = test::writeSampleFile(m_dir, u"hard-target.dsk"_s);
    QCOMPARE(::link(QFile::encodeName(hardTarget).constData(), QFile::encodeName(hard).constData()), 0);
    QTest::newRow("hard link") << hard << hardTarget << int(OutputClash::IsChosenFile);
    QTest::newRow("other spelling of the path") << same << m_dir.filePath(u"./image.dsk"_s)
                                                << int(OutputClash::IsChosenFile);
    // Outputs that are not ordinary files: the tool would write through or
    // into them.
    const QString precious = test::writeSampleFile(m_dir, u"precious.txt"_s, "keep me");
    const QString in = test::writeSampleFile(m_dir, u"in.dmk"_s);
    QVERIFY(QFile::link(precious, m_dir.filePath(u"in.dsk"_s)));
    QTest::newRow("output is a link to another file") << in << m_dir.filePath(u"in.dsk"_s)
                                                      << int(OutputClash::NotAFile);
    QVERIFY(QFile::link(m_dir.filePath(u"nowhere/x"_s), m_dir.filePath(u"dangling.dsk"_s)));
    QTest::newRow("output is a link leading nowhere") << in << m_dir.filePath(u"dangling.dsk"_s)
                                                      << int(OutputClash::NotAFile);
    QVERIFY(QDir(m_dir.path()).mkdir(u"folder.dsk"_s));
    QTest::newRow("output is a folder") << in << m_dir.filePath(u"folder.dsk"_s) << int(OutputClash::NotAFile);
    QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath(u"pipe.dsk"_s)).constData(), 0600), 0);
    QTest::newRow("output is a FIFO") << in << m_dir.filePath(u"pipe.dsk"_s) << int(OutputClash::NotAFile);
    QTest::newRow("output is a device") << in << u"/dev/null"_s << int(OutputClash::NotAFile);
}

void TestDerivedOutput::clash()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(int, clash);
    QCOMPARE(int(outputClash(chosen, written)), clash);
}

void TestDerivedOutput::notAFileRefusalSaysWhatItIs_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("kind");

    QTest::newRow("link") << m_dir.filePath(u"in.dsk"_s) << u"a link to "_s;
    QTest::newRow("folder") << m_dir.filePath(u"folder.dsk"_s) << u"a folder"_s;
    QTest::newRow("FIFO") << m_dir.filePath(u"pipe.dsk"_s) << u"a named pipe (FIFO)"_s;
    QTest::newRow("device") << u"/dev/null"_s << u"a device"_s;
}

void TestDerivedOutput::notAFileRefusalSaysWhatItIs()
{
    QFETCH(QString, written);
    QFETCH(QString, kind);
    const QString text = notAFileRefusal(u"dmk2jv3"_s, written);
    QVERIFY2(text.contains(kind), qPrintable(text));
    QVERIFY(text.contains(u"Nothing was started."));
    QVERIFY(text.contains(u"Move or rename"));
}

void TestDerivedOutput::refusalSaysWhatToDo()
{
    const QString text = sameFileRefusal(u"dmk2jv3"_s, u"/d/x.dsk"_s, u".dsk"_s);
    QVERIFY(text.contains(u"/d/x.dsk"));
    QVERIFY(text.contains(u"Rename the file"));
    QVERIFY(text.contains(u"output name"));
    QVERIFY(!text.contains(u"Replace", Qt::CaseInsensitive));
}

void TestDerivedOutput::onlyAnOrdinaryFileIsAnImageWritten_data()
{
    QTest::addColumn<QString>("appears");
    QTest::addColumn<bool>("touched");

    QTest::newRow("folder") << u"folder"_s << false;
    QTest::newRow("FIFO") << u"fifo"_s << false;
    QTest::newRow("file") << u"file"_s << true;
}

// A folder or pipe under an output's name during a run is not an image:
// it is never called incomplete nor read back.
void TestDerivedOutput::onlyAnOrdinaryFileIsAnImageWritten()
{
    QFETCH(QString, appears);
    QFETCH(bool, touched);
    QTemporaryDir dir;
    const QString output = dir.filePath(u"out.dmk"_s);
    const WrittenFiles written({output});
    if (appears == u"folder")
        QVERIFY(QDir().mkdir(output));
    else if (appears == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(output).constData(), 0600), 0);
    else
        test::writeSampleFile(dir, u"out.dmk"_s);
    QCOMPARE(written.touched(0), touched);
    QCOMPARE(written.touchedPaths().size(), touched ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestDerivedOutput)
#include "tst_derivedoutput.moc"
