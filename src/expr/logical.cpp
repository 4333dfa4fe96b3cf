#include "expr/evaluator.h"

namespace tarvik::expr {

namespace {

constexpr OperandMessages OR_MESSAGES = {STATUS_END_RETURN_VALUE_ERROR, STATUS_END_LOOKUP_ERROR, STATUS_OR_OPERAND_ERROR};
constexpr OperandMessages AND_MESSAGES = {STATUS_END_RETURN_VALUE_ERROR, STATUS_END_LOOKUP_ERROR, STATUS_AND_OPERAND_ERROR};

// The operand after the level's last assignment and the operator at the scan position go.
void remove_operand_and_operator(Scan& s, std::int32_t operator_length) {
  blank(s, s.body() + g_pending_subexpr_offset, s.expr_pos + operator_length);
  restart_level_scan(s);
}

void chain(Scan& s, JumpList& exits_on_fall_through, std::string_view sense_to_jump, JumpList& into_level,
           JumpList& to_next_operand) {
  if (g_fall_through_sense == sense_to_jump) {
    append_jump_entry(exits_on_fall_through, g_rom_word_count);
    emit_jump_to(0);
  }
  join_jumps(into_level, exits_on_fall_through);
  patch_jump_list(to_next_operand, g_rom_word_count);
  g_true_jumps.clear();
  g_false_jumps.clear();
  remove_operand_and_operator(s, 2);
}

}  // namespace

bool take_condition_operand(Scan& s, const OperandMessages& messages) {
  split_level_rhs(s);
  if (compile_pending_operand(s)) return false;
  const std::size_t b = pending_operand_start();
  const bool operand_is_value_in_a =
      b < g_pending_subexpr_text.size() && is_acc_value(static_cast<std::uint8_t>(g_pending_subexpr_text[b]));
  if (g_register_a_state != REG_A_FREE && !operand_is_value_in_a) {
    const StatusText status = spill_into_expression_text(s, {});
    if (status != STATUS_DONE) {
      s.fail(status);
      return false;
    }
  }
  switch (make_condition_of_pending_operand(s, messages)) {
    case LoneOperand::failed: return false;
    case LoneOperand::already_condition: return true;
    case LoneOperand::made: break;
  }
  const std::int32_t at = s.body() + g_pending_subexpr_offset;
  put_byte(s, at, static_cast<char>(OPERAND_KIND_CONDITION));
  blank(s, at + 1, s.expr_pos);
  restart_level_scan(s);
  return false;
}

void handle_logical_or(Scan& s) {
  if (!take_condition_operand(s, OR_MESSAGES)) return;
  // A true operand leaves the chain; a false one, and the && operands since the last ||, go on
  // with the next operand.
  join_jumps(g_false_jumps, g_level_false_jumps[s.level()]);
  chain(s, g_true_jumps, SENSE_TRUE, g_level_true_jumps[s.level()], g_false_jumps);
}

void handle_logical_and(Scan& s) {
  if (!take_condition_operand(s, AND_MESSAGES)) return;
  chain(s, g_false_jumps, SENSE_FALSE, g_level_false_jumps[s.level()], g_true_jumps);
}

}  // namespace tarvik::expr
