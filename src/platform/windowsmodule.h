#pragma once

#include <QString>

namespace ferncastle {

// The windows live in a module of their own beside the program, so that the
// command-line modes start without loading the widget libraries.
struct WindowsModule
{
    void *entry = nullptr; // the exported function, or null
    QString error;         // why it is null, as a sentence for the user
};

// Loads the module from the folder the build put it in, relative to the
// running program, and looks up \a entryName in it. The module stays loaded
// until the process ends.
WindowsModule loadWindowsModule(const char *entryName);

} // namespace ferncastle
