#!/bin/bash
# Runs a command that runs Wine:
#   emulate-i386.sh DIR COMMAND [ARGS...]
# Wine runs 32-bit programs with a 32-bit loader.  Where the machine runs no
# 32-bit code (a kernel with its IA-32 emulation off, or a virtual CPU without
# a 32-bit user mode), the command runs with 32-bit programs run by a CPU
# emulator; elsewhere it simply runs.  If the emulator cannot be set up, the
# command runs as it is and the Windows tests skip (wine-session.sh).
# DIR keeps what the emulation fetches and builds:
# - qemu-user's i386 emulator, from Debian's backports through apt: the
#   release's own 7.2 cannot run Wine;
# - the 64-bit wineserver of the installed Wine version, run natively: Wine's
#   server reads other processes' memory with ptrace, which the emulator
#   cannot give an emulated server;
# - trap-info.so (from trap-info.c), which the emulated programs preload so
#   that Wine sees their faults as the kernel reports them.
# The emulator is registered as the interpreter of 32-bit programs inside a
# private user and mount namespace only; the rest of the machine is untouched.
set -eu
dir=$(mkdir -p "$1" && cd "$1" && pwd)
shift
here=$(cd "$(dirname "$0")" && pwd)
qemu=$dir/qemu-i386 server=$dir/wineserver64 preload=$dir/trap-info.so

# apt-get with a private configuration of its own under DIR, whose sources are
# the backports suite of this release at the address apt already uses for the
# release itself.  apt checks the suite's signature and each package's hash as
# for any other install; the machine's own configuration stays as it is.
private_apt() {
  local apt=$dir/apt codename uri keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  if [ ! -f "$apt/sources.list" ]; then
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    uri=$(apt-get indextargets --format '$(REPO_URI)' "Codename: $codename" 'Identifier: Packages' |
      head -1)
    [ -n "$uri" ] || { echo "apt knows no source for $codename" >&2; return 1; }
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial"
    local signed=
    [ -f "$keyring" ] && signed="[signed-by=$keyring] "
    echo "deb $signed$uri $codename-backports main" >"$apt/sources.list.new"
    mv "$apt/sources.list.new" "$apt/sources.list"
  fi
  apt-get -o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts="$apt/none" \
    -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" -o APT::Sandbox::User=root "$@"
}

fetch() {
  local work=$dir/fetch
  rm -rf "$work" && mkdir -p "$work"
  if [ ! -x "$qemu" ]; then
    # qemu-user 10: the release's own 7.2 cannot run Wine.
    private_apt update -qq
    (cd "$work" && private_apt download -qq qemu-user)
    dpkg-deb -x "$work"/qemu-user_*.deb "$work/qemu"
    cp "$work/qemu/usr/bin/qemu-i386" "$qemu"
  fi
  if [ ! -x "$server" ]; then
    (cd "$work" && apt-get download -qq -o APT::Sandbox::User=root \
      "wine64=$(dpkg-query -W -f='${Version}' wine32:i386)")
    dpkg-deb -x "$work"/wine64_*.deb "$work/wine64"
    cp "$work/wine64/usr/lib/wine/wineserver64" "$server"
  fi
  if [ ! -f "$preload" ] || [ "$here/trap-info.c" -nt "$preload" ]; then
    clang --target=i686-linux-gnu -O2 -fPIC -ffreestanding -fno-stack-protector \
      -c "$here/trap-info.c" -o "$work/trap-info.o"
    ld -m elf_i386 -shared "$work/trap-info.o" /lib/i386-linux-gnu/libc.so.6 -o "$preload"
  fi
  rm -rf "$work"
}

if [ "${1:-}" != --inside ]; then
  /usr/lib/wine/wine --version >/dev/null 2>&1 && exec "$@"
  inside=(unshare --user --map-root-user --mount --fork "$0" "$dir" --inside)
  set +e
  (set -e && fetch)
  fetched=$?
  set -e
  if [ "$fetched" = 0 ] && "${inside[@]}" /usr/lib/wine/wine --version >/dev/null; then
    echo "This machine runs no 32-bit code: Wine's 32-bit programs run with a CPU emulator." >&2
    exec "${inside[@]}" "$@"
  fi
  echo "This machine runs no 32-bit code, and the CPU emulator could not be set up." >&2
  exec "$@"
fi
shift

mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
printf ':i386:M::%s:%s:%s:F' \
  '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00' \
  '\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff' \
  "$qemu" >/proc/sys/fs/binfmt_misc/register
printf '#!/bin/sh\nexec %s -p0 "$@"\n' "$server" >"$dir/wineserver"
chmod +x "$dir/wineserver"
mount --bind "$dir/wineserver" /usr/lib/wine/wineserver
# The server is 64-bit: without WINEARCH it would make a 64-bit prefix.  The
# emulated programs get the 3 GB address space of a 32-bit Linux process, at
# guest base 0 so that their addresses are where the server reads them.
export WINEARCH=win32 QEMU_RESERVED_VA=0xbf000000 QEMU_GUEST_BASE=0
export QEMU_SET_ENV=LD_PRELOAD=$preload
# Tells the tests that the emulator's own memory is in the program's figures.
export DORVINT_CPU_EMULATOR=qemu-i386
exec "$@"
