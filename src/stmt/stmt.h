// The statement compiler: one function body at a time.
#pragma once

#include <cstddef>
#include <string_view>

#include "app/state.h"
#include "codegen/codegen.h"

namespace tarvik {

// Every word, operator and literal of an expression text is followed by these blanks, so a
// 4-byte operand token fits over a one-letter name.
inline constexpr std::string_view TOKEN_PAD = "   ";

// The 4 bytes at `pos` of an expression text as a descriptor, kind byte first.
OperandDescriptor read_operand_token(std::string_view text, std::size_t pos);
// Writes the descriptor as 4 bytes at `pos`, kind byte first; the text must hold them.
void write_operand_token(ByteArray& text, std::size_t pos, OperandDescriptor descriptor);

// Compiles the body of function g_function_count + 1 up to its closing brace.
StatusText compile_function_body();

}  // namespace tarvik
