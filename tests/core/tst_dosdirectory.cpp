#include "core/dos/dosdirectory.h"
#include "core/image/imagereader.h"
#include "dosdisks.h"
#include "support/samplerun.h"

#include <QCryptographicHash>
#include <QTest>

using namespace ferncastle;

namespace {

QByteArray fixture(const char *name)
{
    return test::readWhole(QStringLiteral(FIXTURES_DIR "/dos/") + QLatin1String(name));
}

SectorSource sourceOf(const QByteArray &bytes)
{
    return SectorSource(readDiskImage(bytes), bytes);
}

// The same disk as a DMK written here, as jv2dmk would make it.
QByteArray asDmk(const QByteArray &image)
{
    return dosdisks::toDmk(dosdisks::copyOf(sourceOf(image)));
}

const DosFile *named(const DosDirectory &directory, const QString &name)
{
    for (const DosFile &file : directory.files) {
        if (file.dosName() == name)
            return &file;
    }
    return nullptr;
}

QList<FileHealth> healths(const DosDirectory &directory)
{
    QList<FileHealth> all;
    for (const DosFile &file : directory.files)
        all.append(file.health);
    return all;
}

enum class Damage {
    BadFileSector, MissingFileSector, BadDirectorySector, BadGat, BadHit, NoBootSector,
    ExtentOffDisk, ExtensionLoop, SizeBeyondExtents,
};

QByteArray pattern(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + seed * 31 + i / 256) & 0xFF);
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(Damage)
Q_DECLARE_METATYPE(dosdisks::Plan)

class TestDosDirectory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void samples_data();
    void samples();
    void knownContents_data();
    void knownContents();
    void damage_data();
    void damage();
    void formatted_data();
    void formatted();
    void refused_data();
    void refused();
    void sectorNamesItsFile();
};

void TestDosDirectory::samples_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<int>("allFiles");
    QTest::addColumn<qint64>("freeBytes");
    QTest::addColumn<int>("cylinders");
    QTest::addColumn<QString>("lastFile");

    const QByteArray ldos = fixture("ld1-531.dsk");
    const QByteArray xtrs = fixture("xtrs-utility.dsk");
    const QString ldosLine = QStringLiteral("LDOS 5.3 disk LDOS531: 14 files, all intact");
    const QString xtrsLine = QStringLiteral("TRSDOS 6.2 disk XTRSUTIL: 35 files, all intact");
    QTest::newRow("LDOS 5.3.1, JV1") << ldos << ldosLine << 29 << qint64(0) << 35 << "TED/CMD";
    QTest::newRow("LDOS 5.3.1, DMK") << asDmk(ldos) << ldosLine << 29 << qint64(0) << 35
                                     << "TED/CMD";
    QTest::newRow("TRSDOS 6, JV3") << xtrs << xtrsLine << 37 << qint64(26880) << 80
                                   << "DO6/JCL";
    QTest::newRow("TRSDOS 6, DMK") << asDmk(xtrs) << xtrsLine << 37 << qint64(26880) << 80
                                   << "DO6/JCL";
}

void TestDosDirectory::samples()
{
    QFETCH(QByteArray, image);
    QFETCH(QString, summary);
    QFETCH(int, allFiles);
    QFETCH(qint64, freeBytes);
    QFETCH(int, cylinders);
    QFETCH(QString, lastFile);

    const SectorSource source = sourceOf(image);
    const DosDirectory directory = readDosDirectory(source);
    QVERIFY2(directory.found, qPrintable(directory.whyNot));
    QCOMPARE(directorySummary(directory), summary);
    QCOMPARE(directory.files.size(), allFiles);
    QCOMPARE(directory.files.constLast().dosName(), lastFile);
    QCOMPARE(directory.disk.freeBytes, freeBytes);
    QCOMPARE(directory.disk.cylinders, cylinders);
    QVERIFY(directory.findings.isEmpty());
    for (const DosFile &file : directory.files)
        QCOMPARE(fileBytes(source, file).size(), file.size);
}

void TestDosDirectory::knownContents_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("sha256");

    const QByteArray xtrs = fixture("xtrs-utility.dsk");
    const QByteArray dmk = asDmk(xtrs);
    const std::pair<const char *, const char *> known[] = {
        {"CD/CMD", "e30b666eb54f0703366e5e55dd75ed4c6deb21217a292a59366427cdd7ac1096"},
        {"CD6/CMD", "8f4519643932c1b00095f12b0195da38af60eb31adf458e5a333b0b6256328f6"},
        {"MOUNT/CMD", "1409fa31c58f9661948b618a8e8d85b581d5868c820f514156dc2626c58d10f2"},
        {"MOUNT6/CMD", "fabd98add51919072c96180e0f260e67038f5a7bfc0345e6f25ba0099d63ad2c"},
        {"PWD/CMD", "d4ea2ad229d26cff47ea7bb71232a447bb9c5f6d6804e2c2dcaedd4c766d4dd5"},
        {"PWD6/CMD", "da04102c17b1575294636d14bafdd9a3df674cc1d46b93a0ff764fdfed7705a3"},
        {"TRUEDAM/CMD", "1ab459ab6e2d8a5e6cc9dfb105ab226f02a761a46782363a6c046d61b45063e9"},
        {"TRUEDAM6/CMD", "5d008f600173491e2a324db587097ae3f2a731dc759c91c998df289f64655274"},
        {"UMOUNT/CMD", "28e5f21121eceedf1f01399092c3f24d827edd91b06dd04232064405fafe883d"},
        {"UMOUNT6/CMD", "8b2d886fc8f86c73cb51d3316e870c4be1fed3dcd2466f62f9bdb25ed5e8d2ad"},
        {"UNIX/CMD", "c07e61415bc98dadf1509104b8f0aedc9fe03cda90e30437d53fb70545d5f10d"},
        {"UNIX6/CMD", "c8aeffe1a6cc2ac0d078f4e495076495eef50411c2426c9d8afc9ed9a5c45ee9"},
    };
    for (const auto &[name, sum] : known) {
        QTest::addRow("%s JV3", name) << xtrs << QString::fromLatin1(name) << QByteArray(sum);
        QTest::addRow("%s DMK", name) << dmk << QString::fromLatin1(name) << QByteArray(sum);
    }
}

void TestDosDirectory::knownContents()
{
    QFETCH(QByteArray, image);
    QFETCH(QString, name);
    QFETCH(QByteArray, sha256);

    const SectorSource source = sourceOf(image);
    const DosDirectory directory = readDosDirectory(source);
    const DosFile *file = named(directory, name);
    QVERIFY(file);
    QCOMPARE(file->health, FileHealth::Intact);
    const QByteArray bytes = fileBytes(source, *file);
    QCOMPARE(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(), sha256);
}

void TestDosDirectory::damage_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<FileHealth>("health");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<int>("intactFiles");

    const QString xtrs = QStringLiteral("TRSDOS 6.2 disk XTRSUTIL: 35 files");
    QTest::newRow("bad sector in a file")
        << Damage::BadFileSector << xtrs + "; damaged: CD/CMD" << FileHealth::Damaged
        << "1 sector bad or missing." << 36;
    QTest::newRow("missing sector in a file")
        << Damage::MissingFileSector << xtrs + "; damaged: CD/CMD" << FileHealth::Damaged
        << "1 sector bad or missing." << 36;
    QTest::newRow("bad directory sector")
        << Damage::BadDirectorySector
        << xtrs + "; damaged: DIR/SYS, SETTIME/CMD, XTRS8/Z80, CD/CMD and UNIX6/CMD; the "
                  "directory has 1 bad sector"
        << FileHealth::Damaged << "Its directory entry lies in a bad sector" << 32;
    // DIR/SYS is the directory cylinder itself, BOOT/SYS the boot sector.
    const QString dirSys = QStringLiteral("; damaged: DIR/SYS; the directory has 1 bad sector");
    QTest::newRow("bad GAT") << Damage::BadGat << xtrs + dirSys << FileHealth::Intact << ""
                             << 36;
    QTest::newRow("bad HIT") << Damage::BadHit << xtrs + dirSys << FileHealth::Intact << ""
                             << 36;
    QTest::newRow("no boot sector") << Damage::NoBootSector << xtrs + "; damaged: BOOT/SYS"
                                    << FileHealth::Intact << "" << 36;
    QTest::newRow("extent off the disk")
        << Damage::ExtentOffDisk << xtrs + "; cannot be followed: CD/CMD"
        << FileHealth::Unreadable << "An extent points beyond the disk (cylinder 200)." << 36;
    QTest::newRow("extension entry loop")
        << Damage::ExtensionLoop << xtrs + "; cannot be followed: CD/CMD"
        << FileHealth::Unreadable << "Its extension entries run in a loop." << 36;
    QTest::newRow("size beyond extents")
        << Damage::SizeBeyondExtents << xtrs + "; cannot be followed: CD/CMD"
        << FileHealth::Unreadable << "Its size (51165 bytes) runs beyond its extents (25 sectors)."
        << 36;
}

// Each kind of damage put into a DMK copy of the TRSDOS 6 disk, around
// CD/CMD; the reader must say exactly what is wrong and nothing more.
void TestDosDirectory::damage()
{
    QFETCH(Damage, damage);
    QFETCH(QString, summary);
    QFETCH(FileHealth, health);
    QFETCH(QString, problem);
    QFETCH(int, intactFiles);

    const QByteArray original = fixture("xtrs-utility.dsk");
    const DosDirectory before = readDosDirectory(sourceOf(original));
    const DosFile cd = *named(before, QStringLiteral("CD/CMD"));
    dosdisks::Disk disk = dosdisks::copyOf(sourceOf(original));
    const SectorAddress inFile = cd.sectors[3];
    const int entrySectorId = 2 + (cd.entryCode & 31);
    QByteArray &entrySector = disk.at(17, 0, entrySectorId).data;
    const int entry = (cd.entryCode >> 5) * 32;
    switch (damage) {
    case Damage::BadFileSector:
        disk.at(inFile.cylinder, inFile.side, inFile.id).badCrc = true;
        break;
    case Damage::MissingFileSector:
        disk.sectors.remove({inFile.cylinder, inFile.side, inFile.id});
        break;
    case Damage::BadDirectorySector:
        disk.at(17, 0, entrySectorId).badCrc = true;
        break;
    case Damage::BadGat:
        disk.at(17, 0, 0).badCrc = true;
        break;
    case Damage::BadHit:
        disk.at(17, 0, 1).badCrc = true;
        break;
    case Damage::NoBootSector:
        disk.sectors.remove({0, 0, 0});
        break;
    case Damage::ExtentOffDisk:
        entrySector[entry + 22] = char(200);
        break;
    case Damage::ExtensionLoop: {
        const int freeEntry = 7 * 32; // the sector's last slot is free
        QVERIFY(!(entrySector[freeEntry] & 0x10));
        const int freeCode = (7 << 5) | (cd.entryCode & 31);
        entrySector[entry + 30] = char(0xFE);
        entrySector[entry + 31] = char(freeCode);
        entrySector.replace(freeEntry, 32, QByteArray(32, char(0xFF)));
        entrySector[freeEntry] = char(0x90);
        entrySector[freeEntry + 30] = char(0xFE);
        entrySector[freeEntry + 31] = char(freeCode);
        break;
    }
    case Damage::SizeBeyondExtents:
        entrySector[entry + 20] = char(200);
        break;
    }
    const SectorSource source = sourceOf(dosdisks::toDmk(disk));
    const DosDirectory directory = readDosDirectory(source);
    QVERIFY2(directory.found, qPrintable(directory.whyNot));
    QCOMPARE(directorySummary(directory), summary);
    QCOMPARE(healths(directory).count(FileHealth::Intact), intactFiles);
    const DosFile *file = named(directory, QStringLiteral("CD/CMD"));
    QVERIFY(file);
    QCOMPARE(file->health, health);
    QVERIFY2(problem.isEmpty() ? file->problem.isEmpty() : file->problem.startsWith(problem),
             qPrintable(file->problem));
    if (damage == Damage::BadFileSector || damage == Damage::MissingFileSector)
        QCOMPARE(file->badSectors, QList<SectorAddress>{inFile});
    if (damage == Damage::BadGat)
        QCOMPARE(directory.disk.freeBytes, qint64(-1));
    // Whatever the damage, the bytes that can be followed come out.
    QVERIFY(fileBytes(source, *file).size() <= file->size);
}

void TestDosDirectory::formatted_data()
{
    QTest::addColumn<dosdisks::Plan>("plan");
    QTest::addColumn<QString>("dos");

    QList<dosdisks::FileSpec> files;
    const int sizes[] = {1, 255, 256, 257, 5000, 12800, 20000, 0, 30000};
    for (int i = 0; i < int(std::size(sizes)); ++i) {
        files.append({QByteArray("FILE") + QByteArray::number(i), QByteArray("DAT"),
                      pattern(sizes[i], i)});
    }
    QTest::newRow("single density, one side, 35 cylinders")
        << dosdisks::Plan{35, 1, false, false, 17, 0x53, files} << "LDOS 5.3";
    QTest::newRow("double density, one side, 40 cylinders")
        << dosdisks::Plan{40, 1, true, false, 20, 0x63, files} << "LS-DOS 6.3";
    QTest::newRow("double density, two sides, 80 cylinders")
        << dosdisks::Plan{80, 2, true, false, 40, 0x63, files + files.mid(0, 6)} << "LS-DOS 6.3";
    QTest::newRow("single density, two sides, 40 cylinders")
        << dosdisks::Plan{40, 2, false, false, 20, 0x62, files} << "TRSDOS 6.2";
    // Lumps of one cylinder: the layout NEWDOS/80 shares with TRSDOS.
    QTest::newRow("NEWDOS/80, single density, 35 cylinders")
        << dosdisks::Plan{35, 1, false, false, 17, 0x82, files} << "NEWDOS/80";
    QTest::newRow("doubler: cylinder 0 single density")
        << dosdisks::Plan{40, 1, true, true, 20, 0x51, files} << "LDOS 5.1";
}

// Disks formatted here by the documented layout: every file listed with its
// size and copied out byte for byte, extension entries followed.
void TestDosDirectory::formatted()
{
    QFETCH(dosdisks::Plan, plan);
    QFETCH(QString, dos);

    for (qsizetype i = 6; i < plan.files.size(); ++i)
        plan.files[i].name += QByteArray("B"); // the second round gets names of its own
    const SectorSource source = sourceOf(dosdisks::toDmk(dosdisks::Formatter(plan).build()));
    const DosDirectory directory = readDosDirectory(source);
    QVERIFY2(directory.found, qPrintable(directory.whyNot));
    QCOMPARE(directory.disk.dos, dos);
    QCOMPARE(directory.disk.sides, plan.sides);
    QCOMPARE(directory.disk.doubleDensity, plan.doubleDensity);
    QCOMPARE(directory.files.size(), plan.files.size());
    for (const dosdisks::FileSpec &wanted : std::as_const(plan.files)) {
        const DosFile *file = named(directory, QString::fromLatin1(wanted.name + '/' + wanted.extension));
        QVERIFY2(file, wanted.name.constData());
        QCOMPARE(file->health, FileHealth::Intact);
        QCOMPARE(file->date.text(), QStringLiteral("01/02/86"));
        QVERIFY(fileBytes(source, *file) == wanted.bytes);
    }
    QVERIFY(directory.allIntact());
}

void TestDosDirectory::refused_data()
{
    QTest::addColumn<QByteArray>("image");

    const QString samples = test::toolOutputDir() + QStringLiteral("/files");
    const QStringList names = QDir(samples).entryList({QStringLiteral("*.dmk*"),
                                                       QStringLiteral("*.dsk*")});
    QVERIFY2(!names.isEmpty(), "the sample images are missing");
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << test::readUnpacked(samples + u'/' + name);
    QTest::newRow("no image at all") << QByteArray("hello\n");
    QTest::newRow("an empty file") << QByteArray();
    QTest::newRow("a blank JV1") << QByteArray(35 * 2560, '\0');
}

// Images whose sectors hold labels, or nothing, have no directory, and say
// so: never an empty disk.
void TestDosDirectory::refused()
{
    QFETCH(QByteArray, image);

    const DosDirectory directory = readDosDirectory(sourceOf(image));
    QVERIFY(!directory.found);
    QVERIFY(directory.files.isEmpty());
    QVERIFY2(directory.whyNot.startsWith(QLatin1String("no TRS-80 directory found: ")),
             qPrintable(directory.whyNot));
    QCOMPARE(directorySummary(directory), directory.whyNot);
}

void TestDosDirectory::sectorNamesItsFile()
{
    const SectorSource source = sourceOf(fixture("xtrs-utility.dsk"));
    const DosDirectory directory = readDosDirectory(source);
    const DosFile *cd = named(directory, QStringLiteral("CD/CMD"));
    QVERIFY(cd);
    QCOMPARE(directory.files[fileAtSector(directory, cd->sectors.constLast())].dosName(),
             QStringLiteral("CD/CMD"));
    // The GAT lies in DIR/SYS; the last cylinder is free.
    QCOMPARE(directory.files[fileAtSector(directory, {17, 0, 0})].dosName(),
             QStringLiteral("DIR/SYS"));
    QCOMPARE(fileAtSector(directory, {79, 0, 9}), -1);
}

QTEST_GUILESS_MAIN(TestDosDirectory)
#include "tst_dosdirectory.moc"
