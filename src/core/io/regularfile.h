#pragma once

#include <QFile>
#include <QString>

#include <optional>

namespace ferncastle {

// A file the user named, opened for reading only when it is a regular file.
// The check is made on what was opened, without waiting: a named pipe or a
// device put where a file was expected never blocks the program, and a name
// swapped between a look and the open cannot slip past.
class RegularFile
{
public:
    enum class Failure { None, Missing, Folder, NotRegular, CannotOpen };

    // False when the file is missing, not a regular file or cannot be read;
    // failure() and reason() then say why.
    bool open(const QString &path);

    Failure failure() const { return m_failure; }
    // A sentence for the user: "It is a folder.", "The file does not exist."
    QString reason() const { return m_reason; }
    // The size the file had when it was opened.
    qint64 size() const { return m_size; }

    // Up to count bytes from where the last read ended; fewer only at the
    // end of the file. None, with reason() set, when the read failed.
    std::optional<QByteArray> read(qint64 count);
    // Reads into data; the count read, or -1 with reason() set.
    qint64 read(char *data, qint64 count);
    // True when bytes follow the size the file had when opened: the file
    // grew while it was read.
    bool grewSinceOpened();

private:
    QFile m_file;
    Failure m_failure = Failure::None;
    QString m_reason;
    qint64 m_size = 0;
};

// Why a file whose bytes differ from the size it had when opened is not
// read: bytesRead above the size means it grew.
QString changedWhileReadReason(qint64 sizeWhenOpened, qint64 bytesRead);

} // namespace ferncastle
