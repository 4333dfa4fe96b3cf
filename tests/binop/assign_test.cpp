#include <functional>
#include <string_view>

#include "operand/operand.h"
#include "stmt/stmt.h"
#include "support/binop_support.h"

namespace tarvik::test {
namespace {

// The objects that the pointer cells at P and Q point at.
constexpr std::int32_t AT_P = 0x010080, AT_Q = 0x010088;

constexpr OperandDescriptor via(int kind, std::int32_t pointer) { return operand(kind, pointer); }

// One "=" operation of the generator, as the assignment step must call it.
void copy(OperandDescriptor target, OperandDescriptor source) { call(0, target, "=", source); }

ByteArray token(OperandDescriptor d) { return Piece(d).bytes; }

ByteArray with_pad(const ByteArray& text) { return text + ByteArray(REWRITE_PAD); }

class AssignmentStep : public ReductionTest {
 protected:
  void point_cells() {
    sim.set_bytes(P, AT_P, 3);
    sim.set_bytes(Q, AT_Q, 3);
  }
  // The step on a text as given, without a reduction before it.
  StatusText assign_on(const ByteArray& reduced) {
    g_reduced_expression = reduced;
    first_word = g_rom_word_count;
    return assign();
  }
};

TEST_F(AssignmentStep, TextWithoutAssignmentOnlyGetsThePad) {
  g_register_a_state = Text(REG_A_UNSIGNED);
  ASSERT_EQ(reduce({u8(X)}), STATUS_DONE);
  EXPECT_EQ(assign(), STATUS_DONE);
  EXPECT_EQ(g_reduced_expression, with_pad(level_text({u8(X)})));
  EXPECT_EQ(emitted_count(), 0);
  EXPECT_EQ(g_register_a_state, REG_A_UNSIGNED);
}

TEST_F(AssignmentStep, CharFromCharGoesThroughAAndLeavesTheTarget) {
  ASSERT_EQ(reduce({u8(X), "=", u8(Y)}), STATUS_DONE);
  EXPECT_EQ(assign(), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([] { copy(REG_A, u8(Y)), copy(u8(X), A_UNSIGNED); }));
  EXPECT_EQ(items_of(g_reduced_expression), items({u8(X)}));
  EXPECT_EQ(g_register_a_state, REG_A_FREE);
  sim.ram(Y) = 0x9C;
  run();
  EXPECT_EQ(sim.ram(X), 0x9C);
}

TEST_F(AssignmentStep, CallingAgainOnlyAppendsAnotherPad) {
  ASSERT_EQ(reduce({u8(X), "=", u8(Y)}), STATUS_DONE);
  ASSERT_EQ(assign(), STATUS_DONE);
  const ByteArray once = g_reduced_expression;
  const std::int32_t words = g_rom_word_count;
  EXPECT_EQ(assign(), STATUS_DONE);
  EXPECT_EQ(g_reduced_expression, with_pad(once));
  EXPECT_EQ(g_rom_word_count, words);
}

// The source is prepared by the two tables, then stored; the target's own token stays.
TEST_F(AssignmentStep, CommonPairsCallTheGeneratorInOrder) {
  const struct {
    const char* what;
    OperandDescriptor x, y;
    std::function<void()> calls;
    std::int32_t temporaries;
  } pairs[] = {
      {"char from signed char", u8(X), s8(Y), [] { copy(REG_A, s8(Y)), copy(u8(X), A_SIGNED); }, 0},
      {"char from int", s8(X), s16(Y), [] { copy(REG_A, s16(Y)), copy(s8(X), REG_A); }, 0},
      {"char from long", u8(X), u32(Y), [] { copy(REG_A, u32(Y)), copy(u8(X), REG_A); }, 0},
      {"char from address value", u8(X), addr(Y), [] { copy(REG_A, addr(Y)), copy(u8(X), REG_A); }, 0},
      {"char from pointer", u8(X), operand(OPERAND_KIND_INT_PTR, Y),
       [] { copy(REG_A, addr(Y)), copy(u8(X), REG_A); }, 0},
      {"char from int through a pointer", u8(X), via(OPERAND_KIND_INT_VIA_PTR, P),
       [] { copy(u16(T), via(OPERAND_KIND_INT_VIA_PTR, P)), copy(REG_A, s16(T)), copy(u8(X), REG_A); }, 2},
      {"char through a pointer from long through a pointer", via(OPERAND_KIND_UCHAR_VIA_PTR, P),
       via(OPERAND_KIND_ULONG_VIA_PTR, Q),
       [] {
         copy(u32(T), via(OPERAND_KIND_ULONG_VIA_PTR, Q)), copy(REG_A, u32(T));
         copy(via(OPERAND_KIND_UCHAR_VIA_PTR, P), REG_A);
       },
       4},
      {"int from int through a pointer", s16(X), via(OPERAND_KIND_INT_VIA_PTR, P),
       [] { copy(s16(X), via(OPERAND_KIND_INT_VIA_PTR, P)); }, 0},
      {"int through a pointer from char", via(OPERAND_KIND_INT_VIA_PTR, P), s8(Y),
       [] { copy(REG_A, s8(Y)), copy(u16(T), A_SIGNED), copy(via(OPERAND_KIND_INT_VIA_PTR, P), u16(T)); }, 2},
      {"long through a pointer from int", via(OPERAND_KIND_LONG_VIA_PTR, P), s16(Y),
       [] { copy(u32(T), s16(Y)), copy(via(OPERAND_KIND_LONG_VIA_PTR, P), u32(T)); }, 4},
      {"long through a pointer from char through a pointer", via(OPERAND_KIND_ULONG_VIA_PTR, P),
       via(OPERAND_KIND_CHAR_VIA_PTR, Q),
       [] {
         copy(REG_A, via(OPERAND_KIND_CHAR_VIA_PTR, Q)), copy(u32(T), A_SIGNED);
         copy(via(OPERAND_KIND_ULONG_VIA_PTR, P), u32(T));
       },
       4},
      {"pointer from pointer", operand(OPERAND_KIND_CHAR_PTR, X), operand(OPERAND_KIND_UCHAR_PTR, Y),
       [] { copy(addr(X), addr(Y)); }, 0},
      {"register A from char", REG_A, u8(Y), [] { copy(REG_A, u8(Y)); }, 0},
      {"register B from char", REG_B, s8(Y), [] { copy(REG_B, s8(Y)); }, 0},
      {"int from constant", s16(X), operand(OPERAND_KIND_CONSTANT, 1), [] { copy(s16(X), operand(OPERAND_KIND_CONSTANT, 1)); },
       0},
  };
  for (const auto& pair : pairs) {
    SCOPED_TRACE(pair.what);
    fresh();
    ASSERT_EQ(reduce({pair.x, "=", pair.y}), STATUS_DONE);
    EXPECT_EQ(assign(), STATUS_DONE);
    EXPECT_EQ(emitted(), words_of(pair.calls));
    EXPECT_EQ(g_temp_ram_next - T, pair.temporaries);
    EXPECT_EQ(items_of(g_reduced_expression), items({pair.x}));
  }
}

TEST_F(AssignmentStep, WideningAndNarrowingKeepTheValue) {
  const struct {
    const char* what;
    OperandDescriptor x;
    std::int32_t x_at;
    int x_width;
    OperandDescriptor y;
    std::int32_t y_at;
    int y_width;
    std::uint32_t value, expected;
  } pairs[] = {
      {"int from signed char", s16(X), X, 2, s8(Y), Y, 1, 0x9C, 0xFF9C},
      {"unsigned int from unsigned char", u16(X), X, 2, u8(Y), Y, 1, 0x9C, 0x009C},
      {"long from int", s32(X), X, 4, s16(Y), Y, 2, 0x8001, 0xFFFF8001},
      {"long from unsigned int", s32(X), X, 4, u16(Y), Y, 2, 0x8001, 0x00008001},
      {"long from signed char", s32(X), X, 4, s8(Y), Y, 1, 0x80, 0xFFFFFF80},
      {"char from long", u8(X), X, 1, s32(Y), Y, 4, 0x12345678, 0x78},
      {"int through a pointer from char", via(OPERAND_KIND_INT_VIA_PTR, P), AT_P, 2, s8(Y), Y, 1, 0x9C, 0xFF9C},
      {"long through a pointer from int", via(OPERAND_KIND_LONG_VIA_PTR, P), AT_P, 4, s16(Y), Y, 2, 0x8001,
       0xFFFF8001},
      {"long through a pointer from char through a pointer", via(OPERAND_KIND_LONG_VIA_PTR, P), AT_P, 4,
       via(OPERAND_KIND_CHAR_VIA_PTR, Q), AT_Q, 1, 0x9C, 0xFFFFFF9C},
      {"int from unsigned int through a pointer", s16(X), X, 2, via(OPERAND_KIND_UINT_VIA_PTR, Q), AT_Q, 2, 0xBEEF,
       0xBEEF},
      {"long from int through a pointer", s32(X), X, 4, via(OPERAND_KIND_INT_VIA_PTR, Q), AT_Q, 2, 0x8001, 0xFFFF8001},
  };
  for (const auto& pair : pairs) {
    SCOPED_TRACE(pair.what);
    fresh();
    point_cells();
    sim.set_bytes(pair.y_at, pair.value, pair.y_width);
    ASSERT_EQ(reduce({pair.x, "=", pair.y}), STATUS_DONE);
    ASSERT_EQ(assign(), STATUS_DONE);
    run();
    EXPECT_EQ(sim.read_bytes(pair.x_at, pair.x_width), pair.expected);
  }
}

// A value pending in A is stored before the assignment: its token, in the level text or in
// the whole expression, becomes a 1-byte temporary.
TEST_F(AssignmentStep, PendingValueInAIsSpilledFirst) {
  const struct {
    const char* what;
    std::string_view state, place;
    OperandDescriptor spilled_as;
  } cases[] = {
      {"unsigned, in the level text", REG_A_UNSIGNED, TOKEN_IN_SUBEXPRESSION, u8(T)},
      {"signed, in the whole expression", REG_A_SIGNED, TOKEN_IN_MAIN_EXPRESSION, s8(T)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    const bool in_level = c.place == TOKEN_IN_SUBEXPRESSION;
    g_expression_text = level_text({A_SIGNED});
    ASSERT_EQ(in_level ? reduce({A_UNSIGNED, u8(X), "=", u8(Y)}) : reduce({u8(X), "=", u8(Y)}), STATUS_DONE);
    pending_a(c.state, c.place, 0);
    EXPECT_EQ(assign(), STATUS_DONE);
    EXPECT_EQ(emitted(), words_of([] { copy(u8(T), REG_A), copy(REG_A, u8(Y)), copy(u8(X), A_UNSIGNED); }));
    EXPECT_EQ(read_operand_token(in_level ? g_reduced_expression : g_expression_text, 0), c.spilled_as);
    EXPECT_EQ(g_temp_ram_next, T + 1);
    EXPECT_EQ(g_register_a_state, REG_A_FREE);
  }
}

TEST_F(AssignmentStep, ValueInAIsStoredWithoutSpill) {
  ASSERT_EQ(reduce({s8(X), "=", A_SIGNED}), STATUS_DONE);
  pending_a(REG_A_SIGNED, TOKEN_IN_SUBEXPRESSION, 11);
  EXPECT_EQ(assign(), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([] { copy(s8(X), A_SIGNED); }));
  EXPECT_EQ(g_temp_ram_next, T);
  EXPECT_EQ(g_register_a_state, REG_A_FREE);
}

TEST_F(AssignmentStep, ChainedAssignmentsCompileRightToLeft) {
  ASSERT_EQ(reduce({u8(X), "=", u8(Y), "=", u8(Z)}), STATUS_DONE);
  EXPECT_EQ(assign(), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([] {
              copy(REG_A, u8(Z)), copy(u8(Y), A_UNSIGNED);
              copy(REG_A, u8(Y)), copy(u8(X), A_UNSIGNED);
            }));
  EXPECT_EQ(items_of(g_reduced_expression), items({u8(X)}));
  sim.ram(Z) = 0x5B;
  run();
  EXPECT_EQ(sim.ram(X), 0x5B);
  EXPECT_EQ(sim.ram(Y), 0x5B);
}

// X op= Y is rewritten into X = X op Y where Y stood; a refused operation shows the layout.
TEST_F(AssignmentStep, CompoundRewriteLayout) {
  const OperandDescriptor tx = operand(OPERAND_KIND_CONDITION, X), ty = operand(OPERAND_KIND_CONDITION, Y);
  const struct {
    const char* op;
    ByteArray rewritten;
    std::string_view error;
  } cases[] = {
      {"<<=", token(tx) + "     =   " + token(tx) + "<<" + token(ty) + "    ", STATUS_SHIFT_OPERAND_ERROR},
      {"+=", token(tx) + "    =   " + token(tx) + "+" + token(ty) + "     ", STATUS_ADDITIVE_OPERAND_ERROR},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.op);
    fresh();
    ASSERT_EQ(reduce({tx, c.op, ty}), STATUS_DONE);
    EXPECT_EQ(assign(), c.error);
    EXPECT_EQ(g_reduced_expression, c.rewritten);
  }
}

TEST_F(AssignmentStep, ErrorsArePassedUpWithTheTextAsItStands) {
  const struct {
    const char* what;
    ByteArray text;
    std::string_view error;
    const char* items;
  } cases[] = {
      {"a store the generator refuses", level_text({u8(X), "=", COND}), STATUS_BINOP_ASSIGN_CHAR_TYPE_ERROR,
       "80010020 = E7000000"},
      {"no target before =", level_text({"=", u8(Y)}), STATUS_BINOP_ASSIGN_OTHER_TYPE_ERROR, "= 80010030"},
      {"no target before +=", level_text({"+=", u8(Y)}), STATUS_UNRECOGNISED_SYMBOL, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    EXPECT_EQ(assign_on(c.text), c.error);
    if (*c.items != '\0') {
      EXPECT_EQ(items_of(g_reduced_expression), c.items);
    }
  }
}

// Nothing to the right of an operator, or no token there, is a symbol error, never a read
// past the text or a success that compiled nothing.
TEST_F(AssignmentStep, OperatorWithoutRightOperandIsRejected) {
  const ByteArray cut_short = token(u8(X)) + "   <<= " + token(u8(Y)).substr(0, 1);
  const struct {
    const char* what;
    ByteArray text;
  } cases[] = {
      {"= and blanks", level_text({u8(X), "="})},
      {"+= and blanks", level_text({u8(X), "+="})},
      {"= = y", level_text({u8(X), "=", "=", u8(Y)})},
      {"a stray ;", level_text({u8(X), "=", u8(Y), ";"})},
      {"a token cut short at the end", cut_short},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    EXPECT_EQ(assign_on(c.text), STATUS_ASSIGNMENT_UNRECOGNISED_SYMBOL);
    EXPECT_EQ(g_reduced_expression, with_pad(c.text));
    EXPECT_EQ(emitted_count(), 0);
  }
}

// Compound assignments compile through the operator groups; their values on the CPU.
TEST_F(AssignmentStep, CompoundAssignmentsComputeTheirValues) {
  const struct {
    const char* what;
    int width;
    std::uint32_t x, y, expected;
    const char* op;
    bool y_times_two;
  } cases[] = {
      {"x %= 7", 2, 100, 7, 2, "%=", false},
      {"x += y * 2", 2, 1000, 300, 1600, "+=", true},
      {"x -= y", 4, 70000, 70001, 0xFFFFFFFF, "-=", false},
      {"x <<= y", 1, 0x13, 3, 0x98, "<<=", false},
      {"x >>= y", 2, 0xFFC0, 2, 0xFFF0, ">>=", false},
      {"x ^= y", 2, 0x0FF0, 0x3C3C, 0x33CC, "^=", false},
      {"x *= y", 1, 12, 11, 132, "*=", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    const OperandDescriptor x = variable(c.width, X, true), y = variable(c.width, Y, true);
    sim.set_bytes(X, c.x, c.width);
    sim.set_bytes(Y, c.y, c.width);
    const StatusText reduced = c.op == std::string_view("%=") ? reduce({x, c.op, constant(static_cast<std::int32_t>(c.y))})
                               : c.y_times_two                ? reduce({x, c.op, y, "*", constant(2)})
                                                              : reduce({x, c.op, y});
    ASSERT_EQ(reduced, STATUS_DONE);
    ASSERT_EQ(assign(), STATUS_DONE);
    EXPECT_EQ(items_of(g_reduced_expression), items({x}));
    EXPECT_EQ(g_register_a_state, REG_A_FREE);
    run();
    EXPECT_EQ(sim.read_bytes(X, c.width), c.expected);
  }
}

TEST_F(AssignmentStep, NestedCompoundAssignmentsCompileRightToLeft) {
  const OperandDescriptor a = s16(X), b = s16(Y), c = s16(Z);
  sim.set_bytes(X, 1000, 2), sim.set_bytes(Y, 300, 2), sim.set_bytes(Z, 45, 2);
  ASSERT_EQ(reduce({a, "+=", b, "-=", c}), STATUS_DONE);
  ASSERT_EQ(assign(), STATUS_DONE);
  EXPECT_EQ(items_of(g_reduced_expression), items({a}));
  run();
  EXPECT_EQ(sim.read_bytes(Y, 2), 255u);
  EXPECT_EQ(sim.read_bytes(X, 2), 1255u);
}

}  // namespace
}  // namespace tarvik::test
