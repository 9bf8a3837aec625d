#!/usr/bin/env bash
# Gradescope's setup.sh for a morlu assignment: runs once, as root, when the
# autograder's image is built. The autograder zip holds this file,
# run_autograder, morlu's source as morlu/ and the assignment as assignment/
# (assignment.toml, reference/, tapes/). It installs what morlu and
# morlu-check need, then builds and installs them in /usr/local. The base
# image must package toml++ (libtomlplusplus-dev): Ubuntu 24.04 or Debian 12.
set -euo pipefail
source=${AUTOGRADER:-/autograder}/source
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends cmake ninja-build g++ pkg-config libfreetype-dev \
    libfontconfig-dev fonts-dejavu-core libpng-dev libtomlplusplus-dev libarchive-dev bubblewrap
cmake -S "$source/morlu" -B "$source/morlu-build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORLU_TESTS=OFF \
    -DMORLU_BENCH=OFF -DMORLU_EXAMPLES=OFF -DMORLU_WITH_GTK=OFF -DMORLU_WERROR=OFF
cmake --build "$source/morlu-build"
cmake --install "$source/morlu-build" --prefix /usr/local
ldconfig
