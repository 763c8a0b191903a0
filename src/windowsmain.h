#pragma once

#include <QtGlobal>

// The entry point of the windows module (ferncastle-windows.so): builds the
// application, the main window and its services and runs until the last
// window closes. Its name is unmangled so that main can look it up.
extern "C" Q_DECL_EXPORT int ferncastleWindowsMain(int &argc, char **argv);
