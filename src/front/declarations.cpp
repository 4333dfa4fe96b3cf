#include <string_view>
#include <unordered_set>

#include "front/front.h"
#include "front/scan.h"

namespace tarvik {

namespace {

constexpr TypeWordErrors VARIABLE_TYPE_ERRORS = {MSG_AFTER_UNSIGNED, MSG_AFTER_SIGNED, MSG_AFTER_LONG};

// One statement of a run, from its first word: a declaration, an "@" line, or the end of the run.
StatusText scan_statement(std::int32_t start) {
  const std::uint8_t c = current_byte();
  if (is_letter(c)) {
    const ByteArray word = read_identifier();
    TypeWords base;
    if (word == "unsigned" || word == "signed") {
      base = read_signed_type(word == "unsigned", VARIABLE_TYPE_ERRORS);
    } else if (word == "char" || word == "int") {
      base.type = word;
    } else if (word == "long") {
      // A plain "long" must be followed by the four bytes "int ".
      skip_blanks_and_comments();
      if (g_source.compare(g_scan_pos, 4, "int ") != 0) return Text(MSG_AFTER_LONG);
      g_scan_pos += 4;
      base.type = "long int";
    } else {
      g_scan_pos = start;
      return Text(STATUS_VARIABLE_SCAN_END);
    }
    if (!base.error.empty()) return base.error;
    return declare_variables_of_type(base.type);
  }
  if (c == ' ') return Text(STATUS_TEXT_END);
  if (c == '@') {
    ++g_scan_pos;
    skip_blanks_and_comments();
    if (is_digit(current_byte())) {
      if (g_fixed_address_mode == 0) g_saved_ram_next = g_ram_next;
      g_ram_next = parse_number_literal();
      g_fixed_address_mode = 1;
    } else if (g_fixed_address_mode == 1) {
      g_ram_next = g_saved_ram_next;
      g_fixed_address_mode = 0;
    }
    return Text(STATUS_DECLARATION_DONE);
  }
  return Text(STATUS_VARIABLE_SCAN_END);
}

bool any_name_twice() {
  std::unordered_set<std::string_view> seen;
  for (std::int32_t k = 1; k <= g_var_count; ++k)
    if (!seen.insert(g_var_names[k]).second) return true;
  return false;
}

bool any_name_reserved() {
  for (std::int32_t k = 1; k <= g_var_count; ++k)
    if (is_reserved_word(as_text(g_var_names[k]))) return true;
  return false;
}

}  // namespace

StatusText scan_variable_declarations() {
  g_var_count = 0;
  StatusText status;
  std::int32_t start = 0;
  do {
    skip_blanks_and_comments();
    start = g_scan_pos;
    status = scan_statement(start);
  } while (status == STATUS_DECLARATION_DONE);

  if (any_name_twice())
    status = Text(MSG_VARIABLE_NAME_TWICE);
  else if (any_name_reserved())
    status = Text(MSG_VARIABLE_NAME_RESERVED);
  if (status == STATUS_ENTER_FUNCTION_SCAN) g_scan_pos = start;

  // A placement left open would move the RAM of everything after this run to the placed
  // address: it ends with the run.
  if (g_fixed_address_mode == 1) {
    g_ram_next = g_saved_ram_next;
    g_fixed_address_mode = 0;
  }
  return status;
}

}  // namespace tarvik
