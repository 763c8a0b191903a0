#include "core/toolactions.h"

#include "core/filefilter.h"

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

const std::array<ToolAction, ToolActionCount> actions = {{
    {ToolActionId::DiskToImage, "cw2dmk", OptionSource::ReadOptions, DialogForm::Save, ".DMK",
     filters::diskImages, chosenImage},
    {ToolActionId::ImageToDisk, "dmk2cw", OptionSource::WriteOptions, DialogForm::Open, ".DMK",
     filters::diskImages, noFile},
    {ToolActionId::DmkToJv, "dmk2jv3", OptionSource::OptionalParameters, DialogForm::Save, ".DMK",
     filters::dmkImages, jvImage},
    {ToolActionId::JvToDmk, "jv2dmk", OptionSource::OptionalParameters, DialogForm::Save, ".DSK",
     filters::dskImages, dmkImage},
}};

} // namespace

const std::array<ToolAction, ToolActionCount> &toolActions()
{
    return actions;
}

const ToolAction &toolAction(ToolActionId id)
{
    return actions[std::size_t(id)];
}

QString derivedOutputFile(const QString &inputFile, QLatin1String extension)
{
    const qsizetype dot = inputFile.lastIndexOf(u'.');
    return (dot < 0 ? inputFile : inputFile.left(dot)) + extension;
}

} // namespace ferncastle
