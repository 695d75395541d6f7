// SPDX-License-Identifier: MIT
// A zero-terminated text in a fixed-size buffer, for working texts that must
// not allocate (a cave's feature text while it is rolled). Appends that would overflow keep what
// fits instead of writing past the end; the tables' texts are far shorter than every capacity, so
// in a run nothing is ever cut.
#ifndef DUNGEON_FRAMEWORK_FIXED_TEXT_H_
#define DUNGEON_FRAMEWORK_FIXED_TEXT_H_

#include <cstddef>
#include <cstring>
#include <string_view>

namespace dungeon {

template <std::size_t Capacity>
class FixedText {
  static_assert(Capacity > 0);

 public:
  // Only the terminator is written: clearing the whole buffer would be work
  // for nothing.
  FixedText() { data_[0] = '\0'; }

  void clear() {
    size_ = 0;
    data_[0] = '\0';
  }
  void assign(std::string_view text) {
    clear();
    append(text);
  }
  void append(std::string_view text) {
    const std::size_t room = Capacity - 1 - size_;
    const std::size_t n = text.size() < room ? text.size() : room;
    std::memcpy(data_ + size_, text.data(), n);
    size_ += n;
    data_[size_] = '\0';
  }

  std::string_view view() const { return {data_, size_}; }
  bool empty() const { return size_ == 0; }
  std::size_t size() const { return size_; }
  static constexpr std::size_t capacity() { return Capacity - 1; }

 private:
  std::size_t size_ = 0;
  char data_[Capacity];
};

}  // namespace dungeon

#endif  // DUNGEON_FRAMEWORK_FIXED_TEXT_H_
