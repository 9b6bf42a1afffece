#!/usr/bin/env bash
# Plays files with the installed player and returns once they have been played:
#   play-files.sh <installation folder> <windows paths>...
# WINEPREFIX and the rest of Wine's environment come from the caller (tools/run.sh). With
# OX_SCREENSHOT set, a picture of the screen is written there a second into the music.
set -uo pipefail
dist=$1; shift
wine=/usr/lib/wine/wine64
"$wine" "$dist/rill.exe" "$@" &
player=$!
sleep 2
if [ -n "${OX_SCREENSHOT:-}" ]; then
  for _ in $(seq 1 40); do
    "$wine" "$dist/oxctl.exe" status 2>/dev/null | grep -q '^position: [1-9][0-9][0-9][0-9]' && break
    sleep 0.25
  done
  sleep 3  # the windows' first paint (a renderer without a device is done with the music at once)
  import -window root "$OX_SCREENSHOT" && echo "run: a picture of the player: $OX_SCREENSHOT"
fi
until "$wine" "$dist/oxctl.exe" status 2>/dev/null | grep -q '^state: stopped'; do
  kill -0 "$player" 2>/dev/null || break
  sleep 1
done
"$wine" "$dist/oxctl.exe" close >/dev/null 2>&1
wait "$player"
wineserver -k >/dev/null 2>&1
exit 0
