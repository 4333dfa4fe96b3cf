// What every operator case of the code generator shares: the normalised operands, their
// classes, and the word sequences built once (byte loads, carry and borrow chains, sign
// fill, access through a pointer).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "codegen/codegen.h"
#include "isa/isa.h"

namespace tarvik::codegen {

// One operand after normalisation. `value` is a constant's value or an array's address
// (0 for any other operand).
struct Operand {
  OperandDescriptor descriptor = 0;
  int kind = 0;
  std::int32_t value = 0;

  // The RAM address of byte k: the low 24 bits of the descriptor plus k.
  std::int32_t at(int k = 0) const {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(descriptor) + static_cast<std::uint32_t>(k)) & 0xFFFFFF);
  }
};

// D = L op R; for "=" L is the target and R the source.
struct Operation {
  Operand d, l, r;
};

// Both descriptors name the same RAM address.
inline bool same(const Operand& x, const Operand& y) { return x.at() == y.at(); }

// Byte k of a value (k = 0 to 3): the value shifted right by 8k, as the emitters cut it.
constexpr std::int32_t byte_of(std::int32_t v, int k) { return v >> (8 * k); }

// The word index that the next word gets: jump targets are counted from it.
inline std::int32_t here() { return g_rom_word_count; }

// Word counts that jump distances are made of.
inline constexpr int ADDRESSED_WORDS = 5;  // a load, a store, emit_store_imm
inline constexpr int JUMP_WORDS = 4;
inline constexpr int CARRY_LINK_WORDS = 14;
inline constexpr int BORROW_LINK_WORDS = 10;

// Where a value's bytes lie, by significance: [k] is the address of byte k.
struct Bytes {
  int n = 0;
  std::array<std::int32_t, 8> address{};

  std::int32_t operator[](int k) const { return address[k]; }
  // The addresses of bytes k + 1 to n - 1.
  const std::int32_t* above(int k) const { return address.data() + k + 1; }
};
// A variable of n bytes, low byte first.
Bytes variable_bytes(const Operand& x, int n);
// A work value in scratch RAM, most significant byte at `first`.
Bytes work_value(std::int32_t first, int n);


// Byte k of an operand into A or into B: a variable, pointer or address value from RAM, a
// constant or array as an immediate, register A, B or the RAM byte at A2:A1:A0 as it is.
void load_byte_into_a(const Operand& x, int k);
void load_byte_into_b(const Operand& x, int k);

// Passes a carry up into the bytes at `bytes`, nearest first: the first link jumps on the
// carry of `first`, every later one on the carry of A + 1. 14 words a link.
void carry_chain(JumpEmitter first, const std::int32_t* bytes, int count);
// The same, into bytes k + 1 to n - 1 of the variable at `d`.
void carry_chain_above(std::int32_t d, int k, int n, JumpEmitter first);
// Passes a borrow up into the bytes at `bytes`, nearest first: the first link jumps on the
// carry (no borrow) of `first`, every later one on that of A - 1. 10 words a link.
void borrow_chain(JumpEmitter first, const std::int32_t* bytes, int count);
// The same, into bytes k + 1 to n - 1 of the variable at `d`.
void borrow_chain_above(std::int32_t d, int k, int n, JumpEmitter first);

// A value of two or more bytes shifted left by one bit, 0 into bit 0, from `from` into `to`
// (in place when they are the same bytes, the last load then leaving the address at the
// byte to write). A ends holding the old top byte.
void shift_left_by_one(const Bytes& from, const Bytes& to);

// B := 0x00 or 0xFF by bit 7 of A, stored into bytes `top` down to `bottom` of D.
void sign_fill(const Operand& d, int top, int bottom);

// The copy of a pointer in scratch RAM, high byte first, that steps through an object.
inline constexpr std::int32_t POINTER_COPY_HIGH = ARITH_SCRATCH_RAM;
inline constexpr std::int32_t POINTER_COPY_MIDDLE = ARITH_SCRATCH_RAM + 1;
inline constexpr std::int32_t POINTER_COPY_LOW = ARITH_SCRATCH_RAM + 2;

// A2:A1:A0 := the pointer stored at `pointer` (low byte first), then the separating NOP:
// the next word may access RAM there. A and B are overwritten. 18 words.
void address_through_pointer(std::int32_t pointer);
// The same with the pointer copy in scratch RAM. 18 words.
void address_through_copy();
// The pointer at `pointer` into the copy, incremented to address byte 1. 58 words.
void copy_pointer(std::int32_t pointer);
// The copy steps on to the next byte. 34 words.
void increment_pointer_copy();
// A's byte stored through the pointer whose middle, low and high bytes lie at the given
// addresses. Building the address needs A and B, so the byte passes through the staging
// byte at 0x00:middle:low. 31 words.
void staged_store(std::int32_t middle, std::int32_t low, std::int32_t high);
void staged_store_through_pointer(std::int32_t pointer);
void staged_store_through_copy();

// Adds the jump that is emitted next to a list.
inline void add_next_jump(JumpList& list) { append_jump_entry(list, here()); }

// The operator cases. Each tests its accepted combinations first and emits only once one
// has matched, so a refusal leaves the image, the condition lists and the text untouched.
StatusText compile_assignment(const Operation& operation);
StatusText compile_addition(const Operation& operation);
StatusText compile_subtraction(const Operation& operation);
StatusText compile_multiplication(const Operation& operation);
StatusText compile_division(const Operation& operation, bool remainder);
StatusText compile_bitwise(const Operation& operation, std::string_view op);
StatusText compile_complement(const Operation& operation);
StatusText compile_shift(const Operation& operation, bool left);
StatusText compile_equality(const Operation& operation, bool not_equal);
StatusText compile_relational(const Operation& operation, Text& op, bool strict);

}  // namespace tarvik::codegen
