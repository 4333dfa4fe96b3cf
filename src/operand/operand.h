// Operands and unary operators: what register A holds for an expression, and its spill.
#pragma once

#include <initializer_list>
#include <string_view>

#include "app/state.h"
#include "codegen/codegen.h"

namespace tarvik {

// g_register_a_state: nothing pending, or a pending unsigned or signed 8-bit value.
inline constexpr std::string_view REG_A_FREE = "A";
inline constexpr std::string_view REG_A_UNSIGNED = "无符号A";
inline constexpr std::string_view REG_A_SIGNED = "有符号A";
// g_register_a_token_place: the pending value's token lies in the level text being
// processed, or in g_expression_text.
inline constexpr std::string_view TOKEN_IN_SUBEXPRESSION = "子表达式";
inline constexpr std::string_view TOKEN_IN_MAIN_EXPRESSION = "主表达式";

// Frees register A before it is reused: a pending value is stored into a new 1-byte
// temporary, whose token (unsigned or signed char) replaces the value's token in `text`.
// Nothing is stored when one of `exempt` is the pending value itself (kind 0xEA or 0xEB),
// or when no token of that kind stands at the recorded position. Afterwards A is free;
// a failed store returns the generator's error and leaves everything as it was.
StatusText spill_register_a(ByteArray& text, std::initializer_list<OperandDescriptor> exempt);

}  // namespace tarvik
