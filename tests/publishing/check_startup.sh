#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A start maps neither libcurl nor QtKeychain, nor the publishing module;
# publishing maps all three. Neither the start nor the wizard maps the
# pictures module or what it brings: libheif with its HEVC codecs, Exiv2.
# (Qt's own plugins for WebP and TIFF come at start with the window icons.) Neither the start nor the wizard with its
# preview maps the web engine, a Mesa driver or LLVM: the preview draws in a
# process of its own. Read in /proc/PID/maps of the program itself, taken
# when its window is shown (shown_hook, preloaded).
# Usage: check_startup.sh PROGRAM HOOK DEFAULT_PAGE_TOOL
set -eu
program=$1 hook=$2 page_tool=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work" XDG_CONFIG_HOME="$work/.config" XDG_DATA_HOME="$work/.local/share"
"$page_tool" "$work" >/dev/null

# shown TITLE MAPS ARGUMENTS... — the program until the window TITLE is shown.
shown() {
    title=$1 maps=$2
    shift 2
    LD_PRELOAD=$hook VELMORA_SHOWN_TITLE=$title VELMORA_SHOWN_MAPS=$maps \
        timeout 60 "$program" "$@"
    [ -s "$maps" ] || { echo "FAIL: no window \"$title\""; exit 1; }
}
# mapped MAPS — the publishing libraries in a memory map.
mapped() { grep -oE '/[^ ]*(libcurl|libqt6keychain|/velmora/publish)[^/ ]*\.so[^/ ]*$' "$1" | sort -u; }
# pictures MAPS — the pictures module and its libraries in a memory map.
pictures() { grep -oE '/[^ ]*(libheif|libde265|libx265|libexiv2|/velmora/pictures)[^/ ]*$' "$1" | sort -u; }
# engine MAPS — the web engine, a Mesa driver or LLVM in a memory map.
engine() { grep -oE '/[^ ]*(libQt6WebEngine|_mesa|/dri/|libgallium|libLLVM)[^/ ]*$' "$1" | sort -u; }

shown "HTML Velmora 1.3 Ultrapex" "$work/start"
grep -q libQt6Widgets "$work/start" || { echo "FAIL: the map holds no Qt"; exit 1; }
if [ -n "$(mapped "$work/start")" ]; then
    echo "FAIL: mapped at start:"
    mapped "$work/start"
    exit 1
fi
echo "at start: no libcurl, no QtKeychain, no publishing module"
# a screen with room for the preview beside the wizard, where it opens by itself
printf '{"screens": [{"name": "s", "x": 0, "y": 0, "width": 1920, "height": 1080}]}' >"$work/screen.json"
for map in "$work/start" "$work/wizard"; do
    [ "$map" = "$work/start" ] ||
        QT_QPA_PLATFORM=offscreen:configfile=$work/screen.json shown "Assistent" "$map" "$work/index.html"
    if [ -n "$(engine "$map")" ]; then
        echo "FAIL: mapped with the $(basename "$map") window:"
        engine "$map"
        exit 1
    fi
    if [ -n "$(pictures "$map")" ]; then
        echo "FAIL: mapped with the $(basename "$map") window:"
        pictures "$map"
        exit 1
    fi
done
echo "start window and wizard: no web engine, no Mesa driver, no LLVM"
echo "start window and wizard: no pictures module, no libheif, no Exiv2"

# Publishing brings them: the dialog "Seite veröffentlichen" of --publish.
shown "Seite veröffentlichen" "$work/publish" --publish "$work/index.html"
for library in libcurl libqt6keychain /velmora/publish; do
    grep -q "$library" "$work/publish" || { echo "FAIL: not mapped when publishing: $library"; exit 1; }
done
echo "publishing: $(mapped "$work/publish" | xargs -n1 basename | xargs)"
