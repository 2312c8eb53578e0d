#!/usr/bin/env bash
# Builds Trelvane and starts it.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$top/scripts/ensure_packages.sh"
ensure_packages "${TRELVANE_BUILD_PACKAGES[@]}"

cmake -S "$top" -B "$top/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$top/build/release"
exec "$top/build/release/app/trelvane"
