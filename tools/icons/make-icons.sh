#!/usr/bin/env bash
# Draws the player's icons with ImageMagick: each is drawn once at 64x64 from the primitives below
# and reduced to 48, 32 and 16 pixels in one .ico.   make-icons.sh output-folder
#   player.ico     the program (resource 101): a play sign in a ring on a dark rounded square
#   tray-idle.ico  the tray icon at rest (102, 106): the ring and sign, quiet
#   tray-lit.ico   the tray icon while the tray control is up (103, 105): the same, lit
set -euo pipefail
out=${1:?usage: make-icons.sh output-folder}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

draw() {  # name background ring sign
  local name=$1 background=$2 ring=$3 sign=$4
  local args=(-size 64x64 xc:none)
  case "$background" in
    square:*) args+=(-fill "${background#square:}" -draw 'roundrectangle 1,1 62,62 14,14') ;;
    disc:*) args+=(-fill "${background#disc:}" -draw 'circle 32,32 32,4') ;;  # readable on any taskbar
  esac
  args+=(-fill none -stroke "$ring" -strokewidth 6 -draw 'circle 32,32 32,9')
  args+=(-stroke none -fill "$sign" -draw 'polygon 25,19 25,45 47,32')
  convert "${args[@]}" "$work/$name.png"
  convert "$work/$name.png" -define icon:auto-resize=48,32,16 "$out/$name.ico"
}

draw player 'square:#1E2733' '#4FC3F7' '#FFFFFF'
draw tray-idle 'disc:#263238' '#78909C' '#CFD8DC'
draw tray-lit 'disc:#263238' '#FFB300' '#FFFFFF'
