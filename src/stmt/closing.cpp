#include "stmt/body.h"

namespace tarvik::stmt {

namespace {

// An if looks ahead for its else, which turns the level into the else part's level.
StatusText close_if(std::int32_t level) {
  skip_blanks_and_comments();
  if (is_letter(current_byte())) {
    const std::int32_t start = g_scan_pos;
    if (read_identifier() == "else") {
      const JumpList false_exits = g_stmt_exit_jumps[level];
      g_stmt_exit_jumps[level].clear();
      append_jump_entry(g_stmt_exit_jumps[level], g_rom_word_count);
      emit_jump_to(0);
      patch_jump_list(false_exits, g_rom_word_count);
      skip_blanks_and_comments();
      if (current_byte() == '{') {
        g_stmt_braced[level] = 1;
        ++g_scan_pos;
      }
      g_stmt_keyword[level] = "else";
      g_stmt_depth += 1;
      return Text(STATUS_DONE);
    }
    g_scan_pos = start;
  }
  patch_jump_list(g_stmt_exit_jumps[level], g_rom_word_count);
  return Text(STATUS_CONTINUE);
}

// The loop jumps back; its exits and breaks land after the back jump.
void close_loop(std::int32_t level) {
  emit_jump_to(g_stmt_loop_start[level]);
  patch_jump_list(g_stmt_exit_jumps[level], g_rom_word_count);
}

// The tail "while (C);" of a do.
StatusText close_do(std::int32_t level) {
  skip_blanks_and_comments();
  if (!is_letter(current_byte()) || read_identifier() != "while") return Text(MSG_DO_WITHOUT_WHILE);
  skip_blanks_and_comments();
  if (current_byte() != '(') return Text(MSG_DO_WHILE_FORMAT);
  ++g_scan_pos;
  skip_blanks_and_comments();
  if (current_byte() == ')') return Text(MSG_DO_WHILE_EMPTY);
  // A continue in the body tests the condition.
  patch_jump_list(g_stmt_continue_jumps[level], g_rom_word_count);
  const StatusText status = extract_expression(1, 1, {});
  if (status != STATUS_DONE) return status;
  skip_blanks_and_comments();
  if (current_byte() != ';') return Text(MSG_DO_WHILE_SEMICOLON);
  emit_jump_to(g_stmt_loop_start[level]);
  patch_jump_list(g_false_jumps, g_rom_word_count);
  patch_jump_list(g_stmt_exit_jumps[level], g_rom_word_count);
  ++g_scan_pos;
  return Text(STATUS_CONTINUE);
}

// The third expression of the head, stepped over before the body, is compiled now.
StatusText close_for(std::int32_t level) {
  const std::int32_t after_body = g_scan_pos;
  g_scan_pos = g_stmt_for_step_pos[level];
  // A continue in the body runs the third expression.
  patch_jump_list(g_stmt_continue_jumps[level], g_rom_word_count);
  const StatusText status = extract_expression(1, 0, {});
  g_scan_pos = after_body;
  if (status != STATUS_DONE) return status;
  close_loop(level);
  return Text(STATUS_CONTINUE);
}

StatusText close_level(std::int32_t level) {
  const ByteArray& keyword = g_stmt_keyword[level];
  if (keyword == "if") return close_if(level);
  if (keyword == "do") return close_do(level);
  if (keyword == "for") return close_for(level);
  if (keyword == "while") close_loop(level);
  else if (keyword == "else") patch_jump_list(g_stmt_exit_jumps[level], g_rom_word_count);
  else return Text(MSG_UNKNOWN_LEVEL);
  return Text(STATUS_CONTINUE);
}

}  // namespace

StatusText close_completed_levels() {
  StatusText status = Text(STATUS_CONTINUE);
  while (status == STATUS_CONTINUE) {
    if (g_stmt_depth == 0) return Text(STATUS_DONE);
    g_stmt_depth -= 1;
    const std::int32_t level = g_stmt_depth + 1;
    if (g_stmt_braced[level] == 1) {
      g_stmt_depth += 1;
      return Text(STATUS_DONE);
    }
    status = close_level(level);
  }
  return status;
}

}  // namespace tarvik::stmt
