#!/bin/sh
# Checks the Debian package: its fields and files, then the packaged program, unpacked beside
# it, on the simulated scanner: its version, and output and files byte for byte those of the
# program the tests ran (the same commands, in line form and as JSON).
#
#   check_deb.sh PACKAGE VERSION TESTED_PROGRAM
set -eu
deb=$1
version=$2
tested=$(realpath "$3")
work=$(dirname "$deb")/check
rm -rf "$work"
mkdir -p "$work/root" "$work/packaged" "$work/tested"
fail() { echo "check_deb: $*" >&2; exit 1; }

fields=$(dpkg-deb -f "$deb" Package Version)
[ "$fields" = "$(printf 'Package: scan-fs\nVersion: %s' "$version")" ] || fail "fields: $fields"
dpkg-deb -x "$deb" "$work/root"
for file in usr/bin/scan_fs usr/share/man/man1/scan_fs.1.gz \
            usr/share/bash-completion/completions/scan_fs usr/share/doc/scan-fs/README.md.gz \
            usr/share/doc/scan-fs/60-scan_fs.rules.example usr/share/doc/scan-fs/copyright; do
  [ -f "$work/root/$file" ] || fail "missing /$file"
done
program=$(realpath "$work/root/usr/bin/scan_fs")
[ "$("$program" --version)" = "scan_fs $version" ] || fail "--version: $("$program" --version)"

commands=board,info,save,diag1,diag2,scan:340:file
for run in packaged tested; do
  binary=$program
  [ $run = tested ] && binary=$tested
  (cd "$work/$run"
   timeout 60 "$binary" --simulate --batch "$commands" >lines.txt || echo "status $?" >>lines.txt
   timeout 60 "$binary" --simulate --batch "$commands" --json >json.txt || echo "status $?" >>json.txt)
done
for file in lines.txt json.txt test_dat.txt img_fs.tif; do
  cmp -s "$work/packaged/$file" "$work/tested/$file" || fail "the packaged program's $file differs"
done
if grep -q '^status ' "$work/packaged/lines.txt"; then fail "the packaged program's run failed"; fi
echo "check_deb: $deb is whole, and its program runs as the tested one does"
