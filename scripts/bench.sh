#!/bin/bash
# Benchmarks dist/dorvint.exe against the platform's floor under Wine and
# prints the table, also written to build/bench/results.md:
#
#   scripts/bench.sh
#
# Builds the Windows preset's program, stand-in libraries and benchmark, then
# measures in a Wine session of its own (state in build/bench-wine), code page
# 932.  Each figure is the median, over alternating rounds (program, floor,
# program, floor, ...), of the ratio of the program's time to its floor's
# time measured in the same round; under Wine only such side-by-side ratios
# are stable, absolute times drift by 2x and more.  The quartiles of the
# per-round ratios show how much a figure varies.  The size figure comes from
# the build itself, with the largest contributors from a relink of the same
# objects with a map file (build/bench/size).
#
# Wine's 32-bit programs need a machine that runs 32-bit code; where it runs
# none, they run with a CPU emulator (tests/wine/emulate-i386.sh) and the
# table says so.  The program and its floors then both run emulated, side by
# side, so the ratios still compare like with like, though user-mode work
# weighs more against the system calls than on a machine that runs it itself.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
if [ "${1:-}" != --wine-checked ]; then
  exec tests/wine/emulate-i386.sh build/i386-emulation "$0" --wine-checked
fi

measured_with="Measured with Wine's 32-bit programs run natively."
if [ "${DORVINT_CPU_EMULATOR:-}" = qemu-i386 ]; then
  measured_with="Measured with Wine's 32-bit programs under a CPU emulator (qemu-i386): this machine runs no 32-bit code."
fi

out=build/bench
run=$out/run
state=build/bench-wine
standins=build/windows/standins/full

echo "== build"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target dorvint dorvint_bench dorvint_minimal standins

# The folders the figures run in:
#   present/  the benchmark, the program and the minimal program beside the 25 stand-ins;
#   absent/   the benchmark alone: no library is found;
#   strip/    the program and the stand-ins with a settings file that turns the picture on.
rm -rf "$run"
mkdir -p "$run/present" "$run/absent" "$run/strip"
cp "$standins"/*.dll "$run/present/"
cp "$standins"/*.dll "$run/strip/"
cp build/windows/bench/dorvint_bench.exe build/windows/bench/dorvint_minimal.exe dist/dorvint.exe \
  "$run/present/"
cp build/windows/bench/dorvint_bench.exe "$run/absent/"
cp dist/dorvint.exe "$run/strip/"
printf '[Picture]\r\nH=True\r\n' >"$run/strip/dorvint.ini"

windows_path() { printf 'Z:%s' "$root/$1" | tr / '\\'; }

echo "== measure (Wine)"
echo "$measured_with"
tests/wine/wine-session.sh start "$state"
trap 'tests/wine/wine-session.sh stop "$state"' EXIT
bench() { tests/wine/wine-run.sh "$state" 932 "$@" | tr -d '\r'; }
rows=$(
  bench "$run/present/dorvint_bench.exe" refresh present
  bench "$run/absent/dorvint_bench.exe" refresh absent
  bench "$run/present/dorvint_bench.exe" startup "$(windows_path "$run/present/dorvint.exe")" \
    "$(windows_path "$run/present/dorvint_minimal.exe")"
  bench "$run/present/dorvint_bench.exe" paint "$(windows_path "$run/strip/dorvint.exe")" \
    "$(windows_path "$run/present/dorvint.exe")" "$(windows_path "$run/present/dorvint_minimal.exe")"
)
tests/wine/wine-session.sh stop "$state"
trap - EXIT

echo "== size"
size_dir=$out/size
rm -rf "$size_dir"
mkdir -p "$size_dir"
i686-w64-mingw32-strip -o "$size_dir/dorvint.stripped.exe" dist/dorvint.exe
bytes=$(stat -c %s "$size_dir/dorvint.stripped.exe")
budget=$((256 * 1024))
imports=$(i686-w64-mingw32-objdump -p dist/dorvint.exe | sed -n 's/^\s*DLL Name: //p' | tr -d '\r')
# Windows' own libraries; anything else would have to be shipped beside the program.
foreign=$(grep -viE '^(kernel32|user32|gdi32|comctl32|advapi32|shell32|ole32|oleaut32|comdlg32|msvcrt|ntdll|version|uxtheme|winspool\.drv|shlwapi)(\.dll)?$' \
  <<<"$imports" || true)
size_met=$([ "$bytes" -le "$budget" ] && [ -z "$foreign" ] && echo yes || echo no)
size_note="imports $(paste -sd ' ' <<<"$imports")"
[ -z "$foreign" ] && size_note+=" (all Windows' own)" || size_note+=" (NOT Windows' own: $(paste -sd ' ' <<<"$foreign"))"
size_row=$(printf 'Size of dist/dorvint.exe, stripped\tbudget of 256 KB\t%s bytes\t%s bytes\t%s\t-\t-\t<= 1.00\t%s\t%s' \
  "$bytes" "$budget" "$(awk -v b="$bytes" -v g="$budget" 'BEGIN { printf "%.3f", b / g }')" \
  "$size_met" "$size_note")

# The same objects linked again, unstripped and with a map, to see what takes the room.
link=$(grep -- '-o .*dist/dorvint.exe' build/windows/app/CMakeFiles/dorvint.dir/link.txt)
relink=$(sed -e 's# -s # #' \
  -e 's#-Wl,--whole-archive CMakeFiles/dorvint.dir/objects.a -Wl,--no-whole-archive#@CMakeFiles/dorvint.dir/objects1#' \
  -e "s#-o [^ ]*dorvint.exe#-o $root/$size_dir/dorvint.exe -Wl,-Map=$root/$size_dir/dorvint.map#" \
  -e 's#-Wl,--out-implib,[^ ]*##' <<<"$link")
(cd build/windows/app && eval "$relink")
contributors=$(python3 bench/SizeReport.py "$size_dir/dorvint.map" "$size_dir/dorvint.exe" \
  i686-w64-mingw32-nm)

{
  echo "# Benchmark"
  echo
  echo "Made by \`scripts/bench.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'), $(wine --version), code page 932."
  echo "$measured_with"
  echo "Ratio: median over the rounds of program / floor, each round measuring both side by side;"
  echo "the spread is the first to third quartile of those per-round ratios.  Rows starting"
  echo "with \"of which\" or without goal break a figure down."
  echo
  echo "| Figure | Floor | Program | Floor | Ratio | Spread | Rounds | Goal | Met | Checks |"
  echo "|---|---|---:|---:|---:|---:|---:|---:|---|---|"
  printf '%s\n%s\n' "$rows" "$size_row" | awk -F'\t' 'NF >= 10 {
    line = "|"
    for (i = 1; i <= 10; i++) line = line " " $i " |"
    print line
  }'
  echo
  echo "## What dist/dorvint.exe is made of"
  echo
  echo "$contributors"
} >"$out/results.md"

echo
cat "$out/results.md"
