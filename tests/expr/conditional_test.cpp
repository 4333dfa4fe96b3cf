// ?: in whole expressions: the words of a conditional in order and where its jumps land, the
// slots that hold its jumps while it is open, its temporary, the texts it refuses, and the
// values chained and nested conditionals compute on the simulator.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "isa/isa.h"
#include "support/expr_support.h"

namespace tarvik::test {
namespace {

// Ints, and the unsigned chars u and w.
constexpr std::int32_t X_AT = 0x010080, Y_AT = 0x010084, Z_AT = 0x010088, V_AT = 0x01008C;
constexpr std::int32_t U_AT = 0x010090, W_AT = 0x010091;
constexpr OperandDescriptor a = s16(X), b = s16(Y), c = s16(Z), d = s16(W), c1 = s16(P), c2 = s16(Q);
constexpr OperandDescriptor x = s16(X_AT), y = s16(Y_AT), z = s16(Z_AT), v = s16(V_AT);
constexpr OperandDescriptor u = u8(U_AT), w = u8(W_AT);
// The temporary of a conditional outside an assignment: a long at the first free address.
constexpr OperandDescriptor t = s32(EXPR_TEMPORARIES);

class ConditionalOperator : public ExpressionTest {
 protected:
  void SetUp() override {
    ExpressionTest::SetUp();
    locals({{"a", "int", X}, {"b", "int", Y}, {"c", "int", Z}, {"d", "int", W}, {"c1", "int", P}, {"c2", "int", Q}});
    locals({{"x", "int", X_AT}, {"y", "int", Y_AT}, {"z", "int", Z_AT}, {"v", "int", V_AT}});
    locals({{"u", "unsigned char", U_AT}, {"w", "unsigned char", W_AT}});
  }

  // The words of an int assigned to an int or to the temporary.
  std::int32_t int_set() const { return length([] { call(0, x, "=", a); }); }
  std::int32_t temporary_set() const { return length([] { call(0, t, "=", a); }); }
};

// v = (x ? y : z);
TEST_F(ConditionalOperator, ABracketedConditionalAssignsItsTemporaryInBothParts) {
  ASSERT_EQ(evaluate({"v", "=", "(", "x", "?", "y", ":", "z", ")"}), STATUS_EXPRESSION_END);
  const std::int32_t at_then = first_word + int_test() + JUMP, at_else = at_then + temporary_set() + JUMP;
  const std::int32_t end = at_else + temporary_set();
  EXPECT_EQ(emitted(), words_of([&] {
              nonzero(x, at_then);    // J1: x true
              emit_jump_to(at_else);  // J2: x false
              call(0, t, "=", y);
              emit_jump_to(end);  // J3: over the else part
              call(0, t, "=", z);
              call(0, v, "=", t);
            }));
  EXPECT_EQ(left(), items({v, ";"}));
  EXPECT_EQ(g_temp_ram_next, EXPR_TEMPORARIES + 4);
}

// The false exits of each "?" wait in the slot of its number until its ":"; the jumps over else
// parts wait in the slot that the ":" brings the count back to, until the else part is compiled.
// Jump words and targets count from the first word.
TEST_F(ConditionalOperator, ChainedAndNestedConditionalsLandEveryJumpAfterItsPart) {
  const std::int32_t test = int_test(), set = int_set(), tset = temporary_set();
  const struct {
    const char* what;
    ByteArray text;
    std::function<void(std::int32_t first)> words;
    OperandDescriptor result;
    std::int32_t temporaries;
    std::vector<std::int32_t> false_slots[2], end_slots[2];
  } cases[] = {
      {"x = c ? a : b", expression({"x", "=", "c", "?", "a", ":", "b"}),
       [=](std::int32_t first) {
         const std::int32_t at_then = first + test + JUMP, at_else = at_then + set + JUMP, end = at_else + set;
         nonzero(c, at_then);
         emit_jump_to(at_else);
         call(0, x, "=", a);
         emit_jump_to(end);
         call(0, x, "=", b);
       },
       x, 0, {{test}, {}}, {{}, {}}},
      {"c1 ? c2 ? a : b : d", expression({"c1", "?", "c2", "?", "a", ":", "b", ":", "d"}),
       [=](std::int32_t first) {
         const std::int32_t at_inner = first + test + JUMP, at_a = at_inner + test + JUMP, at_b = at_a + tset + JUMP;
         const std::int32_t at_d = at_b + tset + JUMP, end = at_d + tset;
         nonzero(c1, at_inner);
         emit_jump_to(at_d);
         nonzero(c2, at_a);
         emit_jump_to(at_b);
         call(0, t, "=", a);
         emit_jump_to(at_b + tset);  // J1 lands after T = b, on J2
         call(0, t, "=", b);
         emit_jump_to(end);  // J2
         call(0, t, "=", d);
       },
       t, 4, {{test}, {2 * test + JUMP}}, {{}, {2 * test + 2 * JUMP + tset}}},
      {"c1 ? a : c2 ? b : d", expression({"c1", "?", "a", ":", "c2", "?", "b", ":", "d"}),
       [=](std::int32_t first) {
         const std::int32_t at_a = first + test + JUMP, at_c2 = at_a + tset + JUMP, at_b = at_c2 + test + JUMP;
         const std::int32_t at_d = at_b + tset + JUMP, end = at_d + tset;
         nonzero(c1, at_a);
         emit_jump_to(at_c2);
         call(0, t, "=", a);
         emit_jump_to(end);  // J1 and J2 land together, after T = d
         nonzero(c2, at_b);
         emit_jump_to(at_d);
         call(0, t, "=", b);
         emit_jump_to(end);
         call(0, t, "=", d);
       },
       t, 4, {{2 * test + tset + 2 * JUMP}, {}}, {{}, {}}},
  };
  for (const auto& cs : cases) {
    SCOPED_TRACE(cs.what);
    fresh();
    ASSERT_EQ(evaluate_text(cs.text), STATUS_EXPRESSION_END);
    EXPECT_EQ(emitted(), words_of([&] { cs.words(first_word); }));
    EXPECT_EQ(left(), items({cs.result, ";"}));
    EXPECT_EQ(g_temp_ram_next - EXPR_TEMPORARIES, cs.temporaries);
    for (int k = 0; k < 2; ++k) {
      SCOPED_TRACE(testing::Message() << "slot " << k);
      std::vector<std::int32_t> false_jumps = cs.false_slots[k], end_jumps = cs.end_slots[k];
      for (std::int32_t& jump : false_jumps) jump += first_word;
      for (std::int32_t& jump : end_jumps) jump += first_word;
      EXPECT_EQ(sorted_entries(g_ternary_false_jumps[k]), false_jumps);
      EXPECT_EQ(sorted_entries(g_ternary_end_jumps[k]), end_jumps);
    }
  }
}

// An assignment in the level takes both parts; without one, a 4-byte temporary does, whatever
// the width of the parts.
TEST_F(ConditionalOperator, OnlyAConditionalOutsideAnAssignmentTakesATemporary) {
  const std::int32_t test = int_test();
  const struct {
    const char* what;
    ByteArray text;
    std::function<void()> then_part, else_part, after;
    std::int32_t temporaries;
  } cases[] = {
      {"y = c ? a : b", expression({"y", "=", "c", "?", "a", ":", "b"}), [] { call(0, y, "=", a); },
       [] { call(0, y, "=", b); }, [] {}, 0},
      {"y = (c ? a : b) + 1", expression({"y", "=", "(", "c", "?", "a", ":", "b", ")", "+", ONE}),
       [] { call(0, t, "=", a); }, [] { call(0, t, "=", b); }, [] { call(y, t, "+", ONE); }, 4},
      // A char goes into the temporary through A.
      {"y = (c ? u : w) + 1", expression({"y", "=", "(", "c", "?", "u", ":", "w", ")", "+", ONE}),
       [] { call(0, REG_A, "=", u), call(0, t, "=", A_UNSIGNED); },
       [] { call(0, REG_A, "=", w), call(0, t, "=", A_UNSIGNED); }, [] { call(y, t, "+", ONE); }, 4},
  };
  for (const auto& cs : cases) {
    SCOPED_TRACE(cs.what);
    fresh();
    ASSERT_EQ(evaluate_text(cs.text), STATUS_EXPRESSION_END);
    const std::int32_t at_then = first_word + test + JUMP, at_else = at_then + length(cs.then_part) + JUMP;
    EXPECT_EQ(emitted(), words_of([&] {
                nonzero(c, at_then);
                emit_jump_to(at_else);
                cs.then_part();
                emit_jump_to(at_else + length(cs.else_part));
                cs.else_part();
                cs.after();
              }));
    EXPECT_EQ(left(), items({y, ";"}));
    EXPECT_EQ(g_temp_ram_next - EXPR_TEMPORARIES, cs.temporaries);
  }
}

// A constant condition is a jump; when it is true, a second jump, never taken, would lead to
// the else part. Neither part is left out.
TEST_F(ConditionalOperator, AConstantConditionIsOneJumpOrTwo) {
  enum Target { TO_THEN, TO_ELSE };
  const struct {
    const char* what;
    OperandDescriptor k;
    std::vector<Target> jumps;
  } cases[] = {
      {"x = 1 ? a : b", ONE, {TO_THEN, TO_ELSE}},
      {"x = 0 ? a : b", ZERO, {TO_ELSE}},
  };
  for (const auto& cs : cases) {
    SCOPED_TRACE(cs.what);
    fresh();
    ASSERT_EQ(evaluate({"x", "=", cs.k, "?", "a", ":", "b"}), STATUS_EXPRESSION_END);
    const std::int32_t at_then = first_word + JUMP * static_cast<std::int32_t>(cs.jumps.size());
    const std::int32_t at_else = at_then + int_set() + JUMP;
    EXPECT_EQ(emitted(), words_of([&] {
                for (const Target to : cs.jumps) emit_jump_to(to == TO_THEN ? at_then : at_else);
                call(0, x, "=", a);
                emit_jump_to(at_else + int_set());
                call(0, x, "=", b);
              }));
  }
}

// An && / || chain before the "?" hands all its exits to the conditional; one in the then-part
// becomes 0 or 1 in A before it is assigned. Targets count from the first word.
TEST_F(ConditionalOperator, TakesAChainAsItsConditionOrItsThenPart) {
  const std::int32_t test = int_test(), set = int_set();
  const std::int32_t chain_value = length(value_of_condition) + length([] { call(0, x, "=", A_SIGNED); });
  const struct {
    const char* what;
    ByteArray text;
    std::function<void(std::int32_t first)> words;
  } cases[] = {
      {"x = c ? a && b : d", expression({"x", "=", "c", "?", "a", "&&", "b", ":", "d"}),
       [=](std::int32_t first) {
         const std::int32_t at_then = first + test + JUMP, at_b = at_then + test + JUMP, at_zero = at_b + test;
         const std::int32_t at_one = at_zero + ONE_OF_VALUE;
         const std::int32_t at_else = at_zero + chain_value + JUMP;
         nonzero(c, at_then);
         emit_jump_to(at_else);
         nonzero(a, at_b);
         emit_jump_to(at_zero);  // a false: the chain is 0
         nonzero(b, at_one);
         value_of_condition();
         call(0, x, "=", A_SIGNED);
         emit_jump_to(at_else + set);
         call(0, x, "=", d);
       }},
      {"x = a && b ? c : d", expression({"x", "=", "a", "&&", "b", "?", "c", ":", "d"}),
       [=](std::int32_t first) {
         const std::int32_t at_b = first + test + JUMP, at_then = at_b + test + JUMP, at_else = at_then + set + JUMP;
         nonzero(a, at_b);
         emit_jump_to(at_else);  // a false takes the else part
         nonzero(b, at_then);
         emit_jump_to(at_else);
         call(0, x, "=", c);
         emit_jump_to(at_else + set);
         call(0, x, "=", d);
       }},
      {"x = a || b ? c : d", expression({"x", "=", "a", "||", "b", "?", "c", ":", "d"}),
       [=](std::int32_t first) {
         const std::int32_t at_then = first + 2 * test + JUMP, at_else = at_then + set + JUMP;
         nonzero(a, at_then);  // a true takes the then-part
         nonzero(b, at_then);
         emit_jump_to(at_else);
         call(0, x, "=", c);
         emit_jump_to(at_else + set);
         call(0, x, "=", d);
       }},
  };
  for (const auto& cs : cases) {
    SCOPED_TRACE(cs.what);
    fresh();
    ASSERT_EQ(evaluate_text(cs.text), STATUS_EXPRESSION_END);
    EXPECT_EQ(emitted(), words_of([&] { cs.words(first_word); }));
    EXPECT_EQ(left(), items({x, ";"}));
  }
}

TEST_F(ConditionalOperator, RefusesUnpairedMarksAndConditionsThatAreNoValues) {
  const Failure cases[] = {
      {"x = a : b", expression({"x", "=", "a", ":", "b"}), STATUS_COLON_WITHOUT_QUESTION},
      {"x = c ? a", expression({"x", "=", "c", "?", "a"}), STATUS_TERNARY_MISMATCH},
      {"x = (c ? a)", expression({"x", "=", "(", "c", "?", "a", ")"}), STATUS_TERNARY_MISMATCH},
      {"x = f(c ? a, b)", expression({"x", "=", "f", "(", "c", "?", "a", ",", "b", ")"}),
       STATUS_COMMA_TERNARY_MISMATCH},
      {"x = \"s\" ? a : b", expression({"x", "=", string_at(0x010300), "?", "a", ":", "b"}),
       STATUS_END_OPERAND_TYPE_ERROR},
      {"x = _B ? a : b", expression({"x", "=", "_B", "?", "a", ":", "b"}), STATUS_END_LOOKUP_ERROR},
      {"x = c ? a && \"s\" : b", expression({"x", "=", "c", "?", "a", "&&", string_at(0x010300), ":", "b"}),
       STATUS_COMMA_OPERAND_TYPE_ERROR},
      {"x = c ? a && undeclared : b", expression({"x", "=", "c", "?", "a", "&&", "q", ":", "b"}),
       STATUS_COMMA_LOOKUP_ERROR},
  };
  expect_failures(cases, [] { function("f", "int", {{"int", 0x0100A0}, {"int", 0x0100A2}}, 0x0100A4, 0x1234); });
}

// What the variables hold before a run.
struct Inputs {
  std::int16_t a, b, c, c1, c2, d, x, y;
};
// What x and y must hold after it.
struct Outputs {
  std::int16_t x, y;
};
constexpr std::int16_t X_BEFORE = 0x0101, Y_BEFORE = 0x0202;
// arr is an int array whose element i, at index 1, holds ARR_1.
constexpr std::int32_t ARR_AT = 0x0100B0, I_AT = 0x0100C0;
constexpr std::int16_t ARR_1 = 0x4567;

struct Simulated {
  const char* what;
  ByteArray text;
  Outputs (*value)(const Inputs& in);
};

Outputs only_x(int value) { return {static_cast<std::int16_t>(value), Y_BEFORE}; }

class ConditionalValues : public ConditionalOperator {
 protected:
  void SetUp() override {
    ConditionalOperator::SetUp();
    local("arr", "int[]", ARR_AT);
    local("i", "int", I_AT);
  }

  // Every case compiled and run with each condition 0, 1 or 256 and each pair of values for a
  // and b; a case stops at its first wrong run.
  void expect_values(std::span<const Simulated> cases) {
    for (const Simulated& cs : cases) {
      SCOPED_TRACE(cs.what);
      fresh();
      // A jump that lost its target loops back to the first word.
      sim.step_limit = 20'000;
      ASSERT_EQ(evaluate_text(cs.text), STATUS_EXPRESSION_END);
      expect_case_values(cs);
    }
  }

 private:
  void expect_case_values(const Simulated& cs) {
    const std::int16_t truths[] = {0, 1, 0x100};
    const std::int16_t pairs[][2] = {{0x1234, 0x2345}, {0x2345, 0x1234}, {-2, 3}, {7, 7}};
    for (const std::int16_t k : truths) {
      for (const std::int16_t k1 : truths) {
        for (const std::int16_t k2 : truths) {
          for (const auto& pair : pairs) {
            const Inputs in = {pair[0], pair[1], k, k1, k2, 0x3456, X_BEFORE, Y_BEFORE};
            SCOPED_TRACE(testing::Message() << "a " << in.a << ", b " << in.b << ", c " << in.c << ", c1 " << in.c1
                                            << ", c2 " << in.c2);
            put({{X, 2, in.a}, {Y, 2, in.b}, {Z, 2, in.c}, {W, 2, in.d}, {P, 2, in.c1}, {Q, 2, in.c2}, {X_AT, 2, in.x},
                 {Y_AT, 2, in.y}, {I_AT, 2, 1}, {ARR_AT + 2, 2, ARR_1}});
            run();
            const Outputs out = cs.value(in);
            const auto got_x = static_cast<std::int16_t>(sim.read_bytes(X_AT, 2));
            const auto got_y = static_cast<std::int16_t>(sim.read_bytes(Y_AT, 2));
            EXPECT_EQ(got_x, out.x);
            EXPECT_EQ(got_y, out.y);
            if (!sim.problems().empty() || got_x != out.x || got_y != out.y) return;
          }
        }
      }
    }
  }
};

TEST_F(ConditionalValues, ChainedNestedAndCompoundConditionalsGiveTheValueOfC) {
  const Simulated cases[] = {
      {"x = c ? a : b", expression({"x", "=", "c", "?", "a", ":", "b"}),
       [](const Inputs& in) { return only_x(in.c ? in.a : in.b); }},
      {"x = c1 ? a : c2 ? b : d", expression({"x", "=", "c1", "?", "a", ":", "c2", "?", "b", ":", "d"}),
       [](const Inputs& in) { return only_x(in.c1 ? in.a : in.c2 ? in.b : in.d); }},
      {"x = c1 ? c2 ? a : b : d", expression({"x", "=", "c1", "?", "c2", "?", "a", ":", "b", ":", "d"}),
       [](const Inputs& in) { return only_x(in.c1 ? in.c2 ? in.a : in.b : in.d); }},
      {"x += c ? a : b", expression({"x", "+=", "c", "?", "a", ":", "b"}),
       [](const Inputs& in) { return only_x(in.x + (in.c ? in.a : in.b)); }},
      {"x = y = c ? a : b", expression({"x", "=", "y", "=", "c", "?", "a", ":", "b"}),
       [](const Inputs& in) {
         const auto value = static_cast<std::int16_t>(in.c ? in.a : in.b);
         return Outputs{value, value};
       }},
      {"x = (c ? a : b) + 1", expression({"x", "=", "(", "c", "?", "a", ":", "b", ")", "+", ONE}),
       [](const Inputs& in) { return only_x((in.c ? in.a : in.b) + 1); }},
      {"x = a < b ? c : d", expression({"x", "=", "a", "<", "b", "?", "c", ":", "d"}),
       [](const Inputs& in) { return only_x(in.a < in.b ? in.c : in.d); }},
      // The bracket leaves 0 or 1 in A, which the "?" compares in place.
      {"x = (a < b) ? c : d", expression({"x", "=", "(", "a", "<", "b", ")", "?", "c", ":", "d"}),
       [](const Inputs& in) { return only_x(in.a < in.b ? in.c : in.d); }},
  };
  expect_values(cases);
}

// A bracket that opens in an else part must not lose the jump over that else part, wherever
// the bracket stands and whatever it holds.
TEST_F(ConditionalValues, BracketsInAnElsePartKeepTheJumpOverIt) {
  const Simulated cases[] = {
      {"x = c ? a : (b)", expression({"x", "=", "c", "?", "a", ":", "(", "b", ")"}),
       [](const Inputs& in) { return only_x(in.c ? in.a : in.b); }},
      {"x = c ? a : (b + 1)", expression({"x", "=", "c", "?", "a", ":", "(", "b", "+", ONE, ")"}),
       [](const Inputs& in) { return only_x(in.c ? in.a : in.b + 1); }},
      {"x = c ? a : arr[i]", expression({"x", "=", "c", "?", "a", ":", "arr", "[", "i", "]"}),
       [](const Inputs& in) { return only_x(in.c ? in.a : ARR_1); }},
      {"x = c ? a : (b < d)", expression({"x", "=", "c", "?", "a", ":", "(", "b", "<", "d", ")"}),
       [](const Inputs& in) { return only_x(in.c ? in.a : in.b < in.d); }},
      {"x = c ? a : (b && c2)", expression({"x", "=", "c", "?", "a", ":", "(", "b", "&&", "c2", ")"}),
       [](const Inputs& in) { return only_x(in.c ? in.a : in.b && in.c2); }},
      {"x = c1 ? a : (c2 ? b : d)", expression({"x", "=", "c1", "?", "a", ":", "(", "c2", "?", "b", ":", "d", ")"}),
       [](const Inputs& in) { return only_x(in.c1 ? in.a : in.c2 ? in.b : in.d); }},
      {"x = c1 ? a : c2 ? b : (d + 1)",
       expression({"x", "=", "c1", "?", "a", ":", "c2", "?", "b", ":", "(", "d", "+", ONE, ")"}),
       [](const Inputs& in) { return only_x(in.c1 ? in.a : in.c2 ? in.b : in.d + 1); }},
      {"x = c1 ? (c2 ? a : b) : (d + 1)",
       expression({"x", "=", "c1", "?", "(", "c2", "?", "a", ":", "b", ")", ":", "(", "d", "+", ONE, ")"}),
       [](const Inputs& in) { return only_x(in.c1 ? (in.c2 ? in.a : in.b) : in.d + 1); }},
      {"x = (c1 ? a : (c2 ? b : d)) + 1",
       expression({"x", "=", "(", "c1", "?", "a", ":", "(", "c2", "?", "b", ":", "d", ")", ")", "+", ONE}),
       [](const Inputs& in) { return only_x((in.c1 ? in.a : in.c2 ? in.b : in.d) + 1); }},
  };
  expect_values(cases);
}

}  // namespace
}  // namespace tarvik::test
