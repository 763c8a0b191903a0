#include "core/tools/toolcommand.h"
#include "core/tools/toolpath.h"
#include "support/assembledcommand.h"

#include <QTest>

using namespace ferncastle;
using ferncastle::test::assembled;
using namespace Qt::StringLiterals;

class TestToolCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void assemble_data();
    void assemble();
    void fileNameStaysOneArgument_data();
    void fileNameStaysOneArgument();
    void writtenFiles_data();
    void writtenFiles();
    void folderJoin_data();
    void folderJoin();
};

void TestToolCommand::assemble_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<ToolActionId>("action");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("arguments");

    const auto row = [](const char *name, const char *folder, ToolActionId action, const char *options,
                        const char *file, const char *commandLine, const QStringList &arguments) {
        QTest::newRow(name) << QString::fromUtf8(folder) << action << QString::fromUtf8(options)
                            << QString::fromUtf8(file) << QString::fromUtf8(commandLine) << arguments;
    };
    const QString dmk = QStringLiteral("C:\\DISKS\\GAME.DMK");
    row("Disk to Image", "C:/TOOLS/", ToolActionId::DiskToImage, "-d0 -k2 ", "C:\\DISKS\\GAME.DMK",
        "C:/TOOLS/cw2dmk -d0 -k2  \"C:\\DISKS\\GAME.DMK\"", {u"-d0"_s, u"-k2"_s, dmk});
    row("Image to Disk", "C:/TOOLS/", ToolActionId::ImageToDisk, " ", "C:\\DISKS\\GAME.DMK",
        "C:/TOOLS/dmk2cw   \"C:\\DISKS\\GAME.DMK\"", {dmk});
    row("DMK to JV", "C:/TOOLS/", ToolActionId::DmkToJv, "", "C:\\DISKS\\GAME.DMK",
        "C:/TOOLS/dmk2jv3  \"C:\\DISKS\\GAME.DMK\"", {dmk});
    row("JV to DMK", "C:/TOOLS/", ToolActionId::JvToDmk, "", "C:\\DISKS\\GAME.DSK",
        "C:/TOOLS/jv2dmk  \"C:\\DISKS\\GAME.DSK\"", {u"C:\\DISKS\\GAME.DSK"_s});
    row("separator added", "C:/TOOLS", ToolActionId::DiskToImage, "-d0 -k2 ", "C:\\DISKS\\GAME.DMK",
        "C:/TOOLS/cw2dmk -d0 -k2  \"C:\\DISKS\\GAME.DMK\"", {u"-d0"_s, u"-k2"_s, dmk});

    const QString game = QStringLiteral("/home/u/disks/game.dmk");
    row("Linux Disk to Image", "/opt/tools/", ToolActionId::DiskToImage, "-d0 -k2 ", "/home/u/disks/game.dmk",
        "/opt/tools/cw2dmk -d0 -k2  \"/home/u/disks/game.dmk\"", {u"-d0"_s, u"-k2"_s, game});
    row("Linux Image to Disk", "/opt/tools/", ToolActionId::ImageToDisk, " ", "/home/u/disks/game.dmk",
        "/opt/tools/dmk2cw   \"/home/u/disks/game.dmk\"", {game});
    row("Linux DMK to JV", "/opt/tools/", ToolActionId::DmkToJv, "", "/home/u/disks/game.dmk",
        "/opt/tools/dmk2jv3  \"/home/u/disks/game.dmk\"", {game});
    row("Linux JV to DMK", "/opt/tools/", ToolActionId::JvToDmk, "", "/home/u/disks/game.dsk",
        "/opt/tools/jv2dmk  \"/home/u/disks/game.dsk\"", {u"/home/u/disks/game.dsk"_s});
    row("Linux separator added", "/opt/tools", ToolActionId::JvToDmk, "", "/d/g.dsk",
        "/opt/tools/jv2dmk  \"/d/g.dsk\"", {u"/d/g.dsk"_s});
    row("found on PATH", "", ToolActionId::DiskToImage, " ", "/d/g.dmk", "cw2dmk   \"/d/g.dmk\"", {u"/d/g.dmk"_s});

    row("optional parameters", "/t/", ToolActionId::DmkToJv, "-v 2", "/d/g.dmk", "/t/dmk2jv3 -v 2 \"/d/g.dmk\"",
        {u"-v"_s, u"2"_s, u"/d/g.dmk"_s});
    row("blanks pile up", "/t/", ToolActionId::DmkToJv, "  -v   2  ", "/d/g.dmk",
        "/t/dmk2jv3   -v   2   \"/d/g.dmk\"", {u"-v"_s, u"2"_s, u"/d/g.dmk"_s});
    row("quotes group", "/t/", ToolActionId::DiskToImage, "-d0 -l \"a b\" c", "/d/g.dmk",
        "/t/cw2dmk -d0 -l \"a b\" c \"/d/g.dmk\"",
        {u"-d0"_s, u"-l"_s, u"a b"_s, u"c"_s, u"/d/g.dmk"_s});
    row("open quote ends with the text", "/t/", ToolActionId::DiskToImage, " -l \"a b", "/d/g.dmk",
        "/t/cw2dmk  -l \"a b \"/d/g.dmk\"", {u"-l"_s, u"a b"_s, u"/d/g.dmk"_s});
    row("no shell in options", "/t/", ToolActionId::DmkToJv, "$(id) ; `id` *", "/d/g.dmk",
        "/t/dmk2jv3 $(id) ; `id` * \"/d/g.dmk\"",
        {u"$(id)"_s, u";"_s, u"`id`"_s, u"*"_s, u"/d/g.dmk"_s});
}

void TestToolCommand::assemble()
{
    QFETCH(QString, folder);
    QFETCH(ToolActionId, action);
    QFETCH(QString, options);
    QFETCH(QString, file);
    QFETCH(QString, commandLine);
    QFETCH(QStringList, arguments);
    const ToolCommand command = assembled(folder, action, options, file);
    QCOMPARE(command.action, action);
    QCOMPARE(command.tool, QLatin1String(toolRow(action).tool));
    QCOMPARE(command.chosenFile, file);
    QCOMPARE(command.commandLine, commandLine);
    QCOMPARE(command.program, toolProgram(folder, command.tool));
    QVERIFY(commandLine.startsWith(command.program + u' '));
    QCOMPARE(command.arguments, arguments);
}

void TestToolCommand::fileNameStaysOneArgument_data()
{
    QTest::addColumn<QString>("file");
    for (const char *file : {"/d/my game.dmk", "/d/\"quoted\".dmk", "/d/it's.dmk",
                             "/d/$(rm -rf ~).dmk", "/d/a;reboot.dmk", "/d/`id`.dmk", "/d/*.dmk",
                             "-rf.dmk", "/d/sp\xc3\xa4t \xe6\x97\xa5\xe6\x9c\xac.dmk",
                             "/d/ lead and trail .dmk ", "/d/a\\\"b.dmk"})
        QTest::newRow(file) << QString::fromUtf8(file);
}

void TestToolCommand::fileNameStaysOneArgument()
{
    QFETCH(QString, file);
    const ToolCommand command = assembled(u"/t/"_s, ToolActionId::DiskToImage, u"-d0 "_s, file);
    QCOMPARE(command.arguments, QStringList({u"-d0"_s, file}));
    QCOMPARE(command.commandLine, u"/t/cw2dmk -d0  \"" + file + u'"');

    const ToolCommand bare = assembled(u"/t/"_s, ToolActionId::DmkToJv, QString(), file);
    QCOMPARE(bare.arguments, QStringList{file});
}

// The conversions drop everything from the last dot of the whole name, as
// the tools do, so a dot in a folder name counts when the file has none.
void TestToolCommand::writtenFiles_data()
{
    QTest::addColumn<ToolActionId>("action");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("written");
    const auto row = [](const char *name, ToolActionId action, const char *file,
                        const QStringList &written) {
        QTest::newRow(name) << action << QString::fromUtf8(file) << written;
    };
    row("Disk to Image writes the chosen image", ToolActionId::DiskToImage, "/d/GAME.DMK",
        {u"/d/GAME.DMK"_s});
    row("Image to Disk writes no file", ToolActionId::ImageToDisk, "/d/GAME.DMK", {});
    row("DMK to JV", ToolActionId::DmkToJv, "/d/GAME.DMK", {u"/d/GAME.dsk"_s});
    row("DMK to JV, no extension", ToolActionId::DmkToJv, "/d/GAME", {u"/d/GAME.dsk"_s});
    row("DMK to JV, two dots", ToolActionId::DmkToJv, "/d/a.b.dmk", {u"/d/a.b.dsk"_s});
    row("DMK to JV, dot only in the folder", ToolActionId::DmkToJv, "/d/my.disks/GAME",
        {u"/d/my.dsk"_s});
    row("JV to DMK", ToolActionId::JvToDmk, "/d/GAME.DSK", {u"/d/GAME.dmk"_s});
    row("JV to DMK of a .dmk name writes that file", ToolActionId::JvToDmk, "/d/g.dmk",
        {u"/d/g.dmk"_s});
}

void TestToolCommand::writtenFiles()
{
    QFETCH(ToolActionId, action);
    QFETCH(QString, file);
    QFETCH(QStringList, written);
    QCOMPARE(assembled(u"/t/"_s, action, QString(), file).writtenFiles, written);
}

// A folder typed without its separator must still name the tool inside it;
// the separator is the system's, and '/' ends a folder everywhere.
void TestToolCommand::folderJoin_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("program");

    QTest::newRow("no trailing slash") << u"/opt/cw"_s << QChar(u'/') << u"/opt/cw/cw2dmk"_s;
    QTest::newRow("trailing slash") << u"/opt/cw/"_s << QChar(u'/') << u"/opt/cw/cw2dmk"_s;
    QTest::newRow("root") << u"/"_s << QChar(u'/') << u"/cw2dmk"_s;
    QTest::newRow("empty: looked up on PATH") << QString() << QChar(u'/') << u"cw2dmk"_s;
    QTest::newRow("blanks are a folder name") << u"  "_s << QChar(u'/') << u"  /cw2dmk"_s;
    QTest::newRow("backslash is a name character on Linux")
        << u"/opt/cw\\"_s << QChar(u'/') << u"/opt/cw\\/cw2dmk"_s;
    QTest::newRow("Windows, no separator") << u"C:\\CW"_s << QChar(u'\\') << u"C:\\CW\\cw2dmk"_s;
    QTest::newRow("Windows, separator") << u"C:\\CW\\"_s << QChar(u'\\') << u"C:\\CW\\cw2dmk"_s;
    QTest::newRow("Windows, forward slash") << u"C:/CW/"_s << QChar(u'\\') << u"C:/CW/cw2dmk"_s;
}

void TestToolCommand::folderJoin()
{
    QFETCH(QString, folder);
    QFETCH(QChar, separator);
    QFETCH(QString, program);

    QCOMPARE(toolProgram(folder, u"cw2dmk"_s, separator), program);
}

QTEST_APPLESS_MAIN(TestToolCommand)
#include "tst_toolcommand.moc"
