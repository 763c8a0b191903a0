#!/usr/bin/env bash
# Installs the Debian 12 packages that are missing for building and running
# Ferncastle ("run"), for building its Debian package ("package": dpkg-dev
# gives dpkg-shlibdeps, which works out the package's dependencies), or for
# its whole test suite, which also checks the package ("test").
set -euo pipefail

runtime=(cmake g++ make qt6-base-dev qt6-base-dev-tools zlib1g-dev fonts-liberation2 xterm)
packaging=(dpkg-dev file)
testing=(lintian appstream man-db xvfb xauth xdotool x11-utils imagemagick desktop-file-utils clang libclang-rt-14-dev)

packages=("${runtime[@]}")
case "${1:-run}" in
    package) packages+=("${packaging[@]}") ;;
    test) packages+=("${packaging[@]}" "${testing[@]}") ;;
esac

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
        || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
