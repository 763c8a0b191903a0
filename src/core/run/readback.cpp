#include "core/run/readback.h"

#include "core/image/imagereader.h"

#include <QFileInfo>

#include <algorithm>

namespace ferncastle {

namespace {

bool failsCrc(const SectorInfo &sector)
{
    return !sector.idCrcOk || (sector.hasDataMark && !sector.dataCrcOk);
}

void countSectors(const TrackInfo &track, ImageReadBack &readBack)
{
    int bad = 0;
    for (const SectorInfo &sector : track.sectors) {
        ++readBack.sectors;
        bad += sector.good() ? 0 : 1;
        readBack.crcFailures += failsCrc(sector) ? 1 : 0;
    }
    readBack.badSectors += bad;
    if (bad > 0)
        readBack.badTracks.append(AffectedTrack{track.track, track.side, bad});
}

// Findings that mean the image does not hold the whole disk; the others
// (odd pointers, repeated ids) can be the disk's own and are shown by
// Image Information.
bool isDamage(FindingKind kind)
{
    return kind == FindingKind::Truncated || kind == FindingKind::MissingTracks;
}

QString badSectorsText(const ImageReadBack &readBack)
{
    if (readBack.badSectors == readBack.crcFailures)
        return countedNoun(readBack.badSectors, "sector whose CRC fails",
                           "sectors whose CRC fails");
    QString text = countedNoun(readBack.badSectors, "bad sector", "bad sectors");
    if (readBack.crcFailures > 0)
        text += QLatin1String(" (")
                + countedNoun(readBack.crcFailures, "with a CRC error", "with CRC errors") + u')';
    return text;
}

QString readSentence(const ImageReadBack &readBack, const QList<AffectedTrack> &reported)
{
    const QString opening = QLatin1String("Read back, ") + readBack.name;
    if (!readBack.damage.isEmpty()) {
        QString sentence = opening + QLatin1String(" is damaged: ") + readBack.damage.first();
        if (readBack.damage.size() > 1)
            sentence += QStringLiteral(" Image Information lists %1 more such findings.")
                            .arg(readBack.damage.size() - 1);
        return sentence;
    }
    if (readBack.sectors == 0)
        return opening + QLatin1String(" holds no sectors at all.");
    if (readBack.badSectors > 0 && readBack.badTracks == reported)
        return opening + QLatin1String(" shows the same ") + badSectorsText(readBack) + u'.';
    if (readBack.badSectors > 0)
        return opening + QLatin1String(" has ") + badSectorsText(readBack) + QLatin1String(": ")
               + trackList(readBack.badTracks) + u'.';
    const QString held = opening + QLatin1String(" holds ")
                         + countedNoun(readBack.sectors, "sector", "sectors");
    return readBack.keepsCrcs ? held + QLatin1String(", every CRC good.")
                              : held + QLatin1String("; a JV1 image keeps no CRCs to check.");
}

QString sentenceFor(const ImageReadBack &readBack, const QList<AffectedTrack> &reported)
{
    switch (readBack.outcome) {
    case ImageReadBack::Outcome::Unreadable:
        return readBack.name + QLatin1String(" could not be read back: ") + readBack.reason;
    case ImageReadBack::Outcome::NotWritten:
        return readBack.name + QLatin1String(" was not written by this run.");
    case ImageReadBack::Outcome::Read:
        break;
    }
    return readSentence(readBack, reported);
}

void addTracks(QList<AffectedTrack> &affected, const QList<AffectedTrack> &more)
{
    for (const AffectedTrack &track : more) {
        const auto sameCell = [&](const AffectedTrack &had) {
            return had.track == track.track && had.side == track.side;
        };
        const bool known = std::any_of(affected.cbegin(), affected.cend(), sameCell);
        if (!known)
            affected.append(track);
    }
}

} // namespace

bool ImageReadBack::clean() const
{
    return outcome == Outcome::Read && damage.isEmpty() && sectors > 0 && badSectors == 0;
}

ImageReadBack readBackImage(const QString &name, const DiskImage &image)
{
    ImageReadBack readBack;
    readBack.name = name;
    if (!image.isImage()) {
        readBack.outcome = ImageReadBack::Outcome::Unreadable;
        readBack.reason = image.refusal;
        return readBack;
    }
    readBack.keepsCrcs = image.format != ImageFormat::Jv1;
    for (const TrackInfo &track : image.tracks)
        countSectors(track, readBack);
    for (const Finding &finding : image.findings)
        if (isDamage(finding.kind))
            readBack.damage.append(finding.text);
    return readBack;
}

ImageReadBack readBackFile(const QString &path)
{
    return readBackImage(QFileInfo(path).fileName(), readDiskImageFile(path));
}

ImageReadBack notWrittenBy(const QString &path)
{
    ImageReadBack readBack;
    readBack.outcome = ImageReadBack::Outcome::NotWritten;
    readBack.name = QFileInfo(path).fileName();
    return readBack;
}

RunVerdict withReadBacks(RunVerdict verdict, const QList<ImageReadBack> &readBacks)
{
    const QList<AffectedTrack> reported = verdict.affected;
    for (const ImageReadBack &readBack : readBacks) {
        verdict.sentence += u' ' + sentenceFor(readBack, reported);
        addTracks(verdict.affected, readBack.badTracks);
        if (!readBack.clean() && verdict.kind == VerdictKind::Good)
            verdict.kind = VerdictKind::Warning;
    }
    return verdict;
}

} // namespace ferncastle
