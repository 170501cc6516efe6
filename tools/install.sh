#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (run as root): the MinGW-w64 cross
# compilers, CMake and Ninja, Wine with its 32-bit part, Xvfb, GoogleTest's sources, a
# CJK font and Wine's own fonts, ImageMagick for screenshots, Python for the file checks,
# and clang with its fuzzer and Google Benchmark for the text routines on the host.
set -euo pipefail
packages=(
    cmake ninja-build python3
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
    wine wine64 wine32:i386
    xvfb xauth imagemagick fonts-wqy-microhei fonts-wine
    googletest
    clang libclang-rt-14-dev libbenchmark-dev
)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    dpkg --add-architecture i386
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
