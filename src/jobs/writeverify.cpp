#include "jobs/writeverify.h"

#include "core/batch/nextname.h"
#include "core/dos/dosdirectory.h"
#include "core/image/imagecompare.h"
#include "core/image/imagelayout.h"
#include "jobs/jobchain.h"
#include "jobs/tooljob.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ferncastle {

namespace {

// Letters of the write options a read of the same drive needs.
const QString driveLetters = QStringLiteral("dpkms");
constexpr int differencesNamed = 10;

QStringList driveArguments(const ToolCommand &write)
{
    const ToolOptions &options = toolRow(ToolActionId::ImageToDisk).options;
    QStringList kept;
    // The last argument is the image itself.
    const QStringList &arguments = write.arguments;
    for (qsizetype i = 0; i + 1 < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument.size() < 2 || argument.at(0) != u'-')
            continue;
        const QChar letter = argument.at(1);
        const bool separateValue = options.takesValue(letter) && argument.size() == 2;
        if (driveLetters.contains(letter)) {
            kept.append(argument);
            if (separateValue && i + 2 < arguments.size())
                kept.append(arguments.at(i + 1));
        }
        if (separateValue)
            ++i;
    }
    return kept;
}

int dmkTrackCount(const QString &image)
{
    QFile file(image);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = file.read(layout::dmkHeaderSize);
    return header.size() == layout::dmkHeaderSize ? quint8(header.at(1)) : 0;
}

QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

// What a sector of the written image belongs to, by its DOS directory:
// the user cares that BASIC/CMD is damaged, not that sector 4 is. Empty
// when the image holds no directory the reader recognises.
QString holderOf(const DosDirectory &directory, const SectorAddress &address)
{
    if (!directory.found)
        return {};
    if (const int file = fileAtSector(directory, address); file >= 0)
        return directory.files.at(file).dosName();
    if (address.cylinder == directory.disk.directoryCylinder)
        return QStringLiteral("the directory");
    return QStringLiteral("no file");
}

// "in BASIC/CMD, DIR/SYS": the holders the differences fall in, each once.
QString holdersPart(const QStringList &holders)
{
    QStringList named;
    for (const QString &holder : holders)
        if (!holder.isEmpty() && holder != u"no file" && !named.contains(holder))
            named.append(holder);
    return named.isEmpty() ? QString() : QStringLiteral(", in ") + named.join(QStringLiteral(", "));
}

QString differenceSentence(const ImageComparison &comparison, const DosDirectory &directory,
                           const QString &readBack)
{
    QStringList lines;
    QStringList holders;
    const auto &differences = comparison.differences;
    for (const SectorDifference &difference : differences)
        holders.append(holderOf(directory, difference.address));
    for (qsizetype i = 0; i < differences.size() && i < differencesNamed; ++i)
        lines.append(describeDifference(differences.at(i), QStringLiteral("the image"),
                                        QStringLiteral("the disk"), holders.at(i)));
    if (differences.size() > differencesNamed)
        lines.append(QStringLiteral("… and %1 more.").arg(differences.size() - differencesNamed));
    return QStringLiteral("Not verified: %1 of %2 sectors did not read back as written%3. "
                          "The disk as read back is kept in %4.\n%5")
        .arg(differences.size())
        .arg(comparison.firstSectors)
        .arg(holdersPart(holders), QDir::toNativeSeparators(readBack), lines.join(u'\n'));
}

// A read-back that ran to its end goes on to the comparison even over bad
// sectors: those are what the comparison is there to name.
class ReadBackStep : public JobStep
{
public:
    explicit ReadBackStep(const ToolCommand &command)
        : m_job(new ToolJob(command, this))
    {
        QObject::connect(m_job, &ToolJob::ended, this, [this](const JobOutcome &outcome) {
            if (outcome.end.completed() && outcome.verdict.kind == VerdictKind::Failure)
                finish({VerdictKind::Warning, outcome.verdict.sentence, outcome.verdict.affected});
            else
                finish(outcome.verdict);
        });
    }

    void start() override { m_job->start(); }
    void stop() override
    {
        if (m_job->isRunning())
            m_job->stop();
    }
    ToolJob *toolJob() override { return m_job; }

private:
    ToolJob *m_job;
};

// The read-back's own verdict says why it failed; the chain's says that
// the write itself may still be good.
RunVerdict concludeWriteVerify(const QList<RunVerdict> &verdicts)
{
    if (verdicts.size() == 2 && verdicts.constLast().kind != VerdictKind::Stopped) {
        const RunVerdict &read = verdicts.constLast();
        return {VerdictKind::Failure,
                QStringLiteral("The disk was written, but reading it back failed, so the write "
                               "is not verified. ")
                    + read.sentence,
                read.affected};
    }
    return verdicts.isEmpty() ? RunVerdict{} : verdicts.constLast();
}

} // namespace

ToolCommand readBackCommand(const ToolCommand &write, const QString &program)
{
    const int tracks = dmkTrackCount(write.chosenFile);
    if (tracks == 0)
        return {};
    const QFileInfo image(write.chosenFile);
    ToolCommand read;
    read.action = ToolActionId::DiskToImage;
    read.tool = QStringLiteral("cw2dmk");
    read.program = program;
    QString first = image.dir().filePath(image.completeBaseName() + QStringLiteral("-verify.dmk"));
    read.chosenFile = QFileInfo::exists(first) ? nextFreeName(first) : first;
    read.writtenFiles = {read.chosenFile};
    read.arguments = driveArguments(write);
    read.arguments << QStringLiteral("-t%1").arg(tracks) << read.chosenFile;
    QStringList shown = read.arguments;
    shown.last() = quoted(QDir::toNativeSeparators(read.chosenFile));
    read.commandLine = QDir::toNativeSeparators(program) + u' ' + shown.join(u' ');
    return read;
}

RunVerdict verifyWrite(const QString &written, const QString &readBack)
{
    const SectorSource image = SectorSource::fromFile(written);
    const SectorSource disk = SectorSource::fromFile(readBack);
    if (disk.image().format == ImageFormat::Unknown)
        return {VerdictKind::Failure,
                QStringLiteral("Not verified: the disk read back into %1 is no image. It is kept.")
                    .arg(QDir::toNativeSeparators(readBack)),
                {}};
    const ImageComparison comparison = compareImages(image, disk);
    if (!comparison.equal())
        return {VerdictKind::Failure,
                differenceSentence(comparison, readDosDirectory(image), readBack), {}};
    QFile::remove(readBack);
    return {VerdictKind::Good,
            QStringLiteral("Verified: all %1 sectors read back as written").arg(comparison.sameSectors),
            {}};
}

std::unique_ptr<JobChain> writeVerifyChain(const ToolCommand &write, const ToolCommand &readBack)
{
    auto chain = std::make_unique<JobChain>();
    chain->append(std::make_unique<RunStep>(write));
    chain->append(std::make_unique<ReadBackStep>(readBack));
    const QString written = write.chosenFile;
    const QString readFile = readBack.chosenFile;
    chain->append(std::make_unique<WorkStep>([written, readFile] {
        return verifyWrite(written, readFile);
    }));
    chain->setConclusion(concludeWriteVerify);
    return chain;
}

} // namespace ferncastle
