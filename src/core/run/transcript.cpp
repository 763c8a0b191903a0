#include "core/run/transcript.h"

#include <QDir>
#include <QFileInfo>

namespace ferncastle {

namespace {

// Far more than any folder will hold; a bound so a broken file system
// cannot keep the loop going.
constexpr int maxTries = 10000;

} // namespace

QString formatElapsed(qint64 milliseconds)
{
    const qint64 seconds = milliseconds / 1000;
    const qint64 hours = seconds / 3600;
    const QString minutesSeconds = QStringLiteral("%1:%2")
                                       .arg(seconds / 60 % 60, hours > 0 ? 2 : 1, 10, QChar(u'0'))
                                       .arg(seconds % 60, 2, 10, QChar(u'0'));
    return hours > 0 ? QString::number(hours) + u':' + minutesSeconds : minutesSeconds;
}

bool Transcript::create(const QString &imageFile, const QString &tool)
{
    const QFileInfo image(imageFile);
    const QDir folder = image.absoluteDir();
    const QString base = image.completeBaseName() + u'.' + tool;
    QString lastError;
    for (int number = 1; number <= maxTries; ++number) {
        const QString suffix = number == 1 ? QString() : u'-' + QString::number(number);
        const QString name = base + suffix + QLatin1String(".txt");
        m_file.setFileName(folder.filePath(name));
        // NewOnly fails on an existing name even if one appears meanwhile.
        if (m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return true;
        lastError = m_file.errorString();
        if (!m_file.exists())
            break;
    }
    m_error = QStringLiteral("No transcript could be written in %1 (%2); the run goes on.")
                  .arg(QDir::toNativeSeparators(folder.absolutePath()), lastError);
    m_file.setFileName(QString());
    return false;
}

void Transcript::writeStart(const QString &commandLine, const QDateTime &started)
{
    write(commandLine.toUtf8() + "\nStarted " + started.toString(Qt::ISODate).toUtf8() + "\n\n");
}

// Lines from stderr are marked, as the window marks them. A line is kept
// as the tool's bytes; one made by the program has only its text.
void Transcript::writeLines(const QList<ShownLine> &lines)
{
    if (!isOpen() || lines.isEmpty())
        return;
    QByteArray bytes;
    for (const ShownLine &line : lines) {
        const bool continues = m_lineOpen && line.stream == m_openStream;
        if (m_lineOpen && !continues)
            bytes += '\n';
        if (line.stream == OutputStream::Stderr && !continues)
            bytes += "[stderr] ";
        bytes += line.raw.isEmpty() ? line.text.toUtf8() : line.raw;
        if (!line.cut)
            bytes += '\n';
        m_lineOpen = line.cut;
        m_openStream = line.stream;
    }
    write(bytes);
}

void Transcript::writeNote(const QString &note)
{
    write("[ferncastle] " + note.toUtf8() + '\n');
}

void Transcript::writeEnd(const QString &how, qint64 elapsedMs, const QString &verdict)
{
    write("\n" + how.toUtf8() + " after " + formatElapsed(elapsedMs).toUtf8() + "\n" + verdict.toUtf8()
          + '\n');
}

void Transcript::write(const QByteArray &bytes)
{
    if (!isOpen() || m_writeFailed)
        return;
    if (m_file.write(bytes) == bytes.size() && m_file.flush())
        return;
    // What follows a hole would read as if nothing were missing.
    m_writeFailed = true;
    m_error = QStringLiteral("The transcript %1 could not be written whole (%2): it stops before "
                             "the end of the run. Free some space and run the tool again for a "
                             "whole record.")
                  .arg(QDir::toNativeSeparators(m_file.fileName()), m_file.errorString());
    m_file.close();
}

} // namespace ferncastle
