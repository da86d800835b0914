# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A GNOME Wayland desktop of its own for a bash script: mutter, headless, in a
# D-Bus session of its own, with Xwayland or without it. Shared by the
# Wayland test of the build and the one of the installed package.
#
#   source mutter_session.sh
#   start_mutter xwayland|no-x11 WORK   # sets desktop=(...) and x11=(...)
#   env "${desktop[@]}" PROGRAM        # a program on that desktop
#
# desktop holds the variables of a Wayland session (with DISPLAY and
# XAUTHORITY where Xwayland runs), x11 those of Xwayland alone, runtime the
# session's XDG_RUNTIME_DIR. mutter, its
# D-Bus daemon and Xwayland share one process group, which ends with the
# script, and a watchdog ends it after 170 s even when the script is killed.
# A missing compositor or Xwayland fails; nothing skips.

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

have() { [ -x "$(command -v "$1")" ]; }

mutter_group=
watchdog=
stop_mutter() {
    if [ -n "$mutter_group" ]; then
        kill -TERM -- "-$mutter_group" 2>/dev/null
        for _ in $(seq 50); do
            kill -0 -- "-$mutter_group" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL -- "-$mutter_group" 2>/dev/null
    fi
    [ -n "$watchdog" ] && kill "$watchdog" 2>/dev/null
    rm -rf "$mutter_work"
}

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/desktop.sh"

# ready WHAT COMMAND... — waits up to 20 s for COMMAND to succeed.
ready() {
    local what=$1
    shift
    until_ok 20 "$@" && return 0
    cat "$mutter_work/mutter.log" >&2
    fail "$what within 20 s"
}

start_mutter() {
    local mode=$1 display=velmora-$$ xauthority
    mutter_work=$2
    have mutter || fail "mutter is missing (package mutter)"
    have dbus-run-session || fail "dbus-run-session is missing (package dbus-daemon)"
    case $mode in
    xwayland)
        have Xwayland || fail "Xwayland is missing (package xwayland)"
        # A system makes this directory at boot; in a bare root mutter would
        # make it itself, without the write access for all that it demands.
        [ -d /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix
        ;;
    no-x11) ;;
    *) fail "unknown mode $mode" ;;
    esac
    runtime=$mutter_work/runtime
    mkdir -m 700 "$runtime"
    trap stop_mutter EXIT
    trap 'exit 1' INT TERM
    local options=(--wayland --headless --virtual-monitor 1024x768 "--wayland-display=$display")
    [ "$mode" = no-x11 ] && options+=(--no-x11)
    # setsid makes mutter's starter the leader of a new group (this shell
    # runs without job control, so the child leads no group yet).
    XDG_RUNTIME_DIR=$runtime setsid dbus-run-session -- mutter "${options[@]}" \
        </dev/null >"$mutter_work/mutter.log" 2>&1 &
    mutter_group=$!
    (
        trap 'kill "$nap"; exit' TERM
        sleep 170 &
        nap=$!
        wait "$nap"
        kill -KILL -- "-$mutter_group"
    ) </dev/null >/dev/null 2>&1 &
    watchdog=$!
    ready "no Wayland display" test -S "$runtime/$display"
    desktop=(XDG_RUNTIME_DIR="$runtime" XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY="$display")
    x11=()
    [ "$mode" = xwayland ] || return 0
    x_display() { sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$mutter_work/mutter.log"; }
    x_display_named() { [ -n "$(x_display)" ]; }
    ready "no Xwayland display" x_display_named
    xauthority=$(ls "$runtime"/.mutter-Xwaylandauth.* 2>/dev/null | head -1)
    [ -n "$xauthority" ] || fail "mutter left no X authority in $runtime"
    x11=(DISPLAY="$(x_display)" XAUTHORITY="$xauthority")
    desktop+=("${x11[@]}")
}
