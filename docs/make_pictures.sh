#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Makes the pictures of the README from the real program and keeps them in
# docs/: the start window and the six pages of the wizard, taken under Xvfb and
# cut to the window, and a page the generator wrote, rendered by headless
# Chromium. Installs what is missing, builds what is needed (into build-docs/,
# or VELMORA_DOCS_BUILD), and takes the windows on an X server of its own:
#
#   docs/make_pictures.sh
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"
source "$VELMORA_ROOT/scripts/desktop.sh"
build_dir=$VELMORA_ROOT/${VELMORA_DOCS_BUILD:-build-docs}

# Called again by itself on the X server that xvfb-run starts.
if [ "${1:-}" != --on-x-server ]; then
    # the build profile brings GoogleTest, Xvfb and Chromium
    ensure_packages pkg.velmora.desktop "xdotool, imagemagick"

    # The sample page comes from the browser check's page maker, a test program.
    if [ ! -f "$build_dir/CMakeCache.txt" ]; then
        cmake -S "$VELMORA_ROOT" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DVELMORA_BUILD_TESTS=ON -DVELMORA_BUILD_BENCH=OFF >/dev/null
    fi
    cmake --build "$build_dir" -j2 --target velmora make_pages
    exec xvfb-run -a -s "$XVFB_SCREEN" "$0" --on-x-server
fi

docs=$VELMORA_ROOT/docs
work=$(mktemp -d)
app=
finish() {
    if [ -n "$app" ]; then
        kill "$app" 2>/dev/null || true
        wait "$app" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap finish EXIT

# shot X Y W H FILE — the screen's rectangle, as a PNG without time stamps, so
# that an unchanged picture stays the same file.
shot() {
    sleep 0.5  # let the click's repaint finish
    /usr/bin/import -window root -crop "$3x$4+$1+$2" +repage -strip \
        -define png:exclude-chunks=date,time "$work/shot.png"
    mv "$work/shot.png" "$5"
}

until_ok 10 xdotool getdisplaygeometry || { echo "the X server does not answer on $DISPLAY" >&2; exit 1; }

mkdir -p "$docs" "$work/run"
# On the X server even when the shell has asked for the offscreen platform.
(cd "$work/run" && QT_QPA_PLATFORM=xcb exec "$build_dir/app/Velmora") >"$work/velmora.log" 2>&1 &
app=$!

# Without a window manager the windows stand exactly where the program puts
# them: the start window's client area at 266,186 (377 x 171), the wizard's at
# 77,66 (763 x 433).
until_ok 20 xdotool search --onlyvisible --name '^HTML Velmora' \
    || { echo "the start window did not appear" >&2; exit 1; }
shot 266 186 377 171 "$docs/startfenster.png"

click $((266 + 128 + 60)) $((186 + 104 + 32))  # "Start"
until_ok 20 xdotool search --onlyvisible --name '^Assistent$' \
    || { echo "\"Start\" showed no wizard" >&2; exit 1; }

# The middles of the six tabs, on the screen. A tab that was missed leaves the
# page as it was, which the comparison below notices.
tab_y=78
tab_x=(151 264 327 375 424 492)
pages=(1-einstellungen 2-ueberschrift 3-links 4-text 5-bilder 6-html-code)
previous=
for i in 0 1 2 3 4; do
    click "${tab_x[$i]}" "$tab_y"
    file=$docs/assistent-${pages[$i]}.png
    shot 77 66 763 433 "$file"
    if [ -n "$previous" ] && cmp -s "$previous" "$file"; then
        echo "clicking tab $((i + 1)) at ${tab_x[$i]},$tab_y changed nothing: the tabs moved" >&2
        exit 1
    fi
    previous=$file
done

# The finish writes the page and hides the wizard; "Start" shows it again,
# and the last page shows the lines just written.
click $((77 + 380)) $((66 + 400 + 15))
until_ok 20 test -s "$work/run/index.html" || { echo "the finish wrote no page" >&2; exit 1; }
until_ok 20 sh -c '! xdotool search --onlyvisible --name "^Assistent$"'
click $((266 + 128 + 60)) $((186 + 104 + 32))
until_ok 20 xdotool search --onlyvisible --name '^Assistent$'
click "${tab_x[5]}" "$tab_y"
shot 77 66 763 433 "$docs/assistent-${pages[5]}.png"
cmp -s "$previous" "$docs/assistent-${pages[5]}.png" \
    && { echo "the tab \"HTML Code\" was missed" >&2; exit 1; }

# A page with links, dots, text, an inline link and picture, and captioned
# pictures, as the generator writes it; its pictures are plain colour tiles.
"$build_dir/tests/browser/make_pages" "$work/pages" >/dev/null
chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
    --disable-component-update --disable-sync --no-first-run --hide-scrollbars \
    --user-data-dir="$work/profile" --window-size=800,380 --screenshot="$work/seite.png" \
    "file://$work/pages/umlaute.html" 2>/dev/null
/usr/bin/convert "$work/seite.png" -strip -define png:exclude-chunks=date,time "$docs/seite.png"

echo "pictures in docs/:"
(cd "$docs" && ls -1 ./*.png | sed 's|^\./|  |')
