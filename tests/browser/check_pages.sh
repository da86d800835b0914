#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# check_pages.sh MAKE_PAGES DIR
#
# Writes the test pages with MAKE_PAGES into DIR, renders each in headless
# Chromium with check_page.js appended to a copy, and reads the findings back
# from the dumped DOM. Also takes an 800x600 screenshot of every unchanged page
# (DIR/NAME.png) for a person to look at.
#
# Pages opened from disk are read in the browser's fallback charset. A web
# host may label a page otherwise, so the page "umlaute" is also served from a
# local HTTP server (serve_pages.py) as UTF-8, as ISO-8859-1 and
# with no charset, and must show the same text each way.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
make_pages=$1
dir=$2

browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
    echo "FAIL: chromium is not installed; the browser check cannot run" >&2
    exit 1
fi

rm -rf "$dir"
"$make_pages" "$dir" || { echo "FAIL: make_pages could not write the pages" >&2; exit 1; }

profile=$(mktemp -d)
server=
stop() {
    [ -z "$server" ] || kill "$server"
    rm -rf "$profile"
}
trap stop EXIT

# The server picks a free port, so that it meets no other test, and prints it.
/usr/bin/python3 "$here/serve_pages.py" "$dir" >"$dir/server.port" 2>"$dir/server.log" &
server=$!
port=
for _ in $(seq 100); do
    port=$(head -n 1 "$dir/server.port")
    [ -n "$port" ] && break
    sleep 0.1
done
if [ -z "$port" ]; then
    echo "FAIL: the HTTP server did not start" >&2
    cat "$dir/server.log" >&2
    exit 1
fi

# One fresh profile per run, no network, nothing that phones home.
chromium_run() {
    rm -rf "${profile:?}"/*
    timeout 60 "$browser" --headless --no-sandbox --disable-gpu --disable-background-networking \
        --disable-component-update --disable-sync --no-first-run --hide-scrollbars --no-proxy-server \
        --user-data-dir="$profile" "$@" 2>>"$dir/chromium.log"
}

passed=0
failed=0

# check NAME HOW URL: renders URL and reports what check_page.js found there.
# A charset after "#" in the URL is the one the page must be read in.
check() {
    local name=$1 how=$2 url=$3 dom result
    dom=$(chromium_run --dump-dom "$url")
    # The findings are the text of <pre id="velmora-result">; the DOM dump
    # escapes < and & in it, which the messages do not use.
    result=$(printf '%s\n' "$dom" | sed -n '/<pre id="velmora-result">/,/<\/pre>/p' \
        | sed -e 's/<[^>]*>//g' -e 's/&quot;/"/g' -e 's/&amp;/\&/g' | sed '/^$/d')
    if printf '%s\n' "$result" | grep -qx "PASS $name"; then
        echo "PASS $name $how ($(printf '%s\n' "$result" | grep -c '^ok - ') checks," \
            "$(printf '%s\n' "$result" | sed -n 's/^# //p'))"
        passed=$((passed + 1))
    else
        echo "FAIL $name $how"
        if [ -n "$result" ]; then
            printf '%s\n' "$result" | grep '^not ok' | sed 's/^/    /'
        else
            echo "    no findings in the rendered page (the check script did not run)"
        fi
        failed=$((failed + 1))
    fi
    printf '%s\n' "$result" >"$dir/$name.${how// /-}.result.txt"
}

for expect in "$dir"/*.expect.js; do
    name=$(basename "$expect" .expect.js)
    page="$dir/$name.html"
    copy="$dir/$name.check.html"
    if [ ! -f "$page" ]; then
        echo "FAIL $name: the page was not written"
        failed=$((failed + 1))
        continue
    fi
    { cat "$page"; printf '<script>\n'; cat "$expect" "$here/check_page.js"; printf '</script>\n'; } >"$copy"

    check "$name" "from disk" "file://$copy"
    if [ "$name" = umlaute ]; then
        check "$name" "served as UTF-8" "http://127.0.0.1:$port/utf-8/$name.check.html#UTF-8"
        check "$name" "served as ISO-8859-1" \
            "http://127.0.0.1:$port/iso-8859-1/$name.check.html#windows-1252"
        check "$name" "served with no charset" "http://127.0.0.1:$port/none/$name.check.html"
    fi

    chromium_run --window-size=800,600 --screenshot="$dir/$name.png" "file://$page" >/dev/null
    [ -s "$dir/$name.png" ] || echo "    (no screenshot of $name)"
done

# must_fail WHAT NAME URL — the check of page NAME must fail at URL.
must_fail() {
    if chromium_run --dump-dom "$3" | grep -q "^FAIL $2"; then
        echo "PASS the check notices $1"
        passed=$((passed + 1))
    else
        echo "FAIL the check did not notice $1"
        failed=$((failed + 1))
    fi
}

# The check itself must see a broken page: a text cell that spans only the
# first link row, and two links in the wrong order, each have to fail.
broken_must_fail() {
    sed -e "$2" "$dir/zwoelf_links.check.html" >"$dir/broken.check.html"
    must_fail "$1" zwoelf_links "file://$dir/broken.check.html"
}
broken_must_fail "a text cell that ends at the first link" 's/rowspan="13"/rowspan="1"/'
broken_must_fail "links out of order" 's/>Start</>Aktuelle</; s/>Aktuelles</>Start</; s/>Aktuelle</>Aktuelles</'

# ... and a page whose letters are Windows-1252 bytes, served as UTF-8.
/usr/bin/python3 -c '
import re, sys
page = open(sys.argv[1], encoding="ascii").read()
page = re.sub(r"&#([0-9]+);", lambda m: chr(int(m.group(1))), page)
sys.stdout.buffer.write(page.encode("cp1252", "xmlcharrefreplace"))
' "$dir/umlaute.check.html" >"$dir/umlaute.cp1252.html" || echo "    (umlaute.html is not plain ASCII)"
must_fail "Windows-1252 bytes served as UTF-8" umlaute \
    "http://127.0.0.1:$port/utf-8/umlaute.cp1252.html"

echo "browser pages: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
