#!/bin/sh
# Runs inside the clean Debian root that clean_root_check (scripts/stages.sh)
# makes, after the package is installed: starts Velmora under Xvfb as a user
# would, clicks "Start" and then the finish, and leaves in /tmp/out
#   - the page the program wrote (index.html),
#   - faces.txt: "LINE => RESULT" for every line of /tmp/faces.txt,
#   - log.txt: what happened.
# It always ends with exit status 0 and both processes gone, so that the
# results are copied out; the caller judges them.
set -u
out=/tmp/out
mkdir -p "$out" /tmp/run
exec >"$out/log.txt" 2>&1

# The caller gives this script a network namespace of its own, so that the X
# server and its clients here cannot meet an X server of the machine's
# through the abstract sockets; Xvfb still takes the first free display.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>/tmp/display &
xvfb=$!
app=

# Neither may outlive the root: the hook that runs this script is its last
# chance to stop them.
stop() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    [ -n "$app" ] && wait "$app" 2>/dev/null
    wait "$xvfb" 2>/dev/null
}

# until SECONDS COMMAND... — runs COMMAND every 0.1 s until it succeeds.
until_ok() {
    tries=$(($1 * 10))
    shift
    while ! "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
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

# click X Y — a left click at X,Y on the screen.
click() { xdotool mousemove "$1" "$2" click 1; }

run() {
    until_ok 10 test -s /tmp/display || { echo "Xvfb did not start"; return 1; }
    DISPLAY=:$(cat /tmp/display)
    export DISPLAY
    until_ok 10 xdotool getdisplaygeometry || { echo "Xvfb does not answer"; return 1; }
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

run
stop

: >"$out/faces.txt"
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
    echo "$line => $got" >>"$out/faces.txt"
done
exit 0
