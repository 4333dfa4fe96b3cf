// && and || in whole expressions: the words of a chain in order and where its jumps land, a
// value waiting in A around a tested operand, the operands they refuse, and the values the
// chains compute on the simulator.
#include <cstdint>
#include <functional>
#include <vector>

#include "isa/isa.h"
#include "support/expr_support.h"

namespace tarvik::test {
namespace {

// a, b, c and v are ints; u and w unsigned chars.
constexpr OperandDescriptor a = s16(X), b = s16(Y), c = s16(Z), v = s16(W);
constexpr OperandDescriptor u = u8(P), w = u8(Q);

class ShortCircuit : public ExpressionTest {
 protected:
  void SetUp() override {
    ExpressionTest::SetUp();
    locals({{"a", "int", X}, {"b", "int", Y}, {"c", "int", Z}, {"v", "int", W}});
    locals({{"u", "unsigned char", P}, {"w", "unsigned char", Q}});
  }
};

// The constant's one jump goes where its truth sends the chain; when that is the right operand,
// a second jump, never reached, would send it the other way. An array's address is such a
// constant: true unless the array lies at address 0.
TEST_F(ShortCircuit, AConstantLeftOperandIsOneJumpOrTwoBeforeTheRightOperand) {
  enum Target { TO_B, TO_ZERO, TO_ONE };
  const struct {
    const char* what;
    Piece k;
    const char* op;
    std::vector<Target> jumps;
  } cases[] = {
      {"v = 1 || b", ONE, "||", {TO_ONE}},
      {"v = 0 || b", ZERO, "||", {TO_B, TO_ONE}},
      {"v = 1 && b", ONE, "&&", {TO_B, TO_ZERO}},
      {"v = 0 && b", ZERO, "&&", {TO_ZERO}},
      {"v = arr || b", "arr", "||", {TO_ONE}},
      {"v = arr0 && b, arr0 at address 0", "arr0", "&&", {TO_ZERO}},
  };
  for (const auto& cs : cases) {
    SCOPED_TRACE(cs.what);
    fresh();
    locals({{"arr", "int[]", 0x010300}, {"arr0", "unsigned char[]", 0}});
    ASSERT_EQ(evaluate({"v", "=", cs.k, cs.op, "b"}), STATUS_EXPRESSION_END);
    const std::int32_t at_b = first_word + JUMP * static_cast<std::int32_t>(cs.jumps.size());
    const std::int32_t at_zero = at_b + int_test(), at_one = at_zero + ONE_OF_VALUE;
    EXPECT_EQ(emitted(), words_of([&] {
                for (const Target t : cs.jumps) emit_jump_to(t == TO_B ? at_b : t == TO_ZERO ? at_zero : at_one);
                nonzero(b, at_one);
                value_of_condition();
                call(0, v, "=", A_SIGNED);
              }));
  }
}

// v = (a && b || c);
TEST_F(ShortCircuit, AndBeforeOrInABracketSendsAFalseAToC) {
  ASSERT_EQ(evaluate({"v", "=", "(", "a", "&&", "b", "||", "c", ")"}), STATUS_EXPRESSION_END);
  const std::int32_t test = int_test();
  const std::int32_t at_b = first_word + test + JUMP, at_c = at_b + test, at_value = at_c + test;
  const std::int32_t at_one = at_value + ONE_OF_VALUE;
  EXPECT_EQ(emitted(), words_of([&] {
              nonzero(a, at_b);    // J1: a true goes on with b
              emit_jump_to(at_c);  // J2: a false skips b
              nonzero(b, at_one);  // J3: b true makes the chain true
              nonzero(c, at_one);  // J4; c false falls into A = 0
              value_of_condition();
              call(0, v, "=", A_SIGNED);
            }));
  EXPECT_EQ(left(), items({v, ";"}));
  EXPECT_EQ(g_temp_ram_next, EXPR_TEMPORARIES);
  EXPECT_EQ(g_register_a_state, REG_A_FREE);
}

// As the condition of a statement the chain falls through when true; every way to false is a
// jump left for the statement to land.
TEST_F(ShortCircuit, AChainAsAConditionListsEveryFalseExit) {
  const std::int32_t test = int_test();
  const std::int32_t sum = length([] { call(u16(EXPR_TEMPORARIES), a, "+", ONE); });
  // Jump targets and false exits count from the first word.
  const struct {
    const char* what;
    ByteArray text;
    std::function<void(std::int32_t first)> words;
    std::vector<std::int32_t> false_exits;
    std::int32_t temporaries;
  } cases[] = {
      {"a && b || c", expression({"a", "&&", "b", "||", "c"}),
       [=](std::int32_t first) {
         const std::int32_t at_b = first + test + JUMP, at_c = at_b + test, end = at_c + test + JUMP;
         nonzero(a, at_b);
         emit_jump_to(at_c);  // a false goes on with c, not out
         nonzero(b, end);
         nonzero(c, end);
         emit_jump_to(0);
       },
       {3 * test + JUMP}, 0},
      {"a || b && c", expression({"a", "||", "b", "&&", "c"}),
       [=](std::int32_t first) {
         const std::int32_t at_c = first + 2 * test + JUMP, end = at_c + test + JUMP;
         nonzero(a, end);  // a true leaves the whole chain
         nonzero(b, at_c);
         emit_jump_to(0);  // b false: the chain is false
         nonzero(c, end);
         emit_jump_to(0);
       },
       {2 * test, 3 * test + JUMP}, 0},
      // a + 1 is computed, then compared with 0, then chained: three visits of the "||".
      {"a + 1 || b", expression({"a", "+", ONE, "||", "b"}),
       [=](std::int32_t first) {
         const std::int32_t end = first + sum + 2 * test + JUMP;
         call(u16(EXPR_TEMPORARIES), a, "+", ONE);
         nonzero(s16(EXPR_TEMPORARIES), end);
         nonzero(b, end);
         emit_jump_to(0);
       },
       {sum + 2 * test}, 2},
  };
  for (const auto& cs : cases) {
    SCOPED_TRACE(cs.what);
    fresh();
    ASSERT_EQ(evaluate_text(cs.text, 1), STATUS_EXPRESSION_END);
    EXPECT_TRUE(g_true_jumps.empty());
    std::vector<std::int32_t> false_exits = cs.false_exits;
    for (std::int32_t& exit : false_exits) exit += first_word;
    EXPECT_EQ(sorted_entries(g_false_jumps), false_exits);
    EXPECT_EQ(g_temp_ram_next - EXPR_TEMPORARIES, cs.temporaries);
    EXPECT_EQ(emitted(), words_of([&] { cs.words(first_word); }));
  }
}

// A value waiting in A would be lost to the test of another operand, so it goes into a 1-byte
// temporary whose kind keeps its sign; the level then reads that temporary.
TEST_F(ShortCircuit, AValueWaitingInAIsStoredBeforeAnotherOperandIsTested) {
  const std::int32_t t = EXPR_TEMPORARIES;
  const struct {
    const char* what;
    ByteArray text;
    std::function<void()> pending;
    OperandDescriptor stored, sum;
    std::uint32_t (*value)(std::uint32_t a, std::uint32_t b);
  } cases[] = {
      {"v = (u + w) + (a || b)", expression({"v", "=", "(", "u", "+", "w", ")", "+", "(", "a", "||", "b", ")"}),
       [] { call(REG_A, u, "+", w); }, u8(t), A_UNSIGNED,
       [](std::uint32_t a, std::uint32_t b) { return 0x12u + 0x34u + (a != 0 || b != 0 ? 1u : 0u); }},
      {"v = (a < b) + (a || b)", expression({"v", "=", "(", "a", "<", "b", ")", "+", "(", "a", "||", "b", ")"}),
       [] {
         call(COND, a, "<", b);
         call(0, REG_A, "=", COND);
       },
       s8(t), A_SIGNED,
       [](std::uint32_t a, std::uint32_t b) {
         return (static_cast<std::int16_t>(a) < static_cast<std::int16_t>(b) ? 1u : 0u) + (a != 0 || b != 0 ? 1u : 0u);
       }},
  };
  for (const auto& cs : cases) {
    SCOPED_TRACE(cs.what);
    fresh();
    ASSERT_EQ(evaluate_text(cs.text), STATUS_EXPRESSION_END);
    const std::int32_t test = int_test();
    const std::int32_t at_one =
        first_word + length(cs.pending) + length([] { emit_store_a(0); }) + 2 * test + ONE_OF_VALUE;
    EXPECT_EQ(emitted(), words_of([&] {
                cs.pending();
                emit_store_a(t);
                nonzero(a, at_one);
                nonzero(b, at_one);
                value_of_condition();
                call(REG_A, cs.stored, "+", A_SIGNED);
                call(0, v, "=", cs.sum);
              }));
    EXPECT_EQ(g_temp_ram_next, t + 1);
    // Stored or not, the value waiting in A is part of the sum.
    for (const std::uint32_t va : {0u, 1u, 0x100u, 0xFFFFu}) {
      for (const std::uint32_t vb : {0u, 0x8000u}) {
        SCOPED_TRACE(testing::Message() << std::hex << "a " << va << ", b " << vb);
        put({{X, 2, va}, {Y, 2, vb}, {P, 1, 0x12}, {Q, 1, 0x34}});
        run();
        EXPECT_EQ(sim.read_bytes(W, 2), cs.value(va, vb));
      }
    }
  }
}

// The operand that is the value in A is compared where it is.
TEST_F(ShortCircuit, TheValueInAAsTheOperandIsTestedWithoutAStore) {
  ASSERT_EQ(evaluate({"v", "=", "(", "u", "+", "w", ")", "||", "b"}), STATUS_EXPRESSION_END);
  const std::int32_t sum = length([] { call(REG_A, u, "+", w); });
  const std::int32_t at_one = first_word + sum + length([] { nonzero(A_UNSIGNED, 0); }) + int_test() + ONE_OF_VALUE;
  EXPECT_EQ(emitted(), words_of([&] {
              call(REG_A, u, "+", w);
              nonzero(A_UNSIGNED, at_one);
              nonzero(b, at_one);
              value_of_condition();
              call(0, v, "=", A_SIGNED);
            }));
  EXPECT_EQ(g_temp_ram_next, EXPR_TEMPORARIES);
}

TEST_F(ShortCircuit, RefusesALeftOperandThatIsNoValueToTest) {
  const OperandDescriptor literal = string_at(0x010300);
  const Failure cases[] = {
      {"\"s\" || b", expression({literal, "||", "b"}), STATUS_OR_OPERAND_ERROR},
      {"\"s\" && b", expression({literal, "&&", "b"}), STATUS_AND_OPERAND_ERROR},
      {"&a || b", expression({"&", "a", "||", "b"}), STATUS_OR_OPERAND_ERROR},
      {"&a && b", expression({"&", "a", "&&", "b"}), STATUS_AND_OPERAND_ERROR},
      {"undeclared || b", expression({"q", "||", "b"}), STATUS_END_LOOKUP_ERROR},
      {"_B && b", expression({"_B", "&&", "b"}), STATUS_END_LOOKUP_ERROR},
  };
  expect_failures_without_words(cases);
}

class ShortCircuitValues : public ExpressionTest {};

// Non-zero values whose low byte, or whose every byte but the top one, is 0 must count as true.
TEST_F(ShortCircuitValues, EveryChainGivesTheValueOfCForEveryTruthOfItsOperands) {
  const struct {
    const char* type;
    int width;
    std::vector<std::uint32_t> values;
  } types[] = {
      {"char", 1, {0, 1, 0x80}},
      {"int", 2, {0, 1, 0x100, 0x8000}},
      {"long int", 4, {0, 1, 0x100, 0x80000000}},
  };
  const struct {
    const char* what;
    ByteArray text;
    bool (*value)(bool a, bool b, bool c);
  } chains[] = {
      {"v = a && b", expression({"v", "=", "a", "&&", "b"}), [](bool a, bool b, bool) { return a && b; }},
      {"v = a || b", expression({"v", "=", "a", "||", "b"}), [](bool a, bool b, bool) { return a || b; }},
      {"v = a && b || c", expression({"v", "=", "a", "&&", "b", "||", "c"}),
       [](bool a, bool b, bool c) { return (a && b) || c; }},
      {"v = a || b && c", expression({"v", "=", "a", "||", "b", "&&", "c"}),
       [](bool a, bool b, bool c) { return a || (b && c); }},
      {"v = (a || b) && c", expression({"v", "=", "(", "a", "||", "b", ")", "&&", "c"}),
       [](bool a, bool b, bool c) { return (a || b) && c; }},
  };
  for (const auto& type : types) {
    for (const auto& chain : chains) {
      SCOPED_TRACE(testing::Message() << chain.what << ", " << type.type);
      fresh();
      locals({{"a", type.type, X}, {"b", type.type, Y}, {"c", type.type, Z}, {"v", type.type, W}});
      ASSERT_EQ(evaluate_text(chain.text), STATUS_EXPRESSION_END);
      for (const std::uint32_t va : type.values) {
        for (const std::uint32_t vb : type.values) {
          for (const std::uint32_t vc : type.values) {
            SCOPED_TRACE(testing::Message() << std::hex << "a " << va << ", b " << vb << ", c " << vc);
            put({{X, type.width, va}, {Y, type.width, vb}, {Z, type.width, vc}, {W, type.width, 0x5A5A5A5A}});
            run();
            EXPECT_EQ(sim.read_bytes(W, type.width), chain.value(va != 0, vb != 0, vc != 0) ? 1u : 0u);
            EXPECT_EQ(sim.stray_writes(W, type.width), "");
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace tarvik::test
