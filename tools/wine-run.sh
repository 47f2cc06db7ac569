#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine: CTest's emulator for the Windows build.
#   wine-run.sh [--small-drive] <wine prefix> <DLL folders, ':'-separated> <font folder>
#               <program.exe> [args]
# Wine hands Qt's variables (QT_*) on to Windows programs only when set as WINEQT_*, and a
# Qt Test's output does not reach a Linux pipe, so a test writes its log to a file, shown after.
# --small-drive: the program also gets drive S:, a tmpfs of 1 MiB in a mount namespace of its
# own (as root), named in KOVEX_SMALL_DRIVE, for a full disk; Wine runs inside that namespace.
set -uo pipefail
windows_path() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }

small_drive=no
if [ "$1" = --small-drive ]; then
    small_drive=yes
    shift
fi

dlls=$2 fonts=$3
export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
IFS=':' read -r -a dll_folders <<<"$dlls"
search=()
for folder in "${dll_folders[@]}"; do search+=("$(windows_path "$folder")"); done
WINEPATH=$(IFS=';'; echo "${search[*]}")
export WINEPATH
export WINEQT_QPA_PLATFORM=${WINEQT_QPA_PLATFORM:-offscreen}
WINEQT_QPA_FONTDIR=$(windows_path "$fonts")
export WINEQT_QPA_FONTDIR
shift 3
program=$1
shift
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

if [ $small_drive = yes ] && [ -z "${KOVEX_INSIDE_NAMESPACE:-}" ]; then
    # The Wine server opens the files, so it must start inside the namespace too: none may be
    # left running for this prefix from the program before.
    "$wineserver" -k 2>/dev/null
    "$wineserver" -w 2>/dev/null
    drive=$(mktemp -d /var/tmp/kovex-small-drive-XXXXXX)
    if unshare --mount --propagation private true 2>/dev/null; then
        KOVEX_INSIDE_NAMESPACE=$drive unshare --mount --propagation private \
            bash "$0" --small-drive "$WINEPREFIX" "$dlls" "$fonts" "$program" "$@"
        status=$?
    else
        echo "no mount namespace here (not root?): no small drive" >&2
        bash "$0" "$WINEPREFIX" "$dlls" "$fonts" "$program" "$@"
        status=$?
    fi
    rm -f "$WINEPREFIX/dosdevices/s:"
    rmdir "$drive"
    exit $status
fi
if [ $small_drive = yes ]; then
    mount -t tmpfs -o size=1024k tmpfs "$KOVEX_INSIDE_NAMESPACE" || exit 1
    ln -sfn "$KOVEX_INSIDE_NAMESPACE" "$WINEPREFIX/dosdevices/s:"
    export KOVEX_SMALL_DRIVE=S:
fi

case "$(basename "$program")" in
tst_*)
    log=${program%.exe}.log
    rm -f "$log"
    "$wine" "$program" -o "$(windows_path "$log"),txt" "$@"
    status=$?
    cat "$log" 2>/dev/null || echo "no test log: the test did not start (exit $status)"
    # Inside a namespace of its own the server goes with it: wait for it to end.
    [ $small_drive = yes ] && "$wineserver" -w
    exit $status
    ;;
*) exec "$wine" "$program" "$@" ;;
esac
