#include "support/standinprogram.h"

#include "platform/sysinfo.h"

#include <QMap>
#include <QTest>

#include <optional>

using namespace ferncastle;

namespace {

const QString msinfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString locationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

// A registry held in memory. It records every query so that tests can see
// which values a procedure asked for.
class FakeRegistry : public Registry
{
public:
    void set(const QString &keyName, const QString &valueName, RegistryValue value)
    {
        m_values.insert(keyName + u'|' + valueName, std::move(value));
    }

    std::optional<RegistryValue> query(RegistryRoot root, const QString &keyName,
                                       const QString &valueName) override
    {
        queries.append(keyName + u'|' + valueName);
        const auto found = m_values.constFind(keyName + u'|' + valueName);
        if (root != registryRoots::localMachine || found == m_values.cend())
            return std::nullopt;
        return *found;
    }

    QStringList queries;

private:
    QMap<QString, RegistryValue> m_values;
};

RegistryValue text(const QByteArray &bytes)
{
    return {registryTypes::string, bytes};
}

RegistryValue zeroTerminated(const QString &path)
{
    return text(QFile::encodeName(path) + '\0');
}

} // namespace

Q_DECLARE_METATYPE(std::optional<RegistryValue>)

class TestSysInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void getKeyValue_data();
    void getKeyValue();
    void registryStart_data();
    void registryStart();
    void pathStartTakesFirstProgramFound_data();
    void pathStartTakesFirstProgramFound();
};

void TestSysInfo::getKeyValue_data()
{
    QTest::addColumn<std::optional<RegistryValue>>("value");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("keyVal");

    using Value = std::optional<RegistryValue>;
    QTest::newRow("string with terminator")
        << Value(text(QByteArray("C:\\MSINFO\0", 10))) << true << QStringLiteral("C:\\MSINFO");
    QTest::newRow("string without terminator keeps last character")
        << Value(text("C:\\MSINFO")) << true << QStringLiteral("C:\\MSINFO");
    QTest::newRow("only the last zero goes")
        << Value(text(QByteArray("AB\0\0", 4))) << true << QStringLiteral("AB") + QChar(0);
    QTest::newRow("terminator only") << Value(text(QByteArray(1, '\0'))) << true << QString();
    QTest::newRow("size 0") << Value(text({})) << false << QString();
    QTest::newRow("fills the buffer")
        << Value(text(QByteArray(registryBufferSize, 'x'))) << true
        << QString(registryBufferSize, u'x');
    QTest::newRow("larger than the buffer")
        << Value(text(QByteArray(registryBufferSize + 1, 'x'))) << false << QString();
    QTest::newRow("dword") << Value(RegistryValue{registryTypes::dword, QByteArray("\x05\x01\0\0", 4)})
                           << true << QStringLiteral("261");
    QTest::newRow("dword, top bit set")
        << Value(RegistryValue{registryTypes::dword, QByteArray("\xff\xff\xff\xff", 4)}) << true
        << QStringLiteral("4294967295");
    QTest::newRow("expandable string left alone")
        << Value(RegistryValue{2, QByteArray("%ProgramFiles%\0", 15)}) << true
        << QStringLiteral("as passed");
    QTest::newRow("binary left alone") << Value(RegistryValue{3, QByteArray("\x01\x02", 2)})
                                       << true << QStringLiteral("as passed");
    QTest::newRow("missing") << Value() << false << QString();
}

void TestSysInfo::getKeyValue()
{
    QFETCH(std::optional<RegistryValue>, value);
    QFETCH(bool, read);
    QFETCH(QString, keyVal);
    FakeRegistry registry;
    if (value)
        registry.set(msinfoKey, QStringLiteral("PATH"), *value);

    QString KeyVal = QStringLiteral("as passed");
    QCOMPARE(GetKeyValue(registry, registryRoots::localMachine, msinfoKey, QStringLiteral("PATH"),
                         KeyVal),
             read);
    QCOMPARE(KeyVal, keyVal);
}

enum class Entry { Missing, StandIn, MissingFile, EmptyValue, FolderWithProgram,
                   FolderWithoutProgram, FolderWithFolderNamedLikeProgram };

void TestSysInfo::registryStart_data()
{
    QTest::addColumn<Entry>("msinfoPath");
    QTest::addColumn<Entry>("toolsLocation");
    QTest::addColumn<bool>("started");
    QTest::addColumn<int>("queries");

    QTest::newRow("PATH names the program") << Entry::StandIn << Entry::Missing << true << 1;
    QTest::newRow("PATH started as read though missing")
        << Entry::MissingFile << Entry::FolderWithProgram << false << 1;
    QTest::newRow("folder holds MSINFO32.EXE")
        << Entry::Missing << Entry::FolderWithProgram << true << 2;
    QTest::newRow("folder lacks MSINFO32.EXE")
        << Entry::Missing << Entry::FolderWithoutProgram << false << 2;
    QTest::newRow("MSINFO32.EXE is a folder")
        << Entry::Missing << Entry::FolderWithFolderNamedLikeProgram << false << 2;
    QTest::newRow("both missing") << Entry::Missing << Entry::Missing << false << 2;
    QTest::newRow("empty PATH falls back to the folder")
        << Entry::EmptyValue << Entry::FolderWithProgram << true << 2;
}

void TestSysInfo::registryStart()
{
    QFETCH(Entry, msinfoPath);
    QFETCH(Entry, toolsLocation);
    QFETCH(bool, started);
    QFETCH(int, queries);
    QTemporaryDir folder;
    test::StartRecord record;
    FakeRegistry registry;
    const QString program = folder.filePath(QStringLiteral("MSINFO32.EXE"));
    auto value = [&](Entry entry) -> std::optional<RegistryValue> {
        switch (entry) {
        case Entry::Missing:
            return std::nullopt;
        case Entry::StandIn:
            return zeroTerminated(test::installStandIn(folder.path(), QStringLiteral("msinfo32")));
        case Entry::MissingFile:
            return zeroTerminated(folder.filePath(QStringLiteral("gone.exe")));
        case Entry::EmptyValue:
            return text({});
        case Entry::FolderWithProgram:
            test::installStandIn(folder.path(), QStringLiteral("MSINFO32.EXE"));
            return zeroTerminated(folder.path());
        case Entry::FolderWithoutProgram:
            return zeroTerminated(folder.path());
        case Entry::FolderWithFolderNamedLikeProgram:
            QDir(folder.path()).mkdir(QStringLiteral("MSINFO32.EXE"));
            return zeroTerminated(folder.path());
        }
        return std::nullopt;
    };
    if (const auto path = value(msinfoPath))
        registry.set(msinfoKey, QStringLiteral("PATH"), *path);
    if (const auto location = value(toolsLocation))
        registry.set(locationKey, QStringLiteral("MSINFO"), *location);

    RegistrySystemInformation systemInformation(registry);
    QCOMPARE(systemInformation.start(), started);

    QCOMPARE(registry.queries.size(), queries);
    QCOMPARE(registry.queries.first(), msinfoKey + QStringLiteral("|PATH"));
    if (queries > 1)
        QCOMPARE(registry.queries[1], locationKey + QStringLiteral("|MSINFO"));
    QCOMPARE(record.waitForStarts(1, started ? 5000 : 200).size(), started ? 1 : 0);
}

void TestSysInfo::pathStartTakesFirstProgramFound_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QStringList>("notExecutable");
    QTest::addColumn<QString>("started");

    QTest::newRow("none") << QStringList() << QStringList() << QString();
    QTest::newRow("first") << QStringList{QStringLiteral("first"), QStringLiteral("second")}
                           << QStringList() << QStringLiteral("first");
    QTest::newRow("only the second") << QStringList{QStringLiteral("second")} << QStringList()
                                     << QStringLiteral("second");
    QTest::newRow("first not executable")
        << QStringList{QStringLiteral("second")} << QStringList{QStringLiteral("first")}
        << QStringLiteral("second");
}

void TestSysInfo::pathStartTakesFirstProgramFound()
{
    QFETCH(QStringList, installed);
    QFETCH(QStringList, notExecutable);
    QFETCH(QString, started);
    QTemporaryDir folder;
    for (const QString &name : installed)
        test::installStandIn(folder.path(), name);
    for (const QString &name : notExecutable) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    test::ScopedPath path(folder.path());
    test::StartRecord record;

    PathSystemInformation systemInformation({QStringLiteral("first"), QStringLiteral("second")});
    QCOMPARE(systemInformation.start(), !started.isEmpty());

    const QStringList expected = started.isEmpty() ? QStringList()
                                                   : QStringList{folder.filePath(started)};
    QCOMPARE(record.waitForStarts(1, started.isEmpty() ? 200 : 5000), expected);
}

QTEST_MAIN(TestSysInfo)
#include "tst_sysinfo.moc"
