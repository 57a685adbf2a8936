#!/bin/bash
# Builds Dorvint and opens its window under Wine, with demo stand-in archiver
# libraries beside the executable in C:\Program Files\Dorvint of the Wine
# prefix.  With no display it runs under Xvfb, saves a screenshot to
# docs/screenshot.png, prints the table and saves the window with the tooltip
# of a version cell to docs/tooltip.png.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
# Wine's 32-bit programs need a machine that runs 32-bit code, or else a CPU
# emulator: once what it needs is installed, the rest runs through the script
# that decides.
if [ "${1:-}" != --wine-checked ]; then
  scripts/install-deps.sh
  exec tests/wine/emulate-i386.sh build/i386-emulation "$0" --wine-checked
fi
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target dorvint standins peek_table

# The demo is installed where a Windows user would install the program, into
# the Wine prefix's own C: drive, so that what it shows (the tooltip's path)
# is the same from any checkout.
state=$root/build/demo-wine
watched=${DISPLAY:+yes}  # the Wine session below brings a display of its own
if [ -n "$watched" ]; then
  export WINEPREFIX=${WINEPREFIX:-$HOME/.wine}
  [ -d "$WINEPREFIX/drive_c" ] || wineboot -i >/dev/null 2>&1
else
  tests/wine/wine-session.sh start "$state" >/dev/null
  trap 'tests/wine/wine-session.sh stop "$state"' EXIT
  . "$state/env"
fi
demo="$WINEPREFIX/drive_c/Program Files/Dorvint"
rm -rf "$demo"
mkdir -p "$demo"
cp dist/dorvint.exe "$demo/"
grep -v '^#' demo/demo-values.txt | while read -r file values; do
  cp "build/windows/standins/full/$file.dll" "$demo/"
  tr ' ' '\n' <<<"$values" >"$demo/$file.dll.txt"
done

if [ -n "$watched" ]; then
  cd "$demo"
  exec wine dorvint.exe
fi

codepage=${DORVINT_CODEPAGE:-932}
(cd "$demo" && "$root/tests/wine/wine-run.sh" "$state" "$codepage" dorvint.exe) &
program=$!
peek() { "$root/tests/wine/wine-run.sh" "$state" "$codepage" build/windows/demo/peek_table.exe "$@"; }
# capture FILE PLACE: saves the place on the screen that peek_table printed
# ("what LEFT TOP WIDTH HEIGHT") to FILE, without time stamps.  The display
# may show what Wine has drawn a moment later, so the picture is taken once
# two captures in a row agree.
capture() {
  read -r _ left top width height <<<"$2"
  shot() {
    import -display "$DISPLAY" -window root -crop "${width}x${height}+${left}+${top}" +repage \
      -define png:exclude-chunks=date,time "png:$1"
  }
  shot "$1.previous"
  for _ in $(seq 1 50); do
    shot "$1"
    cmp -s "$1" "$1.previous" && break
    mv "$1" "$1.previous"
  done
  rm -f "$1.previous"
  echo "Screenshot: $1"
}
mkdir -p docs
table=$(peek)
capture docs/screenshot.png "$(head -1 <<<"$table")"
tail -n +2 <<<"$table"
# The window with the tooltip of a version cell, taken before the tooltip
# hides again a few seconds later.
area=$(peek tooltip)
capture docs/tooltip.png "$area"
WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null || true
wait "$program" 2>/dev/null || true
