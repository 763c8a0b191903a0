#pragma once

#include <optional>

class QCoreApplication;

namespace ferncastle {

// Answers the modes that need no window: --help, --version (and their short
// forms), --info FILE..., --files IMAGE... and --extract FOLDER IMAGE...,
// before any window-system connection exists, so all of them work without a
// display and start as a plain core program. Returns their exit status; the
// help and version answers end the process themselves. Returns nothing when
// the arguments ask for the windows. The application name and version must
// be set first. Every other argument is left for QApplication, which takes
// Qt's own options (-platform, -style ...).
std::optional<int> answerCommandLineModes(int argc, char *argv[]);

// Once QApplication has taken Qt's options: ends the process with a message
// on standard error if an option is left that the program does not know.
void rejectUnknownOptions(const QCoreApplication &app);

} // namespace ferncastle
