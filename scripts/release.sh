#!/bin/bash
# Builds the release a Windows user downloads: dist/dorvint-<version>.zip with
# dorvint.exe, dorvint.com, the licence and the guides in English and
# Japanese.  The version is the project's version in CMakeLists.txt.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target release
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
echo "dist/dorvint-$version.zip"
