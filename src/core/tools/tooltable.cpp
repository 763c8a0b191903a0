#include "core/tools/tooltable.h"

#include "core/filefilter.h"
#include "core/run/outputparser.h"
#include "core/run/toolverdicts.h"

#include <cstring>

namespace ferncastle {

namespace {

// cw2dmk writes the image the user chose to save under.
QStringList chosenImage(const QString &chosenFile)
{
    return {chosenFile};
}

// dmk2cw writes to the disk in the drive, never to a file.
QStringList noFile(const QString &)
{
    return {};
}

QStringList jvImage(const QString &chosenFile)
{
    return {derivedOutputFile(chosenFile, QLatin1String(".dsk"))};
}

QStringList dmkImage(const QString &chosenFile)
{
    return {derivedOutputFile(chosenFile, QLatin1String(".dmk"))};
}

// The option strings are read from the tools' usage texts (version 4.10.1)
// and their getopt() calls; dmk2cw's -y is accepted and takes a value even
// in builds that ignore it. The conversions pick the file they read with
// the Open form: the Save form would ask "Replace?" about the very file to
// be converted.
const std::array<ToolRow, ToolActionCount> rows = {{
    {ToolActionId::DiskToImage, "cw2dmk",
     {"d:v:u:R:M:C:p:k:m:T:t:s:e:w:x:X:S:a:jo:h:g:i:z:r:q:c:1:2:f:l:"},
     OptionSource::ReadOptions, DialogForm::Save, ".DMK", filters::diskImages, chosenImage,
     makeCw2dmkParser, judgeCw2dmkReport, nullptr, true, u'R', false, false},
    {ToolActionId::ImageToDisk, "dmk2cw", {"p:d:v:k:m:s:o:c:h:l:g:i:r:f:a:e:y:T:"},
     OptionSource::WriteOptions, DialogForm::Open, ".DMK", filters::diskImages, noFile,
     makeDmk2cwParser, judgeDmk2cwReport, nullptr, true, QChar(), true, false},
    {ToolActionId::DmkToJv, "dmk2jv3", {"v:"}, OptionSource::OptionalParameters, DialogForm::Open,
     ".DMK", filters::dmkImages, jvImage, makeDmk2jv3Parser, judgeDmk2jv3Report, nullptr, false,
     QChar(), false, true},
    {ToolActionId::JvToDmk, "jv2dmk", {"v:j:k:i:w:l:"}, OptionSource::OptionalParameters,
     DialogForm::Open, ".DSK", filters::dskImages, dmkImage, makeJv2dmkParser, judgeJv2dmkReport,
     adviseJv2dmkFailure, false, QChar(), false, true},
}};

// The letter's place in the option string, or null. ':' is never a letter:
// getopt() rejects it as an option.
const char *find(const char *optionString, QChar letter)
{
    if (letter == u':' || letter.unicode() == 0 || letter.unicode() > 0x7f)
        return nullptr;
    return std::strchr(optionString, char(letter.unicode()));
}

} // namespace

bool ToolOptions::accepts(QChar letter) const
{
    return find(optionString, letter) != nullptr;
}

bool ToolOptions::takesValue(QChar letter) const
{
    const char *at = find(optionString, letter);
    return at && at[1] == ':';
}

const std::array<ToolRow, ToolActionCount> &toolRows()
{
    return rows;
}

const ToolRow &toolRow(ToolActionId id)
{
    return rows[std::size_t(id)];
}

const ToolRow *toolNamed(QStringView tool)
{
    for (const ToolRow &row : rows) {
        if (tool == QLatin1String(row.tool))
            return &row;
    }
    return nullptr;
}

QString derivedOutputFile(const QString &inputFile, QLatin1String extension)
{
    const qsizetype dot = inputFile.lastIndexOf(u'.');
    return (dot < 0 ? inputFile : inputFile.left(dot)) + extension;
}

} // namespace ferncastle
