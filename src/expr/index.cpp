#include "expr/evaluator.h"

namespace tarvik::expr {

namespace {

// Between a name and its index: room for the name's token over a one-letter name, and the
// sum that scales the index by the element size.
constexpr std::string_view INDEX_PLUS_TEXT = "   +";

// The element the sum of a name and an index stands for.
void make_element(Scan& s) {
  const ByteArray& name = g_level_name[s.level()];
  if (name.empty() || !is_name_start(static_cast<std::uint8_t>(name[0]))) {
    s.fail(STATUS_ARRAY_NAME_ERROR);
    return;
  }
  const StatusText status = run_subexpression(s, name + ByteArray(INDEX_PLUS_TEXT) + level_text(s).bytes);
  if (status != STATUS_DONE) {
    s.fail(status);
    return;
  }
  const int kind = get_operand_kind(g_subexpr_result);
  int element = 0;
  if (is_pointer(kind)) element = kind + KIND_INDIRECTION_STEP;
  else if (is_array(kind)) element = kind - KIND_INDIRECTION_STEP;
  else {
    s.fail(STATUS_INDEX_SUM_ERROR);
    return;
  }
  const std::int32_t at = g_level_name_pos[s.level()];
  drop_register_a_value_within(at, s.expr_pos);
  put_token(s, at, make_operand(element, g_subexpr_result));
  blank(s, at + 4, s.expr_pos + 1);
  resume_at_name(s);
}

}  // namespace

void close_index_level(Scan& s) {
  if (!evaluate_level(s, {BRACKET_MESSAGES, STATUS_BRACKET_TERNARY_MISMATCH})) make_element(s);
}

}  // namespace tarvik::expr
