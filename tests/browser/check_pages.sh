#!/usr/bin/env bash
# check_pages.sh MAKE_PAGES DIR
#
# Writes the test pages with MAKE_PAGES into DIR, renders each in headless
# Chromium with check_page.js appended to a copy, and reads the findings back
# from the dumped DOM. Also takes an 800x600 screenshot of every unchanged page
# (DIR/NAME.png) for a person to look at.
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
trap 'rm -rf "$profile"' EXIT

# One fresh profile per run, no network, nothing that phones home.
chromium_run() {
    rm -rf "$profile"/*
    timeout 60 "$browser" --headless --no-sandbox --disable-gpu --disable-background-networking \
        --disable-component-update --disable-sync --no-first-run --hide-scrollbars \
        --user-data-dir="$profile" "$@" 2>>"$dir/chromium.log"
}

passed=0
failed=0
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

    dom=$(chromium_run --dump-dom "file://$copy")
    # The findings are the text of <pre id="velmora-result">; the DOM dump
    # escapes < and & in it, which the messages do not use.
    result=$(printf '%s\n' "$dom" | sed -n '/<pre id="velmora-result">/,/<\/pre>/p' \
        | sed -e 's/<[^>]*>//g' -e 's/&quot;/"/g' -e 's/&amp;/\&/g' | sed '/^$/d')
    if printf '%s\n' "$result" | grep -qx "PASS $name"; then
        echo "PASS $name ($(printf '%s\n' "$result" | grep -c '^ok - ') checks)"
        passed=$((passed + 1))
    else
        echo "FAIL $name"
        if [ -n "$result" ]; then
            printf '%s\n' "$result" | grep '^not ok' | sed 's/^/    /'
        else
            echo "    no findings in the rendered page (the check script did not run)"
        fi
        failed=$((failed + 1))
    fi
    printf '%s\n' "$result" >"$dir/$name.result.txt"

    chromium_run --window-size=800,600 --screenshot="$dir/$name.png" "file://$page" >/dev/null
    [ -s "$dir/$name.png" ] || echo "    (no screenshot of $name)"
done

# The check itself must see a broken page: a text cell that spans only the
# first link row, and two links in the wrong order, each have to fail.
broken_must_fail() {
    local what=$1 edit=$2 copy="$dir/broken.check.html"
    sed -e "$edit" "$dir/zwoelf_links.check.html" >"$copy"
    if chromium_run --dump-dom "file://$copy" | grep -q '^FAIL zwoelf_links'; then
        echo "PASS the check notices $what"
        passed=$((passed + 1))
    else
        echo "FAIL the check did not notice $what"
        failed=$((failed + 1))
    fi
}
broken_must_fail "a text cell that ends at the first link" 's/rowspan="13"/rowspan="1"/'
broken_must_fail "links out of order" 's/>Start</>Aktuelle</; s/>Aktuelles</>Start</; s/>Aktuelle</>Aktuelles</'

echo "browser pages: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
