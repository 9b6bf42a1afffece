#!/usr/bin/env bash
# Installs everything a fresh Debian 12 machine needs to build, run and test Orlavox.
# Idempotent: packages already present are skipped, and apt is asked only when something is missing.
set -euo pipefail

packages=(
  cmake make g++ git
  g++-multilib lib32asan8 lib32ubsan1 qemu-user
  clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64
  xvfb xauth
  googletest
  sox lame alsa-utils libasound2-plugins
  flac vorbis-tools opus-tools dpkg-dev
  imagemagick librsvg2-bin fonts-dejavu-core fonts-wqy-microhei
  nsis nsis-common 7zip
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

echo "setup: ready"
