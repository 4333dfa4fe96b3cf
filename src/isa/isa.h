// The Tarvik instruction word: opcodes, ALU codes, the RAM map, one emitter per
// instruction form, and the patching of forward jumps.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/state.h"

namespace tarvik {

// Destination nibble (low) and source nibble (high) of an opcode.
inline constexpr std::uint8_t DST_A = 0x1;
inline constexpr std::uint8_t DST_B = 0x2;
inline constexpr std::uint8_t DST_A0 = 0x3;
inline constexpr std::uint8_t DST_A1 = 0x4;
inline constexpr std::uint8_t DST_A2 = 0x5;
inline constexpr std::uint8_t DST_RAM = 0x7;

inline constexpr std::uint8_t SRC_ALU = 0x1;
inline constexpr std::uint8_t SRC_RAM = 0x2;
inline constexpr std::uint8_t SRC_IMM = 0x3;
inline constexpr std::uint8_t SRC_A_SHL = 0x7;
inline constexpr std::uint8_t SRC_A_SHL_BH = 0x8;
inline constexpr std::uint8_t SRC_A_SHR = 0x9;
inline constexpr std::uint8_t SRC_A_SAR = 0xA;
inline constexpr std::uint8_t SRC_B_SHL = 0xB;
inline constexpr std::uint8_t SRC_B_SHR = 0xC;
inline constexpr std::uint8_t SRC_B_SAR = 0xD;
inline constexpr std::uint8_t SRC_B_SHR_AL = 0xE;

constexpr std::uint8_t opcode(std::uint8_t source, std::uint8_t destination) {
  return static_cast<std::uint8_t>(source * 16 + destination);
}

// OP_<destination>_<source>. RAM <- RAM does not exist.
#define TARVIK_OPCODES_FROM(src)                                                 \
  inline constexpr std::uint8_t OP_A_##src = opcode(SRC_##src, DST_A);     \
  inline constexpr std::uint8_t OP_B_##src = opcode(SRC_##src, DST_B);     \
  inline constexpr std::uint8_t OP_A0_##src = opcode(SRC_##src, DST_A0);   \
  inline constexpr std::uint8_t OP_A1_##src = opcode(SRC_##src, DST_A1);   \
  inline constexpr std::uint8_t OP_A2_##src = opcode(SRC_##src, DST_A2);
#define TARVIK_OPCODES_FROM_INTO_RAM_TOO(src) \
  TARVIK_OPCODES_FROM(src)                    \
  inline constexpr std::uint8_t OP_RAM_##src = opcode(SRC_##src, DST_RAM);
TARVIK_OPCODES_FROM_INTO_RAM_TOO(ALU)
TARVIK_OPCODES_FROM(RAM)
TARVIK_OPCODES_FROM_INTO_RAM_TOO(IMM)
TARVIK_OPCODES_FROM_INTO_RAM_TOO(A_SHL)
TARVIK_OPCODES_FROM_INTO_RAM_TOO(A_SHL_BH)
TARVIK_OPCODES_FROM_INTO_RAM_TOO(A_SHR)
TARVIK_OPCODES_FROM_INTO_RAM_TOO(A_SAR)
TARVIK_OPCODES_FROM_INTO_RAM_TOO(B_SHL)
TARVIK_OPCODES_FROM_INTO_RAM_TOO(B_SHR)
TARVIK_OPCODES_FROM_INTO_RAM_TOO(B_SAR)
TARVIK_OPCODES_FROM_INTO_RAM_TOO(B_SHR_AL)
#undef TARVIK_OPCODES_FROM_INTO_RAM_TOO
#undef TARVIK_OPCODES_FROM

// Jumps go to A2:A1:A0.
inline constexpr std::uint8_t OP_JUMP_IF_AH_CLEAR = 0x09;
inline constexpr std::uint8_t OP_JUMP_IF_BH_CLEAR = 0x0A;
inline constexpr std::uint8_t OP_JUMP_IF_A_NE_B = 0x0B;
inline constexpr std::uint8_t OP_JUMP_IF_CARRY = 0x0C;
inline constexpr std::uint8_t OP_JUMP = 0x0D;
inline constexpr std::uint8_t OP_NOP = 0xFF;

// The operand byte of an instruction that takes none.
inline constexpr std::uint8_t NO_OPERAND = 0xFF;

// ALU function codes. For the additions the carry is the carry out of the sum; for the
// subtractions it is 1 when there is no borrow.
inline constexpr std::uint8_t ALU_ADD_A_B = 0x94;
inline constexpr std::uint8_t ALU_ADD_A_A = 0xC4;
inline constexpr std::uint8_t ALU_ADD_A_1 = 0x00;
inline constexpr std::uint8_t ALU_ADD_A_B_1 = 0x90;
inline constexpr std::uint8_t ALU_ADD_A_A_1 = 0xC0;
inline constexpr std::uint8_t ALU_SUB_A_B = 0x60;
inline constexpr std::uint8_t ALU_SUB_A_1 = 0xF4;
inline constexpr std::uint8_t ALU_SUB_A_B_1 = 0x64;
inline constexpr std::uint8_t ALU_AND = 0xBF;
inline constexpr std::uint8_t ALU_OR = 0xEF;
inline constexpr std::uint8_t ALU_XOR = 0x6F;
inline constexpr std::uint8_t ALU_NOT_A = 0x0F;
inline constexpr std::uint8_t ALU_NOT_B = 0x5F;
inline constexpr std::uint8_t ALU_PASS_A = 0xFF;
inline constexpr std::uint8_t ALU_PASS_B = 0xAF;
inline constexpr std::uint8_t ALU_EQUALITY_TEST = 0x9F;

// RAM map and fixed code positions.
inline constexpr std::int32_t SYSTEM_RESERVED_RAM = 65536;
inline constexpr std::int32_t POINTER_STORE_STAGING_PAGE = 0x00;
inline constexpr std::int32_t RETURN_VALUE_ADDRESS = 0x010000;
inline constexpr std::int32_t ARITH_SCRATCH_RAM = 0x010004;
inline constexpr std::int32_t RAM_START = 0x010015;
inline constexpr std::int32_t ROM_RUN_STORE_ADDRESS = 0xC00080;
inline constexpr std::int32_t STARTUP_JUMP_TARGET = 9;
inline constexpr std::int32_t ROM_RUN_TARGET = 4;
inline constexpr std::int32_t CALL_RETURN_OFFSET = 19;
inline constexpr std::int32_t ROM_WORD_LIMIT = 0x1000000;

// The byte split of a value into operand bytes; bits 24 to 31 are dropped.
constexpr std::uint8_t high_byte(std::int32_t v) { return static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> 16); }
constexpr std::uint8_t middle_byte(std::int32_t v) { return static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> 8); }
constexpr std::uint8_t low_byte(std::int32_t v) { return static_cast<std::uint8_t>(v); }

// Appends one word to the image.
inline void append_word(std::uint8_t opcode_byte, std::uint8_t operand_byte) {
  g_rom_high_bytes.push_back(static_cast<char>(opcode_byte));
  g_rom_low_bytes.push_back(static_cast<char>(operand_byte));
  ++g_rom_word_count;
}

// A2:A1:A0 := value, the three words in front of every jump and addressed access.
inline void append_address_prefix(std::int32_t value) {
  append_word(OP_A2_IMM, high_byte(value));
  append_word(OP_A1_IMM, middle_byte(value));
  append_word(OP_A0_IMM, low_byte(value));
}

// Whether a word of the image from `first` on sets A2, A1 or A0 (an address prefix among them).
inline bool address_register_written_since(std::int32_t first) {
  for (std::int32_t word = first; word < g_rom_word_count; ++word) {
    const auto destination = static_cast<std::uint8_t>(g_rom_high_bytes[static_cast<std::size_t>(word)]) & 0x0F;
    if (destination == DST_A0 || destination == DST_A1 || destination == DST_A2) return true;
  }
  return false;
}

// The emitters as values, for templates that take the form as a parameter.
using WordEmitter = void (*)();
using AddressedEmitter = void (*)(std::int32_t address);
using JumpEmitter = void (*)(std::int32_t target);

// The emitters, one per instruction form, from the table in emitters.def.
#define TARVIK_ONE_WORD(name, op, operand) \
  inline void emit_##name() { append_word(op, operand); }
#define TARVIK_IMMEDIATE(name, op) \
  inline void emit_##name(std::int32_t v) { append_word(op, low_byte(v)); }
#define TARVIK_JUMP(name, op, operand)         \
  inline void emit_##name(std::int32_t target) { \
    append_address_prefix(target);             \
    append_word(op, operand);                  \
  }
#define TARVIK_ADDRESSED(name, op, operand)     \
  inline void emit_##name(std::int32_t address) { \
    append_address_prefix(address);             \
    append_word(OP_NOP, NO_OPERAND);            \
    append_word(op, operand);                   \
  }
#include "isa/emitters.def"
#undef TARVIK_ONE_WORD
#undef TARVIK_IMMEDIATE
#undef TARVIK_JUMP
#undef TARVIK_ADDRESSED

// RAM[address] := v, the one addressed form with a value.
inline void emit_store_imm(std::int32_t address, std::int32_t v) {
  append_address_prefix(address);
  append_word(OP_NOP, NO_OPERAND);
  append_word(OP_RAM_IMM, low_byte(v));
}

// Adds the jump whose first word is `word` to a list (read g_rom_word_count before emitting it).
inline void append_jump_entry(JumpList& list, std::int32_t word) {
  list += static_cast<char>(low_byte(word));
  list += static_cast<char>(middle_byte(word));
  list += static_cast<char>(high_byte(word));
}

// Writes target into the address prefix of every jump of the list, first entry first.
// The list keeps its entries.
void patch_jump_list(const JumpList& list, std::int32_t target);
// Writes target into the address prefix of the jump whose first word is word.
void patch_jump_target(std::int32_t word, std::int32_t target);

}  // namespace tarvik
