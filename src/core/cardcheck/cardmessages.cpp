#include "core/cardcheck/cardmessages.h"

#include <array>

namespace ferncastle {

namespace {

struct CardMessage {
    const char *said;
    const char *fix;
};

// The tools' own words, and the way round each.
constexpr std::array cardMessages{
    CardMessage{"Must be setuid to root or be run as root",
                "The tool needs root rights to reach the card: make cw2dmk and dmk2cw owned by "
                "root with the set-user-ID bit (in the tools folder, as root: chown root cw2dmk "
                "dmk2cw, then chmod u+s cw2dmk dmk2cw), or run them as root."},
    CardMessage{"No access to I/O ports",
                "The system refused the tool the card's I/O ports: run it on the machine that "
                "holds the card (not in a container or virtual machine), with an x86 kernel built "
                "with CONFIG_X86_IOPL_IOPERM=y."},
    CardMessage{"Failed to detect Catweasel",
                "No CatWeasel card was found: check that the card sits firmly in its slot "
                "(MK3 and MK4 cards are PCI cards), or give the port of an MK1 card with -p."},
};

} // namespace

QString cardProblemFix(const QString &line)
{
    for (const CardMessage &message : cardMessages)
        if (line.contains(QLatin1String(message.said)))
            return QLatin1String(message.fix);
    return {};
}

} // namespace ferncastle
