// Runs `ferncastle --compare A B` as a shell would, on real files: what it
// prints and the exit status scripts rely on.

#include "core/imagewriter.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
namespace iw = imagewriter;

class TestCompareCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void compares_data();
    void compares();
};

namespace {

// Two tracks of five MFM sectors; the JV3 holds the same sectors.
QByteArray dmk(bool spoilOne = false)
{
    return iw::dmk(2, 1, 0x1900, [spoilOne](int t, int s) {
        QList<iw::Sector> sectors = iw::uniform(5, true)(t, s);
        if (spoilOne && t == 1)
            sectors[2].badDataCrc = true;
        return sectors;
    });
}

QByteArray sameAsJv3(int tracks = 2)
{
    QByteArray header(8704, char(0xFF));
    QByteArray data;
    for (int t = 0; t < tracks; ++t) {
        for (int id = 0; id < 5; ++id) {
            const int entry = t * 5 + id;
            header[entry * 3] = char(t);
            header[entry * 3 + 1] = char(id);
            header[entry * 3 + 2] = char(0x80);
            for (int i = 0; i < 256; ++i)
                data += char(iw::fill({quint8(t), 0, quint8(id)}, i));
        }
    }
    return header + data;
}

} // namespace

void TestCompareCommand::compares_data()
{
    QTest::addColumn<QList<QByteArray>>("images");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stdoutPattern");

    const QStringList two{u"a.dmk"_s, u"b.dsk"_s};
    QTest::newRow("a DMK and its JV3") << QList<QByteArray>{dmk(), sameAsJv3()} << two << 0
                                       << u"^Equal: a.dmk and b.dsk hold the same 10 sectors.\n$"_s;
    // A name holding "%1" must come out as it is.
    QTest::newRow("a CRC error")
        << QList<QByteArray>{dmk(true), sameAsJv3()} << QStringList{u"a.dmk"_s, u"b%1.dsk"_s}
        << 1
        << u"^Cylinder 1, side 0, sector 2: CRC error, data mark 0xFB in a.dmk; good CRC, "
           "data mark 0xFB in b%1.dsk.\nDifferent: 1 sector differs, 9 are the same.\n$"_s;
    QTest::newRow("one track fewer") << QList<QByteArray>{dmk(), sameAsJv3(1)}
                                     << two << 1 << u"(: only in a.dmk.\n.*){5}Different: 5"_s;
    QTest::newRow("control characters in a name")
        << QList<QByteArray>{dmk(), dmk(true)} << QStringList{u"a\x1b]0;title\a.dmk"_s, u"b\n.dmk"_s}
        << 1 << u"^Cylinder 1.* in a\\\\x1b\\]0;title\\\\x07\\.dmk; .* in b\\\\x0a\\.dmk\\.\n"_s;
    QTest::newRow("one no image") << QList<QByteArray>{dmk(), "hello\n"} << two << 2 << u"^$"_s;
    QTest::newRow("one name only") << QList<QByteArray>{dmk()} << QStringList{u"a.dmk"_s} << 2
                                   << u"^$"_s;
    QTest::newRow("three names") << QList<QByteArray>{dmk(), dmk(), dmk()}
                                 << QStringList{u"a"_s, u"b"_s, u"c"_s} << 2 << u"^$"_s;
}

void TestCompareCommand::compares()
{
    QFETCH(QList<QByteArray>, images);
    QFETCH(QStringList, names);
    QFETCH(int, exitCode);
    QFETCH(QString, stdoutPattern);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList arguments{u"--compare"_s};
    for (qsizetype i = 0; i < images.size(); ++i) {
        QFile file(dir.filePath(names[i]));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(images[i]);
        arguments.append(names[i]);
    }
    QProcess program;
    program.setWorkingDirectory(dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    env.insert(u"XDG_CONFIG_HOME"_s, dir.path());
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(FERNCASTLE_BINARY), arguments);
    QVERIFY(program.waitForFinished(20000));
    const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const auto dotAll = QRegularExpression::DotMatchesEverythingOption;
    QVERIFY2(QRegularExpression(stdoutPattern, dotAll).match(out).hasMatch(), qPrintable(out));
    if (exitCode == 2)
        QVERIFY(!program.readAllStandardError().isEmpty());
}

QTEST_GUILESS_MAIN(TestCompareCommand)
#include "tst_comparecommand.moc"
