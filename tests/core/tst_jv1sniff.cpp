#include "core/image/imagereader.h"
#include "core/tools/jv1sniff.h"
#include "support/samplefiles.h"
#include "support/samplerun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ferncastle;
using namespace Qt::StringLiterals;

namespace {

// A JV3 header: the given sector entries, the rest free, write-protect byte.
QByteArray jv3Header(const QList<QByteArray> &entries, char writeProtect = char(0xFF))
{
    QByteArray header(34 * 256, char(0xFF));
    for (qsizetype i = 0; i < entries.size(); ++i)
        header.replace(i * 3, 3, entries[i]);
    header[header.size() - 1] = writeProtect;
    return header;
}

// Ten 256-byte sectors a track, filled as formatting leaves them.
QByteArray jv1Tracks(int tracks, char fill = char(0xE5))
{
    return QByteArray(tracks * 2560, fill);
}

} // namespace

class TestJv1Sniff : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void made_data();
    void made();
    void samples_data();
    void samples();
    void missingFile();

private:
    QTemporaryDir m_dir;
};

void TestJv1Sniff::made_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("jv1");

    QTest::newRow("35 formatted tracks") << jv1Tracks(35) << true;
    QTest::newRow("one track") << jv1Tracks(1) << true;
    QTest::newRow("empty file") << QByteArray() << false;
    // Cut inside the last track: the image reader still calls it JV1, and
    // jv2dmk must be told so or it crashes.
    QTest::newRow("half a track more") << jv1Tracks(35) + QByteArray(1280, char(0xe5)) << true;
    QTest::newRow("last track cut after a sector") << jv1Tracks(35).chopped(256) << true;
    // Not whole sectors: the reader does not call it JV1, nor does the run.
    QTest::newRow("one byte more") << jv1Tracks(35) + QByteArray(1, char(0xe5)) << false;
    QTest::newRow("last track cut one byte short") << jv1Tracks(35).chopped(1) << false;
    QTest::newRow("a track and a half") << jv1Tracks(1) + QByteArray(1280, char(0xe5)) << true;
    QTest::newRow("zeros read as JV3 entries that do not fit") << jv1Tracks(40, 0) << true;
    // 2901 entries of 256 bytes would need 742,656 bytes of data.
    const QByteArray oneSector = QByteArray::fromHex("000100");
    // Four tracks' worth of bytes: the header and 1,536 bytes of sectors.
    const QByteArray data(4 * 2560 - 8704, 0);
    QTest::newRow("JV3, data fits") << jv3Header({oneSector}) + data << false;
    QTest::newRow("JV3, write-protected") << jv3Header({oneSector}, 0) + data << false;
    QTest::newRow("JV3 header, bad write-protect byte") << jv3Header({oneSector}, char(0x12)) + data << true;
    QTest::newRow("JV3 header, sectors beyond the file")
        << jv3Header(QList<QByteArray>(2, QByteArray::fromHex("000002"))) + data << true;
}

void TestJv1Sniff::made()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, jv1);
    QVERIFY(m_dir.isValid());
    const QString path = test::writeSampleFile(m_dir, QString::fromLatin1(QTest::currentDataTag()), bytes);
    QCOMPARE(isPlainlyJv1(path), jv1);
    // The run adds -j1 exactly when Image Information says JV1.
    QCOMPARE(readDiskImageFile(path).format == ImageFormat::Jv1, jv1);
}

// Real images from the tools' sample runs: the JV1 that made jv2dmk crash
// without -j1, and JV3 images jv2dmk read.
void TestJv1Sniff::samples_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("jv1");
    QTest::newRow("JV1 35 tracks") << u"m1sssd35.dsk"_s << true;
    QTest::newRow("JV3 double density") << u"dd40.dsk"_s << false;
    QTest::newRow("JV3 two sides") << u"sides40.dsk.gz"_s << false;
    QTest::newRow("JV3 eight inch") << u"ibm77.dsk.gz"_s << false;
    QTest::newRow("JV3 CRC flags") << u"crcflag.dsk.gz"_s << false;
    QTest::newRow("DMK") << u"dd40.dmk"_s << false;
}

void TestJv1Sniff::samples()
{
    QFETCH(QString, name);
    QFETCH(bool, jv1);
    const QString toolOutput = test::toolOutputDir();
    if (toolOutput.isEmpty())
        QSKIP("the shared tool samples are not here (FERNCASTLE_SHARED_DIR)");
    const QString source = toolOutput + QStringLiteral("/files/") + name;
    QString path = source;
    if (name.endsWith(u".gz"))
        path = test::writeSampleFile(m_dir, name.chopped(3), test::readUnpacked(source));
    QCOMPARE(isPlainlyJv1(path), jv1);
}

void TestJv1Sniff::missingFile()
{
    QVERIFY(!isPlainlyJv1(m_dir.filePath(u"absent.dsk"_s)));
}

QTEST_GUILESS_MAIN(TestJv1Sniff)
#include "tst_jv1sniff.moc"
