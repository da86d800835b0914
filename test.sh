#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what is missing, builds, and runs every test and check: the tests
# of the normal build (the browser check of the generated pages among them),
# a Release build with the install check, the Debian package built with
# dpkg-buildpackage and checked by lintian, built again to see that it is
# reproducible, the build, tests and package again in a clean root of the
# other Debian release (12 or 13), the packages installed and run in clean
# Debian roots, the same tests built with AddressSanitizer and UBSan, a
# bounded fuzz run of the spin value reading and of the page reader, clang-tidy, clang-format and
# the REUSE tool's lint. Every stage runs even when an earlier one failed;
# the summary at the end names the failed ones, and the exit status is
# non-zero if there is any.
set -uo pipefail
source "$(dirname "$0")/scripts/common.sh"
source "$VELMORA_ROOT/scripts/stages.sh"
source "$VELMORA_ROOT/scripts/other_release.sh"

export QT_QPA_PLATFORM=offscreen

stage "install packages" ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

stage "build" build_for_tests
stage "tests" ctest --test-dir "$VELMORA_ROOT/build" --output-on-failure -j2
stage "release build" build_release
stage "install and Debian package" check_package build-release
stage "reproducible package" check_reproducible build-release
# Debian 12 and 13 both: the release this machine does not run gets a root of
# its own, where the tree is built and tested as above and its package made.
stage "other Debian release" check_other_release
stage "package in a clean Debian root" check_clean_root build-release build

stage "sanitizer build (address, undefined)" \
    build build-asan -DVELMORA_SANITIZE=ON -DVELMORA_WERROR=ON -DVELMORA_BUILD_BENCH=OFF
# Every leak the checker reports fails the stage. The tests that need a
# desktop (label "desktop": the browser, the screen reader, the Wayland
# session) run in the build above only: on a real display Qt loads the
# machine's graphics drivers, whose own leaks differ from machine to machine
# and are none of ours.
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    stage "sanitizer tests" ctest --test-dir "$VELMORA_ROOT/build-asan" --output-on-failure -j2 \
    --label-exclude desktop

stage "fuzz spin value reading (30 s)" run_fuzzer spin_value_fuzz seeds 30
stage "fuzz page reader (30 s)" run_fuzzer page_reader_fuzz page_seeds 30
stage "clang-tidy" run_clang_tidy build build-fuzz
stage "clang-format" check_format
stage "reuse lint" reuse_lint

stage_summary
