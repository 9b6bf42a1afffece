#!/usr/bin/env bash
# Packs an installation folder into a setup:
#   make-setup.sh <makensis> <x86-unicode|amd64-unicode> <version> <dist folder> <work folder> <setup.exe> <icon> <strip>
# What it packs is a copy of the folder in <work folder>/stage, the programs and plug-ins without
# their debugging information. The file list is made from that copy, so the setup installs exactly
# what the build put there and its uninstaller removes exactly those files and no others (a skin or
# preset the user added, the user's data files beside the programs, stay).
set -euo pipefail
makensis=$1 target=$2 version=$3 dist=$4 work=$5 out=$6 icon=$7 strip=$8
script_dir=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work" "$(dirname "$out")"
list="$work/Files.nsh"
rm -rf "$work/stage"
cp -a "$dist" "$work/stage"
dist="$work/stage"
# A player run from the build folder leaves its user's files there: they are nobody else's to install.
(cd "$dist" && rm -rf -- *.mcc *.ovc *.oxli *.Previously\ Played *.Enqued *.PriorityEnqued *.AddToEditor AudioCD.m3u Output)
find "$dist" -type f \( -iname '*.exe' -o -iname '*.dll' \) -exec "$strip" --strip-debug {} +

# A name inside an NSIS string: "$" and the double quote are escaped.
nsis() { local s=${1//\$/\$\$}; printf '%s' "${s//\"/\$\\\"}"; }
win() { local s=${1#./}; s=${s//\//\\}; nsis "$s"; }

cd "$dist"
mapfile -t folders < <(find . -mindepth 1 -type d | LC_ALL=C sort)
mapfile -t files < <(find . -type f | LC_ALL=C sort)
{
  echo "; Made by make-setup.sh from $(nsis "$4")"
  echo "!define OX_SIZE_KB $(du -sk . | cut -f1)"
  echo "!macro OxInstallFiles"
  for d in "${folders[@]}"; do echo "  CreateDirectory \"\$INSTDIR\\$(win "$d")\""; done
  last=""
  for f in "${files[@]}"; do
    dir=$(dirname "$f")
    [ "$dir" = "." ] && dir="" || dir="\\$(win "$dir")"
    [ "$dir" = "$last" ] || echo "  SetOutPath \"\$INSTDIR$dir\""
    last=$dir
    # A source path is taken as it is, "$" included.
    echo "  File \"$dist/${f#./}\""
  done
  [ -z "$last" ] || echo "  SetOutPath \"\$INSTDIR\""
  echo "!macroend"
  echo "!macro OxRemoveFiles"
  for f in "${files[@]}"; do echo "  Delete \"\$INSTDIR\\$(win "$f")\""; done
  # Deepest first; a folder that still holds something of the user's stays.
  for ((i = ${#folders[@]} - 1; i >= 0; i--)); do echo "  RMDir \"\$INSTDIR\\$(win "${folders[i]}")\""; done
  echo "!macroend"
  echo "!macro OxForEachProgram _macro"
  for f in "${files[@]}"; do
    case $f in ./*/*) ;; ./*.exe) echo "  !insertmacro \${_macro} \"$(win "$f")\"" ;; esac
  done
  echo "!macroend"
} >"$list"

"$makensis" -V2 -INPUTCHARSET UTF8 "-DTARGET=$target" "-DVERSION=$version" "-DFILES=$list" "-DOUTFILE=$out" \
  "-DDIST=$dist" "-DICON=$icon" \
  "$script_dir/Orlavox.nsi"
