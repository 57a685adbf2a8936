#!/bin/bash
# Builds Dorvint and opens its window under Wine, with demo stand-in archiver
# libraries beside the executable (in build/demo).  With no display it runs
# under Xvfb, saves a screenshot to docs/screenshot.png, prints the table and
# saves the window with the tooltip of a version cell to docs/tooltip.png.
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

demo=$root/build/demo
rm -rf "$demo"
mkdir -p "$demo"
cp dist/dorvint.exe "$demo/"
grep -v '^#' demo/demo-values.txt | while read -r file values; do
  cp "build/windows/standins/full/$file.dll" "$demo/"
  tr ' ' '\n' <<<"$values" >"$demo/$file.dll.txt"
done

if [ -n "${DISPLAY:-}" ]; then
  cd "$demo"
  exec wine dorvint.exe
fi

state=$root/build/demo-wine
tests/wine/wine-session.sh start "$state" >/dev/null
trap 'tests/wine/wine-session.sh stop "$state"' EXIT
. "$state/env"
codepage=${DORVINT_CODEPAGE:-932}
(cd "$demo" && "$root/tests/wine/wine-run.sh" "$state" "$codepage" dorvint.exe) &
program=$!
peek() { "$root/tests/wine/wine-run.sh" "$state" "$codepage" build/windows/demo/peek_table.exe "$@"; }
# capture FILE PLACE: saves the place on the screen that peek_table printed
# ("what LEFT TOP WIDTH HEIGHT") to FILE.
capture() {
  read -r _ left top width height <<<"$2"
  import -display "$DISPLAY" -window root -crop "${width}x${height}+${left}+${top}" +repage "$1"
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
