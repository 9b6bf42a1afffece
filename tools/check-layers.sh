#!/usr/bin/env bash
# Fails when a file includes from a layer above its own. The layers, lowest first:
#   base   platform wrappers and pure helpers
#   core   the suite's vocabulary: named objects, settings, locations, shared records
#   engine codec and sound output hosts, the playback thread, signal processing
#   queue  queue files, playlists, collection, track information
#   ui     skins, windows, controls, tray, the list windows of the sibling programs
# and on top one folder per program: app (the player), queuer, history, librarian, launcher.
# A file under src/<layer>/ includes only from its own layer or one below it; a program's file
# includes from every layer and its own folder, never from another program's: what two programs
# share moves down. A plug-in includes the SDK headers, its own folder, and base/ and core/.
# Usage: check-layers.sh [root]
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
layers=(base core engine queue ui)
programs=(app queuer history librarian launcher)

rank() {  # layer name -> index, or -1
  local i
  for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }; done
  echo -1
}

is_program() { local p; for p in "${programs[@]}"; do [ "$p" = "$1" ] && return 0; done; return 1; }

bad=0
report() { echo "layering: $1"; bad=$((bad + 1)); }

check_file() {  # file, highest layer it may use, the program folder it may use (or "")
  local file=$1 limit=$2 own=${3:-} line target folder r
  while IFS= read -r line; do
    target=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' <<<"$line")
    [ -n "$target" ] || continue
    case "$target" in
      */*) folder=${target%%/*} ;;
      *) continue ;;  # beside the file itself, or an SDK header
    esac
    if is_program "$folder"; then
      [ "$folder" = "$own" ] || report "${file#"$root"/} includes \"$target\" from another program"
      continue
    fi
    r=$(rank "$folder")
    if [ "$r" -lt 0 ]; then
      report "${file#"$root"/} includes \"$target\", which is in no layer"
    elif [ "$r" -gt "$limit" ]; then
      report "${file#"$root"/} includes \"$target\" from a layer above it"
    fi
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file")
}

while IFS= read -r file; do
  rel=${file#"$root"/src/}
  layer=${rel%%/*}
  if is_program "$layer"; then check_file "$file" "${#layers[@]}" "$layer"; continue; fi
  r=$(rank "$layer")
  if [ "$r" -lt 0 ]; then report "src/$rel is in no layer"; continue; fi
  check_file "$file" "$r"
done < <(find "$root/src" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.c' -o -name '*.inc' \) | sort)

core=$(rank core)
while IFS= read -r file; do
  check_file "$file" "$core"
done < <(find "$root/plugins" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.c' \) | sort)

if [ "$bad" -gt 0 ]; then
  echo "layering: $bad include(s) break the layering"
  exit 1
fi
echo "layering: every include points down (${layers[*]}; programs ${programs[*]})"
