#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace ferncastle {

// The four things the main window's tool buttons do.
enum class ToolActionId { DiskToImage, ImageToDisk, DmkToJv, JvToDmk };

// Where a tool's option text comes from.
enum class OptionSource {
    ReadOptions,        // the option groups, as cw2dmk takes them
    WriteOptions,       // the option groups, as dmk2cw takes them
    OptionalParameters, // the conversions' "Optional parameters" text
};

// Whether the file dialog asks for a file to open or a name to save under.
enum class DialogForm { Open, Save };

// One tool button: which tool it runs, how the option text and the file are
// asked for, and which files the run will write.
struct ToolAction {
    ToolActionId id;
    const char *tool;
    OptionSource options;
    DialogForm dialog;
    const char *defaultExt;
    const char *filter; // "description|pattern|..." pairs
    // The files a run on the chosen file writes, given that the chosen file
    // is the only file name on its command line.
    QStringList (*writtenFiles)(const QString &chosenFile);
};

inline constexpr int ToolActionCount = 4;

// The actions in the order of ToolActionId.
const std::array<ToolAction, ToolActionCount> &toolActions();

const ToolAction &toolAction(ToolActionId id);

// The output name a conversion forms from its one input name: everything
// before the last '.' of the whole name (or the whole name when there is
// none), followed by the new extension, as the conversion tools form it.
QString derivedOutputFile(const QString &inputFile, QLatin1String extension);

} // namespace ferncastle
