#pragma once

// The one function the windows module exports. It takes the arguments as
// main got them and returns the program's exit status.
extern "C" int ferncastleRunWindows(int argc, char *argv[]);

using FerncastleRunWindows = int (*)(int argc, char *argv[]);
inline constexpr char ferncastleRunWindowsName[] = "ferncastleRunWindows";
