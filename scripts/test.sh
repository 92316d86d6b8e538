#!/usr/bin/env bash
# Runs every test of both builds: installs what is missing, configures and
# builds native and win32, then runs CTest natively (sanitizers on) and under
# Wine, and every fuzz target briefly (ZUDO_FUZZ_SECONDS each, default 5; 0
# leaves them out). Fails when any build, test or fuzz target fails.
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
fuzz_seconds=${ZUDO_FUZZ_SECONDS:-5}
if [ "$fuzz_seconds" != 0 ]; then
    scripts/fuzz.sh "$fuzz_seconds" || status=1
fi
[ "$status" = 0 ] && echo "=== all tests passed" || echo "=== FAILED"
exit "$status"
