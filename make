#!/bin/sh
# The README's commands on a machine without GNU make: installs it (as root, or through sudo),
# then runs it with the same arguments, e.g. ./make run, ./make test.
set -e
cd "$(dirname "$0")"
if ! command -v make >/dev/null 2>&1; then
  if [ "$(id -u)" = 0 ]; then
    as_root=""
  elif command -v sudo >/dev/null 2>&1; then
    as_root="sudo"
  else
    echo "GNU make is missing. Install it as root (apt-get install make), then run $0 $*." >&2
    exit 1
  fi
  echo "Installing: make"
  $as_root apt-get update -qq
  $as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends make
fi
exec make "$@"
