#pragma once

#include "core/run/runverdict.h"

#include <QStringList>

namespace ferncastle {

struct DiskImage;

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

    bool clean() const;
};

ImageReadBack readBackImage(const QString &name, const DiskImage &image);
// Reads the file at path; one that cannot be read is Unreadable.
ImageReadBack readBackFile(const QString &path);
// The run was to write path but left it missing or as it was before.
ImageReadBack notWrittenBy(const QString &path);

// The verdict of a run that ended on its own, with what its images hold
// said after it. Good stays good only over images read back clean.
RunVerdict withReadBacks(RunVerdict verdict, const QList<ImageReadBack> &readBacks);

} // namespace ferncastle
