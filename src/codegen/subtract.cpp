#include "codegen/add_sub.h"

namespace tarvik::codegen {

namespace {

using Template = void (*)(const Operand& d, const Operand& l, const Operand& r);

void subtract_variables(const Operand& d, const Operand& l, const Operand& r) {
  const int n = variable_width(d.kind);
  if (same(l, r)) {
    for (int k = n - 1; k >= 0; --k) emit_store_imm(d.at(k), 0);
  } else if (same(d, l)) {
    combine_variable_bytes(SUBTRACTION, d, l, r, n, true, true);
  } else {
    combine_variable_bytes(SUBTRACTION, d, l, r, n, false, same(d, r));
  }
}

// D = X - c over n bytes (3 for an address value).
void subtract_constant(const Operand& d, const Operand& x, std::int32_t c, int n, bool constant_first) {
  if (c == 1) step_by_one(SUBTRACTION, d, x, n);
  else constant_bytes(SUBTRACTION, d, x, c, n, constant_first);
}

// D = c - R; a long loads R's byte before the constant's.
void constant_minus_variable(const Operand& d, std::int32_t c, const Operand& r) {
  const int n = variable_width(d.kind);
  for (int k = n - 1; k >= 0; --k) {
    if (n == 4) emit_load_b(r.at(k));
    emit_a_imm(byte_of(c, k));
    if (n != 4) emit_load_b(r.at(k));
    combine_into(SUBTRACTION, d, k, n, same(d, r));
  }
}

// Byte k of s·R into B; an R held in A is in B already, and parked for byte 0.
void offset_byte_into_b(const Operand& r, int s, int k) {
  const std::int32_t low = is_acc(r.kind) ? PARKED_INDEX : r.at();
  if (s == 1) {
    emit_b_from_a();
  } else if (k > 0) {
    scaled_byte_into_a(r, s, k);
    emit_b_from_a();
  } else if (s == 2) {
    emit_load_a(low);
    emit_b_a_shl();
  } else {
    low_byte_times_four_into_b(low);
  }
}

// R from A parked for byte 0 and copied into B for byte 1; from a long pointer it is parked first.
void park_index(bool park_first) {
  if (!park_first) emit_b_from_a();
  emit_store_a(PARKED_INDEX);
  if (park_first) emit_b_from_a();
}

// D = L - s·R, L a pointer variable or an array's address, R never sign-extended.
void subtract_offset(const Operand& d, const Operand& l, const Operand& r) {
  const int s = pointer_element_size(d.kind);
  const int e = offset_bytes(s, r);
  const bool in_place = is_pointer(l.kind) && same(d, l);
  copy_base_bytes_above(d, l, r, e);
  if (is_acc(r.kind) && s > 1) park_index(is_pointer(l.kind) && s == 4);
  for (int k = e - 1; k >= 0; --k) {
    if (s == 1 && !is_acc(r.kind)) {
      base_and_index_byte(l, r, k, in_place);
    } else {
      offset_byte_into_b(r, s, k);
      load_byte_into_a(l, k);
    }
    combine_into(SUBTRACTION, d, k, 3, in_place);
  }
}

// The distance between two addresses, as a signed long.
void address_difference(const Operand& d, const Operand& l, const Operand& r) {
  emit_store_imm(d.at(3), 0);
  for (int k = 2; k >= 0; --k) {
    load_pair(l, r, k, false);
    combine_into(SUBTRACTION, d, k, 4, false);
  }
}

// R from A into B, then L (a char or a constant) into A.
void a_into_b_then_load_a(const Operand& l) {
  emit_b_from_a();
  load_byte_into_a(l, 0);
}

void emit_ta1(const Operand&, const Operand& l, const Operand& r) { a_from_variables(SUBTRACTION, l, r); }
void emit_ta2(const Operand&, const Operand&, const Operand& r) { a_with_variable(SUBTRACTION, r); }
void emit_ta3(const Operand&, const Operand& l, const Operand&) {
  a_into_b_then_load_a(l);
  emit_a_sub_a_b();
}
void emit_ta4(const Operand&, const Operand&, const Operand& r) { a_with_constant(SUBTRACTION, r.value); }
void emit_ta5(const Operand&, const Operand& l, const Operand&) {
  a_into_b_then_load_a(l);
  emit_nop();
  emit_a_sub_a_b();
}
void emit_ta6(const Operand&, const Operand& l, const Operand& r) {
  emit_load_a(l.at());
  a_with_constant(SUBTRACTION, r.value);
}
void emit_ta7(const Operand&, const Operand& l, const Operand& r) {
  emit_a_imm(byte_of(l.value, 0));
  a_with_variable(SUBTRACTION, r);
}
void emit_tm1(const Operand& d, const Operand&, const Operand& r) { d_with_variable(SUBTRACTION, d, r); }
void emit_tm2(const Operand& d, const Operand& l, const Operand&) {
  a_into_b_then_load_a(l);
  combine_into(SUBTRACTION, d, 0, 1, same(d, l));
}
void emit_tm3(const Operand& d, const Operand&, const Operand& r) { d_with_constant(SUBTRACTION, d, r.value); }
void emit_tm4(const Operand& d, const Operand& l, const Operand&) {
  a_into_b_then_load_a(l);
  emit_store_sub_a_b(d.at());
}
void emit_vk(const Operand& d, const Operand& l, const Operand& r) {
  subtract_constant(d, l, r.value, variable_width(d.kind), false);
}
void emit_kv(const Operand& d, const Operand& l, const Operand& r) { constant_minus_variable(d, l.value, r); }
void emit_dk(const Operand& d, const Operand& l, const Operand& r) { subtract_constant(d, l, r.value, 3, true); }

// The register-A rows: D in A, or D a char with one operand in A.
Template register_a_template(const Operation& o) {
  const int l = o.l.kind, r = o.r.kind;
  if (is_acc(o.d.kind)) {
    if (is_v8(l) && is_v8(r)) return emit_ta1;
    if (is_acc(l) && is_v8(r)) return emit_ta2;
    if (is_v8(l) && is_acc(r)) return emit_ta3;
    if (is_acc(l) && is_constant(r)) return emit_ta4;
    if (is_constant(l) && is_acc(r)) return emit_ta5;
    if (is_v8(l) && is_constant(r)) return emit_ta6;
    if (is_constant(l) && is_v8(r)) return emit_ta7;
  } else if (is_v8(o.d.kind)) {
    if (is_acc(l) && is_v8(r)) return emit_tm1;
    if (is_v8(l) && is_acc(r)) return emit_tm2;
    if (is_acc(l) && is_constant(r)) return emit_tm3;
    if (is_constant(l) && is_acc(r)) return emit_tm4;
  }
  return nullptr;
}

// A pointer minus an index, the pointer or array of D's element size.
bool is_offset(const Operation& o) {
  const int s = pointer_element_size(o.d.kind);
  const bool base = (is_pointer(o.l.kind) && pointer_element_size(o.l.kind) == s) ||
                    (is_array(o.l.kind) && array_element_size(o.l.kind) == s);
  return s != 0 && base && is_index(o.r.kind);
}

Template classify(const Operation& o) {
  const Operand &d = o.d, &l = o.l, &r = o.r;
  if (const Template t = register_a_template(o)) return t;
  if (reaches_width_of(d, l) && variable_width(l.kind) == variable_width(r.kind)) return subtract_variables;
  if (reaches_width_of(d, l) && is_constant(r.kind)) return emit_vk;
  if (is_constant(l.kind) && reaches_width_of(d, r)) return emit_kv;
  if (is_offset(o)) return subtract_offset;
  if (is_address(d.kind) && is_address(l.kind) && is_constant(r.kind)) return emit_dk;
  if (is_v32(d.kind) && is_address(l.kind) && is_address(r.kind)) return address_difference;
  return nullptr;
}

}  // namespace

StatusText compile_subtraction(const Operation& operation) {
  const Template emit = classify(operation);
  if (emit == nullptr) return Text(STATUS_BINOP_SUB_TYPE_ERROR);
  emit(operation.d, operation.l, operation.r);
  return Text(STATUS_DONE);
}

}  // namespace tarvik::codegen
