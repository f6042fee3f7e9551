#!/usr/bin/env bash
# Installs what building, testing and running Quillmar needs on Debian 12:
# compilers, CMake, the 32-bit and 64-bit Windows cross compilers, 64-bit
# Wine, libraries for the Linux stand-ins (Cairo, SDL2), fonts, and
# espeak-ng and sox for the generated sound set. Where this machine can run
# 32-bit programs, also the i386 architecture and 32-bit Wine, for the extra
# run of the 32-bit Windows tests (adding an architecture takes minutes, so
# it is skipped where it could not be used).
# Packages already installed are not fetched again.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake ninja-build pkg-config git python3
    clang libclang-rt-14-dev llvm
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth
    libcairo2-dev libsdl2-dev libpng-dev fonts-liberation
    espeak-ng sox
    valgrind
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

if scripts/can-run-32-bit.sh; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo_cmd[@]}" dpkg --add-architecture i386
    fi
    packages+=(wine32:i386)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
