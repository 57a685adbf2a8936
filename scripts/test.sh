#!/bin/bash
# Builds everything and runs every test through CTest: the portable core's
# unit tests natively with AddressSanitizer and UndefinedBehaviorSanitizer and
# the static analysers (host), its fuzzers for a bounded time (fuzz), then the
# Windows build's tests under Wine (windows); last, that the release builds
# to the same bytes from two clean clones (scripts/reproducible.sh).
set -u
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1

jobs=$(nproc)
summary=()
failed=0
skipped=0
for preset in host fuzz windows; do
  echo "== $preset: build"
  if ! { cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j "$jobs"; }; then
    echo "== $preset: build failed"
    failed=1
    continue
  fi
  echo "== $preset: test"
  log=build/$preset-ctest.log
  runner=()
  # Where the machine runs no 32-bit code, Wine's programs run with a CPU
  # emulator (see the script and the README).
  [ "$preset" = windows ] && runner=(tests/wine/emulate-i386.sh build/i386-emulation)
  "${runner[@]}" ctest --preset "$preset" 2>&1 | tee "$log"
  status=${PIPESTATUS[0]}
  [ "$status" = 0 ] || failed=1
  summary+=("$(grep -E 'tests passed, [0-9]+ tests failed out of' "$log" | tail -1)")
  skipped=$((skipped + $(grep -c '(Skipped)$' "$log")))
done

echo "== reproducible release"
if scripts/reproducible.sh; then
  summary+=("100% tests passed, 0 tests failed out of 1")
else
  summary+=("0% tests passed, 1 tests failed out of 1")
  failed=1
fi

passed=0 failures=0
for line in "${summary[@]}"; do
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failures=$((failures + bad))
done
passed=$((passed - skipped))
[ "$failed" = 0 ] || [ "$failures" -gt 0 ] || failures=1
if [ -f build/windows/wine/unavailable ]; then
  echo "== Windows tests skipped: $(cat build/windows/wine/unavailable)"
  # A green CI run means the program itself was exercised.
  if [ "${CI:-}" = true ]; then
    echo "== CI needs the Windows tests: counted as a failure"
    failed=1
    failures=$((failures + skipped))
    skipped=0
  fi
elif grep -q "run with a CPU emulator" build/windows-ctest.log 2>/dev/null; then
  echo "== Windows tests ran with a CPU emulator: this machine runs no 32-bit code"
fi
echo "$passed passed, $failures failed, $skipped skipped"
exit "$failed"
