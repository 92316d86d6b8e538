#!/usr/bin/env bash
# Installs what the project needs from Debian's archive (only what is missing),
# then configures and builds both builds.
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
    sudo_ apt-get update -qq
    # shellcheck disable=SC2086
    sudo_ apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

build() {
    local preset=$1
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
}

case "${1:-all}" in
    --deps) install_deps ;;
    native|win32|bench|fuzz) install_deps; build "$1" ;;
    all) install_deps; build native; build win32 ;;
    *) echo "usage: $0 [--deps|native|win32|bench|fuzz|all]" >&2; exit 2 ;;
esac
