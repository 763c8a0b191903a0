#include "findinggroups.h"

#include <algorithm>

namespace ferncastle {

namespace {

QString kindName(FindingKind kind)
{
    switch (kind) {
    case FindingKind::Truncated:
        return QStringLiteral("File cut short");
    case FindingKind::MissingTracks:
        return QStringLiteral("Tracks missing");
    case FindingKind::TrailingBytes:
        return QStringLiteral("Bytes after the last track");
    case FindingKind::PointerOutsideTrack:
        return QStringLiteral("ID pointer outside its track");
    case FindingKind::PointerNotOnIdMark:
        return QStringLiteral("ID pointer not on an ID mark");
    case FindingKind::DuplicatePointer:
        return QStringLiteral("ID pointer repeated");
    case FindingKind::DuplicateSector:
        return QStringLiteral("Sector repeated on its track");
    case FindingKind::CylinderMismatch:
        return QStringLiteral("ID field names another cylinder");
    case FindingKind::Unsupported:
        break;
    }
    return QStringLiteral("Not decoded");
}

} // namespace

QList<FindingGroup> groupFindings(const QList<Finding> &findings)
{
    QList<FindingGroup> groups;
    for (const Finding &finding : findings) {
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const FindingGroup &g) { return g.kind == finding.kind; });
        if (group == groups.end())
            group = groups.insert(groups.end(), FindingGroup{finding.kind, {}, {}});
        group->instances.append(finding);
        if (finding.track >= 0 && !group->tracks.contains(finding.track))
            group->tracks.append(finding.track);
    }
    for (FindingGroup &group : groups)
        std::sort(group.tracks.begin(), group.tracks.end());
    return groups;
}

QString trackRanges(const QList<int> &tracks)
{
    QStringList ranges;
    for (qsizetype i = 0; i < tracks.size();) {
        qsizetype end = i;
        while (end + 1 < tracks.size() && tracks[end + 1] == tracks[end] + 1)
            ++end;
        ranges.append(end == i ? QString::number(tracks[i])
                               : QStringLiteral("%1-%2").arg(tracks[i]).arg(tracks[end]));
        i = end + 1;
    }
    return ranges.join(QStringLiteral(", "));
}

QString findingGroupLine(const FindingGroup &group)
{
    if (group.instances.size() == 1)
        return group.instances.first().text;
    QString line = QStringLiteral("%1: %2").arg(kindName(group.kind)).arg(group.instances.size());
    if (!group.tracks.isEmpty())
        line += (group.tracks.size() == 1 ? QStringLiteral(", track ") : QStringLiteral(", tracks "))
                + trackRanges(group.tracks);
    return line;
}

} // namespace ferncastle
