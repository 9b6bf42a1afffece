#!/usr/bin/env bash
# Pictures of the playlist window and the previously-played window under Xvfb, each over a queue
# or history of made-up tracks in a copy of the installation folder:
#   tools/screenshot-lists.sh [output-folder]   (default docs/: screenshot-queuer.png, screenshot-history.png)
set -euo pipefail
. "$(dirname "$0")/build-x86_64.sh" Queuer History
out=$(mkdir -p "${1:-$root/docs}" && cd "${1:-$root/docs}" && pwd)
shot="$build/shot-lists"
rm -rf "$shot" && mkdir -p "$shot" && cp -r "$build/x86_64/dist" "$shot/install"
# The per-user files are named after the Windows user, which Wine takes from the Unix one.
user=$(id -un)
python3 "$root/tools/make-track-records.py" queue "$shot/install/$user.PriorityEnqued" 2 'D:\Requests'
python3 "$root/tools/make-track-records.py" queue "$shot/install/$user.Enqued" 60 'D:\Music'
python3 "$root/tools/make-track-records.py" history "$shot/install/$user.Previously Played" 24 'D:\Music'

export WINEPREFIX="$build/wineprefix-shot" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export OX_INSTALL="$shot/install" OX_SHOT="$shot" OX_OUT="$out"
xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  set -euo pipefail
  wine=/usr/lib/wine/wine64
  reg() { "$wine" reg add "$@" /f >/dev/null 2>&1; }
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
  reg "HKCU\Software\Wine\X11 Driver" /v Managed /d N
  # A quiet backdrop, and each window at 24,24 at a size that shows its columns whole.
  xsetroot -solid "#C9D1DB" 2>/dev/null || true
  for name in Queuer History; do
    key="HKCU\Software\Quillmarsh\Orlavox\\$name"
    reg "$key" /v X /t REG_DWORD /d 24
    reg "$key" /v Y /t REG_DWORD /d 24
    reg "$key" /v Width /t REG_DWORD /d 680
    reg "$key" /v Height /t REG_DWORD /d 430
    reg "$key" /v Maximized /t REG_DWORD /d 0
    "$wine" "$OX_INSTALL/$name.exe" &
    program=$!
    sleep 6
    import -window root "$OX_SHOT/screen-$name.png"
    lower=$(echo "$name" | tr A-Z a-z)
    convert "$OX_SHOT/screen-$name.png" -crop 728x478+0+0 +repage "$OX_OUT/screenshot-$lower.png"
    echo "screenshot: $OX_OUT/screenshot-$lower.png"
    "$wine" taskkill /im "$name.exe" >/dev/null 2>&1 || kill $program 2>/dev/null || true
    wait $program 2>/dev/null || true
  done
  wineserver -k >/dev/null 2>&1 || true'
