#!/usr/bin/env bash
# Sets up the machine, builds Orlavox and starts the player under Wine with the files given.
# The player itself (rill.exe) is not built yet: until it is, this builds everything and prints
# the command it would run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

bash "$root/tools/setup.sh"
for arch in i686 x86_64; do
  cmake -S "$root" -B "$build/$arch" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOX_TESTS=OFF >/dev/null
  cmake --build "$build/$arch" -j "$(nproc)"
done

dist="$build/x86_64/dist"
echo "Installation folders: $build/i686/dist (shipping, 32-bit) and $dist (runs under wine64)"
if [ -x "$dist/rill.exe" ]; then
  export WINEPREFIX="$build/wineprefix-run" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  exec xvfb-run -a /usr/lib/wine/wine64 "$dist/rill.exe" "$@"
fi
echo "The player is not built yet. It would run:"
echo "  WINEPREFIX=$build/wineprefix-run xvfb-run -a wine64 \"$dist/rill.exe\" $*"
