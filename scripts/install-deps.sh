#!/bin/bash
# Installs what building and testing Dorvint needs on Debian, skipping what is
# already there: the host toolchain and GoogleTest, MinGW-w64 for i686 (and
# x86-64 C for one test library), 32-bit Wine, Xvfb, the Japanese font and
# locale, xdotool for the window tests' modifier keys, the image tools for
# screenshots and unzip to check the release zip.  The CPU emulator for
# machines that run no 32-bit code comes through apt too
# (tests/wine/emulate-i386.sh).
set -eu

packages=(cmake g++ clang clang-tidy cppcheck libclang-rt-14-dev googletest python3 locales unzip
  g++-mingw-w64-i686 gcc-mingw-w64-x86-64-win32
  wine wine32:i386 xvfb x11-utils xdotool imagemagick fonts-ipafont-gothic)

sudo=
[ "$(id -u)" = 0 ] || sudo=sudo

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  updated=
else
  updated=yes
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ -z "$updated" ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  if [ ${#missing[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq \
      "${missing[@]}" >/dev/null
  fi
fi

# Code page 932 under Wine comes from a Japanese locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
    echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
