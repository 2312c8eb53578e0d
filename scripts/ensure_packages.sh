# Sourced by the set-up scripts: installs the Debian packages that are missing.
# As root it calls apt-get directly, otherwise through sudo.

ensure_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    echo "Installing missing packages: ${missing[*]}"
    "${as_root[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# What every build needs: the toolchain, Qt 6 with printing, CUPS's client library, the
# fonts whose metrics match the windows' Arial, and rsvg-convert for the icon's pictures.
TRELVANE_BUILD_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev libcups2-dev fonts-liberation librsvg2-bin
)

# What the test suite needs on top: the test frameworks, clang for the fuzzer, a private
# CUPS server with a real PostScript driver chain and a driverless IPP Everywhere printer
# (ippeveprinter, which announces itself through Avahi on a D-Bus of its own), ghostscript
# and poppler to read printed pages back, the locale sources the printing tests make their
# locales from, a virtual X display with a key sender and a window manager, the Orca
# screen reader with the accessibility bus and Python's AT-SPI bindings that drive the
# program as it does, a headless Wayland compositor with Qt's Wayland plugin, the
# validators and Debian tools that check the installed files and the package, and for the
# Windows program 64-bit wine (its tests, and the packages as a user meets them), the
# clipboard reader and unzip those use, and GoogleTest's source, built for Windows.
TRELVANE_TEST_PACKAGES=(
    libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
    cups cups-client cups-bsd cups-ipp-utils avahi-daemon dbus-daemon ghostscript
    poppler-utils locales xvfb xauth openbox orca at-spi2-core python3-pyatspi weston
    qt6-wayland lintian
    appstream desktop-file-utils dpkg-dev file xdotool
    wine wine64 xclip unzip googletest
)

# What the Windows build needs: mingw-w64's compilers with POSIX threads (what std::thread
# needs) and its binutils (objdump to find the DLLs the program imports, strip, windres for
# its resources), CMake and Ninja, Debian's own Qt for the host tools the cross Qt runs
# (moc, rcc, uic) and whose copyright file the Windows folder carries, rsvg-convert and
# icotool for the program's icon, ImageMagick for the installer's pictures, NSIS for the
# installer, and xz to unpack the prebuilt Qt for Windows.
TRELVANE_WINDOWS_PACKAGES=(
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
    cmake ninja-build qt6-base-dev librsvg2-bin icoutils imagemagick nsis xz-utils
)

# What the web edition needs: Debian's emscripten (which brings node and the acorn its
# optimizer runs on), CMake and Ninja, and rsvg-convert for the page's icons.
TRELVANE_WEB_PACKAGES=(emscripten cmake ninja-build librsvg2-bin)

# What its tests need on top: Debian's Chromium, driven headless by the npm packages pinned
# in tests/web, poppler to read the printed page back, GoogleTest's source, built for
# WebAssembly, and the fonts the page is drawn with.
TRELVANE_WEB_TEST_PACKAGES=(chromium poppler-utils googletest fonts-liberation fonts-dejavu-core)
