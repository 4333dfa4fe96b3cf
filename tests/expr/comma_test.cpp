#include <cstdint>
#include <ostream>
#include <vector>

#include "isa/isa.h"
#include "support/expr_support.h"

namespace tarvik::test {
namespace {

// What the declared variables hold for one run: a, b, x and y are ints, c an unsigned char.
struct Values {
  std::int32_t a, b, c;
};
constexpr Values VALUES[] = {{0, 0, 0}, {1, 0, 9}, {-1, 2, 0}, {3, 3, 0x80}, {-300, 0x100, 1}};

// The values in RAM, x and y at 0x5555 so that a missed store shows.
std::vector<Stored> stores(const Values& v) {
  return {{X, 2, v.a}, {Y, 2, v.b}, {Z, 1, v.c}, {W, 2, 0x5555}, {P, 2, 0x5555}};
}

std::ostream& operator<<(std::ostream& out, const Values& v) {
  return out << "a " << v.a << " b " << v.b << " c " << v.c;
}

class CommaOperator : public ExpressionTest {
 protected:
  void SetUp() override {
    ExpressionTest::SetUp();
    locals({{"a", "int", X}, {"b", "int", Y}, {"c", "unsigned char", Z}, {"x", "int", W}, {"y", "int", P}});
    function("f", "int", {{"int", 0x010310}, {"int", 0x010312}}, 0x010300, 0x40);
  }
};

// The store to x is compiled at the comma; the ";" sees only y = 2.
TEST_F(CommaOperator, EachOperandIsCompiledAtItsOwnEnd) {
  const OperandDescriptor two = constant(2);
  ASSERT_EQ(evaluate({"x", "=", ONE, ",", "y", "=", two}), STATUS_EXPRESSION_END);
  EXPECT_EQ(emitted(), words_of([two] { call(0, s16(W), "=", ONE), call(0, s16(P), "=", two); }));
  EXPECT_EQ(left(), items({s16(W), ",", s16(P), ";"}));
  put(stores({}));
  run();
  EXPECT_EQ(sim.read_bytes(W, 2), 1u);
  EXPECT_EQ(sim.read_bytes(P, 2), 2u);
}

TEST_F(CommaOperator, ConditionTestsOnlyTheLastOperand) {
  ASSERT_EQ(evaluate({"y"}, 1), STATUS_EXPRESSION_END);
  const std::string y_alone = emitted();
  const JumpList false_jumps = g_false_jumps;
  fresh();
  ASSERT_EQ(evaluate({"x", ",", "y"}, 1), STATUS_EXPRESSION_END);
  EXPECT_EQ(emitted(), y_alone);
  EXPECT_EQ(g_false_jumps, false_jumps);
  EXPECT_EQ(g_true_jumps, "");
}

TEST_F(CommaOperator, NopBeforeAndAfterTheCommaIsTwoNopWords) {
  EXPECT_EQ(evaluate({"_NOP", ",", "_NOP"}), STATUS_EXPRESSION_END);
  EXPECT_EQ(emitted(), "FF FF FF FF");
}

// A comparison before a comma is not a condition of anything: its value, 0 or 1, goes to A
// and its token stays in front of the comma.
TEST_F(CommaOperator, ComparisonBeforeACommaBecomesAValueInA) {
  ASSERT_EQ(evaluate({"a", "<", "b", ",", "x"}), STATUS_EXPRESSION_END);
  EXPECT_EQ(left(), items({A_SIGNED, ",", "x", ";"}));
  EXPECT_EQ(g_register_a_state, REG_A_SIGNED);
  EXPECT_EQ(g_register_a_token_pos, 0);
  EXPECT_EQ(emitted(), words_of([] { call(COND, s16(X), "<", s16(Y)), call(0, REG_A, "=", COND); }));
  run_each(VALUES, stores, [this](const Values& v) { EXPECT_EQ(sim.a, v.a < v.b ? 1 : 0); });
}

// Statements and groupings with commas, run: what the targets hold afterwards.
TEST_F(CommaOperator, ValuesOnTheSimulator) {
  const struct {
    const char* what;
    ByteArray text;
    std::int32_t (*x)(const Values&);
    std::int32_t (*y)(const Values&);  // nullptr: y is not written
  } cases[] = {
      {"x = (a, b + 1)", expression({"x", "=", "(", "a", ",", "b", "+", ONE, ")"}),
       [](const Values& v) { return v.b + 1; }, nullptr},
      {"x = (y = a, y + b)", expression({"x", "=", "(", "y", "=", "a", ",", "y", "+", "b", ")"}),
       [](const Values& v) { return v.a + v.b; }, [](const Values& v) { return v.a; }},
      {"x = (a < b, b)", expression({"x", "=", "(", "a", "<", "b", ",", "b", ")"}),
       [](const Values& v) { return v.b; }, nullptr},
      {"x = (a || b, c)", expression({"x", "=", "(", "a", "||", "b", ",", "c", ")"}),
       [](const Values& v) { return v.c; }, nullptr},
      {"y = a && b, x = c", expression({"y", "=", "a", "&&", "b", ",", "x", "=", "c"}),
       [](const Values& v) { return v.c; }, [](const Values& v) { return static_cast<std::int32_t>(v.a && v.b); }},
      {"x = c ? a : b, y = 1", expression({"x", "=", "c", "?", "a", ":", "b", ",", "y", "=", ONE}),
       [](const Values& v) { return v.c ? v.a : v.b; }, [](const Values&) { return 1; }},
      {"x = a, y = x + b", expression({"x", "=", "a", ",", "y", "=", "x", "+", "b"}),
       [](const Values& v) { return v.a; }, [](const Values& v) { return v.a + v.b; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    ASSERT_EQ(evaluate_text(c.text), STATUS_EXPRESSION_END);
    run_each(VALUES, stores, [&](const Values& v) {
      EXPECT_EQ(sim.read_bytes(W, 2), static_cast<std::uint32_t>(c.x(v)) & 0xFFFF);
      EXPECT_EQ(sim.read_bytes(P, 2), c.y == nullptr ? 0x5555u : static_cast<std::uint32_t>(c.y(v)) & 0xFFFF);
    });
  }
}

TEST_F(CommaOperator, RefusalsAtTheComma) {
  const Failure cases[] = {
      {"q, a", expression({"q", ",", "a"}), STATUS_COMMA_NAME_NOT_FOUND},
      {"f(q, a): before the call looks at its arguments", expression({"f", "(", "q", ",", "a", ")"}),
       STATUS_COMMA_NAME_NOT_FOUND},
      {"c ? a, b : a", expression({"c", "?", "a", ",", "b", ":", "a"}), STATUS_COMMA_TERNARY_MISMATCH},
      {"f(c ? a, b)", expression({"f", "(", "c", "?", "a", ",", "b", ")"}), STATUS_COMMA_TERNARY_MISMATCH},
      {"a && q, b", expression({"a", "&&", "q", ",", "b"}), STATUS_COMMA_LOOKUP_ERROR},
      {"a && _B, b", expression({"a", "&&", "_B", ",", "b"}), STATUS_COMMA_LOOKUP_ERROR},
      {"a && \"s\", b", expression({"a", "&&", string_at(0x010500), ",", "b"}), STATUS_COMMA_OPERAND_TYPE_ERROR},
  };
  expect_failures(cases);
}

// The operands before the failing comma have been compiled; nothing is undone.
TEST_F(CommaOperator, RefusalKeepsTheWordsOfEarlierOperands) {
  EXPECT_EQ(evaluate({"x", "=", ONE, ",", "q", ",", "y", "=", ONE}), STATUS_COMMA_NAME_NOT_FOUND);
  EXPECT_EQ(emitted(), words_of([] { call(0, s16(W), "=", ONE); }));
}

}  // namespace
}  // namespace tarvik::test
