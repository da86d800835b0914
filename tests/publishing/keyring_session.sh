#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs PROGRAM on a D-Bus session of its own, in a scratch home, with GNOME's
# keyring daemon owning the Secret Service ("with") or with no keyring at all
# ("without"). The bus starts no service on demand (tests/notice/session.conf),
# so a keyring installed on the machine cannot step in.
# Usage: keyring_session.sh with|without PROGRAM [ARGUMENTS...]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/runtime"
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
    XDG_RUNTIME_DIR="$home/runtime" VELMORA_SCRATCH_HOME="$home" VELMORA_KEYRING="$1"
# QtKeychain picks KWallet on a KDE desktop: here it is none.
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
shift
# shellcheck disable=SC2016 # expanded by the inner shell
dbus-run-session --config-file="$here/../notice/session.conf" -- sh -c '
    if [ "$VELMORA_KEYRING" = with ]; then
        # unlocked with a password of its own, as a login would
        echo velmora | gnome-keyring-daemon --foreground --unlock --components=secrets \
            >"$HOME/keyring.log" 2>&1 &
        keyring=$!
        trap "kill $keyring" EXIT
        tries=100
        until dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
            org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets | grep -q true; do
            tries=$((tries - 1))
            [ $tries -gt 0 ] || { cat "$HOME/keyring.log"; echo "no keyring on the bus"; exit 1; }
            sleep 0.1
        done
    fi
    "$@"' keyring_session "$@"
