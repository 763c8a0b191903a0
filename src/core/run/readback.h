#pragma once

#include "core/image/diskimage.h"
#include "core/image/sectorsource.h"
#include "core/run/imagefindings.h"
#include "core/run/runverdict.h"

#include <QStringList>

namespace ferncastle {

// What an image a run wrote turned out to hold when read back. The tools'
// own counts can miss damage (dmk2jv3 does not count data CRC errors), so
// a verdict is only as good as the image behind it.
struct ImageReadBack {
    enum class Outcome { Read, Unreadable, NotWritten };
    Outcome outcome = Outcome::Read;
    QString name;   // the file's name, as the verdict gives it
    QString reason; // Unreadable: why, as a sentence
    bool keepsCrcs = true; // a JV1 image keeps none to check
    int sectors = 0;
    int badSectors = 0;
    int crcFailures = 0;
    QList<AffectedTrack> badTracks; // every track and side with a bad sector
    QStringList damage;             // the file cut short, tracks missing
    QStringList problems;           // whatever else the reader found wrong
    CellCounts cells;               // sectors per track and side
    // The DOS directory's sentence when the image holds one: the user's
    // question is whether the programs came through, not the sectors.
    QString files;

    int goodSectors() const { return sectors - badSectors; }
    bool clean() const;
};

// A conversion's input as it was before the run: what the output is held
// against, and what advice on a failure is drawn from.
struct ConversionInput {
    QString name;
    DiskImage image;
};

// What the written images are held against besides their own contents.
struct ReadBackContext {
    QString tool;
    int reportedGoodSectors = -1; // the tool's own count; -1: it gave none
    const ConversionInput *input = nullptr;
};

ImageReadBack readBackImage(const QString &name, const DiskImage &image);
// The image and, where it holds a TRS-80 directory, its files.
ImageReadBack readBackSource(const QString &name, const SectorSource &source);
// Reads the file at path; one that cannot be read is Unreadable.
ImageReadBack readBackFile(const QString &path);
// The run was to write path but left it missing or as it was before.
ImageReadBack notWrittenBy(const QString &path);

// The verdict of a run that ended on its own, with what its images hold
// said after it. Good stays good only over images read back clean.
// A count the tool reported that the image does not hold, sectors gained
// or lost against the input, or anything the reader finds wrong turns a
// good verdict into a warning.
RunVerdict withReadBacks(RunVerdict verdict, const QList<ImageReadBack> &readBacks,
                         const ReadBackContext &context = {});

} // namespace ferncastle
