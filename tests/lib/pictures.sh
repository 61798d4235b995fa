# Screenshots of the game window compared with the painted files
# ($RES/game/<id>.bmp). Sourced by harness.sh.

# differing_pixels A.png B.png: how many pixels differ at all ("error: ..."
# when the two cannot be compared, for instance for differing sizes).
differing_pixels() {
    local out
    out=$(compare -metric AE "$1" "$2" null: 2>&1)
    case "$out" in
        '' | *[!0-9.e+]*) echo "error: $out" ;;
        *) awk -v n="$out" 'BEGIN { printf "%d\n", n }' ;;
    esac
}

# shot NAME: the game window's pixels as they are on the screen now, in
# $ART/NAME.png: the X window WIN; or, where the suite names in SHOT_AREA a
# command printing the window's rectangle on the screen (WxH+X+Y), that
# rectangle of the whole screen (Wine's own unmanaged windows).
shot() {
    if [ -n "${SHOT_AREA:-}" ]; then
        import -window root "$WORK/root.png"
        convert "$WORK/root.png" -crop "$($SHOT_AREA)" +repage "$ART/$1.png"
    else
        import -window "$WIN" "$ART/$1.png"
    fi
}

# region_differs SHOT X Y W H BITMAP_ID: how many pixels of that rectangle
# of the screenshot differ from the bitmap (BITMAP_ID 100, the scene
# picture, is taken at the same place).
region_differs() {
    convert "$ART/$1.png" -crop "${4}x${5}+${2}+${3}" +repage "$WORK/region.png"
    if [ "$6" = 100 ]; then
        convert "$RES/game/100.bmp" -crop "${4}x${5}+${2}+${3}" +repage "$WORK/bitmap.png"
    else
        convert "$RES/game/$6.bmp" "$WORK/bitmap.png"
    fi
    differing_pixels "$WORK/region.png" "$WORK/bitmap.png"
}

# region_matches SHOT X Y W H BITMAP_ID: the window showed exactly that
# bitmap there.
region_matches() { [ "$(region_differs "$@")" = 0 ]; }

# black_pixels SHOT X Y W H: how many pure black pixels (label text) lie there.
black_pixels() {
    convert "$ART/$1.png" -crop "${4}x${5}+${2}+${3}" +repage -fill white +opaque black -fill black -opaque black \
        -format '%[fx:int(w*h*(1-mean)+0.5)]' info:
}

# ink_height SHOT X Y W H: the height of what is drawn darker than middle
# grey in that rectangle (the digits of a label on the light panel), 0 for
# nothing.
ink_height() {
    local box
    box=$(convert "$ART/$1.png" -crop "${4}x${5}+${2}+${3}" +repage -colorspace gray -threshold 50% \
        -format '%@' info: 2>/dev/null)
    case "$box" in
        *x*+*) box=${box#*x}; echo "${box%%+*}" ;;
        *) echo 0 ;;
    esac
}
