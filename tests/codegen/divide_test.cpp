#include "support/codegen_support.h"

#include "isa/isa.h"

namespace tarvik::test {
namespace {

constexpr std::int32_t D = 0x010020, L = 0x010030, R = 0x010040;

const char* side_name(Side side) {
  static const char* const NAMES[] = {"U", "S", "K", "IMM", "AU", "AS"};
  return NAMES[side];
}

// One division: L op R in `width` bytes, with the quotient and remainder it gives.
struct Division {
  int width;
  Side l_side;
  std::int64_t l;
  Side r_side;
  std::int64_t r, quotient, remainder;
};

std::ostream& operator<<(std::ostream& out, const Division& c) {
  return out << side_name(c.l_side) << " " << c.l << " by " << side_name(c.r_side) << " " << c.r << " in " << c.width << " bytes";
}

class DivisionTest : public CodegenTest {
 protected:
  // D = L op R on a fresh simulator; D's bytes afterwards.
  std::uint32_t divide(const Division& c, std::string_view op) {
    fresh();
    const OperandDescriptor l = operand_for(c.l_side, c.width, c.l, L), r = operand_for(c.r_side, c.width, c.r, R);
    return result_of(op, variable(c.width, D), l, r, D, c.width);
  }

  void expect_both(const Division& c) {
    SCOPED_TRACE(testing::Message() << c);
    EXPECT_EQ(divide(c, "/"), static_cast<std::uint32_t>(c.quotient) & width_mask(c.width)) << "quotient";
    EXPECT_EQ(divide(c, "%"), static_cast<std::uint32_t>(c.remainder) & width_mask(c.width)) << "remainder";
  }
};

TEST_F(DivisionTest, WordCountsOfEachForm) {
  const struct {
    const char* op;
    int width;
    Side l_side;
    std::int64_t l;
    Side r_side;
    std::int64_t r;
    std::int32_t words;
  } cases[] = {
      {"/", 1, U, 9, U, 2, 97},     {"%", 1, U, 9, U, 2, 85},     {"/", 4, S, 9, S, 2, 657},   {"%", 4, S, 9, S, 2, 615},
      {"/", 1, S, 9, S, 2, 126},    {"%", 1, S, 9, S, 2, 108},    {"/", 1, AS, 9, K, 2, 112},  {"%", 1, K, -7, AS, 2, 84},
      {"%", 1, AS, 9, S, 2, 109},   {"%", 1, K, 7, S, 2, 86},     {"/", 1, AU, 9, K, 2, 87},   {"%", 2, K, -7, S, 2, 219},
      {"/", 2, S, 9, K, 2, 264},    {"%", 4, S, 9, K, 2, 524},    {"%", 4, K, -7, S, 2, 491},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << side_name(c.l_side) << " " << c.l << " " << c.op << " " << side_name(c.r_side) << " in "
                                    << c.width << " bytes");
    fresh();
    const OperandDescriptor l = operand_for(c.l_side, c.width, c.l, L), r = operand_for(c.r_side, c.width, c.r, R);
    ASSERT_EQ(generate(variable(c.width, D, true), l, c.op, r), STATUS_DONE);
    EXPECT_EQ(emitted_count(), c.words);
  }
}

TEST_F(DivisionTest, CounterStepAndBackJumpWhereTheLoopPlacesThem) {
  const struct {
    const char* op;
    int width;
    std::int32_t counter, counter_step, after_loop;
  } cases[] = {
      {"/", 1, 0x010008, 47, 57},  {"/", 2, 0x01000C, 120, 130}, {"/", 4, 0x010014, 278, 288},
      {"%", 1, 0x010008, 35, 45},  {"%", 2, 0x01000C, 98, 108},  {"%", 4, 0x010014, 242, 252},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.op << " " << c.width);
    fresh();
    ASSERT_EQ(generate(variable(c.width, D), variable(c.width, L), c.op, variable(c.width, R)), STATUS_DONE);
    const std::int32_t setup = 25 * c.width + 5;  // clear REM, copy L, copy R, counter
    EXPECT_EQ(emitted_count(), setup + c.after_loop + 10 * c.width);
    expect_countdown(setup, c.counter, c.counter_step, c.after_loop);
  }
}

TEST_F(DivisionTest, SignedSixteenBitSetupMakesBothOperandsPositive) {
  ASSERT_EQ(generate(s16(D), s16(L), "/", s16(R)), STATUS_DONE);
  // Low byte first, then the 27-word negation when the top byte is negative.
  const auto positive_copy = [](std::int32_t x, std::int32_t high, std::int32_t low) {
    emit_load_a(x), emit_store_a(low), emit_load_a(x + 1), emit_store_a(high);
    emit_jump_if_ah_clear(g_rom_word_count + 31);
    emit_load_a(high), emit_ram_not_a();
    emit_load_b(low), emit_a_not_b(), emit_ram_add_a_1();
    const std::int32_t link = g_rom_word_count;
    emit_jump_if_carry_add_a_1(link + 8), emit_jump_to(link + 14), emit_load_a(high), emit_ram_add_a_1();
  };
  EXPECT_EQ(emitted_words(0, 10 + 2 * 51 + 5), words_of([&] {
              emit_store_imm(0x010004, 0), emit_store_imm(0x010005, 0);
              positive_copy(L, 0x010006, 0x010007);
              positive_copy(R, 0x010008, 0x010009);
              emit_store_imm(0x01000C, 15);
            }));
}

// Truncation toward zero, the remainder with the dividend's sign.
TEST_F(DivisionTest, SignedResultsInEveryWidthAndForm) {
  const struct {
    std::int64_t l, r, quotient, remainder;
  } signs[] = {{-7, 2, -3, -1}, {7, -2, -3, 1}, {-7, -2, 3, -1}, {7, 2, 3, 1}};
  const struct {
    int width;
    Side l, r;
  } forms[] = {
      {1, S, S}, {1, S, K}, {1, K, S}, {1, AS, S}, {1, S, AS}, {1, AS, K}, {1, K, AS},
      {2, S, S}, {2, S, K}, {2, K, S}, {4, S, S}, {4, S, K}, {4, K, S},
  };
  for (const auto& form : forms)
    for (const auto& s : signs) expect_both({form.width, form.l, s.l, form.r, s.r, s.quotient, s.remainder});
}

TEST_F(DivisionTest, AnUnsignedOperandMakesTheDivisionUnsigned) {
  const Division cases[] = {
      {1, U, 200, U, 3, 66, 2},      {1, AU, -7, S, 2, 124, 1},    {1, S, -7, AU, 2, 124, 1},
      {1, AU, 7, S, -2, 0, 7},       {1, AU, 7, K, -2, 0, 7},      {1, K, -7, AU, 2, 124, 1},
      {1, AS, -7, U, 2, 124, 1},     {1, U, 200, S, -1, 0, 200},   {2, U, 60000, S, -1, 0, 60000},
      {4, S, -1, U, 16, 0x0FFFFFFF, 15},                            {2, U, 65535, K, 0x8000, 1, 0x7FFF},
  };
  for (const auto& c : cases) expect_both(c);
}

TEST_F(DivisionTest, EdgesOfSignedConstantsAndValues) {
  const Division cases[] = {
      {1, S, 100, K, 200, -1, 44},          // 200 is -56 in a signed division
      {1, S, -112, IMM, 200, 2, 0},
      {1, K, 200, S, 3, -18, -2},           // and -56 as a dividend
      {1, S, -128, S, -1, -128, 0},         // the overflow goes unnoticed
      {4, S, -7, K, 3, -2, -1},
      {2, K, -30000, S, 7, -4285, -5},
      {4, S, INT32_MIN, K, INT32_MIN, 1, 0},  // (NOT c) + 1 wraps to itself
      {4, K, INT32_MIN, S, 7, -306783378, -2},
      {4, S, 5, K, INT32_MIN, 0, 5},
      {4, K, INT32_MIN, S, -1, INT32_MIN, 0},
      {2, S, INT16_MIN, K, -1, INT16_MIN, 0},
  };
  for (const auto& c : cases) expect_both(c);
}

TEST_F(DivisionTest, ByZeroGivesAllOnesOrOneAndKeepsTheDividend) {
  const Division cases[] = {
      {1, U, 77, U, 0, 0xFF, 77},        {2, U, 1234, K, 0, 0xFFFF, 1234}, {4, U, 99999, U, 0, 0xFFFFFFFF, 99999},
      {1, S, 5, S, 0, -1, 5},            {1, S, -5, S, 0, 1, -5},          {1, AS, -5, K, 0, 1, -5},
      {2, S, 5, K, 0, -1, 5},            {4, S, -5, S, 0, 1, -5},          {4, K, -5, S, 0, 1, -5},
  };
  for (const auto& c : cases) expect_both(c);
}

TEST_F(DivisionTest, ResultIntoAnOperandReadsItsSignFirst) {
  const struct {
    const char* op;
    int width;
    bool into_divisor;
    std::int64_t l, r, result;
  } cases[] = {
      {"/", 2, false, -7, 2, -3}, {"%", 2, false, -7, 2, -1}, {"/", 1, false, 7, -2, -3},
      {"%", 1, false, -7, -2, -1}, {"/", 4, true, 7, -2, -3}, {"%", 4, true, -7, 2, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.l << " " << c.op << " " << c.r << " in " << c.width << " bytes");
    fresh();
    sim.set_bytes(L, static_cast<std::uint32_t>(c.l), c.width);
    sim.set_bytes(R, static_cast<std::uint32_t>(c.r), c.width);
    const OperandDescriptor l = variable(c.width, L, true), r = variable(c.width, R, true);
    ASSERT_EQ(generate(c.into_divisor ? r : l, l, c.op, r), STATUS_DONE);
    run();
    EXPECT_EQ(sim.read_bytes(c.into_divisor ? R : L, c.width), static_cast<std::uint32_t>(c.result) & width_mask(c.width));
  }
}

TEST_F(DivisionTest, RefusedCombinationsEmitNothing) {
  const auto var = [](int kind) { return operand(kind, L); };
  const Refusal refusals[] = {
      {"16-bit by 8-bit", s16(L), s16(L), u8(L)},
      {"8-bit result of 16-bit operands", u8(L), s16(L), s16(L)},
      {"32-bit result of 16-bit operands", u32(L), s16(L), s16(L)},
      {"result in A", A_SIGNED, u8(L), u8(L)},
      {"result in _A", REG_A, u8(L), u8(L)},
      {"two values in A", u8(L), A_UNSIGNED, A_UNSIGNED},
      {"_A operand", u8(L), u8(L), REG_A},
      {"value in A, 32 bits", u32(L), u32(L), A_UNSIGNED},
      {"two constants", s16(L), immediate(7), make_operand(OPERAND_KIND_CONSTANT, 1)},
      {"pointer", u8(L), u8(L), var(OPERAND_KIND_CHAR_PTR)},
      {"through a pointer", s16(L), var(OPERAND_KIND_INT_VIA_PTR), s16(L)},
      {"array", u8(L), u8(L), var(OPERAND_KIND_CHAR_ARRAY)},
      {"address value", u32(L), var(OPERAND_KIND_ADDRESS), u32(L)},
      {"_B operand", u8(L), REG_B, u8(L)},
  };
  emit_nop();
  g_true_jumps = JumpList("\x01\x02\x03", 3), g_false_jumps = JumpList(), g_fall_through_sense = Text(SENSE_TRUE);
  expect_refusals(refusals, "/", STATUS_BINOP_DIV_TYPE_ERROR);
  expect_refusals(refusals, "%", STATUS_BINOP_MOD_TYPE_ERROR);
}

}  // namespace
}  // namespace tarvik::test
