#!/bin/bash
# Starts or stops the Wine session the Windows tests run in: a Wine prefix of
# the build's own, a persistent wineserver and an Xvfb display.
#   wine-session.sh start STATE_DIR
#   wine-session.sh stop STATE_DIR
# STATE_DIR/env holds the variables wine-run.sh needs.
set -eu
action=$1
state=$(mkdir -p "$2" && cd "$2" && pwd)
export WINEPREFIX=$state/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

stop() {
  if [ -f "$state/env" ]; then
    WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null || true
    if [ -f "$state/xvfb.pid" ]; then
      kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
      rm -f "$state/xvfb.pid"
    fi
    rm -f "$state/env"
  fi
}

if [ "$action" = stop ]; then
  stop
  exit 0
fi
stop
rm -f "$state/unavailable"

# Wine runs 32-bit programs with a 32-bit loader, which needs a kernel that
# runs 32-bit code.  Some kernels have that switched off (ia32_emulation=off);
# there no Windows program can run, and wine-run.sh skips every test.
if ! /usr/lib/wine/wine --version >/dev/null 2>"$state/loader.log" &&
  grep -q "Exec format error" "$state/loader.log"; then
  echo "This machine's kernel runs no 32-bit programs (IA-32 emulation is off), so Wine cannot run." >"$state/unavailable"
  cat "$state/unavailable" >&2
  exit 0
fi

if [ ! -f "$WINEPREFIX/.dorvint-ready" ]; then
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  reg() { wine reg add "$@" /f >/dev/null 2>&1; }
  # Without a window manager, let Wine manage nothing: windows close at once.
  reg 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
  reg 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N
  # A program that crashes ends at once with its exception code as exit code,
  # instead of waiting behind the debugger's crash dialog.
  reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
  # The window font, mapped to its metric-compatible free counterpart.
  LC_ALL=C.UTF-8 reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d IPAPGothic
  LC_ALL=C.UTF-8 reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /d IPAGothic
  # Japanese in message boxes under code page 1252: Wine rewrites the font
  # links whenever the code page changes, and its links name "MS UI Gothic"
  # first, so map that face too.
  LC_ALL=C.UTF-8 reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d IPAPGothic
  wineserver -w
  touch "$WINEPREFIX/.dorvint-ready"
fi

# An X display of its own for the window tests, the first free one from :91.
# Xvfb takes a display by writing its process ID into the display's lock
# file, and ends when another server holds it; two sessions starting at the
# same moment may try the same number, and the one that lost tries the next.
# (Two sessions on one display would move each other's pointer.)
display=
for n in $(seq 91 140); do
  [ -e "/tmp/.X$n-lock" ] && continue
  setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >"$state/xvfb.log" 2>&1 &
  xvfb=$!
  echo "$xvfb" >"$state/xvfb.pid"
  for _ in $(seq 1 600); do
    if [ "$(cat "/tmp/.X$n-lock" 2>/dev/null | tr -d ' \n')" = "$xvfb" ] &&
      [ -e "/tmp/.X11-unix/X$n" ]; then
      display=$n
      break
    fi
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$display" ] && break
done
[ -n "$display" ] || { echo "no free X display" >&2; exit 1; }

# A persistent wineserver keeps each wine start at a few tens of milliseconds.
setsid wineserver -p </dev/null >/dev/null 2>&1 || true
# Wine's background services start with the first program of a session and
# keep its output open; start them here, with their output going nowhere, so
# that no test's output stays open after the test has ended.
DISPLAY=":$display" setsid wine cmd /c exit </dev/null >/dev/null 2>&1 || true
cat >"$state/env" <<ENV
export WINEPREFIX='$WINEPREFIX'
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='
export DISPLAY=':$display'
ENV
echo "Wine session ready: prefix $WINEPREFIX, display :$display"
