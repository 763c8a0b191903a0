#include "core/toolcommand.h"

#include <QTest>

using namespace ferncastle;
using namespace Qt::StringLiterals;

class TestToolCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void assemble_data();
    void assemble();
    void fileNameStaysOneArgument_data();
    void fileNameStaysOneArgument();
};

void TestToolCommand::assemble_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<Tool>("tool");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("arguments");

    const auto row = [](const char *name, const char *folder, Tool tool, const char *options,
                        const char *file, const char *commandLine, const QStringList &arguments) {
        QTest::newRow(name) << QString::fromUtf8(folder) << tool << QString::fromUtf8(options)
                            << QString::fromUtf8(file) << QString::fromUtf8(commandLine) << arguments;
    };
    const QString dmk = QStringLiteral("C:\\DISKS\\GAME.DMK");
    row("Disk to Image", "C:\\TOOLS\\", cw2dmk, "-d0 -k2 ", "C:\\DISKS\\GAME.DMK",
        "C:\\TOOLS\\cw2dmk -d0 -k2  \"C:\\DISKS\\GAME.DMK\"", {u"-d0"_s, u"-k2"_s, dmk});
    row("Image to Disk", "C:\\TOOLS\\", dmk2cw, " ", "C:\\DISKS\\GAME.DMK",
        "C:\\TOOLS\\dmk2cw   \"C:\\DISKS\\GAME.DMK\"", {dmk});
    row("DMK to JV", "C:\\TOOLS\\", dmk2jv3, "", "C:\\DISKS\\GAME.DMK",
        "C:\\TOOLS\\dmk2jv3  \"C:\\DISKS\\GAME.DMK\"", {dmk});
    row("JV to DMK", "C:\\TOOLS\\", jv2dmk, "", "C:\\DISKS\\GAME.DSK",
        "C:\\TOOLS\\jv2dmk  \"C:\\DISKS\\GAME.DSK\"", {u"C:\\DISKS\\GAME.DSK"_s});
    row("no separator added", "C:\\TOOLS", cw2dmk, "-d0 -k2 ", "C:\\DISKS\\GAME.DMK",
        "C:\\TOOLScw2dmk -d0 -k2  \"C:\\DISKS\\GAME.DMK\"", {u"-d0"_s, u"-k2"_s, dmk});

    const QString game = QStringLiteral("/home/u/disks/game.dmk");
    row("Linux Disk to Image", "/opt/tools/", cw2dmk, "-d0 -k2 ", "/home/u/disks/game.dmk",
        "/opt/tools/cw2dmk -d0 -k2  \"/home/u/disks/game.dmk\"", {u"-d0"_s, u"-k2"_s, game});
    row("Linux Image to Disk", "/opt/tools/", dmk2cw, " ", "/home/u/disks/game.dmk",
        "/opt/tools/dmk2cw   \"/home/u/disks/game.dmk\"", {game});
    row("Linux DMK to JV", "/opt/tools/", dmk2jv3, "", "/home/u/disks/game.dmk",
        "/opt/tools/dmk2jv3  \"/home/u/disks/game.dmk\"", {game});
    row("Linux JV to DMK", "/opt/tools/", jv2dmk, "", "/home/u/disks/game.dsk",
        "/opt/tools/jv2dmk  \"/home/u/disks/game.dsk\"", {u"/home/u/disks/game.dsk"_s});
    row("Linux no separator added", "/opt/tools", jv2dmk, "", "/d/g.dsk",
        "/opt/toolsjv2dmk  \"/d/g.dsk\"", {u"/d/g.dsk"_s});
    row("found on PATH", "", cw2dmk, " ", "/d/g.dmk", "cw2dmk   \"/d/g.dmk\"", {u"/d/g.dmk"_s});

    row("optional parameters", "/t/", dmk2jv3, "-v 2", "/d/g.dmk", "/t/dmk2jv3 -v 2 \"/d/g.dmk\"",
        {u"-v"_s, u"2"_s, u"/d/g.dmk"_s});
    row("blanks pile up", "/t/", dmk2jv3, "  -v   2  ", "/d/g.dmk",
        "/t/dmk2jv3   -v   2   \"/d/g.dmk\"", {u"-v"_s, u"2"_s, u"/d/g.dmk"_s});
    row("quotes group", "/t/", cw2dmk, "-d0 -l \"a b\" c", "/d/g.dmk",
        "/t/cw2dmk -d0 -l \"a b\" c \"/d/g.dmk\"",
        {u"-d0"_s, u"-l"_s, u"a b"_s, u"c"_s, u"/d/g.dmk"_s});
    row("open quote ends with the text", "/t/", cw2dmk, " -l \"a b", "/d/g.dmk",
        "/t/cw2dmk  -l \"a b \"/d/g.dmk\"", {u"-l"_s, u"a b"_s, u"/d/g.dmk"_s});
    row("no shell in options", "/t/", dmk2jv3, "$(id) ; `id` *", "/d/g.dmk",
        "/t/dmk2jv3 $(id) ; `id` * \"/d/g.dmk\"",
        {u"$(id)"_s, u";"_s, u"`id`"_s, u"*"_s, u"/d/g.dmk"_s});
}

void TestToolCommand::assemble()
{
    QFETCH(QString, folder);
    QFETCH(Tool, tool);
    QFETCH(QString, options);
    QFETCH(QString, file);
    QFETCH(QString, commandLine);
    QFETCH(QStringList, arguments);
    const ToolCommand command = assembleToolCommand(folder, tool, options, file);
    QCOMPARE(command.commandLine, commandLine);
    QCOMPARE(command.program, folder + QLatin1String(tool.name));
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
    const ToolCommand command = assembleToolCommand(u"/t/"_s, cw2dmk, u"-d0 "_s, file);
    QCOMPARE(command.arguments, QStringList({u"-d0"_s, file}));
    QCOMPARE(command.commandLine, u"/t/cw2dmk -d0  \"" + file + u'"');

    const ToolCommand bare = assembleToolCommand(u"/t/"_s, dmk2jv3, QString(), file);
    QCOMPARE(bare.arguments, QStringList{file});
}

QTEST_APPLESS_MAIN(TestToolCommand)
#include "tst_toolcommand.moc"
