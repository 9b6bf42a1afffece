#!/usr/bin/env bash
# Fails when a program or DLL the build ships imports anything but the system's own DLLs: the
# runtime is linked in, so the files run on a bare Windows. Reads the installation folders of both
# flavours and the setups. Usage: check-imports.sh [build folder]
set -uo pipefail
build=${1:-$(cd "$(dirname "$0")/.." && pwd)/build}

system='kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|ole32|oleaut32|shlwapi|winmm|msacm32|msvcrt|version'

checked=0 bad=0
while IFS= read -r -d '' file; do
  names=$(x86_64-w64-mingw32-objdump -p "$file" 2>/dev/null | awk '/DLL Name:/ {print $3}')
  if [ -z "$names" ]; then
    echo "imports: cannot read ${file#"$build"/}"; bad=1; continue
  fi
  while IFS= read -r dll; do
    if ! grep -qiE "^($system)\.dll$" <<<"$dll"; then
      echo "imports: ${file#"$build"/} imports $dll"; bad=1
    fi
  done <<<"$names"
  checked=$((checked + 1))
done < <(find "$build/i686/dist" "$build/x86_64/dist" "$build/setup" \( -iname '*.exe' -o -iname '*.dll' \) -print0 2>/dev/null)

if [ "$checked" -eq 0 ]; then echo "imports: no shipped program found under $build"; exit 1; fi
[ "$bad" -eq 0 ] && echo "imports: $checked files import system DLLs only"
exit "$bad"
