#include <cstdint>
#include <functional>
#include <string_view>

#include "isa/isa.h"
#include "operand/operand.h"
#include "stmt/stmt.h"
#include "support/binop_support.h"

namespace tarvik::test {
namespace {

// A level text through process_subexpression, from the first temporary with A free.
class UnaryNotTest : public ReductionTest {
 protected:
  // Fresh state and simulator, temporaries from T.
  void again() {
    fresh();
    g_temp_ram_next = T;
  }
  // What the result stands for after a run: A's byte, or the bytes its token names.
  std::uint32_t result_value() const {
    const int kind = get_operand_kind(g_subexpr_result);
    return is_acc_value(kind) ? sim.a : sim.read_bytes(g_subexpr_result & 0xFFFFFF, variable_width(kind));
  }
};

class LogicalNot : public UnaryNotTest {};
class BitwiseNot : public UnaryNotTest {};

// ---- "!" ----

// The load into A, the comparison with 0 and its conversion to 0 or 1 in A.
TEST_F(LogicalNot, UnsignedCharTakesFifteenWords) {
  const OperandDescriptor c = u8(X);
  ASSERT_EQ(process(level_text({"!", c})), STATUS_DONE);
  EXPECT_EQ(emitted_count(), 15);
  EXPECT_EQ(g_true_jumps, "");
  EXPECT_EQ(g_false_jumps, "");
  const std::int32_t at = first_word;
  EXPECT_EQ(emitted(), words_of([c, at] {
              call(0, REG_A, "=", c);
              emit_jump_if_carry_sub_a_1(at + 14);  // to A <- 0
              emit_a_imm(1);
              emit_jump_to(at + 15);
              emit_a_imm(0);
            }));
  EXPECT_EQ(g_subexpr_result, operand(OPERAND_KIND_A_SIGNED, X));
  EXPECT_EQ(g_register_a_token_place, TOKEN_IN_SUBEXPRESSION);
  EXPECT_EQ(g_register_a_token_pos, 4);
}

// 0, 1 and a value with only its top byte set, at every width, through a pointer too.
TEST_F(LogicalNot, GivesOneExactlyForZeroOnTheSimulator) {
  const int kinds[] = {OPERAND_KIND_UCHAR, OPERAND_KIND_CHAR,          OPERAND_KIND_UINT,
                       OPERAND_KIND_INT,   OPERAND_KIND_ULONG,         OPERAND_KIND_LONG,
                       OPERAND_KIND_UCHAR_VIA_PTR, OPERAND_KIND_INT_VIA_PTR, OPERAND_KIND_LONG_VIA_PTR};
  for (const int kind : kinds) {
    const int width = is_via_pointer(kind) ? via_pointer_size(kind) : variable_width(kind);
    const std::uint32_t top = 0x80u << (8 * (width - 1));
    for (const std::uint32_t value : {0u, 1u, top}) {
      SCOPED_TRACE(testing::Message() << std::hex << kind << " " << value);
      again();
      sim.set_bytes(P, X, 3);
      sim.set_bytes(X, value, width);
      ASSERT_EQ(process(level_text({"!", operand(kind, is_via_pointer(kind) ? P : X)})), STATUS_DONE);
      run();
      EXPECT_EQ(get_operand_kind(g_subexpr_result), OPERAND_KIND_A_SIGNED);
      EXPECT_EQ(result_value(), value == 0 ? 1u : 0u);
      EXPECT_EQ(g_temp_ram_next - T, width > 1 && is_via_pointer(kind) ? width : 0);
    }
  }
}

TEST_F(LogicalNot, PointerIsComparedByItsThreeAddressBytes) {
  for (const std::uint32_t address : {0u, 0x010000u, 0x000100u, 0x000001u}) {
    SCOPED_TRACE(address);
    again();
    sim.set_bytes(P, address, 3);
    ASSERT_EQ(process(level_text({"!", operand(OPERAND_KIND_CHAR_PTR, P)})), STATUS_DONE);
    run();
    EXPECT_EQ(result_value(), address == 0 ? 1u : 0u);
    EXPECT_EQ(g_temp_ram_next, T + 4);
  }
}

// The second "!" works on the value in A without a spill.
TEST_F(LogicalNot, TwiceGivesZeroOrOne) {
  for (const std::uint32_t value : {0u, 5u, 0x100u}) {
    SCOPED_TRACE(value);
    again();
    sim.set_bytes(X, value, 2);
    ASSERT_EQ(process(level_text({"!", "!", s16(X)})), STATUS_DONE);
    run();
    EXPECT_EQ(result_value(), value == 0 ? 0u : 1u);
    EXPECT_EQ(g_temp_ram_next, T);
  }
}

TEST_F(LogicalNot, ConstantsAndArraysFoldWithoutCode) {
  const OperandDescriptor array = operand(OPERAND_KIND_CHAR_ARRAY, P);
  const struct {
    const char* what;
    ByteArray level;
    std::int32_t k;  // entry 2
    std::int32_t index, expected, count;
  } cases[] = {
      {"!0", level_text({"!", make_operand(OPERAND_KIND_CONSTANT, 2)}), 0, 2, 1, 3},
      {"!5", level_text({"!", make_operand(OPERAND_KIND_CONSTANT, 2)}), 5, 2, 0, 3},
      {"!!7", level_text({"!", "!", make_operand(OPERAND_KIND_CONSTANT, 2)}), 7, 2, 1, 3},
      {"!a: a new constant 0", level_text({"!", array}), 9, 3, 0, 4},
      {"!!a", level_text({"!", "!", array}), 9, 3, 1, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    again();
    constant(c.k);
    ASSERT_EQ(process(c.level), STATUS_DONE);
    EXPECT_EQ(emitted_count(), 0);
    EXPECT_EQ(g_subexpr_result, make_operand(OPERAND_KIND_CONSTANT, c.index));
    EXPECT_EQ(g_constant_table[c.index], c.expected);
    EXPECT_EQ(g_constant_count, c.count);
  }
}

TEST_F(LogicalNot, ArrayWithTheConstantTableFullEndsTheCompile) {
  const ByteArray level = level_text({"!", operand(OPERAND_KIND_CHAR_ARRAY, P)});
  g_constant_count = TABLE_CAPACITY;
  text = level;
  EXPECT_THROW(process_subexpression(text), TableCapacityExceeded);
  EXPECT_EQ(text, level);
  EXPECT_EQ(g_constant_count, TABLE_CAPACITY);
}

TEST_F(LogicalNot, SpillsAPendingValueThatIsNotItsOperand) {
  sim.a = 200;
  sim.set_bytes(X, 0, 2);
  ASSERT_EQ(process(level_text({A_UNSIGNED, "+", "!", s16(X)})), STATUS_DONE);
  const std::string spill = words_of([] { emit_store_a(T); });
  EXPECT_EQ(emitted().substr(0, spill.size()), spill);
  run();
  EXPECT_EQ(result_value() & 0xFF, 201u);
}

// ---- "~" ----

TEST_F(BitwiseNot, CharComplementsInA) {
  const OperandDescriptor c = s8(X);
  ASSERT_EQ(process(level_text({"~", c})), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([] { emit_load_a(X), emit_nop(), emit_a_not_a(); }));
  EXPECT_EQ(g_subexpr_result, operand(OPERAND_KIND_A_SIGNED, X));
  EXPECT_EQ(g_register_a_token_pos, 4);

  again();
  ASSERT_EQ(process(level_text({"~", "~", u8(X)})), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([] { emit_load_a(X), emit_nop(), emit_a_not_a(), emit_nop(), emit_a_not_a(); }));
  EXPECT_EQ(g_subexpr_result, operand(OPERAND_KIND_A_UNSIGNED, X));
}

TEST_F(BitwiseNot, IntGoesToATemporaryOfItsKind) {
  ASSERT_EQ(process(level_text({"~", s16(X)})), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([] { call(u16(T), 0, "~", s16(X)); }));
  EXPECT_EQ(emitted_count(), 20);
  EXPECT_EQ(g_subexpr_result, s16(T));
  EXPECT_EQ(g_temp_ram_next, T + 2);
}

// The result keeps the operand's type: a char in A, a wider value in a temporary.
TEST_F(BitwiseNot, EveryKindOnTheSimulator) {
  const struct {
    int kind, result_kind, width;
  } cases[] = {
      {OPERAND_KIND_UCHAR_VIA_PTR, OPERAND_KIND_A_UNSIGNED, 1}, {OPERAND_KIND_CHAR_VIA_PTR, OPERAND_KIND_A_SIGNED, 1},
      {OPERAND_KIND_UINT_VIA_PTR, OPERAND_KIND_UINT, 2},        {OPERAND_KIND_INT_VIA_PTR, OPERAND_KIND_INT, 2},
      {OPERAND_KIND_ULONG_VIA_PTR, OPERAND_KIND_ULONG, 4},      {OPERAND_KIND_LONG_VIA_PTR, OPERAND_KIND_LONG, 4},
      {OPERAND_KIND_UCHAR, OPERAND_KIND_A_UNSIGNED, 1},         {OPERAND_KIND_CHAR, OPERAND_KIND_A_SIGNED, 1},
      {OPERAND_KIND_UINT, OPERAND_KIND_UINT, 2},                {OPERAND_KIND_INT, OPERAND_KIND_INT, 2},
      {OPERAND_KIND_ULONG, OPERAND_KIND_ULONG, 4},              {OPERAND_KIND_LONG, OPERAND_KIND_LONG, 4},
      {OPERAND_KIND_A_UNSIGNED, OPERAND_KIND_A_UNSIGNED, 1},    {OPERAND_KIND_A_SIGNED, OPERAND_KIND_A_SIGNED, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.kind);
    again();
    sim.set_bytes(P, X, 3);
    sim.set_bytes(X, 0x12345678, 4);
    sim.a = 0x78;
    ASSERT_EQ(process(level_text({"~", operand(c.kind, is_via_pointer(c.kind) ? P : X)})), STATUS_DONE);
    run();
    EXPECT_EQ(get_operand_kind(g_subexpr_result), c.result_kind);
    EXPECT_EQ(result_value(), ~0x12345678u & width_mask(c.width));
    EXPECT_EQ(g_temp_ram_next - T, c.width > 1 ? c.width : 0);
  }
}

TEST_F(BitwiseNot, ConstantsAreComplementedInTheTableOnly) {
  for (const std::int32_t value : {5, 0, -1}) {
    SCOPED_TRACE(value);
    again();
    const OperandDescriptor k = constant(value);
    ASSERT_EQ(process(level_text({"~", k})), STATUS_DONE);
    EXPECT_EQ(emitted_count(), 0);
    EXPECT_EQ(g_subexpr_result, k);
    EXPECT_EQ(g_constant_table[2], ~value);
    EXPECT_EQ(g_constant_count, 3);
  }
}

// destination = ~operand as the whole level compiles into the destination and leaves it alone.
TEST_F(BitwiseNot, DirectFormCompilesIntoTheDestination) {
  const OperandDescriptor p = operand(OPERAND_KIND_INT_VIA_PTR, P), q = operand(OPERAND_KIND_LONG_VIA_PTR, P);
  const struct {
    const char* what;
    ByteArray level;
    std::function<void()> words;
    OperandDescriptor result;
  } cases[] = {
      {"int = ~int", level_text({s16(Y), "=", "~", s16(X)}), [] { call(s16(Y), 0, "~", s16(X)); }, s16(Y)},
      {"char = ~int", level_text({u8(Y), "=", "~", s16(X)}), [] { call(u8(Y), 0, "~", s16(X)); }, u8(Y)},
      {"char = ~char", level_text({s8(Y), "=", "~", u8(X)}), [] { call(s8(Y), 0, "~", u8(X)); }, s8(Y)},
      {"int = ~*p", level_text({s16(Y), "=", "~", p}),
       [p] { call(0, u16(Y), "=", p), call(u16(Y), 0, "~", u16(Y)); }, s16(Y)},
      {"long = ~*q", level_text({s32(Y), "=", "~", q}),
       [q] { call(0, s32(Y), "=", q), call(s32(Y), 0, "~", s32(Y)); }, s32(Y)},
      {"_B = ~_A", level_text({REG_B, "=", "~", REG_A}), [] { emit_b_not_a(); }, REG_B},
      {"_A = ~_A", level_text({REG_A, "=", "~", REG_A}), [] { emit_a_not_a(); }, REG_A},
      {"_RAM = ~_B", level_text({operand(OPERAND_KIND_RAM, 0), "=", "~", REG_B}), [] { emit_ram_not_b(); },
       operand(OPERAND_KIND_RAM, 0)},
      {"c = ~_B", level_text({s8(Y), "=", "~", REG_B}), [] { emit_store_not_b(Y); }, s8(Y)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    again();
    ASSERT_EQ(process(c.level), STATUS_DONE);
    EXPECT_EQ(emitted(), words_of(c.words));
    EXPECT_EQ(items_of(text), items({c.result}));
    EXPECT_EQ(g_subexpr_result, c.result);
    EXPECT_EQ(g_temp_ram_next, T);
  }
}

// Not the direct form: a destination wider than the operand, a compound assignment, more
// after the operand. The complement takes a temporary first.
TEST_F(BitwiseNot, OtherAssignmentsUseATemporary) {
  const struct {
    const char* what;
    ByteArray level;
  } cases[] = {
      {"long = ~int", level_text({s32(Y), "=", "~", s16(X)})},
      {"y += ~x", level_text({s16(Y), "+=", "~", s16(X)})},
      {"y = ~x + 1", level_text({s16(Y), "=", "~", s16(X), "+", make_operand(OPERAND_KIND_CONSTANT, 1)})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    again();
    ASSERT_EQ(process(c.level), STATUS_DONE);
    const std::string complement = words_of([] { call(u16(T), 0, "~", s16(X)); });
    EXPECT_EQ(emitted().substr(0, complement.size()), complement);
    EXPECT_GE(g_temp_ram_next, T + 2);
  }
}

// What is left of the level after the direct form goes on to the assignments.
TEST_F(BitwiseNot, ChainedAssignmentKeepsTheRest) {
  sim.set_bytes(Z, 0x1234, 2);
  ASSERT_EQ(process(level_text({s16(X), "=", s16(Y), "=", "~", s16(Z)})), STATUS_DONE);
  EXPECT_EQ(emitted().substr(0, 6 * 20 - 1), words_of([] { call(s16(Y), 0, "~", s16(Z)); }));
  run();
  EXPECT_EQ(sim.read_bytes(X, 2), 0xEDCBu);
  EXPECT_EQ(sim.read_bytes(Y, 2), 0xEDCBu);
  EXPECT_EQ(g_temp_ram_next, T);
}

// Another prefix operator between "=" and "~" is applied to the complement's result.
TEST_F(BitwiseNot, OuterOperatorsApplyToTheResult) {
  const struct {
    const char* what;
    ByteArray level;
    std::uint32_t expected;
  } cases[] = {
      {"y = - ~x", level_text({s16(Y), "=", "-", "~", s16(X)}), 0x1235},
      {"y = ~ ~x", level_text({s16(Y), "=", "~", "~", s16(X)}), 0x1234},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    again();
    sim.set_bytes(X, 0x1234, 2);
    ASSERT_EQ(process(c.level), STATUS_DONE);
    run();
    EXPECT_EQ(sim.read_bytes(Y, 2), c.expected);
  }
}

TEST_F(BitwiseNot, RegisterFormStoresAPendingValueFirst) {
  g_expression_text = level_text({A_SIGNED, "+", "(", ")"});
  pending_a(REG_A_SIGNED, TOKEN_IN_MAIN_EXPRESSION, 0);
  ASSERT_EQ(process(level_text({REG_B, "=", "~", REG_A})), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([] { emit_store_a(T), emit_b_not_a(); }));
  EXPECT_EQ(read_operand_token(g_expression_text, 0), s8(T));
}

}  // namespace
}  // namespace tarvik::test
