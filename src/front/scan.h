// Byte classes, word readers and RAM arithmetic shared by the scanners of this folder.
#pragma once

#include <cstdint>

#include "app/app.h"
#include "front/front.h"

namespace tarvik {

// After the type words: "*" or "**" (no blank between the two), then the name. Sets type to
// the base type with its stars; false, with name empty, when no name starts there.
bool read_stars_and_name(const Text& base_type, Text& type, ByteArray& name);

// Skips blanks and comments and steps past `c` when it stands there.
bool skip_to(char c);

// Addresses are 24 bits: an address or RAM pointer with any of these bits set is out of range.
inline constexpr std::uint32_t RAM_ADDRESS_LIMIT_MASK = 0xFF000000;
inline bool ram_address_out_of_range(std::int32_t address) {
  return (static_cast<std::uint32_t>(address) & RAM_ADDRESS_LIMIT_MASK) != 0;
}
// Moves g_ram_next up by `bytes`, wrapping like the 32-bit integer it is.
inline void advance_ram(std::int64_t bytes) {
  g_ram_next = static_cast<std::int32_t>(static_cast<std::uint32_t>(g_ram_next) + static_cast<std::uint32_t>(bytes));
}

// Bytes of a variable, element or parameter of this type that is no array: 1, 2 or 4 for
// the base types, POINTER_SIZE for everything else.
inline constexpr std::int32_t POINTER_SIZE = 3;
std::int32_t scalar_size(std::string_view type);

// The words after "unsigned" or "signed", which the caller has read.
struct TypeWordErrors {
  std::string_view after_unsigned, after_signed, after_long;
};
struct TypeWords {
  Text type;   // the base type, when error is empty
  Text error;
};
TypeWords read_signed_type(bool is_unsigned, const TypeWordErrors& errors);
// After "long": blanks, then the word "int".
TypeWords read_long_int(std::string_view base, const TypeWordErrors& errors);

}  // namespace tarvik
