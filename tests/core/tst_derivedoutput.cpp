#include "core/derivedoutput.h"
#include "support/samplefiles.h"
#include "core/tools/tooltable.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
    void refusalSaysWhatToDo();

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
}

void TestDerivedOutput::clash()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(int, clash);
    QCOMPARE(int(outputClash(chosen, written)), clash);
}

void TestDerivedOutput::refusalSaysWhatToDo()
{
    const QString text = sameFileRefusal(u"dmk2jv3"_s, u"/d/x.dsk"_s, u".dsk"_s);
    QVERIFY(text.contains(u"/d/x.dsk"));
    QVERIFY(text.contains(u"Rename the file"));
    QVERIFY(text.contains(u"output name"));
    QVERIFY(!text.contains(u"Replace", Qt::CaseInsensitive));
}

QTEST_GUILESS_MAIN(TestDerivedOutput)
#include "tst_derivedoutput.moc"
