#pragma once

#include <QList>
#include <QString>

namespace ferncastle {

class DiskMap;
struct ConversionInput;
struct ImageReadBack;
struct RunSummary;

// How the tool's process ended.
struct RunEnd {
    enum class How { Exited, Signalled, NotStarted };
    How how = How::Exited;
    int code = 0;              // exit status, or the signal's number
    bool stoppedByUser = false;
    QString startError;        // NotStarted: the reason, for the user
    // Processes the tool started that outlived every step of a stop.
    QList<qint64> stillRunning;

    // The tool ran to its own end: exit status 0 and no stop asked for.
    bool completed() const { return how == How::Exited && code == 0 && !stoppedByUser; }
};

enum class VerdictKind { Good, Warning, Failure, Crashed, Stopped };

struct AffectedTrack {
    int track = 0;
    int side = 0;
    int errors = 0;
    bool operator==(const AffectedTrack &) const = default;
};

// "1 sector", "2 sectors": the verdicts' counts.
QString countedNoun(int count, const char *singular, const char *plural);
// "track 5 side 0 (1 sector), track 20 side 0 (2 sectors)"
QString trackList(const QList<AffectedTrack> &tracks);
// What the run has done, as a user counts a disk: "14 tracks" on one side,
// "6 cylinders, both sides" on two, "and side 0 of cylinder 6" for a
// cylinder half done.
QString doneInWords(const DiskMap &map);

struct RunVerdict {
    VerdictKind kind = VerdictKind::Warning;
    QString sentence;
    QList<AffectedTrack> affected;
};

// "good", "warning", "failure", "crashed" or "stopped": the kind in one
// word, as the transcript's last line begins.
QString verdictKindWord(VerdictKind kind);

// The verdict on a finished run, from what the tool printed and how it
// ended. The exit status alone never makes a run good: a tool can end with
// status 0 over lost sectors, so "good" needs the tool's own report, and,
// where the run wrote images, those images read back clean. A conversion's
// input, when known, is what its output is held against and what advice on
// a failure comes from.
RunVerdict judgeRun(const QString &tool, const RunSummary &summary, const DiskMap &map,
                    const RunEnd &end, const QList<ImageReadBack> &readBacks,
                    const ConversionInput *input = nullptr);
// The same for a run that wrote no image, or whose images are not read.
RunVerdict judgeRun(const QString &tool, const RunSummary &summary, const DiskMap &map,
                    const RunEnd &end);

} // namespace ferncastle
