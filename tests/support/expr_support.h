// Expression texts as the extractor writes them, declarations made by hand, and a fixture
// that runs the expression evaluator on them.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "expr/expr.h"
#include "support/binop_support.h"

namespace tarvik::test {

// The text of an expression: every piece followed by the three blanks the extractor puts
// after each item, then ";" and three blanks.
ByteArray expression(std::initializer_list<Piece> pieces);

// Where the expression tests take their temporaries from (g_ram_next).
inline constexpr std::int32_t EXPR_TEMPORARIES = 0x010200;

// A parameter of a callee: its type text and RAM address.
struct Parameter {
  const char* type;
  std::int32_t address;
};

class ExpressionTest : public ReductionTest {
 protected:
  void SetUp() override;

  // A local variable of the function being compiled.
  static void local(const char* name, const char* type, std::int32_t address);
  // A finished function that can be called: its result type, parameters, return slot and
  // first word; returns its number.
  static std::int32_t function(const char* name, const char* return_type, std::initializer_list<Parameter> parameters,
                               std::int32_t return_slot, std::int32_t entry);
  // A string literal's token: an unsigned char array at the address.
  static OperandDescriptor string_at(std::int32_t address) { return make_operand(OPERAND_KIND_UCHAR_ARRAY, address); }

  // The evaluator on the expression of `pieces`; its words start at first_word.
  StatusText evaluate(std::initializer_list<Piece> pieces, std::int32_t is_condition = 0);
  StatusText evaluate_text(const ByteArray& text, std::int32_t is_condition = 0);
  // The tokens and characters left in g_expression_text, blanks dropped.
  std::string left() const { return items_of(g_expression_text); }
};

}  // namespace tarvik::test
