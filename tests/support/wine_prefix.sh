#!/usr/bin/env bash
# Makes the wine prefix that the Windows tests run in, set up as a Windows machine has it:
# Arial (wine has none; Liberation Sans has its metrics, and without it wine's PostScript
# driver crashes downloading the face it falls back to), the desktop font of Windows 10
# and 11 (Segoe UI 9 pt, drawn with Liberation Sans too) smoothed with ClearType (wine's
# own smoothing loses some glyphs of Qt's text), no crash dialog waiting for a click, and
# the fonts that the offscreen platform reads from a folder of its own.
# Usage: wine_prefix.sh PREFIX
set -euo pipefail
prefix=$1
rm -rf "$prefix"
mkdir -p "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all
wineboot -i >/dev/null 2>&1
wineserver -w

# LOGFONTW of Segoe UI, 9 pt at 96 dpi: the message font, which Qt takes as the desktop's.
segoe_ui=$(python3 -c '
import struct
face = "Segoe UI".encode("utf-16-le").ljust(64, b"\0")
print(struct.pack("<5l8B", -12, 0, 0, 0, 400, 0, 0, 0, 1, 0, 0, 0, 0).hex() + face.hex())')
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI' /t REG_SZ /d 'Liberation Sans' /f
wine reg add 'HKCU\Control Panel\Desktop\WindowMetrics' /v MessageFont /t REG_BINARY /d "$segoe_ui" /f
wine reg add 'HKCU\Control Panel\Desktop' /v FontSmoothingType /t REG_DWORD /d 2 /f
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
wineserver -w

mkdir -p "$prefix/qt-fonts"
ln -sf /usr/share/fonts/truetype/liberation/LiberationSans-*.ttf "$prefix/qt-fonts/"
