// Times the main window's live preview: building a tool button's command
// line, with "<file>" for the file not yet chosen and every warning, by the
// same call that starts the run. Run: <build>/bench/ferncastle_previewbuild
// Prints the median of 15 rounds of 10,000 builds; exits 1 above 100 ms.

#include "core/tools/toolrun.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace ferncastle;

namespace {

constexpr int buildsPerRound = 10000;
constexpr int rounds = 15;

// Every group ticked, as a user who sets everything would leave them.
RunInputs everyGroupTicked(const char *tracks, const char *port)
{
    RunInputs inputs;
    for (GroupState &group : inputs.options.groups)
        group = {Ticked, 1, {}};
    inputs.options.groups[Port].text = QString::fromLatin1(port);
    inputs.options.groups[Tracks].text = QString::fromLatin1(tracks);
    inputs.options.groups[Retries].text = QStringLiteral("10");
    inputs.options.extraParms = QStringLiteral("-v 3 -u \"read log.txt\" -j");
    inputs.optionalParms = QStringLiteral("-v 1");
    inputs.toolsFolder = QStringLiteral("/usr/local/bin/");
    return inputs;
}

// Milliseconds for one round, the four buttons in turn.
double round(const RunInputs &inputs, qsizetype &checksum)
{
    const QString file = QLatin1String(unchosenFile);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < buildsPerRound; ++i) {
        const PlannedRun run = planToolRun(ToolActionId(i % ToolActionCount), inputs, file);
        checksum += run.command.commandLine.size() + run.warnings.size();
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(const RunInputs &inputs, qsizetype &checksum)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i)
        times.push_back(round(inputs, checksum));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main()
{
    qsizetype checksum = 0;
    const double clean = median(everyGroupTicked("40", "0x320"), checksum);
    const double warned = median(everyGroupTicked("040.5x", "12"), checksum);
    std::printf("%d preview builds, median of %d rounds: %.1f ms; with two warnings: %.1f ms "
                "(checksum %lld)\n",
                buildsPerRound, rounds, clean, warned, static_cast<long long>(checksum));
    return std::max(clean, warned) < 100.0 ? 0 : 1;
}
