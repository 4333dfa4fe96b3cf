#include <array>

#include "expr/evaluator.h"

namespace tarvik {

namespace expr {

namespace {

constexpr std::array<std::string_view, 2> OPERATOR_TOKENS_3 = {"<<=", ">>="};
constexpr std::array<std::string_view, 10> OPERATOR_TOKENS_2 = {"++", "--", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^="};
constexpr std::string_view OPERATOR_TOKENS_1 = "+-*/%&|~^><!=";

bool text_at(const Scan& s, std::string_view what) {
  return std::string_view(g_expression_text).substr(static_cast<std::size_t>(s.expr_pos), what.size()) == what;
}

void take_item(Scan& s, std::int32_t len) {
  s.item_before = s.last_item;
  s.last_item = {s.expr_pos, len};
  s.expr_pos += len;
}

std::int32_t operator_length(const Scan& s) {
  for (const std::string_view op : OPERATOR_TOKENS_3)
    if (text_at(s, op)) return 3;
  for (const std::string_view op : OPERATOR_TOKENS_2)
    if (text_at(s, op)) return 2;
  return OPERATOR_TOKENS_1.find(static_cast<char>(s.byte_at(s.expr_pos))) != std::string_view::npos ? 1 : 0;
}

// The function being compiled keeps the RAM of every temporary its expressions took, also
// when an expression stops at an error or at a full table.
struct RaiseFunctionRamEnd {
  ~RaiseFunctionRamEnd() {
    if (g_function_count < 0 || g_function_count >= TABLE_CAPACITY) return;
    std::int32_t& end = g_func_ram_end[g_function_count + 1];
    if (g_temp_ram_next > end) end = g_temp_ram_next;
  }
};

void step(Scan& s) {
  const std::size_t size = g_expression_text.size();
  if (static_cast<std::size_t>(s.expr_pos) >= size) {
    s.fail(STATUS_EXPRESSION_UNRECOGNISED_SYMBOL);
    return;
  }
  switch (s.byte_at(s.expr_pos)) {
    case '(': open_level(s, true); return;
    case '[': open_level(s, false); return;
    case ')': close_paren(s); return;
    case ']': close_index_level(s); return;
    case ',': handle_comma(s); return;
    case ';': handle_semicolon(s); return;
    default: break;
  }
  if (text_at(s, "||")) handle_logical_or(s);
  else if (text_at(s, "&&")) handle_logical_and(s);
  else if (s.byte_at(s.expr_pos) == '?') handle_question_mark(s);
  else if (s.byte_at(s.expr_pos) == ':') handle_colon(s);
  else scan_tail(s);
}

}  // namespace

bool is_name_start(std::uint8_t byte) { return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte == '_'; }
bool is_name_byte(std::uint8_t byte) { return is_name_start(byte) || (byte >= '0' && byte <= '9'); }

void open_level(Scan& s, bool call_test) {
  const std::int32_t parent = s.level();
  // A level starts its ?: slots above the parent's counter: the parent's slot may hold the
  // jump over an else part that this bracket stands in.
  const std::int32_t slot = g_level_ternary_open[parent] + 1;
  const std::int32_t n = parent + 1;
  g_level_ternary_base[n] = slot;
  g_level_ternary_open[n] = slot;
  g_ternary_false_jumps[slot].clear();
  g_ternary_end_jumps[slot].clear();
  s.openings.push_back({s.last_item, s.item_before, s.operator_seen});
  g_expr_level = n;
  if (call_test) g_level_is_call[n] = !s.last_item.empty() && is_name_start(s.byte_at(s.last_item.pos)) ? 1 : 0;
  g_level_open_pos[n] = s.expr_pos;
  g_level_body_pos[n] = s.expr_pos + 1;
  g_level_name[n] = ByteArray(s.item_text(s.last_item));
  g_level_name_pos[n] = s.last_item.pos;
  s.last_item = {s.expr_pos, 0};
  s.item_before = {};
  g_level_true_jumps[n].clear();
  g_level_false_jumps[n].clear();
  s.operator_seen = 0;
  s.expr_pos += 1;
}

void scan_tail(Scan& s) {
  const std::uint8_t c = s.byte_at(s.expr_pos);
  const auto size = static_cast<std::int32_t>(g_expression_text.size());
  if (is_name_start(c)) {
    std::int32_t end = s.expr_pos + 1;
    while (end < size && is_name_byte(s.byte_at(end))) ++end;
    take_item(s, end - s.expr_pos);
  } else if (c >= 0x80) {
    take_item(s, std::min(4, size - s.expr_pos));
  } else if (const std::int32_t n = operator_length(s); n > 0) {
    s.operator_seen = 1;
    take_item(s, n);
  } else if (c == ' ') {
    s.expr_pos = s.index.next_non_blank(s.expr_pos);
  } else {
    s.fail(STATUS_EXPRESSION_UNRECOGNISED_SYMBOL);
  }
}

void restart_level_scan(Scan& s) {
  s.last_item = {s.last_item.pos, 0};
  s.item_before = {};
  s.expr_pos = s.body();
  s.operator_seen = 0;
  s.loop_status = Text(STATUS_CONTINUE);
}

namespace {

OpeningState close_level(Scan& s) {
  const OpeningState opening = s.openings.back();
  s.openings.pop_back();
  g_expr_level -= 1;
  s.loop_status = Text(STATUS_CONTINUE);
  return opening;
}

}  // namespace

void resume_at_bracket(Scan& s) {
  s.expr_pos = g_level_open_pos[s.level()];
  const OpeningState opening = close_level(s);
  s.last_item = opening.last_item;
  s.item_before = opening.item_before;
  s.operator_seen = opening.operator_seen;
}

void resume_at_name(Scan& s) {
  s.expr_pos = g_level_name_pos[s.level()];
  const OpeningState opening = close_level(s);
  s.last_item = opening.item_before;
  s.item_before = {};
  s.operator_seen = opening.operator_seen;
}

}  // namespace expr

StatusText process_main_expression(const ByteArray& text, std::int32_t is_condition) {
  expr::Scan s;
  s.is_condition = is_condition;
  g_temp_ram_next = g_ram_next;
  expr::RaiseFunctionRamEnd raise_at_end;
  g_expression_text = text;
  s.index.reset(g_expression_text);
  s.expr_pos = 0;
  s.operator_seen = 0;
  g_expr_level = 0;
  g_level_ternary_base[0] = 0;
  g_level_ternary_open[0] = 0;
  g_ternary_false_jumps[0].clear();
  g_ternary_end_jumps[0].clear();
  s.last_item = {};
  g_level_true_jumps[0].clear();
  g_level_false_jumps[0].clear();
  g_level_open_pos[0] = -1;
  g_level_body_pos[0] = 0;
  s.loop_status = Text(STATUS_CONTINUE);
  g_register_a_state = Text(REG_A_FREE);
  while (s.loop_status == STATUS_CONTINUE) expr::step(s);
  return s.loop_status;
}

}  // namespace tarvik
