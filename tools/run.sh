#!/usr/bin/env bash
# Sets up the machine, builds Orlavox, and plays the given music files (or a short demo track the
# build makes) with the player under Wine, its windows on the display. Without a display it runs in
# Xvfb and writes a picture of the screen to build/rendered/screenshot.png; without a sound device
# it renders through the Disk Writer into build/rendered/. Returns when the files have been
# played; `oxctl` (in the same folder as rill.exe) drives the player meanwhile.
set -euo pipefail
. "$(dirname "$0")/build-x86_64.sh" rill oxctl ox_codec_wav ox_codec_mp3 ox_codec_flac ox_codec_vorbis ox_codec_opus \
  ox_output_waveout ox_output_diskwriter skins
dist="$build/x86_64/dist"  # the installation folder: rill.exe, oxctl.exe, Multiplayer\Input\, SoundOutputs\, ...

files=("$@")
[ ${#files[@]} -gt 0 ] || files=("$(bash "$root/tools/demo-track.sh" "$build")")
winpaths=()
for f in "${files[@]}"; do
  [ -e "$f" ] || { echo "run: no such file: $f" >&2; exit 1; }
  abs=$(cd "$(dirname "$f")" && pwd)/$(basename "$f")
  winpaths+=("Z:${abs//\//\\}")
done

export WINEPREFIX="$build/wineprefix-run" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
key='HKCU\Software\Quillmarsh\Orlavox'
if aplay -l 2>/dev/null | grep -q '^card'; then
  "$wine" reg add "$key" /v DefaultSO /d "Wave Out" /f >/dev/null 2>&1
  echo "run: playing through Wave Out"
else
  mkdir -p "$build/rendered"
  "$wine" reg add "$key" /v DefaultSO /d "Disk Writer" /f >/dev/null 2>&1
  "$wine" reg add "$key" /v DiskWriterFolder /d "Z:${build//\//\\}\\rendered" /f >/dev/null 2>&1
  echo "run: no sound device here; rendering through the Disk Writer into $build/rendered/"
fi

# The settings were written by a Wine without the player's display: that Wine goes before the
# player starts, or the player's windows would go to no screen.
wineserver -k >/dev/null 2>&1 || true
# The player, under Xvfb when there is no display.
runner=(bash "$root/tools/play-files.sh" "$dist" "${winpaths[@]}")
if [ -n "${DISPLAY:-}" ]; then
  "${runner[@]}"
else
  mkdir -p "$build/rendered"
  OX_SCREENSHOT="$build/rendered/screenshot.png" xvfb-run -a -s '-screen 0 1024x768x24' "${runner[@]}"
fi
if [ -d "$build/rendered" ]; then echo "run: rendered:"; ls -1 "$build/rendered"; fi
