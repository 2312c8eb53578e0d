#!/usr/bin/env bash
# Builds Trelvane with its tests and runs the whole suite; exits non-zero when a test fails.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$top/scripts/ensure_packages.sh"
ensure_packages "${TRELVANE_BUILD_PACKAGES[@]}" "${TRELVANE_TEST_PACKAGES[@]}"

build="$top/build/test"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure
