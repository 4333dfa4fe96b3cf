// Which bytes of a text are not blanks, so that the evaluator skips and re-blanks long runs
// of blanks at no cost.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tarvik::expr {

class TextIndex {
 public:
  void reset(std::string_view text);
  // Byte pos of the text is now `byte`.
  void update(std::int32_t pos, char byte);
  // The first non-blank byte at or after `from`, or the text's size.
  std::int32_t next_non_blank(std::int32_t from) const;

 private:
  void set(std::int32_t pos, bool non_blank);

  // Bit i of layer 0 is byte i; bit i of each layer above says whether word i below has a bit.
  std::vector<std::vector<std::uint64_t>> layers_;
  std::int32_t size_ = 0;
};

}  // namespace tarvik::expr
