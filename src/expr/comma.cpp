#include "expr/evaluator.h"

namespace tarvik::expr {

namespace {

// The operand before the comma is done; the level goes on behind the comma.
void finish_comma_operand(Scan& s) {
  const std::string_view item = s.item_text(s.last_item);
  if (!item.empty() && is_name_start(static_cast<std::uint8_t>(item[0])) && lookup_operand(item) == 0) {
    s.fail(STATUS_COMMA_NAME_NOT_FOUND);
    return;
  }
  if (item == "_NOP") emit_nop();
  // A part outside brackets stands as a statement of its own.
  if (s.level() == 0) g_expression_part_start = g_rom_word_count;
  s.last_item = {s.last_item.pos, 0};
  s.item_before = {};
  s.expr_pos += 1;
  g_level_body_pos[s.level()] = s.expr_pos;
  s.operator_seen = 0;
  s.loop_status = Text(STATUS_CONTINUE);
}

}  // namespace

void handle_comma(Scan& s) {
  if (!evaluate_level(s, {COMMA_MESSAGES, STATUS_COMMA_TERNARY_MISMATCH})) finish_comma_operand(s);
}

}  // namespace tarvik::expr
