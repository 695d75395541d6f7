# bash completion for dungeon-atlas

_dungeon_atlas() {
  local cur prev command word
  COMPREPLY=()
  cur=${COMP_WORDS[COMP_CWORD]}
  prev=${COMP_WORDS[COMP_CWORD - 1]}

  # The first word after the program name that is a command.
  command=""
  for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
    case $word in
      show | map | scan) command=$word; break ;;
    esac
  done

  case $prev in
    -o | --output)
      COMPREPLY=($(compgen -f -- "$cur"))
      return
      ;;
    --format)
      case $command in
        show) COMPREPLY=($(compgen -W "text json" -- "$cur")) ;;
        map) COMPREPLY=($(compgen -W "dot svg png" -- "$cur")) ;;
        scan) COMPREPLY=($(compgen -W "csv json" -- "$cur")) ;;
      esac
      return
      ;;
    --seed | --level | --rooms | --deepest | --shard | --jobs)
      return  # a number or range the user knows
      ;;
  esac

  local options
  case $command in
    "") options="show map scan --help --version" ;;
    show) options="--seed --format -o --output --help" ;;
    map) options="--seed --format --level -o --output --help" ;;
    scan)
      options="--complete --rooms --deepest --format --shard --jobs --no-header -o --output --help"
      ;;
  esac
  COMPREPLY=($(compgen -W "$options" -- "$cur"))
}

complete -F _dungeon_atlas dungeon-atlas
