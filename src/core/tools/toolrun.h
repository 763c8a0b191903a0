#pragma once

#include "core/options/optionset.h"
#include "core/tools/toolcommand.h"

#include <QString>
#include <QStringList>

namespace ferncastle {

// Everything on the main window a tool run is built from.
struct RunInputs {
    OptionSet options;     // the option groups and "Additional parameters"
    QString optionalParms; // "Optional parameters"
    QString toolsFolder;
};

// Stands for the file not yet chosen in a command line shown before a run.
inline constexpr char unchosenFile[] = "<file>";

// A tool run as its button starts it, with what must be said first. The
// preview and the button build it with the same call, so what the status
// bar shows is what runs.
struct PlannedRun {
    ToolCommand command;
    QString optionText;   // the options as they stand on the command line
    QStringList optionArguments; // the same options as the tool receives them
    QStringList warnings; // boxes when the button is pressed, the status bar before
    bool stopsRun = false; // the tool would misread the typed parameters
    QString refusal;      // a text no program can be given (a NUL); stops the run too
    QStringList notes;    // what was added for the user's sake, and why
};

// chosenFile may be unchosenFile. Only a real chosen file is looked at: a
// JV1 image given to jv2dmk without -j gets -j1.
PlannedRun planToolRun(ToolActionId id, const RunInputs &inputs, const QString &chosenFile);

// What must happen before a run may write its files.
struct OutputDecision {
    enum Verdict { Start, Ask, Refuse };
    Verdict verdict = Start;
    QString text; // the question, or why the run is refused
};

// A run on a file chosen to be read (the Open form) must not write that
// file, and asks before it replaces another; a file chosen with the Save
// form was confirmed by the dialog itself.
OutputDecision decideOutput(const ToolCommand &command);

} // namespace ferncastle
