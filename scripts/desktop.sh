# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# By hand because xvfb-run and xdotool wait for no window or file: the one
# such wait, for every script that drives the program on an X server. They
# start the server with xvfb-run -a, which takes a free display and ends the
# server with the command; the X server must not reset when its last client
# leaves, or the program may meet it resetting between a check that it
# answers and its own start:
#
#   xvfb-run -a -s "$XVFB_SCREEN" COMMAND...
#
# POSIX sh, for the tests of the installed package too.

XVFB_SCREEN="-screen 0 1024x768x24 -noreset"

# until_ok SECONDS COMMAND... — runs COMMAND every 0.1 s until it succeeds.
until_ok() {
    tries=$(($1 * 10))
    shift
    while ! "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

# click X Y — a left click at X,Y on the screen.
click() { xdotool mousemove "$1" "$2" click 1; }

# start_window_manager — openbox on $DISPLAY, returning once it manages
# windows (a window shown then is activated, as on a desktop); its pid in $wm.
# No session manager is asked for.
start_window_manager() {
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    until_ok 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
}
