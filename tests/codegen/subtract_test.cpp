#include <cstdint>
#include <initializer_list>

#include "isa/isa.h"
#include "support/codegen_support.h"

namespace tarvik::test {
namespace {

constexpr std::int32_t PARKED = 0x010004;

// Borrow links into the given bytes, the first on the carry of `first`, all jumping past the last.
void borrow_links(void (*first)(std::int32_t), std::initializer_list<std::int32_t> bytes) {
  const std::int32_t end = g_rom_word_count + 10 * static_cast<std::int32_t>(bytes.size());
  auto jump = first;
  for (const std::int32_t byte : bytes) {
    jump(end);
    emit_load_a(byte);
    emit_ram_sub_a_1();
    jump = emit_jump_if_carry_sub_a_1;
  }
}

using Subtraction = ArithmeticTest;

TEST_F(Subtraction, ExamplesEmitTheirWords) {
  const Listing examples[] = {
      {"a = b - b stores zeros", u16(Z), u16(X), "-", u16(X), [] { emit_store_imm(Z + 1, 0), emit_store_imm(Z, 0); }, 10},
      {"A = b - b", REG_A, u8(X), "-", u8(X), [] { emit_load_a(X), emit_b_from_a(), emit_a_sub_a_b(); }, 7},
      {"x = x - 1, int", u16(X), u16(X), "-", immediate(1),
       [] { emit_load_a(X), emit_ram_sub_a_1(), borrow_links(emit_jump_if_carry_sub_a_1, {X + 1}); }, 16},
      {"y = x - 1, long", u32(Y), u32(X), "-", operand(OPERAND_KIND_CONSTANT, 1),
       [] {
         emit_load_a(X + 3), emit_store_a(Y + 3), emit_load_a(X + 2), emit_store_a(Y + 2);
         emit_load_a(X + 1), emit_store_a(Y + 1), emit_load_a(X), emit_store_sub_a_1(Y);
         borrow_links(emit_jump_if_carry_sub_a_1, {Y + 1, Y + 2, Y + 3});
       },
       70},
      {"long from three variables", u32(Z), u32(X), "-", s32(Y),
       [] {
         emit_load_a(X + 3), emit_load_b(Y + 3), emit_store_sub_a_b(Z + 3);
         emit_load_a(X + 2), emit_load_b(Y + 2), emit_store_sub_a_b(Z + 2), borrow_links(emit_jump_if_carry_sub_a_b, {Z + 3});
         emit_load_a(X + 1), emit_load_b(Y + 1), emit_store_sub_a_b(Z + 1);
         borrow_links(emit_jump_if_carry_sub_a_b, {Z + 2, Z + 3});
         emit_load_a(X), emit_load_b(Y), emit_store_sub_a_b(Z);
         borrow_links(emit_jump_if_carry_sub_a_b, {Z + 1, Z + 2, Z + 3});
       },
       120},
      {"int x = x - y: y's byte into B first", u16(X), u16(X), "-", u16(Y),
       [] {
         emit_load_b(Y + 1), emit_load_a(X + 1), emit_ram_sub_a_b();
         emit_load_b(Y), emit_load_a(X), emit_ram_sub_a_b(), borrow_links(emit_jump_if_carry_sub_a_b, {X + 1});
       },
       32},
      {"address difference", s32(Z), addr(X), "-", addr(Y),
       [] {
         emit_store_imm(Z + 3, 0);
         emit_load_a(X + 2), emit_load_b(Y + 2), emit_store_sub_a_b(Z + 2), borrow_links(emit_jump_if_carry_sub_a_b, {Z + 3});
         emit_load_a(X + 1), emit_load_b(Y + 1), emit_store_sub_a_b(Z + 1);
         borrow_links(emit_jump_if_carry_sub_a_b, {Z + 2, Z + 3});
         emit_load_a(X), emit_load_b(Y), emit_store_sub_a_b(Z);
         borrow_links(emit_jump_if_carry_sub_a_b, {Z + 1, Z + 2, Z + 3});
       },
       110},
      {"int - constant: the variable's byte first", u16(Z), u16(X), "-", immediate(0x1234),
       [] {
         emit_load_a(X + 1), emit_b_imm(0x12), emit_store_sub_a_b(Z + 1);
         emit_load_a(X), emit_b_imm(0x34), emit_store_sub_a_b(Z), borrow_links(emit_jump_if_carry_sub_a_b, {Z + 1});
       },
       32},
      {"address - constant: the constant's byte first", addr(X), addr(X), "-", immediate(0x0A0B0C),
       [] {
         emit_b_imm(0x0A), emit_load_a(X + 2), emit_ram_sub_a_b();
         emit_b_imm(0x0B), emit_load_a(X + 1), emit_ram_sub_a_b(), borrow_links(emit_jump_if_carry_sub_a_b, {X + 2});
         emit_b_imm(0x0C), emit_load_a(X), emit_ram_sub_a_b(), borrow_links(emit_jump_if_carry_sub_a_b, {X + 1, X + 2});
       },
       51},
      {"constant - int: the constant's byte first", u16(X), immediate(0x1234), "-", u16(X),
       [] {
         emit_a_imm(0x12), emit_load_b(X + 1), emit_ram_sub_a_b();
         emit_a_imm(0x34), emit_load_b(X), emit_ram_sub_a_b(), borrow_links(emit_jump_if_carry_sub_a_b, {X + 1});
       },
       24},
      {"constant - long: the variable's byte first", u32(Z), immediate(0x123456), "-", u32(X),
       [] {
         emit_load_b(X + 3), emit_a_imm(0), emit_store_sub_a_b(Z + 3);
         emit_load_b(X + 2), emit_a_imm(0x12), emit_store_sub_a_b(Z + 2), borrow_links(emit_jump_if_carry_sub_a_b, {Z + 3});
         emit_load_b(X + 1), emit_a_imm(0x34), emit_store_sub_a_b(Z + 1);
         borrow_links(emit_jump_if_carry_sub_a_b, {Z + 2, Z + 3});
         emit_load_b(X), emit_a_imm(0x56), emit_store_sub_a_b(Z), borrow_links(emit_jump_if_carry_sub_a_b, {Z + 1, Z + 2, Z + 3});
       },
       104},
      {"A - 1 into A", REG_A, A_SIGNED, "-", immediate(1), [] { emit_nop(), emit_a_sub_a_1(); }, 2},
      {"constant - A into A", REG_A, immediate(9), "-", REG_A,
       [] { emit_b_from_a(), emit_a_imm(9), emit_nop(), emit_a_sub_a_b(); }, 4},
      {"constant - A into a char", u8(Z), immediate(9), "-", A_UNSIGNED,
       [] { emit_b_from_a(), emit_a_imm(9), emit_store_sub_a_b(Z); }, 7},
      {"char array - char: the array byte first", operand(OPERAND_KIND_UCHAR_PTR, Z), operand(OPERAND_KIND_CHAR_ARRAY, 0x01FFFF),
       "-", u8(X),
       [] {
         emit_store_imm(Z + 2, 0x01), emit_store_imm(Z + 1, 0xFF);
         emit_a_imm(0xFF), emit_load_b(X), emit_store_sub_a_b(Z), borrow_links(emit_jump_if_carry_sub_a_b, {Z + 1, Z + 2});
       },
       41},
      {"char pointer - char: the pointer byte first", operand(OPERAND_KIND_UCHAR_PTR, Z), operand(OPERAND_KIND_CHAR_PTR, Y), "-",
       u8(X),
       [] {
         emit_load_a(Y + 2), emit_store_a(Z + 2), emit_load_a(Y + 1), emit_store_a(Z + 1);
         emit_load_a(Y), emit_load_b(X), emit_store_sub_a_b(Z), borrow_links(emit_jump_if_carry_sub_a_b, {Z + 1, Z + 2});
       },
       55},
      {"char pointer - char in place: the index byte first", operand(OPERAND_KIND_UCHAR_PTR, Y), operand(OPERAND_KIND_CHAR_PTR, Y),
       "-", u8(X),
       [] { emit_load_b(X), emit_load_a(Y), emit_ram_sub_a_b(), borrow_links(emit_jump_if_carry_sub_a_b, {Y + 1, Y + 2}); },
       31},
      {"int array - A", operand(OPERAND_KIND_INT_PTR, Z), operand(OPERAND_KIND_UINT_ARRAY, 0x01FFFF), "-", A_UNSIGNED,
       [] {
         emit_store_imm(Z + 2, 0x01), emit_b_from_a(), emit_store_a(PARKED);
         emit_a_imm(0), emit_nop(), emit_a_a_shl_bh(), emit_b_from_a(), emit_a_imm(0xFF), emit_store_sub_a_b(Z + 1);
         borrow_links(emit_jump_if_carry_sub_a_b, {Z + 2});
         emit_load_a(PARKED), emit_b_a_shl(), emit_a_imm(0xFF), emit_store_sub_a_b(Z);
         borrow_links(emit_jump_if_carry_sub_a_b, {Z + 1, Z + 2});
       },
       63},
      {"long array - A: B takes it before it is parked", operand(OPERAND_KIND_LONG_PTR, Z),
       operand(OPERAND_KIND_ULONG_ARRAY, 0x01FFFF), "-", A_UNSIGNED,
       [] {
         emit_store_imm(Z + 2, 0x01), emit_b_from_a(), emit_store_a(PARKED);
         emit_a_imm(0), emit_nop(), emit_a_a_shl_bh(), emit_b_b_shl(), emit_a_a_shl_bh(), emit_b_from_a();
         emit_a_imm(0xFF), emit_store_sub_a_b(Z + 1), borrow_links(emit_jump_if_carry_sub_a_b, {Z + 2});
         emit_load_b(PARKED), emit_a_b_shl(), emit_b_a_shl(), emit_a_imm(0xFF), emit_store_sub_a_b(Z);
         borrow_links(emit_jump_if_carry_sub_a_b, {Z + 1, Z + 2});
       },
       66},
      {"long pointer - A: parked before B takes it", operand(OPERAND_KIND_LONG_PTR, Z), operand(OPERAND_KIND_ULONG_PTR, Y),
       "-", A_SIGNED,
       [] {
         emit_load_b(Y + 2), emit_store_b(Z + 2), emit_store_a(PARKED), emit_b_from_a();
         emit_a_imm(0), emit_nop(), emit_a_a_shl_bh(), emit_b_b_shl(), emit_a_a_shl_bh(), emit_b_from_a();
         emit_load_a(Y + 1), emit_store_sub_a_b(Z + 1), borrow_links(emit_jump_if_carry_sub_a_b, {Z + 2});
         emit_load_b(PARKED), emit_a_b_shl(), emit_b_a_shl(), emit_load_a(Y), emit_store_sub_a_b(Z);
         borrow_links(emit_jump_if_carry_sub_a_b, {Z + 1, Z + 2});
       },
       79},
      {"int pointer - long", operand(OPERAND_KIND_INT_PTR, Z), operand(OPERAND_KIND_UINT_PTR, Y), "-", u32(X),
       [] {
         emit_load_a(X + 2), emit_load_b(X + 1), emit_a_a_shl_bh(), emit_b_from_a();
         emit_load_a(Y + 2), emit_store_sub_a_b(Z + 2);
         emit_load_a(X + 1), emit_load_b(X), emit_a_a_shl_bh(), emit_b_from_a();
         emit_load_a(Y + 1), emit_store_sub_a_b(Z + 1), borrow_links(emit_jump_if_carry_sub_a_b, {Z + 2});
         emit_load_a(X), emit_b_a_shl(), emit_load_a(Y), emit_store_sub_a_b(Z);
         borrow_links(emit_jump_if_carry_sub_a_b, {Z + 1, Z + 2});
       },
       90},
  };
  expect_listings(examples);
}

TEST_F(Subtraction, VariablesBorrowAcrossEveryByteInEveryArrangement) {
  const std::uint32_t pairs[][2] = {{0x01000000, 0x00010000}, {0, 1}, {0x12345678, 0x9ABCDEF0}, {0x80008001, 0x00FF0002}};
  expect_arrangements("-", pairs, true);
}

TEST_F(Subtraction, ConstantsBorrowAcrossEveryByteOnEitherSide) {
  const int kinds[] = {OPERAND_KIND_CHAR, OPERAND_KIND_UINT, OPERAND_KIND_ADDRESS, OPERAND_KIND_LONG};
  const std::uint32_t values[] = {0x01000000, 0, 0x010000, 0x12FF3400};
  const std::int32_t constants[] = {1, 0, 0x01010101, -1, 0x00800080};
  for (int width = 1; width <= 4; ++width) {
    const int kind = kinds[width - 1];
    const std::uint32_t mask = width_mask(width);
    for (const std::uint32_t x : values) {
      for (const std::int32_t c : constants) {
        for (const std::int32_t d : {X, Z}) {
          SCOPED_TRACE(testing::Message() << width << " bytes into " << d << ": " << x << " and " << c);
          const std::uint32_t k = static_cast<std::uint32_t>(c);
          EXPECT_EQ(with_constant("-", kind, width, d, x, c, false), (x - k) & mask);
          if (kind == OPERAND_KIND_ADDRESS) continue;  // an address is never taken from a constant
          EXPECT_EQ(with_constant("-", kind, width, d, x, c, true), (k - x) & mask);
        }
      }
    }
  }
}

TEST_F(Subtraction, RegisterATemplatesCompute) {
  const ByteCase cases[] = {
      {"TA1", REG_A, u8(X), s8(Y), 0, 0x10, 0x21, IN_A, 0xEF},
      {"TA1, one variable", REG_A, u8(X), u8(X), 0x55, 0x81, 0, IN_A, 0x00},
      {"TA2", A_SIGNED, A_UNSIGNED, u8(X), 0x01, 0x02, 0, IN_A, 0xFF},
      {"TA3", REG_A, u8(X), REG_A, 0x02, 0x01, 0, IN_A, 0xFF},
      {"TA4, 1", REG_A, A_UNSIGNED, immediate(1), 0x00, 0, 0, IN_A, 0xFF},
      {"TA4", REG_A, A_UNSIGNED, immediate(0x1C0), 0x41, 0, 0, IN_A, 0x81},
      {"TA5", REG_A, immediate(3), A_SIGNED, 0x05, 0, 0, IN_A, 0xFE},
      {"TA6, 1", REG_A, u8(X), immediate(1), 0, 0x00, 0, IN_A, 0xFF},
      {"TA6", REG_A, u8(X), immediate(0x30), 0, 0x20, 0, IN_A, 0xF0},
      {"TA7", REG_A, immediate(0x20), u8(X), 0, 0x30, 0, IN_A, 0xF0},
      {"TM1", u8(Z), A_UNSIGNED, u8(X), 0x10, 0x11, 0, Z, 0xFF},
      {"TM1 in place", u8(X), A_UNSIGNED, u8(X), 0x10, 0x11, 0, X, 0xFF},
      {"TM2", u8(Z), u8(X), REG_A, 0x11, 0x10, 0, Z, 0xFF},
      {"TM2 in place", u8(X), u8(X), A_SIGNED, 0x11, 0x10, 0, X, 0xFF},
      {"TM3, 1", u8(Z), A_UNSIGNED, immediate(1), 0x00, 0, 0, Z, 0xFF},
      {"TM3", u8(Z), A_UNSIGNED, immediate(0x80), 0x7F, 0, 0, Z, 0xFF},
      {"TM4", u8(Z), immediate(0x7F), A_UNSIGNED, 0x80, 0, 0, Z, 0xFF},
  };
  expect_byte_cases("-", cases);
}

TEST_F(Subtraction, PointerMinusIndexScalesAndNeverSignExtends) {
  const int pointers[] = {OPERAND_KIND_UCHAR_PTR, OPERAND_KIND_INT_PTR, OPERAND_KIND_LONG_PTR};
  const int arrays[] = {OPERAND_KIND_CHAR_ARRAY, OPERAND_KIND_UINT_ARRAY, OPERAND_KIND_LONG_ARRAY};
  expect_scaled_indexes("-", pointers, arrays, false);
}

TEST_F(Subtraction, AddressDifferenceIsASignedLong) {
  const std::uint32_t pairs[][2] = {{0x020000, 0x01FFFF}, {0x01FFFF, 0x020000}, {0x000000, 0xFFFFFF}, {0x123456, 0x123456}};
  for (const auto& pair : pairs) {
    SCOPED_TRACE(testing::Message() << pair[0] << " - " << pair[1]);
    sim.set_bytes(X, pair[0], 3);
    sim.set_bytes(Y, pair[1], 3);
    EXPECT_EQ(result_of("-", s32(Z), addr(X), addr(Y), Z, 4), pair[0] - pair[1]);
  }
}

TEST_F(Subtraction, RefusedCombinationsEmitNothing) {
  const OperandDescriptor p1 = operand(OPERAND_KIND_UCHAR_PTR, Z), y1 = operand(OPERAND_KIND_UCHAR_ARRAY, 0x020000);
  const Refusal refusals[] = {
      {"two constants", u8(Z), immediate(1), constant(5)},
      {"two operands in A", REG_A, A_UNSIGNED, REG_A},
      {"A from ints", REG_A, u16(X), u16(Y)},
      {"A from an int and a constant", REG_A, u16(X), immediate(1)},
      {"int - long", u16(Z), u16(X), u32(Y)},
      {"int from chars", u16(Z), u8(X), u8(Y)},
      {"long from ints", u32(Z), u16(X), u16(Y)},
      {"long from a constant and an int", u32(Z), immediate(1), u16(X)},
      {"char from A and an int", u8(Z), A_UNSIGNED, u16(X)},
      {"char - array", u8(Z), u8(X), y1},
      {"pointer - array", p1, p1, y1},
      {"array - array", p1, y1, y1},
      {"pointer - constant", p1, p1, immediate(1)},
      {"index - pointer", p1, u8(X), p1},
      {"pointer - pointer", p1, p1, operand(OPERAND_KIND_CHAR_PTR, Y)},
      {"pointer - address", p1, p1, addr(X)},
      {"int pointer from a char pointer", operand(OPERAND_KIND_INT_PTR, Z), operand(OPERAND_KIND_UCHAR_PTR, Y), u8(X)},
      {"long pointer from an int array", operand(OPERAND_KIND_LONG_PTR, Z), operand(OPERAND_KIND_INT_ARRAY, 0x020000), u8(X)},
      {"address - variable", addr(Z), addr(X), u8(Y)},
      {"constant - address", addr(Z), immediate(1), addr(X)},
      {"address difference into an int", u16(Z), addr(X), addr(Y)},
      {"object through a pointer", u8(Z), operand(OPERAND_KIND_UCHAR_VIA_PTR, X), u8(Y)},
      {"condition", u8(Z), u8(Y), COND},
      {"RAM", u8(Z), operand(OPERAND_KIND_RAM, 0), u8(X)},
      {"register B", REG_A, REG_B, immediate(1)},
      {"into a constant", constant(9), u8(X), u8(Y)},
      {"into register B", REG_B, u8(X), u8(Y)},
  };
  g_true_jumps = "\x01\x02\x03", g_false_jumps = "\x04\x05\x06", g_fall_through_sense = Text(SENSE_TRUE);
  expect_refusals(refusals, "-", STATUS_BINOP_SUB_TYPE_ERROR);
}

}  // namespace
}  // namespace tarvik::test
