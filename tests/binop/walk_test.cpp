#include "operand/operand.h"
#include "support/binop_support.h"

namespace tarvik::test {
namespace {

constexpr OperandDescriptor A = make_operand(OPERAND_KIND_INT, 0x010020);
constexpr OperandDescriptor B = make_operand(OPERAND_KIND_INT, 0x010022);
constexpr OperandDescriptor C = make_operand(OPERAND_KIND_INT, 0x010024);
constexpr OperandDescriptor X = make_operand(OPERAND_KIND_INT, 0x010026);
constexpr OperandDescriptor CA = make_operand(OPERAND_KIND_UCHAR, 0x010030);
constexpr OperandDescriptor CB = make_operand(OPERAND_KIND_UCHAR, 0x010031);
constexpr OperandDescriptor CC = make_operand(OPERAND_KIND_UCHAR, 0x010032);

// The temporaries of a reduction, in the order it takes them.
constexpr std::int32_t T1 = TEMPORARIES, T2 = TEMPORARIES + 2;

void compile(OperandDescriptor d, OperandDescriptor l, const char* op, OperandDescriptor r) {
  Text text = op;
  ASSERT_EQ(generate_binary_operation_code(d, l, text, r), STATUS_DONE) << op;
}

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
         compile(make_operand(OPERAND_KIND_UINT, T1), B, "*", C);
         compile(make_operand(OPERAND_KIND_UINT, T2), A, "+", make_operand(OPERAND_KIND_INT, T1));
       },
       "84010102"},
      {"a - b - c", {A, "-", B, "-", C},
       [] {
         compile(make_operand(OPERAND_KIND_UINT, T1), A, "-", B);
         compile(make_operand(OPERAND_KIND_UINT, T2), make_operand(OPERAND_KIND_INT, T1), "-", C);
       },
       "84010102"},
      {"a < b >= c", {CA, "<", CB, ">=", CC},
       [] {
         compile(COND, CA, "<", CB);
         compile(0, REG_A, "=", COND);
         compile(COND, A_SIGNED, ">=", CC);
       },
       "E7010030"},
      {"a == b < c", {CA, "==", CB, "<", CC},
       [] {
         compile(COND, CB, "<", CC);
         compile(0, REG_A, "=", COND);
         compile(COND, CA, "==", A_SIGNED);
       },
       "E7010030"},
      {"x += y * 2", {X, "+=", A, "*", two},
       [two] { compile(make_operand(OPERAND_KIND_UINT, T1), A, "*", two); },
       "84010026 += 84010100"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    init_global_tables();
    SetUp();
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
    g_temp_ram_next = TEMPORARIES;
  }
}

}  // namespace
}  // namespace tarvik::test
