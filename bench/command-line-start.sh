#!/usr/bin/env bash
# Times whole command-line processes side by side, as a script over hundreds
# of images runs them: ferncastle --info and --files on a 1 MB 80-track
# two-sided DMK that holds a full LS-DOS directory, against dmk2jv3 -v2 on
# the same image when it is on PATH (or named by DMK2JV3), against a trivial
# C program that only reads the image (the floor of any process start), and
# against a bare Qt Core program that reads it (the floor of any Qt program).
# Prints the median wall time and CPU time of each, and the ratios of
# ferncastle's to dmk2jv3's (or to the C floor's when dmk2jv3 is missing).
# On a loaded machine the wall time mostly measures the wait for a core; the
# CPU time hardly moves.
#
# Usage: bench/command-line-start.sh [RUNS] [BUILD_DIR]
set -euo pipefail

runs=${1:-41}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --build "$build" -j2 --target ferncastle ferncastle_dosdirbench >/dev/null
image=$work/full-ds80.dmk
"$build/bench/ferncastle_dosdirbench" 1 "$image" >/dev/null

cat > "$work/floor.c" <<'EOF'
#include <stdio.h>
int main(int argc, char **argv)
{
    char buffer[65536];
    size_t total = 0, n;
    FILE *f = fopen(argv[1], "rb");
    while (f && (n = fread(buffer, 1, sizeof buffer, f)) > 0)
        total += n;
    printf("%zu\n", total);
    return 0;
}
EOF
cc -O2 -o "$work/c-floor" "$work/floor.c"
cat > "$work/qtfloor.cpp" <<'EOF'
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QFile file(QString::fromLocal8Bit(argv[1]));
    file.open(QIODevice::ReadOnly);
    std::printf("%lld\n", static_cast<long long>(file.readAll().size()));
    return 0;
}
EOF
# Runs a command RUNS times after one warm-up and prints the median wall
# and CPU (user + system, from wait4) times in milliseconds.
cat > "$work/runner.c" <<'EOF'
#include <stdio.h>
#include <stdlib.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>
#include <sys/resource.h>
#include <sys/wait.h>
static int less(const void *a, const void *b)
{
    double x = *(const double *)a, y = *(const double *)b;
    return (x > y) - (x < y);
}
int main(int argc, char **argv)
{
    int runs = argc > 2 ? atoi(argv[1]) : 0;
    if (runs < 1)
        return 2;
    double *wall = calloc(runs, sizeof *wall), *cpu = calloc(runs, sizeof *cpu);
    for (int i = 0; i <= runs; i++) {
        struct timespec a, b;
        struct rusage use;
        int status;
        clock_gettime(CLOCK_MONOTONIC, &a);
        pid_t pid = fork();
        if (pid == 0) {
            int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            execv(argv[2], argv + 2);
            _exit(127);
        }
        wait4(pid, &status, 0, &use);
        clock_gettime(CLOCK_MONOTONIC, &b);
        if (i == 0)
            continue; /* the warm-up */
        wall[i - 1] = (b.tv_sec - a.tv_sec) * 1e3 + (b.tv_nsec - a.tv_nsec) / 1e6;
        cpu[i - 1] = (use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1e3
                     + (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e3;
    }
    qsort(wall, runs, sizeof *wall, less);
    qsort(cpu, runs, sizeof *cpu, less);
    printf("%.1f %.1f\n", wall[runs / 2], cpu[runs / 2]);
    return 0;
}
EOF
cc -O2 -o "$work/runner" "$work/runner.c"
measure() {
    "$work/runner" "$runs" "$@"
}
qtfloor=""
if c++ -O2 -fPIC -o "$work/qt-floor" "$work/qtfloor.cpp" \
       $(pkg-config --cflags --libs Qt6Core 2>/dev/null) 2>/dev/null; then
    qtfloor=$work/qt-floor
fi
dmk2jv3=${DMK2JV3:-$(command -v dmk2jv3 || true)}

report() {
    printf '%-34s %9s ms wall %9s ms CPU\n' "$1" "$2" "$3"
}
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
read -r info_wall info_cpu < <(measure "$build/src/ferncastle" --info "$image")
read -r files_wall files_cpu < <(measure "$build/src/ferncastle" --files "$image")
read -r c_wall c_cpu < <(measure "$work/c-floor" "$image")
report "ferncastle --info" "$info_wall" "$info_cpu"
report "ferncastle --files" "$files_wall" "$files_cpu"
if [ -n "$qtfloor" ]; then
    read -r qt_wall qt_cpu < <(measure "$qtfloor" "$image")
    report "bare Qt Core program" "$qt_wall" "$qt_cpu"
fi
report "trivial C program" "$c_wall" "$c_cpu"
base_name="the trivial C program"
base_wall=$c_wall
if [ -n "$dmk2jv3" ]; then
    read -r base_wall base_cpu < <(measure "$dmk2jv3" -v2 "$image" "$work/out.dsk")
    report "dmk2jv3 -v2" "$base_wall" "$base_cpu"
    base_name="dmk2jv3 -v2"
else
    echo "dmk2jv3 is not installed here (set DMK2JV3 to its path); ratios are to the C floor."
fi
awk -v i="$info_wall" -v f="$files_wall" -v b="$base_wall" -v n="$base_name" 'BEGIN {
    printf "wall-time ratio to %s: --info %.2fx, --files %.2fx (target 1.5x)\n", n, i / b, f / b }'
