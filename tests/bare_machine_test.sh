#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The README's first command on a machine with nothing but a compiler and
# CMake: the libraries of the tests, the benchmarks and the atlas are hidden
# from CMake. Configuration names what to install, in one line each, and
# `dungeon` builds and runs. Asking for the tests turns the same into an error.
#   bare_machine_test.sh SOURCE_DIR
set -euo pipefail
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "bare machine test: $*" >&2; exit 1; }

hidden=(-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
        -DCMAKE_DISABLE_FIND_PACKAGE_CLI11=ON)
configure() {
  env -u CXXFLAGS -u LDFLAGS cmake -S "$source" -B "$1" -DCMAKE_BUILD_TYPE=Release \
    -DDUNGEON_WERROR=ON "${hidden[@]}" "${@:2}"
}

configure "$work/build" >"$work/configure.log" 2>&1 ||
  { cat "$work/configure.log" >&2; fail "configuration failed"; }
grep -qx "Skipping the tests and the benchmarks: install their libraries with: apt-get install\
 libgtest-dev libbenchmark-dev" "$work/configure.log" || { cat "$work/configure.log" >&2; fail "no line naming the test libraries"; }
grep -q "apt-get install libcli11-dev" "$work/configure.log" || fail "no line naming the atlas's libraries"

cmake --build "$work/build" --target dungeon -j2 >"$work/build.log" 2>&1 ||
  { cat "$work/build.log" >&2; fail "dungeon did not build"; }
status=0
"$work/build/dungeon" >"$work/report.txt" || status=$?
[[ $status == 0 || $status == 156 ]] || fail "dungeon exited with $status"
[[ $(head -n 1 "$work/report.txt") == $'Room Level: 1\tRoom Number 1' ]] || fail "dungeon report"

if configure "$work/strict" -DDUNGEON_REQUIRE_TESTS=ON >"$work/strict.log" 2>&1; then
  fail "DUNGEON_REQUIRE_TESTS=ON configured without the test libraries"
fi
grep -q "libgtest-dev" "$work/strict.log" || fail "the error does not name libgtest-dev"
echo "bare machine test: passed"
