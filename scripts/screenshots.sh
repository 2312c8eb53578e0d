#!/usr/bin/env bash
# Remakes the README's pictures from the real program on a virtual display: the input
# window, the results of a saturated layout, the name prompt, the print preview, the help,
# and the first page of the report it prints, rendered from the PDF with pdftoppm; and,
# once the Windows packages are made (bash scripts/windows.sh), the Windows program's input
# window under wine, with the worked example typed in; and, once the web edition is built
# (bash scripts/web.sh --tests), the page in Chromium on a phone and a desktop.
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

zip=$(ls "$top"/build/windows/trelvane-*-win64.zip 2>/dev/null | head -n 1)
if [ -n "$zip" ]; then
    unzip -q "$zip" -d "$work/windows"
    bash "$top/tests/support/wine_prefix.sh" "$work/wine" >/dev/null
    WINEPREFIX="$work/wine" WINEDEBUG=-all xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
        openbox & sleep 1
        wine "$0/trelvane.exe" &
        for i in $(seq 60); do
            w=$(xdotool search --onlyvisible --name "^Trelvane   v") && break
            sleep 0.5
        done
        # Past the options to the passing box, then on past Analyze and Exit to the 40 feet cars.
        xdotool windowactivate --sync "$w"
        for keys in "key Tab" "type 10" "key Tab" "type 18" "key Tab" "type 100" \
                    "key Tab Tab Tab Tab" "type 30"; do
            xdotool $keys
        done
        sleep 1
        import -window "$w" "$1"
        wineserver -k' "$work/windows/Trelvane" "$out/input-wine.png"
else
    echo "No Windows zip in build/windows: the picture under wine is not remade"
fi
if [ -f "$top/build/web/index.html" ] && [ -d "$top/tests/web/node_modules" ]; then
    node "$top/scripts/web_screenshots.mjs" "$top/build/web" "$out"
else
    echo "No web edition in build/web: its pictures are not remade"
fi
echo "Pictures written to $out"
