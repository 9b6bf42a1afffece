#!/usr/bin/env bash
# Builds the codec libraries the FLAC, Ogg Vorbis and Opus plug-ins link statically: libogg,
# libvorbis (with vorbisfile), libFLAC, libopus and opusfile, from the distribution's source
# packages, for one Windows flavour with the project's toolchain file.
#   tools/third-party.sh <i686|x86_64> [cache folder]
# The cache folder (default build/third-party) keeps the sources under src/ and each flavour's
# headers and static libraries under <flavour>/include and <flavour>/lib; a flavour already built
# (its stamp matches this script) is left alone, so only the first run pays.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
flavour=${1:?flavour: i686 or x86_64}
cache=${2:-$root/build/third-party}
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)
prefix="$cache/$flavour"
stamp="$prefix/.built"
recipe=$(sha1sum "$0" | cut -c1-40)
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$recipe" ]; then exit 0; fi

# One build at a time per cache: two flavours configured at once share the sources.
exec 9>"$cache/.lock"
flock 9
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$recipe" ]; then exit 0; fi

packages=(libogg libvorbis flac opus opusfile)
src="$cache/src"
fetch_sources() {
  # A private apt configuration holding only a source line for the system's own archive and
  # release, so the system's lists and sources stay as they are.
  local apt="$cache/apt" uri suite
  mkdir -p "$apt/lists/partial" "$apt/archives/partial" "$apt/parts" "$src"
  uri=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | grep -v security | head -1 || true)
  [ -n "$uri" ] || uri=$(awk '$1 == "deb" && $2 !~ /^\[/ && $2 !~ /security/ { print $2; exit }' /etc/apt/sources.list 2>/dev/null || true)
  suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
  [ -n "$uri" ] && [ -n "$suite" ] || { echo "third-party: no Debian archive configured" >&2; exit 1; }
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $suite main" >"$apt/sources.list"
  local opts=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/parts"
              -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache::Archives=$apt/archives"
              -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache=" -o APT::Sandbox::User=root -qq)
  apt-get "${opts[@]}" update
  (cd "$src" && apt-get "${opts[@]}" source --download-only "${packages[@]}")
  for p in "${packages[@]}"; do
    local dsc
    dsc=$(ls "$src/${p}_"*.dsc | head -1)
    # apt checked every file against the signed archive index; no keyring is needed here.
    (cd "$src" && dpkg-source --no-check -x "$dsc" "$p" >/dev/null)
  done
}
[ -d "$src/opusfile" ] || { rm -rf "$src"; fetch_sources; }

toolchain="$root/cmake/toolchain-$flavour.cmake"
work="$cache/work-$flavour"
# A build by another recipe starts afresh; an unfinished one keeps the libraries it finished.
[ -f "$stamp" ] && rm -rf "$work" "$prefix"
mkdir -p "$work" "$prefix/lib"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake_lib() {  # source folder, library it installs, cmake options...
  local name=$1 lib=$2; shift 2
  [ -f "$prefix/lib/$lib" ] && return
  cmake -S "$src/$name" -B "$work/$name" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_POLICY_DEFAULT_CMP0069=NEW "${launcher[@]}" "$@" >"$work/$name.log" 2>&1 ||
    { cat "$work/$name.log"; exit 1; }
  cmake --build "$work/$name" -j "$(nproc)" --target install >>"$work/$name.log" 2>&1 ||
    { tail -50 "$work/$name.log"; exit 1; }
}
echo "third-party: building libogg, libvorbis, libFLAC, libopus and opusfile for $flavour"
cmake_lib libogg libogg.a -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF
# libvorbis with the flags of its own configure script for gcc, as the distribution's build has them.
cmake_lib libvorbis libvorbisfile.a -DOGG_INCLUDE_DIR="$prefix/include" -DOGG_LIBRARY="$prefix/lib/libogg.a" \
  -DCMAKE_C_FLAGS_RELEASE="-O3 -ffast-math -fsigned-char -DNDEBUG"
cmake_lib flac libFLAC.a -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DBUILD_DOCS=OFF \
  -DBUILD_CXXLIBS=OFF -DINSTALL_MANPAGES=OFF -DWITH_OGG=OFF -DWITH_STACK_PROTECTOR=OFF \
  -DWITH_FORTIFY_SOURCE=OFF -DINSTALL_CMAKE_CONFIG_MODULE=OFF -DINSTALL_PKGCONFIG_MODULES=OFF
# The opus release's CMake build lacks a file; its configure script is complete. A defined
# _FORTIFY_SOURCE keeps it from asking for the checked string functions, which need libssp.
if [ ! -f "$prefix/lib/libopus.a" ]; then
  mkdir -p "$work/opus"
  (cd "$work/opus" && CC="${launcher:+ccache }$flavour-w64-mingw32-gcc-posix" CFLAGS="-O2 -D_FORTIFY_SOURCE=0" "$src/opus/configure" \
    --host="$flavour-w64-mingw32" --prefix="$prefix" --disable-shared --enable-static --disable-doc \
    --disable-extra-programs --disable-stack-protector >"$work/opus.log" 2>&1 &&
    make -j "$(nproc)" install >>"$work/opus.log" 2>&1) || { tail -50 "$work/opus.log"; exit 1; }
fi

# opusfile ships no CMake build: its four core files, without the http reader.
cc="$flavour-w64-mingw32-gcc-posix"
mkdir -p "$work/opusfile"
objs=()
for f in opusfile info internal stream; do
  ${launcher:+ccache} "$cc" -O2 -DNDEBUG -DOP_DISABLE_HTTP -DOP_HAVE_LRINTF -I"$src/opusfile/include" \
    -I"$prefix/include" -I"$prefix/include/opus" -c "$src/opusfile/src/$f.c" -o "$work/opusfile/$f.o"
  objs+=("$work/opusfile/$f.o")
done
rm -f "$prefix/lib/libopusfile.a"
"$flavour-w64-mingw32-ar" rcs "$prefix/lib/libopusfile.a" "${objs[@]}"
mkdir -p "$prefix/include/opus"
cp "$src/opusfile/include/opusfile.h" "$prefix/include/opus/"
rm -rf "$work"
echo "$recipe" >"$stamp"
