#!/usr/bin/env bash
# Installs what the project needs from Debian's archive (only what is missing),
# then configures and builds both builds. On a machine that cannot run 32-bit
# programs it adds QEMU's user-mode emulator for the Windows tests (see
# scripts/wine-run.sh): from the release itself when it has version 8 or later,
# on Debian 12 from its backports suite, which it adds as an apt source.
#   scripts/setup.sh            install, configure and build native and win32
#   scripts/setup.sh --deps     only install packages
#   scripts/setup.sh native     only the native build (win32, bench, fuzz likewise)
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(cmake ninja-build g++ make pkg-config libboost-dev googletest libgtest-dev
          g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
          libcairo2-dev fonts-dejavu-core wine wine32:i386 file
          clang-14 libclang-rt-14-dev llvm-14)

sudo_() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# Runs a command quietly; when it fails, shows what it said.
quiet() {
    local output
    if ! output=$("$@" 2>&1); then
        printf '%s\n' "$output" >&2
        echo "setup: failed: $*" >&2
        return 1
    fi
}

missing_packages() {
    local p
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
    done
}

install_deps() {
    local missing
    missing=$(missing_packages)
    [ -z "$missing" ] && return 0
    echo "setup: installing: $(echo $missing)"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        sudo_ dpkg --add-architecture i386
    fi
    export DEBIAN_FRONTEND=noninteractive
    quiet sudo_ apt-get update -qq
    # shellcheck disable=SC2086
    quiet sudo_ apt-get install -y -qq --no-install-recommends $missing
}

BACKPORTS_SOURCE=/etc/apt/sources.list.d/zudo-bookworm-backports.sources

qemu_candidate_major() { # [apt-get options...]: the major version apt would install
    apt-cache "$@" policy qemu-user 2>/dev/null \
        | sed -n 's/^  Candidate: \([0-9]*:\)\{0,1\}\([0-9][0-9]*\)\..*/\2/p'
}

add_backports_source() {
    [ "$(. /etc/os-release && echo "${VERSION_CODENAME:-}")" = bookworm ] || return 1
    if ! apt-cache policy 2>/dev/null | grep -q 'bookworm-backports'; then
        echo "setup: adding Debian's bookworm-backports suite as an apt source ($BACKPORTS_SOURCE)"
        printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm-backports' \
            'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' \
            | sudo_ tee "$BACKPORTS_SOURCE" >/dev/null
        if ! quiet sudo_ apt-get update -qq; then
            # A source that cannot be read would make every later update fail.
            sudo_ rm -f "$BACKPORTS_SOURCE"
            return 1
        fi
    fi
}

# QEMU for the Windows tests, only where Wine cannot run them directly.
install_qemu_when_needed() {
    local probe
    probe=$(scripts/wine-run.sh --probe)
    case "$probe" in
        none:*) ;;
        *) return 0 ;;
    esac
    case "${ZUDO_WIN32_RUNNER:-auto}" in auto|qemu) ;; *) return 0 ;; esac
    [ -x /usr/lib/wine/wine ] || return 0
    export DEBIAN_FRONTEND=noninteractive
    local target=() major
    major=$(qemu_candidate_major)
    if [ "${major:-0}" -lt 8 ]; then
        # Debian 12 has QEMU 7.2, which Wine cannot use (scripts/wine-run.sh).
        if add_backports_source && [ "$(qemu_candidate_major -t bookworm-backports)" -ge 8 ] 2>/dev/null; then
            target=(-t bookworm-backports)
        else
            echo "setup: no QEMU 8 or later in this system's apt sources: the Windows tests will not run"
            return 0
        fi
    fi
    echo "setup: installing QEMU's user-mode emulator for the Windows programs"
    # Without its recommendations: qemu-user-binfmt would route every 32-bit
    # program of the machine through QEMU.
    if ! quiet sudo_ apt-get install -y -qq --no-install-recommends "${target[@]}" qemu-user; then
        echo "setup: QEMU could not be installed: the Windows tests will not run"
        return 0
    fi
    echo "setup: Windows programs: $(scripts/wine-run.sh --probe)"
}

build() {
    local preset=$1
    quiet cmake --preset "$preset"
    cmake --build --preset "$preset"
}

case "${1:-all}" in
    --deps) install_deps; install_qemu_when_needed ;;
    native|bench|fuzz) install_deps; build "$1" ;;
    win32) install_deps; install_qemu_when_needed; build win32 ;;
    all) install_deps; install_qemu_when_needed; build native; build win32 ;;
    *) echo "usage: $0 [--deps|native|win32|bench|fuzz|all]" >&2; exit 2 ;;
esac
