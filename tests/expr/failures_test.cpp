#include <cstdint>

#include "binop/binop.h"
#include "operand/operand.h"
#include "support/expr_support.h"

namespace tarvik::test {
namespace {

constexpr OperandDescriptor STRING = make_operand(OPERAND_KIND_UCHAR_ARRAY, 0x010500);

class EvaluatorFailures : public ExpressionTest {
 protected:
  void SetUp() override {
    ExpressionTest::SetUp();
    locals({{"a", "int", X}, {"b", "int", Y}, {"c", "unsigned char", Z}, {"v", "int", W}});
    locals({{"arr", "int[]", 0x010400}, {"p", "int*", P}});
    function("f", "int", {{"int", 0x010310}}, 0x010300, 0x40);
    function("g", "void", {}, 0x010320, 0x80);
    function("h", "int", {{"char**", 0x010338}}, 0x010330, 0xC0);
    function("k", "char**", {}, 0x010340, 0x100);
  }
};

TEST_F(EvaluatorFailures, EachEndsTheExpressionWithItsStatus) {
  const Failure cases[] = {
      // the scan
      {"a . b", expression({"a", ".", "b"}), STATUS_EXPRESSION_UNRECOGNISED_SYMBOL},
      {"a digit left in the text", expression({"a", "=", "5"}), STATUS_EXPRESSION_UNRECOGNISED_SYMBOL},
      // ?: that does not pair up, at each closer
      {"c ? a;", expression({"c", "?", "a"}), STATUS_TERNARY_MISMATCH},
      {"(c ? a)", expression({"(", "c", "?", "a", ")"}), STATUS_TERNARY_MISMATCH},
      {"arr[c ? a]", expression({"arr", "[", "c", "?", "a", "]"}), STATUS_BRACKET_TERNARY_MISMATCH},
      {"c ? a, b : a", expression({"c", "?", "a", ",", "b", ":", "a"}), STATUS_COMMA_TERNARY_MISMATCH},
      {"a : b", expression({"a", ":", "b"}), STATUS_COLON_WITHOUT_QUESTION},
      {"(c ? a : b) : a", expression({"(", "c", "?", "a", ":", "b", ")", ":", "a"}), STATUS_COLON_WITHOUT_QUESTION},
      // the lone last operand of a chain at ")"
      {"(a && q)", expression({"(", "a", "&&", "q", ")"}), STATUS_PAREN_LOOKUP_ERROR},
      {"(a || _B)", expression({"(", "a", "||", "_B", ")"}), STATUS_PAREN_LOOKUP_ERROR},
      {"(a && \"s\")", expression({"(", "a", "&&", STRING, ")"}), STATUS_PAREN_OPERAND_TYPE_ERROR},
      // at "]"
      {"arr[a && q]", expression({"arr", "[", "a", "&&", "q", "]"}), STATUS_BRACKET_LOOKUP_ERROR},
      {"arr[a || \"s\"]", expression({"arr", "[", "a", "||", STRING, "]"}), STATUS_BRACKET_OPERAND_TYPE_ERROR},
      // at "," and at the ":" of a then-part that is a chain
      {"a && _RAM, b", expression({"a", "&&", "_RAM", ",", "b"}), STATUS_COMMA_LOOKUP_ERROR},
      {"c ? a && q : b", expression({"c", "?", "a", "&&", "q", ":", "b"}), STATUS_COMMA_LOOKUP_ERROR},
      {"a || \"s\", b", expression({"a", "||", STRING, ",", "b"}), STATUS_COMMA_OPERAND_TYPE_ERROR},
      {"c ? a && \"s\" : b", expression({"c", "?", "a", "&&", STRING, ":", "b"}), STATUS_COMMA_OPERAND_TYPE_ERROR},
      // at ";", and before "&&", "||" and "?"
      {"a && q;", expression({"a", "&&", "q"}), STATUS_END_LOOKUP_ERROR},
      {"q && a", expression({"q", "&&", "a"}), STATUS_END_LOOKUP_ERROR},
      {"_B ? a : b", expression({"_B", "?", "a", ":", "b"}), STATUS_END_LOOKUP_ERROR},
      {"condition _B", expression({"_B"}), STATUS_END_LOOKUP_ERROR, 1},
      {"a || \"s\";", expression({"a", "||", STRING}), STATUS_END_OPERAND_TYPE_ERROR},
      {"\"s\" ? a : b", expression({STRING, "?", "a", ":", "b"}), STATUS_END_OPERAND_TYPE_ERROR},
      {"condition \"s\"", expression({STRING}), STATUS_END_OPERAND_TYPE_ERROR, 1},
      {"\"s\" || a", expression({STRING, "||", "a"}), STATUS_OR_OPERAND_ERROR},
      {"&-value || a", expression({addr(X), "||", "a"}), STATUS_OR_OPERAND_ERROR},
      {"\"s\" && a", expression({STRING, "&&", "a"}), STATUS_AND_OPERAND_ERROR},
      // an undeclared name standing alone
      {"q;", expression({"q"}), STATUS_END_NAME_NOT_FOUND},
      {"q, a", expression({"q", ",", "a"}), STATUS_COMMA_NAME_NOT_FOUND},
      // groupings
      {"a + ()", expression({"a", "+", "(", ")"}), STATUS_EMPTY_GROUPING},
      {"() at the start", expression({"(", ")"}), STATUS_EMPTY_GROUPING},
      // sizeof
      {"sizeof()", expression({"sizeof", "(", ")"}), STATUS_SIZEOF_EMPTY},
      {"sizeof(int)", expression({"sizeof", "(", "int", ")"}), STATUS_SIZEOF_LOOKUP_ERROR},
      {"sizeof(arr)", expression({"sizeof", "(", "arr", ")"}), STATUS_SIZEOF_OPERAND_ERROR},
      {"sizeof(\"s\")", expression({"sizeof", "(", STRING, ")"}), STATUS_SIZEOF_OPERAND_ERROR},
      {"sizeof(_RAM)", expression({"sizeof", "(", "_RAM", ")"}), STATUS_SIZEOF_OPERAND_ERROR},
      // calls
      {"f(q)", expression({"f", "(", "q", ")"}), STATUS_ARGUMENT_NOT_FOUND},
      {"f(, a)", expression({"f", "(", ",", "a", ")"}), STATUS_ARGUMENT_SCAN_ERROR},
      {"f(a b)", expression({"f", "(", "a", "b", ")"}), STATUS_ARGUMENT_SEPARATOR_ERROR},
      {"u(a)", expression({"u", "(", "a", ")"}), STATUS_FUNCTION_NOT_FOUND},
      {"a(b): a variable is no function", expression({"a", "(", "b", ")"}), STATUS_FUNCTION_NOT_FOUND},
      {"f()", expression({"f", "(", ")"}), STATUS_TOO_FEW_ARGUMENTS},
      {"g(a)", expression({"g", "(", "a", ")"}), STATUS_TOO_MANY_ARGUMENTS},
      {"f(a, b)", expression({"f", "(", "a", ",", "b", ")"}), STATUS_TOO_MANY_ARGUMENTS},
      {"h(a): a char** parameter", expression({"h", "(", "a", ")"}), STATUS_PARAMETER_TYPE_UNKNOWN},
      {"k(): a char** result", expression({"k", "(", ")"}), STATUS_RETURN_TYPE_UNKNOWN},
      {"a = k() + 1", expression({"a", "=", "k", "(", ")", "+", ONE}), STATUS_RETURN_TYPE_UNKNOWN},
      // indexing
      {"a + [1]", expression({"a", "+", "[", ONE, "]"}), STATUS_ARRAY_NAME_ERROR},
      {"arr[1][1]", expression({"arr", "[", ONE, "]", "[", ONE, "]"}), STATUS_ARRAY_NAME_ERROR},
      {"(p + 1)[1]", expression({"(", "p", "+", ONE, ")", "[", ONE, "]"}), STATUS_ARRAY_NAME_ERROR},
      {"f(a)[1]", expression({"f", "(", "a", ")", "[", ONE, "]"}), STATUS_ARRAY_NAME_ERROR},
      {"v[1] with a scalar v", expression({"v", "[", ONE, "]"}), STATUS_INDEX_SUM_ERROR},
      // other subsystems' statuses pass through unchanged
      {"a = q + 1", expression({"a", "=", "q", "+", ONE}), STATUS_OPERAND_NOT_FOUND},
      {"arr[q]", expression({"arr", "[", "q", "]"}), STATUS_OPERAND_NOT_FOUND},
      {"a = \"s\" * 2", expression({"a", "=", STRING, "*", ONE}), STATUS_MUL_OPERAND_ERROR},
  };
  expect_failures(cases);
}

}  // namespace
}  // namespace tarvik::test
