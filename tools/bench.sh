#!/usr/bin/env bash
# Builds the x86_64 flavour, makes a minute of music-like audio as WAV and MP3, and runs the
# benchmarks under Wine. Prints their figures.
set -euo pipefail
. "$(dirname "$0")/build-x86_64.sh" codec_speed queue_speed player_bench skin_load skin_bench watch_bench librarian_bench \
  queuer_bench bare_window rill oxctl Queuer \
  ox_test_recording skins \
  ox_codec_mp3 ox_codec_wav xiph_speed ox_codec_flac ox_codec_vorbis ox_codec_opus

# The pure code natively, without the sanitizers of the test build.
cmake -S "$root" -B "$build/native-release" -DCMAKE_BUILD_TYPE=Release -DOX_TESTS=OFF >/dev/null
cmake --build "$build/native-release" -j "$(nproc)" --target eq_speed oxskin >/dev/null
"$build/native-release/bench/eq_speed"

data="$build/bench-data"
mkdir -p "$data"
if [ ! -f "$data/minute.mp3" ]; then
  sox -q -n -r 44100 -c 2 -b 16 "$data/minute.wav" synth 60 pinknoise synth 60 sine amod 220 gain -12
  lame --quiet -V 2 "$data/minute.wav" "$data/minute.mp3"
  lame --quiet -b 128 "$data/minute.wav" "$data/minute_cbr128.mp3"
fi
if [ ! -f "$data/ten_mb.mp3" ]; then
  sox -q -n -r 44100 -c 2 -b 16 "$data/long.wav" synth 330 pinknoise gain -12
  lame --quiet -b 256 "$data/long.wav" "$data/ten_mb.mp3"
  rm -f "$data/long.wav"
fi

export WINEPREFIX="$build/wineprefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
# No window manager runs in Xvfb: Wine is not to wait for one when a window goes.
xvfb-run -a -s '-screen 0 1024x768x24' /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# Every program runs in a display: one that ran without (the wineserver lives on between them) left
# the later ones unable to show windows.
xvfb-run -a -s '-screen 0 1024x768x24' /usr/lib/wine/wine64 "$build/x86_64/bench/codec_speed.exe" "Z:$build/x86_64/dist" \
  "Z:$data/minute.mp3" "Z:$data/minute_cbr128.mp3" "Z:$data/minute.wav"
# FLAC, Ogg Vorbis and Opus of the same minute, each through its plug-in beside its bare library.
[ -f "$data/minute.flac" ] || flac -s -5 -o "$data/minute.flac" "$data/minute.wav"
[ -f "$data/minute.ogg" ] || oggenc -Q -q 5 -o "$data/minute.ogg" "$data/minute.wav"
[ -f "$data/minute.opus" ] || opusenc --quiet --bitrate 128 "$data/minute.wav" "$data/minute.opus"
xvfb-run -a -s '-screen 0 1024x768x24' /usr/lib/wine/wine64 "$build/x86_64/bench/xiph_speed.exe" "Z:$build/x86_64/dist" \
  "Z:$data/minute.flac" "Z:$data/minute.ogg" "Z:$data/minute.opus"
# Two skins of three windows (the player, the equaliser docked below it, a panel), built with oxskin.
for skin in A B; do
  dir="$data/skins/$skin"
  mkdir -p "$dir"
  "$build/native-release/tools/oxskin/oxskin" build "$root/bench/skin/bench.txt" "$dir"
  [ $skin = A ] && colours=('#203040' '#4060a0') || colours=('#402020' '#a06040')
  convert -size 400x150 "gradient:${colours[0]}-${colours[1]}" -type TrueColor "BMP3:$dir/main.bmp"
  convert -size 400x120 "gradient:${colours[1]}-${colours[0]}" -type TrueColor "BMP3:$dir/eq.bmp"
  convert -size 300x60 "gradient:${colours[0]}-${colours[1]}" -type TrueColor "BMP3:$dir/panel.bmp"
  for state in "" -m -d; do
    convert -size 24x16 "xc:${colours[1]}" -type TrueColor "BMP3:$dir/button$state.bmp"
  done
done
# The player from outside, through the recording output (paced like a device) in a copy of the
# installation folder.
install="$build/bench-install"
rm -rf "$install" && cp -r "$build/x86_64/dist" "$install"
rm -f "$install/Visual Outputs/"*.dll  # the player's own CPU: a visualisation window's drawing is the plug-in's
cp "$build/x86_64/tests/playback/Recording.dll" "$install/SoundOutputs/"
# The player shows the Default skin throughout: its player window with the equaliser window docked.
key='HKCU\Software\Quillmarsh\Orlavox'
reg_add() { xvfb-run -a -s '-screen 0 1024x768x24' /usr/lib/wine/wine64 reg add "$@" /f >/dev/null 2>&1; }
reg_add "$key" /v SkinChangeOpt /t REG_DWORD /d 1
reg_add "$key\Skin" /v "[SetActive]" /d Default
reg_add "$key\Skin\Skins\Default\OrlavoxMain" /v EVENT-UOxEqualizer /t REG_DWORD /d 1
[ -f "$data/thirty.wav" ] || sox -q -n -r 44100 -c 2 -b 16 "$data/thirty.wav" synth 30 sine 440 gain -12
mkdir -p "$data/rec"
xvfb-run -a -s '-screen 0 1024x768x24' /usr/lib/wine/wine64 "$build/x86_64/bench/player_bench.exe" "Z:${install//\//\\}" \
  "Z:${data//\//\\}\\minute.mp3" "Z:${data//\//\\}\\thirty.wav" "Z:${data//\//\\}\\rec"
xvfb-run -a -s '-screen 0 1024x768x24' /usr/lib/wine/wine64 "$build/x86_64/bench/queue_speed.exe" "Z:$data" "Z:$data/ten_mb.mp3" "Z:$data/minute.wav"
mkdir -p "$data/skin"
xvfb-run -a -s '-screen 0 1024x768x24' /usr/lib/wine/wine64 "$build/x86_64/bench/skin_load.exe" "Z:${data//\//\\}\\skin"
# The shipped skins, then two synthetic ones of three windows each with the same window names.
xvfb-run -a -s '-screen 0 1024x768x24' /usr/lib/wine/wine64 "$build/x86_64/bench/skin_bench.exe" \
  "Z:${build//\//\\}\\x86_64\\dist\\Skins" Default Strip
xvfb-run -a -s '-screen 0 1024x768x24' /usr/lib/wine/wine64 "$build/x86_64/bench/skin_bench.exe" "Z:${data//\//\\}\\skins" A B
xvfb-run -a -s '-screen 0 1024x768x24' /usr/lib/wine/wine64 "$build/x86_64/bench/watch_bench.exe" "Z:$build/x86_64/dist" "Z:$data"
# The collection editor, run from the installation folder it finds its codecs in.
cp "$build/x86_64/bench/librarian_bench.exe" "$install/"
xvfb-run -a -s '-screen 0 1024x768x24' /usr/lib/wine/wine64 "$install/librarian_bench.exe" "Z:${data//\//\\}"
# The playlist window with 100,000 queued tracks, in the copy of the installation folder.
xvfb-run -a -s '-screen 0 1024x768x24' /usr/lib/wine/wine64 "$build/x86_64/bench/queuer_bench.exe" "Z:${install//\//\\}"
