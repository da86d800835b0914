#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: first the normal
# build, then the same tests built with AddressSanitizer and UBSan.
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" libgtest-dev libbenchmark-dev

export QT_QPA_PLATFORM=offscreen
status=0

echo "== build"
build build
echo "== tests"
ctest --test-dir "$VELMORA_ROOT/build" --output-on-failure -j2 || status=1

echo "== sanitizer build (address, undefined)"
build build-asan -DVELMORA_SANITIZE=ON -DVELMORA_BUILD_BENCH=OFF
echo "== sanitizer tests"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$VELMORA_ROOT/build-asan" --output-on-failure -j2 || status=1

exit $status
