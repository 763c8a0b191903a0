#pragma once

// Builds TRS-80 disks for the directory reader's tests and benchmark: a
// sector map copied from any image or formatted here the way LDOS lays a
// disk out, written as a DMK by its own writer (data as given, doubled FM
// bytes, its own CRCs), so damage can be put exactly where a test wants it.

#include "core/imagewriter.h"
#include "core/image/sectorsource.h"

#include <QMap>

#include <tuple>

namespace dosdisks {

struct Sector
{
    QByteArray data;
    bool mfm = false;
    quint8 dam = 0xFB;
    bool badCrc = false;
};

using Key = std::tuple<int, int, int>; // cylinder, side, id

struct Disk
{
    int cylinders = 0;
    int sides = 1;
    QMap<Key, Sector> sectors;

    Sector &at(int cylinder, int side, int id) { return sectors[Key{cylinder, side, id}]; }
};

inline Disk copyOf(const ferncastle::SectorSource &source)
{
    Disk disk{source.cylinders(), source.sides(), {}};
    for (int c = 0; c < source.cylinders(); ++c) {
        for (int s = 0; s < source.sides() && source.track(c, s); ++s) {
            for (const ferncastle::SectorInfo &info : source.track(c, s)->sectors) {
                disk.at(c, s, info.sectorId) = {source.data(info),
                                                info.encoding == ferncastle::Recording::MFM,
                                                info.dataMark, !info.good()};
            }
        }
    }
    return disk;
}

// One track's bytes: FM bytes written twice, as the tools' mixed-density DMKs do.
inline QByteArray dmkTrack(const QList<std::pair<Key, Sector>> &sectors, int length)
{
    QByteArray track(length, char(0x4E));
    track.replace(0, 128, QByteArray(128, '\0'));
    int pos = 128;
    int pointer = 0;
    const auto put = [&](quint8 byte, bool mfm) {
        for (int i = 0; i < (mfm ? 1 : 2) && pos < length; ++i)
            track[pos++] = char(byte);
    };
    const auto field = [&](const QByteArray &body, bool mfm, bool spoil) {
        for (int i = 0; i < (mfm ? 12 : 6); ++i)
            put(0x00, mfm);
        for (int i = 0; mfm && i < 3; ++i)
            put(0xA1, mfm);
        quint16 crc = imagewriter::crc(mfm ? QByteArray("\xA1\xA1\xA1", 3) + body : body);
        crc ^= spoil ? 0x0101 : 0;
        for (char c : body)
            put(quint8(c), mfm);
        put(quint8(crc >> 8), mfm);
        put(quint8(crc & 0xFF), mfm);
        for (int i = 0; i < 16; ++i)
            put(mfm ? 0x4E : 0xFF, mfm);
    };
    for (const auto &[key, sector] : sectors) {
        const quint16 at = quint16(pos + (sector.mfm ? 12 + 3 : 6 * 2)) | (sector.mfm ? 0x8000 : 0);
        track[pointer * 2] = char(at & 0xFF);
        track[pointer * 2 + 1] = char(at >> 8);
        ++pointer;
        QByteArray id;
        id.append(char(0xFE)).append(char(std::get<0>(key))).append(char(std::get<1>(key)));
        id.append(char(std::get<2>(key))).append(char(1));
        field(id, sector.mfm, false);
        field(QByteArray(1, char(sector.dam)) + sector.data.leftJustified(256, '\0', true),
              sector.mfm, sector.badCrc);
    }
    return track;
}

inline QByteArray toDmk(const Disk &disk)
{
    const int length = 0x2A00;
    QByteArray image = imagewriter::dmkHeader(disk.cylinders, disk.sides, length);
    for (int c = 0; c < disk.cylinders; ++c) {
        for (int s = 0; s < disk.sides; ++s) {
            QList<std::pair<Key, Sector>> track;
            for (auto it = disk.sectors.lowerBound(Key{c, s, 0});
                 it != disk.sectors.end() && std::get<0>(it.key()) == c
                 && std::get<1>(it.key()) == s;
                 ++it)
                track.append({it.key(), it.value()});
            image += dmkTrack(track, length);
        }
    }
    return image;
}

struct FileSpec
{
    QByteArray name;
    QByteArray extension;
    QByteArray bytes;
};

struct Plan
{
    int cylinders = 40;
    int sides = 1;
    bool doubleDensity = false;
    bool singleDensityCylinder0 = false; // a Model I doubler disk
    int directoryCylinder = 20;
    quint8 identity = 0x53;
    QList<FileSpec> files;
};

inline quint8 hash(const QByteArray &name11)
{
    quint8 h = 0;
    for (char c : name11) {
        h ^= quint8(c);
        h = quint8((h << 1) | (h >> 7));
    }
    return h == 0 ? 1 : h;
}

// Formats a disk as LDOS does and writes the files, granule after granule,
// each extent ending at a cylinder's end, extension entries where a file
// needs more than four extents.
class Formatter
{
public:
    explicit Formatter(const Plan &plan) : p(plan)
    {
        spt = p.doubleDensity ? 18 : 10;
        spg = p.doubleDensity ? 6 : 5;
        gpc = spt / spg * p.sides;
        disk.cylinders = p.cylinders;
        disk.sides = p.sides;
        for (int c = 0; c < p.cylinders; ++c)
            for (int s = 0; s < p.sides; ++s)
                for (int id = 0; id < trackSectors(c); ++id)
                    disk.at(c, s, id) = {QByteArray(256, char(0xE5)), mfm(c), 0xFB, false};
        gat = QByteArray(256, char(0xFF));
        for (int c = 0; c < p.cylinders; ++c)
            gat[c] = char(c == p.directoryCylinder || c == 0 ? 0xFF : (0xFF << gpc) & 0xFF);
        hit = QByteArray(256, '\0');
        for (int n = 0; n < 32; ++n)
            if (sectorOf(n))
                entries[n] = QByteArray(256, '\0');
    }

    Disk build()
    {
        disk.at(0, 0, 0).data.replace(0, 3, QByteArray(QByteArray("\x00\xFE", 2) + char(p.directoryCylinder)));
        int slot = 0;
        for (const FileSpec &file : p.files)
            slot = addFile(file, slot);
        gat[0xCB] = char(p.identity);
        gat[0xCC] = char(p.cylinders - 35);
        gat[0xCD] = char((spt / spg - 1) | (p.sides == 2 ? 0x20 : 0) | (p.doubleDensity ? 0x40 : 0));
        gat.replace(0xD0, 16, "TESTDISK01/02/86");
        put(0, gat, 0xFA);
        put(1, hit, 0xFA);
        for (auto it = entries.cbegin(); it != entries.cend(); ++it)
            put(*sectorOf(it.key()), it.value(), 0xFA);
        return disk;
    }

    int spt = 10, spg = 5, gpc = 2;

private:
    bool mfm(int c) const { return p.doubleDensity && !(c == 0 && p.singleDensityCylinder0); }
    int trackSectors(int c) const { return mfm(c) || !p.doubleDensity ? spt : 10; }

    // The position in the directory cylinder of entry sector n.
    std::optional<int> sectorOf(int n) const
    {
        if (n < 16)
            return 2 + n < spt ? std::optional<int>(2 + n) : std::nullopt;
        return p.sides == 2 && n - 16 < spt ? std::optional<int>(spt + n - 16) : std::nullopt;
    }
    void put(int index, const QByteArray &data, quint8 dam)
    {
        Sector &s = disk.at(p.directoryCylinder, index / spt, index % spt);
        s.data = data;
        s.dam = dam;
    }
    // The next free slot from position, skipping the two kept for system files.
    int nextSlot(int from)
    {
        for (int code = from; code < 256; ++code) {
            if ((code >> 5) >= 2 && entries.contains(code & 31) && hit[code] == 0)
                return code;
        }
        qFatal("directory full");
    }
    int addFile(const FileSpec &file, int from);
    QList<std::pair<int, int>> allocate(int sectors);

    Plan p;
    Disk disk;
    QByteArray gat;
    QByteArray hit;
    QMap<int, QByteArray> entries;
    int nextGranule = 0;
};

inline QList<std::pair<int, int>> Formatter::allocate(int sectors)
{
    QList<std::pair<int, int>> extents; // first granule, count
    for (int left = (sectors + spg - 1) / spg; left > 0;) {
        while (nextGranule / gpc == 0 || nextGranule / gpc == p.directoryCylinder)
            nextGranule += gpc;
        const int room = gpc - nextGranule % gpc;
        const int take = qMin(room, left);
        extents.append({nextGranule, take});
        gat[nextGranule / gpc] = char(quint8(gat[nextGranule / gpc]) | (((1 << take) - 1) << (nextGranule % gpc)));
        nextGranule += take;
        left -= take;
    }
    return extents;
}

inline int Formatter::addFile(const FileSpec &file, int from)
{
    const int sectors = int((file.bytes.size() + 255) / 256);
    const auto extents = allocate(sectors);
    int i = 0;
    for (const auto &[first, count] : extents) {
        for (int k = 0; k < count * spg && i < sectors; ++k, ++i) {
            const int index = (first % gpc) * spg + k;
            disk.at(first / gpc, index / spt, index % spt).data =
                file.bytes.mid(i * 256, 256).leftJustified(256, '\0');
        }
    }
    QByteArray name11 = file.name.leftJustified(8, ' ') + file.extension.leftJustified(3, ' ');
    int code = nextSlot(from);
    QByteArray entry(32, '\0');
    entry[0] = char(0x10);
    entry[1] = char(0x01);
    entry[2] = char((2 << 3) | 6);
    entry[3] = char(file.bytes.size() % 256);
    entry.replace(5, 11, name11);
    entry[20] = char(sectors & 0xFF);
    entry[21] = char(sectors >> 8);
    hit[code] = char(hash(name11));
    for (qsizetype e = 0;; e += 4) {
        QByteArray run(10, char(0xFF));
        for (qsizetype k = 0; k < 4 && e + k < extents.size(); ++k) {
            run[k * 2] = char(extents[e + k].first / gpc);
            run[k * 2 + 1] = char(((extents[e + k].first % gpc) << 5) | (extents[e + k].second - 1));
        }
        const bool more = e + 4 < extents.size();
        const int next = more ? nextSlot(code + 1) : -1;
        if (more) {
            run[8] = char(0xFE);
            run[9] = char(next);
            hit[next] = char(0xFF); // taken; an extension entry's hash is not a name's
        }
        entry.replace(22, 10, run);
        entries[code & 31].replace((code >> 5) * 32, 32, entry);
        if (!more)
            return code + 1;
        code = next;
        entry = QByteArray(32, '\0');
        entry[0] = char(0x90);
    }
}

} // namespace dosdisks
