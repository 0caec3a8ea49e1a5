#!/bin/sh
# Fails when a Windows program or DLL of the build imports anything but the system's own DLLs
# (WNASPI32 is loaded at run time, and the C and C++ runtimes are linked in), or when the
# simulated WNASPI32.dll does not export GetASPI32SupportInfo and SendASPI32Command as ordinals
# 1 and 2.
#
#   check_win32_imports.sh OBJDUMP PROGRAM_OR_DLL...
set -eu
objdump=$1
shift
status=0
for file in "$@"; do
  dump=$("$objdump" -p "$file")
  for dll in $(echo "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u); do
    case $dll in
      kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll) ;;
      *) echo "$file imports $dll"; status=1 ;;
    esac
  done
  case $(basename "$file" | tr 'A-Z' 'a-z') in
    wnaspi32.dll)
      # objdump numbers the exports from the ordinal base, 1.
      exports=$(echo "$dump" | sed -n '/Ordinal\/Name Pointer/,/^$/p')
      if ! echo "$dump" | grep -q 'Ordinal Base[[:space:]]*1$' ||
         ! echo "$exports" | grep -q '\[ *0\] GetASPI32SupportInfo$' ||
         ! echo "$exports" | grep -q '\[ *1\] SendASPI32Command$'; then
        echo "$file does not export ordinals 1 and 2:"; echo "$exports"; status=1
      fi
      ;;
  esac
done
[ $status -eq 0 ] && echo "Only system DLLs are imported; WNASPI32.dll exports ordinals 1 and 2."
exit $status
