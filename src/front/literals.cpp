#include "front/front.h"
#include "front/scan.h"

namespace tarvik {

namespace {

bool is_octal_digit(std::uint8_t c) { return c >= '0' && c <= '7'; }
bool is_hex_digit(std::uint8_t c) { return is_digit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

constexpr std::uint64_t LARGEST_VALUE = 0xFFFFFFFF;

// The run of digits from g_scan_pos in the given base, the position moved past it. Returns
// false, with the position at `start`, when the run is longer than `max_digits` or its value
// does not fit 32 bits.
bool read_digit_run(std::int32_t start, int base, bool (*is_base_digit)(std::uint8_t), int max_digits, std::int32_t& value) {
  std::uint64_t total = 0;
  int digits = 0;
  bool fits = true;
  for (; is_base_digit(current_byte()); ++g_scan_pos, ++digits) {
    if (!fits) continue;
    total = total * base + static_cast<std::uint64_t>(get_hex_digit_value(Text(1, static_cast<char>(current_byte()))));
    fits = total <= LARGEST_VALUE;
  }
  if (!fits || digits > max_digits) {
    g_scan_pos = start;
    value = 0;
    return false;
  }
  value = static_cast<std::int32_t>(static_cast<std::uint32_t>(total));
  return true;
}

}  // namespace

void step_over_byte_or_literal() {
  if (current_byte() == '"') {
    ++g_scan_pos;
    while (current_byte() != '"' && g_scan_pos < text_end_position()) ++g_scan_pos;
    if (current_byte() == '"') ++g_scan_pos;
  } else if (current_byte() == '\'' && source_byte(g_scan_pos + 2) == '\'') {
    g_scan_pos += 3;
  } else {
    ++g_scan_pos;
  }
}

std::int32_t get_hex_digit_value(const Text& digit) {
  if (digit.size() != 1) return 0;
  const auto c = static_cast<std::uint8_t>(digit[0]);
  if (is_digit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

std::int32_t parse_number_literal() {
  const std::int32_t start = g_scan_pos;
  const std::uint8_t first = source_byte(start);
  const std::uint8_t second = source_byte(start + 1);
  std::int32_t value = 0;

  if (first == '0' && (second == 'x' || second == 'X')) {
    g_scan_pos += 2;
    const std::int32_t digits_start = g_scan_pos;
    if (read_digit_run(start, 16, is_hex_digit, MAX_HEX_DIGITS, value) && g_scan_pos == digits_start) g_scan_pos = start;
    return value;
  }
  if (first == '0' && is_octal_digit(second)) {
    ++g_scan_pos;
    read_digit_run(start, 8, is_octal_digit, MAX_OCTAL_DIGITS, value);
    return value;
  }
  if (first >= '1' && first <= '9') {
    read_digit_run(start, 10, is_digit, INT32_MAX, value);  // any length below 2^32
    return value;
  }
  if (first == '\'' && source_byte(start + 2) == '\'') {
    g_scan_pos = start + 3;
    return second;
  }
  if (first == '0') ++g_scan_pos;
  return 0;
}

}  // namespace tarvik
