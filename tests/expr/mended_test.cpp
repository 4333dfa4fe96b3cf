#include <string>

#include "app/app.h"
#include "isa/isa.h"
#include "support/expr_support.h"

namespace tarvik::test {
namespace {

constexpr std::int32_t V = 0x010400;  // int v[8]
constexpr std::int32_t G = 0x0101C0;  // where keep() puts its parameter
constexpr int V3 = 0x1357;            // v[3]

// Callees f and keep in front of the caller's words, and the caller's int i and int v[8].
class Mended : public CallerTest {
 protected:
  void SetUp() override {
    CallerTest::SetUp();
    locals({{"i", "int", Q}, {"v", "int[]", V}});
  }

  void callees() override {
    callee("f", "int", {{"int", 0x010190}}, 0x010180, {s16(CELL), "=", s16(0x010190), "+", constant(100)});
    callee("keep", "void", {{"int", 0x010194}}, 0x010184, {s16(G), "=", s16(0x010194)});
  }
};

// A bracket that opens in an else part keeps the jump over that else part: it still lands
// right after the else part's code, whichever step ends the else part.
TEST_F(Mended, BracketInAnElsePartKeepsTheJumpOverIt) {
  using Value = int (*)(int a, int b, int c, int d);
  const struct {
    const char* what;
    ByteArray text;
    Value expected;
  } cases[] = {
      {"x = c ? a : (b + 1);", expression({"x", "=", "c", "?", "a", ":", "(", "b", "+", ONE, ")"}),
       [](int a, int b, int c, int) { return c ? a : b + 1; }},
      {"x = c ? a : f(b);", expression({"x", "=", "c", "?", "a", ":", "f", "(", "b", ")"}),
       [](int a, int b, int c, int) { return c ? a : b + 100; }},
      {"x = c ? a : v[i];", expression({"x", "=", "c", "?", "a", ":", "v", "[", "i", "]"}),
       [](int a, int, int c, int) { return c ? a : V3; }},
      {"x = (c ? a : (b + 1)) - 1;",
       expression({"x", "=", "(", "c", "?", "a", ":", "(", "b", "+", ONE, ")", ")", "-", ONE}),
       [](int a, int b, int c, int) { return (c ? a : b + 1) - 1; }},
      {"x = f(c ? a : (b + 1));", expression({"x", "=", "f", "(", "c", "?", "a", ":", "(", "b", "+", ONE, ")", ")"}),
       [](int a, int b, int c, int) { return (c ? a : b + 1) + 100; }},
      {"x = c ? d ? a : (b + 1) : b;",
       expression({"x", "=", "c", "?", "d", "?", "a", ":", "(", "b", "+", ONE, ")", ":", "b"}),
       [](int a, int b, int c, int d) { return c ? (d ? a : b + 1) : b; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    ASSERT_EQ(evaluate_text(c.text), STATUS_EXPRESSION_END);
    put({{Q, 2, 3}, {V + 6, 2, V3}});
    for (const int cv : {0, 0x100})
      for (const int dv : {0, -1}) {
        SCOPED_TRACE(testing::Message() << "c = " << cv << ", d = " << dv);
        EXPECT_EQ(x_for(1000, -7, static_cast<std::int16_t>(cv), static_cast<std::int16_t>(dv)), c.expected(1000, -7, cv, dv));
      }
  }
}

// A pending operand with no non-blank byte ends with the message of the step that meets it.
TEST_F(Mended, BlankOperandEndsWithTheStepsTypeMessage) {
  const Failure cases[] = {
      {"a && b = ;", expression({"a", "&&", "b", "="}), STATUS_END_OPERAND_TYPE_ERROR},
      {"a || b = ;", expression({"a", "||", "b", "="}), STATUS_END_OPERAND_TYPE_ERROR},
      {"(a || b =)", expression({"(", "a", "||", "b", "=", ")"}), STATUS_PAREN_OPERAND_TYPE_ERROR},
      {"f(a && b =, c)", expression({"f", "(", "a", "&&", "b", "=", ",", "c", ")"}), STATUS_COMMA_OPERAND_TYPE_ERROR},
      {"v[a && b =]", expression({"v", "[", "a", "&&", "b", "=", "]"}), STATUS_BRACKET_OPERAND_TYPE_ERROR},
      {"x = ? a : b", expression({"x", "=", "?", "a", ":", "b"}), STATUS_END_OPERAND_TYPE_ERROR},
      {"a && b = ? c : d", expression({"a", "&&", "b", "=", "?", "c", ":", "d"}), STATUS_END_OPERAND_TYPE_ERROR},
      {"c ? a && b = : d", expression({"c", "?", "a", "&&", "b", "=", ":", "d"}), STATUS_COMMA_OPERAND_TYPE_ERROR},
  };
  expect_failures(cases);
}

// The value that a comma leaves in A belongs to the discarded operand: once the group is
// closed, the call that follows has nothing to spill over the group's result.
TEST_F(Mended, ValueInABeforeACommaIsDropped) {
  ASSERT_EQ(evaluate({"x", "=", "(", "a", "<", "b", ",", "c", ")", "+", "f", "(", "d", ")"}), STATUS_EXPRESSION_END);
  EXPECT_EQ(x_for(1, 2, 30, 4), 134);
  EXPECT_EQ(x_for(2, 1, -30, 4), 74);
}

// sizeof takes the size of the comparison's value in A, which is then no longer pending:
// the argument is the size alone.
TEST_F(Mended, SizeofOfAValueInAIsAPlainArgument) {
  ASSERT_EQ(evaluate({"keep", "(", "sizeof", "(", "a", "<", "b", ")", ")"}), STATUS_EXPRESSION_END);
  for (const std::int16_t a : {1, 3}) {
    SCOPED_TRACE(a);
    x_for(a, 2, 0);
    EXPECT_EQ(sim.read_bytes(G, 2), 1u);
  }
}

// Every table of the evaluator ends a compile that outgrows it with TableCapacityExceeded,
// never with an access outside it.
class EvaluatorCapacity : public ExpressionTest {
 protected:
  static ByteArray repeated(std::string_view item, int times) {
    ByteArray text;
    text.reserve(item.size() * static_cast<std::size_t>(times));
    for (int k = 0; k < times; ++k) text += item;
    return text;
  }
  static ByteArray piece(const Piece& p) { return level_text({p}); }
};

TEST_F(EvaluatorCapacity, NestOfBrackets) {
  local("x", "int", X);
  local("a", "int*", Y);
  const ByteArray x = piece("x");
  // The deepest level the tables hold.
  EXPECT_EQ(evaluate_text(repeated(piece("("), TABLE_CAPACITY - 1) + x + repeated(piece(")"), TABLE_CAPACITY - 1) + piece(";")),
            STATUS_EXPRESSION_END);
  EXPECT_EQ(left(), "x ;");
  EXPECT_THROW(evaluate_text(repeated(piece("("), TABLE_CAPACITY) + x + repeated(piece(")"), TABLE_CAPACITY) + piece(";")),
               TableCapacityExceeded);
  EXPECT_THROW(evaluate_text(repeated(level_text({"a", "["}), TABLE_CAPACITY) + x + repeated(piece("]"), TABLE_CAPACITY) +
                             piece(";")),
               TableCapacityExceeded);
}

TEST_F(EvaluatorCapacity, QuestionMarksWaitingInOneLevel) {
  local("x", "int", X);
  const ByteArray text = repeated(level_text({ONE, "?"}), TABLE_CAPACITY + 1) +
                         piece("x") + repeated(level_text({":", "x"}), TABLE_CAPACITY + 1) + piece(";");
  EXPECT_THROW(evaluate_text(text), TableCapacityExceeded);
}

TEST_F(EvaluatorCapacity, CallArguments) {
  local("a", "int", X);
  function("f", "void", {{"int", 0x010190}}, 0x010180, 0x1234);
  const auto call_with = [](int arguments) {
    return piece("f") + piece("(") + repeated(level_text({"a", ","}), arguments - 1) + level_text({"a", ")"}) + piece(";");
  };
  // As many arguments as the lists hold reach the count check.
  EXPECT_EQ(evaluate_text(call_with(TABLE_CAPACITY)), STATUS_TOO_MANY_ARGUMENTS);
  EXPECT_THROW(evaluate_text(call_with(TABLE_CAPACITY + 1)), TableCapacityExceeded);
}

// The last entry of the constant table is still taken; one more is not.
TEST_F(EvaluatorCapacity, ConstantTable) {
  local("x", "int", X);
  function("g", "void", {}, 0x010180, 0x1234);
  const struct {
    const char* what;
    ByteArray text;
  } cases[] = {
      {"void call", expression({"g", "(", ")"})},
      {"sizeof", expression({"sizeof", "(", "x", ")"})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    g_constant_count = TABLE_CAPACITY - 1;
    EXPECT_EQ(evaluate_text(c.text), STATUS_EXPRESSION_END);
    EXPECT_EQ(left(), "E800FFFF ;");
    EXPECT_EQ(g_constant_count, TABLE_CAPACITY);
    EXPECT_THROW(evaluate_text(c.text), TableCapacityExceeded);
  }
}

}  // namespace
}  // namespace tarvik::test
