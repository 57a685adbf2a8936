#!/bin/bash
# Checks that a release is reproducible: builds it from two fresh clones of
# the committed sources in folders of different names and lengths, and
# compares the programs and the zip byte for byte.  Exits 1 when they differ.
set -eu
cd "$(dirname "$0")/.."
work=build/reproducible
rm -rf "$work"
mkdir -p "$work"
clones=("$work/a" "$work/a-clone-in-a-folder-with-a-longer-name")
for clone in "${clones[@]}"; do
  git clone -q . "$clone"
  "$clone/scripts/release.sh" >"$clone.log" 2>&1 || {
    cat "$clone.log"
    echo "== release build in $clone failed"
    exit 1
  }
done
sums() { (cd "$1/dist" && sha256sum dorvint.exe dorvint.com dorvint-*.zip); }
sums "${clones[0]}"
if [ "$(sums "${clones[0]}")" = "$(sums "${clones[1]}")" ]; then
  echo "== reproducible: both clones built the same bytes"
  rm -rf "$work"
else
  sums "${clones[1]}"
  echo "== not reproducible: the clones differ"
  exit 1
fi
