#!/usr/bin/env bash
# The main job: installs what is missing, builds both builds and runs Ridoved
# on a fresh copy of the sample installation (examples/make-installation.sh):
# natively, and Ridoved.exe as scripts/wine-run.sh runs Windows programs here
# (one line says so where nothing can). Each runs twice: the first run checks
# the textures and records the results in Maps/TrackValidation.ini beside the
# program, the second takes them from there. Shows the console and Ridoved.csv;
# a program that fails shows its messages and ends the script.
# Natively it then runs the plug-in in the host simulator on the same
# installation with every example script (examples/scripts: the start page,
# the two lists, a whole hotlap, a whole rally): the traces are kept in
# examples/run/NAME.trace, a picture of every page in examples/run/screenshots/.
#
#   scripts/run-sample.sh            both builds
#   scripts/run-sample.sh native     one of them (win32 likewise)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
which=${1:-all}

if [ "$which" = all ]; then scripts/setup.sh; else scripts/setup.sh "$which"; fi

show() { # title file
    if [ ! -f "$2" ]; then
        echo "--- $1: not written"
        return 0
    fi
    echo "--- $1"
    tr -d '\r' < "$2"
}

run_ridoved() { # build program runner...
    local build=$1 program=$2; shift 2
    local dir="$root/examples/run/$build"
    rm -rf "$dir"
    examples/make-installation.sh "$dir"
    cp "$root/build/$build/$program" "$dir/"
    echo
    echo "=== Ridoved ($build) in examples/run/$build"
    for pass in "first run: textures checked" "second run: the records of TrackValidation.ini"; do
        echo
        echo "##### $pass"
        local status=0
        (cd "$dir" && "$@" "./$program" >stdout.txt 2>stderr.txt) || status=$?
        show "standard error" "$dir/stderr.txt"
        show "standard output" "$dir/stdout.txt"
        if [ "$status" != 0 ]; then
            echo "run-sample: $program failed with exit status $status (its messages are above)" >&2
            return 1
        fi
        show "Ridoved.csv" "$dir/Ridoved.csv"
    done
    show "Maps/TrackValidation.ini" "$dir/Maps/TrackValidation.ini"
}

run_simulator() { # the plug-in in zudo-sim, on the native installation: every example script
    local dir="$root/examples/run"
    if [ ! -f "$root/build/native/Zuzuzevo.so" ]; then
        echo "(build/native/Zuzuzevo.so is not built yet: the host simulator's runs are skipped)"
        return 0
    fi
    rm -rf "$dir/screenshots"
    local script name
    for script in start-page lists hotlap rally; do
        echo
        echo "=== Zuzuzevo in the host simulator: examples/scripts/$script.txt"
        "$root/build/native/zudo-sim" --plugin "$root/build/native/Zuzuzevo.so" --install "$dir/native" \
            --script "$root/examples/scripts/$script.txt" --trace "$dir/$script.trace" \
            --screenshots "$dir/screenshots"
        if [ "$script" = start-page ] || [ "$script" = lists ]; then
            show "trace (examples/run/$script.trace)" "$dir/$script.trace"
        else
            # The whole trace is long: what the driver was told, and the status line of each page.
            echo "--- in-game messages and status lines (whole trace: examples/run/$script.trace)"
            grep -E '^(ShowMessage|DrawText 2 465|HostCall startStage)' "$dir/$script.trace" | uniq
        fi
    done
    local file
    for file in "$dir"/native/Plugins/Zuzuzevo/*.tm2 "$dir"/native/Plugins/Zuzuzevo/*.prs; do
        if [ -f "$file" ]; then show "records and progress: ${file#"$dir/native/"}" "$file"; fi
    done
    echo "--- screenshots of every page in examples/run/screenshots: $(cd "$dir" && ls screenshots/*.png | tr '\n' ' ')"
}

run_windows_ridoved() { # Ridoved.exe as the Windows tests run it, when anything here can
    local probe
    probe=$(scripts/wine-run.sh --probe)
    if [ "${probe%%:*}" = none ]; then
        echo
        echo "=== Ridoved.exe not run: nothing on this machine can run Windows programs (${probe#none: })"
        return 0
    fi
    run_ridoved win32 Ridoved.exe "$root/scripts/wine-run.sh"
}

case "$which" in
    native) run_ridoved native Ridoved; run_simulator ;;
    win32) run_windows_ridoved ;;
    all)
        run_ridoved native Ridoved
        run_simulator
        run_windows_ridoved
        ;;
    *) echo "usage: $0 [native|win32|all]" >&2; exit 2 ;;
esac
