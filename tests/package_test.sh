#!/usr/bin/env bash
# Builds the Debian package from a finished build, unpacks it into a scratch
# root and checks what a user gets: both programs run from there, the man
# pages render, the completion loads where bash-completion looks for it.
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
# binaries (the C++ runtime, and the Graphviz library the atlas links).
[[ $(dpkg-deb -f "$deb" Package) == dungeon ]] || fail "package name"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "version $(dpkg-deb -f "$deb" Version)"
[[ $(dpkg-deb -f "$deb" Section) == games ]] || fail "section"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libstdc++6 libgvc6 libc6; do
  [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
bin=$root/usr/bin
share=$root/usr/share

# The programs, run from the scratch root.
status=0
"$bin/dungeon" >"$work/report.txt" || status=$?
[[ $status == 0 || $status == 156 ]] || fail "dungeon exited with $status"
[[ $(head -n 1 "$work/report.txt") == $'Room Level: 1\tRoom Number 1' ]] || fail "dungeon report"
[[ $("$bin/dungeon-atlas" --version) == "dungeon-atlas $version" ]] || fail "atlas --version"
"$bin/dungeon-atlas" show --seed 7 | cmp - "$source/tests/data/7.txt" || fail "atlas show --seed 7"

# Documentation.
for doc in README.md dungeon-atlas.schema.json dungeon-atlas-plan.schema.json; do
  [[ -s $share/doc/dungeon/$doc ]] || fail "missing doc $doc"
done

# Man pages in section 6: they render, with the version filled in, and groff
# finds nothing to warn about.
for page in dungeon dungeon-atlas; do
  file=$share/man/man6/$page.6
  [[ -f $file ]] || fail "missing man page $page.6"
  rendered=$(MANWIDTH=80 man -l "$file" 2>"$work/man.err")
  [[ ! -s $work/man.err ]] || fail "man -l $page.6: $(cat "$work/man.err")"
  for section in NAME SYNOPSIS DESCRIPTION "EXIT STATUS" EXAMPLES "SEE ALSO"; do
    grep -q "^$section" <<<"$rendered" || fail "$page.6 has no $section section"
  done
  grep -q "dungeon $version" <<<"$rendered" || fail "$page.6 lacks the version"
  warnings=$(groff -man -Tutf8 -ww -z "$file" 2>&1)
  [[ -z $warnings ]] || fail "$page.6: $warnings"
done

# Completion: bash-completion finds it on demand among the data folders and
# offers the commands and each command's formats.
XDG_DATA_DIRS=$share bash --norc --noprofile -c '
  source /usr/share/bash-completion/bash_completion || exit 1
  __load_completion dungeon-atlas || exit 2
  complete -p dungeon-atlas | grep -q _dungeon_atlas || exit 3
  COMP_WORDS=(dungeon-atlas ""); COMP_CWORD=1; _dungeon_atlas
  [[ ${COMPREPLY[*]} == "show map scan --help --version" ]] || exit 4
  COMP_WORDS=(dungeon-atlas map --format ""); COMP_CWORD=3; _dungeon_atlas
  [[ ${COMPREPLY[*]} == "dot svg png" ]] || exit 5
' || fail "bash completion (step $?)"

echo "package test: $(basename "$deb") passed"
