// SPDX-License-Identifier: MIT
// Range tables: the rows of a random table as data. Each row holds the
// highest roll it covers; a roll belongs to the first row whose bound is not
// below it, so rows are written exactly as the printed tables read
// ("1-5", "6", "7-9" become bounds 5, 6, 9).
#ifndef DUNGEON_FRAMEWORK_RANGE_TABLE_H_
#define DUNGEON_FRAMEWORK_RANGE_TABLE_H_

#include <cassert>
#include <cstddef>
#include <span>

namespace dungeon {

template <typename T>
struct Row {
  int upto;
  T value;
};

// True when the bounds rise strictly and the last row ends at `faces`, so
// every roll of 1..faces falls in exactly one row. Checked at compile time
// next to each table.
template <typename T, std::size_t N>
constexpr bool covers_die(const Row<T> (&rows)[N], int faces) {
  int previous = 0;
  for (const Row<T>& row : rows) {
    if (row.upto <= previous) return false;
    previous = row.upto;
  }
  return previous == faces;
}

// REQUIRES: 1 <= roll <= the last row's bound.
template <typename T>
constexpr const T& look_up(std::span<const Row<T>> rows, int roll) {
  assert(roll >= 1 && roll <= rows.back().upto);
  for (const Row<T>& row : rows) {
    if (roll <= row.upto) return row.value;
  }
  return rows.back().value;
}

template <typename T, std::size_t N>
constexpr const T& look_up(const Row<T> (&rows)[N], int roll) {
  return look_up(std::span<const Row<T>>(rows), roll);
}

}  // namespace dungeon

#endif  // DUNGEON_FRAMEWORK_RANGE_TABLE_H_
