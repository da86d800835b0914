# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# By hand because apt-get installs a tree's build dependencies, but not only
# when they are missing nor with the package's own: shared by run.sh and
# test.sh, with the CMake build they both make.

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

# apt_root WHY ARGS... — says why, then runs apt-get ARGS as root, without
# recommends and without questions; the package lists are updated once.
apt_root() {
    echo "as root, apt-get installs $1"
    shift
    local apt=(as_root env DEBIAN_FRONTEND=noninteractive apt-get -y -qq --no-install-recommends)
    [ -n "${APT_UPDATED:-}" ] || "${apt[@]}" update || return 1
    APT_UPDATED=yes
    "${apt[@]}" "$@" >/dev/null
}

# names "PKG [(VERSION)], ..." — the package names of a dependency list.
names() { sed -E 's/\([^)]*\)//g; s/,/ /g' <<<"$1"; }

# installed "PKG [(VERSION)], ..." — every package of the list is installed
# (versions are apt's to check when it installs).
installed() {
    local pkg
    for pkg in $(names "$1"); do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || return 1
    done
}

# package_depends — what the package depends on by name in debian/control:
# the faces and Qt's Wayland platform, which the program from build/ needs too.
package_depends() {
    awk '/^Package: velmora/ {p = 1} p && /^Depends:/ {d = 1; sub(/^Depends:/, "")}
        d && /^[A-Z]/ && !/^Depends:/ {d = 0} d && !/^#/ {printf "%s", $0}' \
        "$VELMORA_ROOT/debian/control" | sed -E 's/\$\{[^}]*\},?//g; s/, *$//'
}

# ensure_packages PROFILE [TOOLS] — installs what is missing of the build
# dependencies of debian/control under the build profile PROFILE (nocheck:
# without the tests'), of what the package depends on, and of TOOLS.
ensure_packages() {
    local profile=$1 depends
    depends=$(package_depends)${2:+, $2}
    command -v dpkg-checkbuilddeps >/dev/null &&
        dpkg-checkbuilddeps -P"$profile" "$VELMORA_ROOT/debian/control" 2>/dev/null ||
        apt_root "the build dependencies of debian/control (profile $profile)" \
            build-dep -P"$profile" "$VELMORA_ROOT" || return 1
    installed "$depends" || apt_root "$(names "$depends" | xargs)" install $(names "$depends")
}

# build DIR [CMAKE OPTIONS...] — configures (once) and builds; Release
# unless the options say otherwise.
build() {
    local dir=$1
    shift
    cmake -S "$VELMORA_ROOT" -B "$VELMORA_ROOT/$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
    cmake --build "$VELMORA_ROOT/$dir" -j2
}
