// Runs the built program as a shell would, to check what it answers on the
// command line before and after it has a window system.

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
};

namespace {

const QString versionLine = QStringLiteral("^Ferncastle " FERNCASTLE_VERSION "\n$");
const QString helpText = QStringLiteral("^Usage: .*ferncastle \\[options\\]\n.*-h, --help"
                                        ".*-v, --version");
const QString unknownBogus = QStringLiteral("Unknown option 'bogus'");

// Without a display unless a platform is named; settings in a scratch folder
// in case the program got as far as reading them.
QProcessEnvironment environment(const QString &platform, const QString &configDir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    if (!platform.isEmpty())
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configDir);
    return env;
}

} // namespace

void TestCommandLine::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stdoutPattern");
    QTest::addColumn<QString>("stderrPattern");

    const QString none;
    const QString nothing = QStringLiteral("^$");
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << none << 0
                               << versionLine << nothing;
    QTest::newRow("-v") << QStringList{QStringLiteral("-v")} << none << 0 << versionLine
                        << nothing;
    QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << none << 0 << helpText
                            << nothing;
    QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << none << 0 << helpText
                        << nothing;
    QTest::newRow("--help-all") << QStringList{QStringLiteral("--help-all")} << none << 0
                                << helpText << nothing;
    QTest::newRow("--version after other options")
        << QStringList{QStringLiteral("-reverse"), QStringLiteral("--bogus"),
                       QStringLiteral("--version")}
        << none << 0 << versionLine << nothing;
    QTest::newRow("unknown option, once a display is there")
        << QStringList{QStringLiteral("--bogus")} << QStringLiteral("offscreen") << 1
        << nothing << unknownBogus;
    // -reverse and -stylesheet hold the letters v and h: Qt's own options
    // must neither pass for -v or -h nor be called unknown.
    QTest::newRow("Qt's own options are left to Qt")
        << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"),
                       QStringLiteral("-reverse"), QStringLiteral("-stylesheet"),
                       QStringLiteral("none.qss"), QStringLiteral("--bogus")}
        << none << 1 << nothing << QStringLiteral("^(?!.*'(platform|reverse|stylesheet)').*")
               + unknownBogus;
}

void TestCommandLine::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, platform);
    QFETCH(int, exitCode);
    QFETCH(QString, stdoutPattern);
    QFETCH(QString, stderrPattern);

    QTemporaryDir configDir;
    QVERIFY(configDir.isValid());
    QProcess program;
    program.setProcessEnvironment(environment(platform, configDir.path()));
    program.start(QStringLiteral(FERNCASTLE_BINARY), arguments);
    // A program that wrongly went on to show its window never ends by itself.
    if (!program.waitForFinished(20000)) {
        program.kill();
        program.waitForFinished();
        QFAIL("the program did not end");
    }
    const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(program.readAllStandardError());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const auto dotAll = QRegularExpression::DotMatchesEverythingOption;
    QVERIFY2(QRegularExpression(stdoutPattern, dotAll).match(out).hasMatch(), qPrintable(out));
    QVERIFY2(QRegularExpression(stderrPattern, dotAll).match(err).hasMatch(), qPrintable(err));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
