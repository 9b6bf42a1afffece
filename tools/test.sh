#!/usr/bin/env bash
# Sets up the machine, builds every flavour and runs every test:
#   layers  every include under src/ and plugins/ points down (tools/check-layers.sh)
#   imports the shipped programs and DLLs import system DLLs only (tools/check-imports.sh)
#   native  g++ with AddressSanitizer and UBSan: the pure code (formats, text, signal processing)
#   native32  the same, built with -m32: 32-bit arithmetic as the shipping build has it
#   fuzz    clang's libFuzzer targets of the parsers: each corpus replayed, then fuzzed briefly
#   i686    the shipping 32-bit build, warnings as errors (built, not run: there is no 32-bit Wine),
#           and the setup, build/setup/Orlavox-<version>-setup.exe
#   x86_64  warnings as errors, and the amd64 build of the setup; its tests run under wine64 inside
#           Xvfb, in a Wine prefix of their own (the setup's in one more of its own, beside them)
# Ends with one line "N passed, M failed" and a non-zero exit when anything failed to build or pass.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
jobs=$(nproc)

bash "$root/tools/setup.sh" || exit 1

broken=()
echo "== layers"
bash "$root/tools/check-layers.sh" "$root" || broken+=("layers")
bash "$root/tools/check-wide.sh" "$root" || broken+=("wide")

configure_and_build() {  # name, extra cmake arguments...
  local name=$1; shift
  echo "== build $name"
  if ! cmake -S "$root" -B "$build/$name" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOX_TESTS=ON "$@" >"$build/$name.configure.log" 2>&1; then
    cat "$build/$name.configure.log"; broken+=("$name"); return
  fi
  cmake --build "$build/$name" -j "$jobs" 2>&1 | grep -vE '^\[ *[0-9]+%\]|^-- ' || true
  [ "${PIPESTATUS[0]}" -eq 0 ] || broken+=("$name")
}

mkdir -p "$build"
configure_and_build native -DOX_SANITIZE=ON
# A kernel without 32-bit support runs the 32-bit tests in qemu's user-mode emulator, with the
# 3 GiB address space of a 32-bit process (the sanitizer's shadow memory needs its layout).
runner32=""
printf 'int main(void) { return 0; }\n' >"$build/probe32.c"
if gcc -m32 "$build/probe32.c" -o "$build/probe32" 2>/dev/null && ! "$build/probe32" 2>/dev/null; then
  runner32="qemu-i386;-R;0xc0000000"
fi
configure_and_build native32 -DOX_SANITIZE=ON -DCMAKE_C_FLAGS=-m32 -DCMAKE_CXX_FLAGS=-m32 \
  -DCMAKE_EXE_LINKER_FLAGS=-m32 -DCMAKE_SHARED_LINKER_FLAGS=-m32 "-DCMAKE_CROSSCOMPILING_EMULATOR=$runner32"
configure_and_build fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DOX_FUZZ=ON
# Before x86_64: its setup tests compare the x86 setup's payload with the amd64 one.
configure_and_build i686 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686.cmake" -DOX_WERROR=ON
configure_and_build x86_64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64.cmake" -DOX_WERROR=ON
echo "== imports"
bash "$root/tools/check-imports.sh" "$build" || broken+=("imports")

run_ctest() {  # build folder, ctest arguments...
  local dir=$1; shift
  rm -f "$dir"/test-results/*.xml "$dir/Testing/Temporary/LastTestsFailed.log"
  (cd "$dir" && ctest --output-on-failure --timeout 600 "$@")
}

if [[ ! " ${broken[*]} " =~ " native " ]]; then
  echo "== native tests (sanitizers)"
  # The export check reads the DLLs of both Windows flavours.
  OX_DIST_DIRS="$build/i686/dist:$build/x86_64/dist" ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1 run_ctest "$build/native" -j "$jobs"
fi
if [[ ! " ${broken[*]} " =~ " native32 " ]]; then
  echo "== native 32-bit tests (sanitizers)"
  # Leaks are looked for in the 64-bit run: the leak checker's thread stopping hangs under qemu.
  # The export check (a folder walk, which 32-bit directory reads may refuse) runs in 64 bits only.
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1 run_ctest "$build/native32" -j "$jobs"
fi

if [[ ! " ${broken[*]} " =~ " fuzz " ]]; then
  echo "== fuzz targets: every corpus replayed, then a few seconds of fuzzing each"
  run_ctest "$build/fuzz" -j "$jobs"
fi

if [[ ! " ${broken[*]} " =~ " x86_64 " ]]; then
  echo "== x86_64 tests under Wine"
  bash "$root/tools/wine-ctest.sh" "$build/x86_64" -j 2
fi

# Add up the gtest reports. A test without a report counts once: a failure when ctest saw it fail
# (a test program that crashed leaves no report), else a pass (the fixture steps).
passed=0 failed=0
for dir in "$build/native" "$build/native32" "$build/fuzz" "$build/x86_64"; do
  [ -d "$dir" ] || continue
  failed_list="$dir/Testing/Temporary/LastTestsFailed.log"
  for test in $(cd "$dir" && ctest -N 2>/dev/null | sed -n 's/^ *Test *#[0-9]*: //p'); do
    report="$dir/test-results/$test.xml"
    if [ -f "$report" ]; then
      head=$(grep -m1 '<testsuites' "$report")
      t=$(sed -n 's/.* tests="\([0-9]*\)".*/\1/p' <<<"$head")
      f=$(sed -n 's/.* failures="\([0-9]*\)".*/\1/p' <<<"$head")
      e=$(sed -n 's/.* errors="\([0-9]*\)".*/\1/p' <<<"$head")
      d=$(sed -n 's/.* disabled="\([0-9]*\)".*/\1/p' <<<"$head")
      s=$(grep -o 'skipped="[0-9]*"' "$report" | head -1 | tr -dc 0-9)
      passed=$((passed + t - f - e - d - ${s:-0})); failed=$((failed + f + e))
    elif [ -f "$failed_list" ] && grep -q ":$test\$" "$failed_list"; then
      echo "failed without a report: $(basename "$dir")/$test"
      failed=$((failed + 1))
    else
      passed=$((passed + 1))
    fi
  done
done

if [ ${#broken[@]} -gt 0 ]; then echo "failed to build: ${broken[*]}"; failed=$((failed + 1)); fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
