#include "operand/operand.h"
#include "support/binop_support.h"

namespace tarvik::test {
namespace {

// Ints and unsigned chars.
constexpr OperandDescriptor A = s16(0x010020), B = s16(0x010022), C = s16(0x010024), X = s16(0x010026);
constexpr OperandDescriptor CA = u8(0x010030), CB = u8(0x010031), CC = u8(0x010032);

class Walk : public ReductionTest {};

// Operators are reduced pass by pass, and within a pass from the left.
TEST_F(Walk, ReducesInPrecedenceOrderFromTheLeft) {
  const OperandDescriptor two = constant(2);
  const struct {
    const char* what;
    std::initializer_list<Piece> text;
    std::function<void()> calls;
    std::string left;
  } cases[] = {
      {"a + b * c", {A, "+", B, "*", C},
       [] {
         call(u16(T), B, "*", C);
         call(u16(T + 2), A, "+", s16(T));
       },
       "84010102"},
      {"a - b - c", {A, "-", B, "-", C},
       [] {
         call(u16(T), A, "-", B);
         call(u16(T + 2), s16(T), "-", C);
       },
       "84010102"},
      {"a < b >= c", {CA, "<", CB, ">=", CC},
       [] {
         call(COND, CA, "<", CB);
         call(0, REG_A, "=", COND);
         call(COND, A_SIGNED, ">=", CC);
       },
       "E7010030"},
      {"a == b < c", {CA, "==", CB, "<", CC},
       [] {
         call(COND, CB, "<", CC);
         call(0, REG_A, "=", COND);
         call(COND, CA, "==", A_SIGNED);
       },
       "E7010030"},
      {"x += y * 2", {X, "+=", A, "*", two},
       [two] { call(u16(T), A, "*", two); },
       "84010026 += 84010100"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    constant(2);
    g_fall_through_sense = Text(SENSE_TRUE);
    ASSERT_EQ(reduce(c.text), STATUS_DONE);
    EXPECT_EQ(emitted(), words_of(c.calls));
    EXPECT_EQ(items_of(text), c.left);
    EXPECT_EQ(g_reduced_expression, text);
  }
}

TEST_F(Walk, ATextWithoutBinaryOperatorsComesBackUnchanged) {
  for (const auto& pieces : {std::initializer_list<Piece>{X}, {X, "=", A}, {X, "<<=", A}, {X, "+=", A, "=", B}}) {
    const ByteArray original = level_text(pieces);
    EXPECT_EQ(reduce(pieces), STATUS_DONE);
    EXPECT_EQ(text, original);
    EXPECT_EQ(g_reduced_expression, original);
    EXPECT_EQ(emitted_count(), 0);
  }
}

// The reduction stops at a byte it does not know; what it reduced before stays.
TEST_F(Walk, AnUnknownByteEndsTheWalkWithTheTextReducedSoFar) {
  const struct {
    const char* what;
    ByteArray tail;
    std::string reduced;
  } cases[] = {
      {"a name", "y   ", "84010100 y"},
      {"a bracket", "(   ", "84010100 ("},
      {"a lone !", "!   ", "84010100 !"},
      {"a token cut short", "\x84\x01\x00", "84010100 ?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    text = level_text({A, "*", B}) + c.tail;
    EXPECT_EQ(reduce_binary_operators(text), STATUS_UNRECOGNISED_SYMBOL);
    EXPECT_EQ(items_of(g_reduced_expression).substr(0, c.reduced.size()), c.reduced);
    g_temp_ram_next = T;
  }
}

// The first sum waits in A while the second is computed: it is stored into a temporary, its
// token renamed, and the comparison then takes the stored sum and the second one in A.
TEST_F(Walk, ASumWaitingInAIsStoredBeforeTheNextOneIsComputed) {
  constexpr OperandDescriptor CD = u8(0x010033);
  const struct {
    std::uint8_t a, b, c, d;
    bool equal;
  } cases[] = {{100, 50, 120, 30, true}, {200, 100, 40, 4, true}, {1, 2, 3, 4, false}};
  for (const auto& c : cases) {
    fresh();
    ASSERT_EQ(reduce({CA, "+", CB, "==", CC, "+", CD}), STATUS_DONE);
    EXPECT_EQ(items_of(text), "E7010100");  // the condition where the stored sum's token stood
    EXPECT_EQ(emitted(), words_of([] {
                call(REG_A, CA, "+", CB);
                call(0, u8(T), "=", REG_A);
                call(REG_A, CC, "+", CD);
                call(COND, u8(T), "==", A_UNSIGNED);
              }));
    sim.ram(0x010030) = c.a, sim.ram(0x010031) = c.b, sim.ram(0x010032) = c.c, sim.ram(0x010033) = c.d;
    EXPECT_EQ(condition_held(), c.equal) << int(c.a) << "+" << int(c.b) << " == " << int(c.c) << "+" << int(c.d);
  }
}

}  // namespace
}  // namespace tarvik::test
