#!/bin/sh
# The files that the Windows program wrote under Wine (the driver's FilesOfEachResolutionAndModel)
# against those the Linux program writes on the same simulated scanner: byte for byte.
#
#   compare_with_linux.sh LINUX_PROGRAM WINDOWS_FILES_FOLDER
set -eu
linux=$1 windows=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
differ=0
same() {  # FILE_HERE FILE_OF_WINDOWS
  if cmp "$1" "$windows/$2"; then echo "same bytes: $2"; else differ=1; fi
}
for model in t1 t2; do
  for dpi in 340 680 1360 2720; do
    "$linux" --simulate=model=$model --batch scan:$dpi:file >/dev/null
    same img_fs.tif ${model}_$dpi.tif
  done
done
"$linux" --simulate=model=t2 --batch save >/dev/null
same test_dat.txt test_dat.txt
exit $differ
