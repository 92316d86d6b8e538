#!/usr/bin/env bash
# Runs every test of both builds: installs what is missing, configures and
# builds native and win32, then runs CTest natively (sanitizers on) and under
# Wine. Fails when any build or any test fails.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --deps || exit 1

status=0
for preset in native win32; do
    echo "=== $preset: configure and build"
    if cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset"; then
        echo "=== $preset: tests"
        ctest --preset "$preset" || status=1
    else
        echo "=== $preset: build failed"
        status=1
    fi
done
scripts/wine-run.sh --stop
[ "$status" = 0 ] && echo "=== all tests passed" || echo "=== FAILED"
exit "$status"
