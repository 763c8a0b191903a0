#pragma once

#include <QList>
#include <QString>

namespace ferncastle {

// What a finding of the card check is about.
enum class FindingTopic {
    Platform,       // the check does not apply on this system
    Architecture,   // the processor
    Card,           // an MK3/MK4 card on the PCI bus, or none
    Privilege,      // whether the tool runs with root's rights
    PortPermission, // whether a root process here may take I/O ports
    KernelPorts,    // whether the kernel offers user-space port access
};

enum class FindingSeverity {
    Fine,
    WillStop,   // the tool will certainly stop on this
    CannotTell,
};

struct CardFinding {
    FindingTopic topic = FindingTopic::Platform;
    FindingSeverity severity = FindingSeverity::Fine;
    QString tool;     // "cw2dmk" or "dmk2cw" when it concerns that tool only
    QString sentence; // a plain sentence for the user
    QString fix;      // what to do about it; empty when there is nothing
};

// An MK3 or MK4 card as the tools number them.
struct FoundCard {
    int model = 0;   // 3 or 4
    QString address; // PCI address, "0000:03:00.0"
    int portIndex = 0; // the -p value that selects it
};

struct CardCheckResult {
    bool applies = true; // false on systems the check is not for
    bool cardsCheckable = false; // the PCI device list could be read
    QList<CardFinding> findings;
    QList<FoundCard> cards;
    // Tool files that need owner root and the set-user-ID bit, as the real
    // files (links resolved).
    QStringList filesNeedingRootRights;
};

} // namespace ferncastle
