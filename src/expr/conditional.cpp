#include "expr/evaluator.h"

namespace tarvik::expr {

void handle_question_mark(Scan& s) {
  if (!take_condition_operand(s, END_MESSAGES)) return;
  const std::int32_t level = s.level();
  join_jumps(g_true_jumps, g_level_true_jumps[level]);
  join_jumps(g_false_jumps, g_level_false_jumps[level]);
  // Falling through the condition always means true from here on.
  if (g_fall_through_sense == SENSE_FALSE) {
    append_jump_entry(g_false_jumps, g_rom_word_count);
    emit_jump_to(0);
  }
  const std::int32_t n = g_level_ternary_open[level];
  g_ternary_false_jumps[n] = std::move(g_false_jumps);
  g_false_jumps.clear();
  patch_jump_list(g_true_jumps, g_rom_word_count);
  g_true_jumps.clear();
  g_ternary_false_jumps[n + 1].clear();
  g_ternary_end_jumps[n + 1].clear();
  g_level_ternary_open[level] = n + 1;
  blank(s, s.body() + g_pending_subexpr_offset, s.expr_pos + 1);
  restart_level_scan(s);
}

namespace {

// The then-part is assigned: to the assignment the ?: stands in, or to a new 4-byte
// temporary that the else part is assigned to as well. A target with code of its own must
// run it once on both paths: the parts then go to a temporary, stored into the target once
// the else part is done.
StatusText assign_then_part(Scan& s) {
  const LevelText t = split_level_last_assignment(s);
  std::int32_t at = s.body() + g_pending_subexpr_offset;  // where the level keeps the result
  ByteArray assignment = g_pending_subexpr_text;
  ByteArray value = assignment;
  bool to_temporary = g_assignment_seen == 0;
  if (!to_temporary) {
    const StatusText status = check_assignment_targets(assignment, s.conditional_temporaries);
    if (status != STATUS_DONE) return status;
    const AssignmentSides sides = assignment_sides(assignment).front();
    if (target_has_steps(sides.target)) {
      to_temporary = true;
      value = assignment.substr(sides.value_at);
      at = t.position_of(t.bytes.size() - assignment.size() + sides.value_at);
    }
  }
  if (to_temporary) {
    const std::int32_t temporary = g_temp_ram_next;
    assignment = ByteArray(4, ' ') + "=" + value;
    s.conditional_temporaries.push_back(make_operand(OPERAND_KIND_LONG, temporary));
    write_operand_token(assignment, 0, s.conditional_temporaries.back());
    g_last_assignment_op = PLAIN_ASSIGNMENT_CODE;
    g_temp_ram_next = temporary + 4;
  }
  const StatusText status = run_subexpression(s, assignment);
  if (status != STATUS_DONE) return status;
  // The level keeps the target and the operator, for the else part.
  ByteArray kept(8, ' ');
  write_operand_token(kept, 0, g_subexpr_result);
  for (std::size_t k = 0; k < 3; ++k) kept[5 + k] = static_cast<char>(g_last_assignment_op >> (16 - 8 * k));
  blank(s, at, s.expr_pos + 1);
  for (std::int32_t k = 0; k < 8 && at + k < s.expr_pos; ++k) put_byte(s, at + k, kept[static_cast<std::size_t>(k)]);
  return status;
}

}  // namespace

void handle_colon(Scan& s) {
  const std::int32_t level = s.level();
  if (g_level_ternary_open[level] == g_level_ternary_base[level]) {
    s.fail(STATUS_COLON_WITHOUT_QUESTION);
    return;
  }
  if (!level_lists_empty()) {
    finish_chain_operand(s, COMMA_MESSAGES, false);
    return;
  }
  const StatusText status = assign_then_part(s);
  if (status != STATUS_DONE) {
    s.fail(status);
    return;
  }
  restart_level_scan(s);
  const std::int32_t k = g_level_ternary_open[level];
  // Conditionals nested in the then-part end here, after its assignment.
  patch_jump_list(g_ternary_end_jumps[k], g_rom_word_count);
  const std::int32_t m = k - 1;
  g_level_ternary_open[level] = m;
  append_jump_entry(g_ternary_end_jumps[m], g_rom_word_count);
  emit_jump_to(0);
  patch_jump_list(g_ternary_false_jumps[m], g_rom_word_count);
}

}  // namespace tarvik::expr
