#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Whole-process cost of the dungeon program against a trivial program that
# writes the same number of bytes, over a sample of seeds:
#   bash bench/process_ratio.sh BUILD_DIR [SEEDS] [RUNS]
# Prints, per seed, the report size, both medians and their ratio, then the
# median ratio. Needs hyperfine and python3.
set -euo pipefail
build=${1:?usage: process_ratio.sh BUILD_DIR [SEEDS] [RUNS]}
seeds=${2:-25}
runs=${3:-300}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for ((i = 0; i < seeds; i++)); do
  seed=$((1700000000 + i * 104729))
  bytes=$("$build/bench/dungeon_at" "$seed" | wc -c || true)
  hyperfine -N -i --warmup 20 --runs "$runs" --export-json "$work/$seed.json" \
    "$build/bench/dungeon_at $seed" "$build/bench/trivial_writer $bytes" >/dev/null 2>&1
  echo "$seed $bytes $work/$seed.json"
done | python3 -c '
import json, statistics, sys
ratios = []
print("%10s %7s %10s %10s %6s" % ("seed", "bytes", "dungeon ms", "trivial ms", "ratio"))
for line in sys.stdin:
    seed, size, path = line.split()
    a, b = (statistics.median(r["times"]) * 1e3 for r in json.load(open(path))["results"])
    ratios.append(a / b)
    print(f"{seed:>10} {size:>7} {a:10.3f} {b:10.3f} {a / b:6.2f}")
print(f"median ratio {statistics.median(ratios):.2f}, worst {max(ratios):.2f}")
'
