#!/bin/bash
# Runs a Windows program in the test Wine session under one ANSI code page.
#   wine-run.sh STATE_DIR CODE_PAGE PROGRAM [ARGS...]
# CODE_PAGE is 932 (Japanese) or 1252 (Western).
set -eu
state=$1 codepage=$2
shift 2
# Exit code 77: skipped, on a machine where Wine cannot run (wine-session.sh).
if [ -f "$state/unavailable" ]; then
  cat "$state/unavailable" >&2
  exit 77
fi
# shellcheck disable=SC1091
. "$state/env"
case $codepage in
  932) export LC_ALL=ja_JP.UTF-8 ;;
  1252) export LC_ALL=C.UTF-8 ;;
  *) echo "unknown code page $codepage" >&2; exit 2 ;;
esac
exec wine "$@"
