#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what is missing, builds, and runs every test and check, each by
# the tool made for it (the README's table names them). Every stage runs even
# when an earlier one failed; the summary names the failed ones, and the exit
# status is non-zero if there is any.
set -uo pipefail
source "$(dirname "$0")/scripts/common.sh"
source "$VELMORA_ROOT/scripts/debian.sh"

RESULTS=() FAILED=0
# stage NAME COMMAND... — runs COMMAND with errexit in a subshell and times it.
stage() {
    local name=$1 start=$SECONDS rc result=passed
    shift
    printf '\n== %s\n' "$name"
    # not in an && or || list, where bash would ignore errexit in COMMAND
    (set -e; "$@"); rc=$?
    [ $rc -eq 0 ] || { result=FAILED; FAILED=$((FAILED + 1)); }
    RESULTS+=("$(printf '   %-7s %5s s  %s' $result $((SECONDS - start)) "$name")")
    echo "== $name: $result ($((SECONDS - start)) s)"
}
summary() {
    printf '\n== summary\n'
    printf '%s\n' "${RESULTS[@]}"
    [ $FAILED -eq 0 ] && echo "== all stages passed" || echo "== $FAILED stage(s) FAILED"
    [ $FAILED -eq 0 ]
}
trap 'echo; echo "stopped"; summary; exit 130' INT TERM

# The build profile pkg.velmora.tools brings the tools of this script.
prepare() { ensure_packages pkg.velmora.desktop,pkg.velmora.tools && prepare_builder; }

# fuzz — the libFuzzer targets, built with clang in build-fuzz/ and run by
# ctest side by side: fuzz/CMakeLists.txt says how and for how long.
fuzz() {
    cmake -S "$VELMORA_ROOT/fuzz" -B "$VELMORA_ROOT/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
    cmake --build "$VELMORA_ROOT/build-fuzz" -j2 >/dev/null
    ctest --test-dir "$VELMORA_ROOT/build-fuzz" --output-on-failure -j2
}

stage "install packages" prepare
builder_paths
# For /usr, as the package: the module lies under lib/<triplet> from the
# program, where the tests find it as the installed program does.
stage "build" build build -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DVELMORA_WERROR=ON \
    -DVELMORA_BUILD_UI=ON -DVELMORA_BUILD_TESTS=ON -DVELMORA_BUILD_BENCH=ON
stage "tests" ctest --test-dir "$VELMORA_ROOT/build" --output-on-failure -j2
# The tests labelled "root" skip, saying why, where the stage above ran
# without root (a full server is a small tmpfs mounted); so they run again as
# root, and ctest's log is given back.
root_tests() {
    local rc=0
    as_root ctest --test-dir "$VELMORA_ROOT/build" --output-on-failure -L root || rc=$?
    as_root chown -R "$(id -u):$(id -g)" "$VELMORA_ROOT/build/Testing"
    return $rc
}
if [ "$(id -u)" -ne 0 ]; then stage "tests that need root (sudo)" root_tests; fi
stage "source package (dpkg-source)" source_package
# The tests ran above on this release, so its package builds without them.
here=$(. /etc/os-release && echo "$VERSION_CODENAME")
for release in "${RELEASES[@]}"; do
    if [ "$release" = "$here" ]; then
        stage "$release: sbuild, lintian" sbuild_release "$release" nocheck
    else
        stage "$release: sbuild, tests, lintian" sbuild_release "$release"
    fi
    stage "$release: autopkgtest" autopkgtest_release "$release" "$release"
done
# a system upgraded with the older package kept: under X11, and purged
stage "${RELEASES[0]}'s package on ${RELEASES[1]}: autopkgtest" \
    autopkgtest_release "${RELEASES[0]}" "${RELEASES[1]}" --test-name=default-page --test-name=purge
stage "${RELEASES[1]}'s package on ${RELEASES[0]}: refused (autopkgtest)" refused_on_older
stage "reproducible (reprotest)" reproducible
# Unoptimised: the sanitizers find the same there, and GCC compiles their
# checks at -O2 three to five times slower. Without the preview's helper,
# most of which is Chromium's, whose faults are not ours to find.
stage "sanitizer build (address, undefined)" build build-asan -DCMAKE_BUILD_TYPE=Debug \
    -DVELMORA_UNITY_BUILD=ON -DVELMORA_SANITIZE=ON -DVELMORA_WERROR=ON -DVELMORA_BUILD_BENCH=OFF \
    -DVELMORA_BUILD_PREVIEW=OFF
# Every leak fails. The desktop tests run in the build above only: on a real
# display Qt loads the machine's graphics drivers, whose leaks are not ours.
# Whole strings are checked, and every new block is filled whole, so that a
# string read past its end fails every time, not when the heap left no NUL.
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:max_malloc_fill_size=1073741824:suppressions=$VELMORA_ROOT/tests/asan.supp \
    LSAN_OPTIONS=suppressions=$VELMORA_ROOT/tests/lsan.supp UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    stage "sanitizer tests" ctest --test-dir "$VELMORA_ROOT/build-asan" --output-on-failure -j2 \
    --label-exclude desktop
stage "fuzz: spin value reading, page reader (30 s each)" fuzz
# in the source package's tree, which holds no build folders
stage "clang-format, reuse lint" as_builder env -C "$WORK/src" tests/style/check
# clang-tidy runs once, the newer release's, the stricter; so here on Debian
# 13, and in a root of it on Debian 12.
other=$(grep -vx "$here" <(printf '%s\n' "${RELEASES[@]}"))
if [ "$here" = "${RELEASES[-1]}" ]; then
    stage "clang-tidy (run-clang-tidy)" env -C "$VELMORA_ROOT" tests/style/tidy
    stage "$other: clang-format, reuse lint (autopkgtest)" style_release "$other" --test-name=check
else
    stage "$other: clang-format, reuse lint, clang-tidy (autopkgtest)" \
        style_release "$other" --test-name=check --test-name=tidy
fi
summary
