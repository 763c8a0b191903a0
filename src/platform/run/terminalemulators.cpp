#include "platform/run/terminalemulators.h"

#include <QStandardPaths>

#include <array>

namespace ferncastle {

namespace {

// Left out on purpose: terminals whose only way to run a command takes one
// string that they split or hand to a shell again (tilix, lxterminal,
// qterminal, sakura, terminology). A file name holding quotes or "$(...)"
// would not survive that.
constexpr std::array terminals{
    // Debian's alternative for the user's terminal. Policy requires
    // "-e program arguments..." with every argument kept separate.
    TerminalEmulator{"x-terminal-emulator", "-e"},
    TerminalEmulator{"gnome-terminal", "--"},
    TerminalEmulator{"konsole", "-e"},
    TerminalEmulator{"xfce4-terminal", "-x"}, // its -e takes one string
    TerminalEmulator{"mate-terminal", "-x"},  // likewise
    TerminalEmulator{"terminator", "-x"},     // likewise
    TerminalEmulator{"kitty", nullptr},
    TerminalEmulator{"alacritty", "-e"},
    TerminalEmulator{"foot", nullptr},
    TerminalEmulator{"urxvt", "-e"},
    TerminalEmulator{"st", "-e"},
    TerminalEmulator{"xterm", "-e"},
};

} // namespace

QString knownTerminalNames()
{
    QStringList names;
    for (const TerminalEmulator &emulator : terminals)
        names.append(QLatin1String(emulator.name));
    return names.join(QLatin1String(", "));
}

FoundTerminal findTerminal()
{
    for (const TerminalEmulator &emulator : terminals) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(emulator.name));
        if (!path.isEmpty())
            return {&emulator, path};
    }
    return {};
}

QStringList terminalArguments(const TerminalEmulator &emulator, const QStringList &command)
{
    QStringList arguments;
    if (emulator.runOption)
        arguments.append(QLatin1String(emulator.runOption));
    arguments += command;
    return arguments;
}

} // namespace ferncastle
