# The installer, in a Wine prefix of its own made fresh, as a new player's
# machine is: msiexec installs the two programs, the Start-menu shortcut and
# the entry in Add/Remove Programs; the shortcut starts the installed game,
# which starts the installed Ambient; a newer MSI replaces it; uninstalling
# leaves nothing behind; and the MSI made again elsewhere, later and in
# another time zone is the same file. Sourced by run.sh.

# windows_path FILE: the path of a Linux file as Wine's Z: drive has it.
windows_path() { echo "Z:$(echo "$1" | tr / '\\')"; }

# c_path FILE: the path of a file of the prefix's drive_c as Wine has it,
# C:\... (the shell does not open a shortcut by its Z: path).
c_path() { echo "C:\\$(echo "${1#"$WINEPREFIX/drive_c/"}" | tr / '\\')"; }

INSTALLED_DIR='C:\Program Files\Plinkfield'

# The Start-menu shortcuts named Plinkfield, all users' or this user's
# (where Wine's msiexec puts a machine-wide one), as Linux paths.
shortcuts() {
    local c="$WINEPREFIX/drive_c"
    ls -d "$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Plinkfield.lnk" \
        "$c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Plinkfield.lnk" 2>/dev/null
}

# installed_programs: what Add/Remove Programs lists of Plinkfield, on one line.
installed_programs() { probe programs | grep 'Plinkfield' | sort | tr '\n' ' ' | sed 's/ $//'; }

# left_behind: every file and folder of Plinkfield's in the prefix.
left_behind() {
    (cd "$WINEPREFIX/drive_c" && find . -ipath '*plinkfield*' | sort | tr '\n' ' ')
}

msiexec() { wine msiexec "$@" >>"$ART/msiexec.log" 2>&1; }

run_installer() {
    echo "== the installer"
    if [ ! -f "${MSI:-}" ] || [ ! -f "${MSI_MAKER:-}" ]; then
        fail "the installer is tested" "MSI and MSI_MAKER name no files (scripts/test-windows sets them)"
        return
    fi
    local suite_prefix=$WINEPREFIX lnk
    export WINEPREFIX="$WORK/msi-prefix"
    mkdir -p "$WINEPREFIX"
    wineserver -p
    wineboot -i >>"$ART/wineboot.log" 2>&1
    wine regedit /S "$WORK/x11.reg" >>"$ART/wineboot.log" 2>&1

    msiexec /i "$(windows_path "$MSI")" /qn
    check "msiexec /i $(basename "$MSI") /qn installs" test $? = 0
    local c="$WINEPREFIX/drive_c/Program Files/Plinkfield"
    check "it installs Plinkfield.exe and Audio_Bkgrnd\\Ambient.exe beside it in Program Files\\Plinkfield, as built" \
        eval 'cmp -s "$c/Plinkfield.exe" "$GAME_DIR/Plinkfield.exe" &&
              cmp -s "$c/Audio_Bkgrnd/Ambient.exe" "$GAME_DIR/Audio_Bkgrnd/Ambient.exe"'
    lnk=$(shortcuts)
    expect "it makes one Start-menu shortcut, whose target is the installed game" "1 $INSTALLED_DIR\\Plinkfield.exe" \
        "$(echo "$lnk" | grep -c .) $(probe shortcut "$(c_path "$lnk")")"
    expect "Add/Remove Programs lists Plinkfield 1.0.3.0 by its publisher, with its icon" \
        "entry Plinkfield|1.0.3.0|Plinkfield product Plinkfield|1.0.3.0|Plinkfield|icon" "$(installed_programs)"

    # Started as the Start menu starts it.
    if probe open "$(c_path "$lnk")" && probe wait-window 30000 >/dev/null; then
        look
        click_button "$ID_START"
        expect_until "the shortcut starts the installed game, whose START starts the installed Ambient" \
            "$INSTALLED_DIR\\Audio_Bkgrnd\\Ambient.exe" 30 probe owner Ambient
        click_button "$ID_CLOSE"
        check_until "the close button ends the installed game" 20 probe wait-gone 1000
    else
        fail "the shortcut starts the installed game" "no window in 30 s"
    fi
    check_until "the installed Ambient ends with it" 20 eval '[ "$(probe count Ambient)" = "0 0" ]'

    # A newer version of the same files replaces this one.
    cmake -DVERSION=1.0.4.0 -DOUT="$WORK/next/Plinkfield-1.0.4.0-win64.msi" -P "$MSI_MAKER" >>"$ART/msiexec.log" 2>&1
    msiexec /i "$(windows_path "$WORK/next/Plinkfield-1.0.4.0-win64.msi")" /qn
    expect "a newer MSI (1.0.4.0) installs over it and leaves one install" \
        "entry Plinkfield|1.0.4.0|Plinkfield product Plinkfield|1.0.4.0|Plinkfield|icon 1" \
        "$(installed_programs) $(shortcuts | grep -c .)"
    check "the programs are still in their place" test -f "$c/Plinkfield.exe" -a -f "$c/Audio_Bkgrnd/Ambient.exe"

    msiexec /x "$(windows_path "$WORK/next/Plinkfield-1.0.4.0-win64.msi")" /qn
    expect "msiexec /x leaves no file, folder, shortcut or Add/Remove Programs entry behind" "| " \
        "$(left_behind)| $(installed_programs)"

    # Reproducible: the same bytes from another folder, hours after the
    # build, in another time zone.
    TZ=Pacific/Auckland cmake -DVERSION=1.0.3.0 -DOUT="$WORK/again/$(basename "$MSI")" -P "$MSI_MAKER" \
        >>"$ART/msiexec.log" 2>&1
    check "the MSI made again elsewhere, later, in another time zone is the same file" \
        cmp -s "$MSI" "$WORK/again/$(basename "$MSI")"
    echo "$(stat -c %s "$MSI") $(basename "$MSI")" >>"$ART/sizes.txt"

    wineserver -k
    export WINEPREFIX=$suite_prefix
}
