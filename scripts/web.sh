#!/usr/bin/env bash
# Builds the web edition into build/web/ and serves it on http://127.0.0.1:8080/.
#   --build   builds it only
#   --tests   builds it with its tests (the analysis and report tests as WebAssembly under
#             node, the page in Chromium), for ctest in build/wasm
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$top/scripts/ensure_packages.sh"

serve=true testing=OFF
case "${1:-}" in
    "") ;;
    --build) serve=false ;;
    --tests) serve=false testing=ON ;;
    *) echo "usage: $0 [--build | --tests]" >&2; exit 2 ;;
esac

ensure_packages "${TRELVANE_WEB_PACKAGES[@]}"
if [ "$testing" = ON ]; then
    ensure_packages "${TRELVANE_WEB_TEST_PACKAGES[@]}"
    command -v npm >/dev/null || ensure_packages npm
    (cd "$top/tests/web" && npm ci --no-audit --no-fund)
fi

# Only the site's own files: nothing left from an earlier build is served.
site="$top/build/web"
rm -rf "$site"
emcmake cmake -S "$top" -B "$top/build/wasm" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DBUILD_TESTING=$testing -DTRELVANE_SITE_DIR="$site"
cmake --build "$top/build/wasm"

echo "The site is in $site:"
node "$top/bench/web_size.mjs" "$site"
if $serve; then
    exec node "$top/scripts/serve_web.mjs" "$site" 8080
fi
