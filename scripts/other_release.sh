# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The stage of test.sh that covers the Debian release this machine does not
# run: on Debian 12 a clean Debian 13 root, on Debian 13 a clean Debian 12
# root. In it, apt installs what ./test.sh installs, the working tree is built
# with warnings as errors and every test runs, with that release's compiler,
# Qt, Google Benchmark, clang-tidy, clang-format and reuse; its Debian package is
# built and left in build-other/package for the clean-root check.
# Needs scripts/common.sh and scripts/stages.sh first.

# other_release — the codename of the release to test besides this machine's.
other_release() {
    local codename
    codename=$(this_release)
    case $codename in
    bookworm) echo trixie ;;
    trixie) echo bookworm ;;
    *)
        echo "this machine runs '${codename:-an unnamed release}', not Debian 12 or 13:" \
            "no other release to test" >&2
        return 1
        ;;
    esac
}

# in_root ROOT NETWORK COMMAND... — runs COMMAND as root in the directory root
# ROOT, in a mount and a PID namespace of its own: /proc, /sys, /dev,
# /dev/pts and a fresh /dev/shm are mounted there only, and both the mounts
# and every process COMMAND leaves behind end with it. NETWORK is "machine"
# (apt reaches Debian) or "none": a network namespace with only loopback, so
# that the X servers of the tests cannot meet the machine's through abstract
# sockets.
in_root() {
    local root=$1 network=$2
    shift 2
    local namespaces=(--mount --propagation unchanged --pid --fork --kill-child)
    [ "$network" = none ] && namespaces+=(--net)
    NETWORK=$network unshare "${namespaces[@]}" /bin/bash -c '
        set -e
        root=$1
        shift
        # Nothing mounted here may reach the machine. In a chroot "/" is no
        # mount point; there the mount that holds the root is made private.
        mount --make-rprivate / 2>/dev/null ||
            mount --make-rprivate "$(findmnt -n -o TARGET -T "$root")"
        [ "$NETWORK" = none ] && ip link set lo up
        mount -t proc proc "$root/proc"
        mount --rbind /sys "$root/sys"
        mount --bind /dev "$root/dev"
        mount --bind /dev/pts "$root/dev/pts"
        mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
        exec chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
            PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
    ' in_root "$root" "$@"
}

# leave_root ROOT — undoes whatever is still mounted below ROOT (deepest
# first), ends any process still running in it, and removes it.
leave_root() {
    local root=$1 pid mounts
    for pid in /proc/[0-9]*; do
        [ "$(readlink "$pid/root" 2>/dev/null)" = "$root" ] || continue
        echo "ending process ${pid#/proc/} that outlived the root: $(tr '\0' ' ' <"$pid/cmdline")"
        kill -KILL "${pid#/proc/}" 2>/dev/null || true
    done
    mapfile -t mounts < <(findmnt -rn -o TARGET | grep -F "$root/" | sort -r)
    for pid in "${mounts[@]}"; do umount -l "$pid" || true; done
    # a bind of /dev left in place must stop the removal, not feed it
    rm -rf --one-file-system "$root"
}

# root_place — where the root is made: in memory when there is room, which
# made it and its package installs about three times as fast as on disk.
root_place() {
    # KiB: the Debian 13 root with every package and the three builds took
    # 2.6 GiB; the compilers, Chromium and the tests want memory beside it.
    local needed=$((4 * 1024 * 1024))
    if [ -w /dev/shm ] && [ "$(df -k --output=avail /dev/shm | tail -1)" -gt "$needed" ] &&
        [ "$(awk '/^MemAvailable:/ {print $2}' /proc/meminfo)" -gt $((needed * 2)) ]; then
        echo /dev/shm
    else
        echo "${TMPDIR:-/tmp}"
    fi
}

# check_other_release — the stage: makes a clean root of the other release
# with mmdebstrap, installs there what ./test.sh installs (with the project's
# own ensure_packages, so the package lists are tried too), and runs
# test_in_other_release in it on a copy of the working tree. Leaves the
# Debian package in build-other/package and the root's codename in
# build-other/release, the whole log in build-other/other-release.log. Making
# and entering the root needs root, through sudo for a user (other_release_as_root);
# the working tree is read as its user, since git refuses root a checkout of
# another's. Needs the network: without it the stage fails.
check_other_release() {
    local release out
    release=$(other_release) || return 1
    as_root true || return 1
    out=$VELMORA_ROOT/build-other
    # a run as root may have left it
    [ -O "$out" ] || [ ! -e "$out" ] || as_root rm -rf "$out" || return 1
    rm -rf "$out"
    mkdir -p "$out/package"
    archive_tree "$out/tree.tar" || { echo "the working tree could not be copied"; return 1; }
    as_root /bin/bash -c 'source "$1/scripts/common.sh" && source "$1/scripts/stages.sh" &&
        source "$1/scripts/other_release.sh" && other_release_as_root "$2" "$3"' \
        other_release "$VELMORA_ROOT" "$release" "$(checkout_owner)"
}

# other_release_as_root RELEASE OWNER — check_other_release's part as root;
# every file it leaves in build-other is given to OWNER (user:group), and no
# root, mount or process is left behind, however it ends.
other_release_as_root() (
    set +e
    local release=$1 owner=$2 out=$VELMORA_ROOT/build-other root rc=0
    SECONDS=0
    root=$(mktemp -d "$(root_place)/velmora-$release.XXXXXX") || return 1
    trap 'leave_root "$root"; rm -f "$out/tree.tar"; chown -R "$owner" "$out"' EXIT
    trap 'echo "stopped"; kill -KILL "$INTERRUPTIBLE" 2>/dev/null; exit 130' INT TERM
    echo "a clean Debian $release root in $root"
    if ! interruptible mmdebstrap --variant=apt --quiet --dpkgopt=force-unsafe-io \
        --aptopt='Acquire::Retries "3"' "$release" "$root" >"$out/mmdebstrap.log" 2>&1; then
        tail -20 "$out/mmdebstrap.log"
        echo "mmdebstrap made no $release root (no network?)"
        return 1
    fi
    echo "root made in $SECONDS s"
    mkdir -p "$root/root/velmora" && tar -C "$root/root/velmora" -xf "$out/tree.tar" ||
        { echo "the working tree could not be copied into the root"; return 1; }
    if ! interruptible in_root "$root" machine /bin/bash -c 'cd /root/velmora &&
            source scripts/common.sh && ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"' \
        >"$out/packages.log" 2>&1; then
        tail -30 "$out/packages.log"
        echo "the packages did not install on $release (no network, or a name $release lacks?)"
        return 1
    fi
    echo "what ./test.sh installs installed there, $SECONDS s from the start"
    interruptible in_root "$root" none /bin/bash -c 'cd /root/velmora && source scripts/common.sh &&
            source scripts/stages.sh && source scripts/other_release.sh && test_in_other_release' \
        > >(tee "$out/other-release.log") 2>&1
    rc=$?
    cp "$root"/root/velmora/build-release/package/velmora_*.deb "$out/package/" 2>/dev/null ||
        { echo "no Debian package was built on $release"; rc=1; }
    cp "$root/root/velmora/build/Testing/Temporary/LastTest.log" "$out/" 2>/dev/null
    echo "$release" >"$out/release"
    return $rc
)

# interruptible COMMAND... — runs COMMAND so that a signal this shell traps
# is handled at once, not when COMMAND ends (bash holds a trap back while it
# waits for a command in the foreground, but not in `wait`). The trap ends it
# by its process id, INTERRUPTIBLE, with SIGKILL: unshare --fork ignores
# SIGINT and SIGTERM, and its child dies with it.
interruptible() {
    "$@" &
    INTERRUPTIBLE=$!
    wait "$INTERRUPTIBLE"
}

# quietly LOG COMMAND... — runs COMMAND with its output in LOG, and shows its
# errors and last lines when it fails.
quietly() {
    local log=$1
    shift
    "$@" >"$log" 2>&1 && return 0
    grep -E 'error|Error' "$log" | head -40
    tail -15 "$log"
    return 1
}

# tidy_other_release — clang-tidy over the build and the fuzz target, which
# is only configured here: clang-tidy needs no more than its compile commands.
tidy_other_release() {
    CXX=clang++ cmake -S "$VELMORA_ROOT/fuzz" -B "$VELMORA_ROOT/build-fuzz" \
        -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
    run_clang_tidy build build-fuzz
}

# test_in_other_release — runs inside the root of the other release, in the
# copied tree: what ./test.sh builds and checks there, less the sanitizer
# build, the fuzz run and the package checks that test.sh makes on this
# machine. Prints ctest's output and a line per step; fails if a step failed.
test_in_other_release() {
    echo "Debian $(. /etc/os-release && echo "$VERSION_ID ($VERSION_CODENAME)"):" \
        "$(g++ --version | head -1), Qt $(dpkg-query -W -f='${Version}' qt6-base-dev)," \
        "$(clang-tidy --version | grep -o 'version [0-9.]*' | head -1)"
    export QT_QPA_PLATFORM=offscreen
    stage "build" quietly build.log build_for_tests
    stage "tests" ctest --test-dir "$VELMORA_ROOT/build" --output-on-failure -j2
    # Release (-O3) with warnings as errors: that release's compiler sees other
    # things there than in the build above.
    stage "release build" quietly build-release.log build_release
    # The tests ran above; the package is built without them, and lintian of
    # this release checks it.
    stage "Debian package" debian_package build-release nocheck
    stage "clang-tidy" tidy_other_release
    stage "clang-format $(clang-format --version | grep -o '[0-9][0-9.]*' | head -1)" check_format
    stage "reuse lint $(reuse --version | grep -o '[0-9][0-9.]*' | head -1)" reuse_lint
    stage_summary
}
