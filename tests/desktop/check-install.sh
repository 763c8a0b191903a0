#!/bin/sh
# Installs the build into a scratch prefix and checks that it lands as a
# desktop program should: the binary, a valid menu entry whose Exec and Icon
# name what was installed, the icon in the hicolor sizes, valid AppStream
# data, a manual page that renders cleanly, the documentation, and nothing
# else.
#
# Usage: check-install.sh CMAKE BUILD_DIR CONFIG VERSION
# Exits 77 (reported as skipped) when desktop-file-validate, appstreamcli or
# man is missing.
set -eu

cmake=$1 build=$2 config=$3 version=$4

for tool in desktop-file-validate:desktop-file-utils appstreamcli:appstream man:man-db; do
    if ! command -v "${tool%%:*}" >/dev/null 2>&1; then
        echo "${tool%%:*} not found (Debian package ${tool#*:})"
        exit 77
    fi
done

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --config "$config" --prefix "$prefix" >/dev/null

status=0
fail() {
    echo "FAIL: $*"
    status=1
}

id=org.larkvale.ferncastle
sizes="16 32 48 64 128"
desktop=share/applications/$id.desktop
metainfo=share/metainfo/$id.metainfo.xml
manpage=share/man/man1/ferncastle.1.gz
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)
expected="bin/ferncastle
lib/$multiarch/ferncastle/ferncastle-windows.so
$desktop
$metainfo
$manpage
share/doc/ferncastle/README.md
share/doc/ferncastle/docs/main-window.png
share/doc/ferncastle/copyright
share/doc/ferncastle/changelog.gz
$(for size in $sizes; do echo "share/icons/hicolor/${size}x$size/apps/ferncastle.png"; done)"
installed=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$installed" = "$(printf '%s\n' "$expected" | LC_ALL=C sort)" ] ||
    fail "installed files differ from the expected set:
$installed"

[ -x "$prefix/bin/ferncastle" ] || fail "bin/ferncastle is not executable"

# desktop-file-validate exits 0 on warnings and hints; clean means silent.
report=$(desktop-file-validate "$prefix/$desktop" 2>&1) || fail "desktop-file-validate failed"
[ -z "$report" ] || fail "desktop-file-validate: $report"

entry() { sed -n "s/^$1=//p" "$prefix/$desktop"; }
[ -x "$prefix/bin/$(entry Exec | cut -d' ' -f1)" ] || fail "Exec names no installed binary"
for size in $sizes; do
    png="$prefix/share/icons/hicolor/${size}x$size/apps/$(entry Icon).png"
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    dimensions=$(od -An -tu1 -j16 -N8 "$png" 2>/dev/null | awk '{
        print (($1 * 256 + $2) * 256 + $3) * 256 + $4 "x" (($5 * 256 + $6) * 256 + $7) * 256 + $8
    }')
    [ "$dimensions" = "${size}x$size" ] || fail "icon for $size is '$dimensions'"
done

# Both exit 0 on notes they only print; clean means silent.
report=$(appstreamcli validate --no-net --pedantic "$prefix/$metainfo" 2>&1) ||
    fail "appstreamcli validate: $report"
! printf '%s\n' "$report" | grep -q '^[EWIP]: ' || fail "appstreamcli validate: $report"
# In a locale the system lacks, man would warn about that, not the page.
report=$(LC_ALL=C.UTF-8 man --warnings -l "$prefix/$manpage" 2>&1 >/dev/null) || fail "man failed: $report"
[ -z "$report" ] || fail "man --warnings: $report"

# The installed binary runs on its own, without the build tree or a display.
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/ferncastle" --version) ||
    fail "installed binary: --version failed"
[ "$answer" = "Ferncastle $version" ] || fail "installed binary: --version said '$answer'"

# The installed program finds its windows module: an option it does not know
# is answered there, once the windows' application exists.
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$prefix/config" \
         "$prefix/bin/ferncastle" --bogus 2>&1) && fail "installed binary: --bogus was accepted"
case $answer in
*"Unknown option 'bogus'"*) ;;
*) fail "installed binary: the windows module did not answer --bogus: $answer" ;;
esac

[ "$status" -eq 0 ] && echo "install layout OK"
exit "$status"
