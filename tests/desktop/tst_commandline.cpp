// Runs the built program as a shell would, to check what it answers on the
// command line before and after it has a window system, and that its manual
// page documents exactly the options its --help lists.

#include <QFile>
#include <QProcess>

#include <fcntl.h>
#include <unistd.h>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void answers_data();
    void answers();
    void manualPageAgreesWithHelp_data();
    void manualPageAgreesWithHelp();
    void imageInformation_data();
    void imageInformation();
    void anyNameIsReadAndPrintedOnOneLine_data();
    void anyNameIsReadAndPrintedOnOneLine();

private:
    QStringList helpOptions;
    QStringList pageOptions;
};

namespace {

const QString versionLine = QStringLiteral("^Ferncastle " FERNCASTLE_VERSION "\n$");
// The program's own name whatever path started it, and what FILE is for.
const QString helpText = QStringLiteral("^Usage: ferncastle \\[options\\] \\[FILE\\.\\.\\.\\]\n"
                                        ".*-h, --help.*-v, --version.*\n  FILE +With --info: ");
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

// The options of --help's list: the names before each line's description.
QStringList optionsOfHelp(const QString &help)
{
    static const QRegularExpression optionColumn(QStringLiteral("^  (-\\S.*?)(?:  |$)"),
                                                 QRegularExpression::MultilineOption);
    static const QRegularExpression name(QStringLiteral("(?<![\\w-])--?[a-z][a-z-]*"));
    QStringList options;
    for (const auto &line : optionColumn.globalMatch(help)) {
        for (const auto &option : name.globalMatch(line.captured(1)))
            options.append(option.captured());
    }
    return options;
}

// The options the page's OPTIONS section describes: the tags of its .TP
// paragraphs, in roff's spelling (\- for a dash).
QStringList optionsOfPage(const QString &page)
{
    static const QRegularExpression section(QStringLiteral("^\\.SH OPTIONS\n(.*?)^\\.SH "),
                                            QRegularExpression::MultilineOption
                                                | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tag(QStringLiteral("^\\.TP\n(.*)$"),
                                        QRegularExpression::MultilineOption);
    static const QRegularExpression name(QStringLiteral("(?:\\\\-){1,2}[a-z](?:[a-z]|\\\\-)*"));
    QStringList options;
    for (const auto &paragraph : tag.globalMatch(section.match(page).captured(1))) {
        for (const auto &option : name.globalMatch(paragraph.captured(1)))
            options.append(option.captured().replace(QStringLiteral("\\-"), QStringLiteral("-")));
    }
    return options;
}

} // namespace

void TestCommandLine::initTestCase()
{
    QTemporaryDir configDir;
    QVERIFY(configDir.isValid());
    QProcess program;
    program.setProcessEnvironment(environment({}, configDir.path()));
    program.start(QStringLiteral(FERNCASTLE_BINARY), {QStringLiteral("--help")});
    QVERIFY(program.waitForFinished(20000));
    helpOptions = optionsOfHelp(QString::fromLocal8Bit(program.readAllStandardOutput()));

    QFile page(QStringLiteral(FERNCASTLE_MANPAGE));
    QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(page.errorString()));
    pageOptions = optionsOfPage(QString::fromUtf8(page.readAll()));
    // Guards the parsers themselves: both know at least the standard options.
    for (const char *option : {"-h", "--help", "-v", "--version"}) {
        QVERIFY2(helpOptions.contains(QLatin1String(option)), option);
        QVERIFY2(pageOptions.contains(QLatin1String(option)), option);
    }
}

void TestCommandLine::manualPageAgreesWithHelp_data()
{
    QTest::addColumn<bool>("inHelp");
    QTest::addColumn<bool>("inPage");
    QStringList all = helpOptions + pageOptions;
    all.removeDuplicates();
    for (const QString &option : std::as_const(all)) {
        QTest::newRow(qPrintable(option))
            << helpOptions.contains(option) << pageOptions.contains(option);
    }
}

void TestCommandLine::manualPageAgreesWithHelp()
{
    QFETCH(bool, inHelp);
    QFETCH(bool, inPage);
    QVERIFY2(inHelp, "the manual page describes an option --help does not list");
    QVERIFY2(inPage, "--help lists an option the manual page does not describe");
}

void TestCommandLine::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stdoutPattern");
    QTest::addColumn<QString>("stderrPattern");
    QTest::addColumn<bool>("withoutWindowsModule"); // a copy of the program, alone in a folder

    const QString none;
    const QString nothing = QStringLiteral("^$");
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << none << 0
                               << versionLine << nothing << false;
    QTest::newRow("-v") << QStringList{QStringLiteral("-v")} << none << 0 << versionLine
                        << nothing << false;
    QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << none << 0 << helpText
                            << nothing << false;
    QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << none << 0 << helpText
                        << nothing << false;
    QTest::newRow("--help-all") << QStringList{QStringLiteral("--help-all")} << none << 0
                                << helpText << nothing << false;
    QTest::newRow("--version after other options")
        << QStringList{QStringLiteral("-reverse"), QStringLiteral("--bogus"),
                       QStringLiteral("--version")}
        << none << 0 << versionLine << nothing << false;
    QTest::newRow("unknown option, once a display is there")
        << QStringList{QStringLiteral("--bogus")} << QStringLiteral("offscreen") << 1
        << nothing << unknownBogus << false;
    // -reverse and -stylesheet hold the letters v and h: Qt's own options
    // must neither pass for -v or -h nor be called unknown.
    QTest::newRow("Qt's own options are left to Qt")
        << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"),
                       QStringLiteral("-reverse"), QStringLiteral("-stylesheet"),
                       QStringLiteral("none.qss"), QStringLiteral("--bogus")}
        << none << 1 << nothing << QStringLiteral("^(?!.*'(platform|reverse|stylesheet)').*")
               + unknownBogus << false;
    // The command-line modes need no window, so they answer without the
    // windows module; the windows themselves say what is missing.
    QTest::newRow("--version without the windows module")
        << QStringList{QStringLiteral("--version")} << none << 0 << versionLine << nothing << true;
    QTest::newRow("windows without the windows module")
        << QStringList{} << QStringLiteral("offscreen") << 1 << nothing
        << QStringLiteral("^Ferncastle cannot open its windows: .*ferncastle-windows\\.so is "
                          "missing\\. Reinstall Ferncastle\\.\n$")
        << true;
}

void TestCommandLine::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, platform);
    QFETCH(int, exitCode);
    QFETCH(QString, stdoutPattern);
    QFETCH(QString, stderrPattern);
    QFETCH(bool, withoutWindowsModule);

    QTemporaryDir configDir;
    QVERIFY(configDir.isValid());
    QString binary = QStringLiteral(FERNCASTLE_BINARY);
    if (withoutWindowsModule) {
        const QString alone = configDir.filePath(QStringLiteral("ferncastle"));
        QVERIFY(QFile::copy(binary, alone));
        binary = alone;
    }
    QProcess program;
    program.setProcessEnvironment(environment(platform, configDir.path()));
    program.start(binary, arguments);
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

namespace {

// A one-track MFM DMK with sectors 1 and 2, the second with a bad data CRC
// when asked.
QByteArray smallDmk(bool badCrc)
{
    const int length = 0x1900;
    QByteArray image(16 + length, char(0x4E));
    image.replace(0, 16 + 128, QByteArray(16 + 128, '\0'));
    image[1] = 1;
    image[2] = char(length & 0xFF);
    image[3] = char(length >> 8);
    image[4] = 0x10;
    auto crc = [](const QByteArray &bytes) {
        quint16 value = 0xFFFF;
        for (char c : bytes) {
            value ^= quint16(quint8(c) << 8);
            for (int bit = 0; bit < 8; ++bit)
                value = quint16((value & 0x8000) ? (value << 1) ^ 0x1021 : value << 1);
        }
        return value;
    };
    int pos = 16 + 200;
    for (int id = 1; id <= 2; ++id) {
        const int pointer = pos + 3 - 16;
        image[16 + (id - 1) * 2] = char(pointer & 0xFF);
        image[16 + (id - 1) * 2 + 1] = char(0x80 | (pointer >> 8));
        QByteArray field = QByteArray("\xA1\xA1\xA1\xFE\x00\x00", 6) + char(id) + char(1);
        quint16 value = crc(field);
        field += char(value >> 8);
        field += char(value & 0xFF);
        field += QByteArray(12, '\0') + QByteArray("\xA1\xA1\xA1\xFB", 4) + QByteArray(256, 'x');
        value = crc(field.mid(field.size() - 260));
        if (badCrc && id == 2)
            value ^= 1;
        field += char(value >> 8);
        field += char(value & 0xFF);
        image.replace(pos, field.size(), field);
        pos += field.size() + 40;
    }
    return image;
}

} // namespace

void TestCommandLine::imageInformation_data()
{
    QTest::addColumn<QList<QByteArray>>("images");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stdoutPattern");

    const QByteArray good = smallDmk(false);
    const QByteArray bad = smallDmk(true);
    QTest::newRow("a clean image")
        << QList<QByteArray>{good} << 0
        << "^image0: DMK image, 1 track, 1 side, .*\nTrack  0 side 0 MFM    2: 1 2\n"
           "Bad sectors: none\n$";
    QTest::newRow("a CRC error")
        << QList<QByteArray>{good, bad} << 1
        << "^image0: .*Track  0 side 0 MFM    2: 1 2\nBad sectors: none\n\nimage1: .*Track  0 side 0 MFM    2: 1 "
           "2\\?\n.*\nBad sector: track 0 side 0 id 2: data CRC error\n$";
    QTest::newRow("a file cut short")
        << QList<QByteArray>{good.first(good.size() - 100)} << 1
        << "Finding: The header claims 1 track \\(6416 bytes\\) but the file holds 6316 "
           "bytes, 0 of the 1 track blocks whole";
    QTest::newRow("one file no image at all")
        << QList<QByteArray>{good, QByteArray("hello\n"), bad} << 2
        << "image1: not a disk image I know\\. Its size \\(6 bytes\\).*image2: ";
    QTest::newRow("no file named") << QList<QByteArray>{} << 2 << "^$";
}

// The real program reads real files, with no display at all.
void TestCommandLine::imageInformation()
{
    QFETCH(QList<QByteArray>, images);
    QFETCH(int, exitCode);
    QFETCH(QString, stdoutPattern);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList arguments{QStringLiteral("--info")};
    for (qsizetype i = 0; i < images.size(); ++i) {
        const QString name = QStringLiteral("image%1").arg(i);
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(images[i]);
        arguments.append(name);
    }
    QProcess program;
    program.setWorkingDirectory(dir.path());
    program.setProcessEnvironment(environment(QString(), dir.path()));
    program.start(QStringLiteral(FERNCASTLE_BINARY), arguments);
    QVERIFY(program.waitForFinished(20000));
    const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const auto dotAll = QRegularExpression::DotMatchesEverythingOption;
    QVERIFY2(QRegularExpression(stdoutPattern, dotAll).match(out).hasMatch(), qPrintable(out));
}

void TestCommandLine::anyNameIsReadAndPrintedOnOneLine_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("shown");

    QTest::newRow("Latin-1, not UTF-8") << QByteArray("latin1-\xe9.dmk") << "latin1-\\xe9.dmk";
    QTest::newRow("terminal title and clear")
        << QByteArray("t\x1b]0;pwned\x07\x1b[2J.dmk") << "t\\x1b]0;pwned\\x07\\x1b[2J.dmk";
    QTest::newRow("carriage return forging a line")
        << QByteArray("a\rimage0: DMK image, 80 tracks.dmk") << "a\\x0dimage0: DMK image, 80 tracks.dmk";
    QTest::newRow("line feed") << QByteArray("two\nlines.dmk") << "two\\x0alines.dmk";
    QTest::newRow("right-to-left override")
        << QByteArray("evil\xe2\x80\xae" "kmd.exe") << "evil\\u202ekmd.exe";
    QTest::newRow("backslash kept apart") << QByteArray("back\\x1b.dmk") << "back\\\\x1b.dmk";
}

// The name reaches the program as the shell's bytes (no decoding on the
// way: sh's printf makes them); the image is read, and the name printed
// escaped, one image one line.
void TestCommandLine::anyNameIsReadAndPrintedOnOneLine()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, shown);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray path = QFile::encodeName(dir.path()) + '/' + name;
    const int descriptor = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    QVERIFY(descriptor >= 0);
    const QByteArray image = smallDmk(false);
    QCOMPARE(::write(descriptor, image.constData(), size_t(image.size())), ssize_t(image.size()));
    ::close(descriptor);
    QFile plain(dir.filePath(QStringLiteral("plain.dmk")));
    QVERIFY(plain.open(QIODevice::WriteOnly) && plain.write(image) == image.size());
    plain.close();
    QString octal;
    for (const char byte : name)
        octal += QStringLiteral("\\%1").arg(static_cast<unsigned char>(byte), 3, 8, QChar(u'0'));
    QProcess program;
    program.setWorkingDirectory(dir.path());
    program.setProcessEnvironment(environment(QString(), dir.path()));
    program.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QStringLiteral("exec \"$0\" --info \"$(printf '%1')\" plain.dmk").arg(octal),
                   QStringLiteral(FERNCASTLE_BINARY)});
    QVERIFY(program.waitForFinished(20000));
    const QByteArray out = program.readAllStandardOutput();
    QCOMPARE(program.exitCode(), 0);
    QVERIFY2(out.startsWith(QByteArray(shown.toUtf8() + ": DMK image, 1 track")), out.constData());
    // The report is the one a plain name gets: the name added no line.
    const qsizetype half = out.indexOf("\n\nplain.dmk: ");
    QVERIFY(half > 0);
    QCOMPARE(out.left(half + 1).replace(shown.toUtf8(), "plain.dmk"), out.mid(half + 2));
    QVERIFY(!out.contains('\x1b') && !out.contains('\r'));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
