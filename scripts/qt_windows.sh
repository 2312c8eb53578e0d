# shellcheck shell=bash
# Sourced by the set-up scripts: finds Qt for Windows (x86_64-w64-mingw32), unpacking or
# building it first when there is none. Needs ensure_packages.sh sourced before it.

TRELVANE_QT_WINDOWS_NAME=qt-6.4.2-mingw64
# Debian's source of the Qt that the cross Qt is built from; the same as the host Qt, whose
# moc, rcc and uic the cross build runs.
TRELVANE_QT_DEBIAN_VERSION=6.4.2+dfsg-10

# What building Qt from source needs besides the Windows build's packages: dpkg-source,
# which apt-get source unpacks the source and applies Debian's patches with.
TRELVANE_QT_SOURCE_PACKAGES=(dpkg-dev)

# trelvane_qt_windows REPOSITORY: prints the prefix of Qt for Windows, which is
# $TRELVANE_QT_WINDOWS when set; else the cache folder, unpacked there from the archive in
# ../shared/windows beside the repository when the cache holds none, or else built there
# from Debian's qt6-base source. Everything but the prefix goes to the error stream.
trelvane_qt_windows() {
    local top=$1
    if [ -n "${TRELVANE_QT_WINDOWS:-}" ]; then
        trelvane_qt_windows_check "$TRELVANE_QT_WINDOWS" || return 1
        printf '%s\n' "$TRELVANE_QT_WINDOWS"
        return 0
    fi

    local cache=${XDG_CACHE_HOME:-$HOME/.cache}/trelvane/$TRELVANE_QT_WINDOWS_NAME
    if [ ! -e "$cache" ]; then
        local archive
        archive=$(cd "$top/.." && pwd)/shared/windows/$TRELVANE_QT_WINDOWS_NAME.tar.xz
        mkdir -p "$(dirname "$cache")"
        if [ -f "$archive" ]; then
            trelvane_qt_windows_unpack "$archive" "$cache" || return 1
        else
            trelvane_qt_windows_build "$top" "$cache" || return 1
        fi
    fi
    trelvane_qt_windows_check "$cache" || return 1
    printf '%s\n' "$cache"
}

# A prefix is usable when it holds Qt's own toolchain file and Qt's core DLL.
trelvane_qt_windows_check() {
    if [ ! -f "$1/lib/cmake/Qt6/qt.toolchain.cmake" ] || [ ! -f "$1/bin/Qt6Core.dll" ]; then
        echo "$1 holds no Qt for Windows (lib/cmake/Qt6/qt.toolchain.cmake, bin/Qt6Core.dll)" >&2
        return 1
    fi
}

# Unpacks ARCHIVE, once its checksum is right, into the folder CACHE; CACHE appears only
# once it is complete.
trelvane_qt_windows_unpack() {
    local archive=$1 cache=$2
    echo "Checking and unpacking $archive into $cache" >&2
    (cd "$(dirname "$archive")" && sha256sum --check --quiet "$(basename "$archive").sha256") >&2 ||
        { echo "$archive does not match its .sha256" >&2; return 1; }
    local partial
    partial=$(mktemp -d "$cache.partial.XXXXXX")
    tar -xJf "$archive" -C "$partial" || { rm -rf "$partial"; return 1; }
    if [ ! -d "$partial/$TRELVANE_QT_WINDOWS_NAME" ]; then
        echo "$archive does not unpack to $TRELVANE_QT_WINDOWS_NAME/" >&2
        rm -rf "$partial"
        return 1
    fi
    mv "$partial/$TRELVANE_QT_WINDOWS_NAME" "$cache"
    rm -rf "$partial"
}

# Builds Qt for Windows from Debian's qt6-base source, with Debian's patches, configured as
# the prebuilt archive was (its README in ../shared/windows tells how), and installs it into
# the folder CACHE, which appears only once it is complete.
trelvane_qt_windows_build() {
    local top=$1 cache=$2
    echo "There is no Qt for Windows yet: building Qt $TRELVANE_QT_DEBIAN_VERSION from" \
         "Debian's source into $cache. This takes about 20 minutes on 2 idle cores," \
         "longer on a busy machine." >&2
    ensure_packages "${TRELVANE_QT_SOURCE_PACKAGES[@]}" >&2
    trelvane_qt_source_entry || return 1

    local work=$cache.build
    rm -rf "$work" "$cache.partial"
    mkdir -p "$work"
    (cd "$work" && apt-get source --only-source "qt6-base=$TRELVANE_QT_DEBIAN_VERSION") >&2 ||
        { echo "apt-get source qt6-base=$TRELVANE_QT_DEBIAN_VERSION failed" >&2; return 1; }
    local source
    source=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*')
    if [ ! -f "$source/CMakeLists.txt" ] || [ ! -s "$source/.pc/applied-patches" ]; then
        echo "apt-get source left no patched qt6-base source in $work" >&2
        return 1
    fi

    if ! cmake -S "$source" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$top/desktop/windows/mingw64-toolchain.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_INSTALL_PREFIX="$cache.partial" \
        -DCMAKE_BUILD_TYPE=Release -DQT_QMAKE_TARGET_MKSPEC=win32-g++ \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_WITH_PCH=OFF \
        -DINPUT_opengl=no -DFEATURE_tabletevent=OFF -DFEATURE_sql=OFF \
        -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
        -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DFEATURE_vulkan=OFF -DFEATURE_glib=OFF \
        -DFEATURE_fontconfig=OFF -DFEATURE_printsupport=ON -DFEATURE_testlib=ON >&2 ||
       ! cmake --build "$work/build" >&2 || ! cmake --install "$work/build" --strip >&2; then
        echo "Building Qt for Windows failed; its build is left in $work" >&2
        return 1
    fi
    mv "$cache.partial" "$cache"
    rm -rf "$work"
}

# apt-get source needs a deb-src entry for the archive that Debian's Qt comes from. When
# apt knows no source of this version, the deb entry of that archive is copied, as deb-src,
# into /etc/apt/sources.list.d/ (with its options, such as Signed-By, which apt wants the
# same for both).
trelvane_qt_source_entry() {
    trelvane_qt_source_known && return 0

    # "qt6-base-dev | 6.4.2+dfsg-10 | http://deb.debian.org/debian bookworm/main amd64 Packages"
    local origin uri suite_component
    origin=$(apt-cache madison qt6-base-dev | awk -F' [|] ' -v version="$TRELVANE_QT_DEBIAN_VERSION" \
        '$2 == version && $3 ~ / Packages$/ { print $3; exit }')
    read -r uri suite_component _ <<<"$origin"
    if [ -z "$uri" ] || [[ $suite_component != */* ]]; then
        echo "No archive that apt knows has qt6-base-dev $TRELVANE_QT_DEBIAN_VERSION;" \
             "its source is on https://snapshot.debian.org/package/qt6-base/" >&2
        return 1
    fi
    # Where that entry is: "/etc/apt/sources.list.d/debian.sources:1", the stanza of a
    # .sources file or the line of a .list file.
    local where file number list text
    # shellcheck disable=SC2016 # $(SOURCESENTRY) is apt's field, not the shell's.
    where=$(apt-get indextargets --format '$(SOURCESENTRY)' 'Identifier: Packages' \
        "Site: $uri" "Release: ${suite_component%%/*}" "Component: ${suite_component#*/}" |
        head -n 1)
    file=${where%:*} number=${where##*:}
    if [[ $file == *.sources ]]; then
        list=/etc/apt/sources.list.d/trelvane-qt6-base-source.sources
        text=$(awk -v n="$number" 'BEGIN { RS = "" } /(^|\n)Types:/ && ++seen == n { print }' "$file" |
            sed 's/^Types:.*/Types: deb-src/')
    else
        list=/etc/apt/sources.list.d/trelvane-qt6-base-source.list
        text=$(sed -n "${number}s/^[[:space:]]*deb[[:space:]]/deb-src /p" "$file")
    fi
    if [ -z "$text" ]; then
        echo "Cannot read apt's entry for $uri in ${where:-any sources file}" >&2
        return 1
    fi

    local as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    echo "Adding a deb-src entry to $list, for apt-get source qt6-base:" >&2
    printf '%s\n' "$text" | sed 's/^/    /' >&2
    printf '%s\n' "$text" | "${as_root[@]}" tee "$list" >/dev/null
    # An entry that apt cannot use would stop every later apt-get: it goes again.
    if ! "${as_root[@]}" apt-get update -q >&2 || ! trelvane_qt_source_known; then
        echo "apt knows no qt6-base source $TRELVANE_QT_DEBIAN_VERSION even so;" \
             "$list is removed again" >&2
        "${as_root[@]}" rm -f "$list"
        return 1
    fi
}

trelvane_qt_source_known() {
    apt-cache showsrc qt6-base 2>/dev/null | grep -qxF "Version: $TRELVANE_QT_DEBIAN_VERSION"
}
