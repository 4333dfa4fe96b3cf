#include "isa/isa.h"
#include "stmt/stmt.h"
#include "support/expr_support.h"

namespace tarvik::test {
namespace {

constexpr std::int32_t ARR = 0x0100C0;

class Grouping : public ExpressionTest {
 protected:
  // a, c and v are ints, b an unsigned char, arr an int array. fresh() declares them again.
  void SetUp() override {
    ExpressionTest::SetUp();
    locals({{"a", "int", X}, {"b", "unsigned char", Y}, {"c", "int", Z}, {"v", "int", W}, {"arr", "int[]", ARR}});
  }
};

TEST_F(Grouping, TwoGroupsAroundANameLeaveItBetweenBlanks) {
  ASSERT_EQ(evaluate({"(", "(", "v", ")", ")"}), STATUS_EXPRESSION_END);
  EXPECT_EQ(emitted_count(), 0);
  // Each closing moves the content one place left, over its "(", and blanks through its ")".
  EXPECT_EQ(g_expression_text, ByteArray(6, ' ') + "v" + ByteArray(13, ' ') + ";   ");
}

TEST_F(Grouping, AnOperationInAGroupCompilesOnceAndMovesLeft) {
  ASSERT_EQ(evaluate({"(", "a", "+", ONE, ")"}), STATUS_EXPRESSION_END);
  const OperandDescriptor sum = s16(EXPR_TEMPORARIES);
  EXPECT_EQ(emitted(), words_of([=] { call(sum, s16(X), "+", ONE); }));
  ByteArray expected(27, ' ');
  write_operand_token(expected, 0, sum);
  expected[23] = ';';
  EXPECT_EQ(g_expression_text, expected);
}

// The comparison becomes 0 or 1 in A; its kind byte alone moves to where the "(" stood.
TEST_F(Grouping, AComparisonInAGroupLeavesItsValueInA) {
  ASSERT_EQ(evaluate({"v", ",", "(", "a", "<", "c", ")"}), STATUS_EXPRESSION_END);
  EXPECT_EQ(emitted(), words_of([] {
              call(COND, s16(X), "<", s16(Z));
              call(0, REG_A, "=", COND);
            }));
  EXPECT_EQ(left(), "v , EB202020 ;");
  EXPECT_EQ(static_cast<std::uint8_t>(g_expression_text[8]), OPERAND_KIND_A_SIGNED);
  EXPECT_EQ(g_register_a_state, REG_A_SIGNED);
  EXPECT_EQ(g_register_a_token_pos, 8);
  EXPECT_EQ(g_register_a_token_place, TOKEN_IN_MAIN_EXPRESSION);
}

// A constant as the last operand of a chain is decided while compiling: one placeholder jump
// and no comparison.
TEST_F(Grouping, AConstantEndingAChainIsOneJump) {
  for (const std::int32_t k : {7, 0}) {
    SCOPED_TRACE(k);
    fresh();
    ASSERT_EQ(evaluate({"(", "a", "&&", constant(k), ")"}), STATUS_EXPRESSION_END);
    EXPECT_EQ(emitted(), words_of([k] {
                call(COND, s16(X), "!=", ZERO);
                JumpList a_false;  // a false leaves the chain
                placeholder(a_false);
                patch_jump_list(g_true_jumps, g_rom_word_count);
                g_true_jumps.clear();
                placeholder(k != 0 ? g_true_jumps : g_false_jumps);
                g_fall_through_sense = Text(k != 0 ? SENSE_FALSE : SENSE_TRUE);
                g_false_jumps += a_false;
                call(0, REG_A, "=", COND);
              }));
    EXPECT_EQ(left(), "EB202020 ;");
    for (const std::uint32_t a : {0u, 0x100u}) {
      sim.set_bytes(X, a, 2);
      run();
      EXPECT_EQ(sim.a, a != 0 && k != 0 ? 1 : 0) << a;
    }
  }
}

TEST_F(Grouping, TheLastOperandOfAChainIsTestedByItsKind) {
  const Failure cases[] = {
      {"a string literal", expression({"(", "a", "||", string_at(0x010300), ")"}), STATUS_PAREN_OPERAND_TYPE_ERROR},
      {"a register other than A", expression({"(", "a", "&&", "_B", ")"}), STATUS_PAREN_LOOKUP_ERROR},
      {"an unknown name", expression({"(", "a", "&&", "zz", ")"}), STATUS_PAREN_LOOKUP_ERROR},
  };
  expect_failures(cases);
}

// _A ends a chain as the value it holds, compared with 0.
TEST_F(Grouping, RegisterAEndingAChainIsComparedWithZero) {
  ASSERT_EQ(evaluate({"(", "a", "&&", "_A", ")"}), STATUS_EXPRESSION_END);
  EXPECT_EQ(emitted(), words_of([] {
              call(COND, s16(X), "!=", ZERO);
              JumpList a_false;
              placeholder(a_false);
              patch_jump_list(g_true_jumps, g_rom_word_count);
              call(COND, A_UNSIGNED, "!=", ZERO);
              g_false_jumps += a_false;
              call(0, REG_A, "=", COND);
            }));
}

TEST_F(Grouping, AnEmptyGroupIsRefused) {
  const Failure cases[] = {
      {"()", expression({"(", ")"}), STATUS_EMPTY_GROUPING},
      {"v + ()", expression({"v", "+", "(", ")"}), STATUS_EMPTY_GROUPING},
  };
  expect_failures_without_words(cases);
}

// Groups and the chains in them, run for every truth value of their operands.
TEST_F(Grouping, ValuesOfGroupsOnTheSimulator) {
  const struct {
    const char* what;
    ByteArray text;
    int (*value)(int a, int b, int c);
  } cases[] = {
      {"v = (a && b)", expression({"v", "=", "(", "a", "&&", "b", ")"}), [](int a, int b, int) { return int{a && b}; }},
      {"v = (a || b) + 1", expression({"v", "=", "(", "a", "||", "b", ")", "+", ONE}),
       [](int a, int b, int) { return (a || b) + 1; }},
      {"v = (a < c)", expression({"v", "=", "(", "a", "<", "c", ")"}), [](int a, int, int c) { return int{a < c}; }},
      {"(v = a && b < c)", expression({"(", "v", "=", "a", "&&", "b", "<", "c", ")"}),
       [](int a, int b, int c) { return int{a && b < c}; }},
      {"v = ((a || b) && c)", expression({"v", "=", "(", "(", "a", "||", "b", ")", "&&", "c", ")"}),
       [](int a, int b, int c) { return int{(a || b) && c}; }},
      {"v = (a || arr)", expression({"v", "=", "(", "a", "||", "arr", ")"}), [](int, int, int) { return 1; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    ASSERT_EQ(evaluate_text(c.text), STATUS_EXPRESSION_END);
    // 0x100 is true with a low byte of 0; 0x80 is an unsigned char above every signed one.
    for (const int a : {0, 0x100}) {
      for (const int b : {0, 0x80}) {
        for (const int c_value : {-5, 0, 0x200}) {
          SCOPED_TRACE(testing::Message() << "a " << a << " b " << b << " c " << c_value);
          put({{X, 2, a}, {Y, 1, b}, {Z, 2, c_value}});
          run();
          EXPECT_EQ(sim.read_bytes(W, 2), static_cast<std::uint32_t>(c.value(a, b, c_value)));
        }
      }
    }
  }
}

}  // namespace
}  // namespace tarvik::test
