#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Shards run as separate jobs under a job runner (GNU parallel, as
# docs/dungeon-atlas.md shows it), joined with the sort the docs give, are
# the plain scan byte for byte, and leave nothing but their parts.
#   job_runner_test.sh DUNGEON_ATLAS
set -euo pipefail
atlas=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "job runner test: $*" >&2; exit 1; }
cd "$work"

range=4000..5999 shards=7
"$atlas" scan $range --complete --no-header >whole.csv
mkdir parts && cd parts
parallel "$atlas" scan $range --complete --shard {}/$shards --no-header --jobs 1 -o part-{}.csv \
  ::: $(seq 0 $((shards - 1))) || fail "a shard failed"
[[ $(ls -A) == "$(printf 'part-%s.csv\n' $(seq 0 $((shards - 1))))" ]] || fail "left: $(ls -A)"
sort -t, -k1,1n part-*.csv >../joined.csv
cd ..
[[ -s whole.csv ]] || fail "the plain scan found nothing"
cmp whole.csv joined.csv || fail "the joined parts differ from the plain scan"
echo "job runner test: $shards parts joined to $(wc -l <whole.csv) rows"
