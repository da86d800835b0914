#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a check of the program over AT-SPI, as a screen reader reads it: on a
# display of its own (xvfb-run takes a free one, so the check runs beside
# other tests), with --window-manager under openbox, and in a D-Bus session of
# its own. A missing piece of AT-SPI fails the check; it is never skipped.
# Usage: check_accessibility.sh [--window-manager] CHECK.py PROGRAM
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
window_manager=false
if [ "$1" = --window-manager ]; then
    window_manager=true
    shift
fi
check=$here/$1
program=$2
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
if "$window_manager"; then
    command -v openbox >/dev/null || fail "openbox is missing (package openbox)"
    command -v xdotool >/dev/null || fail "xdotool is missing (package xdotool)"
    command -v xprop >/dev/null || fail "xprop is missing (package x11-utils)"
fi

source "$here/../../scripts/desktop.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
# The check opens Qt's own file dialog, which keeps the folders it showed in
# the user's settings: here in the check's own folder.
mkdir "$work/config"
cd "$work"
display=(xvfb-run -a -e "$work/xvfb.log" -s "$XVFB_SCREEN")
"$window_manager" && display=("$here/../under_window_manager.sh")
"${display[@]}" \
    env QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" \
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
    dbus-run-session -- "$python" "$check" "$program" ||
    { cat "$work/xvfb.log" >&2 2>/dev/null; fail "the wizard does not read as it should (see above)"; }
