#include "front/front.h"
#include "front/scan.h"

namespace tarvik {

namespace {

constexpr TypeWordErrors RETURN_TYPE_ERRORS = {MSG_HEADER_AFTER_UNSIGNED, MSG_HEADER_AFTER_SIGNED,
                                               MSG_HEADER_AFTER_LONG};
constexpr TypeWordErrors PARAMETER_TYPE_ERRORS = {MSG_PARAMETER_AFTER_UNSIGNED, MSG_PARAMETER_AFTER_SIGNED,
                                                  MSG_PARAMETER_AFTER_LONG};

// The base type named by the words at g_scan_pos. Words that name no type stand for "int",
// and the position goes back to them: they are the name that follows.
TypeWords read_base_type(const TypeWordErrors& errors, bool void_allowed) {
  const std::int32_t start = g_scan_pos;
  const ByteArray word = read_identifier();
  if (word == "unsigned" || word == "signed") return read_signed_type(word == "unsigned", errors);
  if (word == "char" || word == "int" || (void_allowed && word == "void")) return {word, {}};
  if (word == "long") return read_long_int("long int", errors);
  g_scan_pos = start;
  return {"int", {}};
}

bool at_parameter_end() { return current_byte() == ',' || current_byte() == ')'; }

}  // namespace

StatusText scan_function_header() {
  skip_blanks_and_comments();
  if (!is_letter(current_byte())) return Text(MSG_HEADER_TYPE);
  const TypeWords return_type = read_base_type(RETURN_TYPE_ERRORS, true);
  if (!return_type.error.empty()) return return_type.error;
  return scan_function_name_and_parameters(return_type.type);
}

StatusText scan_function_name_and_parameters(const Text& return_type) {
  const std::int32_t k = g_function_count + 1;
  if (!read_stars_and_name(return_type, g_func_return_types[k], g_func_names[k])) return Text(MSG_HEADER_NAME);
  if (!skip_to('(')) return Text(MSG_HEADER_NAME);
  g_func_param_end[k] = g_func_first_param[k];

  skip_blanks_and_comments();
  StatusText status;
  if (!is_letter(current_byte())) {
    if (!skip_to(')')) return Text(MSG_HEADER_PARAMETER_LIST);
    status = Text(STATUS_HEADER_DONE);
  } else if (const std::int32_t start = g_scan_pos; read_identifier() == "void") {
    if (!skip_to(')')) return Text(MSG_HEADER_VOID);
    status = Text(STATUS_HEADER_DONE);
  } else {
    g_scan_pos = start;
    do {
      skip_blanks_and_comments();
      if (!is_letter(current_byte())) return Text(MSG_HEADER_PARAMETER_LIST);
      const TypeWords base = read_base_type(PARAMETER_TYPE_ERRORS, false);
      if (!base.error.empty()) return base.error;
      status = declare_parameter(base.type);
    } while (status == STATUS_NEXT_PARAMETER);
  }

  if (status == STATUS_HEADER_DONE) {
    g_func_return_slot[k] = g_ram_next;
    // The next function's parameters follow these; the last record has no next function.
    if (k < TABLE_CAPACITY) g_func_first_param[k + 1] = g_func_param_end[k];
    g_func_entry[k] = g_rom_word_count;
    advance_ram(RETURN_SLOT_SIZE);
  }
  return status;
}

StatusText declare_parameter(const Text& base_type) {
  const std::int32_t k = g_function_count + 1;
  const std::int32_t j = g_func_param_end[k] + 1;
  note_name_tables_changed();
  if (!read_stars_and_name(base_type, g_param_types[j], g_param_names[j])) return Text(MSG_PARAMETER_NAME);
  skip_blanks_and_comments();
  Text& type = g_param_types[j];

  if (current_byte() == '[') {
    ++g_scan_pos;
    if (!skip_to(']')) return Text(MSG_PARAMETER_BRACKET);
    skip_blanks_and_comments();
    type += "[]";  // the caller's array, passed by its address
    if (!at_parameter_end()) return Text(MSG_PARAMETER_AFTER_BRACKETS);
  } else if (!at_parameter_end()) {
    return Text(MSG_PARAMETER_NAME);
  }
  g_param_addrs[j] = g_ram_next;
  advance_ram(scalar_size(type));
  g_func_param_end[k] += 1;
  const auto separator = static_cast<char>(current_byte());
  ++g_scan_pos;
  return Text(1, separator);
}

}  // namespace tarvik
