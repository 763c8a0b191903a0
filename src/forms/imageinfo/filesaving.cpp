#include "forms/imageinfo/filesaving.h"

#include "core/dos/doscopyout.h"
#include "core/run/runverdict.h"
#include "forms/common/prompts.h"

#include <QDir>

namespace ferncastle {

namespace {

const QString title = QStringLiteral("Save Files");

bool agreesToDamaged(Prompts &prompts, QWidget *parent, const DosFile &file)
{
    QString text = file.dosName() + QStringLiteral(" is damaged: ") + file.problem;
    if (!file.badSectors.isEmpty())
        text += QStringLiteral("\rIts bad or missing sectors (cylinder/side/sector): ")
                + sectorAddressList(file.badSectors);
    text += QStringLiteral("\rSave it anyway, with those sectors' bytes as the image holds "
                           "them?");
    return prompts.askYesNo(parent, title, text);
}

bool agreesToReplace(Prompts &prompts, QWidget *parent, const QString &path)
{
    return prompts.askYesNo(parent, title,
                            QDir::toNativeSeparators(path)
                                + QStringLiteral(" already exists.\rReplace it?"));
}

// Saves one file; the reason it was not saved, or nothing.
QString saveOne(Prompts &prompts, QWidget *parent, const QDir &folder, const SectorSource &source,
                const DosFile &file)
{
    const bool damaged = file.health == FileHealth::Damaged;
    if (!mayCopyOut(file, damaged && agreesToDamaged(prompts, parent, file)))
        return damaged ? QStringLiteral("damaged") : QStringLiteral("cannot be followed");
    const QByteArray bytes = fileBytes(source, file);
    CopyOutResult result = copyOut(folder, file, bytes);
    if (result.outcome == CopyOutResult::Outcome::AlreadyThere) {
        if (!agreesToReplace(prompts, parent, result.path))
            return file.saveName() + QStringLiteral(" already there, left as it was");
        result = copyOut(folder, file, bytes, true);
    }
    if (result.outcome == CopyOutResult::Outcome::Failed)
        return QStringLiteral("could not be written: ") + result.error;
    return {};
}

QString report(const QString &folder, int saved, int all, const QStringList &notSaved)
{
    const QString where = QDir::toNativeSeparators(folder);
    if (notSaved.isEmpty())
        return QStringLiteral("Saved %1 into %2.").arg(countedNoun(saved, "file", "files"), where);
    const QString count = saved == 0 ? QStringLiteral("none of the %1").arg(all)
                                     : QStringLiteral("%1 of %2").arg(saved).arg(all);
    return QStringLiteral("Saved %1 %2 into %3; not saved: %4.")
        .arg(count, all == 1 ? QStringLiteral("file") : QStringLiteral("files"), where,
             notSaved.join(QStringLiteral(", ")));
}

} // namespace

QString saveDiskFiles(Prompts &prompts, QWidget *parent, const SectorSource &source,
                      const QList<DosFile> &files, const QString &startFolder)
{
    const QString folder = prompts.chooseFolder(parent, title, startFolder);
    if (folder.isEmpty())
        return {};
    const QDir target(folder);
    QStringList notSaved;
    for (const DosFile &file : files) {
        const QString why = saveOne(prompts, parent, target, source, file);
        if (!why.isEmpty())
            notSaved.append(QStringLiteral("%1 (%2)").arg(file.dosName(), why));
    }
    const QString sentence = report(folder, int(files.size() - notSaved.size()),
                                    int(files.size()), notSaved);
    prompts.showMessage(parent,
                        notSaved.isEmpty() ? QMessageBox::Information : QMessageBox::Warning,
                        title, sentence);
    return sentence;
}

} // namespace ferncastle
