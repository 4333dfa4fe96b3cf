#include "expr/text_index.h"

#include <bit>

namespace tarvik::expr {

void TextIndex::reset(std::string_view text) {
  size_ = static_cast<std::int32_t>(text.size());
  layers_.clear();
  std::size_t bits = text.size();
  do {
    layers_.emplace_back((bits + 63) / 64, 0);
    bits = (bits + 63) / 64;
  } while (bits > 1);
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] != ' ') set(static_cast<std::int32_t>(i), true);
}

void TextIndex::update(std::int32_t pos, char byte) { set(pos, byte != ' '); }

void TextIndex::set(std::int32_t pos, bool non_blank) {
  std::uint64_t index = static_cast<std::uint64_t>(pos);
  for (auto& layer : layers_) {
    std::uint64_t& word = layer[index / 64];
    const std::uint64_t bit = std::uint64_t{1} << (index % 64);
    const bool was_empty = word == 0;
    if (non_blank) word |= bit;
    else word &= ~bit;
    // The layers above change only when this word turns empty or stops being empty.
    if (was_empty == (word == 0)) return;
    non_blank = word != 0;
    index /= 64;
  }
}

std::int32_t TextIndex::next_non_blank(std::int32_t from) const {
  if (from >= size_) return size_;
  std::uint64_t index = static_cast<std::uint64_t>(from);
  std::size_t layer = 0;
  // Climb until a word holds a bit at or after the index, then descend to its lowest bit.
  for (;;) {
    const auto& words = layers_[layer];
    const std::uint64_t word_index = index / 64;
    if (word_index < words.size()) {
      const std::uint64_t rest = words[word_index] & (~std::uint64_t{0} << (index % 64));
      if (rest != 0) {
        index = word_index * 64 + static_cast<std::uint64_t>(std::countr_zero(rest));
        break;
      }
    }
    if (layer + 1 == layers_.size()) return size_;
    ++layer;
    index = word_index + 1;
  }
  while (layer > 0) {
    --layer;
    index = index * 64 + static_cast<std::uint64_t>(std::countr_zero(layers_[layer][index]));
  }
  return static_cast<std::int32_t>(index);
}

}  // namespace tarvik::expr
