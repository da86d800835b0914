#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs inside a clean Debian root that check_clean_root (scripts/stages.sh)
# makes. Each step leaves what it saw in /tmp/out/NAME for the caller, which
# judges it; every step ends with exit status 0, so that the results are
# copied out.
#
#   in_clean_root.sh refuse DEB NAME   apt must refuse DEB here:
#                                      status (apt's exit status), apt.log and
#                                      installed ("yes" if dpkg has it after all)
#   in_clean_root.sh install DEB NAME  apt installs DEB with only what it
#                                      depends on: status, apt.log and
#                                      wayland (qt6-wayland's dpkg status)
#   in_clean_root.sh run NAME          Velmora started under Xvfb as a user
#                                      would, "Start" and then the finish
#                                      clicked: index.html, log.txt, and
#                                      faces.txt with "LINE => RESULT" for
#                                      every line of /tmp/faces.txt
#   in_clean_root.sh session OUT       (run's own, on its X server) the
#                                      user's part: Velmora, the clicks
#   in_clean_root.sh remove NAME       every package that came in since the
#                                      first install purged: clean ("yes" when
#                                      dpkg lists the packages and versions it
#                                      listed before, or the difference)
set -u
. /tmp/desktop.sh
step=$1
shift

# The packages of the root and their versions.
packages() { dpkg-query -W -f '${Package} ${Version}\n' | sort; }

# apt_install DEB OUT — apt-get without recommends, its log and status in OUT.
apt_install() {
    [ -f /tmp/clean.txt ] || packages >/tmp/clean.txt
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$1" \
        >"$2/apt.log" 2>&1
    echo $? >"$2/status"
}

step_refuse() {
    out=/tmp/out/$2
    mkdir -p "$out"
    apt_install "$1" "$out"
    if dpkg-query -W velmora >/dev/null 2>&1; then echo yes; else echo no; fi >"$out/installed"
}

step_install() {
    out=/tmp/out/$2
    mkdir -p "$out"
    apt_install "$1" "$out"
    dpkg-query -W -f '${Status}\n' qt6-wayland >"$out/wayland" 2>&1
}

step_remove() {
    out=/tmp/out/$1
    mkdir -p "$out"
    # apt's autoremove keeps what an installed package recommends, e.g. what
    # libc6 recommends on Debian 13; so every package that came in goes.
    cut -d' ' -f1 /tmp/clean.txt >/tmp/clean-names.txt
    added=$(packages | cut -d' ' -f1 | comm -13 /tmp/clean-names.txt -)
    DEBIAN_FRONTEND=noninteractive apt-get purge -y $added >"$out/remove.log" 2>&1
    if packages | cmp -s - /tmp/clean.txt; then
        echo yes >"$out/clean"
    else
        packages | diff /tmp/clean.txt - >"$out/clean"
    fi
}

# window TITLE X Y — the visible window named TITLE, which must stand at X,Y.
window() {
    id=$(xdotool search --onlyvisible --name "$1" | head -1)
    [ -n "$id" ] || return 1
    at=$(xdotool getwindowgeometry "$id" | sed -n 's/^ *Position: \([0-9]*,[0-9]*\).*/\1/p')
    if [ "$at" != "$2,$3" ]; then
        echo "\"$1\" stands at $at, not at $2,$3"
        return 1
    fi
}

user_session() {
    until_ok 10 xdotool getdisplaygeometry || { echo "Xvfb does not answer"; return 1; }
    rm -rf /tmp/run
    mkdir /tmp/run
    cd /tmp/run || return 1
    # The environment of test.sh reaches in here, and its windows tests run
    # offscreen; this one must run on the X server, as a user's would.
    QT_QPA_PLATFORM=xcb Velmora &
    app=$!
    # The windows stand where the program puts them (no window manager moves
    # them); the buttons are clicked in their middle.
    until_ok 20 window '^HTML Velmora' 266 186 || {
        echo "no start window; the program is $(kill -0 "$app" 2>/dev/null && echo running || echo gone)"
        echo "windows: $(xdotool search --name . getwindowname %@ 2>&1 | tr '\n' '|')"
        return 1
    }
    click $((266 + 128 + 121 / 2)) $((186 + 104 + 65 / 2))  # "Start"
    until_ok 20 window '^Assistent$' 77 66 || { echo "\"Start\" showed no wizard"; return 1; }
    click $((77 + 761 / 2)) $((66 + 400 + 30 / 2))  # F E R T I G
    until_ok 20 test -s index.html || { echo "the finish wrote no index.html"; return 1; }
    # the finish hides the wizard once the file is written and closed
    until_ok 20 sh -c '! xdotool search --onlyvisible --name "^Assistent$"' \
        || { echo "the finish did not hide the wizard"; return 1; }
    cp index.html "$out/"
    echo "page written: $(wc -c <index.html) bytes"
}

faces() {
    grep -v -e '^#' -e '^[[:space:]]*$' /tmp/faces.txt | while IFS= read -r line; do
        case $line in
        file:*)
            if [ -s "${line#file:}" ]; then got=present; else got=missing; fi
            ;;
        *)
            pattern=${line%%=*}
            expected=${line#*=}
            case $expected in
            *:*) format='%{family[0]}:%{style[0]}' ;;
            *) format='%{family[0]}' ;;
            esac
            got=$(fc-match -f "$format" "$pattern")
            ;;
        esac
        echo "$line => $got"
    done
}

# The caller gives this step a network namespace of its own, so that the X
# server and its clients here cannot meet an X server of the machine's
# through the abstract sockets.
step_run() {
    out=/tmp/out/$1
    mkdir -p "$out"
    xvfb-run -a -e "$out/xvfb.log" -s "$XVFB_SCREEN" sh /tmp/in_clean_root.sh session "$out" \
        >"$out/log.txt" 2>&1
    faces >"$out/faces.txt"
}

# The program must not outlive the root: the session ends it before its X
# server goes.
step_session() {
    out=$1
    app=
    user_session
    [ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
    return 0
}

case $step in
refuse | install | remove | run | session) "step_$step" "$@" ;;
*) echo "unknown step $step" >&2 ;;
esac
exit 0
