#!/bin/sh
# Checks the Windows zip: exactly its four files, a 32-bit x86 program (PE machine 014Ch), and a
# README.txt with CR LF at the end of every line.
#
#   check_windows_zip.sh ZIP VERSION
set -eu
zip=$1
top=scan_fs-$2-windows
work=$(dirname "$zip")/check
rm -rf "$work"
mkdir -p "$work"
fail() { echo "check_windows_zip: $*" >&2; exit 1; }

expected=$(printf '%s\n' "$top/README.txt" "$top/scan_fs.exe" "$top/simulated-scanner/WNASPI32.dll")
listed=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
[ "$listed" = "$expected" ] || fail "contents: $listed"
unzip -q "$zip" -d "$work"

# The PE header starts where the 32-bit value at 3Ch points; its machine field follows "PE\0\0".
exe=$work/$top/scan_fs.exe
at=$(od -An -t u4 -j 60 -N 4 "$exe" | tr -d ' ')
[ "$(od -An -t x1 -j "$at" -N 6 "$exe" | tr -d ' ')" = 504500004c01 ] ||
  fail "scan_fs.exe is no PE program for machine 014Ch"

readme=$work/$top/README.txt
[ -s "$readme" ] || fail "README.txt is empty"
lines=$(wc -l <"$readme")
[ "$(grep -c "$(printf '\r')\$" "$readme")" = "$lines" ] || fail "README.txt: a line without CR LF"
[ "$(tail -c 2 "$readme" | od -An -t x1 | tr -d ' ')" = 0d0a ] || fail "README.txt: no CR LF at its end"
grep -q "scan_fs $2 for Windows" "$readme" || fail "README.txt does not name version $2"
echo "check_windows_zip: $zip holds the 32-bit program, its README and the simulated manager"
