#pragma once

#include "core/image/sectorsource.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace ferncastle {

// The three ways TRS-80 DOSes lay out a directory.
enum class DosLayout {
    Trsdos23, // Model I TRSDOS 2.x, LDOS, TRSDOS 6 / LS-DOS, DOSPLUS, MULTIDOS
    Trsdos13, // Model III TRSDOS 1.x: 48-byte entries
    Newdos80, // allocation in lumps, directory found by lump
};

enum class FileHealth { Intact, Damaged, Unreadable };

// A run of granules as a directory entry names it, counted from the disk's
// first granule (NEWDOS lumps already turned into granules).
struct DosExtent
{
    int firstGranule = 0;
    int granules = 0;
};

struct DosDate
{
    int year = 0;  // 0: no date
    int month = 0;
    int day = 0;   // 0: the DOS keeps month and year only

    bool isValid() const { return year > 0 && month >= 1 && month <= 12; }
    QString text() const; // "12/31/87", "05/81", or empty
};

struct DosFile
{
    QByteArray name;      // as the entry holds it, blanks cut
    QByteArray extension;
    qint64 size = 0;      // bytes, by the DOS's own rule
    DosDate date;
    int recordLength = 256;
    bool system = false;
    bool invisible = false;
    int protection = 0;   // 0 full access ... 7 none
    int entryCode = -1;   // the slot in the HIT
    QList<DosExtent> extents;
    // The sectors holding its bytes, in file order, cut to its size.
    QList<SectorAddress> sectors;
    FileHealth health = FileHealth::Intact;
    QList<SectorAddress> badSectors; // bad or missing, in file order
    QString problem;      // why it is damaged or unreadable, for the user

    QString dosName() const;  // NAME/EXT, as the DOS lists it
    QString saveName() const; // NAME.EXT, for a folder on this computer
};

struct DosDisk
{
    QString dos;          // "LDOS 5.3", "TRSDOS 6.2", "TRSDOS 1.3", "NEWDOS/80"
    int identity = -1;    // the GAT's identity byte, -1 where the DOS keeps none
    QString name;
    QString formatDate;
    int cylinders = 0;
    int sides = 1;
    bool doubleDensity = false;
    int directoryCylinder = 0;
    int granulesPerCylinder = 0;
    int sectorsPerGranule = 0;
    qint64 freeBytes = 0;
};

struct DosDirectory
{
    bool found = false;
    QString whyNot;       // when nothing was found: the evidence that failed
    DosLayout layout = DosLayout::Trsdos23;
    DosDisk disk;
    QList<DosFile> files; // every file the directory names, system files too
    QList<SectorAddress> badDirectorySectors;
    QStringList findings; // plain sentences: what does not add up

    int userFileCount() const;
    bool allIntact() const;
};

// Reads the DOS directory of the image, by evidence. Bounded in time
// whatever the bytes.
DosDirectory readDosDirectory(const SectorSource &source);

// The file's bytes: its sectors in extent order as the image holds them
// (a missing sector reads as zeros), cut to its size.
QByteArray fileBytes(const SectorSource &source, const DosFile &file);

// The index in directory.files of the file holding that sector, or -1.
int fileAtSector(const DosDirectory &directory, SectorAddress address);

// One sentence for a run's read-back: "LDOS 5.3 disk LDOS531: 14 files, all
// intact", or which files the bad sectors fall in.
QString directorySummary(const DosDirectory &directory);

} // namespace ferncastle
