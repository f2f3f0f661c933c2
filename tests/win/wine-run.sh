#!/usr/bin/env bash
# Runs a Windows test program under 64-bit Wine; CMake uses it as the
# cross-compiling emulator of the win64 build.
#
#   wine-run.sh --state DIR PROGRAM [ARGS...]   run PROGRAM
#   wine-run.sh --state DIR --setup             create and settle the prefix
#   wine-run.sh --state DIR --shutdown          stop the prefix's wineserver
#   wine-run.sh --state DIR --start-xvfb DEPTH  start a virtual X display
#   wine-run.sh --state DIR --stop-xvfb DEPTH   stop it and its prefix
#
# DIR holds one prefix created once per build tree, one more per X display, and
# the Xvfb state. Programs use Wine's null graphics driver (a 32-bit display, no
# X server) unless ZEL_WINE_DISPLAY=xvfbN asks for the X display of depth N, or
# ZEL_WINE_DISPLAY=host for the user's own $DISPLAY (the interactive demo).
set -euo pipefail

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

[ "${1:-}" = --state ] || { echo "wine-run.sh: --state DIR comes first" >&2; exit 2; }
state=$2
shift 2
mkdir -p "$state"

export WINEDEBUG="${WINEDEBUG:--all}"
# Wine would otherwise offer to install Mono and Gecko into a new prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEARCH

log() { echo "wine-run: $*" >&2; }

registry() {
    local graphics=$1
    cat <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]
"Graphics"="$graphics"

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000
EOF
}

# Runs "$@" holding the lock of the prefix named by its second word.
with_lock() {
    local lock="$2.lock"
    exec 9>"$lock"
    flock 9
    "$@"
    flock -u 9
    exec 9>&-
}

# Registry files must be imported from inside the prefix's C: drive.
prepare_prefix() {
    local prefix=$1 graphics=$2
    if [ ! -f "$prefix/.zel-ready" ]; then
        rm -rf "$prefix"
        (
            export WINEPREFIX=$prefix
            unset DISPLAY
            log "creating Wine prefix $prefix (once per build tree)"
            local started=$SECONDS
            "$wine" wineboot --init </dev/null >/dev/null 2>&1
            registry "$graphics" >"$prefix/drive_c/zel.reg"
            "$wine" regedit /S 'C:\zel.reg' </dev/null >/dev/null 2>&1
            "$wineserver" -w
            log "prefix ready in $((SECONDS - started)) s"
        )
        touch "$prefix/.zel-ready"
    fi
}

# Starts the prefix's wineserver and its background services detached from this
# process's output: services started by a test program would inherit the pipes
# that CTest reads, and CTest would wait for them to close.
warm_prefix() {
    local prefix=$1
    WINEPREFIX=$prefix "$wineserver" -p30 </dev/null >/dev/null 2>&1 || true
    WINEPREFIX=$prefix setsid "$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

case "${1:-}" in
--setup)
    with_lock prepare_prefix "$state/prefix" null
    warm_prefix "$state/prefix"
    echo "Wine prefix ready: $state/prefix"
    exit 0
    ;;
--shutdown)
    # Only the null-driver prefix: the X display's prefix is stopped with Xvfb.
    [ -d "$state/prefix" ] && WINEPREFIX="$state/prefix" "$wineserver" -k >/dev/null 2>&1 || true
    exit 0
    ;;
--start-xvfb)
    depth=${2:?depth}
    x="$state/xvfb$depth"
    if [ -f "$x.pid" ] && kill -0 "$(cat "$x.pid")" 2>/dev/null; then
        echo "Xvfb depth $depth already running on $(cat "$x.display")"
        exit 0
    fi
    rm -f "$x.displayfd" "$x.display"
    exec 8>"$x.displayfd"
    setsid Xvfb -displayfd 8 -screen 0 1024x768x"$depth" -nolisten tcp </dev/null >"$x.log" 2>&1 &
    echo $! >"$x.pid"
    exec 8>&-
    for _ in $(seq 100); do
        [ -s "$x.displayfd" ] && break
        sleep 0.1
    done
    [ -s "$x.displayfd" ] || { log "Xvfb did not start"; cat "$x.log" >&2; exit 1; }
    echo ":$(tr -d '\n' <"$x.displayfd")" >"$x.display"
    echo "Xvfb depth $depth on $(cat "$x.display")"
    exit 0
    ;;
--stop-xvfb)
    depth=${2:?depth}
    x="$state/xvfb$depth"
    [ -d "$state/prefix-x11-$depth" ] && WINEPREFIX="$state/prefix-x11-$depth" "$wineserver" -k >/dev/null 2>&1 || true
    if [ -f "$x.pid" ]; then
        kill "$(cat "$x.pid")" 2>/dev/null || true
        rm -f "$x.pid" "$x.display"
    fi
    exit 0
    ;;
esac

case "${ZEL_WINE_DISPLAY:-null}" in
host)
    # The user's own X display, for the interactive demo.
    [ -n "${DISPLAY:-}" ] || { log "ZEL_WINE_DISPLAY=host needs DISPLAY"; exit 1; }
    with_lock prepare_prefix "$state/prefix-x11-host" x11
    export WINEPREFIX="$state/prefix-x11-host"
    ;;
xvfb*)
    depth=${ZEL_WINE_DISPLAY#xvfb}
    [ -f "$state/xvfb$depth.display" ] || { log "no Xvfb of depth $depth: run the xvfb$depth.start test first"; exit 1; }
    export DISPLAY
    DISPLAY=$(cat "$state/xvfb$depth.display")
    # One prefix per X display: a wineserver's desktop belongs to one display.
    with_lock prepare_prefix "$state/prefix-x11-$depth" x11
    export WINEPREFIX="$state/prefix-x11-$depth"
    ;;
*)
    unset DISPLAY
    with_lock prepare_prefix "$state/prefix" null
    export WINEPREFIX="$state/prefix"
    ;;
esac
warm_prefix "$WINEPREFIX"
[ "${ZEL_WINE_DISPLAY:-null}" = host ] && exec "$wine" "$@"

# Services a program starts on demand (explorer.exe for the desktop of its first
# window, rpcss for COM) inherit its standard output and error, and they live
# on while other tests keep the prefix busy: CTest, which waits for its pipes
# to close, would count their whole life as the test's. The program writes to
# files instead, copied out once it has ended.
out=$(mktemp "$state/out.XXXXXX")
err=$(mktemp "$state/err.XXXXXX")
trap 'rm -f "$out" "$err"' EXIT
"$wine" "$@" >"$out" 2>"$err" &
program=$!
trap 'kill -TERM "$program" 2>/dev/null' TERM INT
status=0
wait "$program" || status=$?
# A signal ends the first wait early; the program's own end is the second.
if kill -0 "$program" 2>/dev/null; then wait "$program" || status=$?; fi
cat "$out"
cat "$err" >&2
exit "$status"
