#!/usr/bin/env bash
# Runs the fuzz targets of the readers (fuzz preset, clang 14 with libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer) for a given time each.
#   scripts/fuzz.sh SECONDS [TARGET...]    every target of fuzz/corpus, or those named
# Each target starts from its seeds in fuzz/corpus/TARGET and keeps what it
# finds in build/fuzz/corpus/TARGET (the repository's seeds stay as they are);
# a crash leaves its input in build/fuzz/crashes/TARGET/ and the log in
# build/fuzz/logs/TARGET.log. Exits 1 when any target crashed.
set -uo pipefail
cd "$(dirname "$0")/.."
top=$(pwd) # absolute paths: targets that read files change their current directory

seconds=${1:?usage: $0 SECONDS [TARGET...]}
shift
if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

echo "=== fuzz: configure and build"
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz || { echo "=== fuzz: build failed"; exit 1; }

status=0
for target in "${targets[@]}"; do
    program=$top/build/fuzz/fuzz/fuzz_$target
    work=$top/build/fuzz/corpus/$target
    crashes=$top/build/fuzz/crashes/$target
    log=$top/build/fuzz/logs/$target.log
    mkdir -p "$work" "$crashes" "$(dirname "$log")"
    # The damage record is 16,048 bytes: inputs may be somewhat longer than it.
    "$program" -max_total_time="$seconds" -max_len=20000 -timeout=30 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$crashes/" "$work" "$top/fuzz/corpus/$target" >"$log" 2>&1
    rc=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    corpus=$(find "$work" -type f | wc -l)
    if [ "$rc" = 0 ]; then
        printf '%-22s %10s runs in %s s, coverage %s, corpus %s: no crash\n' \
            "$target" "${runs:-?}" "$seconds" "${coverage:-?}" "$corpus"
    else
        printf '%-22s FAILED (exit %s) after %s runs; see %s\n' "$target" "$rc" "${runs:-?}" "$log"
        grep -E 'ERROR|property does not hold|SUMMARY|Test unit written' "$log" | head -8
        status=1
    fi
done
[ "$status" = 0 ] && echo "=== fuzz: no crash" || echo "=== fuzz: FAILED"
exit "$status"
