#!/usr/bin/env bash
# Runs the x86_64 tests of a build folder under wine64 inside Xvfb, in the Wine prefix beside it
# (<build>/../wineprefix), and stops only that prefix's wineserver afterwards:
#   tools/wine-ctest.sh build/x86_64 [ctest arguments, e.g. -R ui_tests]
set -uo pipefail
dir=$(cd "$1" && pwd); shift
export WINEPREFIX="$(dirname "$dir")/wineprefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
stop_wine() { wineserver -k >/dev/null 2>&1 || true; }
trap stop_wine EXIT
rm -f "$dir"/test-results/*.xml "$dir/Testing/Temporary/LastTestsFailed.log"
# A true-colour screen, so pixels read back are the colours drawn.
xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
  # No window manager runs in Xvfb: Wine is not to wait for one when a window goes.
  /usr/lib/wine/wine64 reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
  dir=$1; shift
  cd "$dir" && ctest --output-on-failure --timeout 600 "$@"; rc=$?
  wineserver -k >/dev/null 2>&1; exit $rc' bash "$dir" "$@"
