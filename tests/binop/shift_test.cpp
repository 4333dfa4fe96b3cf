#include <limits>
#include <string>
#include <utility>

#include "binop/reduction.h"
#include "isa/isa.h"
#include "operand/operand.h"
#include "stmt/stmt.h"
#include "support/binop_support.h"

namespace tarvik::test {
namespace {

// Where the shift counts are.
constexpr std::int32_t N = W;

// A register operand.
constexpr OperandDescriptor reg(int kind) { return operand(kind, 0); }

class ShiftGroup : public ReductionTest {
 protected:
  void SetUp() override {
    ReductionTest::SetUp();
    k1 = constant(1), k2 = constant(2), k4 = constant(4);
  }

  OperandDescriptor k1 = 0, k2 = 0, k4 = 0;
};

TEST_F(ShiftGroup, ResultGoesToATargetOfLeftWidthElseToATemporaryOfLeftKind) {
  const std::pair<Binary, Expected> cases[] = {
      {{"x = y << n, ints", s16(X), "=", s16(Y), "<<", s16(N)},
       {[] { call(s16(X), s16(Y), "<<", s16(N)); }, items({s16(X)}), 0}},
      {{"x = x << 2 as x <<= 2 arrives, unsigned long", u32(X), "=", u32(X), "<<", k2},
       {[&] { call(u32(X), u32(X), "<<", k2); }, items({u32(X)}), 0}},
      {{"either signedness of target", u8(X), "=", s8(Y), ">>", s32(N)},
       {[] { call(u8(X), s8(Y), ">>", s32(N)); }, items({u8(X)}), 0}},
      {{"int target of a char shift: 8 bits", s16(X), "=", s8(Y), "<<", k4},
       {[&] { call(u8(T), s8(Y), "<<", k4); }, items({s16(X), "=", s8(T)}), 1}},
      {{"after += no shortcut", s8(X), "+=", s8(Y), "<<", k4},
       {[&] { call(u8(T), s8(Y), "<<", k4); }, items({s8(X), "+=", s8(T)}), 1}},
      {{"unsigned int alone", 0, nullptr, u16(Y), ">>", u8(N)},
       {[] { call(u16(T), u16(Y), ">>", u8(N)); }, items({u16(T)}), 2}},
      {{"long by a char count", 0, nullptr, s32(Y), "<<", u8(N)},
       {[] { call(u32(T), s32(Y), "<<", u8(N)); }, items({s32(T)}), 4}},
  };
  expect_all_reduced(cases);
}

TEST_F(ShiftGroup, ConstantLeftOperandTakesTheSmallestSignedType) {
  struct Typing {
    std::int32_t value;
    int passed_kind, size, kind;
  };
  const Typing typings[] = {
      {1, OPERAND_KIND_UCHAR, 1, OPERAND_KIND_CHAR},     {-128, OPERAND_KIND_UCHAR, 1, OPERAND_KIND_CHAR},
      {127, OPERAND_KIND_UCHAR, 1, OPERAND_KIND_CHAR},   {128, OPERAND_KIND_UINT, 2, OPERAND_KIND_INT},
      {300, OPERAND_KIND_UINT, 2, OPERAND_KIND_INT},     {-32768, OPERAND_KIND_UINT, 2, OPERAND_KIND_INT},
      {32768, OPERAND_KIND_ULONG, 4, OPERAND_KIND_LONG}, {70000, OPERAND_KIND_ULONG, 4, OPERAND_KIND_LONG},
      {-32769, OPERAND_KIND_ULONG, 4, OPERAND_KIND_LONG},
  };
  for (const Typing& t : typings) {
    const OperandDescriptor k = constant(t.value);
    const OperandDescriptor typed = operand(t.kind, T), result = operand(t.passed_kind, T + t.size);
    expect_reduced({std::to_string(t.value).c_str(), 0, nullptr, k, "<<", u8(N)},
                   {[&] {
                      call(0, operand(t.passed_kind, T), "=", k);
                      call(result, typed, "<<", u8(N));
                    },
                    items({operand(t.kind, T + t.size)}), 2 * t.size});
  }
}

TEST_F(ShiftGroup, OperandsThroughPointersAndInRegisterAAreStoredAsChars) {
  const OperandDescriptor to_char = operand(OPERAND_KIND_CHAR_VIA_PTR, P), to_int = operand(OPERAND_KIND_INT_VIA_PTR, P);
  const OperandDescriptor to_uchar = operand(OPERAND_KIND_UCHAR_VIA_PTR, Q);
  const std::pair<Binary, Expected> cases[] = {
      {{"*p >> 2, p to char", 0, nullptr, to_char, ">>", k2},
       {[&] {
          call(0, A_UNSIGNED, "=", to_char);
          call(0, u8(T), "=", A_SIGNED);
          call(u8(T + 1), s8(T), ">>", k2);
        },
        items({s8(T + 1)}), 2}},
      {{"x = *p << n, p to int", s16(X), "=", to_int, "<<", u8(N)},
       {[&] {
          call(0, u16(T), "=", to_int);
          call(s16(X), s16(T), "<<", u8(N));
        },
        items({s16(X)}), 2}},
      {{"a count loaded into A stays there", 0, nullptr, s8(Y), "<<", to_uchar},
       {[&] {
          call(0, A_UNSIGNED, "=", to_uchar);
          call(u8(T), s8(Y), "<<", A_UNSIGNED);
        },
        items({s8(T)}), 1}},
      {{"1 << *q: the count leaves A before the constant's store", 0, nullptr, k1, "<<", to_uchar},
       {[&] {
          call(0, A_UNSIGNED, "=", to_uchar);
          call(0, u8(T), "=", A_UNSIGNED);
          call(0, u8(T + 1), "=", k1);
          call(u8(T + 2), s8(T + 1), "<<", u8(T));
        },
        items({s8(T + 2)}), 3}},
      {{"*q << *p: A stored as a char, not widened, before an int load", 0, nullptr, to_uchar, "<<", to_int},
       {[&] {
          call(0, A_UNSIGNED, "=", to_uchar);
          call(0, u8(T), "=", A_UNSIGNED);
          call(0, u16(T + 1), "=", to_int);
          call(u8(T + 3), u8(T), "<<", s16(T + 1));
        },
        items({u8(T + 3)}), 4}},
      {{"an A value on the left", 0, nullptr, A_SIGNED, "<<", k1},
       {[&] {
          call(0, u8(T), "=", A_SIGNED);
          call(u8(T + 1), s8(T), "<<", k1);
        },
        items({s8(T + 1)}), 2}},
  };
  expect_all_reduced(cases);
}

TEST_F(ShiftGroup, TwoConstantsFoldInThirtyTwoBits) {
  constexpr std::int32_t MIN = std::numeric_limits<std::int32_t>::min();
  const Fold folds[] = {
      {1, "<<", 33, 2},  {5, ">>", -1, 0},  {-8, ">>", 1, -4},       {1, "<<", 31, MIN},
      {-1, "<<", 32, -1}, {MIN, ">>", 31, -1}, {0x7FFFFFFF, "<<", 1, -2}, {0x40000000, ">>", 30, 1},
  };
  expect_folds(folds);
}

TEST_F(ShiftGroup, FoldsChainLeftToRight) {
  const std::int32_t first = g_constant_count;
  EXPECT_EQ(reduce({constant(1), "<<", constant(31), "<<", constant(1)}), STATUS_DONE);
  EXPECT_EQ(items_of(text), items({operand(OPERAND_KIND_CONSTANT, first + 4)}));
  EXPECT_EQ(g_constant_table[first + 3], std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(g_constant_table[first + 4], 0);
}

TEST_F(ShiftGroup, FoldIntoAFullConstantTableEndsTheCompileWithTheTextUntouched) {
  expect_full_table_fold_throws(3, "<<", 1);
}

TEST_F(ShiftGroup, RegisterShiftsByOneAreOneInstruction) {
  const RegisterForm forms[] = {
      {"_A = _A << 1", REG_A, REG_A, "<<", k1, emit_a_a_shl},
      {"_B = _A_0 << 1", REG_B, reg(OPERAND_KIND_A_0), "<<", k1, emit_b_a_shl},
      {"_RAM = _B << 1", reg(OPERAND_KIND_RAM), REG_B, "<<", k1, emit_ram_b_shl},
      {"_A1 = _A_BH << 1", reg(OPERAND_KIND_A1), reg(OPERAND_KIND_A_BH), "<<", k1, emit_a1_a_shl_bh},
      {"_A2 = _A_0 >> 1", reg(OPERAND_KIND_A2), reg(OPERAND_KIND_A_0), ">>", k1, emit_a2_a_shr},
      {"_A0 = _B >> 1", reg(OPERAND_KIND_A0), REG_B, ">>", k1, emit_a0_b_sar},
      {"_A = _B_0 >> 1", REG_A, reg(OPERAND_KIND_B_0), ">>", k1, emit_a_b_shr},
      {"x = _B_AL >> 1, x a char", s8(X), reg(OPERAND_KIND_B_AL), ">>", k1, [] { emit_store_b_shr_al(X); }},
      {"x = _A >> 1, x an unsigned char", u8(X), REG_A, ">>", k1, [] { emit_store_a_sar(X); }},
      {"x = _B_0 << 1, x a char", s8(X), reg(OPERAND_KIND_B_0), "<<", k1, [] { emit_store_b_shl(X); }},
  };
  expect_register_forms(forms);
}

TEST_F(ShiftGroup, OperandsNoCaseTakesAreRefused) {
  const Binary refusals[] = {
      {"_A = _A << 2", REG_A, "=", REG_A, "<<", k2},
      {"_A << 1 alone", 0, nullptr, REG_A, "<<", k1},
      {"x = _A << 1, x an int", s16(X), "=", REG_A, "<<", k1},
      {"_A = _A_BH >> 1", REG_A, "=", reg(OPERAND_KIND_A_BH), ">>", k1},
      {"_A = _B_AL << 1", REG_A, "=", reg(OPERAND_KIND_B_AL), "<<", k1},
      {"_A += _A << 1", REG_A, "+=", REG_A, "<<", k1},
      {"_A = _A << _B", REG_A, "=", REG_A, "<<", REG_B},
      {"_A = _A1 << 1", REG_A, "=", reg(OPERAND_KIND_A1), "<<", k1},
      {"pointer", 0, nullptr, operand(OPERAND_KIND_CHAR_PTR, Y), "<<", k1},
      {"array count", 0, nullptr, s8(Y), "<<", operand(OPERAND_KIND_CHAR_ARRAY, Z)},
      {"address", 0, nullptr, addr(Y), ">>", k1},
      {"condition", 0, nullptr, COND, ">>", k1},
      {"_RAM count", 0, nullptr, s16(Y), "<<", reg(OPERAND_KIND_RAM)},
  };
  expect_binaries_refused(refusals, STATUS_SHIFT_OPERAND_ERROR);
}

TEST_F(ShiftGroup, AnOperatorWithNothingAfterItIsAnOperandError) {
  for (const ByteArray& level : {level_text({s8(Y), "<<"}), level_text({s8(X), "=", s8(Y), ">>"})}) {
    SCOPED_TRACE(items_of(level));
    expect_text_refused(level, STATUS_SHIFT_OPERAND_ERROR);
  }
}

TEST_F(ShiftGroup, ShiftedValuesOnTheSimulator) {
  const SimulatedValue values[] = {
      {{"signed >> fills with the sign", 0, nullptr, s8(Y), ">>", u8(N)}, 0x9C, 2, 0xE7},
      {{"unsigned >> fills with 0", 0, nullptr, u8(Y), ">>", u8(N)}, 0x9C, 2, 0x27},
      {{"int << a variable count", 0, nullptr, u16(Y), "<<", u8(N)}, 0x1234, 4, 0x2340},
      {{"long >> an int count", 0, nullptr, s32(Y), ">>", s16(N)}, 0x80000010, 4, 0xF8000001},
      {{"1 << n in 8 bits", 0, nullptr, constant(1), "<<", u8(N)}, 0, 7, 0x80},
      {{"300 << n in 16 bits", 0, nullptr, constant(300), "<<", u8(N)}, 0, 4, 0x12C0},
      {{"-1 >> n keeps the sign", 0, nullptr, constant(-1), ">>", u8(N)}, 0, 3, 0xFF},
      {{"70000 << n in 32 bits", 0, nullptr, constant(70000), "<<", u8(N)}, 0, 1, 140000},
      {{"x = y << n", s16(X), "=", s16(Y), "<<", s16(N)}, 0x4101, 1, 0x8202},
  };
  expect_values(values, N);
}

}  // namespace
}  // namespace tarvik::test
