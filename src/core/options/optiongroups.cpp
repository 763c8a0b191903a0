#include "core/options/optiongroups.h"

#include <QString>

namespace ferncastle {

namespace {

constexpr const char *driveEntries[] = {" 0", " 1"};
constexpr const char *kindEntries[] = {
    "5.25 SD/DD in HD drive",
    "3.5 or 5.25 SD/DD in DD drive",
    "5.25 HD disk or 8 SD/DD disk",
    "3.5 HD disk",
};
constexpr const char *oneTwoEntries[] = {" 1", " 2"};
constexpr const char *encodingEntries[] = {"FM", "MFM", "RX02"};

constexpr NumberCheck noCheck{};
constexpr NumberCheck numberOnly{true, false, 0, 0, nullptr};
constexpr NumberCheck tracksCheck{
    true, true, 2, 86,
    "The 'Number of tracks' is not between 2 and 86 tracks. Option not used"};
constexpr NumberCheck retriesCheck{
    true, true, 0, 100,
    "The 'Number of retries' is not between 0 and 100. Option not used"};

// "Enconding" is spelled as the values already stored under it are. The
// values a first run shows (greyed until ticked) are what the tools do
// without the flag where the list has it: port 0, dmk2cw's 2 sides,
// cw2dmk's 86-track guess and its 4 retries (see optionhelp.cpp).
const std::array<OptionGroup, GroupCount> groups = {{
    {"ckbDrive", "cboDrive", "CatWeasel drive", ValueKind::List, driveEntries, "-d", 0, true, noCheck,
     {"CW Drive Enabled", "CW Drive", "0"}},
    {"ckbPort", "txtPort", "CatWeasel port", ValueKind::Text, {}, " -p", 0, true, numberOnly,
     {"CW Port Enabled", "CW Port", "0"}},
    {"ckbKind", "cboKind", "Drive kind", ValueKind::List, kindEntries, " -k", 1, true, noCheck,
     {"Kind Enabled", "Kind", "0"}},
    {"ckbSteps", "cboSteps", "Step multiplier", ValueKind::List, oneTwoEntries, " -m", 1, true, noCheck,
     {"Steps Enabled", "Steps", "0"}},
    {"ckbTracks", "txtTracks", "Number of tracks", ValueKind::Text, {}, " -t", 0, false, tracksCheck,
     {"Tracks Enabled", "Tracks", "86"}},
    {"ckbSides", "cboSides", "Sides per disk", ValueKind::List, oneTwoEntries, " -s", 1, true, noCheck,
     {"Sides Enabled", "Sides", "1"}},
    {"ckbEncoding", "cboEncoding", "Encoding", ValueKind::List, encodingEntries, " -e", 1, false, noCheck,
     {"Enconding Enabled", "Enconding", "0"}},
    {"ckbRetries", "txtRetries", "Number of retries", ValueKind::Text, {}, " -x", 0, false, retriesCheck,
     {"Retries Enabled", "Retries", "4"}},
}};

} // namespace

const std::array<OptionGroup, GroupCount> &optionGroups()
{
    return groups;
}

bool isListPosition(const OptionGroup &group, int position)
{
    return position >= -1 && position < qsizetype(group.entries.size());
}

QString notNumberWarning(const OptionGroup &group)
{
    return QStringLiteral("The '%1' is not a number. Option not used")
        .arg(QLatin1String(group.caption));
}

} // namespace ferncastle
