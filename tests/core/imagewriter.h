#pragma once

// Builds small DMK, JV3 and JV1 images byte by byte the way the disk tools
// lay them out, with its own CRC, so that the reader is checked against an
// independent writer.

#include <QByteArray>
#include <QList>

#include <functional>

namespace imagewriter {

inline quint16 crc(const QByteArray &bytes, quint16 start = 0xFFFF)
{
    quint16 value = start;
    for (char c : bytes) {
        value ^= quint16(quint8(c) << 8);
        for (int bit = 0; bit < 8; ++bit)
            value = quint16((value & 0x8000) ? (value << 1) ^ 0x1021 : value << 1);
    }
    return value;
}

struct Sector
{
    quint8 cylinder = 0;
    quint8 head = 0;
    quint8 id = 0;
    quint8 sizeCode = 1;
    bool mfm = true;
    quint8 dam = 0xFB;
    bool badIdCrc = false;
    bool badDataCrc = false;
    bool noDam = false;
};

// The data byte i of a sector: distinct per sector, never an address mark.
inline quint8 fill(const Sector &s, int i)
{
    return quint8(0x20 + ((s.id * 7 + s.cylinder * 3 + s.head + i) % 0x50));
}

class DmkTrack
{
public:
    DmkTrack(int length, bool fmOnce) : bytes(length, char(0x4E)), fmOnce(fmOnce)
    {
        bytes.replace(0, 128, QByteArray(128, '\0'));
    }

    void add(const Sector &s)
    {
        sync(s.mfm);
        QByteArray id;
        id.append(char(0xFE)).append(char(s.cylinder)).append(char(s.head));
        id.append(char(s.id)).append(char(s.sizeCode));
        pointers.append(quint16(pos | (s.mfm ? 0x8000 : 0)));
        field(id, s.mfm, s.badIdCrc);
        gap(s.mfm, 11);
        if (!s.noDam) {
            sync(s.mfm);
            QByteArray data(1, char(s.dam));
            for (int i = 0; i < (128 << (s.sizeCode & 3)); ++i)
                data.append(char(fill(s, i)));
            field(data, s.mfm, s.badDataCrc);
        }
        gap(s.mfm, 20);
    }

    QByteArray finish()
    {
        for (int i = 0; i < pointers.size() && i < 64; ++i) {
            bytes[i * 2] = char(pointers[i] & 0xFF);
            bytes[i * 2 + 1] = char(pointers[i] >> 8);
        }
        return bytes;
    }

    QByteArray bytes;
    QList<quint16> pointers;
    int pos = 128;
    bool fmOnce;

private:
    void put(quint8 byte, bool mfm)
    {
        const int times = (mfm || fmOnce) ? 1 : 2;
        for (int i = 0; i < times && pos < bytes.size(); ++i)
            bytes[pos++] = char(byte);
    }
    void sync(bool mfm)
    {
        for (int i = 0; i < (mfm ? 12 : 6); ++i)
            put(0x00, mfm);
        if (mfm)
            for (int i = 0; i < 3; ++i)
                put(0xA1, mfm);
    }
    void gap(bool mfm, int count)
    {
        for (int i = 0; i < count; ++i)
            put(mfm ? 0x4E : 0xFF, mfm);
    }
    void field(const QByteArray &body, bool mfm, bool spoil)
    {
        quint16 value = crc(mfm ? QByteArray("\xA1\xA1\xA1", 3) + body : body);
        if (spoil)
            value ^= 0x0101;
        for (char c : body)
            put(quint8(c), mfm);
        put(quint8(value >> 8), mfm);
        put(quint8(value & 0xFF), mfm);
    }
};

using TrackPlan = std::function<QList<Sector>(int track, int side)>;

inline QByteArray dmkHeader(int tracks, int sides, int trackLength, quint8 options = 0)
{
    QByteArray header(16, '\0');
    header[1] = char(tracks);
    header[2] = char(trackLength & 0xFF);
    header[3] = char(trackLength >> 8);
    header[4] = char(options | (sides == 1 ? 0x10 : 0));
    return header;
}

inline QByteArray dmk(int tracks, int sides, int trackLength, const TrackPlan &plan,
                      quint8 options = 0)
{
    QByteArray image = dmkHeader(tracks, sides, trackLength, options);
    for (int t = 0; t < tracks; ++t) {
        for (int s = 0; s < sides; ++s) {
            DmkTrack track(trackLength, options & 0x40);
            for (const Sector &sector : plan(t, s))
                track.add(sector);
            image += track.finish();
        }
    }
    return image;
}

// n sectors with ids first..first+n-1 on every track and side.
inline TrackPlan uniform(int n, bool mfm, quint8 sizeCode = 1, int first = 0)
{
    return [=](int t, int s) {
        QList<Sector> sectors;
        for (int i = 0; i < n; ++i)
            sectors.append({quint8(t), quint8(s), quint8(first + i), sizeCode, mfm});
        return sectors;
    };
}

struct Jv3Entry
{
    quint8 track = 0;
    quint8 sector = 0;
    quint8 flags = 0; // side, density, DAM, CRC error and size bits as stored
};

inline int jv3Size(const Jv3Entry &e)
{
    return 128 << ((e.flags & 3) ^ (e.track == 0xFF ? 2 : 1));
}

inline QByteArray jv3(const QList<Jv3Entry> &entries)
{
    QByteArray image;
    for (qsizetype first = 0; first < entries.size() || first == 0; first += 2901) {
        QByteArray block(8704, char(0xFF));
        QByteArray data;
        for (qsizetype i = first; i < qMin(first + 2901, entries.size()); ++i) {
            const Jv3Entry &e = entries[i];
            block[(i - first) * 3] = char(e.track);
            block[(i - first) * 3 + 1] = char(e.sector);
            block[(i - first) * 3 + 2] = char(e.flags);
            data += QByteArray(jv3Size(e), char(0x30 + e.sector % 40));
        }
        image += block + data;
    }
    return image;
}

inline QByteArray jv1(int tracks)
{
    QByteArray image;
    for (int t = 0; t < tracks; ++t)
        for (int r = 0; r < 10; ++r)
            image += QByteArray(256, char(0x40 + (t + r) % 26));
    return image;
}

} // namespace imagewriter
