# SPDX-License-Identifier: MIT
# bash completion for dungeon-atlas

# A command is one line in each table: its options, and its formats.
declare -gA _dungeon_atlas_options=(
  [show]="--seed --format -o --output --help"
  [map]="--seed --format --level -o --output --help"
  [plan]="--seed --format --level --player --numbers --grid --px-per-square --scale -o --output --help"
  [book]="--seed --player --numbers --scale -o --output --help"
  [scan]="--complete --rooms --deepest --format --shard --jobs --no-header -o --output --help"
)
declare -gA _dungeon_atlas_formats=(
  [show]="text json"
  [map]="dot svg png"
  [plan]="svg png json uvtt"
  [scan]="csv json"
)

_dungeon_atlas() {
  local cur prev words cword split
  _init_completion -s || return

  # The first word after the program name that is a command.
  local command="" word
  for word in "${words[@]:1:cword-1}"; do
    if [[ -v _dungeon_atlas_options[$word] ]]; then
      command=$word
      break
    fi
  done

  case $prev in
    -o | --output)
      _filedir
      return
      ;;
    --format)
      COMPREPLY=($(compgen -W "${_dungeon_atlas_formats[$command]}" -- "$cur"))
      return
      ;;
    --grid)
      COMPREPLY=($(compgen -W "none 5 10" -- "$cur"))
      return
      ;;
    --scale)
      COMPREPLY=($(compgen -W "fit battle" -- "$cur")) # or millimetres to 10 feet
      return
      ;;
    --seed | --level | --rooms | --deepest | --shard | --jobs | --px-per-square)
      return # a number or range the user knows
      ;;
  esac
  $split && return

  if [[ -z $command ]]; then
    COMPREPLY=($(compgen -W "${!_dungeon_atlas_options[*]} --help --version" -- "$cur"))
    return
  fi

  # Options already given are not offered again; -o and --output are one.
  local option offered=""
  for option in ${_dungeon_atlas_options[$command]}; do
    for word in "${words[@]:1:cword-1}"; do
      case $word in
        "$option" | "$option"=*) continue 2 ;;
        -o) [[ $option == --output ]] && continue 2 ;;
        --output | --output=*) [[ $option == -o ]] && continue 2 ;;
      esac
    done
    offered+=" $option"
  done
  COMPREPLY=($(compgen -W "$offered" -- "$cur"))
} &&
  complete -F _dungeon_atlas dungeon-atlas
