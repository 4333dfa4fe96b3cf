// Level texts as the expression extractor leaves them, and a fixture for the reduction.
#pragma once

#include <initializer_list>
#include <string>

#include "binop/binop.h"
#include "support/codegen_support.h"

namespace tarvik::test {

// One item of a level text: an operand token or an operator's characters.
struct Piece {
  Piece(OperandDescriptor token);  // NOLINT: a table of pieces reads as the text it stands for
  Piece(const char* op);           // NOLINT
  std::string bytes;
};

// Every piece followed by the three blanks that the extractor puts after each item.
ByteArray level_text(std::initializer_list<Piece> pieces);
// The tokens (8 hex digits) and operators of a text in order, blanks dropped.
std::string items_of(const ByteArray& text);

// Where the reduction tests take their temporaries from.
inline constexpr std::int32_t TEMPORARIES = 0x010100;

class ReductionTest : public CodegenTest {
 protected:
  void SetUp() override;

  // Reduces the level text; `text` keeps it, `first_word` marks the first word emitted.
  StatusText reduce(std::initializer_list<Piece> pieces);
  // The assignment step on the reduced text, as the subexpression compiler calls it.
  StatusText assign();

  ByteArray text;
};

}  // namespace tarvik::test
