#!/usr/bin/env bash
# The loopback HTTP server of the download tests, started and stopped as CTest
# fixtures.
#
#   http-server.sh --state DIR --start   serve DIR/root on 127.0.0.1, on a free port
#   http-server.sh --state DIR --stop    stop it
#
# DIR/pid holds the server's process id, DIR/port its port (written once the
# server listens), DIR/log its output: the port line, then one line per request
# with the path and the status, which the tests read back.
set -euo pipefail

[ "${1:-}" = --state ] || { echo "http-server.sh: --state DIR comes first" >&2; exit 2; }
state=$2
shift 2
mkdir -p "$state/root"

log() { echo "http-server: $*" >&2; }

# The recorded process, if it is still our server (a stale pid may be reused).
running() {
    [ -f "$state/pid" ] || return 1
    local pid
    pid=$(cat "$state/pid")
    kill -0 "$pid" 2>/dev/null && tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q 'http\.server'
}

case "${1:-}" in
--start)
    if running && [ -s "$state/port" ]; then
        echo "HTTP server already serving $state/root on port $(cat "$state/port")"
        exit 0
    fi
    rm -f "$state/pid" "$state/port"
    # Detached from CTest's pipes, or CTest would wait for the server to end.
    # -u: unbuffered, or the port line never reaches the log.
    setsid python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$state/root" \
        </dev/null >"$state/log" 2>&1 &
    pid=$!
    echo "$pid" >"$state/pid"
    port=""
    for _ in $(seq 100); do
        port=$(sed -n 's/^Serving HTTP on [^ ]* port \([0-9][0-9]*\) .*/\1/p' "$state/log" | head -n 1)
        [ -n "$port" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ -z "$port" ]; then
        log "the server did not start"
        cat "$state/log" >&2
        kill "$pid" 2>/dev/null || true
        rm -f "$state/pid"
        exit 1
    fi
    echo "$port" >"$state/port.new"
    mv "$state/port.new" "$state/port"
    echo "HTTP server serving $state/root on 127.0.0.1 port $port (pid $pid)"
    exit 0
    ;;
--stop)
    if running; then
        kill "$(cat "$state/pid")"
        echo "HTTP server stopped"
    fi
    rm -f "$state/pid" "$state/port"
    exit 0
    ;;
*)
    echo "usage: http-server.sh --state DIR --start|--stop" >&2
    exit 2
    ;;
esac
