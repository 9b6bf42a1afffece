#!/usr/bin/env bash
# Pictures of the shipped skins at work: starts the real player under Xvfb with the demo track
# playing, the equaliser window open and the visualisation running, and writes one picture per skin:
#   tools/screenshot.sh [output-folder]     (default docs/: screenshot-default.png, screenshot-strip.png)
# Each picture is the skin's windows on a quiet backdrop, cut from the screen. The pictures of the
# skin author's guide go to skins/ in the same folder: the Default window with its elements marked,
# the three visualisation modes, button states, a slider's parts and a bitmap font.
set -euo pipefail
. "$(dirname "$0")/build-x86_64.sh" rill oxctl ox_codec_wav ox_output_waveout skins
out=$(mkdir -p "${1:-$root/docs}" && cd "${1:-$root/docs}" && pwd)
dist="$build/x86_64/dist"
demo=$(bash "$root/tools/demo-track.sh" "$build")
# A track without tags, named in three scripts: the title shows its file name.
utf8="$build/shot/$(printf 'Песня 夜曲 é').wav"
mkdir -p "$build/shot"
[ -f "$utf8" ] || sox -q -n -r 44100 -b 16 -c 2 "$utf8" synth 20 pluck C3 pluck E3 gain -12

export WINEPREFIX="$build/wineprefix-shot" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wave Out plays into ALSA's file plug-in, which paces it like a device and keeps it quiet.
mkdir -p "$build/shot"
printf 'pcm.!default {\n  type file\n  slave.pcm "null"\n  file "/dev/null"\n  format "raw"\n}\n' >"$build/shot/asound.conf"
export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$build/shot/asound.conf"
export OX_DIST="$dist" OX_DEMO="Z:${demo//\//\\}" OX_UTF8="Z:${utf8//\//\\}" OX_OUT="$out" OX_SHOT="$build/shot"

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
    cp "$OX_SHOT/screen.png" "$OX_SHOT/screen-$1.png"
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
  # The visualisation area in its other two modes, as the window remembers them.
  for mode in 1 2; do
    reg "$key\Skin\Skins\Default\OrlavoxMain" /v Vis-Showing /t REG_DWORD /d $mode
    "$wine" "$OX_DIST/rill.exe" "$OX_DEMO" &
    player=$!
    wait_for 4500
    import -window root "$OX_SHOT/screen-vis$mode.png"
    "$wine" "$OX_DIST/oxctl.exe" close
    wait "$player" || true
  done
  reg "$key\Skin\Skins\Default\OrlavoxMain" /v Vis-Showing /t REG_DWORD /d 0
  # A name in Cyrillic, CJK and Latin as written: Arial falls back on a CJK font, as on Windows.
  reg "HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink" /v Arial /t REG_MULTI_SZ \
    /d "wqy-microhei.ttc,WenQuanYi Micro Hei"
  reg "$key\Skin\Skins\Default\OrlavoxMain" /v EVENT-UOxEqualizer /t REG_DWORD /d 0
  "$wine" "$OX_DIST/rill.exe" "$OX_UTF8" &
  player=$!
  wait_for 4500
  shoot utf8 400 136
  "$wine" "$OX_DIST/oxctl.exe" close
  wait "$player" || true
  reg "$key\Skin\Skins\Default\OrlavoxMain" /v EVENT-UOxEqualizer /t REG_DWORD /d 1
'
wineserver -k >/dev/null 2>&1 || true

# The guide's pictures, enlarged so their pixels show.
guide="$out/skins"
skin="$dist/Skins/Default"
mkdir -p "$guide"
shot="$build/shot"
# The Default windows with each element outlined in the colour of its kind (main window at 40,40).
marks=()
while read -r colour rectangle; do
  marks+=(-stroke "$colour" -draw "rectangle $rectangle")
done < <(perl -ne '
  BEGIN { %colour = (button => "#FFB300", slider => "#66BB6A", text => "#EC407A", image => "#26C6DA",
                     visualisation => "#EF5350", eqcurve => "#FFFFFF") }
  if (/^(\w+) "/) { flush(); $kind = $1; %f = () } elsif (/^\s+(x|y|width|height) (-?\d+)/) { $f{$1} = $2 }
  sub flush { return unless $colour{$kind}; my ($x, $y) = (2 * ($f{x} + 24), 2 * ($f{y} + 24));
              printf "%s %d,%d %d,%d\n", $colour{$kind}, $x, $y, $x + 2 * $f{width} - 1, $y + 2 * $f{height} - 1 }
  END { flush() }' "$root/skins/Default/Default.txt")
convert "$out/screenshot-default.png" -scale 200% -fill none -strokewidth 2 "${marks[@]}" "$guide/anatomy.png"
# Visualisation modes 0, 1 and 2: the area of the player window, from the three runs.
for shot_name in default vis1 vis2; do
  convert "$shot/screen-$shot_name.png" -crop 80x48+342+68 +repage -bordercolor "#C9D1DB" -border 4 "$shot/area-$shot_name.png"
done
convert "$shot/area-default.png" "$shot/area-vis1.png" "$shot/area-vis2.png" +append -scale 300% "$guide/visualisation-modes.png"
# Buttons: normal, under the mouse, pressed (or lit), for four buttons.
rows=()
for b in prev play pause eq-toggle; do
  rows+=("(" "$skin/$b.bmp" "$skin/$b-m.bmp" "$skin/$b-d.bmp" -bordercolor "#C9D1DB" -border 3 +append ")")
done
convert "${rows[@]}" -background "#C9D1DB" -append -scale 300% "$guide/button-states.png"
# A slider: track, fill and knob, then the three drawn at a value of about 80.
convert "$skin/vol-track.bmp" "$skin/vol-fill.bmp" \( "$skin/knob.bmp" -background "#C9D1DB" -gravity west -extent 70x10 +gravity \) \
  \( "$shot/screen-default.png" -crop 70x10+230+151 +repage \) -bordercolor "#C9D1DB" -border 3 -append -scale 400% "$guide/slider.png"
# A bitmap font: the first 32 cells of the details font and of its mask.
convert \( "$skin/info.bmp" -crop 256x15+0+0 +repage \) \( "$skin/info-mask.bmp" -crop 256x15+0+0 +repage \) \
  -bordercolor "#C9D1DB" -border 3 -append -scale 400% "$guide/bitmap-font.png"
echo "screenshot: the guide's pictures in $guide"
