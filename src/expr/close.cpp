#include "expr/evaluator.h"

namespace tarvik::expr {

namespace {

// The group's content moves one place left, over its "(", and the rest through the ")"
// becomes blanks; a value in A keeps only its kind byte.
void close_grouping(Scan& s) {
  if (s.last_item.empty()) {
    s.fail(STATUS_EMPTY_GROUPING);
    return;
  }
  const std::int32_t open = g_level_open_pos[s.level()];
  std::vector<std::pair<std::int32_t, char>> moved;
  const std::uint8_t first = s.byte_at(s.last_item.pos);
  if (is_acc_value(first)) {
    moved.emplace_back(open, static_cast<char>(first));
    g_register_a_token_pos = open;
  } else {
    drop_register_a_value_within(open, s.expr_pos);
    for (std::int32_t p = s.index.next_non_blank(s.body()); p < s.expr_pos; p = s.index.next_non_blank(p + 1))
      moved.emplace_back(p - 1, g_expression_text[static_cast<std::size_t>(p)]);
  }
  blank(s, open, s.expr_pos + 1);
  for (const auto& [pos, byte] : moved) put_byte(s, pos, byte);
  resume_at_bracket(s);
}

}  // namespace

void close_paren(Scan& s) {
  if (evaluate_level(s, {PAREN_MESSAGES, STATUS_TERNARY_MISMATCH})) {
  } else if (g_level_is_call[s.level()] == 1) {
    if (g_level_name[s.level()] == "sizeof") compile_sizeof(s);
    else compile_function_call(s);
  } else {
    close_grouping(s);
  }
}

}  // namespace tarvik::expr
