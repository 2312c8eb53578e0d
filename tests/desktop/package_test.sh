#!/usr/bin/env bash
# Installs the build into a scratch root and checks the desktop files with the freedesktop
# validators, builds the .deb, checks what it carries and what it depends on, unpacks it
# and starts the unpacked program: offscreen, and on a virtual display where it is closed
# from the keyboard as a user would.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
id=io.github.trelvane.Trelvane
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# --- The installed files -------------------------------------------------------------
stage="$work/stage"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$work/install.log"
share="$stage/usr/share"

if desktop-file-validate "$share/applications/$id.desktop"; then
    pass "desktop-file-validate"
else
    fail "desktop-file-validate"
fi
if appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"; then
    pass "appstreamcli validate"
else
    fail "appstreamcli validate"
fi
# The tree as a whole: the metainfo's launchable names the installed desktop entry.
if appstreamcli validate-tree --no-net "$stage"; then
    pass "appstreamcli validate-tree"
else
    fail "appstreamcli validate-tree"
fi

# The desktop entry starts the installed program and shows the installed icon.
grep -qx "Exec=trelvane" "$share/applications/$id.desktop" && [ -x "$stage/usr/bin/trelvane" ] \
    && pass "Exec names the installed program" || fail "Exec does not name usr/bin/trelvane"
grep -qx "Icon=$id" "$share/applications/$id.desktop" \
    && pass "Icon names the installed icon" || fail "Icon is not $id"
for size in 32 48; do
    png="$share/icons/hicolor/${size}x${size}/apps/$id.png"
    if file "$png" | grep -q "PNG image data, $size x $size"; then
        pass "${size}x${size} icon"
    else
        fail "${size}x${size} icon: $(file "$png" 2>&1)"
    fi
done
[ -s "$share/icons/hicolor/scalable/apps/$id.svg" ] && pass "scalable icon" || fail "no scalable icon"

# --- The package ---------------------------------------------------------------------
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; fail "cpack -G DEB"; exit 1; }
deb=$(ls "$work/package"/*.deb)
pass "cpack made $(basename "$deb")"

dpkg-deb -c "$deb" | awk '{print $NF}' >"$work/contents"
for path in ./usr/bin/trelvane \
            "./usr/share/applications/$id.desktop" \
            "./usr/share/metainfo/$id.metainfo.xml" \
            "./usr/share/icons/hicolor/scalable/apps/$id.svg" \
            "./usr/share/icons/hicolor/32x32/apps/$id.png" \
            "./usr/share/icons/hicolor/48x48/apps/$id.png"; do
    grep -qxF "$path" "$work/contents" && pass "package holds $path" || fail "package lacks $path"
done

# dpkg-shlibdeps worked the libraries out; without them apt would install a program
# that cannot start.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libcups2; do
    [[ "$depends" == *"$library "* ]] && pass "depends on $library" \
        || fail "Depends lacks $library: $depends"
done

# --- The unpacked program ------------------------------------------------------------
root="$work/root"
dpkg -x "$deb" "$root"
program="$root/usr/bin/trelvane"
# An RPATH into the build tree would let the program start here and fail elsewhere.
if readelf -d "$program" | grep -qiE 'rpath|runpath'; then
    fail "the packaged program carries an RPATH: $(readelf -d "$program" | grep -iE 'rpath|runpath')"
else
    pass "no RPATH"
fi
if ldd "$program" | grep -q "not found"; then
    fail "unresolved libraries: $(ldd "$program" | grep 'not found')"
else
    pass "every library resolves"
fi

# Offscreen: it must come up and stay up until it is told to end, saying nothing.
QT_QPA_PLATFORM=offscreen "$program" >"$work/offscreen.out" 2>"$work/offscreen.err" &
pid=$!
sleep 3
if kill -0 "$pid" 2>/dev/null; then
    kill -TERM "$pid"
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 143 ] && pass "offscreen: up until SIGTERM" \
        || fail "offscreen: ended with status $status after SIGTERM"
else
    status=0
    wait "$pid" || status=$?
    fail "offscreen: ended by itself with status $status"
fi
[ ! -s "$work/offscreen.err" ] && pass "offscreen: no messages" \
    || fail "offscreen printed: $(cat "$work/offscreen.err")"

# On a virtual display: the input window appears with its caption, and Exit, reached with
# the Tab key from the first focus stop and pressed with Space, ends the program with 0.
cat >"$work/close_by_keys.sh" <<'SCRIPT'
set -u
"$1" 2>"$2" &
pid=$!
window=$(timeout 20 xdotool search --sync --name '^Trelvane   v[0-9]+\.[0-9]+\.[0-9]+$' | head -n 1)
if [ -z "$window" ]; then
    echo "no input window appeared"
    kill -TERM "$pid"
    wait "$pid"
    exit 90
fi
# Focus the window the way a window manager would, and give Qt a moment to take it.
xdotool windowfocus --sync "$window"
sleep 1
xdotool key Tab Tab Tab Tab Tab space
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    echo "still running after Exit"
    kill -TERM "$pid"
    wait "$pid"
    exit 91
fi
wait "$pid"
SCRIPT
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/close_by_keys.sh" "$program" \
    "$work/display.err" || status=$?
[ "$status" -eq 0 ] && pass "on a display: Exit by keyboard ends it with 0" \
    || fail "on a display: status $status"
[ ! -s "$work/display.err" ] && pass "on a display: no messages" \
    || fail "on a display it printed: $(cat "$work/display.err")"

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
