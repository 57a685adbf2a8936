#!/bin/bash
# Runs clang-tidy, with the repository's .clang-tidy, over every source file
# of the project that a build's compilation database lists (GoogleTest and
# generated files left out) and over the project headers they include.
# Any finding fails.
#   clang-tidy.sh SOURCE_DIR BUILD_DIR NAME_PATTERN [clang-tidy options...]
# NAME_PATTERN selects files by name, e.g. '*_win.cpp'.
set -eu
source_dir=$1 build_dir=$2 pattern=$3
shift 3

files=()
while IFS= read -r file; do
  case $file in
    "$source_dir"/probe/* | "$source_dir"/settings/* | "$source_dir"/app/* | "$source_dir"/tests/*)
      case ${file##*/} in $pattern) files+=("$file") ;; esac ;;
  esac
done < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$build_dir/compile_commands.json" | sort -u)

if [ ${#files[@]} -eq 0 ]; then
  echo "no source files matching $pattern in $build_dir/compile_commands.json" >&2
  exit 1
fi

escaped=$(sed 's/[]\.[^$*+?(){}|]/\\&/g' <<<"$source_dir")
printf '%s\n' "${files[@]}" |
  xargs -P "$(nproc)" -n 1 clang-tidy -p "$build_dir" --quiet --warnings-as-errors='*' \
    --header-filter="^$escaped/(probe|settings|app|tests)/" "$@"
