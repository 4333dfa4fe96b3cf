#include <cstdint>
#include <ostream>
#include <utility>
#include <vector>

#include "isa/isa.h"
#include "support/expr_support.h"

namespace tarvik::test {
namespace {

constexpr std::int32_t ARR = 0x010400, STRING = 0x010500;

// What the declared variables hold for one run: a and b are ints, c an unsigned char, x a
// long int, y an int.
struct Values {
  std::int32_t a, b, c, x, y;
};
// Zeros, a long whose low half is 0, an int whose low byte is 0, equal and negative pairs.
constexpr Values VALUES[] = {
    {0, 0, 0, 0, 0}, {1, 0, 5, 0x10000, -1}, {-1, 2, 0, 0, 0x100}, {3, 3, 0x80, -5, 0}, {-300, -301, 0, 1, 7}};

// The values in RAM.
std::vector<Stored> stores(const Values& v) {
  return {{X, 2, v.a}, {Y, 2, v.b}, {Z, 1, v.c}, {W, 4, v.x}, {P, 2, v.y}};
}

std::ostream& operator<<(std::ostream& out, const Values& v) {
  return out << "a " << v.a << " b " << v.b << " c " << v.c << " x " << v.x << " y " << v.y;
}

class EndOfExpression : public ExpressionTest {
 protected:
  void SetUp() override {
    ExpressionTest::SetUp();
    locals({{"a", "int", X}, {"b", "int", Y}, {"c", "unsigned char", Z}, {"x", "long int", W}, {"y", "int", P}});
    locals({{"arr", "int[]", ARR}, {"at_zero", "unsigned char[]", 0}});
  }

  // After a condition: the body starts at the next word and a separate block takes the
  // false exits. Returns the body's first word and the false block's.
  std::pair<std::int32_t, std::int32_t> place_body_and_false_block() {
    const std::int32_t body = g_rom_word_count;
    emit_nop();
    const std::int32_t false_block = g_rom_word_count;
    emit_nop();
    patch_jump_list(g_false_jumps, false_block);
    return {body, false_block};
  }

  // Runs from the condition's first word; true when the run reached the body.
  bool body_reached(std::pair<std::int32_t, std::int32_t> stops) {
    const std::int32_t stop = sim.run_until(first_word, {stops.first, stops.second});
    EXPECT_EQ(sim.problems(), "");
    EXPECT_NE(stop, -1);
    return stop == stops.first;
  }
};

// Conditions known while compiling: one placeholder jump, and for a true one a second jump,
// the false exit, which the first jumps over into the body.
TEST_F(EndOfExpression, ConstantConditionsJumpIntoTheBodyOrOut) {
  const struct {
    const char* what;
    std::int32_t value;
    const char* name;  // nullptr: an empty condition; "": the constant `value`
    bool is_true;
  } cases[] = {
      {"empty condition", 0, nullptr, true},
      {"5", 5, "", true},
      {"256, whose low byte is 0", 256, "", true},
      {"-1", -1, "", true},
      {"0", 0, "", false},
      {"array name", 0, "arr", true},
      {"array at address 0", 0, "at_zero", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    // Words before the condition, so that its jump targets have a middle byte.
    for (int i = 0; i < 0x123; ++i) emit_nop();
    const ByteArray text = c.name == nullptr ? expression({})
                           : *c.name == '\0' ? expression({constant(c.value)})
                                             : expression({c.name});
    ASSERT_EQ(evaluate_text(text, 1), STATUS_EXPRESSION_END);
    JumpList false_exit;
    EXPECT_EQ(emitted(), words_of([&] {
                if (c.is_true) emit_jump_to(first_word + 8);
                placeholder(false_exit);
              }));
    EXPECT_EQ(g_false_jumps, false_exit);
    EXPECT_EQ(g_true_jumps, "");
  }
}

// The body is reached exactly when the condition holds in C, every false exit is in
// g_false_jumps and none is left in g_true_jumps.
TEST_F(EndOfExpression, ConditionFallsIntoTheBodyExactlyWhenTrue) {
  const struct {
    const char* what;
    ByteArray text;
    bool (*holds)(const Values&);
    // An assignment's target, its width and the value it must hold afterwards; width 0: none.
    std::int32_t target;
    int width;
    std::int32_t (*stored)(const Values&);
  } cases[] = {
      {"x", expression({"x"}), [](const Values& v) { return v.x != 0; }, 0, 0, nullptr},
      {"!x", expression({"!", "x"}), [](const Values& v) { return v.x == 0; }, 0, 0, nullptr},
      {"c", expression({"c"}), [](const Values& v) { return v.c != 0; }, 0, 0, nullptr},
      {"a < b", expression({"a", "<", "b"}), [](const Values& v) { return v.a < v.b; }, 0, 0, nullptr},
      {"a == b", expression({"a", "==", "b"}), [](const Values& v) { return v.a == v.b; }, 0, 0, nullptr},
      {"a != b", expression({"a", "!=", "b"}), [](const Values& v) { return v.a != v.b; }, 0, 0, nullptr},
      {"a && b", expression({"a", "&&", "b"}), [](const Values& v) { return v.a && v.b; }, 0, 0, nullptr},
      {"a || b", expression({"a", "||", "b"}), [](const Values& v) { return v.a || v.b; }, 0, 0, nullptr},
      {"a && b || c", expression({"a", "&&", "b", "||", "c"}), [](const Values& v) { return (v.a && v.b) || v.c; }, 0,
       0, nullptr},
      {"a || b && c", expression({"a", "||", "b", "&&", "c"}), [](const Values& v) { return v.a || (v.b && v.c); }, 0,
       0, nullptr},
      {"(a < b)", expression({"(", "a", "<", "b", ")"}), [](const Values& v) { return v.a < v.b; }, 0, 0, nullptr},
      {"a + 1", expression({"a", "+", ONE}), [](const Values& v) { return v.a + 1 != 0; }, 0, 0, nullptr},
      {"x = y", expression({"x", "=", "y"}), [](const Values& v) { return v.y != 0; }, W, 4,
       [](const Values& v) { return v.y; }},
      {"y = a && b", expression({"y", "=", "a", "&&", "b"}), [](const Values& v) { return v.a && v.b; }, P, 2,
       [](const Values& v) { return static_cast<std::int32_t>(v.a && v.b); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    ASSERT_EQ(evaluate_text(c.text, 1), STATUS_EXPRESSION_END);
    EXPECT_EQ(g_true_jumps, "");
    const auto stops = place_body_and_false_block();
    for (const Values& v : VALUES) {
      SCOPED_TRACE(testing::Message() << v);
      sim = Simulator();
      put(stores(v));
      EXPECT_EQ(body_reached(stops), c.holds(v));
      if (c.width != 0) {
        EXPECT_EQ(sim.read_bytes(c.target, c.width), static_cast<std::uint32_t>(c.stored(v)) & width_mask(c.width));
      }
    }
  }
}

TEST_F(EndOfExpression, ConditionOperandsThatCannotBeTestedEmitNothing) {
  const Failure cases[] = {
      {"string literal", expression({string_at(STRING)}), STATUS_END_OPERAND_TYPE_ERROR, 1},
      {"address value", expression({addr(W)}), STATUS_END_OPERAND_TYPE_ERROR, 1},
      {"_B", expression({"_B"}), STATUS_END_LOOKUP_ERROR, 1},
      {"_RAM", expression({"_RAM"}), STATUS_END_LOOKUP_ERROR, 1},
      {"undeclared name", expression({"q"}), STATUS_END_LOOKUP_ERROR, 1},
  };
  expect_failures_without_words(cases);
}

// `_A` as a condition tests register A against 0, on the A the code before it left.
TEST_F(EndOfExpression, RegisterAAsConditionIsTestedAgainstZero) {
  ASSERT_EQ(evaluate({"_A"}, 1), STATUS_EXPRESSION_END);
  EXPECT_EQ(g_true_jumps, "");
  const auto stops = place_body_and_false_block();
  for (const std::uint8_t a : {0x00, 0x01, 0x80, 0xFF}) {
    SCOPED_TRACE(static_cast<int>(a));
    sim = Simulator();
    sim.a = a;
    EXPECT_EQ(body_reached(stops), a != 0);
  }
}

TEST_F(EndOfExpression, NopStatementIsOneNopWord) {
  EXPECT_EQ(evaluate({"_NOP"}), STATUS_EXPRESSION_END);
  EXPECT_EQ(emitted(), "FF FF");
}

TEST_F(EndOfExpression, StatementOfOneOperandEmitsNothing) {
  const struct {
    const char* what;
    ByteArray text;
  } cases[] = {
      {"empty statement", expression({})},
      {"declared name", expression({"a"})},
      {"array name", expression({"arr"})},
      {"_A", expression({"_A"})},
      {"constant", expression({ONE})},
      {"string literal", expression({string_at(STRING)})},
      {"grouped name", expression({"(", "a", ")"})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    EXPECT_EQ(evaluate_text(c.text), STATUS_EXPRESSION_END);
    EXPECT_EQ(emitted(), "");
  }
}

TEST_F(EndOfExpression, StatementOfAnUndeclaredNameIsRefused) {
  const Failure cases[] = {
      {"q", expression({"q"}), STATUS_END_NAME_NOT_FOUND},
      {"_Q", expression({"_Q"}), STATUS_END_NAME_NOT_FOUND},
      {"A", expression({"A"}), STATUS_END_NAME_NOT_FOUND},
  };
  expect_failures_without_words(cases);
}

// A comparison whose value nobody takes still leaves it, 0 or 1, in A.
TEST_F(EndOfExpression, BareComparisonLeavesItsTruthInA) {
  const struct {
    const char* what;
    ByteArray text;
    bool (*holds)(const Values&);
  } cases[] = {
      {"a < b", expression({"a", "<", "b"}), [](const Values& v) { return v.a < v.b; }},
      {"a == b", expression({"a", "==", "b"}), [](const Values& v) { return v.a == v.b; }},
      {"a >= b", expression({"a", ">=", "b"}), [](const Values& v) { return v.a >= v.b; }},
      {"c > 0", expression({"c", ">", ZERO}), [](const Values& v) { return v.c > 0; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    ASSERT_EQ(evaluate_text(c.text), STATUS_EXPRESSION_END);
    run_each(VALUES, stores, [&](const Values& v) { EXPECT_EQ(sim.a, c.holds(v) ? 1 : 0); });
  }
}

// The chain's truth is stored as 0 or 1, and no jump is left in the condition lists.
TEST_F(EndOfExpression, ChainAssignedInAStatementStoresZeroOrOne) {
  const struct {
    const char* what;
    ByteArray text;
    bool (*holds)(const Values&);
  } cases[] = {
      {"y = a && b", expression({"y", "=", "a", "&&", "b"}), [](const Values& v) { return v.a && v.b; }},
      {"y = a || b", expression({"y", "=", "a", "||", "b"}), [](const Values& v) { return v.a || v.b; }},
      {"y = a && b || c", expression({"y", "=", "a", "&&", "b", "||", "c"}),
       [](const Values& v) { return (v.a && v.b) || v.c; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    ASSERT_EQ(evaluate_text(c.text), STATUS_EXPRESSION_END);
    EXPECT_EQ(g_true_jumps, "");
    EXPECT_EQ(g_false_jumps, "");
    run_each(VALUES, stores, [&](const Values& v) { EXPECT_EQ(sim.read_bytes(P, 2), c.holds(v) ? 1u : 0u); });
  }
}

}  // namespace
}  // namespace tarvik::test
