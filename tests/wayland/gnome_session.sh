#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs the program on a GNOME Wayland desktop of its own: mutter, headless,
# in a D-Bus session of its own, with Xwayland or without it. The program
# (desktop_session) is started as a user's desktop starts it, Qt choosing the
# platform: it must take Wayland there, show both windows at their sizes and
# write the page on the finish, byte for byte the page of DEFAULT_PAGE. With
# Xwayland it runs a second time as on an X11 desktop (DISPLAY alone), where
# it must take X11: the program forces neither.
# Usage: gnome_session.sh xwayland|no-x11 DESKTOP_SESSION DEFAULT_PAGE
set -uo pipefail

mode=$1
session=$2
default_page=$3

source "$(dirname "$0")/mutter_session.sh"
work=$(mktemp -d)
start_mutter "$mode" "$work"

page=$("$default_page" "$work/expected") || fail "default_page wrote no page"

# run DIR PLATFORM ENVIRONMENT... — the program in the directory DIR of its
# own, with only the desktop's variables of ENVIRONMENT; the page it wrote
# must be the default page.
run() {
    local dir=$work/$1 platform=$2 rc=0
    shift 2
    mkdir "$dir"
    (cd "$dir" && env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY -u XDG_SESSION_TYPE \
        -u XAUTHORITY "$@" timeout 60 "$session" "$platform") || rc=$?
    if [ $rc -ne 0 ]; then
        echo "mutter's log:" >&2
        sed 's/^/    /' "$mutter_work/mutter.log" >&2
        fail "the program did not do what a user did (exit $rc)"
    fi
    cmp "$work/expected/$page" "$dir/$page" || fail "$page is not the default page"
    echo "$page: the default page"
}

echo "== Wayland desktop ($mode)"
run wayland wayland "${desktop[@]}"
if [ "$mode" = xwayland ]; then
    echo "== X11 desktop (Xwayland)"
    run x11 xcb XDG_RUNTIME_DIR="$runtime" XDG_SESSION_TYPE=x11 "${x11[@]}"
fi
