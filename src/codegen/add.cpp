#include "codegen/add_sub.h"

namespace tarvik::codegen {

namespace {

using Template = void (*)(const Operand& d, const Operand& x, const Operand& y);

// A chosen template and the operands in its roles, whichever of L and R they were.
struct Plan {
  Template emit = nullptr;
  const Operand* x = nullptr;
  const Operand* y = nullptr;
};

using KindTest = bool (*)(int);

// L and R as (x, y) with x passing `is_x` and y passing `is_y`, in either order.
bool either_order(const Operation& o, KindTest is_x, KindTest is_y, Plan& plan) {
  if (is_x(o.l.kind) && is_y(o.r.kind)) plan.x = &o.l, plan.y = &o.r;
  else if (is_x(o.r.kind) && is_y(o.l.kind)) plan.x = &o.r, plan.y = &o.l;
  else return false;
  return true;
}

// x + x: A + A, whose carry is bit 7 of A.
void add_doubled(const Operand& d, const Operand& x, int n) {
  for (int k = n - 1; k >= 0; --k) {
    emit_load_a(x.at(k));
    if (same(d, x)) emit_ram_add_a_a();
    else emit_store_add_a_a(d.at(k));
    carry_chain_above(d.at(), k, n, emit_jump_if_carry_add_a_a);
  }
}

void add_variables(const Operand& d, const Operand& l, const Operand& r) {
  const int n = variable_width(d.kind);
  if (same(l, r)) add_doubled(d, l, n);
  else if (same(d, l) && n == 2) combine_variable_bytes(ADDITION, d, r, l, n, false, true);
  else if (same(d, l)) combine_variable_bytes(ADDITION, d, l, r, n, true, true);
  else combine_variable_bytes(ADDITION, d, l, r, n, false, same(d, r));
}

// An int plus 1 into another int: the high byte copied, then rewritten as its own successor
// when the low byte carries.
void increment_into_other_int(const Operand& d, const Operand& x) {
  emit_load_a(x.at(1));
  emit_store_a(d.at(1));
  emit_load_a(x.at());
  emit_store_add_a_1(d.at());
  emit_jump_if_carry_add_a_1(here() + 8);
  emit_jump_to(here() + 14);
  emit_load_a(x.at(1));
  emit_store_add_a_1(d.at(1));
}

// D = X + c over n bytes (3 for an address value).
void add_constant(const Operand& d, const Operand& x, std::int32_t c, int n) {
  if (c != 1) constant_bytes(ADDITION, d, x, c, n, n >= 3);
  else if (n == 2 && !same(d, x)) increment_into_other_int(d, x);
  else step_by_one(ADDITION, d, x, n);
}

// Byte k of s·i for s = 2 or 4; true when it is left in A, false in B. An index held in A
// has been parked at `parked` for byte 0.
bool scaled_index_byte(const Operand& index, int s, int k, std::int32_t parked) {
  const std::int32_t low = is_acc(index.kind) ? parked : index.at();
  if (k == 0 && s == 4) {
    low_byte_times_four_into_b(low);
    return false;
  }
  if (k == 0) {
    emit_load_b(low);
    emit_a_b_shl();
    return true;
  }
  if (is_acc(index.kind)) {
    emit_b_from_a();
    if (s == 2) {
      emit_a_imm(0);
      emit_b_a_shl_bh();
      return false;
    }
  }
  scaled_byte_into_a(index, s, k);
  return true;
}

// Byte k of the base and of the scaled index into A and B, each where the other is not.
void offset_byte(const Operand& base, const Operand& index, int s, int k, std::int32_t parked, bool in_place) {
  if (s == 1 && is_acc(index.kind)) load_byte_into_b(base, k);
  else if (s == 1) base_and_index_byte(base, index, k, in_place);
  else if (scaled_index_byte(index, s, k, parked)) load_byte_into_b(base, k);
  else load_byte_into_a(base, k);
}

// D = base + s·i: an array's address or a pointer variable, i never sign-extended.
void add_offset(const Operand& d, const Operand& base, const Operand& index) {
  const int s = pointer_element_size(d.kind);
  const int e = offset_bytes(s, index);
  const bool in_place = is_pointer(base.kind) && same(d, base);
  const std::int32_t parked = is_array(base.kind) ? d.at() : PARKED_INDEX;
  copy_base_bytes_above(d, base, index, e);
  if (is_acc(index.kind) && s > 1) emit_store_a(parked);
  for (int k = e - 1; k >= 0; --k) {
    offset_byte(base, index, s, k, parked, in_place);
    combine_into(ADDITION, d, k, 3, in_place);
  }
}

void emit_aa(const Operand&, const Operand& l, const Operand& r) { a_from_variables(ADDITION, l, r); }
void emit_ar(const Operand&, const Operand&, const Operand& v) { a_with_variable(ADDITION, v); }
void emit_mr(const Operand& d, const Operand&, const Operand& v) { d_with_variable(ADDITION, d, v); }
void emit_ak(const Operand&, const Operand& k, const Operand&) { a_with_constant(ADDITION, k.value); }
void emit_mk(const Operand& d, const Operand& k, const Operand&) { d_with_constant(ADDITION, d, k.value); }
void emit_av(const Operand&, const Operand& k, const Operand& v) {
  emit_load_a(v.at());
  a_with_constant(ADDITION, k.value);
}
void emit_vk(const Operand& d, const Operand& k, const Operand& v) { add_constant(d, v, k.value, variable_width(d.kind)); }
void emit_dk(const Operand& d, const Operand& k, const Operand& x) { add_constant(d, x, k.value, 3); }

// The base's element size is D's.
bool offset_plan(const Operation& o, Plan& plan) {
  const int s = pointer_element_size(o.d.kind);
  if (s == 0) return false;
  if (either_order(o, is_array, is_index, plan)) return array_element_size(plan.x->kind) == s;
  if (either_order(o, is_pointer, is_index, plan)) return pointer_element_size(plan.x->kind) == s;
  return false;
}

Plan with(Plan plan, Template emit) {
  plan.emit = emit;
  return plan;
}

Plan classify(const Operation& o) {
  const int d = o.d.kind;
  const Plan in_order{nullptr, &o.l, &o.r};
  Plan p;
  if (is_acc(d) && is_v8(o.l.kind) && is_v8(o.r.kind)) return with(in_order, emit_aa);
  if (reaches_width_of(o.d, o.l) && variable_width(o.l.kind) == variable_width(o.r.kind)) return with(in_order, add_variables);
  if (is_acc(d) && either_order(o, is_acc, is_v8, p)) return with(p, emit_ar);
  if (is_v8(d) && either_order(o, is_acc, is_v8, p)) return with(p, emit_mr);
  if (is_acc(d) && either_order(o, is_constant, is_acc, p)) return with(p, emit_ak);
  if (is_v8(d) && either_order(o, is_constant, is_acc, p)) return with(p, emit_mk);
  if (is_acc(d) && either_order(o, is_constant, is_v8, p)) return with(p, emit_av);
  if (either_order(o, is_constant, is_variable, p) && reaches_width_of(o.d, *p.y)) return with(p, emit_vk);
  if (offset_plan(o, p)) return with(p, add_offset);
  if (is_address(d) && either_order(o, is_constant, is_address, p)) return with(p, emit_dk);
  return Plan{};
}

}  // namespace

StatusText compile_addition(const Operation& operation) {
  const Plan plan = classify(operation);
  if (plan.emit == nullptr) return Text(STATUS_BINOP_ADD_TYPE_ERROR);
  plan.emit(operation.d, *plan.x, *plan.y);
  return Text(STATUS_DONE);
}

}  // namespace tarvik::codegen
