#!/usr/bin/env bash
# Pictures of the options program under Xvfb: its menu at the pointer and three pages of its
# settings window, written to docs/ (or the folder given):
#   tools/screenshot-launcher.sh [output-folder]
#     -> launcher-menu.png, launcher-skins.png, launcher-playback.png, launcher-keys.png
set -euo pipefail
. "$(dirname "$0")/build-x86_64.sh" rill Launcher skins
out=$(mkdir -p "${1:-$root/docs}" && cd "${1:-$root/docs}" && pwd)
export WINEPREFIX="$build/wineprefix-launcher-shot" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export OX_DIST="$build/x86_64/dist" OX_OUT="$out" OX_SHOT="$build/shot-launcher"
mkdir -p "$OX_SHOT"
xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  set -euo pipefail
  wine=/usr/lib/wine/wine64
  reg() { "$wine" reg add "$@" /f >/dev/null 2>&1; }
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
  reg "HKCU\Software\Wine\X11 Driver" /v Managed /d N
  key="HKCU\Software\Quillmarsh\Orlavox"
  reg "$key\Orp-KeyControl" /v Key0 /t REG_DWORD /d 0x474      # Alt+F5, system-wide
  reg "$key\Orp-KeyControl" /v Key6 /t REG_DWORD /d 0x227      # Ctrl+Right
  reg "$key\Orp-KeyControl" /v Key8 /t REG_DWORD /d 0x226      # Ctrl+Up
  reg "$key\Orp-KeyControl" /v Key10 /t REG_DWORD /d 0x227     # Ctrl+Right again: taken by Stop
  reg "$key\Orp-KeyControl" /v Key16 /t REG_DWORD /d 0x460     # Alt+Num 0
  reg "$key" /v CrossFadeOn /t REG_DWORD /d 1
  reg "$key" /v ReplayGainMode /t REG_DWORD /d 2
  reg "$key" /v ReplayGainPreamp /t REG_DWORD /d 0xFFFFFFF1  # -1.5 dB
  shot() { sleep 2; import -window root "$OX_SHOT/$1.png"; }
  # The menu at the pointer (the middle of the screen) beside a running player, then two pages
  # of the window.
  reg "$key" /v OxPlayDown /t REG_DWORD /d 1
  reg "$key" /v NoShowTray /t REG_DWORD /d 1             # no tray icon: Wine would draw a tray window
  reg "$key" /v SkinChangeOpt /t REG_DWORD /d 1
  reg "$key\Skin" /v "[SetActive]" /d Default
  "$wine" "$OX_DIST/rill.exe" &
  sleep 4
  "$wine" "$OX_DIST/Launcher.exe" &
  shot menu
  wineserver -k >/dev/null 2>&1 || true
  wait || true
  for page in 0:skins 1:playback 3:keys; do
    "$wine" "$OX_DIST/Launcher.exe" "/options:${page%%:*}" &
    shot "${page#*:}"
    wineserver -k >/dev/null 2>&1 || true
    wait || true
  done'
# Each cut to what was drawn on the empty screen.
for name in menu skins playback keys; do
  convert "$OX_SHOT/$name.png" -trim +repage -bordercolor "#C9D1DB" -border 6 "$out/launcher-$name.png"
done
ls -l "$out"/launcher-*.png
