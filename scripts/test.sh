#!/usr/bin/env bash
# Builds Trelvane with its tests and runs the whole suite, on Linux, then for Windows under
# wine, then for the web; exits non-zero when a test fails.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$top/scripts/ensure_packages.sh"
ensure_packages "${TRELVANE_BUILD_PACKAGES[@]}" "${TRELVANE_TEST_PACKAGES[@]}"

build="$top/build/test"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure

# The same suite again under AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer; any report ends its test with a failure. The fuzzer builds with its own
# sanitizers, and timing under a sanitizer means nothing.
sanitize="$top/build/sanitize"
cmake -S "$top" -B "$sanitize" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
      -DTRELVANE_SANITIZE=ON
cmake --build "$sanitize"
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
LSAN_OPTIONS=suppressions="$top/tests/lsan.supp":print_suppressions=0 \
    ctest --test-dir "$sanitize" --output-on-failure -E '^(analysis_fuzz|.*_bench_smoke)$'

# The Windows program, cross-built with its tests and packages, and tested under wine: the
# analysis, window and report tests, and the packages as a user meets them, whose test
# program comes from the first build.
bash "$top/scripts/windows.sh" --tests "$build"
ctest --test-dir "$top/build/windows" --output-on-failure

# The web edition: the analysis and report tests built for WebAssembly and run under node,
# the page in Chromium, and the site's size.
bash "$top/scripts/web.sh" --tests
ctest --test-dir "$top/build/wasm" --output-on-failure
