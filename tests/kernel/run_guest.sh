#!/bin/sh
# Boots a QEMU guest on the current Debian kernel with a real SCSI stack (an emulated LSI host
# adapter holding a disk and a CD-ROM, and the kernel's loopback target serving the simulated
# scanner from user space), runs scan_fs there without --simulate and a standard SCSI client
# (sg3-utils), and unpacks what the guest handed back into WORK/results.
#
#   tests/kernel/run_guest.sh BUILD_DIR WORK_DIR
#
# BUILD_DIR holds scan_fs_static and scanner_target; WORK_DIR keeps the downloaded kernel
# package between runs. Every failure says which step failed.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
work=$(cd "$2" && pwd)
boot_limit=${KERNEL_TEST_BOOT_LIMIT:-300}

step() { echo "kernel test: $*"; }
die() {
  echo "kernel test: FAILED: $*" >&2
  exit 1
}

sg_clients="sg_turs sg_inq sg_raw"
for tool in qemu-system-x86_64 cpio dpkg-deb apt-get ldd $sg_clients; do
  command -v "$tool" > /dev/null || die "$tool is missing (make kernel-test installs it)"
done
busybox=/bin/busybox
[ -x "$busybox" ] && ! readelf -l "$busybox" | grep -q 'program interpreter' ||
  die "$busybox is not the static busybox (Debian package busybox-static)"
for program in scan_fs_static scanner_target; do
  [ -x "$build/$program" ] || die "$build/$program was not built"
done

# The kernel: the package the current linux-image-amd64 depends on (its ABI number changes with
# every security update).
kernel_package() {
  apt-cache depends linux-image-amd64 2> /dev/null |
    sed -n 's/^ *Depends: \(linux-image-[0-9][^ ]*-amd64\)$/\1/p' | head -n 1
}
package=$(kernel_package)
if [ -z "$package" ]; then
  step "reading the package lists"
  if [ "$(id -u)" = 0 ]; then apt-get update -qq; else sudo -n apt-get update -qq; fi ||
    die "apt-get update failed"
  package=$(kernel_package)
fi
[ -n "$package" ] || die "apt-cache finds no kernel image behind linux-image-amd64"

mkdir -p "$work/cache"
deb=$(ls "$work/cache/${package}_"*.deb 2> /dev/null | head -n 1 || true)
if [ -z "$deb" ]; then
  step "downloading $package"
  rm -f "$work/cache/"*.deb
  (cd "$work/cache" && timeout 600 apt-get download -q "$package") || die "apt-get download $package"
  deb=$(ls "$work/cache/${package}_"*.deb | head -n 1)
fi

kernel=$work/kernel/$package
if [ ! -f "$kernel/done" ]; then
  step "unpacking the kernel and its SCSI and target modules from $(basename "$deb")"
  rm -rf "$work/kernel" && mkdir -p "$kernel/tree"
  patterns="./boot/vmlinuz-*"
  for module in $(cut -d ' ' -f 1 "$here/modules.txt"); do
    patterns="$patterns */$module.ko"
  done
  # shellcheck disable=SC2086 # the patterns are words on purpose
  dpkg-deb --fsys-tarfile "$deb" | tar -x -C "$kernel/tree" --wildcards $patterns ||
    die "unpacking $deb"
  touch "$kernel/done"
fi

step "making the initramfs"
root=$work/initramfs
rm -rf "$root" "$work/results"
mkdir -p "$root/bin" "$root/lib/modules" "$root/test" "$root/dev" "$root/proc" "$root/sys" \
  "$root/tmp" "$work/results"
cp "$busybox" "$root/bin/busybox"
cp "$build/scan_fs_static" "$root/bin/scan_fs"
cp "$build/scanner_target" "$root/bin/scanner_target"
# The SCSI clients with the shared libraries they load, at the paths they load them from.
for client in $sg_clients; do
  program=$(command -v "$client")
  cp "$program" "$root/bin/"
  for library in $(ldd "$program" | sed -n 's/.*=> \(\/[^ ]*\) .*/\1/p; s/^[[:space:]]*\(\/[^ ]*\) .*/\1/p'); do
    cp --parents -L "$library" "$root" || die "copying $library for $client"
  done
done
cp "$here/guest_init.sh" "$root/init"
chmod 755 "$root/init"
cp "$here/modules.txt" "$here/runs/"* "$root/test/"
for module in $(cut -d ' ' -f 1 "$here/modules.txt"); do
  found=$(find "$kernel/tree" -name "$module.ko" | head -n 1)
  [ -n "$found" ] || die "module $module.ko is not in $package"
  cp "$found" "$root/lib/modules/"
done
(cd "$root" && find . | cpio -o -H newc --quiet | gzip -1) > "$work/initramfs.gz" ||
  die "making the initramfs"

# The guest hands its results back as a tar archive on this disk.
rm -f "$work/disk.img"
truncate -s 96M "$work/disk.img"

step "booting $package under QEMU (at most $boot_limit s)"
started=$(date +%s)
status=0
timeout "$boot_limit" qemu-system-x86_64 -accel tcg -m 384 -display none -monitor none \
  -serial "file:$work/console.log" -no-reboot -net none \
  -kernel "$(find "$kernel/tree/boot" -name 'vmlinuz-*' | head -n 1)" \
  -initrd "$work/initramfs.gz" -append "console=ttyS0 quiet panic=-1" \
  -device lsi53c895a,id=scsi0 \
  -drive "file=$work/disk.img,if=none,format=raw,id=disk0" \
  -device scsi-hd,drive=disk0,bus=scsi0.0,scsi-id=0 \
  -drive if=none,id=cd0,media=cdrom \
  -device scsi-cd,drive=cd0,bus=scsi0.0,scsi-id=1 < /dev/null || status=$?
step "the guest ran $(($(date +%s) - started)) s; its console:"
sed -n '/^guest: \|^=== \|^box \|^line \|^# \|^scan_fs\|^target: /p' "$work/console.log"
[ "$status" = 124 ] && die "the guest did not power off within $boot_limit s (see $work/console.log)"
[ "$status" = 0 ] || die "QEMU ended with status $status (see $work/console.log)"

tar -xf "$work/disk.img" -C "$work/results" 2> /dev/null ||
  die "the guest left no results on its disk (see $work/console.log)"
outcome=$(cat "$work/results/outcome")
[ "$outcome" = done ] || die "the guest $outcome (see $work/console.log)"
step "results in $work/results"
