#!/bin/sh
# Runs a GoogleTest program of the build under Wine: on a display of its own (Xvfb), in a Wine prefix
# of the build folder, in the folder wine-runs/RUN_NAME (emptied first), with WNASPI32 taken from
# the program's folder (n), Wine's own (b) or none at all (none). The prefix is made once, of the program's width (a
# 32-bit Windows for a 32-bit program), with a 1024 x 768 virtual desktop and a Japanese Gothic
# font under the name that the dialog templates ask for.
#
# Wine's exit status alone proves nothing (a Wine without its 32-bit part runs a 32-bit program
# as nothing at all, and exits 0): the run passes only when the program listed its tests and its
# XML result shows every one of them run to its end, none failed. Every Wine process runs under a
# time limit; Xvfb and the prefix's processes end with the run.
#
#   run_under_wine.sh BUILD_DIR RUN_NAME n|b|none PROGRAM [GOOGLETEST_ARGUMENTS...]
set -eu
build=$1 run=$2 manager=$3 program=$4
shift 4

fail() {
  echo "run_under_wine.sh: $*" >&2
  exit 1
}

[ -f "$program" ] || fail "$program does not exist"
# The program's width, from the machine field of its PE header.
header=$(od -An -tu4 -j60 -N4 "$program" | tr -d ' ')
case $(od -An -tx2 -j$((header + 4)) -N2 "$program" | tr -d ' ') in
  014c) arch=win32 ;;
  8664) arch=win64 ;;
  *) fail "$program is not a Windows program for x86" ;;
esac
hint=""
if [ $arch = win32 ]; then
  hint=". A 32-bit program needs the 32-bit Wine: dpkg --add-architecture i386, apt-get update,"
  hint="$hint apt-get install wine32:i386 (make test installs it)"
fi

# Debian's wine command takes the 32-bit loader whenever that is installed, even for a 64-bit
# program, and fails where the machine runs no 32-bit code: a 64-bit program gets the 64-bit one.
wine=wine
if [ $arch = win64 ] && [ -x /usr/lib/wine/wine64 ]; then
  wine=/usr/lib/wine/wine64
  export WINELOADER=$wine
fi

export WINEPREFIX="$build/wine-prefix" WINEARCH=$arch WINEDEBUG=-all
[ "$manager" != none ] || manager=""  # an empty override disables the DLL
export WINEDLLOVERRIDES="wnaspi32=$manager"
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
trap 'timeout 30 wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
tries=0
until [ -s "$work/display" ]; do
  tries=$((tries + 1))
  if [ $tries -gt 100 ]; then fail "Xvfb did not start"; fi
  sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"

# Wine's own fonts (fonts-wine: the caption buttons' Marlett, the boxes' Tahoma...) are linked
# into the prefix, where this Wine looks for them. "ＭＳ Ｐゴシック" (MS PGothic) is the dialogs'
# font; Wine has none of that name and would take another one. The value name is not ASCII: reg
# reads it through a UTF-8 locale.
made="$arch, 1024x768 desktop, Wine's fonts, IPAPGothic for the dialogs' font"
if [ "$(cat "$WINEPREFIX/.made" 2>/dev/null)" != "$made" ]; then
  rm -rf "$WINEPREFIX"
  mkdir -p "$build"
  timeout 300 "$wine" wineboot --init >"$work/wineboot" 2>&1 ||
    fail "Wine could not make the $arch prefix $WINEPREFIX: $(cat "$work/wineboot")$hint"
  timeout 60 "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
  timeout 60 "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null
  LC_ALL=C.UTF-8 timeout 60 "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' \
    /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f >/dev/null
  for font in /usr/share/wine/fonts/*; do
    if [ -e "$font" ]; then ln -s "$font" "$WINEPREFIX/drive_c/windows/Fonts/"; fi
  done
  timeout 60 wineserver -w  # the registry reaches its files
  grep -q "^#arch=$arch" "$WINEPREFIX/system.reg" || fail "Wine made no $arch prefix$hint"
  echo "$made" >"$WINEPREFIX/.made"
fi

rm -rf "$build/wine-runs/$run" "$build/wine-runs/$run.xml"
mkdir -p "$build/wine-runs/$run"
cd "$build/wine-runs/$run"
listed=$(timeout -k 10 120 "$wine" "$program" --gtest_list_tests "$@" | grep -c '^  ') || true
[ "$listed" -gt 0 ] ||
  fail "Wine started $program but it listed no tests: none matches the arguments, or Wine cannot run it$hint"

status=0
timeout -k 10 300 "$wine" "$program" "--gtest_output=xml:../$run.xml" "$@" || status=$?
[ $status -ne 124 ] || fail "$program did not end within 300 s"
[ -s "../$run.xml" ] || fail "$program wrote no test results (exit status $status)$hint"
summary=$(grep -m 1 '<testsuites ' "../$run.xml")
count() { printf '%s\n' "$summary" | sed -n "s/.* $1=\"\([0-9]*\)\".*/\1/p"; }
completed=$(grep -c '<testcase .* result="completed"' "../$run.xml") || true
[ "$(count failures)" = 0 ] && [ "$(count errors)" = 0 ] ||
  fail "$(count failures) of $(count tests) tests failed"
[ "$completed" = "$listed" ] || fail "$listed tests listed, $completed run to their end"
[ $status -eq 0 ] || fail "$program ended with exit status $status"
echo "run_under_wine.sh: $completed tests passed"
