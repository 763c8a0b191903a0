#include "core/derivedoutput.h"

#include "core/displaytext.h"

#include <QFile>

#include <filesystem>
#include <system_error>

namespace ferncastle {

// Two names are one file when the system says so: a symbolic link, a hard
// link or a case-insensitive file system can all make different names meet.
OutputClash outputClash(const QString &chosenFile, const QString &writtenFile)
{
    const std::filesystem::path written(QFile::encodeName(writtenFile).toStdString());
    std::error_code error;
    if (!std::filesystem::exists(written, error))
        return writtenFile == chosenFile ? OutputClash::IsChosenFile : OutputClash::None;
    const std::filesystem::path chosen(QFile::encodeName(chosenFile).toStdString());
    if (writtenFile == chosenFile || std::filesystem::equivalent(chosen, written, error))
        return OutputClash::IsChosenFile;
    return OutputClash::Exists;
}

QString replaceQuestion(const QString &tool, const QString &writtenFile)
{
    return QStringLiteral("%1 already exists.\r%2 will replace it with the converted image. "
                          "Replace it?")
        .arg(shortenedForDisplay(writtenFile), tool);
}

QString sameFileRefusal(const QString &tool, const QString &chosenFile, const QString &extension)
{
    return QStringLiteral("%1 names its output after its input, ending in %3, and that is %2 itself: "
                          "%1 would empty the file before reading it.\r"
                          "Rename the file so that its name does not end in %3, or run %1 yourself "
                          "with an output name. Nothing was started.")
        .arg(tool, shortenedForDisplay(chosenFile), extension);
}

} // namespace ferncastle
