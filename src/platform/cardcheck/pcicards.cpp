#include "platform/cardcheck/pcicards.h"

#include "platform/systemfiles.h"

#include <QDir>

namespace ferncastle {

namespace {

constexpr unsigned cardChipVendor = 0xE159;
constexpr unsigned cardChipDevice = 0x0001;
constexpr unsigned mk3SubsystemVendor = 0x1212;
constexpr unsigned mk4SubsystemVendor = 0x5213;

const QString devicesFolder = QStringLiteral("/sys/bus/pci/devices");

// sysfs writes identities as "0xe159\n".
std::optional<unsigned> readId(const QString &device, const char *field)
{
    const auto text = readSystemFile(device + u'/' + QLatin1String(field), 64);
    if (!text)
        return std::nullopt;
    QByteArray digits = text->trimmed();
    if (digits.startsWith("0x") || digits.startsWith("0X"))
        digits.remove(0, 2);
    bool ok = false;
    const unsigned value = digits.toUInt(&ok, 16);
    return ok ? std::optional<unsigned>(value) : std::nullopt;
}

// The tools tell the models apart by the subsystem (PCI configuration
// offset 0x2C); the chip alone is also used by other makers' boards.
int modelOf(unsigned subsystemVendor, unsigned subsystemDevice)
{
    if (subsystemDevice != 0x0002 && subsystemDevice != 0x0003)
        return 0;
    if (subsystemVendor == mk3SubsystemVendor)
        return 3;
    if (subsystemVendor == mk4SubsystemVendor)
        return 4;
    return 0;
}

enum class Probe { NotACard, Card, Unreadable };

Probe probe(const QString &device, int &model)
{
    const auto vendor = readId(device, "vendor");
    const auto chip = readId(device, "device");
    if (!vendor || !chip)
        return Probe::Unreadable;
    if (*vendor != cardChipVendor || *chip != cardChipDevice)
        return Probe::NotACard;
    const auto subVendor = readId(device, "subsystem_vendor");
    const auto subDevice = readId(device, "subsystem_device");
    if (!subVendor || !subDevice)
        return Probe::Unreadable;
    model = modelOf(*subVendor, *subDevice);
    return model ? Probe::Card : Probe::NotACard;
}

CardFinding cardFinding(const FoundCard &card)
{
    return {FindingTopic::Card, FindingSeverity::Fine, {},
            QStringLiteral("A CatWeasel MK%1 card is at PCI address %2; -p %3 selects it.")
                .arg(card.model)
                .arg(card.address)
                .arg(QString::number(card.portIndex, 16).toUpper()),
            {}};
}

CardFinding noCardFinding()
{
    return {FindingTopic::Card, FindingSeverity::WillStop, {},
            QStringLiteral("No CatWeasel MK3 or MK4 card was found on the PCI bus. The tools will "
                           "stop with \"Failed to detect Catweasel at port 0x320\"."),
            QStringLiteral("Check that the card sits firmly in its slot, then restart the "
                           "computer. An MK1 card sits on the ISA bus, which cannot be searched "
                           "this way: give its port with -p (220 to 388 hex) in Additional "
                           "parameters or CatWeasel port.")};
}

CardFinding unreadableFinding(int unreadable, bool noneFound)
{
    const QString what = unreadable == 1 ? QStringLiteral("1 PCI device")
                                         : QStringLiteral("%1 PCI devices").arg(unreadable);
    return {FindingTopic::Card, FindingSeverity::CannotTell, {},
            noneFound ? QStringLiteral("%1 in %2 could not be read, so whether a card is present "
                                       "cannot be told.").arg(what, devicesFolder)
                      : QStringLiteral("%1 in %2 could not be read; a card among them would change "
                                       "the -p numbers above.").arg(what, devicesFolder),
            {}};
}

} // namespace

void checkPciCards(const QString &rootFolder, CardCheckResult &result)
{
    const QDir devices(rootFolder + devicesFolder);
    // PCI addresses are fixed-width hexadecimal, so sorting by name is PCI
    // order, the order the tools number the cards in.
    const QStringList names = devices.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    if (!devices.exists() || !devices.isReadable()) {
        result.findings.append({FindingTopic::Card, FindingSeverity::CannotTell, {},
                                QStringLiteral("The list of PCI devices (%1) could not be read, so "
                                               "whether a card is present cannot be told.")
                                    .arg(devicesFolder),
                                {}});
        return;
    }
    int unreadable = 0;
    for (const QString &name : names) {
        int model = 0;
        const Probe found = probe(devices.filePath(name), model);
        if (found == Probe::Unreadable)
            ++unreadable;
        if (found != Probe::Card)
            continue;
        const FoundCard card{model, name, int(result.cards.size())};
        result.cards.append(card);
        result.findings.append(cardFinding(card));
    }
    // A device that cannot be read might be a card that shifts the numbers.
    result.cardsCheckable = unreadable == 0;
    if (unreadable > 0)
        result.findings.append(unreadableFinding(unreadable, result.cards.isEmpty()));
    else if (result.cards.isEmpty())
        result.findings.append(noCardFinding());
}

} // namespace ferncastle
