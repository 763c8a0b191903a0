#pragma once

#include "core/cardcheck/cardfindings.h"

namespace ferncastle {

// Looks for MK3 and MK4 cards in <rootFolder>/sys/bus/pci/devices, where
// every user may read each device's identity, and adds the findings and the
// cards to result.
void checkPciCards(const QString &rootFolder, CardCheckResult &result);

} // namespace ferncastle
