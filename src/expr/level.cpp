#include "expr/evaluator.h"
#include "stmt/stmt.h"

namespace tarvik::expr {

void put_byte(Scan& s, std::int32_t pos, char byte) {
  g_expression_text[static_cast<std::size_t>(pos)] = byte;
  s.index.update(pos, byte);
}

void put_token(Scan& s, std::int32_t pos, OperandDescriptor descriptor) {
  const auto value = static_cast<std::uint32_t>(descriptor);
  for (std::int32_t i = 0; i < 4; ++i) put_byte(s, pos + i, static_cast<char>(value >> (24 - 8 * i)));
}

void blank(Scan& s, std::int32_t from, std::int32_t to) {
  for (std::int32_t p = s.index.next_non_blank(from); p < to; p = s.index.next_non_blank(p + 1)) put_byte(s, p, ' ');
}

// Takes in the bytes that another subsystem wrote at [pos, pos + 4).
static void resync_token(Scan& s, std::int32_t pos) {
  for (std::int32_t p = pos; p >= 0 && p < pos + 4 && static_cast<std::size_t>(p) < g_expression_text.size(); ++p)
    s.index.update(p, g_expression_text[static_cast<std::size_t>(p)]);
}

namespace {

constexpr std::int32_t KEPT_BLANKS = static_cast<std::int32_t>(TOKEN_PAD.size());

LevelText compact(const Scan& s, std::int32_t from, std::int32_t to) {
  LevelText t;
  t.end = to;
  const auto keep = [&](std::int32_t p) {
    t.bytes += g_expression_text[static_cast<std::size_t>(p)];
    t.origin.push_back(p);
  };
  std::int32_t p = from;
  while (p < to) {
    if (s.byte_at(p) == ' ') {
      const std::int32_t run_end = std::min(s.index.next_non_blank(p), to);
      for (std::int32_t k = p; k < std::min(run_end, p + KEPT_BLANKS); ++k) keep(k);
      p = run_end;
    } else {
      // A token's bytes go whole: its value bytes may be blanks.
      const std::int32_t len = s.byte_at(p) >= 0x80 ? std::min(4, to - p) : 1;
      for (std::int32_t k = p; k < p + len; ++k) keep(k);
      p += len;
    }
  }
  return t;
}

}  // namespace

LevelText level_text(const Scan& s) { return compact(s, s.body(), s.expr_pos); }

StatusText run_subexpression(Scan& s, ByteArray text) {
  const std::int32_t pos = g_register_a_token_pos;
  StatusText status = process_subexpression(text);
  // A pending value in A may have been spilled over its token in g_expression_text.
  resync_token(s, pos);
  return status;
}

StatusText spill_into_expression_text(Scan& s, std::initializer_list<OperandDescriptor> exempt) {
  const std::int32_t pos = g_register_a_token_pos;
  StatusText status = spill_register_a(g_expression_text, exempt);
  resync_token(s, pos);
  return status;
}

void drop_register_a_value_within(std::int32_t from, std::int32_t to) {
  if (g_register_a_state != REG_A_FREE && g_register_a_token_pos >= from && g_register_a_token_pos <= to)
    g_register_a_state = Text(REG_A_FREE);
}

namespace {

void pending_offset_from_body(const Scan& s, const LevelText& t) {
  g_pending_subexpr_offset = t.position_of(static_cast<std::size_t>(g_pending_subexpr_offset)) - s.body();
}

}  // namespace

LevelText split_level_rhs(const Scan& s) {
  LevelText t = level_text(s);
  split_assignment_rhs(t.bytes);
  pending_offset_from_body(s, t);
  return t;
}

LevelText split_level_last_assignment(const Scan& s) {
  LevelText t = level_text(s);
  split_last_assignment(t.bytes);
  pending_offset_from_body(s, t);
  return t;
}

void write_result_token(Scan& s, std::int32_t pos, std::int32_t to) {
  put_token(s, pos, g_subexpr_result);
  blank(s, pos + 4, to);
}

void join_jumps(JumpList& into, JumpList& from) {
  if (into.empty()) into.swap(from);
  else into += from;
  from.clear();
}

void make_constant_condition(std::int32_t value) {
  JumpList entry;
  append_jump_entry(entry, g_rom_word_count);
  emit_jump_to(0);
  g_true_jumps.clear();
  g_false_jumps.clear();
  (value != 0 ? g_true_jumps : g_false_jumps) = entry;
  g_fall_through_sense = Text(value != 0 ? SENSE_FALSE : SENSE_TRUE);
}

StatusText condition_to_register_a() {
  Text op = "=";
  return generate_binary_operation_code(0, REGISTER_A, op, CONDITION);
}

bool level_lists_empty() {
  return g_level_true_jumps[g_expr_level].empty() && g_level_false_jumps[g_expr_level].empty();
}

std::size_t pending_operand_start() {
  const std::size_t start = g_pending_subexpr_text.find_first_not_of(' ');
  return start == ByteArray::npos ? g_pending_subexpr_text.size() : start;
}

namespace {

bool is_tested_token(int kind) {
  return (kind >= OPERAND_KIND_UCHAR && kind <= OPERAND_KIND_LONG_PTR) || kind == OPERAND_KIND_A || is_acc_value(kind) ||
         is_via_pointer(kind);
}

// The operand compared with 0 gives the condition. The register `_A` is compared as the
// value it holds: the comparisons take a value in A against a constant, not the register.
LoneOperand test_against_zero(Scan& s, OperandDescriptor operand, const OperandMessages& messages) {
  ByteArray test(4, ' ');
  write_operand_token(test, 0, operand == REGISTER_A ? make_operand(OPERAND_KIND_A_UNSIGNED, 0) : operand);
  test += NONZERO_TEST_TEXT;
  const StatusText status = run_subexpression(s, test);
  if (status != STATUS_DONE) s.fail(status);
  else if (get_operand_kind(g_subexpr_result) != OPERAND_KIND_CONDITION) s.fail(messages.return_value_error);
  else return LoneOperand::made;
  return LoneOperand::failed;
}

}  // namespace

LoneOperand make_condition_of_pending_operand(Scan& s, const OperandMessages& messages) {
  const std::string_view text = g_pending_subexpr_text;
  const std::size_t b = pending_operand_start();
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  if (b < text.size() && is_name_start(byte(b))) {
    std::size_t end = b + 1;
    while (end < text.size() && is_name_byte(byte(end))) ++end;
    const OperandDescriptor d = lookup_operand(text.substr(b, end - b));
    const int kind = get_operand_kind(d);
    if ((kind >= OPERAND_KIND_UCHAR && kind <= OPERAND_KIND_LONG_PTR) || kind == OPERAND_KIND_A)
      return test_against_zero(s, d, messages);
    if (is_array(kind)) {
      make_constant_condition(d & 0xFFFFFF);
      return LoneOperand::made;
    }
    s.fail(messages.lookup_error);
    return LoneOperand::failed;
  }
  if (b + 4 <= text.size()) {
    const int kind = byte(b);
    const OperandDescriptor token = read_operand_token(text, b);
    if (is_tested_token(kind)) return test_against_zero(s, token, messages);
    if (kind == OPERAND_KIND_CONSTANT) {
      make_constant_condition(g_constant_table[token & 0xFFFFFF]);
      return LoneOperand::made;
    }
    if (kind == OPERAND_KIND_CONDITION) return LoneOperand::already_condition;
  }
  s.fail(messages.type_error);
  return LoneOperand::failed;
}

// The level's && / || exits join the operand's condition, whose mark stands at `pos`: 0 or 1
// in A (0xEB) with make_value, else the condition itself (0xE7).
static void finish_condition_chain(Scan& s, std::int32_t pos, bool make_value) {
  const std::int32_t level = s.level();
  join_jumps(g_true_jumps, g_level_true_jumps[level]);
  join_jumps(g_false_jumps, g_level_false_jumps[level]);
  StatusText status = Text(STATUS_DONE);
  if (make_value) {
    status = condition_to_register_a();
    put_byte(s, pos, static_cast<char>(OPERAND_KIND_A_SIGNED));
    g_register_a_state = Text(REG_A_SIGNED);
    g_register_a_token_pos = pos;
    g_register_a_token_place = Text(TOKEN_IN_MAIN_EXPRESSION);
  } else {
    put_byte(s, pos, static_cast<char>(OPERAND_KIND_CONDITION));
  }
  if (status != STATUS_DONE) {
    s.fail(status);
    return;
  }
  blank(s, pos + 1, s.expr_pos);
  restart_level_scan(s);
}

namespace {

// The pending text compiled, its result written where it starts and the level rescanned;
// false when it failed.
bool compile_pending_text(Scan& s) {
  const StatusText status = run_subexpression(s, g_pending_subexpr_text);
  if (status != STATUS_DONE) {
    s.fail(status);
    return false;
  }
  write_result_token(s, s.body() + g_pending_subexpr_offset, s.expr_pos);
  restart_level_scan(s);
  return true;
}

}  // namespace

bool compile_pending_operand(Scan& s) {
  if (g_pending_subexpr_flag != 1) return false;
  g_pending_subexpr_flag = 0;
  compile_pending_text(s);
  return true;
}

void finish_chain_operand(Scan& s, const OperandMessages& messages, bool keep_condition) {
  split_level_rhs(s);
  if (compile_pending_operand(s)) return;
  if (make_condition_of_pending_operand(s, messages) == LoneOperand::failed) return;
  finish_condition_chain(s, s.body() + g_pending_subexpr_offset, !keep_condition || g_assignment_seen == 1);
}

// A ?: of the level still open (status `mismatch`), or its else part complete and compiled:
// true when either was handled.
static bool complete_else_part(Scan& s, std::string_view mismatch) {
  const std::int32_t level = s.level();
  const std::int32_t n = g_level_ternary_open[level];
  if (n != g_level_ternary_base[level]) {
    s.fail(mismatch);
    return true;
  }
  JumpList& end_jumps = g_ternary_end_jumps[n];
  if (end_jumps.empty()) return false;
  split_level_last_assignment(s);
  if (compile_pending_text(s)) {
    patch_jump_list(end_jumps, g_rom_word_count);
    end_jumps.clear();
  }
  return true;
}

// The whole level text holds an operator: compiled, its result written at the body start. A
// condition result becomes 0 or 1 in A unless keep_condition.
static void evaluate_whole_level(Scan& s, bool keep_condition) {
  const std::int32_t body = s.body();
  const ByteArray text = level_text(s).bytes;
  StatusText status = check_assignment_targets(text);
  if (status == STATUS_DONE) status = run_subexpression(s, text);
  if (status == STATUS_DONE) {
    const int kind = get_operand_kind(g_subexpr_result);
    const bool condition_to_value = kind == OPERAND_KIND_CONDITION && !keep_condition;
    if (condition_to_value) {
      status = condition_to_register_a();
      g_subexpr_result = make_operand(OPERAND_KIND_A_SIGNED, 0);
    }
    if (is_acc_value(kind) || condition_to_value) {
      g_register_a_state = Text(get_operand_kind(g_subexpr_result) == OPERAND_KIND_A_UNSIGNED ? REG_A_UNSIGNED : REG_A_SIGNED);
      g_register_a_token_pos = body;
      g_register_a_token_place = Text(TOKEN_IN_MAIN_EXPRESSION);
    }
  }
  if (status != STATUS_DONE) {
    s.fail(status);
    return;
  }
  write_result_token(s, body, s.expr_pos);
  restart_level_scan(s);
}

bool evaluate_level(Scan& s, const LevelEnd& end) {
  const bool lone_condition_operand = end.at_semicolon && s.is_condition == 1 && s.operator_seen == 0 &&
                                      !s.last_item.empty() && s.byte_at(s.last_item.pos) != OPERAND_KIND_CONDITION;
  if (!level_lists_empty() || lone_condition_operand) {
    finish_chain_operand(s, end.messages, end.at_semicolon && s.is_condition != 0);
    return true;
  }
  if (complete_else_part(s, end.mismatch)) return true;
  if (s.operator_seen != 1) return false;
  evaluate_whole_level(s, end.at_semicolon);
  return true;
}

}  // namespace tarvik::expr
