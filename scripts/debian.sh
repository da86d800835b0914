# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# By hand only whom Debian's tools run as and where their roots are cached,
# which no tool decides for them: the stages of test.sh where sbuild, lintian,
# autopkgtest, mmdebstrap and reprotest work on Debian 12 and 13, from either.
# Needs scripts/common.sh.

RELEASES=(bookworm trixie)

# Unshare mode wants a user with subordinate ids: whoever runs ./test.sh, or,
# for root, for whom autopkgtest-virt-unshare fails, a user of its own.
if [ "$(id -u)" -eq 0 ]; then BUILDER=velmora-build; else BUILDER=$(id -un); fi
# builder_paths — BUILDER's home, its cache of roots and its work folder.
builder_paths() {
    BUILDER_HOME=$(getent passwd "$BUILDER" | cut -d: -f6)
    CACHE=${BUILDER_HOME:-/nonexistent}/.cache/sbuild
    WORK=${BUILDER_HOME:-/nonexistent}/velmora-debian
    [ "$BUILDER" = velmora-build ] || WORK=$VELMORA_ROOT/build-debian
}
builder_paths
# The roots live in memory where there is room: dpkg takes half the time there.
[ "$(df -k --output=avail /dev/shm 2>/dev/null | tail -1)" -gt $((8 << 20)) ] 2>/dev/null &&
    export TMPDIR=/dev/shm

# as_builder COMMAND... — COMMAND as BUILDER, in its home and its umask.
as_builder() {
    if [ "$(id -un)" = "$BUILDER" ]; then (umask 022 && "$@"); else
        # From its home, since root's working folder may be closed to it, and
        # with a plain PATH: root's may name folders the user cannot enter,
        # where a missing program is then "Permission denied", not "not found".
        runuser -u "$BUILDER" -- env -u XDG_CACHE_HOME HOME="$BUILDER_HOME" \
            PATH=/usr/local/bin:/usr/bin:/bin sh -c 'cd && umask 022 && exec "$@"' as_builder "$@"
    fi
}

# prepare_builder — BUILDER exists, has subordinate ids and may use FUSE
# (reprotest varies the file order with disorderfs); says what it changes.
prepare_builder() {
    if ! getent passwd "$BUILDER" >/dev/null; then
        echo "as root: useradd -m $BUILDER, the user who builds and tests in Debian roots"
        useradd -m -s /bin/bash "$BUILDER" || return 1
        builder_paths
    fi
    local id kind
    for kind in uid gid; do
        grep -q "^$BUILDER:" "/etc/sub$kind" 2>/dev/null && continue
        id=$(cat "/etc/sub$kind" 2>/dev/null | awk -F: 'BEGIN { m = 100000 } $2 + $3 > m { m = $2 + $3 } END { print m }')
        echo "as root: usermod --add-sub${kind}s $id-$((id + 65535)) $BUILDER, for unshare mode"
        as_root usermod "--add-sub${kind}s" "$id-$((id + 65535))" "$BUILDER" || return 1
    done
    # udev gives every user FUSE on a desktop; a container may not
    if [ -c /dev/fuse ] && ! as_builder test -w /dev/fuse; then
        echo "as root: chmod 666 /dev/fuse, as udev leaves it on a desktop"
        as_root chmod 666 /dev/fuse || return 1
    fi
    as_builder mkdir -p "$CACHE" "$WORK"
}

# logged LOG COMMAND... — COMMAND as BUILDER, its output in LOG, which BUILDER
# opens (a tool that writes to /dev/stderr by name may not reopen root's file).
logged() { as_builder sh -c 'exec "$@" >"$0" 2>&1' "$@"; }

# root_tarball RELEASE [autopkgtest] — the cached root of RELEASE, made once
# by mmdebstrap: for sbuild, or for autopkgtest, which needs apt's lists and
# apt-utils in it.
root_tarball() {
    local file=$CACHE/$1-amd64${2:+-$2}.tar.zst options=(--variant=buildd)
    [ -z "${2:-}" ] || options=(--variant=apt --include=apt-utils --skip=cleanup/apt/lists)
    # made under another name and renamed when whole: a run stopped half way
    # leaves no cut root behind for the next (mmdebstrap reads the format from
    # the name's end)
    local partial=${file%.tar.zst}.partial.tar.zst
    if [ ! -s "$file" ]; then
        as_builder mmdebstrap --quiet --mode=unshare "${options[@]}" "$1" "$partial" &&
            as_builder mv "$partial" "$file" || return 1
    fi
    echo "$file"
}

# source_package — the source package that a packager uploads, from the
# tracked and the new, not ignored files of the working tree (without those
# deleted there, which tar passes over).
source_package() {
    as_builder rm -rf "$WORK" # what an earlier run left
    as_builder mkdir -p "$WORK/src" &&
        (cd "$VELMORA_ROOT" && git ls-files -z -co --exclude-standard |
            tar --null -T - --ignore-failed-read --warning=no-failed-read -cf -) |
        as_builder tar -xf - -C "$WORK/src" || return 1
    as_builder env -C "$WORK" dpkg-source --build src | tail -3
}

# sbuild_release RELEASE [nocheck] — sbuild builds the source package in a
# clean root of RELEASE, warnings as errors, runs the tests without the labels
# "desktop" and "server" (not with nocheck) and lintian, which must find no
# error and no warning (scripts/sbuild.conf). The preview's helper, whose Qt
# WebEngine is some 250 MB in the root, is built for the older release only.
sbuild_release() {
    local rc=0 profiles=pkg.velmora.werror options="parallel=2"
    [ "${2:-}" != nocheck ] || profiles+=,nocheck options="nocheck $options"
    [ "$1" = "${RELEASES[0]}" ] || profiles+=,pkg.velmora.nopreview
    root_tarball "$1" >/dev/null && as_builder mkdir -p "$WORK/$1" || return 1
    as_builder env SBUILD_CONFIG="$WORK/src/scripts/sbuild.conf" DEB_BUILD_OPTIONS="$options" \
        sbuild --build-dir="$WORK/$1" --chroot="$1-amd64" --profiles="$profiles" \
        "$WORK"/velmora_*.dsc >/dev/null || rc=$?
    grep -E '^(Status|Lintian|Build-Time):|tests passed|^[EW]: velmora' "$WORK/$1"/velmora_*_amd64.build
    [ $rc -eq 0 ] || echo "sbuild failed; its log: $(ls "$WORK/$1"/velmora_*_amd64.build)"
    return $rc
}

# autopkgtest_release BUILT_ON RELEASE [--test-name=TEST...] — debian/tests
# (or TEST...) on BUILT_ON's packages, installed with only their Depends in a
# clean root of RELEASE; the test of the preview where sbuild_release built it.
autopkgtest_release() {
    local preview=--skip-test=preview
    [ "$1" != "${RELEASES[0]}" ] || preview=$(ls "$WORK/$1"/velmora-preview_*.deb) || return 1
    tested "$1-on-$2" "$2" "${@:3}" "$preview" "$(ls "$WORK/$1"/velmora_*.deb)" "$WORK/src/"
}

# style_release RELEASE --test-name=TEST... — tests of tests/style/control by
# autopkgtest in a clean root of RELEASE: that release's clang-format and
# REUSE tool (check), its clang-tidy (tidy) over the sources.
style_release() {
    # the build dependencies without Qt WebEngine's, some 250 MB in the root
    DEB_BUILD_PROFILES=pkg.velmora.nopreview tested "style-on-$1" "$1" --no-built-binaries \
        --override-control="$WORK/src/tests/style/control" "${@:2}" "$WORK/src/"
}

# tested NAME RELEASE AUTOPKGTEST-ARGUMENTS... — autopkgtest in a clean root of
# RELEASE; shows what each test printed and the results, keeps its log and
# all else in WORK/NAME.
tested() {
    local out=$WORK/$1 tarball rc=0
    tarball=$(root_tarball "$2" autopkgtest) && as_builder rm -rf "$out" || return 1
    as_builder autopkgtest --output-dir="$out" --setup-commands='apt-get update -qq' \
        "${@:3}" -- unshare --release "$2" --tarball "$tarball" >/dev/null 2>&1 || rc=$?
    cat "$out"/*-stdout "$out/summary" 2>/dev/null
    [ $rc -eq 0 ] || { tail -20 "$out/log"; echo "autopkgtest failed (exit $rc); its log: $out/log"; }
    return $rc
}

# refused_on_older — autopkgtest in a clean root of the older release finds
# the newer release's package not installable (exit 12), apt naming what it
# lacks, instead of installing what cannot start.
refused_on_older() {
    local rc=0
    tested refused "${RELEASES[0]}" --test-name=purge "$(ls "$WORK/${RELEASES[1]}"/velmora_*.deb)" \
        "$WORK/src/" >/dev/null || rc=$?
    [ $rc -eq 12 ] ||
        { echo "autopkgtest: exit $rc, not 12 (cannot install); its log: $WORK/refused/log"; return 1; }
    grep -E '^ *velmora : Depends:|^ +Depends:' "$WORK/refused/log" || { tail -20 "$WORK/refused/log"; return 1; }
}

# reproducible — reprotest builds twice as its preset for a Debian source
# tree does (dpkg-buildpackage, here without the tests and the preview's
# helper, which the older release's sbuild builds), the second time in
# another build path, time, time zone, umask, locale, file order and more (not
# the user), and compares; diffoscope's report of a difference goes into the log.
reproducible() {
    local log=$WORK/reprotest.log rc=0
    logged "$log" env DEB_BUILD_OPTIONS="nocheck parallel=2" DEB_BUILD_PROFILES="nocheck pkg.velmora.nopreview" \
        reprotest --verbosity=1 --vary=-user_group,-domain_host --min-cpus=2 \
        --store-dir="$WORK/reprotest" "$WORK/src" -- null || rc=$?
    grep -E 'variation:|^build "experiment|Reproduction|^[0-9a-f]{64} ' "$log" | sed 's/^INFO:reprotest[.a-z]*://'
    [ $rc -eq 0 ] || { tail -40 "$log"; echo "reprotest: not reproducible (exit $rc); its log and diffoscope's report: $log"; }
    return $rc
}
