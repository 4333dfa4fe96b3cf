#include <functional>
#include <string_view>

#include "isa/isa.h"
#include "operand/operand.h"
#include "stmt/stmt.h"
#include "support/binop_support.h"

namespace tarvik::test {
namespace {

// The first literal of a fresh expression (entries 0 and 1 hold 0 and 1).
constexpr OperandDescriptor K = make_operand(OPERAND_KIND_CONSTANT, 2);
constexpr OperandDescriptor ONE = make_operand(OPERAND_KIND_CONSTANT, 1);
constexpr std::int32_t ARRAY_AT = 0x001000;

class AdditiveGroup : public ReductionTest {};

TEST_F(AdditiveGroup, ComputesOnTheSimulator) {
  const struct {
    const char* what;
    ByteArray level;
    std::function<void(Simulator&)> values;
    std::int32_t at;  // 0: in A
    int width;
    std::uint32_t expected;
  } cases[] = {
      {"a - b - c, left first", level_text({u8(X), "-", u8(Y), "-", u8(Z)}),
       [](Simulator& s) { s.ram(X) = 10, s.ram(Y) = 3, s.ram(Z) = 2; }, 0, 1, 5},
      {"200 + 100 in unsigned chars", level_text({u8(X), "+", u8(Y)}),
       [](Simulator& s) { s.ram(X) = 200, s.ram(Y) = 100; }, 0, 1, 44},
      {"c + 128, c = -1", level_text({s8(X), "+", K}), [](Simulator& s) { s.ram(X) = 0xFF; }, T + 2, 2, 127},
      {"p - q, ints 6 bytes apart",
       level_text({operand(OPERAND_KIND_INT_PTR, X), "-", operand(OPERAND_KIND_INT_PTR, Y)}),
       [](Simulator& s) { s.set_bytes(X, 0x012346, 3), s.set_bytes(Y, 0x012340, 3); }, T, 4, 3},
      {"q - p", level_text({operand(OPERAND_KIND_INT_PTR, Y), "-", operand(OPERAND_KIND_INT_PTR, X)}),
       [](Simulator& s) { s.set_bytes(X, 0x012346, 3), s.set_bytes(Y, 0x012340, 3); }, T, 4, 0xFFFFFFFD},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    constant(128);
    c.values(sim);
    ASSERT_EQ(reduce_text(c.level), STATUS_DONE);
    run();
    EXPECT_EQ(c.at == 0 ? sim.a : sim.read_bytes(c.at, c.width), c.expected);
  }
}

// A constant the other operand cannot hold widens it, to a signed temporary; of two widths
// the narrower is widened; 8-bit sums stay in A.
TEST_F(AdditiveGroup, TypesNumbersByWidthAndConstants) {
  const Reduction cases[] = {
      {"c + 127", level_text({s8(X), "+", K}), 127, [] { call(REG_A, s8(X), "+", K); }, "EB010020"},
      {"c + 128", level_text({s8(X), "+", K}), 128,
       [] { call(0, u16(T), "=", s8(X)), call(u16(T + 2), s16(T), "+", K); }, "84010102"},
      {"c + 32768", level_text({s8(X), "+", K}), 32768,
       [] { call(0, u32(T), "=", s8(X)), call(u32(T + 4), s32(T), "+", K); }, "85010104"},
      {"u + 255", level_text({u8(X), "+", K}), 255, [] { call(REG_A, u8(X), "+", K); }, "EA010020"},
      {"u + 256", level_text({u8(X), "+", K}), 256,
       [] { call(0, u16(T), "=", u8(X)), call(u16(T + 2), s16(T), "+", K); }, "84010102"},
      {"-1 + u", level_text({K, "+", u8(X)}), -1,
       [] { call(0, u32(T), "=", u8(X)), call(u32(T + 4), K, "+", s32(T)); }, "85010104"},
      {"ui - 70000", level_text({u16(X), "-", K}), 70000,
       [] { call(0, u32(T), "=", u16(X)), call(u32(T + 4), s32(T), "-", K); }, "85010104"},
      {"i + j", level_text({s16(X), "+", s16(Y)}), 0, [] { call(u16(T), s16(X), "+", s16(Y)); }, "84010100"},
      {"i - l, l unsigned", level_text({s16(X), "-", u32(Y)}), 0,
       [] { call(0, u32(T), "=", s16(X)), call(u32(T + 4), s32(T), "-", u32(Y)); }, "82010104"},
      {"ui + c", level_text({u16(X), "+", s8(Y)}), 0,
       [] { emit_load_a(Y), call(0, u16(T), "=", A_SIGNED), call(u16(T + 2), u16(X), "+", s16(T)); }, "81010102"},
      {"signed A - l", level_text({A_SIGNED, "-", s32(Y)}), 0,
       [] { call(0, u32(T), "=", A_SIGNED), call(u32(T + 4), s32(T), "-", s32(Y)); }, "85010104"},
      {"c + unsigned A", level_text({s8(X), "+", A_UNSIGNED}), 0, [] { call(REG_A, s8(X), "+", A_UNSIGNED); },
       "EA010020"},
      {"signed A + c", level_text({A_SIGNED, "+", s8(Y)}), 0, [] { call(REG_A, A_SIGNED, "+", s8(Y)); }, "EB000000"},
  };
  expect_reductions(cases);
}

// Straight into X only for the last operation of X = ..., X no wider than the sum.
TEST_F(AdditiveGroup, StoresIntoANarrowerOrEqualTargetOtherwiseIntoATemporary) {
  const OperandDescriptor a_sum = operand(OPERAND_KIND_A_UNSIGNED, Y);
  const Reduction cases[] = {
      {"x = a + b, chars", level_text({s8(X), "=", u8(Y), "+", u8(Z)}), 0, [] { call(s8(X), u8(Y), "+", u8(Z)); },
       "83010020"},
      {"x = a + b, x int", level_text({s16(X), "=", u8(Y), "+", u8(Z)}), 0, [] { call(REG_A, u8(Y), "+", u8(Z)); },
       "84010020 = EA010030"},
      {"x = a + b + c", level_text({s8(X), "=", u8(Y), "+", u8(Z), "+", u8(W)}), 0,
       [&] { call(REG_A, u8(Y), "+", u8(Z)), call(s8(X), a_sum, "+", u8(W)); }, "83010020"},
      {"x = i - j, x char", level_text({s8(X), "=", s16(Y), "-", s16(Z)}), 0, [] { call(s8(X), s16(Y), "-", s16(Z)); },
       "83010020"},
      {"x = l + m, x int", level_text({u16(X), "=", s32(Y), "+", s32(Z)}), 0, [] { call(u16(X), s32(Y), "+", s32(Z)); },
       "81010020"},
      {"x = l - m, x char", level_text({u8(X), "=", u32(Y), "-", s32(Z)}), 0, [] { call(u8(X), u32(Y), "-", s32(Z)); },
       "80010020"},
      {"l = i + j, l wider", level_text({s32(X), "=", s16(Y), "+", s16(Z)}), 0,
       [] { call(u16(T), s16(Y), "+", s16(Z)); }, "85010020 = 84010100"},
      {"x += a + b", level_text({s8(X), "+=", s8(Y), "+", s8(Z)}), 0, [] { call(REG_A, s8(Y), "+", s8(Z)); },
       "83010020 += EB010030"},
  };
  expect_reductions(cases);
}

TEST_F(AdditiveGroup, SubtractsPointersIntoALongOfElements) {
  const auto difference = [](int shift) {
    return [shift] {
      call(s32(T), addr(X), "-", addr(Y));
      if (shift != 0) call(s32(T), s32(T), ">>", immediate(shift));
    };
  };
  const Reduction cases[] = {
      {"chars", level_text({operand(OPERAND_KIND_CHAR_PTR, X), "-", operand(OPERAND_KIND_CHAR_PTR, Y)}), 0,
       difference(0), "85010100"},
      {"unsigned char and char",
       level_text({operand(OPERAND_KIND_UCHAR_PTR, X), "-", operand(OPERAND_KIND_CHAR_PTR, Y)}), 0, difference(0),
       "85010100"},
      {"ints", level_text({operand(OPERAND_KIND_UINT_PTR, X), "-", operand(OPERAND_KIND_INT_PTR, Y)}), 0, difference(1),
       "85010100"},
      {"longs", level_text({operand(OPERAND_KIND_LONG_PTR, X), "-", operand(OPERAND_KIND_LONG_PTR, Y)}), 0,
       difference(2), "85010100"},
      {"x = p - q takes no shortcut",
       level_text({s32(Z), "=", operand(OPERAND_KIND_INT_PTR, X), "-", operand(OPERAND_KIND_INT_PTR, Y)}), 0,
       difference(1), "85010040 = 85010100"},
  };
  expect_reductions(cases);
}

// The integer scaled by the element width: at run time into a 3-byte temporary of the
// pointer's kind, a constant beside a pointer as a scaled immediate, beside an array folded.
TEST_F(AdditiveGroup, MovesPointersAndArraysByIntegers) {
  const OperandDescriptor p_uchar = operand(OPERAND_KIND_UCHAR_PTR, X), p_char = operand(OPERAND_KIND_CHAR_PTR, X);
  const OperandDescriptor p_int = operand(OPERAND_KIND_INT_PTR, X), p_uint = operand(OPERAND_KIND_UINT_PTR, X);
  const OperandDescriptor p_long = operand(OPERAND_KIND_LONG_PTR, X), p_ulong = operand(OPERAND_KIND_ULONG_PTR, X);
  const OperandDescriptor q_int = operand(OPERAND_KIND_INT_PTR, Z);
  const OperandDescriptor a_uint = operand(OPERAND_KIND_UINT_ARRAY, ARRAY_AT);
  const OperandDescriptor a_char = operand(OPERAND_KIND_CHAR_ARRAY, ARRAY_AT);
  const OperandDescriptor a_ulong = operand(OPERAND_KIND_ULONG_ARRAY, ARRAY_AT);
  const OperandDescriptor a_long = operand(OPERAND_KIND_LONG_ARRAY, ARRAY_AT);
  const OperandDescriptor p_to = operand(OPERAND_KIND_UCHAR_PTR, T), t_uint = operand(OPERAND_KIND_UINT_PTR, T);
  const OperandDescriptor t_ulong = operand(OPERAND_KIND_ULONG_PTR, T);
  const OperandDescriptor through_r = operand(OPERAND_KIND_INT_VIA_PTR, W);
  const Reduction cases[] = {
      {"p + i, p to unsigned char", level_text({p_uchar, "+", u8(Y)}), 0, [&] { call(p_to, p_uchar, "+", u8(Y)); },
       "86010100"},
      {"p + i, p to char", level_text({p_char, "+", u8(Y)}), 0, [&] { call(p_to, p_char, "+", u8(Y)); }, "89010100"},
      {"i + p, p to int", level_text({s16(Y), "+", p_int}), 0, [&] { call(t_uint, s16(Y), "+", p_int); }, "8A010100"},
      {"p - i, p to long", level_text({p_long, "-", s8(Y)}), 0, [&] { call(t_ulong, p_long, "-", s8(Y)); }, "8B010100"},
      {"p + A", level_text({p_uchar, "+", A_UNSIGNED}), 0, [&] { call(p_to, p_uchar, "+", A_UNSIGNED); }, "86010100"},
      {"p + *r, r to int", level_text({p_uchar, "+", through_r}), 0,
       [&] { call(0, u16(T), "=", through_r), call(operand(OPERAND_KIND_UCHAR_PTR, T + 2), p_uchar, "+", s16(T)); },
       "86010102"},
      {"p + i + j", level_text({p_uchar, "+", u8(Y), "+", u8(Z)}), 0,
       [&] { call(p_to, p_uchar, "+", u8(Y)), call(operand(OPERAND_KIND_UCHAR_PTR, T + 3), p_to, "+", u8(Z)); },
       "86010103"},
      {"p + 5, p to int", level_text({p_uint, "+", K}), 5, [] { call(addr(T), addr(X), "+", immediate(10)); },
       "87010100"},
      {"5 + p", level_text({K, "+", p_uint}), 5, [] { call(addr(T), immediate(10), "+", addr(X)); }, "87010100"},
      {"p - 5", level_text({p_int, "-", K}), 5, [] { call(addr(T), addr(X), "-", immediate(10)); }, "8A010100"},
      {"p + -1, p to int", level_text({p_int, "+", K}), -1, [] { call(addr(T), addr(X), "+", immediate(0xFFFFFE)); },
       "8A010100"},
      {"p + 0x800000, p to int", level_text({p_int, "+", K}), 0x800000,
       [] { call(addr(T), addr(X), "+", immediate(0)); }, "8A010100"},
      {"p + -5, p to long", level_text({p_ulong, "+", K}), -5,
       [] { call(addr(T), addr(X), "+", immediate(0xFFFFEC)); }, "88010100"},
      {"p + 65536, p to char", level_text({p_char, "+", K}), 65536, [] { call(addr(T), addr(X), "+", K); },
       "89010100"},
      {"b + i, b a char array", level_text({a_char, "+", u8(Y)}), 0, [&] { call(p_to, a_char, "+", u8(Y)); },
       "89010100"},
      {"i + a, a a long array", level_text({s16(Y), "+", a_long}), 0, [&] { call(t_ulong, s16(Y), "+", a_long); },
       "8B010100"},
      {"a + 5, int array", level_text({a_uint, "+", K}), 5, [] {}, "8D00100A"},
      {"5 + a", level_text({K, "+", a_uint}), 5, [] {}, "8D00100A"},
      {"a - 5", level_text({a_uint, "-", K}), 5, [] {}, "8D000FF6"},
      {"a - 0x1001, char array", level_text({a_char, "-", K}), 0x1001, [] {}, "8FFFFFFF"},
      {"a + 0x400000, long array", level_text({a_ulong, "+", K}), 0x400000, [] {}, "8E001000"},
      {"a + 1 + 2", level_text({a_uint, "+", ONE, "+", K}), 2, [] {}, "8D001006"},
      {"q = p + i, q to int, p to char", level_text({q_int, "=", p_uchar, "+", u8(Y)}), 0,
       [&] { call(operand(OPERAND_KIND_UCHAR_PTR, Z), p_uchar, "+", u8(Y)); }, "8A010040"},
      {"q = p + 1", level_text({q_int, "=", p_uchar, "+", K}), 1, [] { call(addr(Z), addr(X), "+", K); }, "8A010040"},
      {"q = a + i", level_text({q_int, "=", a_uint, "+", u8(Y)}), 0,
       [&] { call(operand(OPERAND_KIND_UINT_PTR, Z), a_uint, "+", u8(Y)); }, "8A010040"},
      {"x = p + i, x int", level_text({s16(Z), "=", p_uchar, "+", u8(Y)}), 0, [&] { call(p_to, p_uchar, "+", u8(Y)); },
       "84010040 = 86010100"},
      {"q = a + 1", level_text({q_int, "=", a_uint, "+", K}), 1, [] {}, "8A010040 = 8D001002"},
  };
  expect_reductions(cases);
}

TEST_F(AdditiveGroup, FoldsTwoConstantsWithoutCode) {
  const Fold folds[] = {
      {2, "+", 3, 5}, {3, "-", 5, -2}, {INT32_MAX, "+", 1, INT32_MIN}, {INT32_MIN, "-", 1, INT32_MAX},
  };
  expect_folds(folds);
}

TEST_F(AdditiveGroup, FoldIntoAFullConstantTableThrowsAndLeavesTheText) { expect_full_table_fold_throws(2, "+", 3); }

TEST_F(AdditiveGroup, AssignsARegisterSumAsOneInstruction) {
  const Reduction cases[] = {
      {"_A = _A + _B", level_text({REG_A, "=", REG_A, "+", REG_B}), 0, emit_a_add_a_b, "FF000000"},
      {"_B = 1 + _A", level_text({REG_B, "=", ONE, "+", REG_A}), 0, emit_b_add_a_1, "FE000000"},
      {"x = _A - 1, x char", level_text({s8(X), "=", REG_A, "-", K}), 1, [] { emit_store_sub_a_1(X); }, "83010020"},
      {"u = _A + _B, u unsigned char", level_text({u8(X), "=", REG_A, "+", REG_B}), 0, [] { emit_store_add_a_b(X); },
       "80010020"},
      {"_RAM = _B + _A", level_text({operand(OPERAND_KIND_RAM, 0), "=", REG_B, "+", REG_A}), 0, emit_ram_add_a_b,
       "E9000000"},
      {"_A2 = _A - _B", level_text({operand(OPERAND_KIND_A2, 0), "=", REG_A, "-", REG_B}), 0, emit_a2_sub_a_b,
       "FD000000"},
      {"_A1 = _A + 1", level_text({operand(OPERAND_KIND_A1, 0), "=", REG_A, "+", ONE}), 0, emit_a1_add_a_1, "FC000000"},
      {"_A0 = _A - 1", level_text({operand(OPERAND_KIND_A0, 0), "=", REG_A, "-", ONE}), 0, emit_a0_sub_a_1, "FB000000"},
  };
  expect_reductions(cases);
}

// A pending value is stored unless it is an operand; a char read through a pointer goes
// through A, so an A value beside it is stored first, widened beside an int.
TEST_F(AdditiveGroup, FreesRegisterABeforeItIsReused) {
  const OperandDescriptor p = operand(OPERAND_KIND_UCHAR_VIA_PTR, Y), r = operand(OPERAND_KIND_INT_VIA_PTR, Y);
  const Reduction cases[] = {
      {"unsigned A + *p", level_text({A_UNSIGNED, "+", p}), 0,
       [&] { call(0, u8(T), "=", A_UNSIGNED), call(0, A_UNSIGNED, "=", p), call(REG_A, u8(T), "+", A_UNSIGNED); },
       "EA000000"},
      {"signed A + *p", level_text({A_SIGNED, "+", p}), 0,
       [&] { call(0, u8(T), "=", A_SIGNED), call(0, A_UNSIGNED, "=", p), call(REG_A, s8(T), "+", A_UNSIGNED); },
       "EA000000"},
      {"signed A + *r, r to int", level_text({A_SIGNED, "+", r}), 0,
       [&] {
         call(0, s16(T), "=", A_SIGNED), call(0, u16(T + 2), "=", r);
         call(u16(T + 4), s16(T), "+", s16(T + 2));
       },
       "84010104"},
  };
  expect_reductions(cases);
}

TEST_F(AdditiveGroup, StoresAValuePendingInTheMainExpression) {
  const struct {
    std::string_view state;
    OperandDescriptor spilled;
  } cases[] = {{REG_A_UNSIGNED, u8(T)}, {REG_A_SIGNED, s8(T)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    fresh();
    g_expression_text = level_text({A_SIGNED, "+", u8(Z)});
    pending_a(c.state, TOKEN_IN_MAIN_EXPRESSION, 0);
    ASSERT_EQ(reduce_text(level_text({u8(X), "-", u8(Y)})), STATUS_DONE);
    EXPECT_EQ(emitted(), words_of([] { call(0, u8(T), "=", REG_A), call(REG_A, u8(X), "-", u8(Y)); }));
    EXPECT_EQ(items_of(g_expression_text), items_of(level_text({c.spilled, "+", u8(Z)})));
    EXPECT_EQ(items_of(text), "EA010020");
    expect_a_tracked();
  }
}

TEST_F(AdditiveGroup, RefusesPairsNoCaseTakes) {
  const OperandDescriptor p_char = operand(OPERAND_KIND_CHAR_PTR, X), p_int = operand(OPERAND_KIND_INT_PTR, Y);
  const OperandDescriptor a1 = operand(OPERAND_KIND_INT_ARRAY, ARRAY_AT), a2 = operand(OPERAND_KIND_INT_ARRAY, W);
  const RefusedText cases[] = {
      {"char pointer - int pointer", level_text({p_char, "-", p_int}), STATUS_POINTER_TYPE_MISMATCH},
      {"char pointer + int pointer", level_text({p_char, "+", p_int}), STATUS_POINTER_TYPE_MISMATCH},
      {"int pointer + int pointer", level_text({p_int, "+", p_int}), STATUS_ADDITIVE_OPERAND_ERROR},
      {"i - p", level_text({s16(Z), "-", p_int}), STATUS_ADDITIVE_OPERAND_ERROR},
      {"1 - p", level_text({K, "-", p_int}), STATUS_ADDITIVE_OPERAND_ERROR},
      {"two arrays", level_text({a1, "-", a2}), STATUS_ADDITIVE_OPERAND_ERROR},
      {"p - a", level_text({p_int, "-", a1}), STATUS_ADDITIVE_OPERAND_ERROR},
      {"a + p", level_text({a1, "+", p_int}), STATUS_ADDITIVE_OPERAND_ERROR},
      {"address value + 1", level_text({addr(X), "+", K}), STATUS_ADDITIVE_OPERAND_ERROR},
      {"condition + p", level_text({COND, "+", p_int}), STATUS_ADDITIVE_OPERAND_ERROR},
      {"p + _A", level_text({p_int, "+", REG_A}), STATUS_ADDITIVE_OPERAND_ERROR},
      {"two A values", level_text({A_UNSIGNED, "+", A_SIGNED}), STATUS_ADDITIVE_OPERAND_ERROR},
      {"x = _B - _A", level_text({s8(Z), "=", REG_B, "-", REG_A}), STATUS_ADDITIVE_OPERAND_ERROR},
      {"x = _A + 2", level_text({s8(Z), "=", REG_A, "+", K}), STATUS_ADDITIVE_OPERAND_ERROR},
      {"_A + _B alone", level_text({REG_A, "+", REG_B}), STATUS_ADDITIVE_OPERAND_ERROR},
      {"i = _A + _B", level_text({s16(Z), "=", REG_A, "+", REG_B}), STATUS_ADDITIVE_OPERAND_ERROR},
      {"x = _A + 1 + 1, not last", level_text({s8(Z), "=", REG_A, "+", ONE, "+", ONE}), STATUS_ADDITIVE_OPERAND_ERROR},
      {"no right operand", level_text({u8(X), "-"}), STATUS_ADDITIVE_OPERAND_ERROR},
  };
  expect_texts_refused(cases, [this] {
    fresh();
    constant(2);
  });
}

}  // namespace
}  // namespace tarvik::test
