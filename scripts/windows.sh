#!/usr/bin/env bash
# Cross-builds Trelvane for 64-bit Windows (Release, in build/windows) and makes its
# portable zip and its installer there.
#   --tests LINUX_TEST_BUILD   also builds the Windows tests, which use the Linux build
#                              of the tests in that folder
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$top/scripts/ensure_packages.sh"
source "$top/scripts/qt_windows.sh"

testing=(-DBUILD_TESTING=OFF -UTRELVANE_LINUX_TEST_BUILD)
case "${1:-}" in
    "") ;;
    --tests)
        [ $# -eq 2 ] || { echo "usage: $0 [--tests LINUX_TEST_BUILD]" >&2; exit 2; }
        testing=(-DBUILD_TESTING=ON "-DTRELVANE_LINUX_TEST_BUILD=$(realpath "$2")") ;;
    *) echo "usage: $0 [--tests LINUX_TEST_BUILD]" >&2; exit 2 ;;
esac

ensure_packages "${TRELVANE_WINDOWS_PACKAGES[@]}"
qt=$(trelvane_qt_windows "$top")

build="$top/build/windows"
# A build set up with another Qt keeps that Qt's paths in its cache: it starts afresh.
if [ -f "$build/CMakeCache.txt" ] &&
   [ "$(sed -n 's/^TRELVANE_QT_WINDOWS:[A-Z]*=//p' "$build/CMakeCache.txt")" != "$qt" ]; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
fi
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "${testing[@]}" \
      -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
      -DQT_CHAINLOAD_TOOLCHAIN_FILE="$top/desktop/windows/mingw64-toolchain.cmake" \
      -DTRELVANE_QT_WINDOWS="$qt"
cmake --build "$build" --target all trelvane_zip trelvane_installer

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
for package in "$build/trelvane-$version-win64.zip" "$build/trelvane-$version-win64-setup.exe"; do
    bytes=$(stat -c %s "$package")
    printf '%s  %d bytes (%s MiB)\n' "$package" "$bytes" \
        "$(awk -v b="$bytes" 'BEGIN { printf "%.2f", b / 1048576 }')"
done
