#include "imagecompare.h"

#include <algorithm>

namespace ferncastle {

namespace {

SectorStatus statusOf(const SectorInfo &sector)
{
    return {sector.idCrcOk && sector.dataCrcOk, sector.hasDataMark,
            quint8(sector.hasDataMark ? sector.dataMark : 0), sector.complete};
}

// The first index where the two differ, -1 when they are the same (a
// shorter one that is a prefix of the other differs where it ends).
int firstDifference(const QByteArray &a, const QByteArray &b)
{
    const qsizetype common = qMin(a.size(), b.size());
    const auto mismatch = std::mismatch(a.cbegin(), a.cbegin() + common, b.cbegin());
    const qsizetype at = mismatch.first - a.cbegin();
    if (at < common || a.size() != b.size())
        return int(at);
    return -1;
}

struct TrackPair
{
    const SectorSource &first;
    const SectorSource &second;
    int cylinder;
    int side;
};

SectorSource::IdTable idsOf(const SectorSource &source, int cylinder, int side)
{
    static const TrackInfo noTrack;
    const TrackInfo *track = source.track(cylinder, side);
    return SectorSource::sectorsById(track ? *track : noTrack);
}

void compareSector(const TrackPair &pair, int id, const SectorInfo &a, const SectorInfo &b,
                   ImageComparison &result)
{
    const QByteArray aData = pair.first.data(a);
    const QByteArray bData = pair.second.data(b);
    SectorDifference difference;
    difference.address = {pair.cylinder, pair.side, id};
    difference.first = statusOf(a);
    difference.second = statusOf(b);
    difference.firstDifferentByte = firstDifference(aData, bData);
    difference.firstSize = int(aData.size());
    difference.secondSize = int(bData.size());
    if (difference.firstDifferentByte < 0 && !difference.statusDiffers()) {
        ++result.sameSectors;
        return;
    }
    result.differences.append(difference);
}

void compareTrack(const TrackPair &pair, ImageComparison &result)
{
    const SectorSource::IdTable first = idsOf(pair.first, pair.cylinder, pair.side);
    const SectorSource::IdTable second = idsOf(pair.second, pair.cylinder, pair.side);
    for (int id = 0; id < int(first.size()); ++id) {
        const SectorInfo *a = first[std::size_t(id)];
        const SectorInfo *b = second[std::size_t(id)];
        result.firstSectors += a ? 1 : 0;
        result.secondSectors += b ? 1 : 0;
        if (a && b) {
            compareSector(pair, id, *a, *b, result);
        } else if (a || b) {
            SectorDifference difference;
            difference.address = {pair.cylinder, pair.side, id};
            difference.kind = a ? SectorDifferenceKind::OnlyInFirst
                                : SectorDifferenceKind::OnlyInSecond;
            (a ? difference.first : difference.second) = statusOf(a ? *a : *b);
            result.differences.append(difference);
        }
    }
}

QString statusText(const SectorStatus &status, const QString &name)
{
    if (!status.hasDataMark)
        return QStringLiteral("no data mark in %1").arg(name);
    const QString crc = status.crcOk ? QStringLiteral("good CRC") : QStringLiteral("CRC error");
    const QString cut = status.complete ? QString() : QStringLiteral(", cut short");
    // One arg() call: a name holding "%1" must not be filled in again.
    return QStringLiteral("%1, data mark 0x%2%3 in %4")
        .arg(crc, QStringLiteral("%1").arg(status.dataMark, 2, 16, QLatin1Char('0')).toUpper(),
             cut, name);
}

QString differsText(const SectorDifference &difference, const QString &first,
                    const QString &second)
{
    QStringList parts;
    if (difference.firstSize != difference.secondSize)
        parts.append(QStringLiteral("%1 data bytes in %2, %3 in %4")
                         .arg(QString::number(difference.firstSize), first,
                              QString::number(difference.secondSize), second));
    else if (difference.firstDifferentByte >= 0)
        parts.append(QStringLiteral("data differs from byte %1 on")
                         .arg(difference.firstDifferentByte));
    if (difference.statusDiffers())
        parts.append(statusText(difference.first, first) + QStringLiteral("; ")
                     + statusText(difference.second, second));
    return parts.join(QStringLiteral("; "));
}

} // namespace

ImageComparison compareImages(const SectorSource &first, const SectorSource &second)
{
    ImageComparison result;
    const int cylinders = qMax(first.cylinders(), second.cylinders());
    const int sides = qMax(first.sides(), second.sides());
    for (int cylinder = 0; cylinder < cylinders; ++cylinder) {
        for (int side = 0; side < sides; ++side)
            compareTrack({first, second, cylinder, side}, result);
    }
    return result;
}

QString describeDifference(const SectorDifference &difference, const QString &first,
                           const QString &second, const QString &holder)
{
    const SectorAddress &at = difference.address;
    const QString place = QStringLiteral("Cylinder %1, side %2, sector %3")
                              .arg(at.cylinder)
                              .arg(at.side)
                              .arg(at.id)
                          + (holder.isEmpty() ? QString() : QStringLiteral(" (in %1)").arg(holder))
                          + QStringLiteral(": ");
    switch (difference.kind) {
    case SectorDifferenceKind::OnlyInFirst:
        return place + QStringLiteral("only in %1.").arg(first);
    case SectorDifferenceKind::OnlyInSecond:
        return place + QStringLiteral("only in %1.").arg(second);
    case SectorDifferenceKind::Differs:
        break;
    }
    return place + differsText(difference, first, second) + u'.';
}

} // namespace ferncastle
