#pragma once

#include <QMap>
#include <QString>
#include <QVariant>

#include <optional>

namespace ferncastle {

// What an INI settings file holds, as "section/key" -> value.
struct IniContents {
    bool found = false; // the file is there and could be opened
    bool whole = false; // every line could be read
    QMap<QString, QVariant> values;
};

// The INI file as it is on disk at this moment, whatever QSettings has
// cached of it. Empty when it could not be read afresh (no second name for
// it could be made, neither beside it nor in the temporary folder): then
// nothing is known of it.
std::optional<IniContents> readIniFromDisk(const QString &fileName);

// Copies the file beside itself when it has lines that QSettings cannot
// read (contents is what was read of it), unless a copy with the same bytes
// is already there. Returns the copy's name, or an empty string when none
// was needed or it could not be made.
QString keepCopyIfDamaged(const QString &fileName, const IniContents &contents);

// True when every "section/key" of expected reads back from the file with
// that value (an invalid value: the key is absent or holds no value).
// Other keys do not count: QSettings does not read back every key it
// writes under the same name (a key in "[]" or "[/Other]"). mustBeWhole
// also requires that every line of the file can be read.
bool fileHoldsValues(const IniContents &onDisk, const QMap<QString, QVariant> &expected,
                     bool mustBeWhole);

// The file a chain of symbolic links ends in, even when it does not exist
// yet (its folder is made), as QSaveFile writes through them; fileName
// itself when it is no link or the links go round in a loop.
QString followLinks(const QString &fileName);

// A second name for the file as it was before a write, so that it can be
// put back when the write turns out incomplete.
struct PreviousVersion {
    bool existed = false;
    QString link; // empty when no second name could be made
};

PreviousVersion keepPreviousVersion(const QString &fileName);
void restorePreviousVersion(const PreviousVersion &previous, const QString &fileName);
void forgetPreviousVersion(const PreviousVersion &previous);

} // namespace ferncastle
