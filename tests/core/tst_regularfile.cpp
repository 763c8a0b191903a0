// Files that are not regular files are refused at once, whatever reads
// them, and a file that changes between its stat and its read is refused
// as changed, never read past its end. Every input is made at test time.

#include "core/image/imagereader.h"
#include "core/io/regularfile.h"
#include "core/settings/optionfileio.h"
#include "core/tools/jv1sniff.h"
#include "imagewriter.h"
#include "support/samplefiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace ferncastle;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ferncastle::RegularFile::Failure)

class TestRegularFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void refusesWhatIsNoRegularFile_data();
    void refusesWhatIsNoRegularFile();
    void readsRegularFilesAndLinksToThem_data();
    void readsRegularFilesAndLinksToThem();
    void fileChangedWhileRead_data();
    void fileChangedWhileRead();

private:
    QTemporaryDir m_dir;
    QString m_image; // a double-sided DMK of 80 tracks
};

namespace {

QString makeFifo(const QTemporaryDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    if (::mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
        qFatal("cannot make the FIFO %s", qPrintable(path));
    return path;
}

QString makeLink(const QTemporaryDir &dir, const QString &name, const QString &target)
{
    const QString path = dir.filePath(name);
    if (!QFile::link(target, path))
        qFatal("cannot make the link %s", qPrintable(path));
    return path;
}

} // namespace

void TestRegularFile::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_image = test::writeSampleFile(m_dir, u"ds80.dmk"_s,
                                    imagewriter::dmk(80, 2, 0x1900, imagewriter::uniform(18, true)));
}

// None of these may block: a FIFO without a writer froze the program.
void TestRegularFile::refusesWhatIsNoRegularFile_data()
{
    using Failure = RegularFile::Failure;
    QTest::addColumn<QString>("path");
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<QString>("reason");
    const QString device = u"It is not a regular file but a device or a pipe."_s;
    const QString fifo = makeFifo(m_dir, u"image.dmk"_s);
    QTest::newRow("FIFO named like an image") << fifo << Failure::NotRegular << device;
    QTest::newRow("FIFO named like a JV1") << makeFifo(m_dir, u"disk.dsk"_s)
                                          << Failure::NotRegular << device;
    QTest::newRow("link to a FIFO") << makeLink(m_dir, u"fifo-link.dmk"_s, fifo)
                                    << Failure::NotRegular << device;
    QTest::newRow("/dev/zero") << u"/dev/zero"_s << Failure::NotRegular << device;
    QTest::newRow("/dev/null") << u"/dev/null"_s << Failure::NotRegular << device;
    QTest::newRow("folder") << m_dir.path() << Failure::Folder << u"It is a folder."_s;
    QTest::newRow("link to a folder") << makeLink(m_dir, u"folder-link.dmk"_s, m_dir.path())
                                      << Failure::Folder << u"It is a folder."_s;
    QTest::newRow("missing") << m_dir.filePath(u"absent.dmk"_s) << Failure::Missing
                             << u"The file does not exist."_s;
    QTest::newRow("dangling link") << makeLink(m_dir, u"dangling.dmk"_s, u"/nonexistent/x"_s)
                                   << Failure::Missing << u"The file does not exist."_s;
}

void TestRegularFile::refusesWhatIsNoRegularFile()
{
    QFETCH(QString, path);
    QFETCH(RegularFile::Failure, failure);
    QFETCH(QString, reason);
    RegularFile file;
    QVERIFY(!file.open(path));
    QCOMPARE(file.failure(), failure);
    QCOMPARE(file.reason(), reason);
    // Every reader of a user's file keeps to the same rule.
    const DiskImage image = readDiskImageFile(path);
    QVERIFY(!image.isImage());
    QVERIFY2(image.refusal.contains(reason), qPrintable(image.refusal));
    QVERIFY(!isPlainlyJv1(path));
    const LoadedOptionFile options = loadOptionFile(path);
    QVERIFY(!options.options);
    QVERIFY2(options.error.contains(reason), qPrintable(options.error));
}

void TestRegularFile::readsRegularFilesAndLinksToThem_data()
{
    QTest::addColumn<QString>("path");
    const QString jv1 = test::writeSampleFile(m_dir, u"plain.dsk"_s, imagewriter::jv1(35));
    QTest::newRow("regular file") << jv1;
    QTest::newRow("link to a regular file") << makeLink(m_dir, u"link.dsk"_s, jv1);
    QTest::newRow("link to a link to a regular file")
        << makeLink(m_dir, u"link2.dsk"_s, m_dir.filePath(u"link.dsk"_s));
}

void TestRegularFile::readsRegularFilesAndLinksToThem()
{
    QFETCH(QString, path);
    RegularFile file;
    QVERIFY(file.open(path));
    QCOMPARE(file.size(), 35 * 2560);
    QCOMPARE(readDiskImageFile(path).format, ImageFormat::Jv1);
    QVERIFY(isPlainlyJv1(path));
}

// The size is taken when the file is opened; the file is then cut or
// lengthened on disk before a byte is read, as another program writing it
// would.
void TestRegularFile::fileChangedWhileRead_data()
{
    QTest::addColumn<qint64>("newSize"); // -1: unchanged
    QTest::addColumn<bool>("changed");
    const qint64 size = QFileInfo(m_image).size();
    QTest::newRow("unchanged") << qint64(-1) << false;
    QTest::newRow("emptied") << qint64(0) << true;
    QTest::newRow("cut inside the header") << qint64(10) << true;
    QTest::newRow("cut inside the probed start") << qint64(9000) << true;
    QTest::newRow("cut after the probed start") << qint64(200000) << true;
    QTest::newRow("one byte less") << size - 1 << true;
    QTest::newRow("one byte more") << size + 1 << true;
    QTest::newRow("a track more") << size + 0x1900 << true;
}

void TestRegularFile::fileChangedWhileRead()
{
    QFETCH(qint64, newSize);
    QFETCH(bool, changed);
    const QString path = m_dir.filePath(u"changing.dmk"_s);
    QFile::remove(path);
    QVERIFY(QFile::copy(m_image, path));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    RegularFile file;
    QVERIFY(file.open(path));
    if (newSize >= 0)
        QVERIFY(QFile::resize(path, newSize));
    const DiskImage image = readDiskImageFile(file);
    QCOMPARE(image.isImage(), !changed);
    if (changed)
        QVERIFY2(image.refusal.startsWith(u"It changed while it was read"_s),
                 qPrintable(image.refusal));
    else
        QCOMPARE(image.sectorCount(), 80 * 2 * 18);
}

QTEST_GUILESS_MAIN(TestRegularFile)
#include "tst_regularfile.moc"
