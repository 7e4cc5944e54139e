# bash completion for ssftool.
#
# The commands, their options and what each argument is are read from `ssftool --help`
# at completion time, so a new command or option completes without touching this file.
# An argument named with an extension (THEME.ssf, FILE.rxt, OUT.res) completes files of
# that extension; one without (IN, OUT, FILE...) any file; a word list (get, 1|2|3) those
# words; MODEL the phone models of `ssftool maps`.

# The help text of the program being completed; ~ is not expanded in COMP_WORDS.
_ssftool_help() {
  local prog=${1/#\~/$HOME}
  "$prog" --help 2>/dev/null
}

# Completes files whose names end in one of the extensions (any case), plus folders.
_ssftool_files() {
  local cur=$1; shift
  local f lower ext
  while IFS= read -r f; do
    if [[ -d $f ]]; then
      COMPREPLY+=("$f")
      continue
    fi
    if (($# == 0)); then
      COMPREPLY+=("$f")
      continue
    fi
    lower=${f,,}
    for ext in "$@"; do
      if [[ $lower == *."${ext,,}" ]]; then
        COMPREPLY+=("$f")
        break
      fi
    done
  done < <(compgen -f -- "$cur")
}

# Completes what one argument name of the help stands for.
_ssftool_kind() {
  local prog=$1 kind=$2 cur=$3; shift 3
  local maps=("$@")
  kind=${kind//[\[\]();]/}
  kind=${kind%...}
  case $kind in
    MODEL)
      local models
      models=$("${prog/#\~/$HOME}" "${maps[@]}" maps 2>/dev/null | cut -f1)
      COMPREPLY+=($(compgen -W "$models" -- "$cur"))
      ;;
    DIR)
      compopt -o filenames 2>/dev/null
      COMPREPLY+=($(compgen -d -- "$cur"))
      ;;
    IN | OUT | FILE | FILES | SCHEME)
      compopt -o filenames 2>/dev/null
      _ssftool_files "$cur"
      ;;
    *.*)
      # THEME.ssf, OUT.res, IN.bmp|.png|.jpg: the extensions after each dot.
      local exts=() part parts
      IFS='|' read -ra parts <<<"$kind"
      for part in "${parts[@]}"; do exts+=("${part##*.}"); done
      compopt -o filenames 2>/dev/null
      _ssftool_files "$cur" "${exts[@]}"
      ;;
    *)
      # get, decode|encode|info, 1|2|3: the words themselves. Other names (INDEX, WxH,
      # A) are values to type.
      if [[ $kind =~ ^[a-z0-9]+(\|[a-z0-9]+)*$ ]]; then
        COMPREPLY+=($(compgen -W "${kind//|/ }" -- "$cur"))
      fi
      ;;
  esac
}

_ssftool() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  local prog=${COMP_WORDS[0]}
  COMPREPLY=()

  # Options before the command; --maps DIR is passed on to `ssftool maps`.
  local i=1 cmd='' maps=()
  while ((i < COMP_CWORD)); do
    case ${COMP_WORDS[i]} in
      --maps) maps=(--maps "${COMP_WORDS[i + 1]}"); ((i += 2)) ;;
      -*) ((i++)) ;;
      *) cmd=${COMP_WORDS[i]}; break ;;
    esac
  done

  local help commands
  help=$(_ssftool_help "$prog") || return 0
  commands=$(sed -n '/^Команды:$/,$ s/^  \([a-z][a-z0-9-]*\).*/\1/p' <<<"$help")

  if [[ -z $cmd ]]; then
    if [[ ${COMP_WORDS[COMP_CWORD - 1]} == --maps ]]; then
      compopt -o filenames 2>/dev/null
      COMPREPLY=($(compgen -d -- "$cur"))
    elif [[ $cur == -* ]]; then
      COMPREPLY=($(compgen -W "--maps --help --version" -- "$cur"))
    else
      COMPREPLY=($(compgen -W "$commands" -- "$cur"))
    fi
    return 0
  fi
  [[ $'\n'$commands$'\n' == *$'\n'$cmd$'\n'* ]] || return 0

  # The command's usage line and its description below it.
  local usage text
  usage=$(sed -n "/^Команды:\$/,\$ s/^  $cmd\( \(.*\)\)\{0,1\}\$/\2/p" <<<"$help")
  text="$usage $(sed -n "/^Команды:\$/,\$ { /^  $cmd\( \|\$\)/ { n; p } }" <<<"$help")"
  local -a raw
  read -ra raw <<<"$text"

  # Each option once, with the argument name it takes ("" for a switch).
  local -A takes=()
  local -a opts=()
  local n=${#raw[@]} tok name next j
  for ((j = 0; j < n; j++)); do
    tok=${raw[j]}
    name=${tok//[\[\]();]/}
    [[ $name == -* && $name != - && -z ${takes[$name]+x} ]] || continue
    opts+=("$name")
    next=${raw[j + 1]}
    if [[ $tok != *[\]\)] && -n $next && $next != -* && $next != '|' && $next != '[-'* ]]; then
      takes[$name]=$next
    else
      takes[$name]=''
    fi
  done

  local prev=${COMP_WORDS[COMP_CWORD - 1]}
  if [[ -n ${takes[$prev]} ]]; then
    _ssftool_kind "$prog" "${takes[$prev]}" "$cur" "${maps[@]}"
    return 0
  fi
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "${opts[*]}" -- "$cur"))
    return 0
  fi

  # The usage's arguments by position: options with their values left out; alternatives
  # "a X | b Y | c" after a common start stand at the same positions.
  local -a usage_raw positional=()
  read -ra usage_raw <<<"$usage"
  local alt_start=-1 pos=0 skip=0
  n=${#usage_raw[@]}
  for ((j = 0; j < n; j++)); do
    tok=${usage_raw[j]}
    name=${tok//[\[\]()]/}
    if ((skip)); then skip=0; continue; fi
    if [[ $name == -* ]]; then
      [[ -n ${takes[$name]} ]] && skip=1
      continue
    fi
    if [[ $name == '|' || -z $name ]]; then
      ((pos > 0 && alt_start < 0)) && alt_start=$((pos - 1))
      ((alt_start >= 0)) && pos=$alt_start
      continue
    fi
    # The first alternative starts at its first word (a keyword such as "get").
    if ((alt_start < 0)) && [[ $name =~ ^[a-z]+$ ]]; then alt_start=$pos; fi
    positional[pos]+="${positional[pos]:+|}$name"
    ((pos++))
  done

  # Which argument the cursor is on.
  local at=0 w
  for ((j = i + 1; j < COMP_CWORD; j++)); do
    w=${COMP_WORDS[j]}
    if [[ $w == -* ]]; then
      [[ -n ${takes[$w]} ]] && ((j++))
      continue
    fi
    ((at++))
  done
  local last=$((${#positional[@]} - 1))
  ((last < 0)) && return 0
  if ((at > last)) && [[ ${positional[last]} == *... ]]; then at=$last; fi
  ((at > last)) && return 0

  # One position may hold several kinds ("get|set|clear", "OUT|FILE").
  local kinds part
  IFS='|' read -ra kinds <<<"${positional[at]}"
  local words='' others=()
  for part in "${kinds[@]}"; do
    if [[ $part =~ ^[a-z0-9]+$ ]]; then words+=" $part"; else others+=("$part"); fi
  done
  [[ -n $words ]] && COMPREPLY+=($(compgen -W "$words" -- "$cur"))
  for part in "${others[@]}"; do _ssftool_kind "$prog" "$part" "$cur" "${maps[@]}"; done
  # "OUT|FILE" lists the same files twice.
  if ((${#COMPREPLY[@]} > 1)); then
    mapfile -t COMPREPLY < <(printf '%s\n' "${COMPREPLY[@]}" | sort -u)
  fi
  return 0
}

complete -F _ssftool ssftool
