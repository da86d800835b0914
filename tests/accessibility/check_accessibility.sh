#!/usr/bin/env bash
# Reads the running wizard over AT-SPI, as a screen reader does: on a display
# of its own (Xvfb picks a free one, so the check runs beside other tests)
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

command -v Xvfb >/dev/null || fail "Xvfb is missing (package xvfb)"
command -v dbus-run-session >/dev/null || fail "dbus-run-session is missing (package dbus-x11)"
[ -x /usr/libexec/at-spi-bus-launcher ] || fail "the AT-SPI bus is missing (package at-spi2-core)"
"$python" -c 'import pyatspi' 2>/dev/null || fail "pyatspi is missing (package python3-pyatspi)"
[ -x "$program" ] || fail "no program at $program"

work=$(mktemp -d)
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; }
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb named no display within 10 s"

mkdir -m 700 "$work/runtime"
# The check opens Qt's own file dialog, which keeps the folders it showed in
# the user's settings: here in the check's own folder.
mkdir "$work/config"
# Under the sanitizers: the X keyboard library hands strndup a buffer that
# ends without a NUL at the length it passes, which strndup allows but the
# strict string check refuses. Only a program on a real display gets there.
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
fi
cd "$work"
env DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime" \
    XDG_CONFIG_HOME="$work/config" \
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
    dbus-run-session -- "$python" "$here/check_wizard_tree.py" "$program"
