# shellcheck shell=bash
# Sourced by the scripts that run the Windows build under Wine. wine_start OUT NAME BITS sets up a
# prefix of BITS (32 or 64) in OUT/prefix, starts an Xvfb display that is stopped when the script
# exits, and boots the prefix; NAME starts its messages. It sets wine_loader, the program that runs a
# Windows program: the 64-bit loader is started directly, since the `wine` front end picks the
# 32-bit loader whenever wine32 is installed. Logs: OUT/xvfb.log and OUT/wineboot.log.

wine_stop() {
    "$wine_server" -k >/dev/null 2>&1 || true
    "$wine_server" -w >/dev/null 2>&1 || true
    kill "$wine_xvfb" 2>/dev/null || true
    wait "$wine_xvfb" 2>/dev/null || true
}

wine_start() {
    local out=$1 name=$2 bits=$3
    if [[ $bits == 64 ]]; then
        export WINEARCH=win64
        wine_loader=/usr/lib/wine/wine64
        wine_server=/usr/lib/wine/wineserver64
    else
        export WINEARCH=win32
        wine_loader=wine
        wine_server=wineserver
    fi
    export WINEPREFIX="$PWD/$out/prefix" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$out/display" >"$out/xvfb.log" 2>&1 &
    wine_xvfb=$!
    trap wine_stop EXIT
    for _ in $(seq 100); do
        [[ -s "$out/display" ]] && break
        sleep 0.1
    done
    [[ -s "$out/display" ]] || { echo "$name: Xvfb did not start"; cat "$out/xvfb.log"; exit 1; }
    export DISPLAY=":$(head -n1 "$out/display")"
    # Wine's output goes to files: a pipe could be held open by the wineserver.
    "$wine_loader" wineboot -i >"$out/wineboot.log" 2>&1
}
