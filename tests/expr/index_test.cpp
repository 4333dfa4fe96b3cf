#include "isa/isa.h"
#include "support/expr_support.h"

namespace tarvik::test {
namespace {

// Arrays of eight elements, apart from the variables and the temporaries.
constexpr std::int32_t A = 0x010400, B = 0x010500;
constexpr std::int32_t T0 = EXPR_TEMPORARIES;

class Indexing : public ExpressionTest {};

// With a constant index the element has a constant address: no word is emitted for it.
TEST_F(Indexing, ConstantIndexOfAnArrayIsTheElementItself) {
  const struct {
    const char* type;
    int element;
    std::int32_t size;
  } cases[] = {
      {"unsigned char[]", OPERAND_KIND_UCHAR, 1}, {"unsigned int[]", OPERAND_KIND_UINT, 2},
      {"unsigned long int[]", OPERAND_KIND_ULONG, 4}, {"char[]", OPERAND_KIND_CHAR, 1},
      {"int[]", OPERAND_KIND_INT, 2}, {"long int[]", OPERAND_KIND_LONG, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    fresh();
    local("a", c.type, A);
    ASSERT_EQ(evaluate({"a", "[", constant(3), "]"}), STATUS_EXPRESSION_END);
    EXPECT_EQ(left(), items({operand(c.element, A + 3 * c.size), ";"}));
    EXPECT_EQ(emitted_count(), 0);
    ASSERT_EQ(evaluate({"a", "[", constant(0), "]"}), STATUS_EXPRESSION_END);
    EXPECT_EQ(left(), items({operand(c.element, A), ";"}));
    EXPECT_EQ(emitted_count(), 0);
    EXPECT_EQ(g_temp_ram_next, T0);
  }
}

TEST_F(Indexing, ConstantElementIsAssignedLikeAVariable) {
  local("a", "int[]", A);
  local("x", "int", X);
  ASSERT_EQ(evaluate({"x", "=", "a", "[", constant(3), "]"}), STATUS_EXPRESSION_END);
  EXPECT_EQ(emitted(), words_of([] { call(0, s16(X), "=", s16(A + 6)); }));
  EXPECT_EQ(left(), "84010020 ;");
}

// Any other base or index: the element is reached through a new 3-byte temporary that holds
// its address.
TEST_F(Indexing, OtherElementsGoThroughATemporaryPointer) {
  const OperandDescriptor two = make_operand(OPERAND_KIND_CONSTANT, 2);  // entry 2 holds 2 in each case
  const struct {
    const char* what;
    const char* type;
    bool is_parameter;
    Piece index;
    int element;
  } cases[] = {
      {"array, variable index", "int[]", false, "i", OPERAND_KIND_INT_VIA_PTR},
      {"pointer, variable index", "int*", false, "i", OPERAND_KIND_INT_VIA_PTR},
      {"pointer, constant index", "int*", false, two, OPERAND_KIND_INT_VIA_PTR},
      {"[] parameter, variable index", "int[]", true, "i", OPERAND_KIND_INT_VIA_PTR},
      {"[] parameter, constant index", "char[]", true, two, OPERAND_KIND_CHAR_VIA_PTR},
      {"unsigned char pointer", "unsigned char*", false, "i", OPERAND_KIND_UCHAR_VIA_PTR},
      {"unsigned int pointer", "unsigned int*", false, "i", OPERAND_KIND_UINT_VIA_PTR},
      {"unsigned long int pointer", "unsigned long int*", false, "i", OPERAND_KIND_ULONG_VIA_PTR},
      {"long int array", "long int[]", false, "i", OPERAND_KIND_LONG_VIA_PTR},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    constant(2);
    local("i", "unsigned char", X);
    if (c.is_parameter) parameter("p", c.type, Y);
    else local("p", c.type, Y);
    ASSERT_EQ(evaluate({"p", "[", c.index, "]"}), STATUS_EXPRESSION_END);
    EXPECT_EQ(left(), items({operand(c.element, T0), ";"}));
    EXPECT_EQ(g_temp_ram_next, T0 + 3);
    EXPECT_GT(emitted_count(), 0);
  }
}

// The token covers the first four bytes of the name; the rest of it and the bracketed index
// become blanks.
TEST_F(Indexing, LongNameIsCoveredByTheToken) {
  local("table", "long int[]", A);
  ASSERT_EQ(evaluate({"table", "[", constant(2), "]"}), STATUS_EXPRESSION_END);
  EXPECT_EQ(hex(g_expression_text.substr(0, 4)), "85 01 04 08");
  EXPECT_EQ(left(), "85010408 ;");
}

TEST_F(Indexing, InnerIndexingIsTheOuterIndex) {
  local("a", "int[]", A);
  local("b", "unsigned char[]", B);
  local("i", "int", X);
  ASSERT_EQ(evaluate({"a", "[", "b", "[", "i", "]", "]"}), STATUS_EXPRESSION_END);
  // b[i] takes the first temporary, a[...] the second.
  EXPECT_EQ(left(), items({operand(OPERAND_KIND_INT_VIA_PTR, T0 + 3), ";"}));
  EXPECT_EQ(g_temp_ram_next, T0 + 6);
}

// A grouping around the name leaves the name itself before the "[".
TEST_F(Indexing, GroupedNameIsIndexedAsTheName) {
  const auto words_for = [this](std::initializer_list<Piece> pieces) {
    fresh();
    local("p", "int*", Y);
    local("i", "int", X);
    EXPECT_EQ(evaluate(pieces), STATUS_EXPRESSION_END);
    EXPECT_EQ(left(), items({operand(OPERAND_KIND_INT_VIA_PTR, T0), ";"}));
    return emitted();
  };
  EXPECT_EQ(words_for({"(", "p", ")", "[", "i", "]"}), words_for({"p", "[", "i", "]"}));
}

TEST_F(Indexing, OnlyANameOfAnArrayOrPointerIsIndexed) {
  const Failure cases[] = {
      {"a[i][i]", expression({"a", "[", "i", "]", "[", "i", "]"}), STATUS_ARRAY_NAME_ERROR},
      {"f(i)[i]", expression({"f", "(", "i", ")", "[", "i", "]"}), STATUS_ARRAY_NAME_ERROR},
      {"[ at the start", expression({"[", "i", "]"}), STATUS_ARRAY_NAME_ERROR},
      {"operator before [", expression({"i", "+", "[", "i", "]"}), STATUS_ARRAY_NAME_ERROR},
      {"scalar v[1]", expression({"v", "[", ONE, "]"}), STATUS_INDEX_SUM_ERROR},
  };
  expect_failures(cases, [] {
    locals({{"a", "int[]", A}, {"i", "int", X}, {"v", "int", Y}});
    function("f", "int*", {{"int", 0x010190}}, 0x010180, 0x1234);
  });
}

// Elements of every width, read and written through arrays and pointers with variable
// indexes, checked byte for byte on the simulator.
class IndexingOnSimulator : public Indexing {
 protected:
  static constexpr std::int32_t PTR = P, IX = X, JX = Y, XV = W;
  static constexpr int COUNT = 8;

  struct Element {
    const char* scalar;
    int width;
    bool is_signed;
  };

  // a at A, b at B, p pointing at b, i (int) = 5, j (unsigned char) = 2, x (long int).
  void declare(const Element& e) {
    fresh();
    const std::string array = std::string(e.scalar) + "[]", pointer = std::string(e.scalar) + "*";
    locals({{"a", array.c_str(), A}, {"b", array.c_str(), B}, {"p", pointer.c_str(), PTR}});
    locals({{"i", "int", IX}, {"j", "unsigned char", JX}, {"x", "long int", XV}});
  }

  // Distinct elements, most with the top bit set, so that a wrong extension shows.
  static std::uint32_t value(std::int32_t array, int k, int width) {
    return ((0x89ABCDEFu + static_cast<std::uint32_t>(array) * 0x1010101u) * static_cast<std::uint32_t>(k + 3)) &
           width_mask(width);
  }

  // Compiles the expression, fills RAM and runs it; a and b start as filled.
  void run_with(std::initializer_list<Piece> pieces, const Element& e) {
    a.clear(), b.clear();
    ASSERT_EQ(evaluate(pieces), STATUS_EXPRESSION_END);
    for (int k = 0; k < COUNT; ++k) {
      a.push_back(value(A, k, e.width));
      b.push_back(value(B, k, e.width));
      put({{A + k * e.width, e.width, a.back()}, {B + k * e.width, e.width, b.back()}});
    }
    put({{PTR, 3, B}, {IX, 2, 5}, {JX, 1, 2}, {XV, 4, 0x12345678}});
    run();
  }

  void expect_arrays(const Element& e) const {
    for (int k = 0; k < COUNT; ++k) {
      EXPECT_EQ(sim.read_bytes(A + k * e.width, e.width), a[k]) << "a[" << k << "]";
      EXPECT_EQ(sim.read_bytes(B + k * e.width, e.width), b[k]) << "b[" << k << "]";
    }
  }

  static std::uint32_t extended(std::uint32_t v, const Element& e) {
    if (!e.is_signed || e.width == 4 || (v >> (8 * e.width - 1)) == 0) return v;
    return v | ~width_mask(e.width);
  }

  static constexpr Element ELEMENTS[] = {
      {"unsigned char", 1, false}, {"unsigned int", 2, false}, {"unsigned long int", 4, false},
      {"char", 1, true},           {"int", 2, true},           {"long int", 4, true},
  };

  // The elements that arrays a and b must hold after the run.
  std::vector<std::uint32_t> a, b;
};

TEST_F(IndexingOnSimulator, ReadsAnElement) {
  for (const Element& e : ELEMENTS) {
    SCOPED_TRACE(e.scalar);
    declare(e);
    run_with({"x", "=", "a", "[", "i", "]"}, e);
    EXPECT_EQ(sim.read_bytes(XV, 4), extended(a[5], e));
    expect_arrays(e);

    declare(e);
    run_with({"x", "=", "p", "[", "j", "]"}, e);
    EXPECT_EQ(sim.read_bytes(XV, 4), extended(b[2], e));
    expect_arrays(e);

    declare(e);
    run_with({"x", "=", "p", "[", constant(7), "]"}, e);
    EXPECT_EQ(sim.read_bytes(XV, 4), extended(b[7], e));
    expect_arrays(e);
  }
}

TEST_F(IndexingOnSimulator, WritesAnElement) {
  for (const Element& e : ELEMENTS) {
    SCOPED_TRACE(e.scalar);
    declare(e);
    run_with({"a", "[", "i", "]", "=", "x"}, e);
    a[5] = 0x12345678 & width_mask(e.width);
    expect_arrays(e);
    EXPECT_EQ(sim.read_bytes(XV, 4), 0x12345678u);
  }
}

TEST_F(IndexingOnSimulator, ElementsOnBothSides) {
  for (const Element& e : ELEMENTS) {
    SCOPED_TRACE(e.scalar);
    declare(e);
    run_with({"a", "[", "i", "]", "=", "b", "[", "j", "]", "+", constant(1)}, e);
    a[5] = (b[2] + 1) & width_mask(e.width);
    expect_arrays(e);

    declare(e);
    run_with({"p", "[", "i", "]", "=", "a", "[", "j", "]"}, e);
    b[5] = a[2];
    expect_arrays(e);
  }
}

// An index with operators, a comparison, a chain or a conditional is compiled first.
TEST_F(IndexingOnSimulator, IndexExpressionsAreCompiledFirst) {
  const Element e = ELEMENTS[4];
  const struct {
    const char* what;
    std::function<ByteArray()> text;
    int k;
  } cases[] = {
      {"a[i + 1]", [this] { return expression({"x", "=", "a", "[", "i", "+", constant(1), "]"}); }, 6},
      {"a[j < i]", [] { return expression({"x", "=", "a", "[", "j", "<", "i", "]"}); }, 1},
      {"a[i && j]", [] { return expression({"x", "=", "a", "[", "i", "&&", "j", "]"}); }, 1},
      {"a[j ? i : j]", [] { return expression({"x", "=", "a", "[", "j", "?", "i", ":", "j", "]"}); }, 5},
      {"a[b[j]], b[2] = 3", [] { return expression({"x", "=", "a", "[", "b", "[", "j", "]", "]"}); }, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    declare(e);
    ASSERT_EQ(evaluate_text(c.text()), STATUS_EXPRESSION_END);
    for (int k = 0; k < COUNT; ++k) put({{A + 2 * k, 2, value(A, k, 2)}, {B + 2 * k, 2, value(B, k, 2)}});
    put({{B + 4, 2, 3}, {IX, 2, 5}, {JX, 1, 2}});
    run();
    EXPECT_EQ(sim.read_bytes(XV, 4), extended(value(A, c.k, 2), e));
  }
}

}  // namespace
}  // namespace tarvik::test
