# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# What run.sh and test.sh share: the packages, which apt-get installs from
# debian/control when missing, and the CMake build they both make.

VELMORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# as_root COMMAND... — COMMAND as root: as it is when this is root, else
# through sudo.
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

# apt_get WHY ARGS... — apt-get ARGS as root, without recommends and without
# questions, unless its dry run, which needs no root, succeeds and installs
# nothing (on a fresh machine it fails: there are no package lists yet); says
# why first. The package lists are updated once.
apt_get() {
    local why=$1 plan apt=(env DEBIAN_FRONTEND=noninteractive apt-get -y -qq --no-install-recommends)
    shift
    if plan=$("${apt[@]}" --simulate "$@" 2>/dev/null) && ! grep -q '^Inst ' <<<"$plan"; then return 0; fi
    echo "as root, apt-get installs $why"
    [ -n "${APT_UPDATED:-}" ] || as_root "${apt[@]}" update || return 1
    APT_UPDATED=yes
    as_root "${apt[@]}" "$@" >/dev/null
}

# package_depends — what the package depends on by name in debian/control:
# the faces and Qt's Wayland platform, which the program from build/ needs
# too. Read by dpkg's own modules (dpkg-dev comes with build-essential).
package_depends() {
    perl -MDpkg::Control::Info -MDpkg::Deps -e '
        my $depends = Dpkg::Control::Info->new(shift)->get_pkg_by_name("velmora")->{Depends};
        print deps_parse($depends =~ s/\$\{[^}]+\}//gr)->output' "$VELMORA_ROOT/debian/control"
}

# ensure_packages PROFILES — what is missing of the build dependencies of
# debian/control under the build profiles PROFILES (nocheck: without the
# tests'), with build-essential, and of what the package depends on.
ensure_packages() {
    apt_get "the build dependencies of debian/control (profiles $1)" build-dep -P"$1" "$VELMORA_ROOT" &&
        apt_get "what the package depends on" satisfy "$(package_depends)"
}

# build DIR [CMAKE OPTIONS...] — configures (once) and builds; Release
# unless the options say otherwise.
build() {
    local dir=$1
    shift
    cmake -S "$VELMORA_ROOT" -B "$VELMORA_ROOT/$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
    cmake --build "$VELMORA_ROOT/$dir" -j2
}
