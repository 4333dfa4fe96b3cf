#include "stmt/stmt.h"

namespace tarvik {

OperandDescriptor read_operand_token(std::string_view text, std::size_t pos) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<std::uint8_t>(text[pos + i]);
  return static_cast<OperandDescriptor>(value);
}

void write_operand_token(ByteArray& text, std::size_t pos, OperandDescriptor descriptor) {
  const auto value = static_cast<std::uint32_t>(descriptor);
  for (std::size_t i = 0; i < 4; ++i) text[pos + i] = static_cast<char>(value >> (24 - 8 * i));
}

}  // namespace tarvik
