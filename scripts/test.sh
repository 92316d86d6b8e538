#!/usr/bin/env bash
# Runs every test of both builds: installs what is missing, configures and
# builds native and win32, then runs CTest natively (sanitizers on) and the
# win32 tests as scripts/wine-run.sh runs Windows programs on this machine,
# and every fuzz target briefly (ZUDO_FUZZ_SECONDS each, default 5; 0 leaves
# them out). Fails when any build, test or fuzz target fails. Where nothing
# here can run Windows programs, the win32 tests that need one are skipped
# and the last lines say how many did not run.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --deps || exit 1

status=0
not_run=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for preset in native win32; do
    echo "=== $preset: configure and build"
    if scripts/setup.sh "$preset"; then
        [ "$preset" = win32 ] && echo "=== win32: Windows programs: $(scripts/wine-run.sh --probe)"
        echo "=== $preset: tests"
        ctest --preset "$preset" 2>&1 | tee "$log"
        [ "${PIPESTATUS[0]}" = 0 ] || status=1
        skipped=$(grep -c '\*\*\*Skipped' "$log")
        not_run=$((not_run + skipped))
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
elapsed="$((SECONDS / 60)) min $((SECONDS % 60)) s"
if [ "$not_run" -gt 0 ]; then
    echo "=== $not_run win32 tests did not run: $(scripts/wine-run.sh --probe | sed 's/^none: //')"
fi
if [ "$status" != 0 ]; then
    echo "=== FAILED ($elapsed)"
elif [ "$not_run" -gt 0 ]; then
    echo "=== all tests that ran passed, $not_run win32 tests did not run ($elapsed)"
else
    echo "=== all tests passed ($elapsed)"
fi
exit "$status"
