// "&", "^" and "|": one body for three passes. Operands are matched to one width, a
// constant measured by its unsigned range; the same words serve signed and unsigned kinds.
#include "binop/reduction.h"

namespace tarvik::binop {

namespace {

StatusText compute(Operation& o, int width) {
  if (takes_narrowing_shortcut(o, width)) return into_target(o);
  const bool is_signed = pair_is_signed(o.l, o.r);
  switch (width) {
    case 1: return into_register_a(o, is_signed);
    case 2: return into_temporary(o, OPERAND_KIND_UINT, 2, is_signed ? OPERAND_KIND_INT : OPERAND_KIND_UINT);
    default: return into_temporary(o, OPERAND_KIND_ULONG, 4, is_signed ? OPERAND_KIND_LONG : OPERAND_KIND_ULONG);
  }
}

std::int32_t folded(std::string_view op, std::int32_t a, std::int32_t b) {
  if (op == "&") return a & b;
  if (op == "|") return a | b;
  return a ^ b;
}

// X = A op B in either order: the ALU result of A and B straight into X.
constexpr RegisterForms AND_FORMS = {emit_a_and, emit_b_and, emit_a2_and, emit_a1_and,
                                     emit_a0_and, emit_ram_and, emit_store_and};
constexpr RegisterForms OR_FORMS = {emit_a_or, emit_b_or, emit_a2_or, emit_a1_or, emit_a0_or, emit_ram_or, emit_store_or};
constexpr RegisterForms XOR_FORMS = {emit_a_xor, emit_b_xor, emit_a2_xor, emit_a1_xor,
                                     emit_a0_xor, emit_ram_xor, emit_store_xor};

bool is_register_pair(int lk, int rk) {
  return (lk == OPERAND_KIND_A && rk == OPERAND_KIND_B) || (lk == OPERAND_KIND_B && rk == OPERAND_KIND_A);
}

StatusText place(Operation& o) {
  const int lk = o.l_kind(), rk = o.r_kind();
  if (const int width = pair_width(o); width != 0) {
    StatusText status = compute(o, width);
    return status == STATUS_DONE ? Text(STATUS_CONTINUE) : status;
  }
  if (is_constant(lk) && is_constant(rk)) {
    fold(o, folded(o.op, constant_value(o.l), constant_value(o.r)));
    return Text(STATUS_CONTINUE);
  }
  if (is_register_pair(lk, rk) && is_register_form_target(o)) {
    emit_register_form(o, o.op == "&" ? AND_FORMS : o.op == "|" ? OR_FORMS : XOR_FORMS);
    return Text(STATUS_CONTINUE);
  }
  return Text(STATUS_BITWISE_OPERAND_ERROR);
}

}  // namespace

StatusText reduce_bitwise(Scan& scan, std::string_view op) {
  Operation o(scan);
  if (!read_operation(scan, op, o)) return Text(STATUS_BITWISE_OPERAND_ERROR);
  const StatusText status = prepare_numbers(o, true);
  return status == STATUS_DONE ? place(o) : status;
}

}  // namespace tarvik::binop
