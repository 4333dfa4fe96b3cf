#include "support/codegen_support.h"

#include "isa/isa.h"

namespace tarvik::test {
namespace {

constexpr std::int32_t D = 0x010020, L = 0x010030, R = 0x010040;

// How an operand is given: unsigned or signed variable, constant, immediate, value in A.
enum Side { U, S, K, IMM, AU, AS };

constexpr int variable_kind(int width, bool is_signed) {
  return (width == 1 ? OPERAND_KIND_UCHAR : width == 2 ? OPERAND_KIND_UINT : OPERAND_KIND_ULONG) + (is_signed ? 3 : 0);
}

constexpr std::uint32_t mask(int width) { return width == 4 ? 0xFFFFFFFFu : (1u << (8 * width)) - 1; }

class MultiplyTest : public CodegenTest {
 protected:
  OperandDescriptor operand_for(Side side, int width, std::int64_t value, std::int32_t address) {
    switch (side) {
      case U: case S:
        sim.set_bytes(address, static_cast<std::uint32_t>(value), width);
        return operand(variable_kind(width, side == S), address);
      case K: return constant(static_cast<std::int32_t>(value));
      case IMM: return operand(OPERAND_KIND_IMMEDIATE, static_cast<std::int32_t>(value));
      case AU: case AS:
        sim.a = static_cast<std::uint8_t>(value);
        return side == AU ? A_UNSIGNED : A_SIGNED;
    }
    return 0;
  }

  // D = L * R on the simulator; D's bytes afterwards.
  std::uint32_t multiply(int width, Side l_side, std::int64_t l, Side r_side, std::int64_t r) {
    const OperandDescriptor lo = operand_for(l_side, width, l, L), ro = operand_for(r_side, width, r, R);
    EXPECT_EQ(generate(operand(variable_kind(width, false), D), lo, "*", ro), STATUS_DONE);
    run();
    EXPECT_EQ(sim.stray_writes(D, width), "");
    return sim.read_bytes(D, width);
  }

  // A new operation on fresh state and a fresh simulator.
  void fresh() {
    SetUp();
    sim = Simulator();
  }

  // `count` words of the emitted sequence from word `offset` on, in hex.
  std::string emitted_words(std::int32_t offset, std::int32_t count) const { return emitted().substr(6 * offset, 6 * count - 1); }
};

TEST_F(MultiplyTest, EightBitProductIsTheListedLoop) {
  ASSERT_EQ(generate(operand(OPERAND_KIND_UCHAR, D), operand(OPERAND_KIND_UCHAR, L), "*", operand(OPERAND_KIND_UCHAR, R)),
            STATUS_DONE);
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
  ASSERT_EQ(generate(operand(OPERAND_KIND_INT, D), operand(OPERAND_KIND_INT, L), "*", operand(OPERAND_KIND_INT, R)), STATUS_DONE);
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
    ASSERT_EQ(generate(operand(variable_kind(c.width, false), D), l, "*", r), STATUS_DONE);
    EXPECT_EQ(emitted_count(), c.total);
    const std::int32_t loop = first_word + c.setup;
    EXPECT_EQ(emitted_words(c.setup + c.counter_step, c.after_loop - c.counter_step), words_of([&] {
                emit_load_a(c.counter), emit_ram_sub_a_1(), emit_jump_if_carry_sub_a_1(loop);
              }));
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
    EXPECT_EQ(multiply(c.width, c.l_side, c.l, c.r_side, c.r), static_cast<std::uint32_t>(c.product) & mask(c.width));
  }
}

TEST_F(MultiplyTest, SquareIntoTheSameVariable) {
  sim.set_bytes(L, 300, 2);
  const OperandDescriptor x = operand(OPERAND_KIND_INT, L);
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
  const OperandDescriptor u8 = var(OPERAND_KIND_UCHAR), u16 = var(OPERAND_KIND_UINT), s32 = var(OPERAND_KIND_LONG);
  const struct {
    const char* what;
    OperandDescriptor d, l, r;
  } cases[] = {
      {"16-bit times 8-bit", u16, u16, u8},
      {"8-bit result of 16-bit operands", u8, u16, u16},
      {"32-bit result of 16-bit operands", s32, u16, u16},
      {"result in A", A_UNSIGNED, u8, u8},
      {"result in _A", REG_A, u8, u8},
      {"two values in A", u8, A_UNSIGNED, A_SIGNED},
      {"_A operand", u8, REG_A, u8},
      {"value in A, 16 bits", u16, A_UNSIGNED, u16},
      {"two constants", u8, make_operand(OPERAND_KIND_CONSTANT, 1), make_operand(OPERAND_KIND_IMMEDIATE, 3)},
      {"pointer", u8, var(OPERAND_KIND_UCHAR_PTR), u8},
      {"through a pointer", u8, u8, var(OPERAND_KIND_UCHAR_VIA_PTR)},
      {"array", u8, var(OPERAND_KIND_UCHAR_ARRAY), u8},
      {"address value", u16, u16, var(OPERAND_KIND_ADDRESS)},
      {"constant destination", make_operand(OPERAND_KIND_CONSTANT, 1), u8, u8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    emit_nop();
    g_true_jumps = JumpList("\x01\x02\x03", 3);
    g_false_jumps = JumpList();
    g_fall_through_sense = Text(SENSE_FALSE);
    const std::string before = words_from(0);
    EXPECT_EQ(generate(c.d, c.l, "*", c.r), STATUS_BINOP_MUL_TYPE_ERROR);
    EXPECT_EQ(words_from(0), before);
    EXPECT_EQ(g_rom_word_count, 1);
    EXPECT_EQ(g_true_jumps, JumpList("\x01\x02\x03", 3));
    EXPECT_EQ(g_false_jumps, JumpList());
    EXPECT_EQ(g_fall_through_sense, SENSE_FALSE);
    EXPECT_EQ(op_after, "*");
  }
}

}  // namespace
}  // namespace tarvik::test
