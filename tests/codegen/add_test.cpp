#include <cstdint>
#include <initializer_list>

#include "isa/isa.h"
#include "support/codegen_support.h"

namespace tarvik::test {
namespace {

constexpr OperandDescriptor K_1 = operand(OPERAND_KIND_CONSTANT, 1);  // table entry 1 holds 1

// Carry links into the given bytes, the first on the carry of `first`, all ending after the last.
void carry_links(void (*first)(std::int32_t), std::initializer_list<std::int32_t> bytes) {
  const std::int32_t end = g_rom_word_count + 14 * static_cast<std::int32_t>(bytes.size());
  auto jump = first;
  for (const std::int32_t byte : bytes) {
    jump(g_rom_word_count + 8);
    emit_jump_to(end);
    emit_load_a(byte);
    emit_ram_add_a_1();
    jump = emit_jump_if_carry_add_a_1;
  }
}

class Addition : public ArithmeticTest {
 protected:
  StatusText add(OperandDescriptor d, OperandDescriptor l, OperandDescriptor r) { return generate(d, l, "+", r); }

  // The words of D = L + R emitted at the current end, which is then cut back.
  std::string words_for(OperandDescriptor d, OperandDescriptor l, OperandDescriptor r) {
    const std::int32_t start = g_rom_word_count;
    add(d, l, r);
    const std::string words = emitted();
    g_rom_high_bytes.resize(start), g_rom_low_bytes.resize(start), g_rom_word_count = start;
    return words;
  }
};

TEST_F(Addition, ExamplesEmitTheirWords) {
  const Listing examples[] = {
      {"16-bit sum of three variables", s16(Z), s16(X), "+", s16(Y),
       [] {
         emit_load_a(X + 1), emit_load_b(Y + 1), emit_store_add_a_b(Z + 1);
         emit_load_a(X), emit_load_b(Y), emit_store_add_a_b(Z);
         emit_jump_if_carry_add_a_b(g_rom_word_count + 8), emit_jump_to(g_rom_word_count + 10);
         emit_load_a(Z + 1), emit_ram_add_a_1();
       },
       44},
      {"x + x into A", REG_A, u8(X), "+", u8(X), [] { emit_load_a(X), emit_b_from_a(), emit_a_add_a_b(); }, 7},
      {"x + x into x, 16-bit", u16(X), u16(X), "+", u16(X),
       [] {
         emit_load_a(X + 1), emit_ram_add_a_a();
         emit_load_a(X), emit_ram_add_a_a(), carry_links(emit_jump_if_carry_add_a_a, {X + 1});
       },
       26},
      {"x = x + 1, 16-bit, immediate 1", u16(X), u16(X), "+", immediate(1),
       [] { emit_load_a(X), emit_ram_add_a_1(), carry_links(emit_jump_if_carry_add_a_1, {X + 1}); }, 20},
      {"x = 1 + x, 16-bit, table constant 1", u16(X), K_1, "+", u16(X),
       [] { emit_load_a(X), emit_ram_add_a_1(), carry_links(emit_jump_if_carry_add_a_1, {X + 1}); }, 20},
      {"A + 1 into A", REG_A, A_UNSIGNED, "+", immediate(1), [] { emit_nop(), emit_a_add_a_1(); }, 2},
      {"A + 2 into A", REG_A, A_UNSIGNED, "+", immediate(2), [] { emit_b_imm(2), emit_a_add_a_b(); }, 2},
      {"char from two ints", u8(Z), s16(X), "+", u16(Y), [] { emit_load_a(X), emit_load_b(Y), emit_store_add_a_b(Z); }, 15},
      {"int + 1 into another int", u16(Z), u16(X), "+", immediate(1),
       [] {
         emit_load_a(X + 1), emit_store_a(Z + 1), emit_load_a(X), emit_store_add_a_1(Z);
         emit_jump_if_carry_add_a_1(g_rom_word_count + 8), emit_jump_to(g_rom_word_count + 14);
         emit_load_a(X + 1), emit_store_add_a_1(Z + 1);
       },
       38},
      {"int + constant: the variable's byte first", u16(Z), u16(X), "+", immediate(0x1234),
       [] {
         emit_load_a(X + 1), emit_b_imm(0x12), emit_store_add_a_b(Z + 1);
         emit_load_a(X), emit_b_imm(0x34), emit_store_add_a_b(Z), carry_links(emit_jump_if_carry_add_a_b, {Z + 1});
       },
       36},
      {"int x = x + y: y's byte into A", u16(X), u16(X), "+", u16(Y),
       [] {
         emit_load_a(Y + 1), emit_load_b(X + 1), emit_ram_add_a_b();
         emit_load_a(Y), emit_load_b(X), emit_ram_add_a_b(), carry_links(emit_jump_if_carry_add_a_b, {X + 1});
       },
       36},
      {"long x = x + y: y's byte into B first", u32(X), u32(X), "+", u32(Y),
       [] {
         emit_load_b(Y + 3), emit_load_a(X + 3), emit_ram_add_a_b();
         emit_load_b(Y + 2), emit_load_a(X + 2), emit_ram_add_a_b(), carry_links(emit_jump_if_carry_add_a_b, {X + 3});
         emit_load_b(Y + 1), emit_load_a(X + 1), emit_ram_add_a_b();
         carry_links(emit_jump_if_carry_add_a_b, {X + 2, X + 3});
         emit_load_b(Y), emit_load_a(X), emit_ram_add_a_b(), carry_links(emit_jump_if_carry_add_a_b, {X + 1, X + 2, X + 3});
       },
       128},
      {"long + constant: the constant's byte first", u32(Z), constant(0x01020304), "+", u32(X),
       [] {
         emit_b_imm(1), emit_load_a(X + 3), emit_store_add_a_b(Z + 3);
         emit_b_imm(2), emit_load_a(X + 2), emit_store_add_a_b(Z + 2), carry_links(emit_jump_if_carry_add_a_b, {Z + 3});
         emit_b_imm(3), emit_load_a(X + 1), emit_store_add_a_b(Z + 1);
         carry_links(emit_jump_if_carry_add_a_b, {Z + 2, Z + 3});
         emit_b_imm(4), emit_load_a(X), emit_store_add_a_b(Z), carry_links(emit_jump_if_carry_add_a_b, {Z + 1, Z + 2, Z + 3});
       },
       128},
      {"address + constant in place", addr(X), addr(X), "+", immediate(0x0A0B0C),
       [] {
         emit_b_imm(0x0A), emit_load_a(X + 2), emit_ram_add_a_b();
         emit_b_imm(0x0B), emit_load_a(X + 1), emit_ram_add_a_b(), carry_links(emit_jump_if_carry_add_a_b, {X + 2});
         emit_b_imm(0x0C), emit_load_a(X), emit_ram_add_a_b(), carry_links(emit_jump_if_carry_add_a_b, {X + 1, X + 2});
       },
       63},
      {"address + 1 elsewhere", addr(Z), addr(X), "+", immediate(1),
       [] {
         emit_load_a(X + 2), emit_store_a(Z + 2), emit_load_a(X + 1), emit_store_a(Z + 1);
         emit_load_a(X), emit_store_add_a_1(Z), carry_links(emit_jump_if_carry_add_a_1, {Z + 1, Z + 2});
       },
       58},
      {"char pointer + char, base byte first", operand(OPERAND_KIND_UCHAR_PTR, Z), operand(OPERAND_KIND_UCHAR_PTR, Y), "+", u8(X),
       [] {
         emit_load_a(Y + 2), emit_store_a(Z + 2), emit_load_a(Y + 1), emit_store_a(Z + 1);
         emit_load_a(Y), emit_load_b(X), emit_store_add_a_b(Z), carry_links(emit_jump_if_carry_add_a_b, {Z + 1, Z + 2});
       },
       63},
      {"char pointer + char in place, index first", operand(OPERAND_KIND_UCHAR_PTR, Y), operand(OPERAND_KIND_UCHAR_PTR, Y), "+",
       u8(X),
       [] { emit_load_b(X), emit_load_a(Y), emit_ram_add_a_b(), carry_links(emit_jump_if_carry_add_a_b, {Y + 1, Y + 2}); },
       39},
      {"char array + char", operand(OPERAND_KIND_UCHAR_PTR, Z), operand(OPERAND_KIND_CHAR_ARRAY, 0x01FFFF), "+", u8(X),
       [] {
         emit_store_imm(Z + 2, 0x01), emit_store_imm(Z + 1, 0xFF);
         emit_a_imm(0xFF), emit_load_b(X), emit_store_add_a_b(Z), carry_links(emit_jump_if_carry_add_a_b, {Z + 1, Z + 2});
       },
       49},
      {"int array + A, parked at D", operand(OPERAND_KIND_INT_PTR, Z), A_UNSIGNED, "+",
       operand(OPERAND_KIND_UINT_ARRAY, 0x01FFFF),
       [] {
         emit_store_imm(Z + 2, 0x01), emit_store_a(Z);
         emit_b_from_a(), emit_a_imm(0), emit_b_a_shl_bh(), emit_a_imm(0xFF), emit_store_add_a_b(Z + 1);
         carry_links(emit_jump_if_carry_add_a_b, {Z + 2});
         emit_load_b(Z), emit_a_b_shl(), emit_b_imm(0xFF), emit_store_add_a_b(Z);
         carry_links(emit_jump_if_carry_add_a_b, {Z + 1, Z + 2});
       },
       73},
      {"long pointer + A, parked in scratch", operand(OPERAND_KIND_ULONG_PTR, Z), operand(OPERAND_KIND_LONG_PTR, Y), "+",
       A_SIGNED,
       [] {
         emit_load_b(Y + 2), emit_store_b(Z + 2), emit_store_a(0x010004);
         emit_b_from_a(), emit_a_imm(0), emit_nop(), emit_a_a_shl_bh(), emit_b_b_shl(), emit_a_a_shl_bh();
         emit_load_b(Y + 1), emit_store_add_a_b(Z + 1), carry_links(emit_jump_if_carry_add_a_b, {Z + 2});
         emit_load_b(0x010004), emit_a_b_shl(), emit_b_a_shl(), emit_load_a(Y), emit_store_add_a_b(Z);
         carry_links(emit_jump_if_carry_add_a_b, {Z + 1, Z + 2});
       },
       90},
      {"long pointer + long", operand(OPERAND_KIND_ULONG_PTR, Z), operand(OPERAND_KIND_ULONG_PTR, Y), "+", u32(X),
       [] {
         emit_load_a(X + 2), emit_load_b(X + 1), emit_a_a_shl_bh(), emit_b_b_shl(), emit_a_a_shl_bh();
         emit_load_b(Y + 2), emit_store_add_a_b(Z + 2);
         emit_load_a(X + 1), emit_load_b(X), emit_a_a_shl_bh(), emit_b_b_shl(), emit_a_a_shl_bh();
         emit_load_b(Y + 1), emit_store_add_a_b(Z + 1), carry_links(emit_jump_if_carry_add_a_b, {Z + 2});
         emit_load_b(X), emit_a_b_shl(), emit_b_a_shl(), emit_load_a(Y), emit_store_add_a_b(Z);
         carry_links(emit_jump_if_carry_add_a_b, {Z + 1, Z + 2});
       },
       105},
  };
  expect_listings(examples);
}

TEST_F(Addition, LongSumOfThreeVariablesEndsInThreeLinksToOneWord) {
  ASSERT_EQ(add(u32(Z), u32(X), operand(OPERAND_KIND_LONG, Y)), STATUS_DONE);
  ASSERT_EQ(emitted_count(), 144);
  const std::int32_t end = first_word + 144;
  const auto byte_at = [](std::int32_t word) { return static_cast<std::uint8_t>(g_rom_low_bytes[word]); };
  for (int link = 0; link < 3; ++link) {
    const std::int32_t jump = end - 14 * (3 - link) + 4;  // each link's jump past the chain
    EXPECT_EQ(words_from(jump).substr(0, 23), words_of([end] { emit_jump_to(end); }).substr(0, 23));
    EXPECT_EQ(byte_at(jump) << 16 | byte_at(jump + 1) << 8 | byte_at(jump + 2), end);
  }
}

struct Count {
  const char* what;
  int d, base, index;  // kinds; the base is at Y, the index at X, D at Z or at Y in place
  std::int32_t elsewhere, in_place;
};

TEST_F(Addition, PointerTemplatesHaveTheirWordCounts) {
  constexpr int P1 = OPERAND_KIND_UCHAR_PTR, P2 = OPERAND_KIND_INT_PTR, P4 = OPERAND_KIND_ULONG_PTR;
  constexpr int Y1 = OPERAND_KIND_CHAR_ARRAY, Y2 = OPERAND_KIND_UINT_ARRAY, Y4 = OPERAND_KIND_LONG_ARRAY;
  constexpr int ACC = OPERAND_KIND_A_UNSIGNED, V8 = OPERAND_KIND_CHAR, V16 = OPERAND_KIND_UINT, V32 = OPERAND_KIND_LONG;
  const Count counts[] = {
      {"P1-short ACC", P1, P1, ACC, 58, 34}, {"P1-short V8", P1, P1, V8, 63, 39},
      {"P1-long V32", P1, P1, V32, 87, 75},  {"P1-long V16", P1, P1, V16, 82, 64},
      {"P2-short ACC", P2, P2, ACC, 86, 68}, {"P2-short V8", P2, P2, V8, 85, 67},
      {"P2-long V32", P2, P2, V32, 100, 88}, {"P2-long V16", P2, P2, V16, 96, 84},
      {"P4-short ACC", P4, P4, ACC, 90, 72}, {"P4-short V8", P4, P4, V8, 88, 70},
      {"P4-long V32", P4, P4, V32, 105, 93}, {"P4-long V16", P4, P4, V16, 101, 89},
      {"Y1-short ACC", P1, Y1, ACC, 44, 0},  {"Y1-short V8", P1, Y1, V8, 49, 0},
      {"Y1-long V32", P1, Y1, V32, 75, 0},   {"Y1-long V16", P1, Y1, V16, 69, 0},
      {"Y2-short ACC", P2, Y2, ACC, 73, 0},  {"Y2-short V8", P2, Y2, V8, 72, 0},
      {"Y2-long V32", P2, Y2, V32, 88, 0},   {"Y2-long V16", P2, Y2, V16, 84, 0},
      {"Y4-short ACC", P4, Y4, ACC, 77, 0},  {"Y4-short V8", P4, Y4, V8, 75, 0},
      {"Y4-long V32", P4, Y4, V32, 93, 0},   {"Y4-long V16", P4, Y4, V16, 89, 0},
  };
  for (const Count& row : counts) {
    SCOPED_TRACE(row.what);
    const OperandDescriptor base = operand(row.base, Y), index = operand(row.index, X);
    EXPECT_EQ(add(operand(row.d, Z), base, index), STATUS_DONE);
    EXPECT_EQ(emitted_count(), row.elsewhere);
    if (row.in_place == 0) continue;
    EXPECT_EQ(add(operand(row.d, Y), base, index), STATUS_DONE);
    EXPECT_EQ(emitted_count(), row.in_place);
  }
}

TEST_F(Addition, AddressPlusConstantHasItsWordCounts) {
  const struct {
    OperandDescriptor d, constant;
    std::int32_t count;
  } rows[] = {{addr(X), immediate(1), 34}, {addr(Z), immediate(1), 58}, {addr(Z), immediate(5), 75},
              {addr(X), immediate(5), 63}};
  for (const auto& row : rows) {
    EXPECT_EQ(add(row.d, addr(X), row.constant), STATUS_DONE);
    EXPECT_EQ(emitted_count(), row.count);
  }
}

TEST_F(Addition, VariablesCarryAcrossEveryByteInEveryArrangement) {
  const std::uint32_t pairs[][2] = {{0x00FFFFFF, 1}, {0xFFFFFFFF, 1}, {0x80FF7F01, 0x80FF80FF}, {0x7FFF7FFF, 0x7FFF7FFF}};
  expect_arrangements("+", pairs, false);
}

TEST_F(Addition, ConstantsCarryAcrossEveryByte) {
  const int kinds[] = {OPERAND_KIND_UCHAR, OPERAND_KIND_INT, OPERAND_KIND_ADDRESS, OPERAND_KIND_ULONG};
  const std::uint32_t values[] = {0x00FFFFFF, 0xFFFFFFFF, 0x12FF34FF};
  const std::int32_t constants[] = {1, 0, 0x01010101, -1, 0x00800080};
  for (int width = 1; width <= 4; ++width) {
    for (const std::uint32_t x : values) {
      for (const std::int32_t c : constants) {
        for (const std::int32_t d : {X, Z}) {
          SCOPED_TRACE(testing::Message() << width << " bytes into " << d << ": " << x << " + " << c);
          const std::uint32_t expected = (x + static_cast<std::uint32_t>(c)) & width_mask(width);
          EXPECT_EQ(with_constant("+", kinds[width - 1], width, d, x, c, d != X), expected);
        }
      }
    }
  }
}

TEST_F(Addition, RegisterATemplatesCompute) {
  const ByteCase cases[] = {
      {"AA", REG_A, u8(X), u8(Y), 0, 0xF0, 0x21, IN_A, 0x11},
      {"AA, one variable", REG_A, u8(X), u8(X), 0, 0x81, 0, IN_A, 0x02},
      {"AR", A_SIGNED, A_UNSIGNED, u8(X), 0xFF, 0x02, 0, IN_A, 0x01},
      {"MR", u8(Z), u8(X), REG_A, 0xFE, 0x03, 0, Z, 0x01},
      {"MR in place", u8(X), A_UNSIGNED, u8(X), 0x7F, 0x81, 0, X, 0x00},
      {"AK, 1", REG_A, A_UNSIGNED, immediate(1), 0xFF, 0, 0, IN_A, 0x00},
      {"AK", REG_A, immediate(0x1C0), A_UNSIGNED, 0x41, 0, 0, IN_A, 0x01},
      {"MK, 1", u8(Z), K_1, A_SIGNED, 0x7F, 0, 0, Z, 0x80},
      {"MK", u8(Z), A_SIGNED, immediate(0xF0), 0x20, 0, 0, Z, 0x10},
      {"AV, 1", REG_A, u8(X), immediate(1), 0, 0xFF, 0, IN_A, 0x00},
      {"AV", REG_A, immediate(3), u8(X), 0, 0xFE, 0, IN_A, 0x01},
  };
  expect_byte_cases("+", cases);
}

TEST_F(Addition, PointerPlusIndexScalesAndNeverSignExtends) {
  const int pointers[] = {OPERAND_KIND_CHAR_PTR, OPERAND_KIND_INT_PTR, OPERAND_KIND_LONG_PTR};
  const int arrays[] = {OPERAND_KIND_UCHAR_ARRAY, OPERAND_KIND_INT_ARRAY, OPERAND_KIND_ULONG_ARRAY};
  expect_scaled_indexes("+", pointers, arrays, true);
}

TEST_F(Addition, EitherOrderGivesTheSameWords) {
  const struct {
    const char* what;
    OperandDescriptor d, x, y;
  } rows[] = {
      {"AR", REG_A, A_UNSIGNED, u8(X)},
      {"MR", u8(Z), A_UNSIGNED, u8(X)},
      {"AK", REG_A, immediate(7), A_UNSIGNED},
      {"MK", u8(X), immediate(1), A_SIGNED},
      {"AV", REG_A, immediate(7), u8(X)},
      {"VK", u32(Z), immediate(0x123456), u32(X)},
      {"Y2 + V8", operand(OPERAND_KIND_INT_PTR, Z), operand(OPERAND_KIND_INT_ARRAY, 0x020304), u8(X)},
      {"P4 + V16", operand(OPERAND_KIND_LONG_PTR, Y), operand(OPERAND_KIND_ULONG_PTR, Y), u16(X)},
      {"DK", addr(Z), immediate(1), addr(X)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string words = words_for(row.d, row.x, row.y);
    EXPECT_NE(words, "");
    EXPECT_EQ(words_for(row.d, row.y, row.x), words);
  }
}

TEST_F(Addition, RefusedCombinationsEmitNothing) {
  const OperandDescriptor p1 = operand(OPERAND_KIND_UCHAR_PTR, Z), y1 = operand(OPERAND_KIND_UCHAR_ARRAY, 0x020000);
  const Refusal refusals[] = {
      {"two constants", u8(Z), immediate(1), constant(5)},
      {"two operands in A", REG_A, A_UNSIGNED, REG_A},
      {"A from ints", REG_A, u16(X), u16(Y)},
      {"A from a constant and an int", REG_A, immediate(1), u16(X)},
      {"int + long", u16(Z), u16(X), u32(Y)},
      {"char + int into a char", u8(Z), u8(X), u16(Y)},
      {"int from chars", u16(Z), u8(X), u8(Y)},
      {"long from ints", u32(Z), u16(X), u16(Y)},
      {"long from an int and a constant", u32(Z), u16(X), immediate(1)},
      {"char from A and an int", u8(Z), A_UNSIGNED, u16(X)},
      {"pointer + constant", p1, p1, immediate(1)},
      {"array + array", p1, y1, y1},
      {"pointer + pointer", p1, p1, operand(OPERAND_KIND_CHAR_PTR, Y)},
      {"int pointer from a char pointer", operand(OPERAND_KIND_INT_PTR, Z), operand(OPERAND_KIND_UCHAR_PTR, Y), u8(X)},
      {"long pointer from an int array", operand(OPERAND_KIND_LONG_PTR, Z), operand(OPERAND_KIND_INT_ARRAY, 0x020000), u8(X)},
      {"array + constant", p1, y1, immediate(1)},
      {"address + variable", addr(Z), addr(X), u8(Y)},
      {"address + constant into a long", u32(Z), addr(X), immediate(1)},
      {"object through a pointer", u8(Z), operand(OPERAND_KIND_UCHAR_VIA_PTR, X), u8(Y)},
      {"condition", u8(Z), COND, u8(Y)},
      {"RAM", u8(Z), u8(X), operand(OPERAND_KIND_RAM, 0)},
      {"register B", REG_A, REG_B, immediate(1)},
      {"into a constant", constant(9), u8(X), u8(Y)},
      {"into register B", REG_B, u8(X), u8(Y)},
      {"into an object through a pointer", operand(OPERAND_KIND_UCHAR_VIA_PTR, Z), u8(X), u8(Y)},
  };
  g_true_jumps = "\x01\x02\x03", g_false_jumps = "\x04\x05\x06", g_fall_through_sense = Text(SENSE_FALSE);
  expect_refusals(refusals, "+", STATUS_BINOP_ADD_TYPE_ERROR);
}

}  // namespace
}  // namespace tarvik::test
