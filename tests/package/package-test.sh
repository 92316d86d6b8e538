#!/usr/bin/env bash
# Makes the release archive, unpacks it over a fresh sample installation and
# checks what a player gets: exactly the files of the package in the game's
# folders, the settings files at their defaults, Ridoved.exe running from the
# game's directory and Zuzuzevo.dll loading from Plugins\ into the game
# written in C (tests/plugin/abi). Exits with 77 (skipped) where nothing here
# runs Windows programs, after the checks that need none.
#
#   package-test.sh CPACK CPackConfig.cmake Zoraravi_SSE.exe WORK-DIRECTORY
set -uo pipefail
cpack=$1 config=$2 game_host=$3 work=$4
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

rm -rf "$work"
mkdir -p "$work/out"
if ! "$cpack" --config "$config" -B "$work/out" > "$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    echo "FAILED: cpack"
    exit 1
fi
archives=("$work"/out/Zuzuzevo-*-win32.zip)
if [ "${#archives[@]}" != 1 ] || [ ! -f "${archives[0]}" ]; then
    echo "FAILED: expected one archive Zuzuzevo-VERSION-win32.zip, found: ${archives[*]}"
    exit 1
fi
archive=${archives[0]}

# Exactly these files, in the game's folders, with no folder around them.
expected=$(
    printf '%s\n' Plugins/Zuzuzevo.dll Plugins/Zuzuzevo/Zuzuzevo.ini \
        Plugins/Zuzuzevo/strings.ini Ridoved.exe Viduzuz.ini Zuzuzevo-Guide.txt
    (cd "$root/examples/sample-install" && ls Plugins/Zuzuzevo/*.srp)
)
listed=$(cd "$work" && cmake -E tar tf "$archive" | grep -v '/$')
if [ "$(sort <<< "$listed")" != "$(sort <<< "$expected")" ]; then
    fail "the archive holds"$'\n'"$listed"$'\n'"instead of"$'\n'"$expected"
fi

game="$work/game"
"$root/examples/make-installation.sh" "$game" || { echo "FAILED: sample installation"; exit 1; }
(cd "$game" && cmake -E tar xf "$archive") || { echo "FAILED: unpacking $archive"; exit 1; }

# A few keys at the defaults Settings.hpp declares, in their sections.
section_has() { # FILE SECTION LINE
    tr -d '\r' < "$1" | awk -v section="[$2]" -v line="$3" '
        /^\[/ { current = $0 } current == section && $0 == line { found = 1 }
        END { exit !found }'
}
section_has "$game/Plugins/Zuzuzevo/Zuzuzevo.ini" Options AutoScrollInterval=5 || fail "Zuzuzevo.ini: [Options] AutoScrollInterval=5"
section_has "$game/Plugins/Zuzuzevo/Zuzuzevo.ini" Service Skill=Competent || fail "Zuzuzevo.ini: [Service] Skill=Competent"
section_has "$game/Viduzuz.ini" Ridoved omitName=0 || fail "Viduzuz.ini: [Ridoved] omitName=0"
section_has "$game/Viduzuz.ini" Settings zudoExeName=Zoraravi_SSE.exe || fail "Viduzuz.ini: [Settings] zudoExeName"
grep -q "^## Rally files" "$game/Zuzuzevo-Guide.txt" || fail "the guide has no rally file reference"

cd "$game" || exit 1
# Ridoved first: the C game put beside it would be taken for the real game.
"$root/scripts/wine-run.sh" Ridoved.exe 20 > ridoved.out 2>&1
status=$?
[ "$status" = 77 ] && { cat ridoved.out; exit 77; }
if [ "$status" != 0 ] || ! grep -q "Ridoved.csv successfully written." ridoved.out \
    || ! grep -q "^20;Harwood Forest;" Ridoved.csv; then
    fail "Ridoved.exe in the game's directory (status $status):"$'\n'"$(cat ridoved.out)"
fi

cp "$game_host" Zoraravi_SSE.exe
"$root/scripts/wine-run.sh" Zoraravi_SSE.exe 'Plugins\Zuzuzevo.dll' > game.out 2>&1
status=$?
[ "$status" = 77 ] && { cat game.out; exit 77; }
if [ "$status" != 0 ] || ! tr -d '\r' < game.out | grep -q ' 0 failed$'; then
    fail "the game loading Plugins\\Zuzuzevo.dll (status $status):"$'\n'"$(cat game.out)"
fi

[ "$failures" = 0 ] && echo "package: $(basename "$archive") checked"
exit $((failures > 0))
