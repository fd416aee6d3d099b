#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the game need, only those that are missing.
set -euo pipefail

packages=(
    # build
    build-essential cmake ninja-build pkg-config
    # libraries the engine calls
    libsdl2-dev libgl-dev libgl1-mesa-dri libegl-mesa0 libegl-dev
    libpng-dev zlib1g-dev libjpeg62-turbo-dev libogg-dev libvorbis-dev
    # the data generator
    libfreetype-dev fonts-dejavu-core
    # tests, benchmarks and fuzzing
    googletest libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev libtinyxml2-dev clang libclang-rt-14-dev
    # running the game and its screenshots without a desktop
    xvfb xauth
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if ((EUID != 0)); then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
