#include "core/tools/toolrun.h"
#include "support/samplefiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QDir>
#include <QTest>

using namespace ferncastle;
using namespace Qt::StringLiterals;

class TestToolRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void conversionRun_data();
    void conversionRun();
    void output_data();
    void output();

private:
    QTemporaryDir m_dir;
};

void TestToolRun::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

// %F stands for the chosen file. A JV1 image given to jv2dmk gets -j1
// unless -j was typed; the preview ("<file>") never looks at a file.
void TestToolRun::conversionRun_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("stopsRun");
    QTest::addColumn<int>("notes");

    const QString jv1 = test::writeSampleFile(m_dir, u"m1.dsk"_s, QByteArray(35 * 2560, char(0xE5)));
    const QString jv3 = test::writeSampleFile(m_dir, u"dd.dsk"_s, QByteArray(34 * 256 - 1, char(0xFF)) + char(0xFF) + QByteArray(1536, 0));
    const int jvToDmk = int(ToolActionId::JvToDmk);
    QTest::newRow("preview") << jvToDmk << u"-k3"_s << u"<file>"_s << u"/t/jv2dmk -k3 \"<file>\""_s << false << 0;
    QTest::newRow("JV1 gets -j1") << jvToDmk << QString() << jv1 << u"/t/jv2dmk -j1 \"%F\""_s << false << 1;
    QTest::newRow("JV1, -j1 before typed") << jvToDmk << u"-k2"_s << jv1 << u"/t/jv2dmk -j1 -k2 \"%F\""_s
                                          << false << 1;
    QTest::newRow("JV1, -j typed") << jvToDmk << u"-j3"_s << jv1 << u"/t/jv2dmk -j3 \"%F\""_s << false << 0;
    QTest::newRow("JV3 as it is") << jvToDmk << QString() << jv3 << u"/t/jv2dmk  \"%F\""_s << false << 0;
    QTest::newRow("DMK to JV never gets -j1") << int(ToolActionId::DmkToJv) << QString() << jv1
                                              << u"/t/dmk2jv3  \"%F\""_s << false << 0;
    QTest::newRow("output name typed") << int(ToolActionId::DmkToJv) << u"out.dsk"_s << u"<file>"_s
                                       << u"/t/dmk2jv3 out.dsk \"<file>\""_s << true << 0;
    QTest::newRow("open quote") << jvToDmk << u"-k\"2"_s << jv1 << u"/t/jv2dmk -j1 -k\"2 \"%F\""_s << true << 1;
}

void TestToolRun::conversionRun()
{
    QFETCH(int, action);
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    QFETCH(QString, commandLine);
    QFETCH(bool, stopsRun);
    QFETCH(int, notes);

    RunInputs inputs;
    inputs.optionalParms = typed;
    inputs.toolsFolder = u"/t/"_s;
    inputs.options.extraParms = u"ignored by conversions"_s;
    const PlannedRun run = planToolRun(ToolActionId(action), inputs, chosen);
    QCOMPARE(run.command.commandLine, QString(commandLine).replace(u"%F"_s, chosen));
    QCOMPARE(run.stopsRun, stopsRun);
    QCOMPARE(run.notes.size(), notes);
}

void TestToolRun::output_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("mentions");

    const QString dmk = test::writeSampleFile(m_dir, u"game.dmk"_s);
    QTest::newRow("DMK to JV, nothing in the way") << int(ToolActionId::DmkToJv) << dmk
                                                   << int(OutputDecision::Start) << QString();
    const QString old = test::writeSampleFile(m_dir, u"old.dmk"_s);
    const QString oldDsk = test::writeSampleFile(m_dir, u"old.dsk"_s);
    QTest::newRow("DMK to JV, JV image exists") << int(ToolActionId::DmkToJv) << old
                                                << int(OutputDecision::Ask) << oldDsk;
    const QString dmkNamedDsk = test::writeSampleFile(m_dir, u"x.dsk"_s);
    QTest::newRow("DMK named .dsk") << int(ToolActionId::DmkToJv) << dmkNamedDsk
                                    << int(OutputDecision::Refuse) << dmkNamedDsk;
    const QString jvNamedDmk = test::writeSampleFile(m_dir, u"y.dmk"_s);
    QTest::newRow("JV named .dmk") << int(ToolActionId::JvToDmk) << jvNamedDmk
                                   << int(OutputDecision::Refuse) << jvNamedDmk;
    const QString jv = test::writeSampleFile(m_dir, u"z.DSK"_s);
    test::writeSampleFile(m_dir, u"z.dmk"_s);
    QTest::newRow("JV to DMK, DMK exists") << int(ToolActionId::JvToDmk) << jv
                                           << int(OutputDecision::Ask) << m_dir.filePath(u"z.dmk"_s);
    const QString in = test::writeSampleFile(m_dir, u"in.dmk"_s);
    const QString precious = test::writeSampleFile(m_dir, u"precious.txt"_s);
    QVERIFY(QFile::link(precious, m_dir.filePath(u"in.dsk"_s)));
    QTest::newRow("DMK to JV, JV name is a link") << int(ToolActionId::DmkToJv) << in
                                                  << int(OutputDecision::Refuse) << u"a link to"_s;
    const QString jvBesideFolder = test::writeSampleFile(m_dir, u"w.dsk"_s);
    QVERIFY(QDir(m_dir.path()).mkdir(u"w.dmk"_s));
    QTest::newRow("JV to DMK, DMK name is a folder") << int(ToolActionId::JvToDmk) << jvBesideFolder
                                                     << int(OutputDecision::Refuse) << u"a folder"_s;
    QTest::newRow("Disk to Image: the dialog asked") << int(ToolActionId::DiskToImage) << dmk
                                                     << int(OutputDecision::Start) << QString();
    QTest::newRow("Image to Disk writes no file") << int(ToolActionId::ImageToDisk) << dmk
                                                  << int(OutputDecision::Start) << QString();
}

void TestToolRun::output()
{
    QFETCH(int, action);
    QFETCH(QString, chosen);
    QFETCH(int, verdict);
    QFETCH(QString, mentions);

    const PlannedRun run = planToolRun(ToolActionId(action), RunInputs{}, chosen);
    const OutputDecision decision = decideOutput(run.command);
    QCOMPARE(int(decision.verdict), verdict);
    QVERIFY2(decision.text.contains(mentions), qPrintable(decision.text));
}

QTEST_GUILESS_MAIN(TestToolRun)
#include "tst_toolrun.moc"
