#!/usr/bin/env bash
# Builds the Debian package ferncastle_<version>_<arch>.deb: a build with
# Debian's hardening flags, packed by CPack, its dependencies worked out by
# dpkg-shlibdeps. Installs what is missing first, unless told not to.
#
# Usage: scripts/package.sh [--no-install-deps] [BUILD_DIR]
#   BUILD_DIR defaults to build/package; the package is written there.
set -euo pipefail
cd "$(dirname "$0")/.."

install_deps=yes
if [[ ${1:-} == --no-install-deps ]]; then
    install_deps=no
    shift
fi
build=${1:-build/package}
[[ $install_deps == yes ]] && bash scripts/install-deps.sh package

# The flags every Debian package is built with (optimisation, stack
# protector, fortified string functions, read-only relocations), with all of
# the hardening, so the relocations are bound at start and then read-only
# too. CMake has no place for CPPFLAGS, so they go with the compiler flags.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# Build type None: the optimisation comes from Debian's flags alone.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=None -DBUILD_TESTING=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" \
    "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/ferncastle_*.deb
(cd "$build" && cpack -G DEB >/dev/null 2>cpack.log) || {
    cat "$build/cpack.log" >&2
    exit 1
}

deb=$(ls "$build"/ferncastle_*.deb)
echo "Built $deb"
