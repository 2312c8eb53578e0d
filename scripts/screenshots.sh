#!/usr/bin/env bash
# Remakes the README's pictures from the real program on a virtual display: the input
# window, the results of a saturated layout, the name prompt, the print preview, the help,
# and the first page of the report it prints, rendered from the PDF with pdftoppm.
# Usage: scripts/screenshots.sh [OUTPUT_DIR]   (default docs/screenshots)
# QT_SCALE_FACTOR=2 scripts/screenshots.sh /tmp/big   shows the windows at double size.
# The build goes to build/test, as the test command's does, unless TRELVANE_BUILD_DIR is set.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$top/scripts/ensure_packages.sh"
ensure_packages "${TRELVANE_BUILD_PACKAGES[@]}" "${TRELVANE_TEST_PACKAGES[@]}"

out=$(mkdir -p "${1:-$top/docs/screenshots}" && cd "${1:-$top/docs/screenshots}" && pwd)
build=${TRELVANE_BUILD_DIR:-$top/build/test}
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake --build "$build" --target screenshot_driver trelvane_test_locales

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
# The report is printed as in the United States: Letter paper and its short date.
LOCPATH="$build/tests/locales" LC_ALL=en_US.UTF-8 \
    xvfb-run -a -s "-screen 0 1600x1200x24" "$build/tests/app/screenshot_driver" "$work"
pdftoppm -png -r 72 -f 1 -l 1 -singlefile "$work/report.pdf" "$work/report"

for picture in input results prompt preview help report; do
    cp "$work/$picture.png" "$out/$picture.png"
done
echo "Pictures written to $out"
