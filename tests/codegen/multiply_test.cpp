#include "support/codegen_support.h"

#include "isa/isa.h"

namespace tarvik::test {
namespace {

constexpr std::int32_t D = 0x010020, L = 0x010030, R = 0x010040;

class MultiplyTest : public CodegenTest {
 protected:
  // D = L * R on the simulator; D's bytes afterwards.
  std::uint32_t multiply(int width, Side l_side, std::int64_t l, Side r_side, std::int64_t r) {
    const OperandDescriptor lo = operand_for(l_side, width, l, L), ro = operand_for(r_side, width, r, R);
    return result_of("*", variable(width, D), lo, ro, D, width);
  }
};

TEST_F(MultiplyTest, EightBitProductIsTheListedLoop) {
  ASSERT_EQ(generate(u8(D), u8(L), "*", u8(R)), STATUS_DONE);
  EXPECT_EQ(emitted_count(), 72);
  EXPECT_EQ(emitted(), words_of([] {
              emit_load_a(L), emit_store_a(0x010004);
              emit_load_a(R), emit_store_a(0x010005);
              emit_store_imm(0x010007, 7);
              const std::int32_t loop = g_rom_word_count;
              emit_load_a(0x010006), emit_ram_a_shl();
              emit_load_a(0x010005), emit_ram_a_shl();
              emit_jump_if_ah_clear(loop + 27);
              emit_load_b(0x010004), emit_load_a(0x010006), emit_ram_add_a_b();
              emit_load_a(0x010007), emit_ram_sub_a_1(), emit_jump_if_carry_sub_a_1(loop);
              emit_load_a(0x010006), emit_store_a(D);
            }));
}

TEST_F(MultiplyTest, SixteenBitSetupCopiesTopByteFirst) {
  ASSERT_EQ(generate(s16(D), s16(L), "*", s16(R)), STATUS_DONE);
  EXPECT_EQ(emitted_words(0, 45), words_of([] {
              emit_load_a(L + 1), emit_store_a(0x010004), emit_load_a(L), emit_store_a(0x010005);
              emit_load_a(R + 1), emit_store_a(0x010006), emit_load_a(R), emit_store_a(0x010007);
              emit_store_imm(0x01000A, 15);
            }));
}

TEST_F(MultiplyTest, LoopLengthsAndCounterStepPositions) {
  const struct {
    int width;
    Side l, r;
    std::int32_t setup, counter, counter_step, after_loop, total;
  } cases[] = {
      {1, U, U, 25, 0x010007, 27, 37, 72},    {1, AU, K, 15, 0x010007, 27, 37, 62},
      {2, U, U, 45, 0x01000A, 72, 82, 147},   {4, U, U, 85, 0x010010, 192, 202, 327},
      {4, K, S, 65, 0x010010, 192, 202, 307},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "width " << c.width << ", setup " << c.setup);
    fresh();
    const OperandDescriptor l = operand_for(c.l, c.width, 3, L), r = operand_for(c.r, c.width, 5, R);
    ASSERT_EQ(generate(variable(c.width, D), l, "*", r), STATUS_DONE);
    EXPECT_EQ(emitted_count(), c.total);
    expect_countdown(c.setup, c.counter, c.counter_step, c.after_loop);
  }
}

TEST_F(MultiplyTest, ProductsKeepTheLowBitsOfEveryForm) {
  const struct {
    int width;
    Side l_side;
    std::int64_t l;
    Side r_side;
    std::int64_t r, product;
  } cases[] = {
      {1, U, 200, U, 3, 88},         {1, S, -3, S, 5, -15},         {1, AU, 200, U, 3, 88},
      {1, U, 200, AS, 3, 88},        {1, AS, -3, K, 5, -15},        {1, K, 13, AU, 11, 143},
      {1, K, 2, S, -100, -200},      {1, U, 77, K, 0, 0},           {1, U, 77, IMM, 1, 77},
      {2, U, 300, U, 200, 60000},    {2, S, -123, S, 45, -5535},    {2, K, 7, U, 1234, 8638},
      {2, S, -2, IMM, 0x8000, 0},    {4, U, 123456, U, 7890, 974067840},
      {4, S, -100000, S, 30000, -3000000000},                        {4, U, 65537, K, 65537, 131073},
      {4, K, -1, S, 0x12345678, -0x12345678},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.l << " * " << c.r << " in " << c.width << " bytes");
    fresh();
    EXPECT_EQ(multiply(c.width, c.l_side, c.l, c.r_side, c.r), static_cast<std::uint32_t>(c.product) & width_mask(c.width));
  }
}

TEST_F(MultiplyTest, SquareIntoTheSameVariable) {
  sim.set_bytes(L, 300, 2);
  const OperandDescriptor x = s16(L);
  ASSERT_EQ(generate(x, x, "*", x), STATUS_DONE);
  run();
  EXPECT_EQ(sim.read_bytes(L, 2), 90000u & 0xFFFF);
}

TEST_F(MultiplyTest, WorkBytesEndAsMultiplicandZeroProductAndSpentCounter) {
  EXPECT_EQ(multiply(4, U, 0x01020304, U, 0x10), 0x10203040u);
  EXPECT_EQ(sim.read_bytes(0x010004, 4), 0x04030201u);  // most significant byte first
  EXPECT_EQ(sim.read_bytes(0x010008, 4), 0u);
  EXPECT_EQ(sim.read_bytes(0x01000C, 4), 0x40302010u);
  EXPECT_EQ(sim.ram(0x010010), 0xFF);
}

TEST_F(MultiplyTest, RefusedCombinationsEmitNothing) {
  const auto var = [](int kind) { return operand(kind, L); };
  const Refusal refusals[] = {
      {"16-bit times 8-bit", u16(L), u16(L), u8(L)},
      {"8-bit result of 16-bit operands", u8(L), u16(L), u16(L)},
      {"32-bit result of 16-bit operands", s32(L), u16(L), u16(L)},
      {"result in A", A_UNSIGNED, u8(L), u8(L)},
      {"result in _A", REG_A, u8(L), u8(L)},
      {"two values in A", u8(L), A_UNSIGNED, A_SIGNED},
      {"_A operand", u8(L), REG_A, u8(L)},
      {"value in A, 16 bits", u16(L), A_UNSIGNED, u16(L)},
      {"two constants", u8(L), make_operand(OPERAND_KIND_CONSTANT, 1), immediate(3)},
      {"pointer", u8(L), var(OPERAND_KIND_UCHAR_PTR), u8(L)},
      {"through a pointer", u8(L), u8(L), var(OPERAND_KIND_UCHAR_VIA_PTR)},
      {"array", u8(L), var(OPERAND_KIND_UCHAR_ARRAY), u8(L)},
      {"address value", u16(L), u16(L), var(OPERAND_KIND_ADDRESS)},
      {"constant destination", make_operand(OPERAND_KIND_CONSTANT, 1), u8(L), u8(L)},
  };
  emit_nop();
  g_true_jumps = JumpList("\x01\x02\x03", 3), g_false_jumps = JumpList(), g_fall_through_sense = Text(SENSE_FALSE);
  expect_refusals(refusals, "*", STATUS_BINOP_MUL_TYPE_ERROR);
}

}  // namespace
}  // namespace tarvik::test
