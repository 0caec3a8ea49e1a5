#!/bin/busybox sh
# The guest's init: loads the SCSI stack and the kernel's target, serves the simulated scanner
# from user space at target 2 of a loopback host, runs scan_fs on it for every run in /test,
# and hands the results back on the first disk of the host adapter as a tar archive.
/bin/busybox --install -s /bin
export PATH=/bin
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
mkdir -p /results

say() { echo "guest: $*"; }

# Every way out hands back what there is and powers off: an init that ends stops the kernel.
finish() {
  cp /test/*.config /test/*.batch /results/ 2>/dev/null
  cat /sys/class/scsi_host/host*/proc_name > /results/hosts.txt 2>/dev/null
  for node in /sys/class/scsi_generic/*; do
    echo "$(basename "$node") $(basename "$(readlink "$node/device")")" >> /results/nodes.txt
  done
  echo "$1" > /results/outcome
  if (cd /results && tar -cf - .) | dd of=/dev/sda bs=64k conv=fsync 2>/dev/null; then
    say "results written to the disk"
  else
    say "FAILED: cannot write the results to /dev/sda"
  fi
  say "outcome: $1"
  poweroff -f
}

fail() { finish "failed: $*"; }

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  tries=$1
  shift
  while ! "$@" 2>/dev/null; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.1
  done
}

while read -r module arguments; do
  insmod "/lib/modules/$module.ko" $arguments || fail "insmod $module"
done < /test/modules.txt
mount -t configfs configfs /sys/kernel/config || fail "mount configfs"

# The user backstore whose commands the simulated scanner answers.
target=/sys/kernel/config/target
backstore=$target/core/user_1/scanner
mkdir -p "$backstore" || fail "mkdir $backstore"
echo -n "dev_config=scanner/sim" > "$backstore/control" &&
  echo -n "dev_size=1048576" > "$backstore/control" &&
  echo -n "hw_block_size=512" > "$backstore/control" &&
  echo 60 > "$backstore/attrib/cmd_time_out" &&
  echo 1 > "$backstore/enable" || fail "backstore set-up"
# RESERVE and RELEASE are the scanner's to answer, not the kernel's.
echo 0 > "$backstore/attrib/pgr_support" || fail "pgr_support"
uio=
for device in /sys/class/uio/uio*; do
  case "$(cat "$device/name")" in tcm-user/*/scanner/*) uio=$(basename "$device") ;; esac
done
[ -n "$uio" ] || fail "no uio device for the backstore"

serving() { grep -q "$1" target.log; }
scanner_node() { grep -q ' 1:0:2:0$' /results/nodes.now; }
list_nodes() {
  : > /results/nodes.now
  for node in /sys/class/scsi_generic/*; do
    echo "$(basename "$node") $(basename "$(readlink "$node/device")")" >> /results/nodes.now
  done
  scanner_node
}

# A loopback host (the second SCSI host) with the backstore as LUN 0 of target 2.
attach_unit() {
  port=$target/loopback/naa.5001405000000001/tpgt_2
  mkdir -p "$port/lun/lun_0" &&
    echo naa.5001405000000002 > "$port/nexus" &&
    ln -s "$backstore" "$port/lun/lun_0/virtual_scsi_port" || fail "loopback set-up"
  wait_for 100 list_nodes || fail "no SCSI generic node at 1:0:2:0"
  rm -f /results/nodes.now
}

# run NAME [--attached]: serves /test/NAME.config and runs scan_fs --batch /test/NAME.batch.
run() {
  mkdir -p "/results/$1" && cd "/results/$1" || fail "results folder"
  scanner_target $2 "/dev/$uio" "$(cat "/test/$1.config")" > target.log 2>&1 &
  pid=$!
  wait_for 50 serving "serving" || fail "scanner_target did not start: $(cat target.log)"
  if [ -z "$2" ]; then
    attach_unit
    kill -USR1 "$pid"
    wait_for 50 serving "serving the scanner" || fail "scanner_target left no attach"
  fi
  say "run $1: scan_fs --batch $(cat "/test/$1.batch")"
  # Well within the guest's own limit, so that a hung run still hands back what it has.
  timeout 90 scan_fs --batch "$(cat "/test/$1.batch")" --trace trace.jsonl > batch.txt 2> stderr.txt
  echo $? > status
  if ! kill -0 "$pid" 2> /dev/null; then
    wait "$pid"
    say "scanner_target ended before the run did, with status $?"
  elif [ "$(cat status)" -gt 1 ]; then
    say "scan_fs ended with status $(cat status); where scanner_target waits:"
    cat "/proc/$pid/stack"
  fi
  kill -TERM "$pid"
  wait "$pid"
  echo "=== $1: exit status $(cat status)"
  cat batch.txt stderr.txt
  sed 's/^/target: /' target.log
  echo "=== $1: end"
}

run normal
run fault --attached
finish done
