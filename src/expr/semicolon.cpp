#include "expr/evaluator.h"

namespace tarvik::expr {

namespace {

// A condition ends falling through when true; its false exits are left in g_false_jumps.
void hand_over_condition(Scan& s) {
  if (s.last_item.empty()) make_constant_condition(1);
  if (g_fall_through_sense == SENSE_FALSE) {
    append_jump_entry(g_false_jumps, g_rom_word_count);
    emit_jump_to(0);
  }
  patch_jump_list(g_true_jumps, g_rom_word_count);
  g_true_jumps.clear();
  s.fail(STATUS_EXPRESSION_END);
}

void end_expression_statement(Scan& s) {
  const std::string_view item = s.item_text(s.last_item);
  if (!item.empty() && static_cast<std::uint8_t>(item[0]) == OPERAND_KIND_CONDITION) {
    const StatusText status = condition_to_register_a();
    s.fail(status == STATUS_DONE ? STATUS_EXPRESSION_END : std::string_view(status));
    return;
  }
  if (!item.empty() && is_name_start(static_cast<std::uint8_t>(item[0])) && lookup_operand(item) == 0) {
    s.fail(STATUS_END_NAME_NOT_FOUND);
    return;
  }
  if (item == "_NOP") emit_nop();
  s.fail(STATUS_EXPRESSION_END);
}

}  // namespace

void handle_semicolon(Scan& s) {
  if (evaluate_level(s, {END_MESSAGES, STATUS_TERNARY_MISMATCH, true})) return;
  if (s.is_condition != 0) hand_over_condition(s);
  else end_expression_statement(s);
}

}  // namespace tarvik::expr
