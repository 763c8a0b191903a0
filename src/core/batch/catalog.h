#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace ferncastle {

// One read of a disk, as the catalog beside the images keeps it.
struct CatalogRow {
    QString imageFile; // the name only: the catalog lies beside the image
    QDateTime started;
    QString commandLine;
    QString exitStatus; // "0", "3", "signal 11", "not started"
    QString verdict;
    int goodSectors = 0;
    int badSectors = 0;
    QString sha256; // hex; empty when no image was written
    // The DOS directory on the image; empty and -1 when none was recognised.
    QString dos;
    QString diskName;
    int files = -1;        // the user's files, as the DOS lists them
    int damagedFiles = -1; // files (system ones too) with a bad or missing sector
};

// catalog.csv in a folder of images: one row per read, RFC 4180, UTF-8,
// with a header row. Rows are only ever appended, each flushed at once; a
// file another program changed is appended to as it is, never rewritten.
namespace catalog {

inline constexpr char fileName[] = "catalog.csv";

QStringList header();
// One record, CRLF-ended; a field holding a comma, quote or line break is
// quoted, with its quotes doubled.
QByteArray record(const QStringList &fields);
QStringList fieldsOf(const CatalogRow &row);
// The fields in the columns of a header already on disk, matched by name
// (an older catalog lacks the newer columns; a spreadsheet may have moved
// them); a column of no name of ours stays empty. A header that names none
// of ours is taken for none at all: the fields stay as they are.
QStringList shapedTo(const QStringList &existingHeader, const QStringList &fields);
// The first record of a catalog's bytes, quotes undone.
QStringList firstRecord(QByteArrayView bytes);

// Appends row to catalog.csv in folder, starting the file with the header
// when it is new or empty. A catalog begun under another header keeps it:
// the row is given that header's columns (see shapedTo). Empty on success,
// otherwise a sentence for the user saying what could not be written.
QString append(const QString &folder, const CatalogRow &row);

} // namespace catalog

} // namespace ferncastle
