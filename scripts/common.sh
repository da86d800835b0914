# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Shared by run.sh and test.sh: installs the Debian packages that are missing
# and configures and builds into a build directory.

VELMORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# ensure_packages PKG... — installs with apt-get whatever of PKG is missing.
ensure_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# as_root COMMAND... — runs COMMAND as root: as it is when this is root, else
# through sudo. Only the package installs and the clean Debian roots need it.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        echo "this needs root, and there is no sudo here: run it as root, or install sudo" >&2
        return 1
    fi
}

# as_root_giving_back PATH... -- COMMAND... — as_root COMMAND; whatever it
# leaves at each PATH is given to the checkout's owner, however COMMAND ends.
as_root_giving_back() {
    local paths=()
    while [ "$1" != -- ]; do
        paths+=("$1")
        shift
    done
    shift
    as_root /bin/bash -c 'owner=$1 count=$2
        shift 2
        paths=("${@:1:count}")
        shift "$count"
        trap '\''chown -R "$owner" "${paths[@]}" 2>/dev/null'\'' EXIT
        "$@" &
        child=$!
        # a stop is passed on to COMMAND, which is waited for to its end
        trap "kill -TERM $child" INT TERM
        while wait "$child"; rc=$?; kill -0 "$child" 2>/dev/null; do :; done
        exit "$rc"' giving_back "$(checkout_owner)" "${#paths[@]}" "${paths[@]}" "$@"
}

# checkout_owner — user:group of the checkout, which every file that root
# leaves in it is given back to.
checkout_owner() { stat -c %u:%g "$VELMORA_ROOT"; }

# qt6-translations-l10n: Qt's German texts, built into the program.
BUILD_PACKAGES=(g++ make cmake qt6-base-dev libgl-dev fonts-liberation2 fonts-dejavu-core fonts-dejavu-extra
                qt6-translations-l10n)

# What test.sh needs on top: the test libraries, the browser for the page
# check, clang for the fuzz target and the two clang tools, the desktop entry
# and metainfo checkers and the icon drawer of the package check, and the
# maker of the clean Debian roots that the package is tried in and the other
# release is tested in, with mount, and ip, which gives that test a loopback of
# its own (a bare root has neither); a display, a D-Bus session and AT-SPI
# with its Python client for the screen reader check;
# GNOME's compositor with Xwayland and Qt's Wayland platform for the Wayland
# test; xdg-open, which starts the notification test's stand-in browser and
# file manager, with file, by which it tells a page from a folder; the Debian
# package build (dpkg-buildpackage, debhelper, and the compiler and make that
# build-essential names) and its checker lintian; the REUSE tool, which reads
# every file's copyright and licence.
TEST_PACKAGES=(libgtest-dev libbenchmark-dev chromium clang clang-tidy clang-format
               libclang-rt-dev desktop-file-utils appstream python3 mmdebstrap mount iproute2
               xvfb xauth dbus-x11 at-spi2-core python3-pyatspi
               mutter xwayland qt6-wayland dbus-daemon xdg-utils file
               dpkg-dev build-essential debhelper lintian reuse)

# this_release — the codename of the Debian release this machine runs.
this_release() { (. /etc/os-release && echo "${VERSION_CODENAME:-}"); }

# build DIR [CMAKE OPTIONS...] — configures (once) and builds.
build() {
    local dir=$1
    shift
    cmake -S "$VELMORA_ROOT" -B "$VELMORA_ROOT/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$VELMORA_ROOT/$dir" -j2
}

# The two builds that test.sh checks, on this machine and in the other
# release's root. The options are named, so a build/ that ./run.sh configured
# without tests gets them back; our own builds treat warnings as errors.
build_for_tests() {
    build build -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DVELMORA_WERROR=ON \
        -DVELMORA_BUILD_UI=ON -DVELMORA_BUILD_TESTS=ON -DVELMORA_BUILD_BENCH=ON
}
# A Release build (-O3), where the compiler sees other things than in the
# build above.
build_release() {
    build build-release -DCMAKE_BUILD_TYPE=Release -DVELMORA_WERROR=ON \
        -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=OFF
}
