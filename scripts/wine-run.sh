#!/usr/bin/env bash
# Runs a Windows program of the win32 build under Wine: CTest's emulator, and the
# way scripts run Ridoved.exe. Quiet and unattended: the project's own 32-bit
# prefix under the build tree, no display, no debugger, no menu entries.
#
# The first run of a session starts the wine server and Wine's start-up with
# every standard stream redirected, so that Wine's background helpers never hold
# the caller's pipes (CTest would otherwise wait for them after every test).
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

export WINEPREFIX="${ZUDO_WINEPREFIX:-$root/build/win32/wineprefix}"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
# Windows' locale of the prefix follows these; keep date and time texts stable.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY

server_running() {
    # Signal 0 reaches a running server of this prefix and does nothing else.
    wineserver -k0 >/dev/null 2>&1
}

start_wine() {
    mkdir -p "$WINEPREFIX"
    (
        flock 9
        server_running && exit 0
        # The first process of a new server runs Wine's own start-up (and creates
        # the prefix when it is new, about ten seconds); its helpers stay behind,
        # attached to nothing of ours (not even the lock, or the next run would wait for
        # the server to end).
        setsid wineserver -p300 </dev/null >/dev/null 2>&1 9>&-
        setsid wine cmd.exe /c exit </dev/null >/dev/null 2>&1 9>&-
    ) 9>"$WINEPREFIX.lock"
}

case "${1:-}" in
    --start) start_wine; exit 0 ;;
    --stop) wineserver -k >/dev/null 2>&1; exit 0 ;;
    "") echo "usage: $0 PROGRAM.exe [ARGS...] | --start | --stop" >&2; exit 2 ;;
esac

start_wine
exec wine "$@"
