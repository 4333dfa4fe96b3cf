#include "isa/isa.h"
#include "support/support.h"

namespace tarvik::test {
namespace {

class Emitters : public CompilerTest {};

using Emit = void (*)();
// Columns of the one-word grids: destination A, B, A0, A1, A2, RAM.
constexpr std::uint8_t DESTINATION_OPCODES[6] = {0x11, 0x12, 0x13, 0x14, 0x15, 0x17};

struct GridRow {
  std::uint8_t operand_or_source;  // ALU grid: the operand byte; shift grid: the source nibble
  Emit emitters[6];                // nullptr where the form does not exist
};

void expect_single_word(Emit emit, const std::string& expected, int row, int column) {
  init_global_tables();
  emit();
  EXPECT_EQ(words(), expected) << "row " << row << ", column " << column;
  EXPECT_EQ(g_rom_word_count, 1);
}

std::string byte_hex(unsigned v) { return hex(std::string(1, static_cast<char>(v))); }

TEST_F(Emitters, OneWordAluForms) {
  const GridRow grid[] = {
      {0x94, {emit_a_add_a_b, emit_b_add_a_b, emit_a0_add_a_b, emit_a1_add_a_b, emit_a2_add_a_b, emit_ram_add_a_b}},
      {0xC4, {nullptr, nullptr, nullptr, nullptr, nullptr, emit_ram_add_a_a}},
      {0x00, {emit_a_add_a_1, emit_b_add_a_1, emit_a0_add_a_1, emit_a1_add_a_1, emit_a2_add_a_1, emit_ram_add_a_1}},
      {0x60, {emit_a_sub_a_b, emit_b_sub_a_b, emit_a0_sub_a_b, emit_a1_sub_a_b, emit_a2_sub_a_b, emit_ram_sub_a_b}},
      {0xF4, {emit_a_sub_a_1, emit_b_sub_a_1, emit_a0_sub_a_1, emit_a1_sub_a_1, emit_a2_sub_a_1, emit_ram_sub_a_1}},
      {0xBF, {emit_a_and, emit_b_and, emit_a0_and, emit_a1_and, emit_a2_and, emit_ram_and}},
      {0xEF, {emit_a_or, emit_b_or, emit_a0_or, emit_a1_or, emit_a2_or, emit_ram_or}},
      {0x6F, {emit_a_xor, emit_b_xor, emit_a0_xor, emit_a1_xor, emit_a2_xor, emit_ram_xor}},
      {0x0F, {emit_a_not_a, emit_b_not_a, emit_a0_not_a, emit_a1_not_a, emit_a2_not_a, emit_ram_not_a}},
      {0x5F, {emit_a_not_b, emit_b_not_b, emit_a0_not_b, emit_a1_not_b, emit_a2_not_b, emit_ram_not_b}},
      {0xFF, {nullptr, emit_b_from_a, emit_a0_from_a, emit_a1_from_a, emit_a2_from_a, emit_ram_from_a}},
      {0xAF, {emit_a_from_b, nullptr, emit_a0_from_b, emit_a1_from_b, emit_a2_from_b, emit_ram_from_b}},
  };
  for (const GridRow& row : grid)
    for (int column = 0; column < 6; ++column)
      if (row.emitters[column])
        expect_single_word(row.emitters[column],
                           byte_hex(DESTINATION_OPCODES[column]) + " " + byte_hex(row.operand_or_source),
                           row.operand_or_source, column);
}

TEST_F(Emitters, OneWordShiftForms) {
  const GridRow grid[] = {
      {0x7, {emit_a_a_shl, emit_b_a_shl, emit_a0_a_shl, emit_a1_a_shl, emit_a2_a_shl, emit_ram_a_shl}},
      {0x8, {emit_a_a_shl_bh, emit_b_a_shl_bh, emit_a0_a_shl_bh, emit_a1_a_shl_bh, emit_a2_a_shl_bh, emit_ram_a_shl_bh}},
      {0x9, {emit_a_a_shr, emit_b_a_shr, emit_a0_a_shr, emit_a1_a_shr, emit_a2_a_shr, emit_ram_a_shr}},
      {0xA, {emit_a_a_sar, emit_b_a_sar, emit_a0_a_sar, emit_a1_a_sar, emit_a2_a_sar, emit_ram_a_sar}},
      {0xB, {emit_a_b_shl, emit_b_b_shl, emit_a0_b_shl, emit_a1_b_shl, emit_a2_b_shl, emit_ram_b_shl}},
      {0xC, {emit_a_b_shr, emit_b_b_shr, emit_a0_b_shr, emit_a1_b_shr, emit_a2_b_shr, emit_ram_b_shr}},
      {0xD, {emit_a_b_sar, emit_b_b_sar, emit_a0_b_sar, emit_a1_b_sar, emit_a2_b_sar, emit_ram_b_sar}},
      {0xE, {emit_a_b_shr_al, emit_b_b_shr_al, emit_a0_b_shr_al, emit_a1_b_shr_al, emit_a2_b_shr_al, emit_ram_b_shr_al}},
  };
  for (const GridRow& row : grid)
    for (int column = 0; column < 6; ++column)
      expect_single_word(row.emitters[column],
                         byte_hex(row.operand_or_source * 16 + (DESTINATION_OPCODES[column] & 0xF)) + " FF",
                         row.operand_or_source, column);
}

TEST_F(Emitters, OneWordRamImmediateAndOtherForms) {
  const struct {
    Emit emit;
    const char* word;
  } cases[] = {
      {emit_a_from_ram, "21 FF"}, {emit_b_from_ram, "22 FF"},  {emit_a0_from_ram, "23 FF"},
      {emit_a1_from_ram, "24 FF"}, {emit_a2_from_ram, "25 FF"}, {emit_nop, "FF FF"},
      {emit_jump_indirect, "0D FF"},
  };
  for (const auto& c : cases) expect_single_word(c.emit, c.word, 0, 0);

  init_global_tables();
  emit_a_imm(0x1FF);
  emit_a_imm(-1);
  emit_b_imm(2);
  emit_a0_imm(3);
  emit_a1_imm(4);
  emit_a2_imm(5);
  emit_ram_imm(0x106);
  EXPECT_EQ(words(), "31 FF 31 FF 32 02 33 03 34 04 35 05 37 06");
}

TEST_F(Emitters, JumpsCarryTheirTargetInAnAddressPrefix) {
  using EmitJump = void (*)(std::int32_t);
  const struct {
    EmitJump emit;
    const char* jump_word;
  } cases[] = {
      {emit_jump_to, "0D FF"},
      {emit_jump_if_carry_add_a_b, "0C 94"},
      {emit_jump_if_carry_add_a_a, "0C C4"},
      {emit_jump_if_carry_add_a_1, "0C 00"},
      {emit_jump_if_carry_add_a_b_1, "0C 90"},
      {emit_jump_if_carry_add_a_a_1, "0C C0"},
      {emit_jump_if_carry_sub_a_b, "0C 60"},
      {emit_jump_if_carry_sub_a_1, "0C F4"},
      {emit_jump_if_carry_sub_a_b_1, "0C 64"},
      {emit_jump_if_a_ne_b, "0B 9F"},
      {emit_jump_if_ah_clear, "09 FF"},
      {emit_jump_if_bh_clear, "0A FF"},
  };
  for (const auto& c : cases) {
    init_global_tables();
    c.emit(0x123456);
    EXPECT_EQ(words(), std::string("35 12 34 34 33 56 ") + c.jump_word);
    EXPECT_EQ(g_rom_word_count, 4);
  }

  init_global_tables();
  emit_jump_to(0);
  EXPECT_EQ(words(), "35 00 34 00 33 00 0D FF");
}

TEST_F(Emitters, AddressedFormsLoadTheAddressThenWaitOneWord) {
  using EmitAddressed = void (*)(std::int32_t);
  const struct {
    EmitAddressed emit;
    const char* access_word;
  } cases[] = {
      {emit_load_a, "21 FF"},          {emit_load_b, "22 FF"},          {emit_load_a0, "23 FF"},
      {emit_load_a1, "24 FF"},         {emit_load_a2, "25 FF"},         {emit_store_a, "17 FF"},
      {emit_store_b, "17 AF"},         {emit_store_add_a_b, "17 94"},   {emit_store_add_a_a, "17 C4"},
      {emit_store_add_a_1, "17 00"},   {emit_store_sub_a_b, "17 60"},   {emit_store_sub_a_1, "17 F4"},
      {emit_store_and, "17 BF"},       {emit_store_or, "17 EF"},        {emit_store_xor, "17 6F"},
      {emit_store_not_a, "17 0F"},     {emit_store_not_b, "17 5F"},     {emit_store_a_shl, "77 FF"},
      {emit_store_a_shl_bh, "87 FF"},  {emit_store_a_shr, "97 FF"},     {emit_store_a_sar, "A7 FF"},
      {emit_store_b_shl, "B7 FF"},     {emit_store_b_shr, "C7 FF"},     {emit_store_b_sar, "D7 FF"},
      {emit_store_b_shr_al, "E7 FF"},
  };
  for (const auto& c : cases) {
    init_global_tables();
    c.emit(RAM_START);
    EXPECT_EQ(words(), std::string("35 01 34 00 33 15 FF FF ") + c.access_word);
    EXPECT_EQ(g_rom_word_count, 5);
  }
}

TEST_F(Emitters, ArgumentsAreCutByTheByteSplit) {
  emit_store_imm(0x010000, 0x345);
  EXPECT_EQ(words(), "35 01 34 00 33 00 FF FF 37 45");

  init_global_tables();
  emit_load_a(0x1FFFFFF);
  EXPECT_EQ(words(), "35 FF 34 FF 33 FF FF FF 21 FF");

  init_global_tables();
  emit_jump_to(-1);
  EXPECT_EQ(words(), "35 FF 34 FF 33 FF 0D FF");

  const struct {
    std::int32_t value;
    std::uint8_t high, middle, low;
  } splits[] = {
      {0x1FFFFFF, 0xFF, 0xFF, 0xFF},
      {-1, 0xFF, 0xFF, 0xFF},
      {RAM_START, 0x01, 0x00, 0x15},
      {0x7F123456, 0x12, 0x34, 0x56},
  };
  for (const auto& s : splits) {
    EXPECT_EQ(high_byte(s.value), s.high) << s.value;
    EXPECT_EQ(middle_byte(s.value), s.middle) << s.value;
    EXPECT_EQ(low_byte(s.value), s.low) << s.value;
  }
}

TEST_F(Emitters, PlanesStayAsLongAsTheWordCount) {
  emit_nop();
  emit_jump_if_a_ne_b(7);
  emit_store_imm(1, 2);
  emit_a_imm(3);
  EXPECT_EQ(g_rom_word_count, 11);
  EXPECT_EQ(g_rom_high_bytes.size(), 11u);
  EXPECT_EQ(g_rom_low_bytes.size(), 11u);
}

}  // namespace
}  // namespace tarvik::test
