#include "support/support.h"

namespace tarvik::test {
namespace {

class CompilerState : public CompilerTest {};

TEST_F(CompilerState, StartsWithZeroCountsAndEmptyTexts) {
  EXPECT_EQ(g_source, "");
  EXPECT_EQ(g_rom_word_count, 0);
  EXPECT_EQ(g_function_count, 0);
  EXPECT_EQ(g_register_a_state, "");
  EXPECT_EQ(g_func_names[1], "");
  EXPECT_EQ(g_func_entry[TABLE_CAPACITY], 0);
  EXPECT_EQ(g_constant_table[0], 0);
}

TEST_F(CompilerState, ResettingForgetsEarlierValues) {
  g_scan_pos = 7;
  g_true_jumps = "abc";
  g_var_names[3] = "x";
  init_global_tables();
  EXPECT_EQ(g_scan_pos, 0);
  EXPECT_EQ(g_true_jumps, "");
  EXPECT_EQ(g_var_names[3], "");
}

TEST_F(CompilerState, TablesRefuseEntriesOutsideTheirCapacity) {
  // Records are numbered 1 to 65536, slots 0 to 65535.
  EXPECT_NO_THROW(g_param_names[TABLE_CAPACITY] = "p");
  EXPECT_THROW(g_param_names[TABLE_CAPACITY + 1], TableCapacityExceeded);
  EXPECT_THROW(g_func_entry[0], TableCapacityExceeded);
  EXPECT_NO_THROW(g_constant_table[0] = 1);
  EXPECT_NO_THROW(g_constant_table[TABLE_CAPACITY - 1] = 1);
  EXPECT_THROW(g_constant_table[TABLE_CAPACITY], TableCapacityExceeded);
  EXPECT_THROW(g_level_name[-1], TableCapacityExceeded);
}

TEST_F(CompilerState, AnEntryStaysPutWhileLaterEntriesAreAdded) {
  ByteArray& first = g_var_names[1];
  first = "a";
  for (std::int32_t k = 2; k < TABLE_CAPACITY; k += 100) g_var_names[k] = "b";
  g_var_names[TABLE_CAPACITY] = g_var_names[1];
  EXPECT_EQ(first, "a");
  EXPECT_EQ(g_var_names[TABLE_CAPACITY], "a");
}

TEST_F(CompilerState, MessageTextsAreGbkBytes) {
  EXPECT_EQ(hex("开始编译"), "BF AA CA BC B1 E0 D2 EB");
  EXPECT_EQ(hex(STATUS_COMPILE_END), "B1 E0 D2 EB BD E1 CA F8");
  EXPECT_EQ(hex(MSG_TABLE_FULL), "B1 ED B8 F1 C8 DD C1 BF B3 AC B3 F6 36 35 35 33 36 CF EE");
}

TEST_F(CompilerState, TextEndsAtItsFirstNul) {
  EXPECT_EQ(as_text(std::string("ma\0in", 5)), "ma");
  EXPECT_EQ(as_text("main"), "main");
}

}  // namespace
}  // namespace tarvik::test
