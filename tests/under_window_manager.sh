#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a command with Qt on the xcb platform, on an X server of its own
# (xvfb-run takes a free display) under a window manager: windows become
# active as on a desktop, and the keys follow X11's key scheme, not the
# Windows scheme of the offscreen platform.
# Usage: under_window_manager.sh COMMAND [ARGUMENTS...]
set -eu

here=$(cd "$(dirname "$0")" && pwd)
. "$here/../scripts/desktop.sh"

if [ "${1:-}" != --inside ]; then
    exec xvfb-run -a -s "$XVFB_SCREEN" "$0" --inside "$@"
fi
shift
start_window_manager
status=0
QT_QPA_PLATFORM=xcb "$@" || status=$?
kill "${wm:?start_window_manager sets it}"
exit "$status"
