#pragma once

#include "core/cardcheck/cardfindings.h"

#include <optional>

namespace ferncastle {

// What the card check looks at. The defaults describe this computer and
// this process; tests point rootFolder at a fake tree.
struct CardCheckSetup {
    QString rootFolder = QStringLiteral("/"); // where /sys, /proc and /boot are
    QString toolsFolder;  // as in Preferences; empty: the tools are on PATH
    QString architecture; // as uname -m gives it; empty: this computer's
    std::optional<bool> runsAsRoot; // empty: whether this process does
};

// Says, before a card tool starts, what will stop it from reaching the
// card and how to fix it: the cards on the PCI bus, whether the tools run
// with root's rights, whether the kernel and the process may take I/O
// ports, and the processor. Reads files only and starts nothing, so it can
// run before every read or write of a disk. On Windows it reports that it
// does not apply.
CardCheckResult checkCard(const CardCheckSetup &setup = {});

// The finding with the highest concern first: what will stop the tool,
// what cannot be told, what is fine.
QList<CardFinding> findingsByConcern(const QList<CardFinding> &findings);

} // namespace ferncastle
