#include "isa/isa.h"
#include "support/expr_support.h"

namespace tarvik::test {
namespace {

constexpr std::int32_t F_ENTRY = 0x1234;

class Scanner : public ExpressionTest {
 protected:
  // a and x are ints, b an unsigned char; f(int) returns an int. fresh() declares them again.
  void SetUp() override {
    ExpressionTest::SetUp();
    locals({{"a", "int", X}, {"b", "unsigned char", Y}, {"x", "int", Z}});
    function("f", "int", {{"int", 0x010190}}, 0x010180, F_ENTRY);
  }
  // The words of a text evaluated on fresh state, or its status when it fails.
  std::string words_of_text(const ByteArray& text) {
    fresh();
    const StatusText status = evaluate_text(text);
    return status == STATUS_EXPRESSION_END ? emitted() : "status " + hex(status);
  }
};

TEST_F(Scanner, BytesThatStartNoItemStopTheExpression) {
  const Failure cases[] = {
      {"a digit", expression({"x", "=", "5"}), STATUS_EXPRESSION_UNRECOGNISED_SYMBOL},
      {"a dot", expression({"a", ".", "b"}), STATUS_EXPRESSION_UNRECOGNISED_SYMBOL},
      {"a dot written tight", "a.b;   ", STATUS_EXPRESSION_UNRECOGNISED_SYMBOL},
  };
  expect_failures_without_words(cases);
}

// Digits and "_" go on a name, and "_" may start one.
TEST_F(Scanner, NamesTakeDigitsAndUnderscores) {
  local("x1_y", "int", W);
  local("_a", "int", P);
  ASSERT_EQ(evaluate({"x1_y", "=", "_a"}), STATUS_EXPRESSION_END);
  EXPECT_EQ(emitted(), words_of([] { call(0, s16(W), "=", s16(P)); }));
}

// Blanks do not change the last item, so a name before blanks and "(" still makes a call.
TEST_F(Scanner, BlanksBetweenANameAndItsBracketKeepACall) {
  const std::string tight = words_of_text("f(a);   ");
  // The call ends in the jump to f.
  ASSERT_TRUE(tight.ends_with(words_of([] { emit_jump_to(F_ENTRY); }))) << tight;
  EXPECT_EQ(words_of_text(expression({"f", "(", "a", ")"})), tight);
  EXPECT_EQ(words_of_text("f      (   a   )   ;   "), tight);
  // A variable before the bracket is a call too, of a function that does not exist.
  fresh();
  EXPECT_EQ(evaluate({"x", "(", "a", ")"}), STATUS_FUNCTION_NOT_FOUND);
}

// After an operator the bracket only groups: a + (b) is a + b.
TEST_F(Scanner, AnOperatorBeforeABracketMakesAGroup) {
  const std::string sum = words_of_text(expression({"x", "=", "a", "+", "b"}));
  ASSERT_NE(sum.substr(0, 6), "status");
  EXPECT_EQ(words_of_text(expression({"x", "=", "a", "+", "(", "b", ")"})), sum);
}

// A closed group leaves its content where the "(" stood, so a name in it calls at a next "(".
TEST_F(Scanner, AGroupBeforeABracketIsTheCallee) {
  EXPECT_EQ(words_of_text(expression({"(", "f", ")", "(", "a", ")"})), words_of_text(expression({"f", "(", "a", ")"})));
  fresh();
  EXPECT_EQ(evaluate({"(", "a", ")", "(", "x", ")"}), STATUS_FUNCTION_NOT_FOUND);
}

TEST_F(Scanner, TheCallersTextStaysAsItWas) {
  const ByteArray text = expression({"x", "=", "(", "a", "+", ONE, ")", "*", "sizeof", "(", "b", ")"});
  const ByteArray copy = text;
  ASSERT_EQ(evaluate_text(copy), STATUS_EXPRESSION_END);
  EXPECT_EQ(copy, text);
  // The evaluator rewrote its own copy.
  EXPECT_NE(g_expression_text, text);
}

// Each expression takes its temporaries from g_ram_next again, past its string literals.
TEST_F(Scanner, TemporariesStartAtTheNextFreeRamOfEveryExpression) {
  constexpr std::int32_t NEXT_FREE = 0x010340;
  g_ram_next = NEXT_FREE;
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    ASSERT_EQ(evaluate({"(", "a", "+", ONE, ")"}), STATUS_EXPRESSION_END);
    EXPECT_EQ(left(), items({s16(NEXT_FREE), ";"}));
    EXPECT_EQ(g_temp_ram_next, NEXT_FREE + 2);
  }
}

// The function being compiled is the entry after the finished ones; its RAM end only rises,
// to the temporaries of the expression, also when the expression fails.
TEST_F(Scanner, TheFunctionKeepsTheRamOfItsTemporaries) {
  const struct {
    const char* what;
    ByteArray text;
    std::int32_t end_before, end_after;
    std::string_view status;
  } cases[] = {
      {"raised", expression({"(", "a", "+", ONE, ")"}), 0x010100, EXPR_TEMPORARIES + 2, STATUS_EXPRESSION_END},
      {"raised on an error", expression({"(", "a", "+", ONE, ")", "."}), 0x010100, EXPR_TEMPORARIES + 2,
       STATUS_EXPRESSION_UNRECOGNISED_SYMBOL},
      {"raised to g_ram_next without temporaries", expression({"x", "=", "a"}), 0x010100, EXPR_TEMPORARIES,
       STATUS_EXPRESSION_END},
      {"never lowered", expression({"(", "a", "+", ONE, ")"}), 0x010400, 0x010400, STATUS_EXPRESSION_END},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    // f is function 1: the one being compiled is entry 2.
    ASSERT_EQ(g_function_count, 1);
    g_func_ram_end[1] = 0x010050;
    g_func_ram_end[2] = c.end_before;
    EXPECT_EQ(evaluate_text(c.text), c.status);
    EXPECT_EQ(g_func_ram_end[2], c.end_after);
    EXPECT_EQ(g_func_ram_end[1], 0x010050);
  }
}

}  // namespace
}  // namespace tarvik::test
