#!/bin/sh
# Fails when the program's core library refers to heap allocation or exceptions.
set -eu
library="$1"
forbidden='^(_Znw[jm]|_Zna[jm]|_ZnwmSt|_ZnamSt|_Znw[jm]St|malloc|calloc|realloc|free|strdup|__cxa_throw|__cxa_allocate_exception|_Unwind_Resume)$'
found=$(nm -u --format=posix "$library" | awk '{print $1}' | sort -u | grep -E "$forbidden" || true)
if [ -n "$found" ]; then
  echo "The core refers to heap allocation or exceptions:"
  echo "$found"
  exit 1
fi
echo "The core uses no heap and throws nothing."
