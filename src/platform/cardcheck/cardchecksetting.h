#pragma once

namespace ferncastle {

class SettingsStore;

// Whether the user turned off the question before a read or write.
bool cardCheckSkipped(const SettingsStore &settings);

// Stores the choice; false when it could not be stored.
bool storeCardCheckSkipped(const SettingsStore &settings, bool skipped);

} // namespace ferncastle
