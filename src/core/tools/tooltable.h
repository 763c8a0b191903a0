#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <memory>

namespace ferncastle {

class DiskMap;
class OutputParser;
struct DiskImage;
struct RunSummary;
struct RunVerdict;

// The four things the main window's tool buttons do, one per tool.
enum class ToolActionId { DiskToImage, ImageToDisk, DmkToJv, JvToDmk };

// Where a tool's option text comes from.
enum class OptionSource {
    ReadOptions,        // the option groups, as cw2dmk takes them
    WriteOptions,       // the option groups, as dmk2cw takes them
    OptionalParameters, // the conversions' "Optional parameters" text
};

// Whether the file dialog asks for a file to open or a name to save under.
enum class DialogForm { Open, Save };

// The options one tool accepts, spelled as the tool's own getopt() option
// string: a letter followed by ':' takes a value, attached (-t40) or as the
// next argument (-t 40); any other letter is a flag that may share one
// argument with others (-jv3 is -j, then -v with value 3).
struct ToolOptions {
    const char *optionString;

    bool accepts(QChar letter) const;
    bool takesValue(QChar letter) const;
};

// Everything that differs between the four tools, in one row each: the
// button that runs it, its options, how its file is asked for, what a run
// writes, how its output is read and judged, and whether it drives the
// card. Code asks the row; nothing compares tool names.
struct ToolRow {
    ToolActionId id;
    const char *tool;
    ToolOptions options;
    OptionSource optionSource;
    DialogForm dialog;
    const char *defaultExt;
    const char *filter; // "description|pattern|..." pairs
    // The files a run on the chosen file writes, given that the chosen file
    // is the only file name on its command line.
    QStringList (*writtenFiles)(const QString &chosenFile);
    std::unique_ptr<OutputParser> (*makeParser)();
    // The verdict on a run that exited with status 0, from the tool's own
    // report; imageReadBack: the images it wrote will be read back.
    RunVerdict (*judgeReport)(const RunSummary &summary, const DiskMap &map, bool imageReadBack);
    // What to change when a run failed for a cause its input image shows,
    // in the tool's own terms; empty when the input shows none. Null for a
    // tool that reads no image file.
    QString (*adviseFailure)(const RunSummary &summary, const QString &inputName,
                             const DiskImage &input);
    bool drivesCard;
    // The option that makes the tool replay a saved log instead of using
    // the card (cw2dmk -R), or null.
    QChar replayOption;
    // The tool writes the chosen image to a disk: its DMK header gives the
    // run's plan before the tool says anything.
    bool writesChosenImageToDisk;
    // The chosen file is the image a conversion reads: its output is held
    // against it.
    bool convertsChosenImage;
};

inline constexpr int ToolActionCount = 4;

// The rows in the order of ToolActionId.
const std::array<ToolRow, ToolActionCount> &toolRows();
const ToolRow &toolRow(ToolActionId id);
// The row of "cw2dmk", "dmk2cw", "dmk2jv3" or "jv2dmk"; null for any other name.
const ToolRow *toolNamed(QStringView tool);

// The output name a conversion forms from its one input name: everything
// before the last '.' of the whole name (or the whole name when there is
// none), followed by the new extension, as the conversion tools form it.
QString derivedOutputFile(const QString &inputFile, QLatin1String extension);

} // namespace ferncastle
