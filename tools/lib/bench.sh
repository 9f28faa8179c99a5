# The Wine test bench: a virtual X display, a private Wine prefix inside the
# build tree and a persistent wineserver. Source this file, then call
# bench_start; bench_stop undoes what bench_start started.

. "$(dirname "${BASH_SOURCE[0]}")/arch.sh"
export WINEPREFIX="$SUITE_DIST_BUILD/wineprefix"
export WINEDEBUG=-all
# No Mono or Gecko add-ons: there is nothing to fetch them from.
export WINEDLLOVERRIDES="mscoree,mshtml="

_bench_started_xvfb=""

suite_wine() { "$SUITE_WINE" "$@"; }

_bench_start_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
    local n
    for n in $(seq 90 120); do
        [ -e "/tmp/.X${n}-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        _bench_started_xvfb=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 1 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && return
            sleep 0.1
        done
        echo "bench: Xvfb did not start on :$n" >&2
        return 1
    done
    echo "bench: no free X display number" >&2
    return 1
}

# Sets the size of Wine's virtual desktop, in which every program of the bench runs.
bench_desktop_size() {
    suite_wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$1" /f >/dev/null 2>&1
}

_bench_prepare_prefix() {
    [ -f "$WINEPREFIX/.suite-ready" ] && return
    mkdir -p "$WINEPREFIX"
    echo "bench: preparing the Wine prefix (about 30 s, once)"
    suite_wine wineboot -i >/dev/null 2>&1
    suite_wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    bench_desktop_size 1024x768
    suite_wine reg add 'HKCU\Software\Wine\Direct3D' /v VideoMemorySize /d 64 /f >/dev/null 2>&1
    # No crash dialog may wait for an answer in an unattended run.
    suite_wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.suite-ready"
}

# The statistics agent of another product, as the test machine has it
# installed: its stand-in records every call in statsagent.log beside itself.
_bench_install_agent() {
    local agent="$SUITE_BUILD/testbin/statsagent/statsagent.dll" folder
    [ -f "$agent" ] || return 0
    for folder in "Program Files" "Program Files (x86)"; do
        mkdir -p "$WINEPREFIX/drive_c/$folder/Quenby/Orlix Improvement"
        cp "$agent" "$WINEPREFIX/drive_c/$folder/Quenby/Orlix Improvement/statsagent.dll"
    done
}

# Wine's own fonts (Marlett draws the caption buttons) are not found in the
# data folder by this Wine; the prefix's Fonts folder is always searched.
_bench_install_wine_fonts() {
    local font fonts="$WINEPREFIX/drive_c/windows/Fonts"
    [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ] || return 0
    for font in /usr/share/wine/fonts/*; do
        [ -e "$fonts/${font##*/}" ] || cp "$font" "$fonts/"
    done
}

# Japanese glyphs: the Japanese fonts of Windows are not there, so their names
# are given to the IPA Gothic faces (proportional for the dialog fonts; fixed
# pitch for MS Gothic, which a Japanese system's fixed-pitch requests get).
_bench_install_japanese_fonts() {
    local font fonts="$WINEPREFIX/drive_c/windows/Fonts" marker="$WINEPREFIX/.japanese-fonts"
    local ipa=/usr/share/fonts/opentype/ipafont-gothic reg="$WINEPREFIX/japanese-fonts.reg"
    [ -d "$ipa" ] && [ -d "$fonts" ] || return 0
    for font in "$ipa"/*.ttf; do
        [ -e "$fonts/${font##*/}" ] || cp "$font" "$fonts/"
    done
    [ -f "$marker" ] && return 0
    printf '%s\n' REGEDIT4 '' '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
        '"MS UI Gothic"="IPAPGothic"' '"Meiryo"="IPAPGothic"' '"MS PGothic"="IPAPGothic"' \
        '"MS Gothic"="IPAGothic"' > "$reg"
    if ! suite_wine regedit /S "$reg" </dev/null >/dev/null 2>&1; then
        echo "bench: could not name the Japanese fonts in the Wine prefix" >&2
        return 1
    fi
    touch "$marker"
}

# Simulated optical drives (a test double): discsim.dll answers the recorder
# service's class ids in this prefix. Without DISCSIM_SCENARIO in a program's
# environment it offers no class, as Wine without that service.
_bench_install_discsim() {
    local dll="$SUITE_BUILD/testbin/discsim/discsim.dll" marker="$WINEPREFIX/.discsim-registered"
    [ -f "$dll" ] || return 0
    [ "$(cat "$marker" 2>/dev/null)" = "$dll" ] && return 0
    local windows="Z:${dll//\//\\\\}" reg="$WINEPREFIX/discsim.reg" clsid
    {
        echo "REGEDIT4"
        for clsid in 2735412E 2735412D 2735412A; do
            echo
            echo "[HKEY_CLASSES_ROOT\\CLSID\\{$clsid-7F64-5B0F-8F00-5D77AFBE261E}\\InprocServer32]"
            echo "@=\"$windows\""
            echo "\"ThreadingModel\"=\"Both\""
        done
    } > "$reg"
    if ! suite_wine regedit /S "$reg" </dev/null >/dev/null 2>&1; then
        echo "bench: could not register $dll in the Wine prefix" >&2
        return 1
    fi
    echo "$dll" > "$marker"
}

bench_start() {
    _bench_start_display || return 1
    _bench_prepare_prefix
    _bench_install_wine_fonts
    _bench_install_agent
    wineserver -p
    _bench_install_discsim
    _bench_install_japanese_fonts
    # Start Wine's own services and the desktop now, detached from our output:
    # started by a test instead, they would hold ctest's pipes open after it ends.
    suite_wine cmd.exe /c exit </dev/null >/dev/null 2>&1
    # Remember the bench for programs started by ctest.
    mkdir -p "$SUITE_BUILD"
    printf 'export DISPLAY=%q\n' "$DISPLAY" > "$SUITE_BUILD/bench.env"
}

bench_stop() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$_bench_started_xvfb" ]; then
        kill "$_bench_started_xvfb" 2>/dev/null || true
        wait "$_bench_started_xvfb" 2>/dev/null || true
        _bench_started_xvfb=""

    fi
    rm -f "$SUITE_BUILD/bench.env"
}
