#include <array>

#include "app/name_index.h"
#include "front/front.h"
#include "front/scan.h"

namespace tarvik {

namespace {

// Words that may stand before "(" without calling a function.
constexpr std::array<std::string_view, 5> NON_CALL_WORDS = {"if", "while", "for", "sizeof", "return"};

bool is_non_call_word(std::string_view word) {
  for (std::string_view non_call : NON_CALL_WORDS)
    if (word == non_call) return true;
  return false;
}

}  // namespace

StatusText find_callee_ram_base() {
  const std::int32_t header = g_scan_pos;
  while (current_byte() != '{' && g_scan_pos < text_end_position()) ++g_scan_pos;
  if (current_byte() != '{') return Text(MSG_NO_FUNCTION_BODY);
  ++g_scan_pos;
  std::int32_t depth = 1;

  for (;;) {
    skip_blanks_and_comments();
    if (is_letter(current_byte())) {
      const ByteArray word = read_identifier();
      skip_blanks_and_comments();
      if (current_byte() == '(') {
        ++g_scan_pos;
        if (is_non_call_word(word)) continue;
        const std::int32_t callee = find_finished_function(word);
        if (callee == 0) return Text(MSG_UNDEFINED_FUNCTION_CALLED);
        if (g_ram_next < g_func_ram_end[callee]) g_ram_next = g_func_ram_end[callee];
        continue;
      }
      if (is_letter(current_byte())) continue;
    }
    switch (current_byte()) {
      case '{':
        ++depth;
        ++g_scan_pos;
        break;
      case '}':
        ++g_scan_pos;
        if (--depth == 0) {
          g_scan_pos = header;
          return Text(STATUS_RAM_BASE_DONE);
        }
        break;
      case ' ':
        return Text(MSG_BRACES_UNPAIRED);
      default:
        step_over_byte_or_literal();
    }
  }
}

}  // namespace tarvik
