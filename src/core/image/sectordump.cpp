#include "sectordump.h"

namespace ferncastle {

namespace {

constexpr int bytesPerLine = 16;

QChar printable(char byte)
{
    const auto value = quint8(byte);
    return (value >= 0x20 && value < 0x7F) ? QLatin1Char(char(value)) : QLatin1Char('.');
}

QString dumpLine(const QByteArray &bytes, qsizetype start)
{
    QString line = QStringLiteral("%1 ").arg(start, 4, 16, QLatin1Char('0')).toUpper();
    QString ascii;
    for (int i = 0; i < bytesPerLine; ++i) {
        if (i == bytesPerLine / 2)
            line += QLatin1Char(' ');
        if (start + i >= bytes.size()) {
            line += QStringLiteral("   ");
            continue;
        }
        const char byte = bytes[start + i];
        line += QLatin1Char(' ') + QStringLiteral("%1").arg(quint8(byte), 2, 16, QLatin1Char('0')).toUpper();
        ascii += printable(byte);
    }
    return line + QStringLiteral("  |") + ascii + QLatin1Char('|');
}

QString crcText(bool ok)
{
    return ok ? QStringLiteral("good") : QStringLiteral("bad");
}

} // namespace

QString hexDump(const QByteArray &bytes)
{
    QStringList lines;
    for (qsizetype start = 0; start < bytes.size(); start += bytesPerLine)
        lines.append(dumpLine(bytes, start));
    return lines.join(QLatin1Char('\n'));
}

QString sectorHeading(const TrackInfo &track, const SectorInfo &sector, qsizetype held)
{
    QString text = QStringLiteral("Track %1 side %2, sector %3 (ID field: cylinder %4, head %5), "
                                  "%6 bytes, %7; ID CRC %8, ")
                       .arg(track.track)
                       .arg(track.side)
                       .arg(sector.sectorId)
                       .arg(sector.cylinder)
                       .arg(sector.head)
                       .arg(sector.dataSize)
                       .arg(sector.encoding == Recording::MFM ? QStringLiteral("MFM")
                                                             : QStringLiteral("FM"))
                       .arg(crcText(sector.idCrcOk));
    if (!sector.hasDataMark)
        return text + QStringLiteral("no data mark: the sector has no data");
    text += QStringLiteral("data CRC %1, data mark %2")
                .arg(crcText(sector.dataCrcOk),
                     QString::number(sector.dataMark, 16).toUpper());
    if (sector.deleted())
        text += QStringLiteral(" (deleted)");
    if (held < sector.dataSize)
        text += QStringLiteral("; the file ends after %1 of its bytes").arg(held);
    return text;
}

} // namespace ferncastle
