#include "front/front.h"
#include "front/scan.h"
#include "isa/isa.h"

namespace tarvik {

namespace {

constexpr std::uint32_t ARRAY_LENGTH_MASK = 0xFE000000;

bool starts_value(std::uint8_t c) { return is_digit(c) || c == '\''; }

// Stores v low byte first in `size` bytes from g_ram_next, one store instruction per byte.
void store_value(std::int32_t v, std::int32_t size) {
  for (std::int32_t k = 0; k < size; ++k) {
    emit_store_imm(g_ram_next, static_cast<std::int32_t>(static_cast<std::uint32_t>(v) >> (8 * k)));
    advance_ram(1);
  }
}

// An initial value: a literal, or "-" and a literal. `error` is set when none stands there.
std::int32_t read_value(std::string_view message_when_none, Text& error) {
  if (current_byte() == '-') {
    ++g_scan_pos;
    skip_blanks_and_comments();
    if (!starts_value(current_byte())) {
      error = MSG_AFTER_MINUS;
      return 0;
    }
    return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(parse_number_literal()));
  }
  if (!starts_value(current_byte())) {
    error = message_when_none;
    return 0;
  }
  return parse_number_literal();
}

// Steps past the "," or ";" that ends a declarator and gives it as the status.
StatusText take_separator() {
  const auto c = static_cast<char>(current_byte());
  ++g_scan_pos;
  return Text(1, c);
}

// "{ v, v, ... }" after the "=" of an array, each value stored as one element.
StatusText read_brace_list(std::int32_t element_size) {
  ++g_scan_pos;
  std::uint8_t separator = 0;
  do {
    skip_blanks_and_comments();
    Text error;
    const std::int32_t value = read_value(MSG_AFTER_BRACE_OR_COMMA, error);
    if (!error.empty()) return error;
    skip_blanks_and_comments();
    separator = current_byte();
    if (separator != ',' && separator != '}') return Text(MSG_MISSING_COMMA_OR_BRACE);
    store_value(value, element_size);
    ++g_scan_pos;
  } while (separator == ',');
  skip_blanks_and_comments();
  const std::uint8_t c = current_byte();
  return c == ',' || c == ';' ? Text() : Text(MSG_AFTER_CLOSING_BRACE);
}

// A string after the "=" of an array: every byte one element, then a single 0 byte. There
// are no escapes; the first double quote ends it.
StatusText read_string_initialiser(std::int32_t element_size) {
  ++g_scan_pos;
  while (current_byte() != '"' && g_scan_pos < text_end_position()) {
    store_value(current_byte(), element_size);
    ++g_scan_pos;
  }
  store_value(0, 1);
  if (current_byte() != '"') return Text(MSG_STRING_INITIALISER);
  ++g_scan_pos;
  skip_blanks_and_comments();
  const std::uint8_t c = current_byte();
  return c == ',' || c == ';' ? Text() : Text(MSG_STRING_INITIALISER);
}

// The initial values after the "=" of an array: a brace list or a string. An empty text
// when they were read and a "," or ";" follows.
StatusText read_array_initialiser(std::int32_t element_size) {
  skip_blanks_and_comments();
  if (current_byte() == '{') return read_brace_list(element_size);
  if (current_byte() == '"') return read_string_initialiser(element_size);
  return Text(MSG_ARRAY_INITIALISER);
}

// An array after its "[" and blanks; its type already ends in "[]" and its address is set.
StatusText declare_array(std::int32_t k, std::int32_t element_size) {
  const std::int32_t address = g_var_addrs[k];
  if (current_byte() == ']') {
    ++g_scan_pos;
    skip_blanks_and_comments();
    if (current_byte() != '=') return Text(MSG_AFTER_BRACKETS);
    ++g_scan_pos;
    // Without a length the array ends where its initial values end.
    if (Text error = read_array_initialiser(element_size); !error.empty()) return error;
    ++g_var_count;
    return take_separator();
  }
  if (!starts_value(current_byte())) return Text(MSG_BRACKETS_UNPAIRED);

  const std::int32_t length = parse_number_literal();
  if (length == 0 || (static_cast<std::uint32_t>(length) & ARRAY_LENGTH_MASK) != 0) return Text(MSG_ARRAY_LENGTH);
  if (!skip_to(']')) return Text(MSG_BRACKETS_UNPAIRED);
  skip_blanks_and_comments();
  const std::int64_t end = static_cast<std::int64_t>(address) + static_cast<std::int64_t>(length) * element_size;
  const std::uint8_t c = current_byte();
  if (c == '=') {
    ++g_scan_pos;
    if (Text error = read_array_initialiser(element_size); !error.empty()) return error;
    if (g_ram_next > end) return Text(MSG_ARRAY_INITIALISER_TOO_LONG);
  } else if (c != ',' && c != ';') {
    return Text(MSG_AFTER_BRACKETS);
  }
  advance_ram(end - g_ram_next);  // the elements that were not given get no store
  ++g_var_count;
  return take_separator();
}

// One declarator, from its first "*" or name to the "," or ";" after it.
StatusText declare_variable(const Text& base_type, bool first_of_statement) {
  const std::int32_t k = g_var_count + 1;
  note_name_tables_changed();
  if (!read_stars_and_name(base_type, g_var_types[k], g_var_names[k])) return Text(MSG_SYMBOL_ERROR);
  const Text type = g_var_types[k];
  skip_blanks_and_comments();

  const std::uint8_t c = current_byte();
  if (c == ',' || c == ';') {
    g_var_addrs[k] = g_ram_next;
    advance_ram(scalar_size(type));
    ++g_var_count;
    return take_separator();
  }
  if (c == '=') {
    ++g_scan_pos;
    skip_blanks_and_comments();
    Text error;
    const std::int32_t value = read_value(MSG_AFTER_EQUALS, error);
    if (!error.empty()) return error;
    skip_blanks_and_comments();
    if (current_byte() != ',' && current_byte() != ';') return Text(MSG_MISSING_COMMA_OR_SEMICOLON);
    g_var_addrs[k] = g_ram_next;
    store_value(value, scalar_size(type));
    ++g_var_count;
    return take_separator();
  }
  if (c == '[') {
    ++g_scan_pos;
    skip_blanks_and_comments();
    g_var_types[k] = type + "[]";
    g_var_addrs[k] = g_ram_next;
    return declare_array(k, scalar_size(type));
  }
  if (c == '(' && first_of_statement) return Text(STATUS_ENTER_FUNCTION_SCAN);
  return Text(MSG_SYMBOL_ERROR);
}

}  // namespace

StatusText declare_variables_of_type(const Text& base_type) {
  for (bool first = true;; first = false) {
    const std::int32_t k = g_var_count + 1;
    const std::int32_t counted_before = g_var_count;
    StatusText status = declare_variable(base_type, first);
    // Addresses are 24 bits. A variable placed by "@" is checked by its own address as well,
    // since the pointer after it can wrap past the top.
    const bool placed_out_of_range = g_var_count > counted_before && ram_address_out_of_range(g_var_addrs[k]);
    if (ram_address_out_of_range(g_ram_next) || placed_out_of_range) status = Text(MSG_RAM_FULL);
    if (status != STATUS_NEXT_DECLARATOR) return status;
  }
}

}  // namespace tarvik
