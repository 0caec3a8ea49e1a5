#!/bin/bash
# Completes a command line as bash does, with setup/scan_fs.bash ($SCAN_FS_COMPLETION): splits it
# into COMP_WORDS (at blanks, and around each run of '=' or ':'), runs the completion function
# with the cursor at the end, and prints one reply a line.
#
#   complete_line.bash 'scan_fs --batch info,sc'
source /usr/share/bash-completion/bash_completion
source "$SCAN_FS_COMPLETION"
compopt() { :; }  # only a real completion may set its options

line=$1 word=
COMP_WORDS=()
for ((i = 0; i < ${#line}; i++)); do
  c=${line:i:1}
  breaks=0 after_break=0
  [[ $c == [=:] ]] && breaks=1
  [[ $word == *[=:] ]] && after_break=1
  if [[ $c == " " ]]; then
    [[ -n $word ]] && COMP_WORDS+=("$word")
    word=
  elif [[ -n $word ]] && ((breaks != after_break)); then
    COMP_WORDS+=("$word")
    word=$c
  else
    word+=$c
  fi
done
COMP_WORDS+=("$word")
COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
COMP_LINE=$line
COMP_POINT=${#line}
COMPREPLY=()
_scan_fs scan_fs "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
((${#COMPREPLY[@]} == 0)) || printf '%s\n' "${COMPREPLY[@]}"
