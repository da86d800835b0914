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
# A missing compositor, Xwayland or Qt Wayland platform fails; nothing skips.
# Usage: gnome_session.sh xwayland|no-x11 DESKTOP_SESSION DEFAULT_PAGE
set -uo pipefail

mode=$1
session=$2
default_page=$3

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

have() { [ -x "$(command -v "$1")" ]; }
have mutter || fail "mutter is missing (package mutter)"
have dbus-run-session || fail "dbus-run-session is missing (package dbus-daemon)"
case $mode in
xwayland)
    have Xwayland || fail "Xwayland is missing (package xwayland)"
    # A system makes this directory at boot; in a bare root mutter would make
    # it itself, without the write access for all that it then demands.
    [ -d /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix
    ;;
no-x11) ;;
*) fail "unknown mode $mode" ;;
esac

work=$(mktemp -d)
runtime=$work/runtime
mkdir -m 700 "$runtime"
display=velmora-$$
mutter_group=
watchdog=

# mutter, its D-Bus daemon and Xwayland share one process group, which goes
# as a whole. The watchdog ends it even when this script is killed first.
cleanup() {
    if [ -n "$mutter_group" ]; then
        kill -TERM -- "-$mutter_group" 2>/dev/null
        for _ in $(seq 50); do
            kill -0 -- "-$mutter_group" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL -- "-$mutter_group" 2>/dev/null
    fi
    [ -n "$watchdog" ] && kill "$watchdog" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

options=(--wayland --headless --virtual-monitor 1024x768 "--wayland-display=$display")
[ "$mode" = no-x11 ] && options+=(--no-x11)
# setsid makes mutter's starter the leader of a new group (this shell runs
# without job control, so the child leads no group yet).
XDG_RUNTIME_DIR=$runtime setsid dbus-run-session -- mutter "${options[@]}" \
    </dev/null >"$work/mutter.log" 2>&1 &
mutter_group=$!
(
    trap 'kill "$nap"; exit' TERM
    sleep 170 &
    nap=$!
    wait "$nap"
    kill -KILL -- "-$mutter_group"
) </dev/null >/dev/null 2>&1 &
watchdog=$!

# ready WHAT COMMAND... — waits up to 20 s for COMMAND to succeed.
ready() {
    local what=$1
    shift
    for _ in $(seq 200); do
        "$@" && return 0
        kill -0 "$mutter_group" 2>/dev/null || { cat "$work/mutter.log" >&2; fail "mutter ended"; }
        sleep 0.1
    done
    cat "$work/mutter.log" >&2
    fail "$what within 20 s"
}
ready "no Wayland display" test -S "$runtime/$display"
desktop=(XDG_RUNTIME_DIR="$runtime" XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY="$display")
if [ "$mode" = xwayland ]; then
    x_display() { sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$work/mutter.log"; }
    x_display_named() { [ -n "$(x_display)" ]; }
    ready "no Xwayland display" x_display_named
    xauthority=$(ls "$runtime"/.mutter-Xwaylandauth.* 2>/dev/null | head -1)
    [ -n "$xauthority" ] || fail "mutter left no X authority in $runtime"
    x11=(DISPLAY="$(x_display)" XAUTHORITY="$xauthority")
    desktop+=("${x11[@]}")
fi

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
        sed 's/^/    /' "$work/mutter.log" >&2
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
