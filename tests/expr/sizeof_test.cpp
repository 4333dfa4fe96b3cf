#include <vector>

#include "stmt/stmt.h"
#include "support/expr_support.h"

namespace tarvik::test {
namespace {

constexpr std::int32_t STRING_AT = 0x010300;

class Sizeof : public ExpressionTest {
 protected:
  // Variables of every width, pointers, arrays, and two parameters of the function being
  // compiled. fresh() declares them again.
  void SetUp() override {
    ExpressionTest::SetUp();
    locals({{"uc", "unsigned char", X}, {"ch", "char", X + 1}, {"ui", "unsigned int", X + 2}, {"i", "int", X + 4}});
    locals({{"ul", "unsigned long int", Y}, {"l", "long int", Y + 4}});
    locals({{"pc", "char*", Z}, {"pi", "int*", Z + 3}, {"pl", "long int*", Z + 6}});
    locals({{"buf", "unsigned char[]", W}, {"arr", "long int[]", P}});
    parameter("pa", "int[]", Q);
    parameter("pp", "unsigned long int*", Q + 3);
  }
  // The text of sizeof(inside);
  static ByteArray sizeof_of(const std::vector<Piece>& inside) {
    std::vector<Piece> pieces = {"sizeof", "("};
    pieces.insert(pieces.end(), inside.begin(), inside.end());
    pieces.emplace_back(")");
    return expression(pieces);
  }
  // sizeof(inside); on fresh state: the size it left as the last constant, or -1.
  std::int32_t size_of(const std::vector<Piece>& inside) {
    const StatusText status = evaluate_text(sizeof_of(inside));
    EXPECT_EQ(status, STATUS_EXPRESSION_END);
    const OperandDescriptor result = make_operand(OPERAND_KIND_CONSTANT, g_constant_count - 1);
    EXPECT_EQ(left(), items({result, ";"}));
    return status == STATUS_EXPRESSION_END ? g_constant_table[g_constant_count - 1] : -1;
  }
};

// A name's size comes from its kind alone; a pointer counts 2, not the 3 bytes it occupies.
TEST_F(Sizeof, OfNames) {
  const struct {
    const char* name;
    std::int32_t size;
  } cases[] = {{"uc", 1}, {"ch", 1}, {"ui", 2}, {"i", 2},  {"ul", 4}, {"l", 4},
               {"pc", 2}, {"pi", 2}, {"pl", 2}, {"pa", 2}, {"pp", 2}, {"_A", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fresh();
    EXPECT_EQ(size_of({c.name}), c.size);
    EXPECT_EQ(emitted_count(), 0);
    // A new entry, even where an equal value is in the table already.
    EXPECT_EQ(g_constant_count, 3);
  }
}

// A constant's size is that of the narrowest signed type that holds its value.
TEST_F(Sizeof, OfConstants) {
  const struct {
    std::int64_t value;
    std::int32_t size;
  } cases[] = {{5, 1},     {127, 1},     {128, 2},      {300, 2},  {32767, 2}, {32768, 4},  {65536, 4},
               {-128, 1},  {-129, 2},    {-32768, 2},   {-32769, 4},
               // the table holds 32 bits, read as a signed number
               {4294967295, 1}, {2147483648, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    fresh();
    EXPECT_EQ(size_of({constant(static_cast<std::int32_t>(c.value))}), c.size);
    EXPECT_EQ(emitted_count(), 0);
  }
}

// An operand written with operators is compiled first and measured by the kind of its result.
TEST_F(Sizeof, OfOperations) {
  const struct {
    const char* what;
    std::vector<Piece> inside;
    std::int32_t size;
  } cases[] = {
      {"*pc", {"*", "pc"}, 1},
      {"*pi", {"*", "pi"}, 2},
      {"*pl", {"*", "pl"}, 4},
      {"i + 1", {"i", "+", ONE}, 2},
      {"ch + 1, a value in A", {"ch", "+", ONE}, 1},
      {"l + 1", {"l", "+", ONE}, 4},
      {"i < ch, a truth value in A", {"i", "<", "ch"}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    EXPECT_EQ(size_of(c.inside), c.size);
  }
}

// A negative literal is "-" and a constant: the operator is compiled first.
TEST_F(Sizeof, OfNegativeLiterals) {
  const struct {
    std::int32_t magnitude, size;
  } cases[] = {{100, 1}, {128, 1}, {129, 2}, {300, 2}, {32768, 2}, {32769, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.magnitude);
    fresh();
    EXPECT_EQ(size_of({"-", constant(c.magnitude)}), c.size);
    EXPECT_EQ(emitted_count(), 0);
  }
}

TEST_F(Sizeof, TheOperationsCodeIsEmitted) {
  ASSERT_EQ(evaluate_text(sizeof_of({"i", "+", ONE})), STATUS_EXPRESSION_END);
  EXPECT_EQ(emitted(), words_of([] { call(s16(EXPR_TEMPORARIES), s16(X + 4), "+", ONE); }));
  fresh();
  ASSERT_EQ(evaluate_text(sizeof_of({"i", "<", "ui"})), STATUS_EXPRESSION_END);
  EXPECT_EQ(emitted(), words_of([] {
              call(COND, s16(X + 4), "<", u16(X + 2));
              call(0, REG_A, "=", COND);
            }));
}

TEST_F(Sizeof, RefusedOperandsAddNothing) {
  const struct {
    const char* what;
    std::vector<Piece> inside;
    std::string_view status;
  } cases[] = {
      {"nothing", {}, STATUS_SIZEOF_EMPTY},
      {"a type name", {"int"}, STATUS_SIZEOF_LOOKUP_ERROR},
      {"an unknown name", {"zz"}, STATUS_SIZEOF_LOOKUP_ERROR},
      {"an array", {"buf"}, STATUS_SIZEOF_OPERAND_ERROR},
      {"a long array", {"arr"}, STATUS_SIZEOF_OPERAND_ERROR},
      {"a string literal", {string_at(STRING_AT)}, STATUS_SIZEOF_OPERAND_ERROR},
      {"_B", {"_B"}, STATUS_SIZEOF_OPERAND_ERROR},
      {"_RAM", {"_RAM"}, STATUS_SIZEOF_OPERAND_ERROR},
      {"an address value", {make_operand(OPERAND_KIND_ADDRESS, Z)}, STATUS_SIZEOF_OPERAND_ERROR},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    const ByteArray text = sizeof_of(c.inside);
    EXPECT_EQ(evaluate_text(text), c.status);
    EXPECT_EQ(g_constant_count, 2);
    EXPECT_EQ(left(), items_of(text));
  }
}

// The constant stands where "sizeof" began, so the enclosing level reads y = constant.
TEST_F(Sizeof, TheSizeIsAnOperandOfTheEnclosingExpression) {
  ASSERT_EQ(evaluate({"i", "=", "sizeof", "(", "l", ")"}), STATUS_EXPRESSION_END);
  const OperandDescriptor size = make_operand(OPERAND_KIND_CONSTANT, 2);
  EXPECT_EQ(g_constant_table[2], 4);
  EXPECT_EQ(emitted(), words_of([=] { call(0, s16(X + 4), "=", size); }));

  // Each sizeof takes its own entry.
  fresh();
  ASSERT_EQ(evaluate({"i", "=", "sizeof", "(", "ch", ")", "+", "sizeof", "(", "uc", ")"}), STATUS_EXPRESSION_END);
  EXPECT_EQ(g_constant_table[2], 1);
  EXPECT_EQ(g_constant_table[3], 1);
  run();
  EXPECT_EQ(sim.read_bytes(X + 4, 2), 2u);
}

}  // namespace
}  // namespace tarvik::test
