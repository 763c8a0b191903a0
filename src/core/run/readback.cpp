#include "core/run/readback.h"

#include "core/dos/dosdirectory.h"

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

// Findings about the file as a whole that mean it does not hold the whole
// disk: they open the read-back's sentence. Every other finding follows it.
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

QString withFiles(const QString &sentence, const ImageReadBack &readBack)
{
    return readBack.files.isEmpty() ? sentence : sentence + u' ' + readBack.files + u'.';
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
    return withFiles(readSentence(readBack, reported), readBack);
}

// The tool's count is checked against the image only where the tool gave
// one; a restarted read can count sectors the image never got.
QString countCheck(const ImageReadBack &readBack, const ReadBackContext &context)
{
    if (context.reportedGoodSectors < 0 || context.reportedGoodSectors == readBack.goodSectors())
        return {};
    return context.tool + QLatin1String(" counted ")
           + countedNoun(context.reportedGoodSectors, "good sector", "good sectors")
           + QLatin1String(", but ") + readBack.name + QLatin1String(" holds ")
           + QString::number(readBack.goodSectors()) + u'.';
}

QString sectorChange(int count, const char *what, const QList<std::pair<int, int>> &cells)
{
    return countedNoun(count, "sector", "sectors") + u' ' + QLatin1String(what)
           + QLatin1String(" on ") + cellRanges(cells);
}

QString inputCheck(const ImageReadBack &readBack, const ImageReadBack &input)
{
    QList<std::pair<int, int>> gainedOn, lostOn;
    int gained = 0, lost = 0;
    CellCounts all = input.cells;
    all.insert(readBack.cells);
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        const int change = readBack.cells.value(it.key()) - input.cells.value(it.key());
        if (change > 0) {
            gained += change;
            gainedOn.append(it.key());
        } else if (change < 0) {
            lost -= change;
            lostOn.append(it.key());
        }
    }
    QStringList changes;
    if (gained > 0)
        changes.append(sectorChange(gained, "gained", gainedOn));
    if (lost > 0)
        changes.append(sectorChange(lost, "lost", lostOn));
    if (changes.isEmpty())
        return {};
    return QLatin1String("Against ") + input.name + QLatin1String(", its input, ")
           + changes.join(QLatin1String(" and ")) + u'.';
}

// CRC errors the input already had are the disk's, not the conversion's.
QString inheritedCheck(const ImageReadBack &readBack, const ImageReadBack &input)
{
    if (readBack.badSectors == 0 || input.badSectors == 0)
        return {};
    for (const AffectedTrack &bad : readBack.badTracks) {
        const auto same = [&](const AffectedTrack &had) {
            return had.track == bad.track && had.side == bad.side && had.errors >= bad.errors;
        };
        if (std::none_of(input.badTracks.cbegin(), input.badTracks.cend(), same))
            return {};
    }
    return QLatin1String("They were already bad in ") + input.name
           + QLatin1String(", the input: the conversion did not cause them.");
}

// Sentences beyond the image's own count; any of them means the run is not
// confirmed.
QStringList checks(const ImageReadBack &readBack, const ReadBackContext &context,
                   bool &contradicted)
{
    QStringList said;
    if (readBack.outcome != ImageReadBack::Outcome::Read)
        return said;
    const bool hasInput = context.input && context.input->image.isImage();
    const ImageReadBack input = hasInput ? readBackImage(context.input->name, context.input->image)
                                         : ImageReadBack{};
    const QString count = countCheck(readBack, context);
    const QString changed = hasInput ? inputCheck(readBack, input) : QString();
    contradicted = !count.isEmpty() || !changed.isEmpty();
    for (const QString &sentence : {count, changed,
                                    hasInput ? inheritedCheck(readBack, input) : QString()})
        if (!sentence.isEmpty())
            said.append(sentence);
    if (!readBack.problems.isEmpty())
        said.append(QLatin1String("The image reader finds: ")
                    + readBack.problems.join(u' '));
    return said;
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
    return outcome == Outcome::Read && damage.isEmpty() && problems.isEmpty() && sectors > 0
           && badSectors == 0;
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
        if (isDamage(finding.kind) && finding.track < 0)
            readBack.damage.append(finding.text);
    readBack.cells = sectorsPerCell(image);
    for (const QString &problem : imageProblems(image))
        if (!readBack.damage.contains(problem))
            readBack.problems.append(problem);
    return readBack;
}

ImageReadBack readBackSource(const QString &name, const SectorSource &source)
{
    ImageReadBack readBack = readBackImage(name, source.image());
    if (readBack.outcome != ImageReadBack::Outcome::Read)
        return readBack;
    const DosDirectory directory = readDosDirectory(source);
    if (directory.found)
        readBack.files = directorySummary(directory);
    return readBack;
}

ImageReadBack readBackFile(const QString &path)
{
    return readBackSource(QFileInfo(path).fileName(), SectorSource::fromFile(path));
}

ImageReadBack notWrittenBy(const QString &path)
{
    ImageReadBack readBack;
    readBack.outcome = ImageReadBack::Outcome::NotWritten;
    readBack.name = QFileInfo(path).fileName();
    return readBack;
}

RunVerdict withReadBacks(RunVerdict verdict, const QList<ImageReadBack> &readBacks,
                         const ReadBackContext &context)
{
    const QList<AffectedTrack> reported = verdict.affected;
    for (const ImageReadBack &readBack : readBacks) {
        verdict.sentence += u' ' + sentenceFor(readBack, reported);
        bool contradicted = false;
        for (const QString &sentence : checks(readBack, context, contradicted))
            verdict.sentence += u' ' + sentence;
        addTracks(verdict.affected, readBack.badTracks);
        const bool confirmed = readBack.clean() && !contradicted;
        if (!confirmed && verdict.kind == VerdictKind::Good)
            verdict.kind = VerdictKind::Warning;
    }
    return verdict;
}

} // namespace ferncastle
