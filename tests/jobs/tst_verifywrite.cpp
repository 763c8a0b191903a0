#include "core/dos/dosdirectory.h"
#include "core/dosdisks.h"
#include "jobs/writeverify.h"
#include "support/samplerun.h"

#include <QTemporaryDir>
#include <QTest>

using namespace ferncastle;

namespace {

QString fixture(const QString &name)
{
    return QStringLiteral(FIXTURES_DIR "/dos/") + name;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A sector of the disk no file holds, off the directory's cylinder.
SectorAddress freeSector(const SectorSource &source, const DosDirectory &directory)
{
    for (int cylinder = 0; cylinder < source.cylinders(); ++cylinder) {
        if (cylinder == directory.disk.directoryCylinder || !source.track(cylinder, 0))
            continue;
        for (const SectorInfo &sector : source.track(cylinder, 0)->sectors) {
            const SectorAddress address{cylinder, 0, sector.sectorId};
            if (fileAtSector(directory, address) < 0)
                return address;
        }
    }
    return {};
}

} // namespace

class TestVerifyWrite : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void differencesNameTheirFiles_data();
    void differencesNameTheirFiles();
};

void TestVerifyWrite::differencesNameTheirFiles_data()
{
    QTest::addColumn<QString>("disk");
    QTest::addColumn<QStringList>("damaged"); // files whose first sector reads back changed; "" a free sector
    QTest::addColumn<QString>("headline");
    QTest::addColumn<QString>("line");

    QTest::newRow("one sector of a file")
        << "ld1-531.dsk" << QStringList{"TED/CMD"}
        << "Not verified: 1 of 350 sectors did not read back as written, in TED/CMD. "
        << " (in TED/CMD): data differs from byte 0 on.";
    QTest::newRow("two files, in the order of the disk")
        << "xtrs-utility.dsk" << QStringList{"DO6/JCL", "CD/CMD"}
        << "sectors did not read back as written, in CD/CMD, DO6/JCL. " << " (in DO6/JCL): ";
    QTest::newRow("a sector no file holds names none")
        << "xtrs-utility.dsk" << QStringList{""}
        << "1 of 800 sectors did not read back as written. " << " (in no file): ";
}

// The written image is one of the real disks; the disk read back is the
// same with the first data byte of the named files' first sectors changed.
void TestVerifyWrite::differencesNameTheirFiles()
{
    QFETCH(QString, disk);
    QFETCH(QStringList, damaged);
    QFETCH(QString, headline);
    QFETCH(QString, line);
    QTemporaryDir dir;
    const QString written = dir.filePath(disk);
    QVERIFY(QFile::copy(fixture(disk), written));
    const SectorSource source = SectorSource::fromFile(written);
    const DosDirectory directory = readDosDirectory(source);
    QVERIFY(directory.found);
    dosdisks::Disk readBack = dosdisks::copyOf(source);
    for (const QString &name : std::as_const(damaged)) {
        SectorAddress at = freeSector(source, directory);
        for (const DosFile &file : directory.files)
            if (file.dosName() == name)
                at = file.sectors.constFirst();
        QByteArray &data = readBack.at(at.cylinder, at.side, at.id).data;
        data[0] = char(data[0] ^ 0x01);
    }
    const QString readBackFile = dir.filePath(QStringLiteral("disk-verify.dmk"));
    QVERIFY(writeFile(readBackFile, dosdisks::toDmk(readBack)));

    const RunVerdict verdict = verifyWrite(written, readBackFile);
    QCOMPARE(verdict.kind, VerdictKind::Failure);
    QVERIFY2(verdict.sentence.contains(headline), qPrintable(verdict.sentence));
    QVERIFY2(verdict.sentence.contains(line), qPrintable(verdict.sentence));
    QVERIFY(QFile::exists(readBackFile));
}

QTEST_GUILESS_MAIN(TestVerifyWrite)
#include "tst_verifywrite.moc"
