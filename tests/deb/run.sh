#!/bin/bash
# Checks a built Debian package without installing it: unpacks it with
# dpkg-deb -x into a temporary root, and from there checks every file in its
# place, Depends against the programs' own libraries, the menu entry, icons
# and metainfo with their validators, both manual pages, lintian, and the
# unpacked game itself: started as the menu entry starts it in a headless X
# server, START starts the unpacked Ambient and the close button ends both.
#
#   tests/deb/run.sh BUILD_DIR [AGAIN.deb]
#
# BUILD_DIR is the folder the package was built in (its CMakeCache.txt
# names the version and the font the game embeds; the package is in
# BUILD_DIR/package). AGAIN.deb, when given, is the same sources packed by
# another build in another folder: it must be the same file. Prints one PASS or FAIL line per check and exits
# non-zero when any check failed. Logs are left in BUILD_DIR/test/; the
# picture of the menu entry the README shows is written to docs/menu-entry.png.
set -u -o pipefail

if [ $# -ne 1 ] && [ $# -ne 2 ]; then
    echo "usage: $0 BUILD_DIR [AGAIN.deb]" >&2
    exit 2
fi
AGAIN=${2:+$(realpath "$2")}
HERE=$(dirname "$(realpath "$0")")
SRC=$(realpath "$HERE/../..")
BUILD=$(realpath "$1")
ART=$BUILD/test
APP_ID=org.plinkfield.Plinkfield
ICON_SIZES="16 32 48 64 128 256 512"

for tool in dpkg-deb dpkg apt-get lintian desktop-file-validate appstreamcli man readelf ldconfig \
            Xvfb xdotool xprop jq identify convert compare fc-match; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps)"; exit 1; }
done

VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt" 2>/dev/null)
DEB=$BUILD/package/plinkfield_${VERSION}_amd64.deb
if [ -z "$VERSION" ] || [ ! -f "$DEB" ]; then
    echo "FAIL: no package plinkfield_<version>_amd64.deb in $BUILD/package"
    ls "$BUILD/package" 2>/dev/null
    exit 1
fi
echo "Testing $DEB"

mkdir -p "$ART"
rm -f "$ART"/*
WORK=$(mktemp -d /tmp/plinkfield-deb.XXXXXX)
ROOT=$WORK/root
# shellcheck source=tests/deb/lib.sh
. "$HERE/lib.sh"

cleanup() {
    stop_leftovers
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# ------------------------------------------------------------- the control

field() { dpkg-deb -f "$DEB" "$1"; }

expect "package name" plinkfield "$(field Package)"
expect "package version" "$VERSION" "$(field Version)"
expect "architecture" amd64 "$(field Architecture)"
expect "section" games "$(field Section)"
expect "priority" optional "$(field Priority)"
check "maintainer with an address" grep -q '<.*@.*>' <<<"$(field Maintainer)"
description=$(field Description)
synopsis=$(head -n 1 <<<"$description")
long_lines=$(($(wc -l <<<"$description") - 1))
check "description: a summary and a long description" test -n "$synopsis" -a "$long_lines" -ge 3
check "description: the summary is not repeated" test "$(sed -n 2p <<<"$description" | sed 's/^ //')" != "$synopsis"

# ------------------------------------------------------ the same every time

# Debian's reproducible-builds norm: the same sources make the same package,
# whatever the folder and the day. When they differ, the files that differ
# are named, and the three programs' build IDs are left in ART.
if [ -n "$AGAIN" ]; then
    if cmp -s "$DEB" "$AGAIN"; then
        pass "built again in another folder, the package is the same file ($(stat -c %s "$DEB") bytes)"
    else
        mkdir -p "$WORK/one" "$WORK/two"
        dpkg-deb -R "$DEB" "$WORK/one" && dpkg-deb -R "$AGAIN" "$WORK/two"
        differing=$(diff -rq "$WORK/one" "$WORK/two" 2>&1 | sed "s|$WORK/one/||; s|$WORK/two/||" | tr "\n" " ")
        for elf in usr/games/plinkfield usr/games/plinkfield-sim usr/lib/plinkfield/plinkfield-ambient; do
            for side in one two; do
                echo "$side $elf $(readelf -n "$WORK/$side/$elf" 2>/dev/null | sed -n 's/.*Build ID: //p')"
            done
        done >"$ART/build-ids.txt"
        { ar tv "$DEB"; ar tv "$AGAIN"; } >"$ART/ar-members.txt" 2>&1
        fail "built again in another folder, the package is the same file" \
            "${differing:-same files, different archive headers (see $ART/ar-members.txt)}"
    fi
fi

deb_bytes=$(stat -c %s "$DEB")
check "the package weighs under 6 MB ($deb_bytes bytes)" test "$deb_bytes" -lt 6000000

# ---------------------------------------------------------------- the files

dpkg-deb -x "$DEB" "$ROOT" || { echo "FAIL: dpkg-deb -x"; exit 1; }
# Every bitmap's twin, painted at twice the size, is in the game, and the
# BEST plate's that only the Linux game and the page draw: one lossless WebP
# each (their files begin RIFF....WEBPVP8L).
twins=$(grep -a -o 'WEBPVP8L' "$ROOT/usr/games/plinkfield" | wc -l)
expect "the game carries a twin of each of its 66 pictures and the BEST plate for denser screens" 67 "$twins"
(cd "$ROOT" && find . -mindepth 1 ! -type d | sed 's|^\./||' | sort) >"$ART/files.txt"

expected_files() {
    echo usr/games/plinkfield
    echo usr/games/plinkfield-sim
    echo usr/lib/plinkfield/plinkfield-ambient
    echo "usr/share/applications/$APP_ID.desktop"
    echo "usr/share/metainfo/$APP_ID.metainfo.xml"
    for size in $ICON_SIZES; do echo "usr/share/icons/hicolor/${size}x${size}/apps/$APP_ID.png"; done
    echo usr/share/man/man6/plinkfield.6.gz
    echo usr/share/man/man6/plinkfield-sim.6.gz
    echo usr/share/doc/plinkfield/copyright
    echo usr/share/doc/plinkfield/changelog.gz
}
expected_files | sort >"$WORK/expected-files.txt"
if diff -u "$WORK/expected-files.txt" "$ART/files.txt" >"$ART/files.diff"; then
    pass "every file in its place, and nothing else ($(wc -l <"$ART/files.txt") files)"
else
    fail "every file in its place, and nothing else" "$(grep '^[-+][^-+]' "$ART/files.diff" | tr '\n' ' ')"
fi

# Owner root, programs 0755, everything else 0644, folders 0755.
bad_modes=$(dpkg-deb -c "$DEB" | awk '
    $2 != "root/root" { print $6 ": owner " $2; next }
    /^d/ { if ($1 != "drwxr-xr-x") print $6 ": " $1; next }
    $6 ~ /^\.\/usr\/(games|lib\/plinkfield)\// { if ($1 != "-rwxr-xr-x") print $6 ": " $1; next }
    { if ($1 != "-rw-r--r--") print $6 ": " $1 }')
expect "owners and modes" "" "$bad_modes"

# ---------------------------------------------------- programs and Depends

ELVES="usr/games/plinkfield usr/games/plinkfield-sim usr/lib/plinkfield/plinkfield-ambient"
for elf in $ELVES; do
    [ -f "$ROOT/$elf" ] || continue
    dyn=$(readelf -d "$ROOT/$elf")
    check "$elf: no RPATH into the build tree" bash -c '! grep -q "RPATH\|RUNPATH" <<<"$1"' _ "$dyn"
    check "$elf: stripped" bash -c '! readelf -S "$1" | grep -q "\.debug_info\|\.symtab"' _ "$ROOT/$elf"
    check "$elf: full RELRO" bash -c 'grep -q "BIND_NOW\|FLAGS.*NOW" <<<"$1" && readelf -l "$2" | grep -q GNU_RELRO' _ "$dyn" "$ROOT/$elf"
done

# Every library a program needs comes from a package in Depends, and every
# package in Depends gives one of them: the list is the programs' own.
depends=$(field Depends)
depends_packages=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//; s/|.*//' | sed '/^$/d' | sort -u)
needed_packages=""
for elf in $ELVES; do
    [ -f "$ROOT/$elf" ] || continue
    for lib in $(readelf -d "$ROOT/$elf" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
        path=$(ldconfig -p | awk -v l="$lib" '$1 == l && /x86-64/ { print $NF; exit }')
        owner=$( { dpkg -S "$path" 2>/dev/null || dpkg -S "$(realpath "$path")" 2>/dev/null; } | head -n 1 | cut -d: -f1)
        if [ -z "$owner" ]; then
            fail "Depends: $lib of $elf" "no installed package holds it"
            continue
        fi
        needed_packages="$needed_packages $owner"
        check "Depends names $owner, which gives $lib to $elf" grep -qx "$owner" <<<"$depends_packages"
    done
done
for p in $depends_packages; do
    check "Depends: $p gives a library the programs need" grep -qx "$p" <<<"$(tr ' ' '\n' <<<"$needed_packages")"
done
check "Depends: versioned by dpkg-shlibdeps" grep -q 'libc6 (>= ' <<<"$depends"
check "Depends: SDL2, its mixer and its fonts" bash -c 'grep -q "libsdl2-2.0-0" <<<"$1" && grep -q "libsdl2-mixer" <<<"$1" && grep -q "libsdl2-ttf" <<<"$1"' _ "$depends"

# apt would take it: every dependency resolves (a simulation, nothing is
# installed).
if apt-get install -s "$DEB" >"$ART/apt-simulate.txt" 2>&1 && grep -q '^Inst plinkfield ' "$ART/apt-simulate.txt"; then
    pass "apt-get install ./$(basename "$DEB"), simulated, resolves"
else
    fail "apt-get install ./$(basename "$DEB"), simulated, resolves" "$(tail -n 5 "$ART/apt-simulate.txt")"
fi

# The copyright file's licence of the font built into the game is the
# licence of the font the build read.
label_font=$(sed -n 's/^PLINKFIELD_LABEL_FONT:FILEPATH=//p' "$BUILD/CMakeCache.txt")
font_package=$(dpkg -S "$label_font" 2>/dev/null | cut -d: -f1)
COPYRIGHT=$ROOT/usr/share/doc/plinkfield/copyright
font_licensed() {
    local stem=${1%-*}
    grep -q "^Files: $stem-\*\.ttf\$" "$COPYRIGHT" && grep -q '^License: SIL-OFL-1.1$' "$COPYRIGHT" &&
        grep -q '^License: SIL-OFL-1.1$' "/usr/share/doc/$2/copyright"
}
check "copyright: the embedded font $(basename "$label_font") (from $font_package) under its own licence" \
    font_licensed "$(basename "$label_font")" "$font_package"
# Machine-readable, and every licence it names is given in full somewhere:
# a "License: NAME" line followed by the indented text.
licences_in_full() {
    head -n 1 "$COPYRIGHT" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
        return 1
    local licence
    for licence in $(sed -n 's/^License: \([^ ]*\)$/\1/p' "$COPYRIGHT" | sort -u); do
        awk -v l="License: $licence" '$0 == l { getline; if ($0 ~ /^ [^ ]/) found = 1 } END { exit !found }' \
            "$COPYRIGHT" || return 1
    done
}
check "copyright: machine-readable, every licence given in full" licences_in_full

# ------------------------------------------------------------- menu entry

DESKTOP=$ROOT/usr/share/applications/$APP_ID.desktop
desktop_key() { sed -n "/^\[Desktop Entry\]/,/^\[/ s/^$1=//p" "$DESKTOP" | head -n 1; }
if [ -f "$DESKTOP" ]; then
    if desktop-file-validate "$DESKTOP" >"$ART/desktop-file-validate.txt" 2>&1 && [ ! -s "$ART/desktop-file-validate.txt" ]; then
        pass "desktop-file-validate: no errors, no warnings, no hints"
    else
        fail "desktop-file-validate" "$(cat "$ART/desktop-file-validate.txt")"
    fi
    EXEC=$(desktop_key Exec)
    check "menu entry: Exec ($EXEC) is the installed game" test "$EXEC" = /usr/games/plinkfield -a -x "$ROOT$EXEC"
    expect "menu entry: Icon by the application id" "$APP_ID" "$(desktop_key Icon)"
    expect "menu entry: StartupWMClass" "$APP_ID" "$(desktop_key StartupWMClass)"
    check "menu entry: a game" grep -q '^Game;' <<<"$(desktop_key Categories)"
    for key in Name GenericName Comment Keywords; do
        check "menu entry: $key" test -n "$(desktop_key $key)"
    done
fi

# ------------------------------------------------------------------ icons

for size in $ICON_SIZES; do
    icon=$ROOT/usr/share/icons/hicolor/${size}x${size}/apps/$APP_ID.png
    [ -f "$icon" ] || continue
    expect "icon ${size}x${size}: a PNG of that size" "PNG ${size}x${size}" "$(identify -format '%m %wx%h' "$icon" 2>&1)"
done
# Each size painted for itself: no two sizes are the same picture scaled.
if [ -f "$ROOT/usr/share/icons/hicolor/16x16/apps/$APP_ID.png" ] && [ -f "$ROOT/usr/share/icons/hicolor/512x512/apps/$APP_ID.png" ]; then
    convert "$ROOT/usr/share/icons/hicolor/512x512/apps/$APP_ID.png" -resize 16x16 "$WORK/scaled16.png"
    differing=$(compare -metric AE -fuzz 10% "$WORK/scaled16.png" "$ROOT/usr/share/icons/hicolor/16x16/apps/$APP_ID.png" null: 2>&1)
    check "icon 16x16: drawn at its size, not the 512 scaled down ($differing pixels differ)" test "${differing%%.*}" -gt 0 2>/dev/null
fi

# --------------------------------------------------------------- metainfo

METAINFO=$ROOT/usr/share/metainfo/$APP_ID.metainfo.xml
if [ -f "$METAINFO" ]; then
    if appstreamcli validate --no-net "$METAINFO" >"$ART/appstreamcli.txt" 2>&1; then
        pass "appstreamcli validate --no-net"
    else
        fail "appstreamcli validate --no-net" "$(cat "$ART/appstreamcli.txt")"
    fi
    # The values other files must agree with, read by AppStream's own parser
    # (converted to its YAML form).
    appstreamcli convert --format=yaml "$METAINFO" "$WORK/component.yml" >/dev/null 2>&1
    yaml=$(cat "$WORK/component.yml" 2>/dev/null)
    check "metainfo: id is the application id" grep -q "^ID: $APP_ID\$" <<<"$yaml"
    launchable=$(awk '/^ *desktop-id:$/ { getline; print $2; exit }' <<<"$yaml")
    check "metainfo: launchable '$launchable' is the installed menu entry" test -n "$launchable" -a -f "$ROOT/usr/share/applications/$launchable"
    check "metainfo: release $VERSION" grep -q "version: '\?$VERSION'\?\$" <<<"$yaml"
    check "metainfo: OARS violence-cartoon mild" grep -q "violence-cartoon: mild" <<<"$yaml"
    binaries=$(awk '/^ *binaries:$/ { on = 1; next } on && /^ *- / { print $2; next } { on = 0 }' <<<"$yaml")
    check "metainfo: provides binaries" test -n "$binaries"
    for binary in $binaries; do
        check "metainfo: provided binary $binary is installed" test -x "$ROOT/usr/games/$binary"
    done
    screenshot=$(sed -n 's/^ *url: //p' <<<"$yaml" | grep '\.png$' | head -n 1)
    shot_file=$SRC/docs/$(basename "${screenshot:-none}")
    if [ -n "$screenshot" ] && [ -f "$shot_file" ]; then
        declared=$(awk '/^ *source-image:$/ { on = 1 } on && /width:/ { w = $2 } on && /height:/ { print w "x" $2; exit }' <<<"$yaml")
        expect "metainfo: screenshot $(basename "$screenshot") is docs/$(basename "$screenshot"), of the size it declares" \
            "$declared" "$(identify -format '%wx%h' "$shot_file")"
    else
        fail "metainfo: screenshot $(basename "${screenshot:-none}") is docs/$(basename "${screenshot:-none}")"
    fi
fi

# ------------------------------------------------------------ manual pages

# man_page NAME MUST_SHOW...: renders the installed page with man -l; it
# renders without warnings and shows every given text.
man_page() {
    local page=$ROOT/usr/share/man/man6/$1.6.gz name=$1
    shift
    [ -f "$page" ] || return
    if ! MANWIDTH=80 man -l "$page" >"$ART/$name.6.txt" 2>"$ART/$name.6.err" || [ ! -s "$ART/$name.6.txt" ]; then
        fail "man -l $name.6.gz renders" "$(cat "$ART/$name.6.err")"
        return
    fi
    pass "man -l $name.6.gz renders"
    # As lintian reads it: no preprocessor but what the page asks for. groff
    # 1.23 (Debian 13) warns about a table tbl never saw; 1.22 is silent, so
    # a page with a table must ask for tbl on its first line.
    LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -l "$page" 2>"$ART/$name.6.warnings" >/dev/null
    if zcat "$page" | grep -q '^\.TS'; then
        expect "man $name: its table asks for tbl" "'\\\" t" "$(zcat "$page" | head -n 1)"
    fi
    expect "man $name: no roff warnings" "" "$(cat "$ART/$name.6.warnings")"
    local text
    for text in "$@"; do
        check "man $name shows '$text'" grep -qF -- "$text" "$ART/$name.6.txt"
    done
}
man_page plinkfield "plinkfield - " "plinkfield(6)" "--scale N" "F11" "Arrow keys" "START" "CANCEL" \
    "/usr/lib/plinkfield/plinkfield-ambient" "plinkfield-sim(6)"
man_page plinkfield-sim "plinkfield-sim(6)" "tick [N]" "click X Y" '{"ambient":"start"}' "seed N" "plinkfield(6)"

# The pages tell what the installed programs do: every option the game's
# usage names is in its page, and every command form the simulator's page
# lists is one the installed simulator takes.
if [ -x "$ROOT/usr/games/plinkfield" ] && [ -s "$ART/plinkfield.6.txt" ]; then
    usage=$(cd / && "$ROOT/usr/games/plinkfield" --help 2>&1)
    options=$(grep -o -- '--[a-z][a-z-]*' <<<"$usage" | sort -u)
    check "plinkfield --help names its options" test -n "$options"
    for option in $options; do
        check "man plinkfield documents $option" grep -qF -- "$option" "$ART/plinkfield.6.txt"
    done
fi
if [ -x "$ROOT/usr/games/plinkfield-sim" ] && [ -s "$ART/plinkfield-sim.6.txt" ]; then
    commands='seed 7
start
tick
tick 3
click 615 412
move 100 200
key left
key up
key right
key down
ambient missing
ambient present
set score 5
set hole_hittable[3] 1
state
scene
cancel
minimize
close'
    errors=$(cd / && "$ROOT/usr/games/plinkfield-sim" <<<"$commands" | grep '"error"')
    expect "plinkfield-sim takes every command form its page lists" "" "$errors"
    # The command words the page's COMMANDS section starts its entries with.
    # An entry is a line indented 7 whose next line is indented 11.
    listed=$(sed -n '/^COMMANDS$/,/^OUTPUT$/p' "$ART/plinkfield-sim.6.txt" |
        awk '/^           [^ ]/ && prev ~ /^       [a-z]/ { print prev } { prev = $0 }' |
        sed 's/^ *//' | tr ',' '\n' | awk '{ print $1 }' | sort -u | tr '\n' ' ')
    expect "man plinkfield-sim lists exactly these commands" \
        "$(cut -d' ' -f1 <<<"$commands" | sort -u | tr '\n' ' ')" "$listed"
fi

# ------------------------------------------------------------------ lintian

lintian --pedantic --display-info --display-experimental --fail-on error --tag-display-limit 0 "$DEB" \
    >"$ART/lintian.txt" 2>&1
lintian_status=$?
expect "lintian: no errors" "0: " "$lintian_status: $(grep '^E:' "$ART/lintian.txt")"
note "lintian: $(grep -c '^W:' "$ART/lintian.txt") warnings, $(grep -c '^[IPX]:' "$ART/lintian.txt") notes (in $ART/lintian.txt)"
grep '^[WIPX]:' "$ART/lintian.txt" | sed 's/^/  .. /'

# ------------------------------------------------ the installed game, running

if [ -n "${EXEC:-}" ] && [ -x "$ROOT${EXEC:-/none}" ]; then
    if start_x; then
        # As the menu starts it: the entry's command, under this run's root,
        # from a neutral folder, with nothing of the build tree on any path.
        DUMP=$WORK/scene.json
        # Its best games in this run's folder, never in the real home.
        (cd / && exec env -u LD_LIBRARY_PATH PLINKFIELD_SCENE_DUMP="$DUMP" SDL_AUDIODRIVER=dummy XDG_DATA_HOME="$WORK/data" \
            "$ROOT$EXEC") >"$ART/game.log" 2>&1 &
        GAME_PID=$!
        play_start_and_close
    else
        fail "Xvfb starts" "$(cat "$ART/xvfb.log")"
    fi
else
    fail "the installed game runs" "the menu entry's command is not in the package"
fi

# ---------------------------------------------- the menu entry, as a picture

# The README shows the menu entry: the installed 64-pixel icon with the
# entry's name and generic name, as an applications menu lists it.
icon64=$ROOT/usr/share/icons/hicolor/64x64/apps/$APP_ID.png
if [ -f "$icon64" ] && [ -f "$DESKTOP" ]; then
    menu_font=$(fc-match -f '%{file}' 'Liberation Sans' 2>/dev/null)
    if convert -size 360x84 xc:'#f6f5f4' "$icon64" -geometry +10+10 -composite \
            ${menu_font:+-font "$menu_font"} -fill '#241f31' -pointsize 20 -annotate +86+38 "$(desktop_key Name)" \
            -fill '#5e5c64' -pointsize 14 -annotate +86+60 "$(desktop_key GenericName)" \
            -strip -define png:exclude-chunks=date,time "$WORK/menu-entry.png"; then
        cmp -s "$WORK/menu-entry.png" "$SRC/docs/menu-entry.png" || cp "$WORK/menu-entry.png" "$SRC/docs/menu-entry.png"
        pass "picture of the menu entry: docs/menu-entry.png"
    else
        fail "picture of the menu entry"
    fi
fi

summary
