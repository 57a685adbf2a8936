#!/bin/bash
# Unpacks the release zip as a user would and checks what is in it:
#   check-zip.sh ZIP DIST_DIR VERSION
# exactly the two programs (the very ones built), the licence and the two
# guides, nothing that the program would read when unpacked beside it, and
# guides that explain what they must.
set -u
zip=$1 dist=$2 version=$3
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

[ "$(basename "$zip")" = "dorvint-$version.zip" ] || fail "zip named $(basename "$zip")"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked" || fail "unzip failed"

expected=$'LICENSE.txt\nREADME-en.txt\nREADME-ja.txt\ndorvint.com\ndorvint.exe'
actual=$(cd "$unpacked" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "entries: $(echo "$actual" | tr '\n' ' ')"

for program in dorvint.exe dorvint.com; do
  cmp -s "$unpacked/$program" "$dist/$program" || fail "$program is not the one built"
done

# Every text for Notepad: CR LF line ends only, the version filled in.
for text in LICENSE.txt README-en.txt README-ja.txt; do
  file=$unpacked/$text
  [ -f "$file" ] || continue
  if grep -q $'[^\r]$' "$file" || grep -q '^$' "$file"; then fail "$text has a line without CR LF"; fi
  grep -q '@VERSION@' "$file" && fail "$text: version not filled in"
done
grep -q '^MIT License' "$unpacked/LICENSE.txt" || fail "licence is not MIT"
grep -q 'Copyright (c) The Dorvint authors' "$unpacked/LICENSE.txt" || fail "licence holder"

# The guides: UTF-8 with a byte order mark, and what they must explain.
for guide in README-en.txt README-ja.txt; do
  file=$unpacked/$guide
  [ "$(head -c 3 "$file" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "$guide has no UTF-8 mark"
  iconv -f UTF-8 -t UTF-8 "$file" >/dev/null || fail "$guide is not UTF-8"
  grep -q "Dorvint $version" "$file" || fail "$guide names no version"
  for must in '---' '"?"' '< 0.01' 'Error!' 'Ctrl+C' 'F5' 'dorvint.ini' '[Display]' \
    '[SubVersion]' 'Type=' '[Window]' 'dorvint /list' 'dorvint /list > versions.txt' \
    'findstr' 'dorvint /?' 'UTF-8'; do
    grep -qF -- "$must" "$file" || fail "$guide does not mention $must"
  done
done
# Japanese: the tooltips' own words.
for words in 見つかりません ツールチップ 終了 更新 設定ファイル; do
  grep -q "$words" "$unpacked/README-ja.txt" || fail "README-ja.txt does not mention $words"
done

[ "$failures" = 0 ] && echo "$zip: as it should be"
exit $((failures > 0))
