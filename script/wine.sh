# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced, not run: start_wine [DPI] makes a fresh wine prefix in a temporary folder, with
# wine's own fonts copied into its C:\windows\Fonts (Debian's wine does not load them by
# itself, and MS Sans Serif would fall back to Liberation Sans) and its virtual desktop
# on (without a window manager every hide stalls), on an Xvfb display of its own. It
# exports WINEPREFIX, DISPLAY, WINEDEBUG and XVFB_PID, and returns non-zero where wine or
# Xvfb cannot start. stop_wine ends both and removes the prefix.
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"

start_wine() {
    local dpi=${1:-96}
    command -v wine >/dev/null || return 1
    WINE_HOME=$(mktemp -d) || return 1
    export WINEPREFIX="$WINE_HOME/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    start_xvfb || return 1
    timeout 120 wine wineboot -i >/dev/null 2>&1 || return 1
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    timeout 30 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    timeout 30 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
    timeout 30 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    timeout 30 wineserver -w
}

# Drive T: as a small tmpfs of 256 KiB, to be filled by a test; only as root.
add_small_drive() {
    [ "$(id -u)" -eq 0 ] || return 1
    mkdir -p "$WINE_HOME/small" &&
        mount -t tmpfs -o size=256k tmpfs "$WINE_HOME/small" &&
        ln -s "$WINE_HOME/small" "$WINEPREFIX/dosdevices/t:"
}

stop_wine() {
    # Under set -e too: nothing here may end the caller early.
    timeout 10 wineserver -k 2>/dev/null || true
    # Lazily: wine's last processes may still hold files on the small drive.
    if mountpoint -q "$WINE_HOME/small" 2>/dev/null; then umount -l "$WINE_HOME/small" || true; fi
    kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WINE_HOME" 2>/dev/null || true
}
