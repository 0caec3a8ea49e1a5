#!/bin/sh
# Passes when COMMAND fails and says MESSAGE; status 77 (nothing could be shown) passes through.
#
#   expect_refusal.sh MESSAGE COMMAND [ARGUMENTS...]
message=$1
shift
output=$("$@" 2>&1)
status=$?
printf '%s\n' "$output"
[ $status -ne 77 ] || exit 77
[ $status -ne 0 ] || { echo "expect_refusal.sh: it passed" >&2; exit 1; }
printf '%s\n' "$output" | grep -qF "$message" || { echo "expect_refusal.sh: not said: $message" >&2; exit 1; }
