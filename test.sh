#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test and check: the tests
# of the normal build (the browser check of the generated pages among them),
# the install and Debian package check, the same tests built with
# AddressSanitizer and UBSan, a bounded fuzz run of the spin value reading,
# clang-tidy and clang-format. Every stage runs even when an earlier one
# failed; the summary at the end names the failed ones, and the exit status is
# non-zero if there is any.
set -uo pipefail
source "$(dirname "$0")/scripts/common.sh"
source "$VELMORA_ROOT/scripts/stages.sh"

export QT_QPA_PLATFORM=offscreen

stage "install packages" ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

# The options are named, so a build/ that ./run.sh configured without tests
# gets them back.
stage "build" build build -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
    -DVELMORA_BUILD_UI=ON -DVELMORA_BUILD_TESTS=ON -DVELMORA_BUILD_BENCH=ON
stage "tests" ctest --test-dir "$VELMORA_ROOT/build" --output-on-failure -j2

stage "install and Debian package" check_package build

stage "sanitizer build (address, undefined)" \
    build build-asan -DVELMORA_SANITIZE=ON -DVELMORA_BUILD_BENCH=OFF
# No leak suppressions: every leak the checker reports fails the stage.
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    stage "sanitizer tests" ctest --test-dir "$VELMORA_ROOT/build-asan" --output-on-failure -j2

stage "fuzz spin value reading (60 s)" run_fuzzer 60
stage "clang-tidy" run_clang_tidy build build-fuzz
stage "clang-format" check_format

stage_summary
