// The binary operator reduction: one level text of an expression, its operators reduced in
// C precedence order, then its assignments compiled, the last one first.
#pragma once

#include <array>
#include <string_view>

#include "app/state.h"

namespace tarvik {

// The operators of each reduction pass, in order.
inline constexpr std::array<std::array<std::string_view, 4>, 8> REDUCTION_PASSES = {{
    {"*", "/", "%"},
    {"+", "-"},
    {"<<", ">>"},
    {"<", ">", "<=", ">="},
    {"==", "!="},
    {"&"},
    {"^"},
    {"|"},
}};

// Appended by the assignment step, for the room a compound rewrite needs.
inline constexpr std::string_view REWRITE_PAD = "       ";
inline constexpr std::array<std::string_view, 10> COMPOUND_ASSIGNMENT_OPERATORS = {
    "<<=", ">>=", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^="};

inline constexpr std::string_view STATUS_UNRECOGNISED_SYMBOL = "子表达式处理_双目运算符处理_出现未识别的符号..+_+~";
inline constexpr std::string_view STATUS_ASSIGNMENT_UNRECOGNISED_SYMBOL = "子表达式处理_双目运算符处理_出现未识别的符号...+_+~!";
// An assignment written in the source whose left side is a value, not an object.
inline constexpr std::string_view STATUS_ASSIGNMENT_TARGET_ERROR = "子表达式处理_双目运算符处理_赋值运算的目标操作数错误~!- =";
inline constexpr std::string_view STATUS_MUL_OPERAND_ERROR = "子表达式处理_双目运算符处理_参加*/%运算的操作数错误~!- =";
inline constexpr std::string_view STATUS_ADDITIVE_OPERAND_ERROR = "子表达式处理_双目运算符处理_参加+-运算的操作数错误~!- =";
inline constexpr std::string_view STATUS_POINTER_TYPE_MISMATCH = "子表达式处理_双目运算符处理_参加+-运算的指针类型不同~!- =";
inline constexpr std::string_view STATUS_SHIFT_OPERAND_ERROR = "子表达式处理_双目运算符处理_参加>><<运算的操作数错误~!- =";
inline constexpr std::string_view STATUS_GT_LT_OPERAND_ERROR = "子表达式处理_双目运算符处理_参加><运算的操作数错误~!- =";
inline constexpr std::string_view STATUS_TWO_CHAR_COMPARE_OPERAND_ERROR =
    "子表达式处理_双目运算符处理_参加>=,<=,==,!=运算的操作数错误~!- =";
inline constexpr std::string_view STATUS_BITWISE_OPERAND_ERROR = "子表达式处理_双目运算符处理_参加&|^运算的操作数错误~!- =";

// Reduces every binary operator of the text in place, emitting their code; the text, as it
// stands at the end, is copied into g_reduced_expression. Returns STATUS_DONE or an error.
StatusText reduce_binary_operators(ByteArray& text);
// Compiles the assignments of a reduced text in place, the last one first; the text gets
// REWRITE_PAD and is copied into g_reduced_expression. Returns STATUS_DONE or an error.
StatusText rewrite_compound_assignments(ByteArray& text);

}  // namespace tarvik
