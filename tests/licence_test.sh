#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every source, script, CMake file and man page of the project names its
# licence in its first two lines, so a new file without it fails here.
#   licence_test.sh SOURCE_DIR
set -euo pipefail
cd "$1"
pattern='(\.(cc|h|in|py|sh|bash|cmake|6)$|(^|/)CMakeLists\.txt$|^\.ci/run$|^tests/run-all$)'
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  files=$(git ls-files)
else  # an unpacked source archive
  files=$(find . -path ./build -prune -o -type f -print | sed 's|^\./||')
fi
files=$(grep -E "$pattern" <<<"$files" | grep -v '^tests/data/' || true)
[[ -n $files ]] || { echo "licence test: no source files found in $1" >&2; exit 1; }
missing=0
while IFS= read -r file; do
  if ! head -n 2 "$file" | grep -q 'SPDX-License-Identifier: MIT'; then
    echo "no 'SPDX-License-Identifier: MIT' line at the top of $file" >&2
    missing=$((missing + 1))
  fi
done <<<"$files"
((missing == 0)) || { echo "licence test: $missing files lack the licence line" >&2; exit 1; }
echo "licence test: $(wc -l <<<"$files") files name the licence"
