#!/bin/sh
# The Makefile's install step (make test-deps) on a pretend machine: dpkg, dpkg-query, apt-get, id
# and sudo are fakes that log what they were asked; the other commands are the real ones.
#
#   install_step_test.sh SOURCE_DIR
set -u
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
for tool in sh grep sort env stat cat; do ln -s "$(command -v $tool)" "$work/bin/$tool"; done
fake() {
  printf '#!/bin/sh\n%s\n' "$2" >"$work/bin/$1"
  chmod +x "$work/bin/$1"
}
fake dpkg-query 'for p in $MISSING; do [ "$p" != "$3" ] || exit 1; done; echo "install ok installed"'
fake dpkg 'case $1 in
  --print-architecture) echo amd64 ;;
  --print-foreign-architectures) [ -z "$FOREIGN" ] || echo "$FOREIGN" ;;
  *) echo "dpkg $*" >>"$LOG" ;;
esac'
fake apt-get 'echo "apt-get $*" >>"$LOG"'
fake id 'echo "$USER_ID"'

failures=0
# USER_ID, sudo or no-sudo, the foreign architectures, the packages missing; then the commands it
# must run, or "refused" and what it must say; lines joined by " | ".
check() {
  rm -f "$work/log" "$work/bin/sudo"
  [ "$2" = no-sudo ] || fake sudo 'echo "sudo $1" >>"$LOG"; exec "$@"'
  output=$(cd "$source_dir" && env -u MAKEFLAGS -u MAKELEVEL -u MFLAGS PATH="$work/bin" \
    USER_ID="$1" FOREIGN="$3" MISSING="$4" LOG="$work/log" "$(command -v make)" -s test-deps 2>&1)
  status=$?
  if [ "$5" = refused ]; then
    expected=$6
    seen=$(printf '%s\n' "$output" | grep -v '^make: ' | paste -sd '|' | sed 's/|/ | /g')
    [ $status -ne 0 ] || seen="(it passed) $seen"
  else
    expected=$5
    seen=$(paste -sd '|' "$work/log" 2>/dev/null | sed 's/|/ | /g')
    [ $status -eq 0 ] || seen="(status $status) $seen"
  fi
  if [ "$seen" != "$expected" ]; then
    printf 'uid %s, %s, foreign "%s", missing "%s":\n  expected: %s\n  seen:     %s\n' \
      "$1" "$2" "$3" "$4" "$expected" "$seen"
    failures=$((failures + 1))
  fi
}

update="apt-get update -qq"
install="apt-get install -y -qq --no-install-recommends"
check 0 sudo "" "tmux wine32:i386" "dpkg --add-architecture i386 | $update | $install tmux wine32:i386"
check 0 sudo "i386" "wine32:i386" "$update | $install wine32:i386"
check 1000 sudo "" "wine32:i386" \
  "sudo dpkg | dpkg --add-architecture i386 | sudo apt-get | $update | sudo env | $install wine32:i386"
check 1000 sudo "i386" "tmux" "sudo apt-get | $update | sudo env | $install tmux"
check 0 sudo "" "" ""
refusal="Install them as root, then run make again:"
check 1000 no-sudo "" "tmux wine32:i386" refused "Missing Debian packages: tmux wine32:i386 | $refusal \
|   dpkg --add-architecture i386 |   apt-get update |   apt-get install tmux wine32:i386"
check 1000 no-sudo "i386" "wine32:i386" refused "Missing Debian packages: wine32:i386 | $refusal \
|   apt-get update |   apt-get install wine32:i386"
exit $failures
