#include <cstdint>
#include <functional>
#include <string_view>

#include "isa/isa.h"
#include "operand/operand.h"
#include "stmt/stmt.h"
#include "support/binop_support.h"

namespace tarvik::test {
namespace {

constexpr OperandDescriptor ONE = immediate(1);
// Entry 1 of a fresh expression's constants holds 1.
constexpr OperandDescriptor K1 = make_operand(OPERAND_KIND_CONSTANT, 1);

// A level text through process_subexpression, from the first temporary with A free.
class UnarySign : public ReductionTest {
 protected:
  // The emitted words begin with those of `emitters`.
  void expect_words_begin_with(const std::function<void()>& emitters) const {
    const std::string expected = words_of(emitters);
    EXPECT_EQ(emitted().substr(0, expected.size()), expected);
  }
  // What the result stands for after a run: A's byte, or the bytes its token names.
  std::uint32_t result_value() const {
    const int kind = get_operand_kind(g_subexpr_result);
    return is_acc_value(kind) ? sim.a : sim.read_bytes(g_subexpr_result & 0xFFFFFF, variable_width(kind));
  }
};

// NOT, then +1, on a temporary.
void neg(OperandDescriptor t) { call(t, 0, "~", t), call(t, t, "+", ONE); }
void neg_a() { emit_nop(), emit_a_not_a(), emit_nop(), emit_a_add_a_1(); }

TEST_F(UnarySign, MinusCharNegatesInAAndTracksIt) {
  const OperandDescriptor c = s8(X);
  ASSERT_EQ(process(level_text({"-", c})), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([c] { call(0, REG_A, "=", c), neg_a(); }));
  EXPECT_EQ(emitted_count(), 9);
  EXPECT_EQ(g_subexpr_result, operand(OPERAND_KIND_A_SIGNED, X));
  EXPECT_EQ(g_register_a_token_place, TOKEN_IN_SUBEXPRESSION);
  EXPECT_EQ(g_register_a_token_pos, 4);
  EXPECT_EQ(g_temp_ram_next, T);

  // A second "-" works on A again.
  fresh();
  g_temp_ram_next = T;
  ASSERT_EQ(process(level_text({"-", "-", c})), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([c] { call(0, REG_A, "=", c), neg_a(), neg_a(); }));
  EXPECT_EQ(g_temp_ram_next, T);
}

// Every accepted kind on the simulator: the result's kind, value and temporaries. Objects
// through a pointer are at X, the pointer at P; the types widen where the sign needs room.
TEST_F(UnarySign, MinusOfEveryKindOnTheSimulator) {
  const struct {
    int kind;
    std::uint32_t value;
    int result_kind;
    std::uint32_t expected;
    std::int32_t temporaries;
  } cases[] = {
      {OPERAND_KIND_UCHAR_VIA_PTR, 200, OPERAND_KIND_INT, 0xFF38, 2},
      {OPERAND_KIND_CHAR_VIA_PTR, 5, OPERAND_KIND_A_SIGNED, 0xFB, 0},
      {OPERAND_KIND_UINT_VIA_PTR, 40000, OPERAND_KIND_LONG, static_cast<std::uint32_t>(-40000), 6},
      {OPERAND_KIND_INT_VIA_PTR, 1234, OPERAND_KIND_INT, 0x10000 - 1234, 2},
      {OPERAND_KIND_ULONG_VIA_PTR, 1, OPERAND_KIND_ULONG, 0xFFFFFFFF, 4},
      {OPERAND_KIND_LONG_VIA_PTR, 0x80000000, OPERAND_KIND_LONG, 0x80000000, 4},
      {OPERAND_KIND_UCHAR, 200, OPERAND_KIND_INT, 0xFF38, 2},
      {OPERAND_KIND_CHAR, 0x80, OPERAND_KIND_A_SIGNED, 0x80, 0},
      {OPERAND_KIND_UINT, 40000, OPERAND_KIND_LONG, static_cast<std::uint32_t>(-40000), 4},
      {OPERAND_KIND_INT, 0xFFFF, OPERAND_KIND_INT, 1, 2},
      {OPERAND_KIND_ULONG, 0x00010000, OPERAND_KIND_ULONG, 0xFFFF0000, 4},
      {OPERAND_KIND_LONG, 0x80000000, OPERAND_KIND_LONG, 0x80000000, 4},
      // The pending value itself: no spill, and A is free once it has moved to a temporary.
      {OPERAND_KIND_A_UNSIGNED, 200, OPERAND_KIND_INT, 0xFF38, 2},
      {OPERAND_KIND_A_SIGNED, 5, OPERAND_KIND_A_SIGNED, 0xFB, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.kind);
    fresh();
    g_temp_ram_next = T;
    const bool via_pointer = is_via_pointer(c.kind);
    sim.set_bytes(P, X, 3);
    sim.set_bytes(X, c.value, 4);
    sim.a = static_cast<std::uint8_t>(c.value);
    ASSERT_EQ(process(level_text({"-", operand(c.kind, via_pointer ? P : X)})), STATUS_DONE);
    run();
    EXPECT_EQ(get_operand_kind(g_subexpr_result), c.result_kind);
    EXPECT_EQ(result_value(), c.expected);
    EXPECT_EQ(g_temp_ram_next - T, c.temporaries);
  }
}

TEST_F(UnarySign, ConstantsAreNegatedInTheTableOnly) {
  const struct {
    const char* op;
    std::int32_t value, expected;
  } cases[] = {{"-", 5, -5}, {"-", 0, 0}, {"-", INT32_MIN, INT32_MIN}, {"-", -7, 7}, {"+", 5, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.op << c.value);
    fresh();
    g_temp_ram_next = T;
    const OperandDescriptor k = constant(c.value);
    ASSERT_EQ(process(level_text({c.op, k})), STATUS_DONE);
    EXPECT_EQ(emitted_count(), 0);
    EXPECT_EQ(items_of(text), items({k}));
    EXPECT_EQ(g_constant_table[k & 0xFFFF], c.expected);
    EXPECT_EQ(g_constant_count, 3);
    EXPECT_EQ(g_temp_ram_next, T);
  }
}

// The scan hands the handler the "-" nearest the operand; the first of two after an operand
// stays binary.
TEST_F(UnarySign, NestedAndBinaryMinusOnTheSimulator) {
  sim.set_bytes(X, 0, 2);
  sim.set_bytes(Y, 1234, 2);
  ASSERT_EQ(process(level_text({s16(X), "=", "-", "-", s16(Y)})), STATUS_DONE);
  expect_words_begin_with([] {
    call(0, u16(T), "=", s16(Y)), neg(u16(T));
    call(0, u16(T + 2), "=", s16(T)), neg(u16(T + 2));
  });
  run();
  EXPECT_EQ(sim.read_bytes(X, 2), 1234u);
  EXPECT_EQ(g_temp_ram_next, T + 4);

  fresh();
  g_temp_ram_next = T;
  sim.set_bytes(X, 1000, 2);
  sim.set_bytes(Y, 234, 2);
  ASSERT_EQ(process(level_text({s16(X), "-", "-", s16(Y)})), STATUS_DONE);
  run();
  EXPECT_EQ(result_value(), 1234u);
}

TEST_F(UnarySign, PlusEmitsNothingButASpill) {
  const ByteArray level = level_text({"+", s16(X)});
  ASSERT_EQ(process(level), STATUS_DONE);
  EXPECT_EQ(emitted_count(), 0);
  EXPECT_EQ(g_subexpr_result, s16(X));

  // A value pending in the enclosing expression is stored and its token there renamed.
  fresh();
  g_temp_ram_next = T;
  g_expression_text = level_text({A_UNSIGNED, "+", "(", ")"});
  pending_a(REG_A_UNSIGNED, TOKEN_IN_MAIN_EXPRESSION, 0);
  ASSERT_EQ(process(level), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([] { emit_store_a(T); }));
  EXPECT_EQ(read_operand_token(g_expression_text, 0), u8(T));
  EXPECT_EQ(g_register_a_state, REG_A_FREE);
  EXPECT_EQ(g_temp_ram_next, T + 1);
}

// Two negated chars: the first result is stored into a signed temporary before the second's
// words; an unsigned pending value is stored as unsigned.
TEST_F(UnarySign, SpillsThePendingValueFirst) {
  sim.set_bytes(X, 5, 1);
  sim.set_bytes(Y, 7, 1);
  ASSERT_EQ(process(level_text({"-", s8(X), "+", "-", s8(Y)})), STATUS_DONE);
  expect_words_begin_with([] {
    call(0, REG_A, "=", s8(X)), neg_a();
    emit_store_a(T);
    call(0, REG_A, "=", s8(Y)), neg_a();
  });
  run();
  EXPECT_EQ(static_cast<std::int8_t>(result_value()), -12);

  fresh();
  g_temp_ram_next = T;
  sim.a = 200;
  sim.set_bytes(X, 5, 2);
  ASSERT_EQ(process(level_text({A_UNSIGNED, "+", "-", s16(X)})), STATUS_DONE);
  expect_words_begin_with([] { emit_store_a(T); });
  run();
  EXPECT_EQ(result_value(), 195u);  // 200 read as a signed char would give -61
}

// Refused operands: the status, nothing emitted and the text as it was, except where the
// operator is already blanked (a "~" before _A or _B outside the direct form).
TEST_F(UnarySign, EveryRefusalOfTheUnaryOperators) {
  const std::string_view plus = "子表达式处理_单目运算符处理_操作数左侧+错误...~- -";
  const std::string_view minus = "子表达式处理_单目运算符处理_操作数左侧-错误...~- -";
  const std::string_view bang = "子表达式处理_单目运算符处理_操作数左侧!错误...~- -";
  const std::string_view tilde = "子表达式处理_单目运算符处理_操作数左侧~错误...~- -";
  const std::string_view registers =
      "子表达式处理_单目运算符处理_A操作数或B操作数左侧~错误_左侧缺少目的操作数或右侧有多余操作数...~- -";
  const OperandDescriptor pointer = operand(OPERAND_KIND_INT_PTR, P), array = operand(OPERAND_KIND_INT_ARRAY, P);
  const OperandDescriptor ram = operand(OPERAND_KIND_RAM, 0), a2 = operand(OPERAND_KIND_A2, 0);
  const struct {
    const char* what;
    ByteArray level;
    std::string_view status;
    ByteArray after;
  } cases[] = {
      {"+p", level_text({"+", pointer}), plus, {}},
      {"+a", level_text({"+", array}), plus, {}},
      {"+_A", level_text({"+", REG_A}), plus, {}},
      {"+cond", level_text({"+", COND}), plus, {}},
      {"-p", level_text({"-", pointer}), minus, {}},
      {"-_A", level_text({"-", REG_A}), minus, {}},
      {"-_B", level_text({"-", REG_B}), minus, {}},
      {"-_RAM", level_text({"-", ram}), minus, {}},
      {"-address", level_text({"-", addr(P)}), minus, {}},
      {"!_A", level_text({"!", REG_A}), bang, {}},
      {"!_RAM", level_text({"!", ram}), bang, {}},
      {"!cond", level_text({"!", COND}), bang, {}},
      {"!address", level_text({"!", addr(P)}), bang, {}},
      {"~p", level_text({"~", pointer}), tilde, {}},
      {"~a", level_text({"~", array}), tilde, {}},
      {"~_RAM", level_text({"~", ram}), tilde, {}},
      {"~_A2", level_text({"~", a2}), tilde, {}},
      {"~cond", level_text({"~", COND}), tilde, {}},
      {"/x", level_text({"/", s16(X)}), STATUS_LEFT_OF_OPERAND_ERROR, {}},
      {"~_A alone", level_text({"~", REG_A}), registers, level_text({" ", REG_A})},
      {"x = ~_A", level_text({s16(X), "=", "~", REG_A}), registers, level_text({s16(X), "=", " ", REG_A})},
      {"_A = ~_B + 1", level_text({REG_A, "=", "~", REG_B, "+", K1}), registers,
       level_text({REG_A, "=", " ", REG_B, "+", K1})},
      {"_A += ~_B", level_text({REG_A, "+=", "~", REG_B}), registers, level_text({REG_A, "+=", " ", REG_B})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    first_word = g_rom_word_count;
    text = c.level;
    EXPECT_EQ(process_subexpression(text), c.status);
    EXPECT_EQ(emitted_count(), 0);
    EXPECT_EQ(text, c.after.empty() ? c.level : c.after);
    EXPECT_EQ(g_temp_ram_next, T);
  }
}

}  // namespace
}  // namespace tarvik::test
