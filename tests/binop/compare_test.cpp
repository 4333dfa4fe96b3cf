#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "isa/isa.h"
#include "operand/operand.h"
#include "stmt/stmt.h"
#include "support/binop_support.h"

namespace tarvik::test {
namespace {

constexpr std::int32_t A_AT = 0x010020, B_AT = 0x010022, C_AT = 0x010024, X_AT = 0x010026, I_AT = 0x010028;
constexpr std::int32_t CH_AT = 0x01002A, U_AT = 0x01002B, UI_AT = 0x01002C, UL_AT = 0x010030;
constexpr std::int32_t P_AT = 0x010034, Q_AT = 0x010038, R_AT = 0x01003C, BUF_AT = 0x010040;

// a, b, c, x and i are ints, ch a char, u an unsigned char, ui an unsigned int, ul an
// unsigned long; p and q point to chars, r to an int; buf is a char array.
constexpr OperandDescriptor a = s16(A_AT), b = s16(B_AT), c = s16(C_AT), x = s16(X_AT), i = s16(I_AT);
constexpr OperandDescriptor ch = s8(CH_AT), u = u8(U_AT), ui = u16(UI_AT), ul = u32(UL_AT);
constexpr OperandDescriptor p = operand(OPERAND_KIND_CHAR_PTR, P_AT), q = operand(OPERAND_KIND_CHAR_PTR, Q_AT);
constexpr OperandDescriptor buf = operand(OPERAND_KIND_CHAR_ARRAY, BUF_AT);
constexpr OperandDescriptor star_p = operand(OPERAND_KIND_CHAR_VIA_PTR, P_AT), star_q = operand(OPERAND_KIND_CHAR_VIA_PTR, Q_AT);
constexpr OperandDescriptor star_up = operand(OPERAND_KIND_UCHAR_VIA_PTR, P_AT), star_uq = operand(OPERAND_KIND_UCHAR_VIA_PTR, Q_AT);
constexpr OperandDescriptor star_r = operand(OPERAND_KIND_INT_VIA_PTR, R_AT);
constexpr OperandDescriptor RAM = operand(OPERAND_KIND_RAM, 0), AH = operand(OPERAND_KIND_AH, 0);

// A condition or a value in A standing where the token at `at` stood.
constexpr OperandDescriptor cond(std::int32_t at) { return operand(OPERAND_KIND_CONDITION, at); }
constexpr OperandDescriptor in_a(std::int32_t at) { return operand(OPERAND_KIND_A_SIGNED, at); }

// The condition turned into 0 or 1 in A.
void convert() { call(0, REG_A, "=", COND); }

// A level text, the words its reduction emits and what is left of it. A value left in A is
// tracked at `a_token_at`; -1 means A is free.
struct Reduced {
  const char* what;
  ByteArray level;
  std::function<void()> words;
  ByteArray left;
  std::int32_t a_token_at = -1;
};

class ComparisonGroup : public ReductionTest {
 protected:
  void expect_reduced(std::span<const Reduced> cases) {
    for (const Reduced& r : cases) {
      SCOPED_TRACE(r.what);
      g_temp_ram_next = T;
      g_register_a_state = Text(REG_A_FREE);
      ASSERT_EQ(reduce_text(r.level), STATUS_DONE);
      EXPECT_EQ(emitted(), words_of(r.words));
      EXPECT_EQ(items_of(text), items_of(r.left));
      if (r.a_token_at < 0) {
        EXPECT_EQ(g_register_a_state, REG_A_FREE);
      } else {
        EXPECT_EQ(g_register_a_state, REG_A_SIGNED);
        EXPECT_EQ(g_register_a_token_place, TOKEN_IN_SUBEXPRESSION);
        EXPECT_EQ(g_register_a_token_pos, r.a_token_at);
      }
    }
  }
};

// Pass 3 goes left to right over both groups, "==" and "!=" wait for pass 4; a comparison
// inside a larger text becomes 0 or 1 in A, which the next comparison takes without a spill.
TEST_F(ComparisonGroup, ReducesInPassOrderAndLeavesAConditionOnlyForTheWholeText) {
  const Reduced cases[] = {
      {"a == b", level_text({a, "==", b}), [] { call(COND, a, "==", b); }, level_text({cond(A_AT)})},
      {"a > b", level_text({a, ">", b}), [] { call(COND, a, ">", b); }, level_text({cond(A_AT)})},
      {"x = a == b", level_text({x, "=", a, "==", b}), [] { call(COND, a, "==", b), convert(); },
       level_text({x, "=", in_a(A_AT)}), 11},
      {"x = a > b", level_text({x, "=", a, ">", b}), [] { call(COND, a, ">", b), convert(); },
       level_text({x, "=", in_a(A_AT)}), 11},
      {"a < b >= c: a < b first", level_text({a, "<", b, ">=", c}),
       [] { call(COND, a, "<", b), convert(), call(0, u16(T), "=", in_a(A_AT)), call(COND, s16(T), ">=", c); },
       level_text({cond(A_AT)})},
      {"a == b < c: b < c first", level_text({a, "==", b, "<", c}),
       [] { call(COND, b, "<", c), convert(), call(0, u16(T), "=", in_a(B_AT)), call(COND, a, "==", s16(T)); },
       level_text({cond(A_AT)})},
      {"a >= b == c", level_text({a, ">=", b, "==", c}),
       [] { call(COND, a, ">=", b), convert(), call(0, u16(T), "=", in_a(A_AT)), call(COND, s16(T), "==", c); },
       level_text({cond(A_AT)})},
      {"a == b != c", level_text({a, "==", b, "!=", c}),
       [] { call(COND, a, "==", b), convert(), call(0, u16(T), "=", in_a(A_AT)), call(COND, s16(T), "!=", c); },
       level_text({cond(A_AT)})},
      {"x = a < b > c", level_text({x, "=", a, "<", b, ">", c}),
       [] {
         call(COND, a, "<", b), convert(), call(0, u16(T), "=", in_a(A_AT)), call(COND, s16(T), ">", c), convert();
       },
       level_text({x, "=", in_a(A_AT)}), 11},
      {"_A == _B", level_text({REG_A, "==", REG_B}), [] { call(COND, REG_A, "==", REG_B); }, level_text({cond(0)})},
      {"_B == _A", level_text({REG_B, "==", REG_A}), [] { call(COND, REG_B, "==", REG_A); }, level_text({cond(0)})},
      {"_A > _B", level_text({REG_A, ">", REG_B}), [] { call(COND, REG_A, ">", REG_B); }, level_text({cond(0)})},
      {"_B < _A", level_text({REG_B, "<", REG_A}), [] { call(COND, REG_B, "<", REG_A); }, level_text({cond(0)})},
  };
  expect_reduced(cases);
}

// A char, int or A value that the constant does not fit is widened into a signed temporary;
// of two operands of different widths the narrower one is (a char through A).
TEST_F(ComparisonGroup, WidensForConstantsAndForTheWiderOperand) {
  const OperandDescriptor k300 = constant(300), k100 = constant(100), k_100 = constant(-100), k255 = constant(255),
                          k256 = constant(256), k_1 = constant(-1);
  const Reduced cases[] = {
      {"ch == 300", level_text({ch, "==", k300}), [=] { call(0, u16(T), "=", ch), call(COND, s16(T), "==", k300); },
       level_text({cond(CH_AT)})},
      {"ch == 100", level_text({ch, "==", k100}), [=] { call(COND, ch, "==", k100); }, level_text({cond(CH_AT)})},
      {"ch == -100", level_text({ch, "==", k_100}), [=] { call(COND, ch, "==", k_100); }, level_text({cond(CH_AT)})},
      {"ch == 255", level_text({ch, "==", k255}), [=] { call(0, u16(T), "=", ch), call(COND, s16(T), "==", k255); },
       level_text({cond(CH_AT)})},
      {"u == 255", level_text({u, "==", k255}), [=] { call(COND, u, "==", k255); }, level_text({cond(U_AT)})},
      {"u == 256", level_text({u, "==", k256}), [=] { call(0, u16(T), "=", u), call(COND, s16(T), "==", k256); },
       level_text({cond(U_AT)})},
      {"u > 300", level_text({u, ">", k300}), [=] { call(0, u16(T), "=", u), call(COND, s16(T), ">", k300); },
       level_text({cond(U_AT)})},
      {"u >= -1", level_text({u, ">=", k_1}), [=] { call(0, u32(T), "=", u), call(COND, s32(T), ">=", k_1); },
       level_text({cond(U_AT)})},
      {"-1 < u", level_text({k_1, "<", u}), [=] { call(0, u32(T), "=", u), call(COND, k_1, "<", s32(T)); },
       level_text({cond(k_1)})},
      {"ul > -1", level_text({ul, ">", k_1}), [=] { call(COND, ul, ">", k_1); }, level_text({cond(UL_AT)})},
      {"ui == ch", level_text({ui, "==", ch}),
       [] { emit_load_a(CH_AT), call(0, u16(T), "=", A_SIGNED), call(COND, ui, "==", s16(T)); },
       level_text({cond(UI_AT)})},
      {"i > u", level_text({i, ">", u}),
       [] { emit_load_a(U_AT), call(0, u16(T), "=", A_UNSIGNED), call(COND, i, ">", s16(T)); },
       level_text({cond(I_AT)})},
      {"ch > u", level_text({ch, ">", u}), [] { call(COND, ch, ">", u); }, level_text({cond(CH_AT)})},
  };
  expect_reduced(cases);
}

// Pointers compare as 4-byte unsigned copies of their addresses; values through a pointer
// are loaded, and an A value that the load would overwrite is stored first.
TEST_F(ComparisonGroup, CopiesPointersAndLoadsValuesThroughThem) {
  const OperandDescriptor k0 = constant(0);
  const Reduced cases[] = {
      {"p == q", level_text({p, "==", q}),
       [] {
         call(0, u32(T), "=", addr(P_AT)), call(0, u32(T + 4), "=", addr(Q_AT));
         call(COND, u32(T), "==", u32(T + 4));
       },
       level_text({cond(P_AT)})},
      {"p == 0", level_text({p, "==", k0}), [=] { call(0, u32(T), "=", addr(P_AT)), call(COND, u32(T), "==", k0); },
       level_text({cond(P_AT)})},
      {"p != buf", level_text({p, "!=", buf}), [] { call(0, u32(T), "=", addr(P_AT)), call(COND, u32(T), "!=", buf); },
       level_text({cond(P_AT)})},
      {"buf < p", level_text({buf, "<", p}), [] { call(0, u32(T), "=", addr(P_AT)), call(COND, buf, "<", u32(T)); },
       level_text({cond(BUF_AT)})},
      {"ch == p: ch widened to the copy's width", level_text({ch, "==", p}),
       [] {
         call(0, u32(T), "=", addr(P_AT)), emit_load_a(CH_AT), call(0, u32(T + 4), "=", A_SIGNED);
         call(COND, s32(T + 4), "==", u32(T));
       },
       level_text({cond(CH_AT)})},
      {"*p == ch", level_text({star_p, "==", ch}),
       [] { call(0, A_UNSIGNED, "=", star_p), call(COND, A_SIGNED, "==", ch); }, level_text({cond(P_AT)})},
      {"*p == *q: *p set aside as a char", level_text({star_p, "==", star_q}),
       [] {
         call(0, A_UNSIGNED, "=", star_p), call(0, u8(T), "=", A_SIGNED), call(0, A_UNSIGNED, "=", star_q);
         call(COND, s8(T), "==", A_SIGNED);
       },
       level_text({cond(P_AT)})},
      {"*p > *q to unsigned chars: *p set aside unsigned", level_text({star_up, ">", star_uq}),
       [] {
         call(0, A_UNSIGNED, "=", star_up), call(0, u8(T), "=", A_UNSIGNED), call(0, A_UNSIGNED, "=", star_uq);
         call(COND, u8(T), ">", A_UNSIGNED);
       },
       level_text({cond(P_AT)})},
      {"A value == *r", level_text({A_SIGNED, "==", star_r}),
       [] { call(0, s16(T), "=", A_SIGNED), call(0, u16(T + 2), "=", star_r), call(COND, s16(T), "==", s16(T + 2)); },
       level_text({cond(0)})},
      {"A value > p: the A value stored before the copy", level_text({A_SIGNED, ">", p}),
       [] {
         call(0, s32(T), "=", A_SIGNED), call(0, u32(T + 4), "=", addr(P_AT));
         call(COND, s32(T), ">", u32(T + 4));
       },
       level_text({cond(0)})},
      {"p < A value: the A value stored before the copy", level_text({p, "<", A_UNSIGNED}),
       [] {
         call(0, s32(T), "=", A_UNSIGNED), call(0, u32(T + 4), "=", addr(P_AT)), call(COND, u32(T + 4), "<", s32(T));
       },
       level_text({cond(P_AT)})},
  };
  expect_reduced(cases);
}

// Two constants compare signed at 32 bits into a new constant, also as the whole text.
TEST_F(ComparisonGroup, FoldsTwoConstants) {
  const Fold folds[] = {
      {3, ">=", 2, 1}, {-5, "<=", 3, 1}, {2, "==", 3, 0}, {2, "!=", 3, 1},          {3, ">", 2, 1},
      {2, ">", 1, 1},  {2, ">", 3, 0},   {-1, "<", 0, 1}, {5, "<", 5, 0}, {INT32_MIN, "<", INT32_MAX, 1},
  };
  expect_folds(folds);
}

TEST_F(ComparisonGroup, FoldIntoAFullConstantTableThrows) { expect_full_table_fold_throws(3, ">", 2); }

// Nothing is emitted or blanked; flags pass the two-character group only, and the generator
// refuses them for ">=" and "<=".
TEST_F(ComparisonGroup, RefusesOtherOperands) {
  const OperandDescriptor k0 = constant(0), k1 = constant(1);
  const std::string_view TWO = STATUS_TWO_CHAR_COMPARE_OPERAND_ERROR, ONE = STATUS_GT_LT_OPERAND_ERROR;
  const RefusedText cases[] = {
      {"_A == 0", level_text({REG_A, "==", k0}), TWO},
      {"_A == _A", level_text({REG_A, "==", REG_A}), TWO},
      {"_RAM == 1", level_text({RAM, "==", k1}), TWO},
      {"buf == 0", level_text({buf, "==", k0}), TWO},
      {"buf != buf", level_text({buf, "!=", buf}), TWO},
      {"an address value == 1", level_text({addr(0x010000), "==", k1}), TWO},
      {"_A2 <= 1", level_text({operand(OPERAND_KIND_A2, 0), "<=", k1}), TWO},
      {"_AH >= 0", level_text({AH, ">=", k0}), STATUS_BINOP_NON_STRICT_TYPE_ERROR},
      {"_AH > 0", level_text({AH, ">", k0}), ONE},
      {"_A > 1", level_text({REG_A, ">", k1}), ONE},
      {"_RAM > 1", level_text({RAM, ">", k1}), ONE},
      {"buf > 0", level_text({buf, ">", k0}), ONE},
      {"two A values", level_text({A_SIGNED, "<", A_UNSIGNED}), ONE},
      {"a condition > 1", level_text({COND, ">", k1}), ONE},
      {"no token after ==", level_text({a, "==", "="}), TWO},
      {"no token after >", level_text({a, ">", "="}), ONE},
      {"nothing after ==", level_text({a, "=="}), TWO},
      {"nothing after >", level_text({a, ">"}), ONE},
  };
  expect_texts_refused(cases);
}

TEST_F(ComparisonGroup, FlagEqualityReachesTheGenerator) {
  const OperandDescriptor k0 = constant(0);
  ASSERT_EQ(reduce({AH, "==", k0}), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([=] { call(COND, AH, "==", k0); }));
  EXPECT_EQ(items_of(text), items({cond(0)}));
}

TEST_F(ComparisonGroup, SpillsAPendingValueBeforeTheComparison) {
  g_expression_text = level_text({x, "=", A_SIGNED});
  pending_a(REG_A_SIGNED, TOKEN_IN_MAIN_EXPRESSION, 11);
  ASSERT_EQ(reduce({a, "==", b}), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([] { emit_store_a(T), call(COND, a, "==", b); }));
  EXPECT_EQ(read_operand_token(g_expression_text, 11), s8(T));
  EXPECT_EQ(g_temp_ram_next, T + 1);
  EXPECT_EQ(g_register_a_state, REG_A_FREE);
}

// What the comparisons compute, as the whole text (a condition) and as x = L op R (A).
TEST_F(ComparisonGroup, ComparesWithTheTypeRulesOnTheSimulator) {
  // An operand with its value: a constant, or the bytes at a variable's address.
  struct Side {
    OperandDescriptor operand;
    std::uint32_t value;
  };
  constexpr OperandDescriptor K = operand(OPERAND_KIND_CONSTANT, 0);
  const struct {
    const char* what;
    Side l;
    const char* op;
    Side r;
    bool holds;
  } cases[] = {
      {"i = -1 > u = 200: signed", {i, 0xFFFF}, ">", {u, 200}, false},
      {"ch = -1 > u = 1: one unsigned byte", {ch, 0xFF}, ">", {u, 1}, true},
      {"u = 0 > -1", {u, 0}, ">", {K, 0xFFFFFFFF}, true},
      {"u = 255 > -1", {u, 255}, ">", {K, 0xFFFFFFFF}, true},
      {"ul = 0 > -1", {ul, 0}, ">", {K, 0xFFFFFFFF}, false},
      {"ul = 0xFFFFFFFF > -1", {ul, 0xFFFFFFFF}, ">", {K, 0xFFFFFFFF}, false},
      {"ch = 44 == 300: widened", {ch, 44}, "==", {K, 300}, false},
      {"ui = 1 > ch = -1: unsigned", {ui, 1}, ">", {ch, 0xFF}, false},
      {"p == q", {p, 0x012345}, "==", {q, 0x012345}, true},
      {"p = 0x800000 > q = 0x7FFFFF", {p, 0x800000}, ">", {q, 0x7FFFFF}, true},
  };
  const auto place = [this](const Side& side) {
    const int kind = get_operand_kind(side.operand);
    if (is_constant(kind)) return constant(static_cast<std::int32_t>(side.value));
    sim.set_bytes(side.operand & 0xFFFFFF, side.value, is_pointer(kind) ? 3 : variable_width(kind));
    return side.operand;
  };
  for (const auto& t : cases) {
    for (const bool whole : {true, false}) {
      SCOPED_TRACE(testing::Message() << t.what << (whole ? ", whole text" : ", x = ..."));
      fresh();
      const OperandDescriptor l = place(t.l), r = place(t.r);
      if (whole) {
        ASSERT_EQ(reduce({l, t.op, r}), STATUS_DONE);
        EXPECT_EQ(condition_held(), t.holds);
      } else {
        ASSERT_EQ(reduce({x, "=", l, t.op, r}), STATUS_DONE);
        run();
        EXPECT_EQ(sim.a, t.holds ? 1 : 0);
      }
    }
  }
}

// The A value is stored before the pointer's copy passes through A; the two then compare
// unsigned at 32 bits.
TEST_F(ComparisonGroup, KeepsAnAValueAgainstAPointer) {
  const struct {
    std::uint8_t a;
    bool a_left;
    bool holds;
  } cases[] = {{6, true, true}, {2, true, false}, {6, false, false}, {2, false, true}, {0xFF, true, true}};
  for (const auto& t : cases) {
    SCOPED_TRACE(testing::Message() << int{t.a} << (t.a_left ? " > p" : ", p > it"));
    fresh();
    sim.set_bytes(P_AT, 3, 3);
    sim.a = t.a;
    pending_a(REG_A_SIGNED, TOKEN_IN_SUBEXPRESSION, t.a_left ? 0 : 11);
    ASSERT_EQ(t.a_left ? reduce({A_SIGNED, ">", p}) : reduce({p, ">", A_SIGNED}), STATUS_DONE);
    EXPECT_EQ(condition_held(), t.holds);
  }
}

// c + 1 leaves its sum in A, which the copy of p would overwrite.
TEST_F(ComparisonGroup, KeepsASumInAAgainstAPointer) {
  sim.ram(CH_AT) = 5;
  sim.set_bytes(P_AT, 3, 3);
  ASSERT_EQ(reduce({ch, "+", constant(1), ">", p}), STATUS_DONE);
  EXPECT_TRUE(condition_held());
}

}  // namespace
}  // namespace tarvik::test
