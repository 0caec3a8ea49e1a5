#!/bin/busybox sh
# The guest's init: loads the SCSI stack and the kernel's target, and for each run serves the
# simulated scanner from user space as LUN 0 of target 2 of a loopback host (each run from a
# backstore of its own, so that each meets a scanner as after power-on), runs scan_fs or a
# standard SCSI client on it, and hands the results back on the first disk of the host adapter
# as a tar archive.
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

# Hundredths of a second since boot.
now() {
  read -r up rest < /proc/uptime
  echo "${up%.*}${up#*.}"
}

while read -r module arguments; do
  insmod "/lib/modules/$module.ko" $arguments || fail "insmod $module"
done < /test/modules.txt
mount -t configfs configfs /sys/kernel/config || fail "mount configfs"

target=/sys/kernel/config/target
lun=$target/loopback/naa.5001405000000001/tpgt_2/lun/lun_0
address=1:0:2:0
device=/sys/class/scsi_device/$address/device
mkdir -p "$lun" && echo naa.5001405000000002 > "$lun/../../nexus" || fail "loopback set-up"

serving() { grep -q "$1" target.log; }
stopped() { grep -q '^[0-9]* ([^)]*) T' "/proc/$1/stat"; }
# The node of the unit at 1:0:2:0, in $node.
unit_node() {
  for entry in /sys/class/scsi_generic/*; do
    [ "$(basename "$(readlink "$entry/device")")" = $address ] && node=/dev/$(basename "$entry")
  done
  [ -n "$node" ] && [ -e "$node" ]
}
# The kernel has no command of the unit in flight, and no error handling going on (or the unit is
# gone).
unit_idle() {
  [ "$(cat /sys/class/scsi_host/host1/host_busy)" = 0 ] &&
    { [ ! -e "$device" ] || [ "$(cat "$device/state")" = running ]; }
}

# link BACKSTORE: makes it the unit at 1:0:2:0, in place of the one before.
link_unit() {
  if [ -L "$lun/virtual_scsi_port" ]; then
    rm "$lun/virtual_scsi_port" || fail "unlinking the unit before $1"
  fi
  node=
  ln -s "$1" "$lun/virtual_scsi_port" || fail "linking $1"
  wait_for 100 unit_node || fail "no SCSI generic node at $address for $1"
}

# start_scanner NAME TIME_OUT [OPTIONS]: a new user backstore NAME, whose commands the kernel
# ends after TIME_OUT seconds without an answer, served by scanner_target OPTIONS with the
# configuration /test/NAME.config, attached as the unit; $handler is its process.
start_scanner() {
  backstore=$target/core/user_1/$1
  mkdir -p "$backstore" &&
    echo -n "dev_config=scanner/sim" > "$backstore/control" &&
    echo -n "dev_size=1048576" > "$backstore/control" &&
    echo -n "hw_block_size=512" > "$backstore/control" &&
    echo "$2" > "$backstore/attrib/cmd_time_out" &&
    echo 1 > "$backstore/enable" || fail "backstore $1"
  # RESERVE and RELEASE are the scanner's to answer, not the kernel's.
  echo 0 > "$backstore/attrib/pgr_support" || fail "pgr_support of $1"
  uio=
  for entry in /sys/class/uio/uio*; do
    case "$(cat "$entry/name")" in tcm-user/*/"$1"/*) uio=$(basename "$entry") ;; esac
  done
  [ -n "$uio" ] || fail "no uio device for the backstore $1"
  scanner_target $3 "/dev/$uio" "$(cat "/test/$1.config")" > target.log 2>&1 &
  handler=$!
  wait_for 50 serving "serving" || fail "scanner_target did not start: $(cat target.log)"
  link_unit "$backstore"
  kill -USR1 "$handler"
  wait_for 50 serving "serving the scanner" || fail "scanner_target left no attach"
}

# Lets a handler that stopped answering go on until the kernel is done with the unit, then ends
# it.
stop_scanner() {
  kill -CONT "$handler" 2>/dev/null
  wait_for 600 unit_idle || say "the unit at $address is still busy"
  kill -TERM "$handler" 2>/dev/null
  wait "$handler"
}

# While a run's program works. delete: once the handler stopped answering, the kernel deletes
# the unit with the program's command in flight.
delete_unit() {
  wait_for 300 stopped "$handler" || return
  echo 1 > "$device/delete"
}

# replace: once the handler stopped answering (after the search's INQUIRY), the program is held
# with its next command in flight; the handler answers it, a RAM disk takes the scanner's place,
# and the program goes on. The disk's command count is kept before and after.
replace_unit() {
  wait_for 300 stopped "$handler" || return
  program=$(pidof scan_fs)
  kill -STOP "$program"
  kill -CONT "$handler"
  wait_for 100 unit_idle
  disk=$target/core/rd_mcp_0/disk
  mkdir -p "$disk" && echo -n rd_pages=64 > "$disk/control" && echo 1 > "$disk/enable" &&
    link_unit "$disk"
  counted() { cat "$disk/statistics/scsi_lu/num_cmds"; }
  # The kernel's own commands to a new disk (identification, capacity, partitions) first.
  before=
  while [ "$before" != "$(counted)" ]; do
    before=$(counted)
    sleep 0.5
  done
  echo "$before" > disk_commands_before
  kill -CONT "$program"
  while pidof scan_fs > /dev/null; do sleep 0.1; done
  counted > disk_commands_after
}

# signal: once the handler stopped answering, SIGTERM twice. After the first the program still
# waits for its command in flight; the second ends it at once.
signal_twice() {
  wait_for 300 stopped "$handler" || return
  program=$(pidof scan_fs)
  kill -TERM "$program"
  sleep 1
  [ -e "/proc/$program" ] && echo waiting > after_first_signal
  kill -TERM "$program"
}

# run NAME TIME_OUT [OPTIONS [EVENT]]: scan_fs --batch /test/NAME.batch on the scanner of
# start_scanner NAME TIME_OUT OPTIONS, with EVENT beside it.
run() {
  mkdir -p "/results/$1" && cd "/results/$1" || fail "results folder"
  start_scanner "$1" "$2" "$3"
  say "run $1: scan_fs --batch $(cat "/test/$1.batch")"
  started=$(now)
  # Well within the guest's own limit, so that a hung run still hands back what it has.
  timeout 90 scan_fs --batch "$(cat "/test/$1.batch")" --trace trace.jsonl > batch.txt 2> stderr.txt &
  runner=$!
  event=
  if [ -n "$4" ]; then
    $4 &
    event=$!
  fi
  wait "$runner"
  echo $? > status
  echo $(($(now) - started)) > elapsed
  # A handler that stopped answering answers the command it held, so that the event ends.
  kill -CONT "$handler" 2>/dev/null
  [ -z "$event" ] || wait "$event"
  if ! kill -0 "$handler" 2> /dev/null && [ -z "$3" ]; then
    say "scanner_target ended before the run did"
  elif [ "$(cat status)" -gt 1 ]; then
    say "scan_fs ended with status $(cat status); where scanner_target waits:"
    cat "/proc/$handler/stack"
  fi
  stop_scanner
  echo "=== $1: exit status $(cat status) after $(cat elapsed)0 ms"
  cat batch.txt stderr.txt
  sed 's/^/target: /' target.log
  echo "=== $1: end"
}

# A short pass of a standard SCSI client on a scanner as after power-on; each call bounded.
client_pass() {
  mkdir -p /results/sg3 && cd /results/sg3 || fail "results folder"
  start_scanner sg3 30
  client() {
    name=$1
    shift
    timeout 20 "$@" > "$name.out" 2>&1
    echo $? > "$name.status"
    echo "=== sg3 $name: $* -> $(cat "$name.status")"
    cat "$name.out"
  }
  client turs-first sg_turs "$node"
  client turs-again sg_turs "$node"
  client inquiry sg_inq "$node"
  client vpd-page sg_inq --page=0x80 "$node"
  client unknown-command sg_raw -r 16 "$node" c1 00 00 00 00 00 00 00 00 00
  stop_scanner
}

run all 30
run faults 30
run t1-2720-file 30
run t2-2720-memory 30
run deleted 30 --stop-after=28:2 delete_unit
run killed 2 --kill-after=28:2
run stopped 30 --stop-after=28:2
run signalled 30 --stop-after=28:2 signal_twice
run replaced 30 --stop-after=12:1 replace_unit
client_pass
finish done
