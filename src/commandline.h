#pragma once

class QCoreApplication;

namespace ferncastle {

// Answers --help, --version (and their short forms) and --info FILE... and
// ends the process, before QApplication opens a connection to the window
// system, so all of them work without a display. The application name and version must be set first.
// Every other argument is left for QApplication, which takes Qt's own
// options (-platform, -style ...).
void answerInformationOptions(int argc, char *argv[]);

// Once QApplication has taken Qt's options: ends the process with a message
// on standard error if an option is left that the program does not know.
void rejectUnknownOptions(const QCoreApplication &app);

} // namespace ferncastle
