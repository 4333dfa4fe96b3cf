#include <string_view>

#include "isa/isa.h"
#include "operand/operand.h"
#include "stmt/stmt.h"
#include "support/binop_support.h"

namespace tarvik::test {
namespace {

// The first literal of a fresh expression (entries 0 and 1 are taken).
constexpr OperandDescriptor K = make_operand(OPERAND_KIND_CONSTANT, 2);

class MultiplicativeGroup : public ReductionTest {};

TEST_F(MultiplicativeGroup, ReducesBeforeSumsAndLeftToRight) {
  const Reduction cases[] = {
      {"a + b * c", level_text({u8(X), "+", u8(Y), "*", u8(Z)}), 0,
       [] { call(u8(T), u8(Y), "*", u8(Z)), call(REG_A, u8(X), "+", u8(T)); }, "EA010020"},
      {"a * b / c", level_text({u8(X), "*", u8(Y), "/", u8(Z)}), 0,
       [] { call(u8(T), u8(X), "*", u8(Y)), call(u8(T + 1), u8(T), "/", u8(Z)); }, "80010101"},
  };
  expect_reductions(cases);
}

// Straight into the target only as the last operation of X = ..., X of the product's width.
TEST_F(MultiplicativeGroup, StoresIntoATargetOfItsWidthOtherwiseIntoATemporary) {
  const Reduction cases[] = {
      {"c = a * b", level_text({s8(X), "=", s8(Y), "*", s8(Z)}), 0, [] { call(s8(X), s8(Y), "*", s8(Z)); }, "83010020"},
      {"i = j % k", level_text({s16(X), "=", u16(Y), "%", s16(Z)}), 0, [] { call(s16(X), u16(Y), "%", s16(Z)); },
       "84010020"},
      {"c = a * b + c", level_text({s8(X), "=", s8(Y), "*", s8(Z), "+", s8(X)}), 0,
       [] { call(u8(T), s8(Y), "*", s8(Z)), call(s8(X), s8(T), "+", s8(X)); }, "83010020"},
      {"i = a * b, both signed", level_text({s16(X), "=", s8(Y), "*", s8(Z)}), 0,
       [] { call(u8(T), s8(Y), "*", s8(Z)); }, "84010020 = 83010100"},
      {"i = a * b, one unsigned", level_text({s16(X), "=", s8(Y), "*", u8(Z)}), 0,
       [] { call(u8(T), s8(Y), "*", u8(Z)); }, "84010020 = 80010100"},
      {"c += a * b", level_text({s8(X), "+=", s8(Y), "*", s8(Z)}), 0, [] { call(u8(T), s8(Y), "*", s8(Z)); },
       "83010020 += 83010100"},
  };
  expect_reductions(cases);
}

// A constant the other operand's type cannot hold widens it; of two widths the narrower is
// widened, into a signed temporary, and the pair is signed only when both are.
TEST_F(MultiplicativeGroup, WidensForConstantsAndMatchesWidths) {
  const Reduction cases[] = {
      {"uchar * 200", level_text({u8(X), "*", K}), 200, [] { call(u8(T), u8(X), "*", K); }, "80010100"},
      {"200 * uchar", level_text({K, "*", u8(X)}), 200, [] { call(u8(T), K, "*", u8(X)); }, "80010100"},
      {"char * 100", level_text({s8(X), "*", K}), 100, [] { call(u8(T), s8(X), "*", K); }, "83010100"},
      {"char * 200", level_text({s8(X), "*", K}), 200,
       [] { call(0, u16(T), "=", s8(X)), call(u16(T + 2), s16(T), "*", K); }, "84010102"},
      {"300 / uchar", level_text({K, "/", u8(X)}), 300,
       [] { call(0, u16(T), "=", u8(X)), call(u16(T + 2), K, "/", s16(T)); }, "84010102"},
      {"uchar * -1", level_text({u8(X), "*", K}), -1,
       [] { call(0, u32(T), "=", u8(X)), call(u32(T + 4), s32(T), "*", K); }, "85010104"},
      {"int % 40000", level_text({s16(X), "%", K}), 40000,
       [] { call(0, u32(T), "=", s16(X)), call(u32(T + 4), s32(T), "%", K); }, "85010104"},
      {"uint * uchar", level_text({u16(X), "*", u8(Y)}), 0,
       [] { emit_load_a(Y), call(0, u16(T), "=", A_UNSIGNED), call(u16(T + 2), u16(X), "*", s16(T)); }, "81010102"},
      {"int / uchar", level_text({s16(X), "/", u8(Y)}), 0,
       [] { emit_load_a(Y), call(0, u16(T), "=", A_UNSIGNED), call(u16(T + 2), s16(X), "/", s16(T)); }, "84010102"},
      {"char * uint", level_text({s8(X), "*", u16(Y)}), 0,
       [] { emit_load_a(X), call(0, u16(T), "=", A_SIGNED), call(u16(T + 2), s16(T), "*", u16(Y)); }, "81010102"},
      {"signed A * int", level_text({A_SIGNED, "*", s16(Y)}), 0,
       [] { call(0, u16(T), "=", A_SIGNED), call(u16(T + 2), s16(T), "*", s16(Y)); }, "84010102"},
      {"ulong * int", level_text({u32(X), "*", s16(Y)}), 0,
       [] { call(0, u32(T), "=", s16(Y)), call(u32(T + 4), u32(X), "*", s32(T)); }, "82010104"},
      {"long % uint", level_text({s32(X), "%", u16(Y)}), 0,
       [] { call(0, u32(T), "=", u16(Y)), call(u32(T + 4), s32(X), "%", s32(T)); }, "85010104"},
      {"uint * long", level_text({u16(X), "*", s32(Y)}), 0,
       [] { call(0, u32(T), "=", u16(X)), call(u32(T + 4), s32(T), "*", s32(Y)); }, "85010104"},
  };
  expect_reductions(cases);
}

// Values read through pointers: a char goes through A, so an A value beside it is stored
// first; the product never stays in A.
TEST_F(MultiplicativeGroup, LoadsThroughPointersAndSpillsTheOtherAValue) {
  const OperandDescriptor p = operand(OPERAND_KIND_UCHAR_VIA_PTR, Y), sp = operand(OPERAND_KIND_CHAR_VIA_PTR, Y);
  const OperandDescriptor q = operand(OPERAND_KIND_UCHAR_VIA_PTR, Z);
  const OperandDescriptor i = operand(OPERAND_KIND_INT_VIA_PTR, Y), u = operand(OPERAND_KIND_UINT_VIA_PTR, Z);
  const Reduction cases[] = {
      {"unsigned A * *p", level_text({A_UNSIGNED, "*", p}), 0,
       [&] {
         call(0, u8(T), "=", A_UNSIGNED), call(0, A_UNSIGNED, "=", p), call(u8(T + 1), u8(T), "*", A_UNSIGNED);
       },
       "80010101"},
      {"signed A * *p, p to signed char", level_text({A_SIGNED, "*", sp}), 0,
       [&] { call(0, u8(T), "=", A_SIGNED), call(0, A_UNSIGNED, "=", sp), call(u8(T + 1), s8(T), "*", A_SIGNED); },
       "83010101"},
      {"*p * *q", level_text({p, "*", q}), 0,
       [&] {
         call(0, A_UNSIGNED, "=", p), call(0, u8(T), "=", A_UNSIGNED), call(0, A_UNSIGNED, "=", q);
         call(u8(T + 1), u8(T), "*", A_UNSIGNED);
       },
       "80010101"},
      {"*i * *u, ints", level_text({i, "*", u}), 0,
       [&] { call(0, u16(T), "=", i), call(0, u16(T + 2), "=", u), call(u16(T + 4), s16(T), "*", u16(T + 2)); },
       "81010104"},
  };
  expect_reductions(cases);
  EXPECT_EQ(g_register_a_state, REG_A_FREE);
}

TEST_F(MultiplicativeGroup, FoldsTwoConstantsWithoutCode) {
  const Fold folds[] = {
      {7, "/", -2, -3},
      {-7, "%", 2, -1},
      {7, "%", -2, 1},
      {5, "/", 0, 0},
      {5, "%", 0, 5},
      {INT32_MIN, "/", -1, INT32_MIN},
      {INT32_MIN, "%", -1, 0},
      {INT32_MAX, "*", INT32_MAX, 1},
      {100000007, "*", 100000007, -1020047823},
      {65536, "*", 65536, 0},
      {-6, "*", 7, -42},
  };
  expect_folds(folds);
}

// The fold gives what the generated loop computes on the same values.
TEST_F(MultiplicativeGroup, FoldAgreesWithTheGeneratedCode) {
  const struct {
    std::int32_t a;
    const char* op;
    std::int32_t b;
  } cases[] = {{100000007, "*", 100000007}, {5, "%", 0}, {-5, "%", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " " << c.op << " " << c.b);
    fresh();
    sim.set_bytes(X, static_cast<std::uint32_t>(c.a), 4), sim.set_bytes(Y, static_cast<std::uint32_t>(c.b), 4);
    ASSERT_EQ(reduce_text(level_text({s32(X), c.op, s32(Y)})), STATUS_DONE);
    run();
    const std::uint32_t computed = sim.read_bytes(T, 4);
    const OperandDescriptor a = constant(c.a), b = constant(c.b);
    ASSERT_EQ(reduce_text(level_text({a, c.op, b})), STATUS_DONE);
    EXPECT_EQ(static_cast<std::uint32_t>(g_constant_table[g_constant_count - 1]), computed);
  }
}

TEST_F(MultiplicativeGroup, RefusesOperandsThatAreNoNumbers) {
  const std::string_view E = STATUS_MUL_OPERAND_ERROR;
  const RefusedText cases[] = {
      {"pointer", level_text({operand(OPERAND_KIND_INT_PTR, X), "*", u8(Y)}), E},
      {"array", level_text({u8(Y), "/", operand(OPERAND_KIND_UCHAR_ARRAY, X)}), E},
      {"address value", level_text({operand(OPERAND_KIND_ADDRESS, X), "%", K}), E},
      {"_A", level_text({REG_A, "*", u8(Y)}), E},
      {"_B", level_text({u8(Y), "*", REG_B}), E},
      {"_RAM", level_text({operand(OPERAND_KIND_RAM, 0), "*", u8(Y)}), E},
      {"condition", level_text({COND, "*", u8(Y)}), E},
      {"two A values", level_text({A_UNSIGNED, "*", A_SIGNED}), E},
      {"no right operand", level_text({u8(X), "*"}), E},
  };
  expect_texts_refused(cases, [this] {
    fresh();
    constant(3);
  });
}

TEST_F(MultiplicativeGroup, FoldIntoAFullConstantTableThrowsAndLeavesTheText) {
  expect_full_table_fold_throws(6, "*", 7);
}

}  // namespace
}  // namespace tarvik::test
