#!/usr/bin/env bash
# Pictures of the shipped skins at work: starts the real player under Xvfb with the demo track
# playing, the equaliser window open and the visualisation running, and writes one picture per skin:
#   tools/screenshot.sh [output-folder]     (default docs/: screenshot-default.png, screenshot-strip.png)
# Each picture is the skin's windows on a quiet backdrop, cut from the screen.
set -euo pipefail
. "$(dirname "$0")/build-x86_64.sh" rill oxctl ox_codec_wav ox_output_waveout skins
out=$(mkdir -p "${1:-$root/docs}" && cd "${1:-$root/docs}" && pwd)
dist="$build/x86_64/dist"
demo=$(bash "$root/tools/demo-track.sh" "$build")

export WINEPREFIX="$build/wineprefix-shot" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wave Out plays into ALSA's file plug-in, which paces it like a device and keeps it quiet.
mkdir -p "$build/shot"
printf 'pcm.!default {\n  type file\n  slave.pcm "null"\n  file "/dev/null"\n  format "raw"\n}\n' >"$build/shot/asound.conf"
export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$build/shot/asound.conf"
export OX_DIST="$dist" OX_DEMO="Z:${demo//\//\\}" OX_OUT="$out" OX_SHOT="$build/shot"

xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  set -euo pipefail
  wine=/usr/lib/wine/wine64
  reg() { "$wine" reg add "$@" /f >/dev/null 2>&1; }
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
  reg "HKCU\Software\Wine\X11 Driver" /v Managed /d N
  key="HKCU\Software\Quillmarsh\Orlavox"
  reg "$key" /v DefaultSO /d "Wave Out"
  reg "$key" /v NoShowTray /t REG_DWORD /d 1             # no tray icon: Wine would draw a tray window
  # The equaliser on, with the Loudness preset.
  reg "$key" /v OxEQOn /t REG_DWORD /d 1
  reg "$key" /v OxEQSettings /t REG_BINARY /d "$(od -An -tx1 -v "$OX_DIST/Equalizer-Presets/Loudness.oeq" | tr -d " \n")"
  reg "$key\Spectrum.dll" /v Hide /t REG_DWORD /d 1     # only the skin draws
  reg "$key" /v SkinChangeOpt /t REG_DWORD /d 1          # no random skin at start-up
  # Each skin opens its player window at 40,40, the Default with its equaliser shown.
  reg "$key\Skin\Skins\Default\OrlavoxMain" /v X /t REG_DWORD /d 40
  reg "$key\Skin\Skins\Default\OrlavoxMain" /v Y /t REG_DWORD /d 40
  reg "$key\Skin\Skins\Default\OrlavoxMain" /v EVENT-UOxEqualizer /t REG_DWORD /d 1
  reg "$key\Skin\Skins\Strip\OrlavoxStrip" /v X /t REG_DWORD /d 40
  reg "$key\Skin\Skins\Strip\OrlavoxStrip" /v Y /t REG_DWORD /d 40
  reg "$key\Skin" /v "[SetActive]" /d Default

  "$wine" "$OX_DIST/rill.exe" "$OX_DEMO" &
  player=$!
  position() { "$wine" "$OX_DIST/oxctl.exe" status 2>/dev/null | sed -n "s/^position: \([0-9]*\) ms.*/\1/p" || true; }
  wait_for() {  # milliseconds into the track
    for _ in $(seq 1 120); do
      p=$(position); [ -n "$p" ] && [ "$p" -ge "$1" ] && return 0
      sleep 0.25
    done
    echo "screenshot: the demo track did not reach $1 ms" >&2; return 1
  }
  shoot() {  # name width height
    import -window root "$OX_SHOT/screen.png"
    # The windows with 24 pixels round them; the backdrop floods in from the corner, into the
    # outside of the rounded outlines too.
    convert "$OX_SHOT/screen.png" -crop "$(($2 + 48))x$(($3 + 48))+16+16" +repage \
      -fill "#C9D1DB" -draw "color 0,0 floodfill" "$OX_OUT/screenshot-$1.png"
    echo "screenshot: $OX_OUT/screenshot-$1.png"
  }
  wait_for 4500
  shoot default 400 259
  "$wine" "$OX_DIST/oxctl.exe" skin Strip
  wait_for 9000
  shoot strip 520 30
  "$wine" "$OX_DIST/oxctl.exe" skin Default
  "$wine" "$OX_DIST/oxctl.exe" close
  wait "$player" || true
'
wineserver -k >/dev/null 2>&1 || true
