#!/bin/sh
# Runs COMMAND as on a machine where only the 64-bit Wine is installed: in a mount namespace of its
# own, the files of wine32:i386 and libwine:i386 are hidden. Exits 77 when the machine gives no
# such namespace.
#
#   without_32bit_wine.sh COMMAND [ARGUMENTS...]
if ! unshare --user --map-root-user --mount true 2>/dev/null; then
  echo "without_32bit_wine.sh: no user and mount namespace here" >&2
  exit 77
fi
empty=$(mktemp -d)
trap 'rm -rf "$empty"' EXIT
touch "$empty/file"
unshare --user --map-root-user --mount sh -ec '
  empty=$1
  shift
  if [ -e /usr/lib/wine/wine ]; then mount --bind "$empty/file" /usr/lib/wine/wine; fi
  for part in /usr/lib/i386-linux-gnu/wine/*; do
    if [ -e "$part" ]; then mount --bind "$empty" "$part"; fi
  done
  exec "$@"' - "$empty" "$@"
