# bash completion for scan_fs: its options, the batch commands and their arguments, the
# simulator's items, and the files of --trace, --inspect and --preview. The lists come from the
# program's own --help, so they are always those of the program being completed.

# Words of one section of the help text, from its heading line to the next empty line.
_scan_fs_section() {
  local help=$1 heading=$2 line in=0
  while IFS= read -r line; do
    if [[ $line == "$heading"* ]]; then
      in=1
    elif ((in)); then
      [[ -z $line ]] && break
      printf '%s\n' "$line"
    fi
  done <<<"$help"
}

_scan_fs() {
  local cur prev words cword
  _init_completion -n =: || return

  local help
  help=$(LC_ALL=C "${1/#\~/$HOME}" --help 2>/dev/null) || return

  local -a options=() names=()
  local -A arguments=()
  local line name rest item
  while IFS= read -r line; do
    if [[ $line =~ ^\ \ (--[a-z-]+)(\[?=)? ]]; then
      options+=("${BASH_REMATCH[1]}")
      [[ -n ${BASH_REMATCH[2]} ]] && options+=("${BASH_REMATCH[1]}=")
    fi
  done <<<"$help"
  # "  diag1[:cancel]  ...", "  scan[:340|:680][:file|:memory]", "  scan:cancel  ..."
  while IFS= read -r line; do
    [[ $line =~ ^\ \ ([a-z0-9]+)([^\ ]*) ]] || continue
    name=${BASH_REMATCH[1]}
    rest=${BASH_REMATCH[2]}
    [[ -v arguments[$name] ]] || names+=("$name")
    arguments[$name]+=" $(grep -o ':[a-z0-9]*' <<<"$rest" | tr -d ':' | tr '\n' ' ')"
  done < <(_scan_fs_section "$help" "Batch commands:")
  local -a items
  read -r -a items <<<"$(_scan_fs_section "$help" "Simulator items" | tr '\n' ' ')"

  local -a candidates=()
  local value prefix
  if [[ $prev == --batch || $cur == --batch=* ]]; then
    # A comma-separated list of commands, each with its arguments after colons.
    prefix=${cur%"${cur#--batch=}"}
    value=${cur#--batch=}
    prefix+=${value%"${value##*,}"}
    item=${value##*,}
    if [[ $item == *:* ]]; then
      prefix+=${item%"${item##*:}"}
      for name in ${arguments[${item%%:*}]-}; do
        [[ $name == "${item##*:}"* ]] && candidates+=("$prefix$name")
      done
    else
      for name in "${names[@]}"; do
        [[ $name == "$item"* ]] && candidates+=("$prefix$name")
      done
    fi
    compopt -o nospace
  elif [[ $cur == --simulate=* ]]; then
    # A comma-separated list of ITEM=VALUE; the items are completed, their values are typed.
    value=${cur#--simulate=}
    prefix=--simulate=${value%"${value##*,}"}
    item=${value##*,}
    if [[ $item != *=* ]]; then
      for name in "${items[@]}"; do
        [[ $name == "$item"* ]] && candidates+=("$prefix$name=")
      done
    fi
    compopt -o nospace
  elif [[ $prev == --trace || $prev == --preview || $cur == --trace=* || $cur == --preview=* ||
          ($prev == --inspect && $cur != -*) || $cur == --inspect=* ]]; then
    cur=${cur#--*=}
    _filedir
    return
  else
    for name in "${options[@]}"; do
      [[ $name == "$cur"* ]] && candidates+=("$name")
    done
    [[ ${#candidates[@]} -eq 1 && ${candidates[0]} == *= ]] && compopt -o nospace
  fi

  # The shell replaces only what follows the last word-breaking '=' or ':' of the word.
  local breaks=${COMP_WORDBREAKS//[^=:]/}
  [[ -n $breaks ]] && prefix=${cur%"${cur##*[$breaks]}"} || prefix=
  COMPREPLY=("${candidates[@]#"$prefix"}")
}
complete -F _scan_fs scan_fs
