// SPDX-License-Identifier: MIT
// Room texts kept out of the room records, packed one after another in a
// per-run arena. A record then holds a pointer and a length instead of a
// buffer sized for the longest text, so a run touches memory in proportion to
// what it writes rather than to the worst case of every room.
#ifndef DUNGEON_FRAMEWORK_TEXT_ARENA_H_
#define DUNGEON_FRAMEWORK_TEXT_ARENA_H_

#include <cassert>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace dungeon {

// A text that lives in a TextArena; empty until the arena writes it.
class ArenaText {
 public:
  std::string_view view() const { return {data_, size_}; }
  bool empty() const { return size_ == 0; }

 private:
  template <std::size_t>
  friend class TextArena;

  const char* data_ = "";
  std::size_t size_ = 0;
};

template <std::size_t Capacity>
class TextArena {
 public:
  // Texts written before are forgotten; their ArenaTexts must not be read.
  void clear() { used_ = 0; }

  void assign(ArenaText& text, std::string_view s) {
    text = ArenaText{};
    append(text, s);
  }

  // Texts grow in place while they are the last one written, which is how
  // rooms are filled: one at a time. Should an older text grow, it moves to
  // the end first. When the arena is full, what fits is kept.
  void append(ArenaText& text, std::string_view s) {
    if (text.empty() || text.data_ + text.size_ != data_ + used_) {
      const std::string_view old = text.view();
      text.data_ = data_ + used_;
      text.size_ = 0;
      grow(text, old);
    }
    grow(text, s);
  }

  std::size_t used() const { return used_; }

 private:
  // REQUIRES: `text` ends where the arena's used part ends.
  void grow(ArenaText& text, std::string_view s) {
    assert(text.data_ + text.size_ == data_ + used_);
    const std::size_t n = s.size() < Capacity - used_ ? s.size() : Capacity - used_;
    std::memmove(data_ + used_, s.data(), n);
    used_ += n;
    text.size_ += n;
  }

  std::size_t used_ = 0;
  char data_[Capacity];
};

}  // namespace dungeon

#endif  // DUNGEON_FRAMEWORK_TEXT_ARENA_H_
