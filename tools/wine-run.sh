#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine: CTest's emulator for the Windows build.
#   wine-run.sh <wine prefix> <DLL folders, ';'-separated> <font folder> <program.exe> [args]
# Wine hands only WINE-prefixed variables on to Windows programs (without the prefix), and a
# Qt Test's output does not reach a Linux pipe, so a test writes its log to a file, shown after.
set -uo pipefail
windows_path() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }

export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
IFS=';' read -r -a dll_folders <<<"$2"
search=()
for folder in "${dll_folders[@]}"; do search+=("$(windows_path "$folder")"); done
WINEPATH=$(IFS=';'; echo "${search[*]}")
export WINEPATH
export WINEQT_QPA_PLATFORM=${WINEQT_QPA_PLATFORM:-offscreen}
WINEQT_QPA_FONTDIR=$(windows_path "$3")
export WINEQT_QPA_FONTDIR
shift 3
program=$1
shift
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)

case "$(basename "$program")" in
tst_*)
    log=${program%.exe}.log
    rm -f "$log"
    "$wine" "$program" -o "$(windows_path "$log"),txt" "$@"
    status=$?
    cat "$log" 2>/dev/null || echo "no test log: the test did not start (exit $status)"
    exit $status
    ;;
*) exec "$wine" "$program" "$@" ;;
esac
