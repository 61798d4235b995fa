# The program files themselves, as the ZIP delivers them. Sourced by run.sh.

# The two program files themselves, as the ZIP delivers them.
run_files() {
    echo "== the program files"
    local exe dlls
    for exe in Plinkfield.exe Audio_Bkgrnd/Ambient.exe; do
        if ! command -v x86_64-w64-mingw32-objdump >/dev/null; then
            fail "$exe: headers readable" "x86_64-w64-mingw32-objdump is not installed"
            continue
        fi
        expect "$exe is a 64-bit Windows GUI program" "pei-x86-64 (Windows GUI)" \
            "$(x86_64-w64-mingw32-objdump -p "$WORK/game/$exe" | awk '/file format/ { f = $NF } /^Subsystem/ { $1 = $2 = ""; sub(/^ +/, ""); s = $0 } END { print f, s }')"
        dlls=$(x86_64-w64-mingw32-objdump -p "$WORK/game/$exe" | awk '/DLL Name:/ { print tolower($3) }' | sort | tr '\n' ' ')
        case "$dlls" in
            *lib*) fail "$exe needs only the system's DLLs" "imports: $dlls" ;;
            *) pass "$exe needs only the system's DLLs ($dlls)" ;;
        esac
        echo "$(stat -c %s "$WORK/game/$exe") $exe" >>"$ART/sizes.txt"
    done
    local windows_path="Z:$(echo "$WORK/game/Plinkfield.exe" | tr / '\\')"
    # Without it a system that scales programs unaware of the density would
    # stretch the window (Wine 8 lets every program count in device pixels).
    probe manifest "$windows_path" >"$WORK/manifest.xml"
    expect "the game declares per-monitor DPI awareness (v2, and the older true/pm)" "PerMonitorV2, PerMonitor true/pm" \
        "$(sed -n 's/.*<dpiAwareness[^>]*>\([^<]*\)<.*/\1/p' "$WORK/manifest.xml") $(sed -n 's/.*<dpiAware [^>]*>\([^<]*\)<.*/\1/p' "$WORK/manifest.xml")"
    expect "the game carries version 1.0.3.0, named and described Plinkfield" \
        "file_version 1.0.3.0|product_version 1.0.3.0|FileDescription Plinkfield|ProductName Plinkfield|" \
        "$(probe version "$windows_path" | tr '\n' '|')"
}
