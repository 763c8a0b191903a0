#pragma once

#include "dosdirectory.h"

#include <QDir>
#include <QString>

namespace ferncastle {

// How a file stands, in words: "intact", "damaged: 1 sector bad or
// missing. (cylinder/side/sector: 38/0/3)", "unreadable: ...".
QString fileHealthText(const DosFile &file);
// "SI P6 LRL 256": system, invisible, protection level, record length.
QString fileAttributeText(const DosFile &file);
// Sectors as cylinder/side/id, blank-separated: "38/0/3 38/0/4".
QString sectorAddressList(const QList<SectorAddress> &sectors);

// The one rule for copying a file off a disk: an intact file is copied, a
// damaged one only when the user has agreed (its bad sectors' bytes as the
// image holds them), one that cannot be followed never.
bool mayCopyOut(const DosFile &file, bool damagedAgreed);

struct CopyOutResult
{
    enum class Outcome { Written, AlreadyThere, Failed };
    Outcome outcome = Outcome::Written;
    QString path;  // where it was or would have been written
    QString error; // Failed: why, as the system says it
};

// Writes the file's bytes into folder as its save name, whole or not at
// all. A file already there is left as it is unless replace is set.
CopyOutResult copyOut(const QDir &folder, const DosFile &file, const QByteArray &bytes,
                      bool replace = false);

} // namespace ferncastle
