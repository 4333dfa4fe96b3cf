// What "+" and "-" share: the forms of each operation, the widths that they accept, and the
// templates that differ between the two only in the ALU function and its carry or borrow.
#pragma once

#include <algorithm>

#include "codegen/blocks.h"

namespace tarvik::codegen {

// The emitters of A + B and A + 1, or of A - B and A - 1, and the chain that passes a carry
// or a borrow up through the bytes already stored.
struct ByteArithmetic {
  AddressedEmitter store_a_b;
  WordEmitter ram_a_b;
  WordEmitter a_a_b;
  AddressedEmitter store_a_1;
  WordEmitter ram_a_1;
  WordEmitter a_a_1;
  JumpEmitter carry_a_b;
  JumpEmitter carry_a_1;
  void (*chain_above)(std::int32_t d, int k, int n, JumpEmitter first);
};

inline constexpr ByteArithmetic ADDITION{emit_store_add_a_b,         emit_ram_add_a_b,           emit_a_add_a_b,
                                         emit_store_add_a_1,         emit_ram_add_a_1,           emit_a_add_a_1,
                                         emit_jump_if_carry_add_a_b, emit_jump_if_carry_add_a_1, carry_chain_above};
inline constexpr ByteArithmetic SUBTRACTION{emit_store_sub_a_b,         emit_ram_sub_a_b,           emit_a_sub_a_b,
                                            emit_store_sub_a_1,         emit_ram_sub_a_1,           emit_a_sub_a_1,
                                            emit_jump_if_carry_sub_a_b, emit_jump_if_carry_sub_a_1, borrow_chain_above};

// Where an index held in A waits while the bytes of a pointer pass through A and B.
inline constexpr std::int32_t PARKED_INDEX = ARITH_SCRATCH_RAM;

// A variable at least as wide as the variable D: a wider one gives its low bytes.
inline bool reaches_width_of(const Operand& d, const Operand& x) {
  return is_variable(d.kind) && variable_width(x.kind) >= variable_width(d.kind);
}

// What may be scaled and added to or taken from a pointer: 8 bits in A, or a variable.
constexpr bool is_index(int kind) { return is_acc(kind) || is_variable(kind); }

// A op B into byte k of the n-byte D, in place at the address that the last load left, then
// the carry or borrow up through bytes k + 1 to n - 1.
inline void combine_into(const ByteArithmetic& ops, const Operand& d, int k, int n, bool in_place) {
  if (in_place) ops.ram_a_b();
  else ops.store_a_b(d.at(k));
  ops.chain_above(d.at(), k, n, ops.carry_a_b);
}

// Byte k of two variables into A and B, B's first when `b_first`.
inline void load_pair(const Operand& into_a, const Operand& into_b, int k, bool b_first) {
  if (b_first) emit_load_b(into_b.at(k));
  emit_load_a(into_a.at(k));
  if (!b_first) emit_load_b(into_b.at(k));
}

// D = L op R over n bytes, top byte first.
inline void combine_variable_bytes(const ByteArithmetic& ops, const Operand& d, const Operand& into_a, const Operand& into_b,
                                   int n, bool b_first, bool in_place) {
  for (int k = n - 1; k >= 0; --k) {
    load_pair(into_a, into_b, k, b_first);
    combine_into(ops, d, k, n, in_place);
  }
}

// D = X op c for c other than 1, top byte first; the constant's byte comes first or last.
inline void constant_bytes(const ByteArithmetic& ops, const Operand& d, const Operand& x, std::int32_t c, int n,
                           bool constant_first) {
  for (int k = n - 1; k >= 0; --k) {
    if (constant_first) emit_b_imm(byte_of(c, k));
    emit_load_a(x.at(k));
    if (!constant_first) emit_b_imm(byte_of(c, k));
    combine_into(ops, d, k, n, same(d, x));
  }
}

// D = X op 1: the upper bytes copied unless D is X, then A + 1 or A - 1 on byte 0, whose carry
// or borrow runs up as far as it goes.
inline void step_by_one(const ByteArithmetic& ops, const Operand& d, const Operand& x, int n) {
  if (same(d, x)) {
    emit_load_a(x.at());
    ops.ram_a_1();
  } else {
    for (int k = n - 1; k >= 1; --k) {
      emit_load_a(x.at(k));
      emit_store_a(d.at(k));
    }
    emit_load_a(x.at());
    ops.store_a_1(d.at());
  }
  ops.chain_above(d.at(), 0, n, ops.carry_a_1);
}

// A = L op R of two 8-bit variables; the same variable twice is loaded once.
inline void a_from_variables(const ByteArithmetic& ops, const Operand& l, const Operand& r) {
  emit_load_a(l.at());
  if (same(l, r)) emit_b_from_a();
  else emit_load_b(r.at());
  ops.a_a_b();
}

// A = A op c.
inline void a_with_constant(const ByteArithmetic& ops, std::int32_t c) {
  if (c == 1) {
    emit_nop();
    ops.a_a_1();
  } else {
    emit_b_imm(byte_of(c, 0));
    ops.a_a_b();
  }
}

// D = A op c, D an 8-bit variable.
inline void d_with_constant(const ByteArithmetic& ops, const Operand& d, std::int32_t c) {
  if (c == 1) {
    ops.store_a_1(d.at());
  } else {
    emit_b_imm(byte_of(c, 0));
    ops.store_a_b(d.at());
  }
}

// A = A op X, X an 8-bit variable.
inline void a_with_variable(const ByteArithmetic& ops, const Operand& x) {
  emit_load_b(x.at());
  ops.a_a_b();
}

// D = A op X, X an 8-bit variable, in place when D is X.
inline void d_with_variable(const ByteArithmetic& ops, const Operand& d, const Operand& x) {
  emit_load_b(x.at());
  combine_into(ops, d, 0, 1, same(d, x));
}

// How many low bytes of s·i can be non-zero within the 3 bytes of an address: i is one byte
// in A or a V8, two in a V16, the low three of a V32.
inline int offset_bytes(int s, const Operand& index) {
  const int width = is_acc(index.kind) ? 1 : std::min(variable_width(index.kind), 3);
  return s == 1 ? width : std::min(width + 1, 3);
}

// The bytes of a pointer result above the offset's reach are the base's, top first: constants
// from an array, copies from a pointer that is not D itself, through B while A holds the index.
inline void copy_base_bytes_above(const Operand& d, const Operand& base, const Operand& index, int e) {
  for (int k = 2; k >= e; --k) {
    if (is_array(base.kind)) {
      emit_store_imm(d.at(k), byte_of(base.value, k));
    } else if (same(d, base)) {
      continue;
    } else if (is_acc(index.kind)) {
      emit_load_b(base.at(k));
      emit_store_b(d.at(k));
    } else {
      emit_load_a(base.at(k));
      emit_store_a(d.at(k));
    }
  }
}

// With s = 1 and a variable index: byte k of the base into A and of the index into B. The
// base loads first from an array, or from a pointer beside a 1-byte index, except when the
// pointer is D: then its byte loads last so that the in-place word lands on it.
inline void base_and_index_byte(const Operand& base, const Operand& index, int k, bool in_place) {
  const bool base_first = is_array(base.kind) || (is_v8(index.kind) && !in_place);
  if (!base_first) emit_load_b(index.at(k));
  load_byte_into_a(base, k);
  if (base_first) emit_load_b(index.at(k));
}

// A := A·s (s = 2 or 4) with the top bits of B shifted in below; for s = 4, B shifts too.
inline void shift_in_from_b(int s) {
  emit_a_a_shl_bh();
  if (s == 4) {
    emit_b_b_shl();
    emit_a_a_shl_bh();
  }
}

// Byte k >= 1 of s·i into A, from index bytes k and k - 1; an index held in A must be in B.
inline void scaled_byte_into_a(const Operand& index, int s, int k) {
  if (is_acc(index.kind)) {
    emit_a_imm(0);
    emit_nop();
  } else {
    if (k < variable_width(index.kind)) emit_load_a(index.at(k));
    else emit_a_imm(0);
    emit_load_b(index.at(k - 1));
  }
  shift_in_from_b(s);
}

// Byte 0 of 4·i into B, i from RAM at `address`.
inline void low_byte_times_four_into_b(std::int32_t address) {
  emit_load_b(address);
  emit_a_b_shl();
  emit_b_a_shl();
}

}  // namespace tarvik::codegen
