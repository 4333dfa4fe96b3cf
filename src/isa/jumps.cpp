#include "isa/isa.h"

namespace tarvik {

void patch_jump_target(std::int32_t word, std::int32_t target) {
  // A stale list (from an earlier compile) or a bad position must never write outside the image.
  const auto first = static_cast<std::int64_t>(word);
  if (first < 0 || first + 2 >= static_cast<std::int64_t>(g_rom_low_bytes.size())) return;
  g_rom_low_bytes[word] = static_cast<char>(high_byte(target));
  g_rom_low_bytes[word + 1] = static_cast<char>(middle_byte(target));
  g_rom_low_bytes[word + 2] = static_cast<char>(low_byte(target));
}

void patch_jump_list(const JumpList& list, std::int32_t target) {
  for (std::size_t o = 0; o + 3 <= list.size(); o += 3) {
    const auto byte = [&](std::size_t i) { return static_cast<std::int32_t>(static_cast<std::uint8_t>(list[o + i])); };
    patch_jump_target(byte(0) + 256 * byte(1) + 65536 * byte(2), target);
  }
}

}  // namespace tarvik
