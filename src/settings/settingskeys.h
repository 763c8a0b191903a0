#pragma once

namespace ferncastle::keys {

inline constexpr char lastUsedDirectory[] = "Last Used Directory";
inline constexpr char dosFilesPath[] = "DOS Files Path";

} // namespace ferncastle::keys
