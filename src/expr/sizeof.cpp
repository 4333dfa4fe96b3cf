#include "expr/evaluator.h"

namespace tarvik::expr {

namespace {

// The size of an operand by its kind; 0 for a kind sizeof refuses.
int size_of_kind(int kind, std::int32_t constant) {
  if (is_v8(kind) || kind == OPERAND_KIND_UCHAR_VIA_PTR || kind == OPERAND_KIND_CHAR_VIA_PTR || is_acc(kind)) return 1;
  if (is_v16(kind) || kind == OPERAND_KIND_UINT_VIA_PTR || kind == OPERAND_KIND_INT_VIA_PTR || is_pointer(kind)) return 2;
  if (is_v32(kind) || kind == OPERAND_KIND_ULONG_VIA_PTR || kind == OPERAND_KIND_LONG_VIA_PTR) return 4;
  if (kind == OPERAND_KIND_CONSTANT) return constant >= -128 && constant <= 127 ? 1 : constant >= -32768 && constant <= 32767 ? 2 : 4;
  return 0;
}

}  // namespace

void compile_sizeof(Scan& s) {
  if (s.last_item.empty()) {
    s.fail(STATUS_SIZEOF_EMPTY);
    return;
  }
  // Operands side by side with no operator between them: the message the same text gets
  // anywhere else, rather than the size of the last of them.
  if (s.index.next_non_blank(s.body()) < s.last_item.pos) {
    const StatusText status = run_subexpression(s, level_text(s).bytes);
    s.fail(status != STATUS_DONE ? status : Text(STATUS_SIZEOF_OPERAND_ERROR));
    return;
  }
  const std::string_view item = s.item_text(s.last_item);
  OperandDescriptor operand = 0;
  if (is_name_start(static_cast<std::uint8_t>(item[0]))) {
    operand = lookup_operand(item);
    if (operand == 0) {
      s.fail(STATUS_SIZEOF_LOOKUP_ERROR);
      return;
    }
  } else if (item.size() == 4) {
    operand = read_operand_token(item, 0);
  }
  const int kind = get_operand_kind(operand);
  const int size = size_of_kind(kind, kind == OPERAND_KIND_CONSTANT ? g_constant_table[operand & 0xFFFFFF] : 0);
  if (size == 0) {
    s.fail(STATUS_SIZEOF_OPERAND_ERROR);
    return;
  }
  const std::int32_t c = g_constant_count;
  g_constant_table[c] = size;
  const std::int32_t at = g_level_name_pos[s.level()];
  drop_register_a_value_within(at, s.expr_pos);
  put_token(s, at, make_operand(OPERAND_KIND_CONSTANT, c));
  g_constant_count += 1;
  blank(s, at + 4, s.expr_pos + 1);
  resume_at_name(s);
}

}  // namespace tarvik::expr
