#pragma once

// Who the program is: the names its windows, messages and settings use.
namespace ferncastle::identity {

// The program's title: also the settings section, and the title of message
// boxes that have none of their own.
inline constexpr char title[] = "Ferncastle";
// The maker: the settings store's application name.
inline constexpr char maker[] = "Larkvale";
// The main window's caption, also the title of the tools prompt.
inline constexpr char caption[] = "Larkvale Ferncastle";

} // namespace ferncastle::identity
