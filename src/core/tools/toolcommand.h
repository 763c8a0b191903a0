#pragma once

#include "core/tools/tooltable.h"

#include <QString>
#include <QStringList>

namespace ferncastle {

// A tool run: what it is for, the one command line the user is shown, and
// the program and separate arguments that are actually started. Nothing is
// ever handed to a shell: the file name stays one argument whatever it holds.
struct ToolCommand {
    ToolActionId action = ToolActionId::DiskToImage; // its row in the tool table
    QString tool;             // "cw2dmk", "dmk2cw", "dmk2jv3" or "jv2dmk"
    QString chosenFile;       // the file the user chose in the dialog
    QStringList writtenFiles; // files the run will write (cw2dmk: the chosen
                              // image; dmk2jv3/jv2dmk: the output file, the derived
                              // <base>.dsk / <base>.dmk when one name is given;
                              // dmk2cw: none)
    QString commandLine;      // as shown to the user
    QString program;          // what is started
    QStringList arguments;    // separate arguments, never a shell
};

// The command line is the program (toolProgram(): the tools folder joined
// to the tool's name), one blank, the option text, one blank and the quoted
// file name. The program gets the option arguments as they were built
// beside that text, then the chosen file.
ToolCommand assembleToolCommand(const QString &toolsFolder, ToolActionId action,
                                const QString &optionText, const QStringList &optionArguments,
                                const QString &chosenFile);

} // namespace ferncastle
