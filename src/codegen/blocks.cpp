#include "codegen/blocks.h"

namespace tarvik::codegen {

namespace {

// RAM-held operands: variables, pointers and address values.
bool is_in_ram(int kind) { return is_variable(kind) || is_pointer(kind) || is_address(kind); }

}  // namespace

void load_byte_into_a(const Operand& x, int k) {
  if (is_in_ram(x.kind)) emit_load_a(x.at(k));
  else if (is_constant(x.kind) || is_array(x.kind)) emit_a_imm(byte_of(x.value, k));
  else if (x.kind == OPERAND_KIND_RAM) emit_a_from_ram();
  else if (x.kind == OPERAND_KIND_B) emit_a_from_b();
  // A value in A is there already.
}

void load_byte_into_b(const Operand& x, int k) {
  if (is_in_ram(x.kind)) emit_load_b(x.at(k));
  else if (is_constant(x.kind) || is_array(x.kind)) emit_b_imm(byte_of(x.value, k));
  else if (x.kind == OPERAND_KIND_RAM) emit_b_from_ram();
  else if (is_acc(x.kind)) emit_b_from_a();
}

Bytes variable_bytes(const Operand& x, int n) {
  Bytes bytes{n};
  for (int k = 0; k < n; ++k) bytes.address[k] = x.at(k);
  return bytes;
}

Bytes work_value(std::int32_t first, int n) {
  Bytes bytes{n};
  for (int k = 0; k < n; ++k) bytes.address[k] = first + n - 1 - k;
  return bytes;
}

void carry_chain(JumpEmitter first, const std::int32_t* bytes, int count) {
  const std::int32_t end = here() + CARRY_LINK_WORDS * count;
  for (int j = 0; j < count; ++j) {
    (j == 0 ? first : emit_jump_if_carry_add_a_1)(here() + 8);
    emit_jump_to(end);
    emit_load_a(bytes[j]);
    emit_ram_add_a_1();
  }
}

void carry_chain_above(std::int32_t d, int k, int n, JumpEmitter first) {
  carry_chain(first, variable_bytes(Operand{d}, n).above(k), n - 1 - k);
}

void borrow_chain(JumpEmitter first, const std::int32_t* bytes, int count) {
  const std::int32_t end = here() + BORROW_LINK_WORDS * count;
  for (int j = 0; j < count; ++j) {
    (j == 0 ? first : emit_jump_if_carry_sub_a_1)(end);
    emit_load_a(bytes[j]);
    emit_ram_sub_a_1();
  }
}

void borrow_chain_above(std::int32_t d, int k, int n, JumpEmitter first) {
  borrow_chain(first, variable_bytes(Operand{d}, n).above(k), n - 1 - k);
}

void shift_left_by_one(const Bytes& from, const Bytes& to) {
  const bool in_place = from[0] == to[0];
  emit_load_a(from[1]);
  emit_load_b(from[0]);
  if (in_place) emit_ram_b_shl();
  else emit_store_b_shl(to[0]);
  emit_store_a_shl_bh(to[1]);
  for (int k = 2; k < from.n; ++k) {
    emit_b_from_a();
    emit_load_a(from[k]);
    if (in_place) emit_ram_a_shl_bh();
    else emit_store_a_shl_bh(to[k]);
  }
}

void sign_fill(const Operand& d, int top, int bottom) {
  emit_b_imm(0);
  emit_jump_if_ah_clear(here() + 5);
  emit_b_not_b();
  for (int k = top; k >= bottom; --k) emit_store_b(d.at(k));
}

namespace {

// A2:A1:A0 := high:middle:low read from RAM; A and B carry the two lower bytes.
void address_from(std::int32_t middle, std::int32_t low, std::int32_t high) {
  emit_load_a(middle);
  emit_load_b(low);
  emit_load_a2(high);
  emit_a1_from_a();
  emit_a0_from_b();
  emit_nop();
}

}  // namespace

void address_through_pointer(std::int32_t pointer) { address_from(pointer + 1, pointer, pointer + 2); }

void address_through_copy() { address_from(POINTER_COPY_MIDDLE, POINTER_COPY_LOW, POINTER_COPY_HIGH); }

namespace {

// The incremented low byte of the copy has been stored: pass its carry up.
void carry_into_pointer_copy() {
  static constexpr std::int32_t HIGHER[] = {POINTER_COPY_MIDDLE, POINTER_COPY_HIGH};
  carry_chain(emit_jump_if_carry_add_a_1, HIGHER, 2);
}

}  // namespace

void copy_pointer(std::int32_t pointer) {
  emit_load_a(pointer + 2);
  emit_store_a(POINTER_COPY_HIGH);
  emit_load_a(pointer + 1);
  emit_store_a(POINTER_COPY_MIDDLE);
  emit_load_a(pointer);
  emit_store_add_a_1(POINTER_COPY_LOW);
  carry_into_pointer_copy();
}

void increment_pointer_copy() {
  emit_load_a(POINTER_COPY_LOW);
  emit_ram_add_a_1();
  carry_into_pointer_copy();
}

void staged_store(std::int32_t middle, std::int32_t low, std::int32_t high) {
  emit_load_b(middle);
  emit_load_a0(low);
  emit_a2_imm(POINTER_STORE_STAGING_PAGE);
  emit_a1_from_b();
  emit_nop();
  emit_ram_from_a();
  emit_load_a(high);
  emit_load_a0(low);
  emit_a2_imm(POINTER_STORE_STAGING_PAGE);
  emit_a1_from_b();
  emit_nop();
  emit_b_from_ram();
  emit_a2_from_a();
  emit_nop();
  emit_ram_from_b();
}

void staged_store_through_pointer(std::int32_t pointer) { staged_store(pointer + 1, pointer, pointer + 2); }

void staged_store_through_copy() { staged_store(POINTER_COPY_MIDDLE, POINTER_COPY_LOW, POINTER_COPY_HIGH); }

}  // namespace tarvik::codegen
