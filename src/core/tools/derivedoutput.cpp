#include "core/tools/derivedoutput.h"

#include "core/displaytext.h"

#include <QFile>

#include <filesystem>
#include <system_error>

namespace ferncastle {

namespace {

std::filesystem::path pathOf(const QString &file)
{
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

// What the name is when it is not an ordinary file, as the sentence says it.
QString kindOf(const QString &file)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(pathOf(file), error);
    switch (status.type()) {
    case fs::file_type::symlink: {
        const fs::path target = fs::read_symlink(pathOf(file), error);
        return QStringLiteral("a link to %1")
            .arg(shortenedForDisplay(QFile::decodeName(QByteArray::fromStdString(target.string()))));
    }
    case fs::file_type::directory: return QStringLiteral("a folder");
    case fs::file_type::fifo: return QStringLiteral("a named pipe (FIFO)");
    case fs::file_type::block:
    case fs::file_type::character: return QStringLiteral("a device");
    case fs::file_type::socket: return QStringLiteral("a socket");
    default: return QStringLiteral("not an ordinary file");
    }
}

} // namespace

// Two names are one file when the system says so: a symbolic link, a hard
// link or a case-insensitive file system can all make different names meet.
// The name itself is looked at, not what a link leads to: a link, even one
// leading nowhere, would have the tool write a file nobody chose.
OutputClash outputClash(const QString &chosenFile, const QString &writtenFile)
{
    namespace fs = std::filesystem;
    const fs::path written = pathOf(writtenFile);
    std::error_code error;
    const fs::file_status status = fs::symlink_status(written, error);
    if (!fs::exists(status))
        return writtenFile == chosenFile ? OutputClash::IsChosenFile : OutputClash::None;
    if (writtenFile == chosenFile || fs::equivalent(pathOf(chosenFile), written, error))
        return OutputClash::IsChosenFile;
    if (!fs::is_regular_file(status))
        return OutputClash::NotAFile;
    return OutputClash::Exists;
}

QString notAFileRefusal(const QString &tool, const QString &writtenFile)
{
    return QStringLiteral("%1 would write its output to %2, and that is %3, not an ordinary file: "
                          "writing there would change something other than a new image.\r"
                          "Move or rename %2, or run %1 yourself with an output name. Nothing was "
                          "started.")
        .arg(tool, shortenedForDisplay(writtenFile), kindOf(writtenFile));
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
