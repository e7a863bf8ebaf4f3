#!/usr/bin/env bash
# Creates (once) the Wine prefix Quillop's tests and screenshots use, under build/wine-prefix,
# with font replacements so that "Times New Roman" and "Courier" look as designed.
# Usage: source scripts/wine/prefix.sh   (exports WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES)
quillop_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export WINEPREFIX="${QUILLOP_WINEPREFIX:-$quillop_root/build/wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer dialogs in a fresh prefix.
# A crash ends the program at once (winedbg would wait, and a test would hang to its time-out).
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}"
export WINEARCH=win64

quillop_prefix_ready() {
    [ -f "$WINEPREFIX/.quillop-prefix-v3" ]
}

quillop_make_prefix() {
    quillop_prefix_ready && return 0
    mkdir -p "$(dirname "$WINEPREFIX")"
    # Needs a display for nothing here; run headless.
    DISPLAY= wineboot -i >/dev/null 2>&1 || true
    local key='HKCU\Software\Wine\Fonts\Replacements'
    DISPLAY= wine reg add "$key" /v "Times New Roman" /t REG_SZ /d "Liberation Serif" /f >/dev/null 2>&1
    DISPLAY= wine reg add "$key" /v "Courier" /t REG_SZ /d "Liberation Mono" /f >/dev/null 2>&1
    DISPLAY= wine reg add "$key" /v "Courier New" /t REG_SZ /d "Liberation Mono" /f >/dev/null 2>&1
    DISPLAY= wine reg add "$key" /v "Arial" /t REG_SZ /d "Liberation Sans" /f >/dev/null 2>&1
    # No window manager runs on a bare X server: let Wine draw the frames and title bars itself.
    DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
    # Wine draws the title bar buttons with Marlett (Debian package fonts-wine).
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
        cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    wineserver -w
    touch "$WINEPREFIX/.quillop-prefix-v3"
}
