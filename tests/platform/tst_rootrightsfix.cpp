#include "platform/cardcheck/rootrightsfix.h"
#include "platform/cardcheck/toolprivilege.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace ferncastle;
using Kind = RootRightsOutcome::Kind;

namespace {

constexpr uid_t nobody = 65534;

// A folder with two tool files owned by nobody, and a PATH that holds the
// stand-in pkexec, or no pkexec at all.
class FixScene
{
public:
    explicit FixScene(bool withPkexec, const QByteArray &statuses = {})
        : m_savedPath(qgetenv("PATH"))
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("bin"));
        QDir(m_dir.path()).mkpath(QStringLiteral("my tools/it's"));
        if (withPkexec)
            QFile::link(QStringLiteral(FIXTURES_DIR "/pkexec/pkexec"), m_dir.filePath(QStringLiteral("bin/pkexec")));
        // The stand-in runs chown and chmod from the system folders.
        qputenv("PATH", QFile::encodeName(m_dir.filePath(QStringLiteral("bin"))) + ":/usr/bin:/bin");
        qputenv("FAKE_PKEXEC_RECORD", QFile::encodeName(m_dir.filePath(QStringLiteral("call"))));
        qputenv("FAKE_PKEXEC_STATUSES", statuses);
        for (const char *name : {"cw2dmk", "dmk2cw"}) {
            const QString path = m_dir.filePath(QStringLiteral("my tools/it's/") + QLatin1String(name));
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.close();
            if (::geteuid() == 0 && ::chown(QFile::encodeName(path).constData(), nobody, gid_t(-1)) != 0)
                qFatal("chown failed");
            files.append(path);
        }
    }
    ~FixScene() { qputenv("PATH", m_savedPath); }

    RootRightsOutcome run()
    {
        RootRightsFix fix(files);
        QSignalSpy finished(&fix, &RootRightsFix::finished);
        fix.start();
        if (!finished.wait(10000))
            qFatal("the fix did not finish");
        return finished.first().first().value<RootRightsOutcome>();
    }

    QList<QStringList> calls() const
    {
        QList<QStringList> result;
        for (int n = 1; QFile::exists(callFile(n)); ++n) {
            QFile file(callFile(n));
            file.open(QIODevice::ReadOnly);
            QList<QByteArray> parts = file.readAll().split('\0');
            parts.removeLast();
            QStringList argv;
            for (const QByteArray &part : parts)
                argv.append(QString::fromUtf8(part));
            result.append(argv);
        }
        return result;
    }

    // "root+s", "root", "other" for each file.
    QString states() const
    {
        QStringList result;
        for (const QString &file : files) {
            struct stat info {};
            ::stat(QFile::encodeName(file).constData(), &info);
            result.append((info.st_uid == 0 ? QStringLiteral("root") : QStringLiteral("other"))
                          + (info.st_mode & S_ISUID ? QStringLiteral("+s") : QString()));
        }
        return result.join(u' ');
    }

    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    QStringList files;

private:
    QString callFile(int n) const { return m_dir.filePath(QStringLiteral("call.%1").arg(n)); }

    QTemporaryDir m_dir;
    QByteArray m_savedPath;
};

} // namespace

class TestRootRightsFix : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        const bool needsRoot = QTest::currentTestFunction() == QLatin1String("runsChownThenChmodWithoutAShell")
                               || QTest::currentTestFunction() == QLatin1String("reportsTheOutcome");
        if (needsRoot && ::geteuid() != 0)
            QSKIP("the stand-in pkexec changes owners for real, which needs root");
    }
    void runsChownThenChmodWithoutAShell();
    void reportsTheOutcome_data();
    void reportsTheOutcome();
    void saysExactlyWhatItWillDo();
    void actsOnlyOnTheToolsThemselves_data();
    void actsOnlyOnTheToolsThemselves();
    void checkListsOnlyTheToolsThemselves_data();
    void checkListsOnlyTheToolsThemselves();
};

void TestRootRightsFix::runsChownThenChmodWithoutAShell()
{
    FixScene scene(true, "run run");
    const RootRightsOutcome outcome = scene.run();
    QCOMPARE(outcome.kind, Kind::Done);
    QCOMPARE(scene.states(), QStringLiteral("root+s root+s"));
    const QList<QStringList> calls = scene.calls();
    QCOMPARE(calls.size(), 2);
    QVERIFY(calls.at(0).at(0).endsWith(QLatin1String("/chown")));
    QCOMPARE(calls.at(0).mid(1), QStringList{QStringLiteral("root")} + scene.files);
    QVERIFY(calls.at(1).at(0).endsWith(QLatin1String("/chmod")));
    QCOMPARE(calls.at(1).mid(1), QStringList{QStringLiteral("u+s")} + scene.files);
}

void TestRootRightsFix::reportsTheOutcome_data()
{
    QTest::addColumn<bool>("withPkexec");
    QTest::addColumn<QByteArray>("statuses");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("calls");
    QTest::addColumn<QString>("states");
    QTest::addColumn<QString>("message");

    QTest::newRow("no pkexec") << false << QByteArray() << int(Kind::NoPkexec) << 0
                               << "other other" << "pkexec (polkit) was not found, so nothing was changed";
    QTest::newRow("first prompt dismissed") << true << QByteArray("126") << int(Kind::NotAuthorised) << 1
                                            << "other other" << "Nothing was changed.";
    QTest::newRow("not authorised") << true << QByteArray("127") << int(Kind::NotAuthorised) << 1
                                    << "other other" << "Nothing was changed.";
    QTest::newRow("second prompt dismissed") << true << QByteArray("run 126") << int(Kind::NotAuthorised) << 2
                                             << "root root" << "the set-user-ID bit was not set";
    QTest::newRow("chmod fails") << true << QByteArray("run 1") << int(Kind::Failed) << 2
                                 << "root root" << "failed (status 1)";
    QTest::newRow("chown fails") << true << QByteArray("1") << int(Kind::Failed) << 1
                                 << "other other" << "failed (status 1)";
}

void TestRootRightsFix::reportsTheOutcome()
{
    QFETCH(bool, withPkexec);
    QFETCH(QByteArray, statuses);
    QFETCH(int, kind);
    QFETCH(int, calls);
    QFETCH(QString, states);
    QFETCH(QString, message);

    FixScene scene(withPkexec, statuses);
    const RootRightsOutcome outcome = scene.run();
    QCOMPARE(int(outcome.kind), kind);
    QCOMPARE(scene.calls().size(), calls);
    QCOMPARE(scene.states(), states);
    QCOMPARE(outcome.ownerChanged, states.startsWith(QLatin1String("root")));
    QVERIFY2(outcome.message.contains(message), qPrintable(outcome.message));
}

void TestRootRightsFix::saysExactlyWhatItWillDo()
{
    const QStringList files = {QStringLiteral("/opt/cw/cw2dmk"), QStringLiteral("/opt/cw/dmk2cw")};
    const RootRightsFix fix(files);
    const QString text = fix.description();
    QVERIFY2(text.contains(QLatin1String("/opt/cw/cw2dmk and /opt/cw/dmk2cw")), qPrintable(text));
    QVERIFY(text.contains(QLatin1String("chown root /opt/cw/cw2dmk /opt/cw/dmk2cw\", then \"")));
    QVERIFY(text.contains(QLatin1String("chmod u+s /opt/cw/cw2dmk /opt/cw/dmk2cw\"")));
    QVERIFY(text.contains(QLatin1String("pkexec")));
}

// What is done to the scene's files after the fix was planned and before
// it starts: "precious" is a file nobody chose.
void TestRootRightsFix::actsOnlyOnTheToolsThemselves_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("refusal");

    QTest::newRow("swapped for a link") << "link" << "is a link to";
    QTest::newRow("swapped for a folder") << "folder" << "is not a regular file";
    QTest::newRow("removed") << "remove" << "is no longer there";
    QTest::newRow("hard link to another file") << "hardlink" << "has other names";
    QTest::newRow("another file listed") << "other" << "is not cw2dmk or dmk2cw";
}

void TestRootRightsFix::actsOnlyOnTheToolsThemselves()
{
    QFETCH(QString, change);
    QFETCH(QString, refusal);
    FixScene scene(true, "run run");
    const QString precious = scene.path(QStringLiteral("precious"));
    QFile(precious).open(QIODevice::WriteOnly);
    const QString tool = scene.files.first();
    RootRightsFix fix(change == QLatin1String("other") ? QStringList{precious} : scene.files);
    QFile::remove(tool);
    if (change == QLatin1String("link"))
        QVERIFY(QFile::link(precious, tool));
    else if (change == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(tool));
    else if (change == QLatin1String("hardlink"))
        QCOMPARE(::link(QFile::encodeName(precious).constData(), QFile::encodeName(tool).constData()), 0);
    else if (change == QLatin1String("other"))
        QFile(tool).open(QIODevice::WriteOnly);
    QSignalSpy finished(&fix, &RootRightsFix::finished);
    fix.start();
    QVERIFY(finished.wait(10000));
    const auto outcome = finished.first().first().value<RootRightsOutcome>();
    QCOMPARE(outcome.kind, Kind::Refused);
    QVERIFY2(outcome.message.contains(refusal), qPrintable(outcome.message));
    QVERIFY(outcome.message.contains(QLatin1String("Nothing was changed.")));
    QVERIFY(scene.calls().isEmpty());
    QVERIFY(!(QFileInfo(precious).permissions() & QFile::ExeOwner));
}

void TestRootRightsFix::checkListsOnlyTheToolsThemselves_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("listed");

    QTest::newRow("link to another file") << "elsewhere/passwd" << false;
    QTest::newRow("link to a link to another file") << "chain" << false;
    QTest::newRow("link to the tool in another folder") << "elsewhere/cw2dmk" << true;
    QTest::newRow("link to a versioned tool") << "elsewhere/cw2dmk-4.10" << true;
    QTest::newRow("link to a file named like a tool") << "elsewhere/cw2dmk.conf" << false;
    QTest::newRow("the tool itself") << QString() << true;
}

// The check offers a file to the fix only when it is the tool itself; a
// link to another file is named and left alone.
void TestRootRightsFix::checkListsOnlyTheToolsThemselves()
{
    QFETCH(QString, target);
    QFETCH(bool, listed);
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("tools"));
    QDir(dir.path()).mkpath(QStringLiteral("elsewhere"));
    for (const char *name : {"elsewhere/passwd", "elsewhere/cw2dmk", "elsewhere/cw2dmk-4.10",
                             "elsewhere/cw2dmk.conf"})
        QFile(dir.filePath(QLatin1String(name))).open(QIODevice::WriteOnly);
    QFile::link(dir.filePath(QStringLiteral("elsewhere/passwd")), dir.filePath(QStringLiteral("chain")));
    const QString tool = dir.filePath(QStringLiteral("tools/cw2dmk"));
    if (target.isEmpty())
        QFile(tool).open(QIODevice::WriteOnly);
    else
        QVERIFY(QFile::link(dir.filePath(target), tool));
    CardCheckResult result;
    checkToolPrivilege(dir.path(), dir.filePath(QStringLiteral("tools/")), false, result);
    QCOMPARE(result.filesNeedingRootRights.size(), listed ? 1 : 0);
    if (!listed)
        QVERIFY(std::any_of(result.findings.cbegin(), result.findings.cend(), [](const CardFinding &finding) {
            return finding.sentence.contains(QLatin1String("only to the tools themselves"));
        }));
}

QTEST_GUILESS_MAIN(TestRootRightsFix)
#include "tst_rootrightsfix.moc"
