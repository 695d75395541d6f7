#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package from a finished build, checks it with lintian,
# unpacks it into a scratch root and checks what a user gets: both programs
# run from there, the man pages render, the completion loads where
# bash-completion looks for it.
#   package_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1 source=$2 version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package test: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
debs=("$work"/out/*.deb)
[[ ${#debs[@]} == 1 && -f ${debs[0]} ]] || fail "expected one .deb, got: ${debs[*]}"
deb=${debs[0]}

# Control fields: the project's single version, dependencies found from the
# binaries (the C++ runtime, and the Graphviz, Clipper and libpng libraries
# the atlas links).
[[ $(dpkg-deb -f "$deb" Package) == dungeon ]] || fail "package name"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "version $(dpkg-deb -f "$deb" Version)"
[[ $(dpkg-deb -f "$deb" Section) == games ]] || fail "section"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libstdc++6 libgvc6 libpolyclipping22 libpng16-16 libc6; do
  [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done

# Debian's own checks: no error and no warning. Lintian would rather not run
# as root, so it runs as nobody where it can.
lintian=(lintian --fail-on error,warning)
if [[ $(id -u) == 0 ]] && id nobody >/dev/null 2>&1; then
  chmod a+rx "$work" "$work/out" && chmod a+r "$deb"
  lintian=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups env HOME=/tmp "${lintian[@]}")
fi
"${lintian[@]}" "$deb" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log" >&2; fail "lintian"; }

root=$work/root
dpkg-deb -x "$deb" "$root"
bin=$root/usr/games
share=$root/usr/share

# The programs, run from the scratch root.
status=0
"$bin/dungeon" >"$work/report.txt" || status=$?
[[ $status == 0 || $status == 156 ]] || fail "dungeon exited with $status"
[[ $(head -n 1 "$work/report.txt") == $'Room Level: 1\tRoom Number 1' ]] || fail "dungeon report"
[[ $("$bin/dungeon-atlas" --version) == "dungeon-atlas $version" ]] || fail "atlas --version"
"$bin/dungeon-atlas" show --seed 7 | cmp - "$source/tests/data/7.txt" || fail "atlas show --seed 7"

# Documentation: every file of docs/ beside the README, which points at them.
for doc in README.md copyright changelog.gz $(cd "$source" && ls docs/*); do
  [[ -s $share/doc/dungeon/$doc ]] || fail "missing doc $doc"
done
description=$(dpkg-deb -f "$deb" Description)
for word in "floor plans" book; do
  [[ $description == *"$word"* ]] || fail "the description does not mention $word"
done

# The licence, where Debian looks for it, in its machine-readable form.
grep -q '^License: Expat$' "$share/doc/dungeon/copyright" || fail "copyright names no licence"
grep -q 'Permission is hereby granted' "$share/doc/dungeon/copyright" || fail "licence text missing"

# Man pages in section 6: they render, with the version filled in, and groff
# finds nothing to warn about.
for page in dungeon dungeon-atlas; do
  file=$share/man/man6/$page.6.gz
  [[ -f $file ]] || fail "missing man page $page.6.gz"
  rendered=$(MANWIDTH=80 man -l "$file" 2>"$work/man.err")
  [[ ! -s $work/man.err ]] || fail "man -l $page.6: $(cat "$work/man.err")"
  for section in NAME SYNOPSIS DESCRIPTION "EXIT STATUS" EXAMPLES "SEE ALSO"; do
    grep -q "^$section" <<<"$rendered" || fail "$page.6 has no $section section"
  done
  grep -q "dungeon $version" <<<"$rendered" || fail "$page.6 lacks the version"
  warnings=$(zcat "$file" | groff -man -Tutf8 -ww -z 2>&1)
  [[ -z $warnings ]] || fail "$page.6: $warnings"
done

# Completion: bash-completion finds it on demand among the data folders.
# Each case is the words as bash splits the line (with "=" a word of its
# own), then what must be offered, sorted.
mkdir "$work/files" "$work/files/folder" && touch "$work/files/my out.csv"
(cd "$work/files" && XDG_DATA_DIRS=$share bash --norc --noprofile -c '
  source /usr/share/bash-completion/bash_completion || exit 1
  __load_completion dungeon-atlas || exit 2
  complete -p dungeon-atlas | grep -q _dungeon_atlas || exit 3
  # Outside an interactive shell compopt has no completion to act on.
  compopt() { options+=" $*"; }
  offers() {
    local expected=$1 words
    shift
    COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMP_LINE="$*"
    COMP_LINE=${COMP_LINE// = /=} COMP_POINT=${#COMP_LINE}
    COMPREPLY=() options=""
    _dungeon_atlas
    words=$(printf "%s\n" "${COMPREPLY[@]}" | sort | paste -sd "|")
    [[ $words == "$expected" ]] || { echo "${COMP_LINE@Q}: ${words@Q}" >&2; exit 4; }
  }
  offers "--help|--version|book|map|plan|scan|show" dungeon-atlas ""
  offers "dot|png|svg" dungeon-atlas map --format ""
  offers "csv|json" dungeon-atlas scan --format = ""
  offers "json|png|svg|uvtt" dungeon-atlas plan --format ""
  offers "--help|--numbers|--output|--player|--scale|-o" dungeon-atlas book --seed 3 -
  offers "battle|fit" dungeon-atlas book --scale ""
  offers "10|5|none" dungeon-atlas plan --player --grid ""
  offers "--grid|--help|--level|--numbers|--output|--px-per-square|--scale|--seed" \
    dungeon-atlas plan --player --format png --
  offers "json" dungeon-atlas show --format = j
  offers "--help|--output|-o" dungeon-atlas show --seed 3 --format json -
  offers "--deepest|--format|--help|--jobs|--no-header|--rooms|--shard" \
    dungeon-atlas scan 0..9 --output x --complete --
  # Files as single words, folders to go into.
  offers "my out.csv" dungeon-atlas scan -o my
  offers "folder" dungeon-atlas map --output fo
  [[ $options == *filenames* ]] || { echo "folders would get no /" >&2; exit 5; }
') || fail "bash completion (step $?)"

echo "package test: $(basename "$deb") passed"
