#include "support/binop_support.h"

#include <cstdio>

#include "operand/operand.h"
#include "stmt/stmt.h"

namespace tarvik::test {

Piece::Piece(OperandDescriptor token) : bytes(4, ' ') { write_operand_token(bytes, 0, token); }

Piece::Piece(const char* op) : bytes(op) {}

ByteArray level_text(std::initializer_list<Piece> pieces) {
  ByteArray text;
  for (const Piece& piece : pieces) text += piece.bytes + ByteArray(TOKEN_PAD);
  return text;
}

std::string items_of(const ByteArray& text) {
  std::string items;
  for (std::size_t pos = 0; pos < text.size();) {
    if (text[pos] == ' ') {
      ++pos;
      continue;
    }
    if (!items.empty()) items += ' ';
    if (static_cast<std::uint8_t>(text[pos]) >= 0x80 && pos + 4 <= text.size()) {
      char token[16];
      std::snprintf(token, sizeof token, "%08X", static_cast<unsigned>(read_operand_token(text, pos)));
      items += token;
      pos += 4;
    } else if (static_cast<std::uint8_t>(text[pos]) >= 0x80) {
      items += '?';  // a token cut short by the end of the text
      pos = text.size();
    } else {
      while (pos < text.size() && text[pos] != ' ' && static_cast<std::uint8_t>(text[pos]) < 0x80) items += text[pos++];
    }
  }
  return items;
}

void ReductionTest::SetUp() {
  CodegenTest::SetUp();
  g_temp_ram_next = TEMPORARIES;
  g_register_a_state = Text(REG_A_FREE);
  g_register_a_token_place = Text(TOKEN_IN_MAIN_EXPRESSION);
}

StatusText ReductionTest::reduce(std::initializer_list<Piece> pieces) {
  text = level_text(pieces);
  first_word = g_rom_word_count;
  return reduce_binary_operators(text);
}

StatusText ReductionTest::assign() { return rewrite_compound_assignments(g_reduced_expression); }

}  // namespace tarvik::test
