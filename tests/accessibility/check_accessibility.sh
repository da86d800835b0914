#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Reads the running wizard over AT-SPI, as a screen reader does: on a display
# of its own (xvfb-run takes a free one, so the check runs beside other tests)
# and in a D-Bus session of its own. A missing piece of AT-SPI fails the
# check; it is never skipped.
# Usage: check_accessibility.sh PROGRAM
set -euo pipefail

program=$1
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3  # Debian's, which has pyatspi; another may come first on PATH

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

command -v xvfb-run >/dev/null || fail "xvfb-run is missing (package xvfb)"
command -v dbus-run-session >/dev/null || fail "dbus-run-session is missing (package dbus-x11)"
[ -x /usr/libexec/at-spi-bus-launcher ] || fail "the AT-SPI bus is missing (package at-spi2-core)"
"$python" -c 'import pyatspi' 2>/dev/null || fail "pyatspi is missing (package python3-pyatspi)"
[ -x "$program" ] || fail "no program at $program"

source "$here/../../scripts/desktop.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
# The check opens Qt's own file dialog, which keeps the folders it showed in
# the user's settings: here in the check's own folder.
mkdir "$work/config"
cd "$work"
xvfb-run -a -e "$work/xvfb.log" -s "$XVFB_SCREEN" \
    env QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" \
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
    dbus-run-session -- "$python" "$here/check_wizard_tree.py" "$program" ||
    { cat "$work/xvfb.log" >&2; fail "the wizard does not read as it should (see above)"; }
