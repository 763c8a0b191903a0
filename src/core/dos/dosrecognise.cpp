#include "dosparts.h"

#include <QHash>
#include <algorithm>

namespace ferncastle::dosparts {

namespace {

// What one candidate place shows; the directory is where it adds up best.
struct Evidence
{
    int hitMatches = 0;
    int hitMismatches = 0;
    bool hitReadable = false;
    bool gatGood = false;
    bool identityKnown = false;
    bool ownCylinderFull = false;
    bool printableLabel = false;
    int tandyMarks = 0;
    bool namedByBoot = false;

    bool convincing() const
    {
        const bool gatAgrees = identityKnown || ownCylinderFull || tandyMarks >= 8 || !gatGood;
        if (hitReadable)
            return hitMatches > 0 && hitMatches > hitMismatches && gatAgrees;
        // Without a HIT only a GAT that says everything a GAT should will do.
        return gatGood && identityKnown && ownCylinderFull && printableLabel;
    }
    int score() const
    {
        return 4 * (hitMatches - hitMismatches) + (identityKnown ? 8 : 0)
               + (ownCylinderFull ? 4 : 0) + (printableLabel ? 2 : 0) + tandyMarks
               + (namedByBoot ? 8 : 0);
    }
};

bool knownIdentity(quint8 byte)
{
    const int high = byte >> 4;
    return high == 5 || high == 6 || byte == 0x82 || byte == 0x23 || byte == 0x34
           || byte == 0x21;
}

bool printable(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (quint8(c) < 0x20 || quint8(c) > 0x7E)
            return false;
    }
    return true;
}

int entrySize(DosLayout layout)
{
    return layout == DosLayout::Trsdos13 ? 48 : 32;
}

// Slot -> (entry sector number, entry within it) for the layout's HIT.
std::pair<int, int> slotPlace(DosLayout layout, int slot)
{
    if (layout == DosLayout::Trsdos13)
        return {slot / 5, slot % 5};
    return {slot & 31, slot >> 5};
}

void weighHit(const SectorSource &source, const DirectoryPlace &place, Evidence &evidence)
{
    const auto hitAt = hitSector(place);
    const SectorRead hit = hitAt ? source.sector(*hitAt) : SectorRead{};
    evidence.hitReadable = hit.good() && hit.data.size() >= 256;
    if (!evidence.hitReadable)
        return;
    const int slots = place.layout == DosLayout::Trsdos13 ? 80 : 256;
    QHash<int, QByteArray> sectors;
    for (int slot = 0; slot < slots; ++slot) {
        const quint8 hash = quint8(hit.data[slot]);
        if (hash == 0)
            continue;
        const auto [number, entry] = slotPlace(place.layout, slot);
        if (!sectors.contains(number)) {
            const auto at = entrySector(place, number);
            sectors.insert(number, at ? source.sector(*at).data : QByteArray());
        }
        const QByteArray bytes = sectors.value(number).mid(entry * entrySize(place.layout),
                                                           entrySize(place.layout));
        // An extension entry carries no name to match.
        if (bytes.size() >= 16 && place.layout != DosLayout::Trsdos13
            && (quint8(bytes[0]) & 0x90) == 0x90)
            continue;
        const bool match = bytes.size() >= 16 && (quint8(bytes[0]) & 0x10)
                           && nameHash(QByteArrayView(bytes).sliced(5, 11)) == hash;
        (match ? evidence.hitMatches : evidence.hitMismatches) += 1;
    }
}

void weighGat(const SectorSource &source, const DirectoryPlace &place, Evidence &evidence)
{
    const auto gatAt = gatSector(place);
    const SectorRead gat = gatAt ? source.sector(*gatAt) : SectorRead{};
    evidence.gatGood = gat.good() && gat.data.size() >= 256;
    if (!evidence.gatGood)
        return;
    const QByteArray &g = gat.data;
    evidence.identityKnown = place.layout != DosLayout::Trsdos13 && knownIdentity(quint8(g[0xCB]));
    // A GAT byte holds one cylinder's granules, eight at most, whatever a
    // damaged geometry claims.
    const int used = (1 << std::clamp(place.geometry.granulesPerCylinder, 0, 8)) - 1;
    const int lumpOrCylinder = place.layout == DosLayout::Newdos80 ? -1 : place.cylinder;
    evidence.ownCylinderFull = lumpOrCylinder >= 0 && (quint8(g[lumpOrCylinder]) & used) == used;
    evidence.printableLabel = printable(QByteArrayView(g).sliced(0xD0, 16));
}

void weighTandyMarks(const SectorSource &source, const DirectoryPlace &place,
                     Evidence &evidence)
{
    for (int number = 0; number < place.entrySectors; ++number) {
        const auto at = entrySector(place, number);
        const QByteArray data = at ? source.sector(*at).data : QByteArray();
        if (data.size() >= 256 && data.sliced(240).contains("1980 Tandy"))
            ++evidence.tandyMarks;
    }
}

Evidence weigh(const SectorSource &source, const DirectoryPlace &place, bool namedByBoot)
{
    Evidence evidence;
    evidence.namedByBoot = namedByBoot;
    weighGat(source, place, evidence);
    if (place.layout == DosLayout::Trsdos13)
        weighTandyMarks(source, place, evidence);
    // A cylinder the boot sector does not name must first look like a directory.
    if (!namedByBoot && !evidence.identityKnown && evidence.tandyMarks < 8)
        return evidence;
    weighHit(source, place, evidence);
    return evidence;
}

DirectoryPlace placeAt(const SectorSource &source, DosLayout layout, int cylinder)
{
    DirectoryPlace place;
    place.layout = layout;
    place.cylinder = cylinder;
    const bool m3 = layout == DosLayout::Trsdos13;
    place.geometry = imageGeometry(source, cylinder, m3 ? 1 : 0, m3);
    place.entrySectors = m3 ? 16 : 32;
    return place;
}

// The cheap first look at a cylinder the boot sector does not name.
bool worthWeighing(const SectorSource &source, DosLayout layout, int cylinder)
{
    if (layout == DosLayout::Trsdos13) {
        const QByteArray first = source.sector({cylinder, 0, 3}).data;
        return first.size() >= 256 && first.sliced(240).contains("1980 Tandy");
    }
    const QByteArray gat = source.sector({cylinder, 0, 0}).data;
    return gat.size() >= 256 && knownIdentity(quint8(gat[0xCB]));
}

struct Best
{
    std::optional<DirectoryPlace> place;
    int score = 0;

    void offer(const DirectoryPlace &candidate, const Evidence &evidence)
    {
        if (evidence.convincing() && (!place || evidence.score() > score)) {
            place = candidate;
            score = evidence.score();
        }
    }
};

int bootByte(const SectorSource &source, int id, int offset)
{
    const SectorRead boot = source.sector({0, 0, id});
    return boot.data.size() > offset ? quint8(boot.data[offset]) : -1;
}

// NEWDOS/80 names the directory's first lump; the lump's size is not on a
// data disk, so every size it allows is tried.
void offerNewdos(const SectorSource &source, int lump, Best &best)
{
    for (int perLump = 2; lump > 0 && perLump <= 8; ++perLump) {
        DirectoryPlace place = placeAt(source, DosLayout::Newdos80, 0);
        const int start = lump * perLump * place.geometry.sectorsPerGranule;
        place.cylinder = start / place.geometry.sectorsPerCylinder();
        place.index = start % place.geometry.sectorsPerCylinder();
        if (place.cylinder >= source.cylinders())
            break;
        place.geometry = imageGeometry(source, place.cylinder, 0, false);
        place.granulesPerLump = perLump;
        place.entrySectors = qMin(32, perLump * place.geometry.sectorsPerGranule - 2);
        const auto gat = gatSector(place);
        const QByteArray g = gat ? source.sector(*gat).data : QByteArray();
        if (g.size() < 256 || quint8(g[0xCB]) != 0x82)
            continue;
        best.offer(place, weigh(source, place, true));
    }
}

// LDOS and TRSDOS 6 keep the disk's shape in the GAT; where it is good, the
// DOS's view of cylinders, sides and granules is its. A NEWDOS disk found
// where the boot sector names a cylinder has lumps of one cylinder.
void settle(const SectorSource &source, DirectoryPlace &place)
{
    const auto gatAt = gatSector(place);
    const SectorRead gat = gatAt ? source.sector(*gatAt) : SectorRead{};
    if (!gat.good() || gat.data.size() < 256)
        return;
    const quint8 identity = quint8(gat.data[0xCB]);
    DosGeometry &g = place.geometry;
    if (place.layout == DosLayout::Trsdos23 && identity == 0x82) {
        place.layout = DosLayout::Newdos80;
        place.granulesPerLump = g.granulesPerCylinder;
        place.entrySectors = qMin(32, g.sectorsPerCylinder() - 2);
    }
    const int high = identity >> 4;
    if (place.layout != DosLayout::Trsdos23 || (high != 5 && high != 6)
        || quint8(gat.data[0xCC]) + 35 > 96)
        return;
    const quint8 shape = quint8(gat.data[0xCD]);
    const int perTrack = (shape & 7) + 1;
    g.cylinders = quint8(gat.data[0xCC]) + 35;
    g.sides = (shape & 0x20) ? 2 : 1;
    if (g.sectorsPerTrack % perTrack == 0)
        g.sectorsPerGranule = g.sectorsPerTrack / perTrack;
    g.granulesPerCylinder = g.sectorsPerTrack / g.sectorsPerGranule * g.sides;
}

} // namespace

std::optional<DirectoryPlace> findDirectory(const SectorSource &source, QString *whyNot)
{
    const QString none = QStringLiteral("no TRS-80 directory found: ");
    if (!source.image().isImage()) {
        *whyNot = none + source.image().refusal;
        return std::nullopt;
    }
    Best best;
    const int boot = bootByte(source, 0, 2);
    const int named23 = boot < 0 ? -1 : boot & 0x7F;
    const int named13 = bootByte(source, 1, 1);
    for (int cylinder = 0; cylinder < source.cylinders(); ++cylinder) {
        for (DosLayout layout : {DosLayout::Trsdos23, DosLayout::Trsdos13}) {
            const int named = layout == DosLayout::Trsdos23 ? named23 : named13;
            if (cylinder != named && !worthWeighing(source, layout, cylinder))
                continue;
            const DirectoryPlace place = placeAt(source, layout, cylinder);
            best.offer(place, weigh(source, place, cylinder == named));
        }
    }
    offerNewdos(source, boot, best);
    if (best.place) {
        settle(source, *best.place);
        return best.place;
    }
    if (named23 >= source.cylinders()) {
        *whyNot = none + QStringLiteral("the boot sector names cylinder %1 for the directory, "
                                        "beyond the disk's %2, and no cylinder holds a GAT and "
                                        "a HIT that agree with the entries")
                             .arg(named23).arg(source.cylinders());
        return std::nullopt;
    }
    *whyNot = none
              + (named23 < 0 ? QStringLiteral("cylinder 0 has no boot sector, and no cylinder "
                                              "holds a GAT and a HIT that agree with the entries")
                             : QStringLiteral("the boot sector names cylinder %1, and neither "
                                              "there nor on any other cylinder do a GAT and a "
                                              "HIT agree with the names in the entries")
                                   .arg(named23));
    return std::nullopt;
}

} // namespace ferncastle::dosparts
