// SPDX-License-Identifier: MIT
#include "atlas/plan/layout/plan_grid.h"

#include <algorithm>

namespace atlas {
namespace {

constexpr uint16_t kOpen = 30000;

}  // namespace

uint8_t& CellGrid::cell(int i, int j) {
  if (i < area_.i0 || i > area_.i1 || j < area_.j0 || j > area_.j1) {
    grow_to({std::min(i, area_.empty() ? i : area_.i0), std::min(j, area_.empty() ? j : area_.j0),
             std::max(i, area_.empty() ? i : area_.i1), std::max(j, area_.empty() ? j : area_.j1)});
  }
  return cells_[at(i, j)];
}

void CellGrid::refresh(int j, int i_lo, int i_hi) {
  for (int i = i_hi; i >= area_.i0; --i) {
    const uint16_t beyond = i == area_.i1 ? kOpen : free_[at(i + 1, j)];
    const uint16_t now =
        blocks(cells_[at(i, j)]) ? 0 : static_cast<uint16_t>(std::min<int>(beyond + 1, kOpen));
    if (i < i_lo && now == free_[at(i, j)]) break;
    free_[at(i, j)] = now;
  }
}

void CellGrid::reserve(int i, int j) {
  cell(i, j) |= kReservedBit;
  refresh(j, i, i);
}

void CellGrid::release(int i, int j) {
  if (i < area_.i0 || i > area_.i1 || j < area_.j0 || j > area_.j1) return;
  cells_[at(i, j)] &= static_cast<uint8_t>(~kReservedBit);
  refresh(j, i, i);
}

// Grows by half again in every direction it needs, so a level that spreads
// one room at a time copies its map only a few times.
void CellGrid::grow_to(const CellBox& want) {
  CellBox next = want;
  if (!area_.empty()) {
    const int slack_i = (area_.i1 - area_.i0 + 1) / 2 + 16;
    const int slack_j = (area_.j1 - area_.j0 + 1) / 2 + 16;
    if (want.i0 < area_.i0) next.i0 = std::min(want.i0, area_.i0 - slack_i);
    if (want.i1 > area_.i1) next.i1 = std::max(want.i1, area_.i1 + slack_i);
    if (want.j0 < area_.j0) next.j0 = std::min(want.j0, area_.j0 - slack_j);
    if (want.j1 > area_.j1) next.j1 = std::max(want.j1, area_.j1 + slack_j);
  } else {
    next = {want.i0 - 32, want.j0 - 32, want.i1 + 32, want.j1 + 32};
  }
  const int width = next.i1 - next.i0 + 1;
  std::vector<uint8_t> cells(static_cast<std::size_t>(width) *
                             static_cast<std::size_t>(next.j1 - next.j0 + 1));
  for (int j = area_.j0; j <= area_.j1 && !area_.empty(); ++j) {
    for (int i = area_.i0; i <= area_.i1; ++i) {
      cells[static_cast<std::size_t>((j - next.j0) * width + (i - next.i0))] = get(i, j);
    }
  }
  cells_ = std::move(cells);
  area_ = next;
  free_.assign(cells_.size(), 0);
  for (int j = area_.j0; j <= area_.j1; ++j) refresh(j, area_.i0, area_.i1);
}

void CellGrid::note_used(int i, int j) {
  if (used_.empty()) {
    used_ = {i, j, i, j};
    return;
  }
  used_.i0 = std::min(used_.i0, i);
  used_.j0 = std::min(used_.j0, j);
  used_.i1 = std::max(used_.i1, i);
  used_.j1 = std::max(used_.j1, j);
}

void CellGrid::add_room(const CellBox& box) {
  cell(box.i0 - 1, box.j0 - 1);
  cell(box.i1 + 1, box.j1 + 1);
  for (int j = box.j0 - 1; j <= box.j1 + 1; ++j) {
    for (int i = box.i0 - 1; i <= box.i1 + 1; ++i) {
      const bool inside = i >= box.i0 && i <= box.i1 && j >= box.j0 && j <= box.j1;
      cell(i, j) |= inside ? kRoomBit : kRingBit;
    }
  }
  for (int j = box.j0; j <= box.j1; ++j) refresh(j, box.i0, box.i1);
  note_used(box.i0, box.j0);
  note_used(box.i1, box.j1);
}

void CellGrid::add_run(int i, int j, Run run) {
  uint8_t& c = cell(i, j);
  const Run before = static_cast<Run>(c >> kRunShift);
  const Run after = before == Run::kNone ? run : Run::kOther;
  c = static_cast<uint8_t>((c & (kRoomBit | kRingBit | kReservedBit)) |
                           (static_cast<uint8_t>(after) << kRunShift));
  refresh(j, i, i);
  note_used(i, j);
}

bool CellGrid::clear(const CellBox& box) const {
  const int i0 = std::max(box.i0, area_.i0);
  if (i0 > box.i1 || box.i0 > area_.i1) return true;  // wholly outside the stored cells
  const int need = std::min(box.i1, area_.i1) - i0 + 1;
  for (int j = std::max(box.j0, area_.j0); j <= std::min(box.j1, area_.j1); ++j) {
    if (free_[at(i0, j)] < need) return false;
  }
  return true;
}

}  // namespace atlas
