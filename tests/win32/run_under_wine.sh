#!/bin/sh
# Runs a Windows program of the build under Wine: on a display of its own (Xvfb), in a Wine prefix
# of the build folder (made once, with a 1024 x 768 virtual desktop), in the folder
# wine-runs/RUN_NAME (emptied first), with WNASPI32 taken from the program's folder (n) or Wine's
# own (b).
# Every Wine process runs under a time limit; Xvfb and the prefix's processes end with the run.
#
#   run_under_wine.sh BUILD_DIR RUN_NAME n|b PROGRAM [ARGUMENTS...]
set -eu
build=$1 run=$2 manager=$3 program=$4
shift 4

export WINEPREFIX="$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="wnaspi32=$manager"
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
trap 'timeout 30 wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
tries=0
until [ -s "$work/display" ]; do
  tries=$((tries + 1))
  if [ $tries -gt 100 ]; then echo "Xvfb did not start" >&2; exit 1; fi
  sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"

if [ ! -f "$WINEPREFIX/.made" ]; then
  rm -rf "$WINEPREFIX"
  timeout 300 wineboot --init
  timeout 60 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
  timeout 60 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null
  timeout 60 wineserver -w
  touch "$WINEPREFIX/.made"
fi

rm -rf "$build/wine-runs/$run"
mkdir -p "$build/wine-runs/$run"
cd "$build/wine-runs/$run"
timeout -k 10 300 wine "$program" "$@"
