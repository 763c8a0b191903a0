#include "doscopyout.h"

#include <QFileInfo>
#include <QSaveFile>

namespace ferncastle {

QString sectorAddressList(const QList<SectorAddress> &sectors)
{
    QStringList parts;
    for (const SectorAddress &at : sectors) {
        parts.append(at.side < 0
                         ? QStringLiteral("%1/-/-").arg(at.cylinder)
                         : QStringLiteral("%1/%2/%3").arg(at.cylinder).arg(at.side).arg(at.id));
    }
    return parts.join(QLatin1Char(' '));
}

QString fileHealthText(const DosFile &file)
{
    switch (file.health) {
    case FileHealth::Intact:
        return QStringLiteral("intact");
    case FileHealth::Damaged:
        return QStringLiteral("damaged: ") + file.problem
               + (file.badSectors.isEmpty() ? QString()
                                            : QStringLiteral(" (cylinder/side/sector: %1)")
                                                  .arg(sectorAddressList(file.badSectors)));
    case FileHealth::Unreadable:
        break;
    }
    return QStringLiteral("unreadable: ") + file.problem;
}

QString fileAttributeText(const DosFile &file)
{
    return QStringLiteral("%1%2 P%3 LRL %4")
        .arg(file.system ? QStringLiteral("S") : QStringLiteral("-"),
             file.invisible ? QStringLiteral("I") : QStringLiteral("-"))
        .arg(file.protection)
        .arg(file.recordLength, 3);
}

bool mayCopyOut(const DosFile &file, bool damagedAgreed)
{
    return file.health == FileHealth::Intact
           || (damagedAgreed && file.health == FileHealth::Damaged);
}

CopyOutResult copyOut(const QDir &folder, const DosFile &file, const QByteArray &bytes,
                      bool replace)
{
    CopyOutResult result;
    result.path = folder.filePath(file.saveName());
    const QFileInfo there(result.path);
    // A dangling link counts as there: writing through it would create a
    // file somewhere the user did not choose.
    if (!replace && (there.exists() || there.isSymLink())) {
        result.outcome = CopyOutResult::Outcome::AlreadyThere;
        return result;
    }
    QSaveFile out(result.path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        result.outcome = CopyOutResult::Outcome::Failed;
        result.error = out.errorString();
    }
    return result;
}

} // namespace ferncastle
