#pragma once

#include "core/run/runanalysis.h"

#include <QDateTime>
#include <QFile>

namespace ferncastle {

// "1:02:03", "0:07": hours only when there are any.
QString formatElapsed(qint64 milliseconds);

// A record of a run, written as the output arrives: the command line, the
// start, every line as the tool wrote it (its bytes, escape sequences and
// all), and the end. Each batch of lines is flushed to the system at once,
// so a crash of the program loses nothing shown. A write that fails (a full
// disk) ends the record there, and writeFailed() says so: a transcript is
// never taken for whole when it is not.
class Transcript
{
public:
    // Creates "<image base>.<tool>.txt" beside the image, or the first free
    // "<image base>.<tool>-N.txt": an existing file (a log the tool writes
    // itself, an earlier transcript) is never replaced. False when the
    // folder cannot be written; error() then says so.
    bool create(const QString &imageFile, const QString &tool);

    bool isOpen() const { return m_file.isOpen(); }
    QString fileName() const { return m_file.fileName(); }
    // Why the transcript could not be created, or stopped being written.
    QString error() const { return m_error; }
    bool writeFailed() const { return m_writeFailed; }

    void writeStart(const QString &commandLine, const QDateTime &started);
    void writeLines(const QList<ShownLine> &lines);
    void writeNote(const QString &note);
    void writeEnd(const QString &how, qint64 elapsedMs, const QString &verdict);

private:
    void write(const QByteArray &bytes);

    QFile m_file;
    QString m_error;
    bool m_writeFailed = false;
    // A line the tool had not ended when it was cut, and its stream: the
    // next piece of that stream goes on the same line.
    bool m_lineOpen = false;
    OutputStream m_openStream = OutputStream::Stdout;
};

} // namespace ferncastle
