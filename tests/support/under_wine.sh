#!/usr/bin/env bash
# Runs a Windows test program under wine, in the tests' prefix, with the DLLs it imports
# found in the folders that TRELVANE_DLL_DIRS lists; its exit status is passed on. Wine
# keeps the caller's QT_ variables from Windows programs unless they are prefixed with
# WINE, and loses what Qt Test writes to the console: a Qt Test (TRELVANE_QT_TEST=1)
# writes its results to the standard error stream as a file.
set -uo pipefail
program=$1
shift
WINEPATH=$(tr ':' '\n' <<<"$TRELVANE_DLL_DIRS" | sed 's|^|Z:|; s|/|\\|g' | paste -sd ';')
export WINEPATH
for name in $(compgen -e | grep '^QT_'); do
    export "WINE$name=${!name}"
done
if [ "${TRELVANE_QT_TEST:-0}" = 1 ]; then
    set -- "$@" -o /dev/stderr,txt
fi
exec wine "$program" "$@"
