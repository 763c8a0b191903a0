#pragma once

namespace ferncastle {

// Whether the user turned off the question before a read or write.
bool cardCheckSkipped();

// Stores the choice; false when it could not be stored.
bool storeCardCheckSkipped(bool skipped);

} // namespace ferncastle
