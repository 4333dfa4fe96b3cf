#include "codegen/work_values.h"

namespace tarvik::codegen {

int loop_operation_width(const Operation& operation) {
  const int n = variable_width(operation.d.kind);
  const auto fits = [n](const Operand& x) {
    return variable_width(x.kind) == n || is_constant(x.kind) || (n == 1 && is_acc_value(x.kind));
  };
  const Operand &l = operation.l, &r = operation.r;
  if (n == 0 || !fits(l) || !fits(r)) return 0;
  if (is_constant(l.kind) && is_constant(r.kind)) return 0;
  if (is_acc_value(l.kind) && is_acc_value(r.kind)) return 0;
  return n;
}

void copy_into(const Bytes& to, const Operand& x) {
  for (int k = to.n - 1; k >= 0; --k) {
    load_byte_into_a(x, k);
    emit_store_a(to[k]);
  }
}

void copy_out(const Bytes& from, const Operand& d) {
  for (int k = from.n - 1; k >= 0; --k) {
    emit_load_a(from[k]);
    emit_store_a(d.at(k));
  }
}

void store_constant(const Bytes& to, std::int32_t c) {
  for (int k = to.n - 1; k >= 0; --k) emit_store_imm(to[k], byte_of(c, k));
}

void shift_left(const Bytes& s) {
  if (s.n == 1) {
    emit_load_a(s[0]);
    emit_ram_a_shl();
  } else {
    shift_left_by_one(s, s);
  }
}

void count_down(std::int32_t counter, std::int32_t loop) {
  emit_load_a(counter);
  emit_ram_sub_a_1();
  emit_jump_if_carry_sub_a_1(loop);
}

}  // namespace tarvik::codegen
