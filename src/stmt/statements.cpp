#include "stmt/body.h"

namespace tarvik {

namespace stmt {

namespace {

// Statements that complete a statement level close it, and those it completes.
StatusText then_finish(StatusText status) {
  if (status != STATUS_DONE) return status;
  status = finish_control_statements();
  return status == STATUS_DONE ? Text(STATUS_CONTINUE) : status;
}

// Blanks, then `c`: stepped over when it stands there.
bool take(char c) {
  skip_blanks_and_comments();
  if (current_byte() != c) return false;
  ++g_scan_pos;
  return true;
}

// The level about to be opened, entry g_stmt_depth + 1.
std::int32_t new_level() { return g_stmt_depth + 1; }

// After a head: a "{" makes the body a block.
void open_level_with_body() {
  g_stmt_braced[new_level()] = take('{') ? 1 : 0;
  g_stmt_depth += 1;
}

// "(" C ")" of if and while: the condition's false exits become the level's exit jumps.
StatusText condition_in_brackets(std::string_view format_error, std::string_view empty_error) {
  if (!take('(')) return Text(format_error);
  const std::int32_t after_bracket = g_scan_pos;
  if (take(')')) return Text(empty_error);
  g_scan_pos = after_bracket;
  const StatusText status = extract_expression(1, 1, {});
  if (status != STATUS_DONE) return status;
  g_stmt_exit_jumps[new_level()] = g_false_jumps;
  open_level_with_body();
  return Text(STATUS_CONTINUE);
}

StatusText compile_if() {
  g_stmt_keyword[new_level()] = "if";
  return condition_in_brackets(MSG_IF_FORMAT, MSG_IF_EMPTY);
}

StatusText compile_while() {
  g_stmt_keyword[new_level()] = "while";
  g_stmt_loop_start[new_level()] = g_rom_word_count;
  return condition_in_brackets(MSG_WHILE_FORMAT, MSG_WHILE_EMPTY);
}

// The third expression of a for head is compiled after the body: it is stepped over here,
// bracket by bracket, literals whole.
StatusText step_over_for_step() {
  std::int32_t open = 1;
  while (open > 0) {
    skip_blanks_and_comments();
    const std::uint8_t c = current_byte();
    if (c == ' ') return Text(MSG_FOR_FORMAT);
    if (c == '(') ++open;
    if (c == ')') --open;
    step_over_byte_or_literal();
  }
  return Text(STATUS_CONTINUE);
}

StatusText compile_for() {
  const std::int32_t level = new_level();
  g_stmt_keyword[level] = "for";
  if (!take('(')) return Text(MSG_FOR_FORMAT);
  const std::int32_t after_bracket = g_scan_pos;
  if (take(')')) return Text(MSG_FOR_EMPTY);
  g_scan_pos = after_bracket;
  StatusText status = extract_expression(0, 0, {});
  if (status != STATUS_DONE) return status;
  g_stmt_loop_start[level] = g_rom_word_count;
  status = extract_expression(0, 1, {});
  if (status != STATUS_DONE) return status;
  g_stmt_exit_jumps[level] = g_false_jumps;
  g_stmt_continue_jumps[level].clear();
  skip_blanks_and_comments();
  g_stmt_for_step_pos[level] = g_scan_pos;
  status = step_over_for_step();
  if (status != STATUS_CONTINUE) return status;
  open_level_with_body();
  return status;
}

StatusText compile_do() {
  const std::int32_t level = new_level();
  g_stmt_keyword[level] = "do";
  g_stmt_loop_start[level] = g_rom_word_count;
  g_stmt_exit_jumps[level].clear();
  g_stmt_continue_jumps[level].clear();
  open_level_with_body();
  return Text(STATUS_CONTINUE);
}

// The innermost loop level, or 0 when the statement stands in none.
std::int32_t innermost_loop() {
  for (std::int32_t k = g_stmt_depth; k >= 1; --k) {
    const ByteArray& keyword = g_stmt_keyword[k];
    if (keyword == "while" || keyword == "for" || keyword == "do") return k;
  }
  return 0;
}

// break and continue: ";" and a loop around them. Returns the loop's level, or 0 with the
// message set.
std::int32_t loop_of_jump(std::string_view format_error, std::string_view outside_error, StatusText& status) {
  if (!take(';') || g_stmt_depth < 1) {
    status = Text(format_error);
    return 0;
  }
  const std::int32_t loop = innermost_loop();
  if (loop == 0) status = Text(outside_error);
  return loop;
}

StatusText compile_break() {
  StatusText status;
  const std::int32_t loop = loop_of_jump(MSG_BREAK, MSG_BREAK_OUTSIDE_LOOP, status);
  if (loop == 0) return status;
  append_jump_entry(g_stmt_exit_jumps[loop], g_rom_word_count);
  emit_jump_to(0);
  return then_finish(Text(STATUS_DONE));
}

// A while continues at its condition. A for continues at its third expression and a do at
// its condition, both compiled when the loop closes: the jump waits for them.
StatusText compile_continue() {
  StatusText status;
  const std::int32_t loop = loop_of_jump(MSG_CONTINUE, MSG_CONTINUE_OUTSIDE_LOOP, status);
  if (loop == 0) return status;
  if (g_stmt_keyword[loop] == "while") {
    emit_jump_to(g_stmt_loop_start[loop]);
  } else {
    append_jump_entry(g_stmt_continue_jumps[loop], g_rom_word_count);
    emit_jump_to(0);
  }
  return then_finish(Text(STATUS_DONE));
}

StatusText open_block() {
  ++g_scan_pos;
  g_stmt_keyword[new_level()] = "";
  g_stmt_braced[new_level()] = 1;
  g_stmt_depth += 1;
  return Text(STATUS_CONTINUE);
}

// A "}" ends the innermost open level, braced or not, or the body.
StatusText close_brace(Body& body) {
  ++g_scan_pos;
  if (g_stmt_depth == 0) return body.end();
  g_stmt_depth -= 1;
  const std::int32_t level = g_stmt_depth + 1;
  // A bare block is a complete statement too: it may be the body of an unbraced one.
  if (!g_stmt_keyword[level].empty()) {
    g_stmt_braced[level] = 0;
    g_stmt_depth += 1;
  }
  return then_finish(Text(STATUS_DONE));
}

StatusText compile_expression_statement(std::int32_t start) {
  g_scan_pos = start;
  return then_finish(extract_expression(0, 0, {}));
}

StatusText compile_word_statement(Body& body) {
  const std::int32_t start = g_scan_pos;
  const ByteArray word = read_identifier();
  if (word == "if") return compile_if();
  if (word == "do") return compile_do();
  if (word == "while") return compile_while();
  if (word == "for") return compile_for();
  if (word == "return") {
    const bool at_body_level = g_stmt_depth == 0;
    const StatusText status = then_finish(compile_return(body));
    body.ends_with_return = at_body_level;
    return status;
  }
  if (word == "goto") return then_finish(compile_goto(body));
  if (word == "break") return compile_break();
  if (word == "continue") return compile_continue();
  if (word == "rom_run") return then_finish(compile_rom_run());
  if (body.take_label(word)) return Text(STATUS_CONTINUE);
  return compile_expression_statement(start);
}

StatusText compile_statement(Body& body) {
  skip_blanks_and_comments();
  const std::uint8_t c = current_byte();
  if (c == ' ') return Text(MSG_BODY_TEXT_END);
  // Any statement, a label too, may follow a return and so be the body's last.
  if (c != '}' || g_stmt_depth > 0) body.ends_with_return = false;
  if (is_letter(c)) return compile_word_statement(body);
  if (c == '{') return open_block();
  if (c == '}') return close_brace(body);
  return compile_expression_statement(g_scan_pos);
}

}  // namespace

}  // namespace stmt

StatusText compile_function_body(bool& ends_with_return) {
  g_stmt_depth = 0;
  stmt::Body body;
  StatusText status = Text(STATUS_CONTINUE);
  while (status == STATUS_CONTINUE) status = stmt::compile_statement(body);
  ends_with_return = body.ends_with_return;
  return status;
}

StatusText finish_control_statements() { return stmt::close_completed_levels(); }

}  // namespace tarvik
