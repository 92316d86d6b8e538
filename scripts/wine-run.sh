#!/usr/bin/env bash
# Runs a Windows program of the win32 build under Wine: CTest's emulator, and the
# way scripts run Ridoved.exe. Quiet and unattended: the project's own 32-bit
# prefix under the build tree, no display, no debugger, no menu entries.
#
# Debian's Wine runs 32-bit Windows programs only through its 32-bit Linux
# loader. One cheap probe decides how Windows programs run here:
#   wine  the machine runs 32-bit programs: Wine directly;
#   qemu  it does not, but QEMU's user-mode emulator (8 or later) is installed:
#         Wine's loader and server run under it, through a private loader
#         folder in the build tree (nothing machine-wide changes);
#   none  neither: the program is not run, one line says why and the runner
#         exits with 77, which the win32 tests declare as their skip code.
# ZUDO_WIN32_RUNNER=wine|qemu|none forces one of them (default: auto).
#
# The first run of a session starts the wine server and Wine's start-up with
# every standard stream redirected, so that Wine's background helpers never hold
# the caller's pipes (CTest would otherwise wait for them after every test).
#
#   scripts/wine-run.sh PROGRAM.exe [ARGS...]
#   scripts/wine-run.sh --probe     one line: the way ("wine", "qemu" or "none") and why
#   scripts/wine-run.sh --start | --stop
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly SKIP_CODE=77
readonly WINE_LOADER=/usr/lib/wine/wine

# QEMU 7 ignores MAP_FIXED_NOREPLACE: each Wine process then spends minutes
# reserving address space.
readonly QEMU_MIN_MAJOR=8

# Sets qemu to a usable emulator of i386 programs, or says why there is none.
find_qemu() {
    local candidate version
    qemu=
    for candidate in qemu-i386 qemu-i386-static; do
        candidate=$(command -v "$candidate") || continue
        version=$("$candidate" --version 2>/dev/null | sed -n '1s/.* version \([0-9][0-9]*\)\..*/\1/p')
        if [ -n "$version" ] && [ "$version" -ge "$QEMU_MIN_MAJOR" ]; then
            qemu=$candidate
            return 0
        fi
        why="$candidate is version ${version:-unknown}, older than $QEMU_MIN_MAJOR"
    done
    why=${why:-"no QEMU user-mode emulator (qemu-i386) is installed"}
    return 1
}

# Sets mode and why.
probe() {
    local forced=${ZUDO_WIN32_RUNNER:-auto} failure
    why=
    case "$forced" in
        auto|wine|qemu|none) ;;
        *) mode=none; why="ZUDO_WIN32_RUNNER=$forced is not one of auto, wine, qemu, none"; return ;;
    esac
    if [ ! -x "$WINE_LOADER" ]; then
        mode=none; why="Wine's 32-bit loader $WINE_LOADER is not installed (scripts/setup.sh installs it)"
        return
    fi
    if [ "$forced" = none ]; then
        mode=none; why="ZUDO_WIN32_RUNNER=none"; return
    fi
    if [ "$forced" != qemu ]; then
        if failure=$("$WINE_LOADER" --version 2>&1 >/dev/null); then
            mode=wine; why="this machine runs 32-bit programs"; return
        fi
        if [ "$forced" = wine ]; then
            mode=none; why="ZUDO_WIN32_RUNNER=wine, but Wine's loader does not start: ${failure:-no message}"
            return
        fi
        failure="this machine does not run 32-bit programs (${failure:-$WINE_LOADER does not start})"
    else
        failure="ZUDO_WIN32_RUNNER=qemu"
    fi
    if find_qemu; then
        mode=qemu; why="$failure: Wine runs under $qemu"
    else
        mode=none; why="$failure and $why (scripts/setup.sh installs QEMU from Debian)"
    fi
}

# The private loader folder: Wine starts its loader and server from the folder
# of its own executable's real path, so a copy of that executable beside scripts
# that start the real ones under QEMU makes every Wine process run emulated.
qemu_loader_folder() {
    local folder="$root/build/win32/wine-qemu" stamp
    stamp="$qemu"
    if [ -f "$folder/qemu" ] && [ "$(cat "$folder/qemu")" = "$stamp" ] \
        && cmp -s "$WINE_LOADER" "$folder/lib/wine/wine"; then
        echo "$folder"
        return 0
    fi
    local fresh="$folder.new.$$"
    rm -rf "$fresh"
    mkdir -p "$fresh/lib/wine" "$fresh/bin" || return 1
    cp "$WINE_LOADER" "$fresh/lib/wine/wine" || return 1
    ln -s /usr/lib/i386-linux-gnu "$fresh/lib/i386-linux-gnu"
    ln -s /usr/share "$fresh/share"
    printf '#!/bin/sh\nexec "%s" "$@"\n' "$qemu" > "$fresh/lib/wine/wine-preloader"
    printf '#!/bin/sh\nexec "%s" /usr/lib/wine/wineserver32 "$@"\n' "$qemu" > "$fresh/lib/wine/wineserver"
    printf '#!/bin/sh\nexec "%s" "%s/lib/wine/wine" "$@"\n' "$qemu" "$folder" > "$fresh/bin/wine"
    ln -s ../lib/wine/wineserver "$fresh/bin/wineserver"
    chmod +x "$fresh/lib/wine/wine-preloader" "$fresh/lib/wine/wineserver" "$fresh/bin/wine"
    echo "$stamp" > "$fresh/qemu"
    rm -rf "$folder" && mv "$fresh" "$folder" || return 1
    echo "$folder"
}

use_qemu() {
    local folder
    mkdir -p "$root/build/win32"
    folder=$(
        { flock 9 && qemu_loader_folder; } 9>"$root/build/win32/wine-qemu.lock"
    ) || {
        echo "wine-run.sh: cannot make the loader folder for QEMU in $root/build/win32" >&2
        exit 1
    }
    export PATH="$folder/bin:$PATH"
}

probe
if [ "${1:-}" = --probe ]; then
    echo "$mode: $why"
    exit 0
fi

case "$mode" in
    wine) default_prefix="$root/build/win32/wineprefix" ;;
    # A prefix of its own, so that a forced QEMU run never talks to a server
    # that runs directly.
    qemu) default_prefix="$root/build/win32/wineprefix-qemu"; use_qemu ;;
    none)
        [ "${1:-}" = --stop ] && exit 0
        echo "wine-run.sh: Windows program not run: $why" >&2
        exit "$SKIP_CODE"
        ;;
esac

export WINEPREFIX="${ZUDO_WINEPREFIX:-$default_prefix}"
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
    "") echo "usage: $0 PROGRAM.exe [ARGS...] | --probe | --start | --stop" >&2; exit 2 ;;
esac

start_wine
exec wine "$@"
