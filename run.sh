#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what is missing, builds, and starts the wizard.
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

ensure_packages nocheck
# A build/ that ./test.sh made keeps its options; only the program is built,
# then the preview's helper where build/ has it: the first build brought the
# cache up to date with the tree.
if [ ! -f "$VELMORA_ROOT/build/CMakeCache.txt" ]; then
    cmake -S "$VELMORA_ROOT" -B "$VELMORA_ROOT/build" -DCMAKE_BUILD_TYPE=Release \
        -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$VELMORA_ROOT/build" -j2 --target velmora
if grep -qx 'VELMORA_BUILD_PREVIEW:BOOL=ON' "$VELMORA_ROOT/build/CMakeCache.txt"; then
    cmake --build "$VELMORA_ROOT/build" -j2 --target velmora_vorschau
fi

# Without a desktop the program says so itself, and how to give it one.
exec "$VELMORA_ROOT/build/app/Velmora"
