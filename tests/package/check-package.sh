#!/usr/bin/env bash
# Builds the Debian package with scripts/package.sh and checks it as a
# distribution would: its control data and dependencies, every file in its
# place with root ownership, lintian, the AppStream data, and the unpacked
# tree: the menu entry, the manual page, and a binary that runs. Nothing is
# installed on the machine; the package is unpacked into a scratch folder.
#
# Usage: check-package.sh SOURCE_DIR BUILD_DIR VERSION
# Exits 77 (reported as skipped) when a tool it needs is missing.
set -euo pipefail

source_dir=$1 build=$2 version=$3

for tool in dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev file:file lintian:lintian \
    appstreamcli:appstream desktop-file-validate:desktop-file-utils man:man-db; do
    if ! command -v "${tool%%:*}" >/dev/null 2>&1; then
        echo "SKIP: ${tool%%:*} not found (Debian package ${tool#*:})"
        exit 77
    fi
done

status=0
fail() {
    echo "FAIL: $*"
    status=1
}

bash "$source_dir/scripts/package.sh" --no-install-deps "$build" >"$build.log" 2>&1 || {
    cat "$build.log"
    echo "FAIL: scripts/package.sh failed"
    exit 1
}
deb=$build/ferncastle_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || { echo "FAIL: no $deb"; ls "$build"/*.deb; exit 1; }

# --- control data ------------------------------------------------------------

field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == ferncastle ]] || fail "Package is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "Version is '$(field Version)'"
[[ -n $(field Maintainer) ]] || fail "no Maintainer"
# The binary links Qt's widgets, the C++ library and libc: dpkg-shlibdeps
# must have found each of them, with a least version.
depends=$(field Depends)
for library in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6; do
    [[ ", $depends" == *", $library (>= "* ]] ||
        fail "Depends lacks $library: $depends"
done
# The root-rights fix needs pkexec, the terminal runs need a terminal.
suggests=$(field Suggests)
for suggested in x-terminal-emulator pkexec; do
    [[ ", $suggests" == *", $suggested"* ]] || fail "Suggests lacks $suggested: $suggests"
done

# --- contents ------------------------------------------------------------------

id=org.larkvale.ferncastle
doc=usr/share/doc/ferncastle
expected="usr/bin/ferncastle 755
usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)/ferncastle/ferncastle-windows.so 644
usr/share/applications/$id.desktop 644
usr/share/metainfo/$id.metainfo.xml 644
usr/share/man/man1/ferncastle.1.gz 644
$doc/README.md 644
$doc/docs/main-window.png 644
$doc/copyright 644
$doc/changelog.gz 644
$(for size in 16 32 48 64 128; do
    echo "usr/share/icons/hicolor/${size}x$size/apps/ferncastle.png 644"
done)"
# Each file with its mode in octal, as dpkg will install it.
contents=$(dpkg-deb --fsys-tarfile "$deb" |
    tar -tvf - --numeric-owner | awk '
        $1 ~ /^d/ { next }
        $2 != "0/0" { print "owner " $2 " " $6 }
        {
            mode = 0
            for (i = 2; i <= 10; i++) mode = mode * 2 + (substr($1, i, 1) != "-")
            printf "%s %o\n", substr($6, 3), mode
        }' | LC_ALL=C sort)
[[ $contents == "$(LC_ALL=C sort <<<"$expected")" ]] ||
    fail "package contents differ from the expected set:"$'\n'"$contents"

# --- lintian -----------------------------------------------------------------------

# No errors; every other tag it shows must be one the README explains.
lintian_report=$(lintian --display-level '>=pedantic' "$deb" 2>&1 |
    grep -v '^running with root privileges' || true)
echo "lintian:"$'\n'"$lintian_report"
grep -q '^E: ' <<<"$lintian_report" && fail "lintian reports errors"
for tag in $(sed -n 's/^[WIPX]: ferncastle[^:]*: \([a-z0-9-]*\).*/\1/p' <<<"$lintian_report"); do
    grep -q "\`$tag\`" "$source_dir/README.md" || fail "lintian tag $tag is not explained in README.md"
done

# --- the unpacked tree ---------------------------------------------------------

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

# validate-tree also checks that the launchable desktop file is there.
report=$(appstreamcli validate-tree --no-net --pedantic "$root" 2>&1) ||
    fail "appstreamcli validate-tree: $report"
! grep -q '^ *[EWIP]: ' <<<"$report" || fail "appstreamcli validate-tree: $report"

report=$(desktop-file-validate "$root/usr/share/applications/$id.desktop" 2>&1) ||
    fail "desktop-file-validate failed"
[[ -z $report ]] || fail "desktop-file-validate: $report"

# Debian policy: gzip -9, with neither a name nor a time stamp in the header
# (bytes 3 to 7 zero: no flags, no time), so that builds are reproducible.
for gz in usr/share/man/man1/ferncastle.1.gz $doc/changelog.gz; do
    header=$(od -An -tu1 -N9 "$root/$gz" | xargs)
    [[ $header == "31 139 8 0 0 0 0 0 2" ]] || fail "$gz header is '$header', not gzip -9n"
done
# In a locale the system lacks, man would warn about that, not the page.
report=$(LC_ALL=C.UTF-8 man --warnings -l "$root/usr/share/man/man1/ferncastle.1.gz" 2>&1 >/dev/null) ||
    fail "man failed: $report"
[[ -z $report ]] || fail "man --warnings: $report"

# The installed binary finds Qt on the system, and needs no display.
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/ferncastle" --version) ||
    fail "installed binary: --version failed"
[[ $answer == "Ferncastle $version" ]] || fail "installed binary: --version said '$answer'"

((status == 0)) && echo "package $(basename "$deb") OK"
exit "$status"
