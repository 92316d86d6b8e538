#!/usr/bin/env bash
# Writes the sample installation of the game into the directory given (created
# when missing): the track lists, the weather settings with well-formed and
# malformed sections, track ini files per tint letter and texture files, some
# of them missing, in mixed letter case on disk while the data names them in
# other case and with either separator, a texture filename map, and the
# files of examples/sample-install (the example rally files).
#
#   examples/make-installation.sh examples/run/native
set -euo pipefail
target=${1:?usage: $0 DIRECTORY}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mkdir -p "$target"
cd "$target"

crlf() { sed 's/$/\r/'; } # the game's files are Windows text files

mkdir -p Maps
crlf > Maps/Tracks.ini <<'INI'
; Stages of the installation (the game's own list, shortened).
[Map10]
TrackName=Maps\Finland\Kaihuavaara
Particles=snow
Surface=2

[Map20]
StageName=Harwood Forest
TrackName=Maps/England/Harwood
Particles=gravel
Surface=1

[Map41]
TrackName=Maps\France\Arbroz
Particles=tarmac
Surface=0

[Map99]
StageName=Test Track
TrackName=Maps\Test\test
Particles=gravel

[Map33]
; No particles: the stage is skipped.
TrackName=Maps\Wales\Mineshaft

[Map34]
; A track outside the installation is refused.
TrackName=..\..\Elsewhere\track
Particles=gravel
INI

crlf > Maps/TrackSettings.ini <<'INI'
[10M_crisp_clear]
[10M_noon_lightsnow_heavycloud]
[10E_evening_heavysnow_partcloud]
[20N_noon_lightrain_lightcloud]
[20N_heavyrain_heavycloud]
[41M_crisp_clear]
[41X_noon_hazy_clear]
[99M_crisp_clear]
[33M_crisp_clear]
[34M_crisp_clear]
; Malformed sections: each gives one report, the last none.
[10O_crisp_clear]
[20M_crisp_Sunny]
[41M_drizzle_clear]
[7_crisp_clear]
INI

# track_ini PATH "Texture0 ground(0|1)" ... : a track ini file with its textures.
track_ini() {
    local path=$1; shift
    mkdir -p "$(dirname "$path")"
    {
        echo "[TextureInfo]"
        echo "NumTextures=$#"
        local i=0 spec
        for spec in "$@"; do
            echo "Texture$i=${spec% *}"
            i=$((i + 1))
        done
        for spec in "$@"; do
            echo "[${spec% *}]"
            echo "IsGroundTexture=${spec#* }"
        done
    } | crlf > "$path"
}

# textures DIR GROUND-NAMES -- OTHER-NAMES: every surface and wear, as .dds files.
textures() {
    local dir=$1; shift
    local ground=() other=() seen=0 name surface wear
    for name in "$@"; do
        if [ "$name" = -- ]; then seen=1; elif [ $seen = 0 ]; then ground+=("$name"); else other+=("$name"); fi
    done
    for surface in Dry Damp Wet; do
        for wear in New Normal Worn; do
            mkdir -p "$dir/$surface/$wear"
            for name in "${ground[@]}"; do printf 'DDS ' > "$dir/$surface/$wear/$name.DDS"; done
        done
        for name in "${other[@]}"; do printf 'DDS ' > "$dir/$surface/$name.dds"; done
    done
}

# Finland: morning (M) and evening (E) lighting; the evening has no wet textures.
track_ini Maps/Finland/Kaihuavaara_M.ini "Textures\\SnowGround 1" "Textures/Spruce.tga 0" "Rock 0"
track_ini Maps/Finland/Kaihuavaara_E.ini "SnowGround 1" "Spruce 0"
textures Maps/Finland/KAIHUAVAARA_M_TEXTURES snowground -- SPRUCE
textures Maps/Finland/kaihuavaara_e_textures SnowGround -- Spruce
rm -r Maps/Finland/kaihuavaara_e_textures/Wet
# The rock of the morning track lies elsewhere: the filename map points at it.
mkdir -p Maps/Finland/Shared
printf 'DDS ' > Maps/Finland/Shared/Rock.dds

# England: noon (N) only; worn ground textures are missing.
track_ini Maps/England/Harwood_N.ini "Gravel 1" "Mud 1" "Fence 0"
textures Maps/England/Harwood_N_Textures Gravel Mud -- Fence
rm Maps/England/Harwood_N_Textures/*/Worn/Mud.DDS

# France: morning (M); its second settings section gives no letter, so the
# check takes the first track ini found.
track_ini Maps/France/Arbroz_M.ini "Tarmac 1" "Wall 0"
textures Maps/France/Arbroz_M_Textures Tarmac -- Wall

# The test track declares three textures but names only two.
mkdir -p Maps/Test
printf '[TextureInfo]\r\nNumTextures=3\r\nTexture0=Grass\r\nTexture1=Sand\r\n[Grass]\r\nIsGroundTexture=1\r\n' > Maps/Test/test_M.ini
textures Maps/Test/test_M_textures Grass -- Sand

# Texture filename map: 4 bytes, then source and target paths, NUL-ended,
# up to an empty string.
{
    printf 'TFM1'
    for surface in dry damp wet; do
        printf 'kaihuavaara_m_textures\\%s\\rock.dds\0Shared\\Rock.dds\0' "$surface"
    done
    printf 'Harwood_N_Textures\\Wet\\Fence.dds\0harwood_n_textures\\dry\\fence.dds\0'
    printf '\0'
} > Maps/TextureFilenameMap.dat

# The listing tool's options (all off: words, names and invalid stages listed).
crlf > Viduzuz.ini <<'INI'
[Ridoved]
emitNumbers=0
omitInvalid=0
omitName=0
INI

# The files kept in the repository as they are (the example rally files).
cp -R "$here/sample-install/." .
