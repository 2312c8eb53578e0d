#!/usr/bin/env bash
# Installs the build into a scratch root and checks the desktop files with the freedesktop
# validators, builds the .deb, checks what it carries and what it depends on and has
# lintian judge it, unpacks it and starts the unpacked program: answering --version and
# --help without a display, offscreen, on a virtual display where it is closed from the
# keyboard as a user would, and as a client of a headless Wayland compositor.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
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
            "./usr/share/icons/hicolor/48x48/apps/$id.png" \
            ./usr/share/doc/trelvane/copyright \
            ./usr/share/doc/trelvane/changelog.Debian.gz \
            ./usr/share/man/man1/trelvane.1.gz; do
    grep -qxF "$path" "$work/contents" && pass "package holds $path" || fail "package lacks $path"
done

# Debian's own judgement: no error and no warning; the overrides name the two words the
# program must keep as they are spelled.
lintian_status=0
lintian --fail-on error,warning --info "$deb" >"$work/lintian.out" 2>&1 || lintian_status=$?
grep -v "running with root privileges" "$work/lintian.out" || true
[ "$lintian_status" -eq 0 ] && pass "lintian: no error or warning" \
    || fail "lintian (status $lintian_status): $(grep -E '^[EW]:' "$work/lintian.out")"
# lintian reads little of the copyright file itself: its terms must be LICENSE's.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/trelvane/copyright \
    | sed -n '/^ Permission/,$p' | sed 's/^ //; s/^\.$//' >"$work/terms"
diff <(sed -n '/^Permission/,$p' "$source_dir/LICENSE") "$work/terms" >/dev/null \
    && pass "copyright carries LICENSE's terms" || fail "copyright's terms differ from LICENSE"

# dpkg-shlibdeps worked the libraries out; without them apt would install a program
# that cannot start.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libcups2; do
    [[ "$depends" == *"$library "* ]] && pass "depends on $library" \
        || fail "Depends lacks $library: $depends"
done
# Without Qt's Wayland plugin a Wayland-only desktop cannot show the program at all.
[[ "$(dpkg-deb -f "$deb" Recommends)" == *qt6-wayland* ]] && pass "recommends qt6-wayland" \
    || fail "Recommends lacks qt6-wayland: $(dpkg-deb -f "$deb" Recommends)"

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

# The command line, answered without any display to connect to.
version=$(dpkg-deb -f "$deb" Version)
while IFS='|' read -r arguments status expected; do
    got=0
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" $arguments 2>&1) || got=$?
    if [ "$got" -eq "$status" ] && [[ "$out" == *"$expected"* ]]; then
        pass "trelvane $arguments: status $status"
    else
        fail "trelvane $arguments: status $got, said: $out"
    fi
done <<ROWS
--version|0|Trelvane ${version%-*}
--help|0|Usage: trelvane [--help | --version]
--verbose|2|unknown argument "--verbose"
--help --version|2|unknown argument "--version"
ROWS

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

# A Wayland desktop without X: the input window must appear as a toplevel of the
# compositor (headless weston, whose scene graph lists the windows it shows).
wayland="$work/wayland"
mkdir -m 0700 "$wayland"
XDG_RUNTIME_DIR="$wayland" weston --backend=headless-backend.so --socket=trelvane-test \
    --idle-time=0 --debug --log="$wayland/weston.log" >"$wayland/weston.out" 2>&1 &
weston=$!
for _ in $(seq 100); do [ -S "$wayland/trelvane-test" ] && break; sleep 0.05; done
env -u DISPLAY XDG_RUNTIME_DIR="$wayland" WAYLAND_DISPLAY=trelvane-test QT_QPA_PLATFORM=wayland \
    "$program" >"$work/wayland.out" 2>"$work/wayland.err" &
pid=$!
shown=no
for _ in $(seq 100); do
    if XDG_RUNTIME_DIR="$wayland" WAYLAND_DISPLAY=trelvane-test timeout 2 weston-debug scene-graph \
        2>/dev/null | grep -q "xdg_toplevel.*'Trelvane   v${version%-*}'"; then
        shown=yes
        break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
[ "$shown" = yes ] && pass "Wayland: the input window is shown" \
    || fail "Wayland: no input window; it said: $(cat "$work/wayland.err")"
kill -TERM "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
[ ! -s "$work/wayland.err" ] && pass "Wayland: no messages" \
    || fail "Wayland: it printed $(cat "$work/wayland.err")"
kill -TERM "$weston" 2>/dev/null || true
wait "$weston" 2>/dev/null || true

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
