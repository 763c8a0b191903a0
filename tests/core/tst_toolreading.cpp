#include "core/options/optionstring.h"
#include "core/tools/toolcommand.h"
#include "core/tools/toolrun.h"
#include "core/tools/tooltable.h"

#include <QProcess>
#include <QTest>

using namespace ferncastle;
using namespace Qt::StringLiterals;

namespace {

const QString chosenFile = u"/home/u/disks/my game.dmk"_s;

// What the stand-in prints after reading the command line as the tool
// would, one line per option and file name.
QStringList toolReading(const ToolCommand &command, const char *tool)
{
    QProcess standIn;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"STANDIN_OPTIONS"_s, QLatin1String(toolNamed(QString::fromLatin1(tool))->options.optionString));
    standIn.setProcessEnvironment(environment);
    standIn.start(QStringLiteral(GETOPT_STANDIN), command.arguments);
    if (!standIn.waitForFinished(10000) || standIn.exitCode() != 0)
        return {u"stand-in failed"_s};
    return QString::fromLocal8Bit(standIn.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// The command Disk to Image starts with only this group ticked, built by
// the same call the button and the preview make.
ToolCommand diskToImage(GroupIndex index, const GroupState &state)
{
    RunInputs inputs;
    inputs.options.groups[index] = state;
    return planToolRun(ToolActionId::DiskToImage, inputs, chosenFile).command;
}

// What the stand-in must print: the group's option with the number meant
// (none when meant is -1), then the chosen file.
QStringList meaning(GroupIndex index, int meant)
{
    QStringList lines;
    if (meant >= 0)
        lines.append(QLatin1String(optionGroups()[index].flag).back() + u' ' + QString::number(meant));
    lines.append(u"file "_s + chosenFile);
    return lines;
}

} // namespace

class TestToolReading : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void typedValue_data();
    void typedValue();
    void listPosition_data();
    void listPosition();
};

void TestToolReading::initTestCase()
{
    ToolCommand probe;
    probe.arguments = QStringList{u"-t"_s, u"040"_s, chosenFile};
    QCOMPARE(toolReading(probe, "cw2dmk"), (QStringList{u"t 32"_s, u"file "_s + chosenFile}));
}

// Each row: what the user typed, and the number they meant, or -1 when the
// value must stay off the command line. What the tool reads must be that
// number, or nothing at all.
void TestToolReading::typedValue_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("meant");

    const auto grid = [](GroupIndex group, std::initializer_list<std::pair<const char *, int>> rows) {
        for (const auto &[typed, meant] : rows) {
            QTest::addRow("%s \"%s\"", optionGroups()[group].flag, typed)
                << int(group) << QString::fromUtf8(typed) << meant;
        }
    };
    grid(Tracks, {{"40", 40}, {" 40", 40}, {"40 ", 40}, {"040", 40}, {"0040", 40}, {"40.0", 40},
                  {"4E1", 40}, {"4e1", 40}, {"400E-1", 40}, {"2.4", 2}, {"2.5", 2}, {"3.5", 4},
                  {"86", 86}, {"08", 8}, {"09", 9}, {"+ 5", 5}, {"-0", -1}, {"0x28", -1},
                  {"1", -1}, {"87", -1}, {"forty", -1}, {"", -1}});
    grid(Retries, {{"0", 0}, {"5", 5}, {"010", 10}, {"5.0", 5}, {"1E1", 10}, {"+5", 5},
                   {" 7 ", 7}, {"100", 100}, {"0.4", 0}, {"101", -1}, {"-1", -1}, {"0x10", -1}});
    grid(Port, {{"0", 0}, {"1", 1}, {"F", 0xF}, {"f", 0xF}, {"0xF", 0xF}, {"0x320", 0x320},
                {"320", 0x320}, {" 320 ", 0x320}, {"0X388", 0x388}, {"220", 0x220}, {"0220", 0x220},
                {"10", -1}, {"12", -1}, {"12345", -1}, {"389", -1}, {"1E1", -1}, {"-1", -1},
                {"+320", -1}, {"0x", -1}, {"3 20", -1}, {"1.5", -1}, {"", -1}});
}

void TestToolReading::typedValue()
{
    QFETCH(int, group);
    QFETCH(QString, typed);
    QFETCH(int, meant);

    const GroupIndex index = GroupIndex(group);
    QCOMPARE(toolReading(diskToImage(index, GroupState{Ticked, -1, typed}), "cw2dmk"),
             meaning(index, meant));
}

void TestToolReading::listPosition_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("meant");

    const auto grid = [](GroupIndex group, std::initializer_list<std::pair<int, int>> rows) {
        for (const auto &[position, meant] : rows) {
            QTest::addRow("%s position %d", optionGroups()[group].flag, position)
                << int(group) << position << meant;
        }
    };
    grid(Drive, {{0, 0}, {1, 1}, {-1, -1}, {2, -1}});
    grid(Kind, {{0, 1}, {3, 4}, {-1, -1}, {4, -1}});
    grid(Steps, {{0, 1}, {1, 2}, {-1, -1}, {2, -1}});
    grid(Sides, {{0, 1}, {1, 2}, {-1, -1}, {2, -1}});
    grid(Encoding, {{0, 1}, {2, 3}, {-1, -1}, {3, -1}});
}

void TestToolReading::listPosition()
{
    QFETCH(int, group);
    QFETCH(int, index);
    QFETCH(int, meant);

    const GroupIndex groupIndex = GroupIndex(group);
    QCOMPARE(toolReading(diskToImage(groupIndex, GroupState{Ticked, index, {}}), "cw2dmk"),
             meaning(groupIndex, meant));
}

QTEST_GUILESS_MAIN(TestToolReading)
#include "tst_toolreading.moc"
