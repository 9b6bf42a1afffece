# Sourced by the run and benchmark scripts: sets root and build, sets up the machine, and builds
# the given targets of the x86_64 flavour (the one that runs under Wine).
#   . tools/build-x86_64.sh target...
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
bash "$root/tools/setup.sh"
cmake -S "$root" -B "$build/x86_64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOX_TESTS=ON >/dev/null
cmake --build "$build/x86_64" -j "$(nproc)" --target "$@" >/dev/null
