// Runs the built program with --files and --extract on real disk images and
// copies of them damaged here, as a script over a batch of images would.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestFilesCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void run_data();
    void run();

private:
    QTemporaryDir dir;
};

namespace {

QByteArray fixture(const char *name)
{
    QFile file(QStringLiteral(FIXTURES_DIR "/dos/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The JV3 header entry of a sector, to mark it or find its data.
qsizetype jv3Data(const QByteArray &image, int track, int sector, qsizetype *header)
{
    qsizetype offset = 8704;
    for (qsizetype i = 0; i < 2901; ++i) {
        const quint8 t = quint8(image[i * 3]);
        const quint8 flags = quint8(image[i * 3 + 2]);
        if (t == track && quint8(image[i * 3 + 1]) == sector) {
            *header = i * 3;
            return offset;
        }
        offset += t == 0xFF ? 0 : 256; // single density, 256-byte sectors
        Q_UNUSED(flags)
    }
    return -1;
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

void TestFilesCommand::initTestCase()
{
    QVERIFY(dir.isValid());
    const QByteArray xtrs = fixture("xtrs-utility.dsk");
    QVERIFY(!xtrs.isEmpty());
    write(dir.filePath(QStringLiteral("ldos.dsk")), fixture("ld1-531.dsk"));
    write(dir.filePath(QStringLiteral("xtrs.dsk")), xtrs);
    write(dir.filePath(QStringLiteral("labels.dsk")), QByteArray(35 * 2560, 'L'));
    // CD/CMD starts at cylinder 38; its fourth sector gets a CRC error.
    QByteArray damaged = xtrs;
    qsizetype header = -1;
    QVERIFY(jv3Data(damaged, 38, 3, &header) > 0);
    damaged[header + 2] = char(damaged[header + 2] | 0x08);
    write(dir.filePath(QStringLiteral("damaged.dsk")), damaged);
    // CD/CMD's entry is the fifth in directory sector 7: a control code in its name.
    QByteArray control = xtrs;
    const qsizetype entry = jv3Data(control, 17, 7, &header);
    QVERIFY(entry > 0);
    control[entry + 4 * 32 + 5] = '\x01';
    write(dir.filePath(QStringLiteral("control.dsk")), control);
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("out")));
    write(dir.filePath(QStringLiteral("out/MOUNT.CMD")), "mine");
}

void TestFilesCommand::run_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stdoutPattern");
    QTest::addColumn<int>("filesWritten");

    QTest::newRow("list, all intact")
        << QStringList{"--files", "ldos.dsk", "xtrs.dsk"} << 0
        << "^ldos.dsk: LDOS 5.3 disk LDOS531: 14 files, all intact\n.*  TED/CMD +2464  01/20/84  "
           "-- P0 LRL 256  intact\nxtrs.dsk: TRSDOS 6.2 disk XTRSUTIL: 35 files, all intact\n"
        << 0;
    QTest::newRow("list, one damaged")
        << QStringList{"--files", "damaged.dsk"} << 1
        << "damaged: CD/CMD\n.*CD/CMD +6109 .* damaged: 1 sector bad or missing\\. "
           "\\(cylinder/side/sector: 38/0/3\\)\n"
        << 0;
    QTest::newRow("labels are no directory")
        << QStringList{"--files", "ldos.dsk", "labels.dsk"} << 2
        << "labels.dsk: no TRS-80 directory found: " << 0;
    QTest::newRow("no such image") << QStringList{"--files", "absent.dsk"} << 2
                                   << "absent.dsk: no TRS-80 directory found: " << 0;
    QTest::newRow("a control code is shown escaped")
        << QStringList{"--files", "control.dsk"} << 0 << "\n  \\\\x01D/CMD  +6109 " << 0;
    QTest::newRow("extract leaves a file that is there")
        << QStringList{"--extract", "out", "xtrs.dsk"} << 1
        << "left MOUNT/CMD: out/MOUNT.CMD is already there\n" << 36;
    QTest::newRow("extract leaves out a damaged file")
        << QStringList{"--extract", "out", "damaged.dsk"} << 1
        << "left out CD/CMD: damaged: .*\\(--damaged-too writes it\\)" << 35;
    QTest::newRow("extract writes a damaged file when asked")
        << QStringList{"--extract", "out", "--damaged-too", "damaged.dsk"} << 1
        << "wrote out/CD.CMD \\(6109 bytes\\), damaged: " << 36;
    QTest::newRow("extract into no folder")
        << QStringList{"--extract", "nowhere", "xtrs.dsk"} << 2 << "^$" << 0;
    QTest::newRow("--damaged-too alone") << QStringList{"--damaged-too", "xtrs.dsk"} << 2
                                         << "^$" << 0;
}

void TestFilesCommand::run()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, stdoutPattern);
    QFETCH(int, filesWritten);

    QDir out(dir.filePath(QStringLiteral("out")));
    for (const QString &name : out.entryList(QDir::Files)) {
        if (name != QLatin1String("MOUNT.CMD"))
            out.remove(name);
    }
    QProcess program;
    program.setWorkingDirectory(dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM")); // a core program needs no platform at all
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(FERNCASTLE_BINARY), arguments);
    QVERIFY(program.waitForFinished(20000));
    const QString output = QString::fromLocal8Bit(program.readAllStandardOutput());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const auto dotAll = QRegularExpression::DotMatchesEverythingOption;
    QVERIFY2(QRegularExpression(stdoutPattern, dotAll).match(output).hasMatch(),
             qPrintable(output));
    if (arguments.constFirst() == QLatin1String("--extract")) {
        QCOMPARE(out.entryList(QDir::Files).size() - 1, filesWritten);
        QFile mine(out.filePath(QStringLiteral("MOUNT.CMD")));
        QVERIFY(mine.open(QIODevice::ReadOnly));
        QCOMPARE(mine.readAll(), QByteArray("mine")); // never replaced
    }
}

QTEST_GUILESS_MAIN(TestFilesCommand)
#include "tst_filescommand.moc"
