# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The stages of test.sh beyond build and ctest: the package check, the fuzz
# run, clang-tidy and clang-format. Each is a function that returns non-zero
# when its check fails; `stage` runs one, times it and remembers the result, so
# that every stage runs even when an earlier one failed.
# Needs scripts/common.sh first (VELMORA_ROOT).

STAGE_NAMES=()
STAGE_RESULTS=()
STAGE_SECONDS=()

# stage NAME COMMAND [ARGS...] — runs COMMAND with errexit in a subshell.
stage() {
    local name=$1 start end rc
    shift
    echo
    echo "== $name"
    start=$(date +%s)
    (
        set -e
        "$@"
    )
    rc=$?
    end=$(date +%s)
    STAGE_NAMES+=("$name")
    STAGE_SECONDS+=("$((end - start))")
    if [ $rc -eq 0 ]; then
        STAGE_RESULTS+=(passed)
        echo "== $name: passed ($((end - start)) s)"
    else
        STAGE_RESULTS+=(FAILED)
        echo "== $name: FAILED ($((end - start)) s)"
    fi
}

# stage_summary — prints a line per stage; returns non-zero if any failed.
stage_summary() {
    local i failed=()
    echo
    echo "== summary"
    for i in "${!STAGE_NAMES[@]}"; do
        printf '   %-7s %5s s  %s\n' "${STAGE_RESULTS[$i]}" "${STAGE_SECONDS[$i]}" "${STAGE_NAMES[$i]}"
        [ "${STAGE_RESULTS[$i]}" = passed ] || failed+=("${STAGE_NAMES[$i]}")
    done
    if [ ${#failed[@]} -ne 0 ]; then
        local IFS=';'
        echo "== ${#failed[@]} stage(s) FAILED: ${failed[*]}" | sed 's/;/; /g'
        return 1
    fi
    echo "== all stages passed"
}

# The files of the installed program, below the prefix.
APP_ID=invalid.velmora.velmora
PACKAGE_FILES=(bin/Velmora
               share/man/man1/Velmora.1
               "share/applications/$APP_ID.desktop"
               "share/metainfo/$APP_ID.metainfo.xml"
               "share/icons/hicolor/32x32/apps/$APP_ID.png"
               "share/icons/hicolor/48x48/apps/$APP_ID.png"
               "share/icons/hicolor/64x64/apps/$APP_ID.png"
               "share/icons/hicolor/128x128/apps/$APP_ID.png"
               "share/icons/hicolor/256x256/apps/$APP_ID.png"
               "share/icons/hicolor/scalable/apps/$APP_ID.svg")
# What the Debian package holds besides, below /usr.
DEBIAN_FILES=(share/doc/velmora/copyright share/doc/velmora/changelog.gz)

# archive_tree FILE — the tracked and the new, not ignored files of the
# working tree as a tar archive, uncommitted edits included.
archive_tree() {
    local files
    files=$(mktemp)
    # a file deleted in the working tree is still tracked: it is left out
    (cd "$VELMORA_ROOT" && git ls-files -z -co --exclude-standard >"$files") &&
        (cd "$VELMORA_ROOT" && while IFS= read -r -d '' f; do
            [ -e "$f" ] && printf '%s\0' "$f"
        done <"$files" | tar --null -T - -cf "$1")
    local rc=$?
    rm -f "$files"
    return $rc
}

# source_copy DIR — the source tree into DIR: in a git checkout the tracked
# and the new, not ignored files (archive_tree),
# elsewhere, as in the other release's root, whose copy has no git, every
# file but the build folders.
source_copy() {
    local dir=$1 archive rc=0
    if command -v git >/dev/null && git -C "$VELMORA_ROOT" rev-parse --git-dir >/dev/null 2>&1; then
        archive=$(mktemp)
        archive_tree "$archive" && mkdir -p "$dir" && tar -xf "$archive" -C "$dir" || rc=1
        rm -f "$archive"
        return $rc
    else
        mkdir -p "$dir" && (cd "$VELMORA_ROOT" && tar --exclude='./build*' -cf - .) | tar -xf - -C "$dir"
    fi
}

# copied_now DIR — gives every file below DIR the time of now, as a fresh
# checkout has them: Qt's resource compiler would store the icon's time in the
# program without SOURCE_DATE_EPOCH, so two copies made at two times show
# whether a build depends on it. (dpkg-deb sets every newer time in the
# package to the date of debian/changelog, but keeps an older one: a file
# older than that entry would carry its own time into the package.)
copied_now() {
    find "$1" -exec touch -h {} +
}

# dpkg_build SOURCE LOG [nocheck] [DPKG-BUILDPACKAGE OPTIONS...] — runs
# dpkg-buildpackage in the copy SOURCE, with its output in LOG, in the time
# zone, locale and umask the caller set. It runs the package's tests unless
# nocheck is given; the display variables of this shell are dropped, so that
# a test that needs a desktop and lacks its label fails here as it would on
# a build machine.
dpkg_build() {
    local src=$1 log=$2 options="parallel=2" profile=()
    shift 2
    if [ "${1:-}" = nocheck ]; then
        options+=" nocheck"
        profile=(-Pnocheck)
        shift
    fi
    if ! (cd "$src" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
        DEB_BUILD_OPTIONS="$options" dpkg-buildpackage -us -uc "${profile[@]}" "$@") >"$log" 2>&1; then
        grep -E 'error|Error|FAILED|Failed' "$log" | head -40
        tail -25 "$log"
        echo "dpkg-buildpackage failed; the whole log is ${log#"$VELMORA_ROOT/"}"
        return 1
    fi
}

# debian_package DIR [nocheck] — the Debian source package and its binary
# package, built with dpkg-buildpackage as a packager builds them, from a
# copy of the source in DIR/deb/velmora-VERSION, since dpkg-buildpackage
# writes into the folder above it. The build runs the package's tests (every
# test that needs no desktop) unless nocheck is given. lintian --pedantic of
# this release must report no error and no warning on what it made; its
# other tags are listed. Leaves the results in DIR/package and the build's
# log in DIR/deb/build.log.
debian_package() {
    local dir=$VELMORA_ROOT/$1 mode=${2:-} src rc=0
    src=$dir/deb/velmora-$(dpkg-parsechangelog -l "$VELMORA_ROOT/debian/changelog" -S Version)
    rm -rf "$dir/deb" "$dir/package"
    source_copy "$src" || { echo "the source could not be copied to ${src#"$VELMORA_ROOT/"}"; return 1; }
    copied_now "$src"
    (umask 022 && TZ=UTC LC_ALL=C.UTF-8 dpkg_build "$src" "$dir/deb/build.log" $mode) || return 1
    grep -E '^[0-9]+% tests passed' "$dir/deb/build.log" || echo "the package's tests: not run ($mode)"
    mkdir -p "$dir/package"
    find "$dir/deb" -maxdepth 1 -type f -name 'velmora*' -exec mv -t "$dir/package" {} +
    echo "built: $(cd "$dir/package" && echo *)"
    echo "lintian $(dpkg-query -W -f='${Version}' lintian) --pedantic:"
    lintian --pedantic --display-info --display-experimental --fail-on error,warning \
        "$dir"/package/velmora_*.changes >"$dir/deb/lintian.log" 2>&1 || rc=$?
    grep -v '^running with root privileges' "$dir/deb/lintian.log" | sed 's/^/    /' || true
    if [ "$rc" -ne 0 ]; then
        echo "lintian found errors or warnings (exit $rc)"
        return 1
    fi
    echo "lintian: no error, no warning"
}

# check_package BUILD_DIR — installs BUILD_DIR into a scratch prefix, builds
# the Debian package (debian_package, into BUILD_DIR/package) and checks that
# both hold the program, manual page, desktop entry, metainfo and every icon,
# and the package its copyright file and changelog; validates the desktop
# entry and the metainfo, which must name the project's licence; checks that
# the icons in the repository are what packaging/icons/make_icons.py draws,
# and checks the package's Depends (check_depends).
check_package() {
    local dir=$VELMORA_ROOT/$1 prefix f deb contents drawn missing=0
    prefix=$(mktemp -d)
    cmake --install "$dir" --prefix "$prefix" >/dev/null
    for f in "${PACKAGE_FILES[@]}"; do
        if [ -s "$prefix/$f" ]; then echo "installed: $f"; else echo "NOT installed: $f"; missing=1; fi
    done
    if ldd "$prefix/bin/Velmora" | grep 'not found'; then
        echo "the installed program misses libraries"
        missing=1
    fi
    desktop-file-validate "$prefix/share/applications/$APP_ID.desktop" || missing=1
    appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$APP_ID.metainfo.xml" || missing=1
    if grep -q '<project_license>GPL-3.0-or-later</project_license>' \
        "$prefix/share/metainfo/$APP_ID.metainfo.xml"; then
        echo "metainfo: project licence GPL-3.0-or-later"
    else
        echo "the metainfo does not name the project's licence, GPL-3.0-or-later"
        missing=1
    fi
    rm -rf "$prefix"

    drawn=$(mktemp -d)
    /usr/bin/python3 "$VELMORA_ROOT/packaging/icons/make_icons.py" "$drawn"
    if diff -r "$drawn/hicolor" "$VELMORA_ROOT/packaging/icons/hicolor"; then
        echo "icons: as make_icons.py draws them"
    else
        echo "the icons in packaging/icons differ from what make_icons.py draws: run it"
        missing=1
    fi
    rm -rf "$drawn"

    debian_package "$1" || missing=1
    deb=$(ls "$dir"/package/velmora_*.deb 2>/dev/null | head -1)
    [ -n "$deb" ] || { echo "no package was built"; return 1; }
    echo "package: ${deb#"$VELMORA_ROOT/"}"
    contents=$(dpkg-deb -c "$deb")
    # dh_compress compresses the manual page
    for f in "${PACKAGE_FILES[@]/%.1/.1.gz}" "${DEBIAN_FILES[@]}"; do
        if grep -q " \./usr/$f\$" <<<"$contents"; then
            echo "in package: /usr/$f"
        else
            echo "NOT in package: /usr/$f"
            missing=1
        fi
    done
    check_depends "$deb" || missing=1
    return $missing
}

# check_reproducible DIR — builds the binary package a second time, as
# someone else would elsewhere: from a copy of the source in another path,
# made later (copied_now), in another time zone, locale and umask, and
# without the tests (nocheck). Every .deb must be, byte for byte,
# the one that debian_package left in DIR/package.
check_reproducible() {
    local dir=$VELMORA_ROOT/$1 again src deb other bad=0
    again=$dir/deb-again
    src=$again/a/longer/path/velmora-elsewhere
    rm -rf "$again"
    ls "$dir"/package/*.deb >/dev/null 2>&1 || { echo "no package in $1/package (did check_package run?)"; return 1; }
    (
        umask 002
        source_copy "$src" || exit 1
        copied_now "$src"
        TZ=Etc/GMT-14 LC_ALL=C dpkg_build "$src" "$again/build.log" nocheck -b
    ) || return 1
    for deb in "$dir"/package/*.deb; do
        other=$(dirname "$src")/$(basename "$deb")
        if [ ! -f "$other" ]; then
            echo "the second build made no $(basename "$deb")"
            bad=1
        elif cmp -s "$deb" "$other"; then
            echo "reproducible: $(basename "$deb") $(sha256sum <"$deb" | cut -d' ' -f1)"
        else
            echo "NOT reproducible: $(basename "$deb")"
            echo "    first:  $(sha256sum <"$deb" | cut -d' ' -f1) ${deb#"$VELMORA_ROOT/"}"
            echo "    second: $(sha256sum <"$other" | cut -d' ' -f1) ${other#"$VELMORA_ROOT/"}"
            diff <(dpkg-deb -c "$deb" | awk '{print $3, $6}') \
                <(dpkg-deb -c "$other" | awk '{print $3, $6}') | head -20 || true
            mkdir -p "$again/first" "$again/second"
            dpkg-deb -x "$deb" "$again/first"
            dpkg-deb -x "$other" "$again/second"
            diff -rq --no-dereference "$again/first" "$again/second" | head -20 || true
            bad=1
        fi
    done
    return $bad
}

# check_depends DEB — the package's Depends must name, with a least version,
# the package that holds each library its program links on this machine, as
# dpkg-shlibdeps works them out, and Qt's Wayland platform, which the program
# loads without linking it.
check_depends() {
    local deb=$1 depends unpacked program so path pkg bad=0
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "depends: $depends"
    unpacked=$(mktemp -d)
    dpkg-deb -x "$deb" "$unpacked"
    program=$unpacked/usr/bin/Velmora
    for so in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p'); do
        path=$(ldd "$program" | awk -v so="$so" '$1 == so { print $3 }')
        # dpkg knows a library by the path it installed, which may be below
        # /usr or not
        pkg=$({ dpkg -S "$path" || dpkg -S "$(realpath "$path")"; } 2>/dev/null | head -1 | cut -d: -f1)
        if [ -z "$pkg" ]; then
            echo "links $so: no package holds ${path:-it}"
            bad=1
        elif [[ ", $depends" =~ ", $pkg (>= "[^\)]+")" ]]; then
            echo "links $so: depends on ${BASH_REMATCH[0]#, }"
        else
            echo "links $so of $pkg, but the package does not depend on a version of it"
            bad=1
        fi
    done
    rm -rf "$unpacked"
    if [[ ", $depends," == *", qt6-wayland,"* || ", $depends," == *", qt6-wayland ("* ]]; then
        echo "depends on qt6-wayland"
    else
        echo "does not depend on qt6-wayland"
        bad=1
    fi
    return $bad
}

# The releases whose packages check_clean_root tries, oldest first.
CLEAN_ROOT_RELEASES=(bookworm trixie)

# check_clean_root PACKAGE_BUILD_DIR TEST_BUILD_DIR [OTHER_BUILD_DIR] — tries
# the Debian package that check_package built in PACKAGE_BUILD_DIR, and the
# other release's package in OTHER_BUILD_DIR/package (build-other by default;
# OTHER_BUILD_DIR/release names that release), in clean roots of both releases
# that mmdebstrap makes:
#   - in the older release's root apt must refuse the newer release's package,
#     naming a dependency that it cannot meet there;
#   - the older release's package installs in its own root and in the newer
#     release's root; then, that root as clean again as it was, the newer
#     release's package installs there too.
# Each install takes only what the package depends on (and Xvfb and xdotool
# to drive it) and must pull qt6-wayland; scripts/in_clean_root.sh then
# starts Velmora under Xvfb and clicks "Start" and the finish. Each page must
# be, byte for byte, the page that default_page of TEST_BUILD_DIR writes, and
# every face of packaging/faces.txt must resolve as that file says. Needs the
# network (the roots come from Debian's mirror); without it the check fails.
check_clean_root() {
    local other_dir=${3:-build-other} own_release other_release older newer work name bad=0
    local -A deb
    own_release=$(this_release)
    other_release=$(cat "$VELMORA_ROOT/$other_dir/release" 2>/dev/null) || true
    deb[$own_release]=$(ls "$VELMORA_ROOT/$1"/package/velmora_*.deb 2>/dev/null | head -1)
    [ -n "${deb[$own_release]}" ] || { echo "no Debian package in $1/package (did check_package run?)"; return 1; }
    [ -n "$other_release" ] && deb[$other_release]=$(ls "$VELMORA_ROOT/$other_dir"/package/velmora_*.deb 2>/dev/null | head -1)
    if [ -z "$other_release" ] || [ -z "${deb[$other_release]}" ]; then
        echo "no Debian package of the other release in $other_dir/package, or no $other_dir/release (did the stage of the other release run?)"
        return 1
    fi
    older=${CLEAN_ROOT_RELEASES[0]}
    newer=${CLEAN_ROOT_RELEASES[1]}
    if [ "$own_release $other_release" != "$older $newer" ] && [ "$own_release $other_release" != "$newer $older" ]; then
        echo "this machine runs \"$own_release\" and the other package is of \"$other_release\": this check knows $older and $newer"
        return 1
    fi
    echo "packages: $older from ${deb[$older]#"$VELMORA_ROOT/"}, $newer from ${deb[$newer]#"$VELMORA_ROOT/"}"
    as_root true || return 1
    work=$(mktemp -d)
    name=$("$VELMORA_ROOT/$2/tests/package/default_page" "$work/expected")
    # The two roots are made at once: each mostly waits for the mirror.
    clean_root "$older" "$work" "refuse /tmp/velmora-$newer.deb $newer-refused" \
        "install /tmp/velmora-$older.deb $older" "run $older" &
    local older_job=$!
    clean_root "$newer" "$work" "install /tmp/velmora-$older.deb $older" "run $older" \
        "remove $older" "install /tmp/velmora-$newer.deb $newer" "run $newer" &
    local newer_job=$!
    # Background jobs ignore Ctrl+C; a stopped stage passes it on to the
    # makers of the roots, which then remove them, and waits for that.
    trap 'stop_jobs $older_job $newer_job; rm -rf "$work"; exit 130' INT TERM
    wait $older_job || bad=1
    wait $newer_job || bad=1
    trap - INT TERM
    if [ $bad -eq 0 ]; then
        echo "== $older root"
        judge_refused "$work/$older/$newer-refused" "${deb[$newer]}" || bad=1
        judge_run "$work/$older/$older" "$work/expected/$name" || bad=1
        echo "== $newer root"
        judge_run "$work/$newer/$older" "$work/expected/$name" || bad=1
        if [ "$(cat "$work/$newer/$older/clean")" = yes ]; then
            echo "$older's package purged: the root holds what it held before"
        else
            echo "$older's package purged, but the root is not as before:"
            sed 's/^/    /' "$work/$newer/$older/clean"
            bad=1
        fi
        judge_run "$work/$newer/$newer" "$work/expected/$name" || bad=1
    fi
    rm -rf "$work"
    return $bad
}

# stop_jobs PID... — SIGINT for what each background job PID runs (through
# sudo too), and waits for the jobs to end.
stop_jobs() {
    local job child
    for job in "$@"; do
        for child in $(pgrep -P "$job"); do as_root kill -INT "$child" 2>/dev/null; done
    done
    wait "$@" 2>/dev/null
}

# clean_root RELEASE WORK STEP... — a clean root of RELEASE (made as root,
# through sudo for a user), in memory, with
# both packages, scripts/in_clean_root.sh and packaging/faces.txt in its /tmp,
# in which in_clean_root.sh runs each STEP; what the steps leave is copied to
# WORK/RELEASE. Fails only when there is no root (no network?).
clean_root() {
    local release=$1 out=$2/$1 step hooks=() r start=$SECONDS
    shift 2
    for r in "${CLEAN_ROOT_RELEASES[@]}"; do
        hooks+=(--customize-hook="upload ${deb[$r]} /tmp/velmora-$r.deb")
    done
    for step in "$@"; do
        # The program runs in a network namespace of its own, so that its X
        # server and clients cannot meet the machine's through abstract sockets.
        case $step in
        run\ *) hooks+=(--customize-hook="unshare --net chroot \"\$1\" sh /tmp/in_clean_root.sh $step") ;;
        *) hooks+=(--customize-hook="chroot \"\$1\" sh /tmp/in_clean_root.sh $step") ;;
        esac
    done
    mkdir -p "$out"
    # The root is thrown away, so it may live in memory and skip dpkg's syncs:
    # on disk the same root took three times as long.
    local tmp=${TMPDIR:-/tmp}
    [ -d /dev/shm ] && [ -w /dev/shm ] && tmp=/dev/shm
    # The packages the last root of this release fetched are kept for the
    # next one; apt takes a kept one only when it is what the mirror offers.
    local debs=$VELMORA_ROOT/build-roots/$release-debs
    mkdir -p "$debs"
    rm -rf "$debs.new"
    local rc=0
    as_root_giving_back "$out" "$debs.new" -- env TMPDIR="$tmp" mmdebstrap --variant=apt --quiet --dpkgopt=force-unsafe-io \
        --include=xvfb,xauth,xdotool --skip=essential/unlink \
        --setup-hook='mkdir -p "$1"/var/cache/apt/archives' \
        --setup-hook="sync-in $debs /var/cache/apt/archives" \
        --customize-hook="upload $VELMORA_ROOT/scripts/in_clean_root.sh /tmp/in_clean_root.sh" \
        --customize-hook="upload $VELMORA_ROOT/scripts/desktop.sh /tmp/desktop.sh" \
        --customize-hook="upload $VELMORA_ROOT/packaging/faces.txt /tmp/faces.txt" \
        "${hooks[@]}" --customize-hook="sync-out /tmp/out $out" \
        --customize-hook='chroot "$1" apt-get autoclean -qq' \
        --customize-hook="sync-out /var/cache/apt/archives $debs.new" \
        "$release" /dev/null >"$out.log" 2>&1 || rc=$?
    if [ $rc -ne 0 ]; then
        tail -30 "$out.log"
        echo "mmdebstrap failed: no clean $release root (no network?)"
        return 1
    fi
    rm -rf "$debs"
    mv "$debs.new" "$debs"
    echo "$release root: made and tried in $((SECONDS - start)) s"
}

# judge_refused OUT DEB — apt refused DEB, naming dependencies of it.
judge_refused() {
    local out=$1 deb=$2 unmet names
    unmet=$(grep -oE 'Depends: [^ ]+ [^:]*' "$out/apt.log" | sed 's/^Depends: //') || true
    names=" $(dpkg-deb -f "$deb" Depends | sed -E 's/ \([^)]*\)//g; s/,/ /g') "
    if [ "$(cat "$out/status")" = 0 ] || [ "$(cat "$out/installed")" != no ]; then
        echo "apt installed the $(basename "$out" -refused) package here"
        return 1
    fi
    if [ -z "$unmet" ]; then
        echo "apt refused the $(basename "$out" -refused) package (exit $(cat "$out/status")) but named no dependency:"
        sed 's/^/    /' "$out/apt.log"
        return 1
    fi
    echo "apt refused the $(basename "$out" -refused) package (exit $(cat "$out/status")):"
    while IFS= read -r line; do
        if [[ $names == *" ${line%% *} "* ]]; then
            echo "    unmet: $line"
        else
            echo "    unmet, but not a dependency of the package: $line"
            return 1
        fi
    done <<<"$unmet"
}

# judge_run OUT EXPECTED — the package installed and pulled qt6-wayland, the
# program wrote EXPECTED's page, every face resolved as packaging/faces.txt says.
judge_run() {
    local out=$1 expected=$2 page line got want bad=0
    page=$out/$(basename "$expected")
    if [ "$(cat "$out/status")" != 0 ]; then
        echo "apt did not install the $(basename "$out") package:"
        tail -20 "$out/apt.log" | sed 's/^/    /'
        return 1
    fi
    echo "$(basename "$out") package installed; $(basename "$out") run:"
    sed 's/^/    /' "$out/log.txt"
    if grep -q 'install ok installed' "$out/wayland"; then
        echo "qt6-wayland: pulled in"
    else
        echo "qt6-wayland: not pulled in ($(cat "$out/wayland"))"
        bad=1
    fi
    if cmp "$expected" "$page"; then
        echo "page: $(basename "$expected") as a fresh wizard writes it ($(wc -c <"$expected") bytes)"
    else
        echo "page: $(basename "$expected") is not the default page"
        bad=1
    fi
    while IFS= read -r line; do
        got=${line##* => }
        line=${line% => *}
        if [[ $line == file:* ]]; then want=present; else want=${line#*=}; fi
        if [ "$got" = "$want" ]; then
            echo "face: $line"
        else
            echo "face: $line, but it is $got"
            bad=1
        fi
    done <"$out/faces.txt"
    if [ "$(wc -l <"$out/faces.txt")" -ne "$(grep -cv -e '^#' -e '^[[:space:]]*$' \
        "$VELMORA_ROOT/packaging/faces.txt")" ]; then
        echo "not every face of packaging/faces.txt was checked"
        bad=1
    fi
    return $bad
}

# run_fuzzer TARGET SEEDS SECONDS — builds the libFuzzer targets with clang in
# build-fuzz and runs TARGET (with fuzz/TARGET.dict, minus "_fuzz") from the
# seeds in fuzz/SEEDS for SECONDS; a failed check, a crash or a leak fails.
run_fuzzer() {
    local target=$1 seeds=$2 seconds=$3 dir=$VELMORA_ROOT/build-fuzz rc
    CXX=clang++ cmake -S "$VELMORA_ROOT/fuzz" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
    cmake --build "$dir" -j2
    mkdir -p "$dir/corpus-$target"
    rc=0
    "$dir/$target" -dict="$VELMORA_ROOT/fuzz/${target%_fuzz}.dict" -max_total_time="$seconds" \
        -timeout=10 -print_final_stats=1 -artifact_prefix="$dir/" \
        "$dir/corpus-$target" "$VELMORA_ROOT/fuzz/$seeds" >"$dir/$target.log" 2>&1 || rc=$?
    grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$dir/$target.log" || true
    if [ $rc -ne 0 ]; then
        grep -E 'mismatch|does not|are not|is refused|reads back|ERROR|SUMMARY|Test unit written' \
            "$dir/$target.log" | head -20
        echo "fuzzing failed (exit $rc); the whole log is ${dir#"$VELMORA_ROOT/"}/$target.log"
        return 1
    fi
}

# The project's own sources: what clang-format checks and clang-tidy reads.
SOURCE_DIRS=(settings generator wizard ui app tests bench fuzz)

# tidy_file DB FILE LOGDIR — one clang-tidy run, its findings kept in LOGDIR.
tidy_file() {
    local db=$1 file=$2 logdir=$3 log rc=0
    log="$logdir/$(printf '%s' "${file#"$VELMORA_ROOT/"}" | tr '/' '_').log"
    # The compile commands are GCC's; an option only GCC knows is no finding.
    clang-tidy -p "$db" --quiet --extra-arg=-Wno-unknown-warning-option "$file" \
        >"$log.raw" 2>&1 || rc=$?
    # clang-tidy's own counters are noise; findings and errors stay
    grep -vE '^[0-9]+ (warning|error)s?( and [0-9]+ (warning|error)s?)? generated\.$' "$log.raw" \
        >"$log" || true
    rm -f "$log.raw"
    if [ $rc -ne 0 ] || grep -qE ': (warning|error):' "$log"; then
        echo "clang-tidy: ${file#"$VELMORA_ROOT/"}: findings"
        return 1
    fi
    rm -f "$log"
}
export -f tidy_file

# run_clang_tidy DB_DIR... — clang-tidy with the root .clang-tidy over every
# project source file that the compile databases of DB_DIR... name.
run_clang_tidy() {
    local logdir=$VELMORA_ROOT/build-tidy dirs db pattern count rc=0
    rm -rf "$logdir"
    mkdir -p "$logdir"
    dirs=$(IFS='|'; echo "${SOURCE_DIRS[*]}")
    pattern="^$VELMORA_ROOT/($dirs)/"
    for db in "$@"; do
        db=$VELMORA_ROOT/$db
        if [ ! -f "$db/compile_commands.json" ]; then
            echo "no compile database in ${db#"$VELMORA_ROOT/"} (its build failed?)"
            rc=1
            continue
        fi
        grep -oE '"file": *"[^"]+"' "$db/compile_commands.json" | sed -E 's/^"file": *"(.*)"$/\1/' \
            | grep -E "$pattern" | sort -u >"$logdir/files"
        count=$(wc -l <"$logdir/files")
        echo "clang-tidy over $count files of ${db#"$VELMORA_ROOT/"}"
        VELMORA_ROOT=$VELMORA_ROOT xargs -P2 -I{} bash -c 'tidy_file "$1" "$2" "$3"' _ "$db" {} \
            "$logdir" <"$logdir/files" || rc=1
    done
    if [ $rc -ne 0 ]; then
        echo "findings (the notes that go with them are in ${logdir#"$VELMORA_ROOT/"}/):"
        cat "$logdir"/*.log 2>/dev/null | grep -E ': (warning|error): ' \
            | sed "s|^$VELMORA_ROOT/||" | sort -u
        return 1
    fi
    echo "clang-tidy: no findings"
}

# check_format — clang-format --dry-run over the sources, with the root
# .clang-format.
check_format() {
    local files
    mapfile -t files < <(cd "$VELMORA_ROOT" && find "${SOURCE_DIRS[@]}" \( -name '*.h' -o -name '*.cpp' \) \
        -type f 2>/dev/null | sort)
    echo "clang-format over ${#files[@]} files"
    (cd "$VELMORA_ROOT" && clang-format --dry-run --Werror "${files[@]}") || return 1
    echo "clang-format: every file is formatted"
}

# reuse_lint — the REUSE tool of this release over a copy of the source: every
# file states its copyright and licence (in the file, or in .reuse/dep5 for
# those that cannot), and every licence named has its text in LICENSES/.
reuse_lint() {
    local copy rc=0
    copy=$(mktemp -d)
    source_copy "$copy" || { rm -rf "$copy"; echo "the source could not be copied"; return 1; }
    echo "reuse $(dpkg-query -W -f='${Version}' reuse)"
    (cd "$copy" && reuse lint) || rc=$?
    rm -rf "$copy"
    return $rc
}
