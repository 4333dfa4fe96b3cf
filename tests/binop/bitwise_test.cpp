#include <utility>

#include "binop/reduction.h"
#include "isa/isa.h"
#include "operand/operand.h"
#include "stmt/stmt.h"
#include "support/binop_support.h"

namespace tarvik::test {
namespace {

class BitwiseGroup : public ReductionTest {
 protected:
  void SetUp() override {
    ReductionTest::SetUp();
    k5 = constant(5), k255 = constant(0xFF);
  }

  OperandDescriptor k5 = 0, k255 = 0;
};

TEST_F(BitwiseGroup, WidthCasesAndWhereTheirResultGoes) {
  const OperandDescriptor k80 = constant(0x80), kffff = constant(0xFFFF);
  const std::pair<Binary, Expected> cases[] = {
      {{"x = a & b, chars", u8(X), "=", u8(Y), "&", u8(Z)},
       {[] { call(u8(X), u8(Y), "&", u8(Z)); }, items({u8(X)}), 0}},
      {{"c = i1 & i2 keeps the low byte", s8(X), "=", s16(Y), "&", s16(Z)},
       {[] { call(s8(X), s16(Y), "&", s16(Z)); }, items({s8(X)}), 0}},
      {{"int = long | long", u16(X), "=", s32(Y), "|", u32(Z)},
       {[] { call(u16(X), s32(Y), "|", u32(Z)); }, items({u16(X)}), 0}},
      {{"long = long ^ constant", s32(X), "=", u32(Y), "^", k5},
       {[&] { call(s32(X), u32(Y), "^", k5); }, items({s32(X)}), 0}},
      {{"l = c1 & c2: no shortcut, A holds the result", s32(X), "=", s8(Y), "&", s8(Z)},
       {[] { call(REG_A, s8(Y), "&", s8(Z)); }, items({s32(X), "=", operand(OPERAND_KIND_A_SIGNED, Y)}), 0,
        REG_A_SIGNED}},
      {{"x += a & b: no shortcut", u8(X), "+=", u8(Y), "&", u8(Z)},
       {[] { call(REG_A, u8(Y), "&", u8(Z)); }, items({u8(X), "+=", operand(OPERAND_KIND_A_UNSIGNED, Y)}), 0,
        REG_A_UNSIGNED}},
      {{"a & b, unsigned char and char: unsigned", 0, nullptr, u8(Y), "&", s8(Z)},
       {[] { call(REG_A, u8(Y), "&", s8(Z)); }, items({operand(OPERAND_KIND_A_UNSIGNED, Y)}), 0, REG_A_UNSIGNED}},
      {{"c & 0xFF stays 1 byte, signed", 0, nullptr, s8(Y), "&", k255},
       {[&] { call(REG_A, s8(Y), "&", k255); }, items({operand(OPERAND_KIND_A_SIGNED, Y)}), 0, REG_A_SIGNED}},
      {{"0x80 | c, constant first", 0, nullptr, k80, "|", s8(Y)},
       {[&] { call(REG_A, k80, "|", s8(Y)); }, items({operand(OPERAND_KIND_A_SIGNED, k80)}), 0,
        REG_A_SIGNED}},
      {{"i & 0xFFFF stays 2 bytes", 0, nullptr, s16(Y), "&", kffff},
       {[&] { call(u16(T), s16(Y), "&", kffff); }, items({s16(T)}), 2}},
      {{"int ^ unsigned int: unsigned", 0, nullptr, s16(Y), "^", u16(Z)},
       {[] { call(u16(T), s16(Y), "^", u16(Z)); }, items({u16(T)}), 2}},
      {{"long | long, signed", 0, nullptr, s32(Y), "|", s32(Z)},
       {[] { call(u32(T), s32(Y), "|", s32(Z)); }, items({s32(T)}), 4}},
  };
  expect_all_reduced(cases);
}

TEST_F(BitwiseGroup, OperandsAreWidenedToOneWidth) {
  const OperandDescriptor minus_one = constant(-1), k1ff = constant(0x1FF), k10000 = constant(0x10000);
  const std::pair<Binary, Expected> cases[] = {
      {{"c & -1: a negative constant widens to 4 bytes", 0, nullptr, s8(Y), "&", minus_one},
       {[&] {
          call(0, u32(T), "=", s8(Y));
          call(u32(T + 4), s32(T), "&", minus_one);
        },
        items({s32(T + 4)}), 8}},
      {{"u & 0x1FF", 0, nullptr, u8(Y), "&", k1ff},
       {[&] {
          call(0, u16(T), "=", u8(Y));
          call(u16(T + 2), s16(T), "&", k1ff);
        },
        items({s16(T + 2)}), 4}},
      {{"0x1FF & u widens the right", 0, nullptr, k1ff, "&", u8(Y)},
       {[&] {
          call(0, u16(T), "=", u8(Y));
          call(u16(T + 2), k1ff, "&", s16(T));
        },
        items({s16(T + 2)}), 4}},
      {{"i & 0x10000", 0, nullptr, s16(Y), "&", k10000},
       {[&] {
          call(0, u32(T), "=", s16(Y));
          call(u32(T + 4), s32(T), "&", k10000);
        },
        items({s32(T + 4)}), 8}},
      {{"ui & ul", 0, nullptr, u16(Y), "&", u32(Z)},
       {[] {
          call(0, u32(T), "=", u16(Y));
          call(u32(T + 4), s32(T), "&", u32(Z));
        },
        items({u32(T + 4)}), 8}},
      {{"ul | ui", 0, nullptr, u32(Y), "|", u16(Z)},
       {[] {
          call(0, u32(T), "=", u16(Z));
          call(u32(T + 4), u32(Y), "|", s32(T));
        },
        items({u32(T + 4)}), 8}},
      {{"c ^ ui: the char through A", 0, nullptr, s8(Y), "^", u16(Z)},
       {[] {
          emit_load_a(Y);
          call(0, u16(T), "=", A_SIGNED);
          call(u16(T + 2), s16(T), "^", u16(Z));
        },
        items({u16(T + 2)}), 4}},
      {{"l | an A value", 0, nullptr, s32(Y), "|", A_SIGNED},
       {[] {
          call(0, u32(T), "=", A_SIGNED);
          call(u32(T + 4), s32(Y), "|", s32(T));
        },
        items({s32(T + 4)}), 8}},
      {{"x = c & i: widened, then the 2-byte shortcut", s8(X), "=", s8(Y), "&", s16(Z)},
       {[] {
          emit_load_a(Y);
          call(0, u16(T), "=", A_SIGNED);
          call(s8(X), s16(T), "&", s16(Z));
        },
        items({s8(X)}), 2}},
  };
  expect_all_reduced(cases);
}

TEST_F(BitwiseGroup, OperandsThroughPointersAreLoadedLeftFirst) {
  const OperandDescriptor p = operand(OPERAND_KIND_UCHAR_VIA_PTR, P);
  const OperandDescriptor q = operand(OPERAND_KIND_UCHAR_VIA_PTR, Q), q_signed = operand(OPERAND_KIND_CHAR_VIA_PTR, Q);
  const OperandDescriptor q_int = operand(OPERAND_KIND_INT_VIA_PTR, Q);
  const std::pair<Binary, Expected> cases[] = {
      {{"*p & *q, unsigned chars", 0, nullptr, p, "&", q},
       {[&] {
          call(0, A_UNSIGNED, "=", p);
          call(0, u8(T), "=", A_UNSIGNED);
          call(0, A_UNSIGNED, "=", q);
          call(REG_A, u8(T), "&", A_UNSIGNED);
        },
        items({operand(OPERAND_KIND_A_UNSIGNED, P)}), 1, REG_A_UNSIGNED}},
      {{"*p & *q, q to char: still unsigned", 0, nullptr, p, "&", q_signed},
       {[&] {
          call(0, A_UNSIGNED, "=", p);
          call(0, u8(T), "=", A_UNSIGNED);
          call(0, A_UNSIGNED, "=", q_signed);
          call(REG_A, u8(T), "&", A_SIGNED);
        },
        items({operand(OPERAND_KIND_A_UNSIGNED, P)}), 1, REG_A_UNSIGNED}},
      {{"*p | *q, q to int: A widened before the load", 0, nullptr, p, "|", q_int},
       {[&] {
          call(0, A_UNSIGNED, "=", p);
          call(0, s16(T), "=", A_UNSIGNED);
          call(0, u16(T + 2), "=", q_int);
          call(u16(T + 4), s16(T), "|", s16(T + 2));
        },
        items({s16(T + 4)}), 6}},
  };
  expect_all_reduced(cases);
}

TEST_F(BitwiseGroup, TwoConstantsFoldOnTheirFullValues) {
  // 3 & 5 is 1, which entry 1 already holds.
  const Fold folds[] = {
      {3, "&", 5, 1}, {6, "|", 9, 15}, {6, "^", 3, 5}, {-1, "&", 0xFF, 255}, {-1, "^", 5, -6},
      {0x12345678, "|", static_cast<std::int32_t>(0x80000000), static_cast<std::int32_t>(0x92345678)},
  };
  expect_folds(folds);
}

TEST_F(BitwiseGroup, FoldIntoAFullConstantTableEndsTheCompileWithTheTextUntouched) {
  expect_full_table_fold_throws(6, "^", 3);
}

TEST_F(BitwiseGroup, RegisterPairIntoATargetIsOneInstruction) {
  const RegisterForm forms[] = {
      {"_A2 = _A ^ _B", operand(OPERAND_KIND_A2, 0), REG_A, "^", REG_B, emit_a2_xor},
      {"x = _B | _A, x a char", s8(X), REG_B, "|", REG_A, [] { emit_store_or(X); }},
      {"_A = _A & _B", REG_A, REG_A, "&", REG_B, emit_a_and},
      {"_B = _B & _A", REG_B, REG_B, "&", REG_A, emit_b_and},
      {"_A1 = _A | _B", operand(OPERAND_KIND_A1, 0), REG_A, "|", REG_B, emit_a1_or},
      {"_A0 = _B ^ _A", operand(OPERAND_KIND_A0, 0), REG_B, "^", REG_A, emit_a0_xor},
      {"_RAM = _A & _B", operand(OPERAND_KIND_RAM, 0), REG_A, "&", REG_B, emit_ram_and},
      {"x = _A ^ _B, x an unsigned char", u8(X), REG_A, "^", REG_B, [] { emit_store_xor(X); }},
  };
  expect_register_forms(forms);
}

TEST_F(BitwiseGroup, OperandsNoCaseTakesAreRefused) {
  const Binary refusals[] = {
      {"_A & 5", 0, nullptr, REG_A, "&", k5},
      {"p & 1, p a pointer", 0, nullptr, operand(OPERAND_KIND_UCHAR_PTR, P), "&", constant(1)},
      {"_A & _B without an assignment", 0, nullptr, REG_A, "&", REG_B},
      {"x = _A & _B, x an int", s16(X), "=", REG_A, "&", REG_B},
      {"_A += _A & _B", REG_A, "+=", REG_A, "&", REG_B},
      {"_A = _A & _A", REG_A, "=", REG_A, "&", REG_A},
      {"_A = _A & _RAM", REG_A, "=", REG_A, "&", operand(OPERAND_KIND_RAM, 0)},
      {"array", 0, nullptr, u8(Y), "|", operand(OPERAND_KIND_UCHAR_ARRAY, Z)},
      {"address", 0, nullptr, addr(Y), "^", u8(Z)},
      {"condition", 0, nullptr, COND, "|", k5},
  };
  expect_binaries_refused(refusals, STATUS_BITWISE_OPERAND_ERROR);
}

TEST_F(BitwiseGroup, AnOperatorWithNothingAfterItIsAnOperandError) {
  for (const char* op : {"&", "^", "|"}) {
    SCOPED_TRACE(op);
    expect_text_refused(level_text({u8(Y), op}), STATUS_BITWISE_OPERAND_ERROR);
  }
}

TEST_F(BitwiseGroup, AndBeforeXorBeforeOr) {
  {
    SCOPED_TRACE("a | b & c");
    EXPECT_EQ(reduce({u8(W), "|", u8(Y), "&", u8(Z)}), STATUS_DONE);
    EXPECT_EQ(emitted(), words_of([] {
                call(REG_A, u8(Y), "&", u8(Z));
                call(REG_A, u8(W), "|", A_UNSIGNED);
              }));
    EXPECT_EQ(items_of(text), items({operand(OPERAND_KIND_A_UNSIGNED, W)}));
  }
  {
    SCOPED_TRACE("a ^ b | c & d: the A value of c & d is stored before a ^ b");
    g_register_a_state = Text(REG_A_FREE);
    EXPECT_EQ(reduce({u8(W), "^", u8(X), "|", u8(Y), "&", u8(Z)}), STATUS_DONE);
    EXPECT_EQ(emitted(), words_of([] {
                call(REG_A, u8(Y), "&", u8(Z));
                call(0, u8(T), "=", REG_A);
                call(REG_A, u8(W), "^", u8(X));
                call(REG_A, A_UNSIGNED, "|", u8(T));
              }));
    EXPECT_EQ(items_of(text), items({operand(OPERAND_KIND_A_UNSIGNED, W)}));
    EXPECT_EQ(g_temp_ram_next, T + 1);
  }
}

TEST_F(BitwiseGroup, ValuesOnTheSimulator) {
  const SimulatedValue values[] = {
      {{"200 & 0x0F", 0, nullptr, u8(Y), "&", constant(0x0F)}, 200, 0, 8},
      {{"c & -1 keeps the sign in 4 bytes", 0, nullptr, s8(Y), "&", constant(-1)}, 0xFB, 0, 0xFFFFFFFB},
      {{"u & 0x1FF extends with zeros", 0, nullptr, u8(Y), "&", constant(0x1FF)}, 0xF0, 0, 0xF0},
      {{"i & 0x10000 extends with the sign", 0, nullptr, s16(Y), "&", constant(0x10000)}, 0xFFFF, 0, 0x10000},
      {{"ui | ul", 0, nullptr, u16(Y), "|", u32(Z)}, 0x8001, 0x12340000, 0x12348001},
      {{"c ^ ui through A", 0, nullptr, s8(Y), "^", u16(Z)}, 0xFE, 0x1234, 0xEDCA},
      {{"x = c & i, the low byte", s8(X), "=", s8(Y), "&", s16(Z)}, 0xF5, 0x1234, 0x34},
  };
  expect_values(values, Z);
}

TEST_F(BitwiseGroup, PrecedenceValueOnTheSimulator) {
  sim.set_bytes(W, 0xF0, 1);
  sim.set_bytes(X, 0x3C, 1);
  sim.set_bytes(Y, 0x0F, 1);
  sim.set_bytes(Z, 0x05, 1);
  ASSERT_EQ(reduce({u8(W), "^", u8(X), "|", u8(Y), "&", u8(Z)}), STATUS_DONE);
  run();
  EXPECT_EQ(sim.a, (0xF0 ^ 0x3C) | (0x0F & 0x05));
}

}  // namespace
}  // namespace tarvik::test
