#pragma once

#include <QString>
#include <QStringList>

namespace ferncastle {

// A terminal emulator and how it is told to run a program with arguments.
// Every terminal listed takes the program and each of its arguments as
// separate words after runOption; runOption is null when the terminal takes
// them straight after its own options.
struct TerminalEmulator {
    const char *name;
    const char *runOption;
};

// The names of the terminals tried, in the order tried, for messages:
// "x-terminal-emulator, gnome-terminal, ...".
QString knownTerminalNames();

struct FoundTerminal {
    const TerminalEmulator *emulator = nullptr;
    QString path; // absolute
};

// The first known terminal on PATH, the system's chosen one first;
// emulator is null when there is none.
FoundTerminal findTerminal();

// The terminal's arguments that make it run command (program first).
QStringList terminalArguments(const TerminalEmulator &emulator, const QStringList &command);

} // namespace ferncastle
