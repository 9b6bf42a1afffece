#!/usr/bin/env bash
# Plays files with the installed player and returns once they have been played:
#   play-files.sh <installation folder> <windows paths>...
# WINEPREFIX and the rest of Wine's environment come from the caller (tools/run.sh).
set -uo pipefail
dist=$1; shift
wine=/usr/lib/wine/wine64
"$wine" "$dist/rill.exe" "$@" &
player=$!
sleep 2
until "$wine" "$dist/oxctl.exe" status 2>/dev/null | grep -q '^state: stopped'; do
  kill -0 "$player" 2>/dev/null || break
  sleep 1
done
"$wine" "$dist/oxctl.exe" close >/dev/null 2>&1
wait "$player"
wineserver -k >/dev/null 2>&1
exit 0
