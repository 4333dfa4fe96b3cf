// The statement compiler: one function body at a time, and the extraction of every source
// expression into an expression text for the evaluator.
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

// Compiles the body of function g_function_count + 1, from after its local declarations up
// to and past its closing brace. Returns STATUS_DONE or the first error; `ends_with_return`
// tells whether the body's last statement at its own level is a return.
StatusText compile_function_body(bool& ends_with_return);
// Closes every open statement level that the statement just compiled completes, innermost
// first. Returns STATUS_DONE or an error.
StatusText finish_control_statements();
// Reads the expression at g_scan_pos up to its ";" (or, with end_at_paren, the ")" that
// closes at depth 0), turns it into an expression text after `prefix` and compiles it.
StatusText extract_expression(std::int32_t end_at_paren, std::int32_t is_condition, const ByteArray& prefix);

// Messages of the statement compiler.
inline constexpr std::string_view MSG_BODY_TEXT_END = "语句表达式处理_文本结束错误....!- =~";
inline constexpr std::string_view MSG_IF_FORMAT = "语句表达式处理_if语句格式错误....!- =~";
inline constexpr std::string_view MSG_IF_EMPTY = "语句表达式处理_if语句内容不能为空....!- =~";
inline constexpr std::string_view MSG_WHILE_FORMAT = "语句表达式处理_while语句格式错误....!- =~";
inline constexpr std::string_view MSG_WHILE_EMPTY = "语句表达式处理_while语句内容不能为空....!- =~";
inline constexpr std::string_view MSG_FOR_FORMAT = "语句表达式处理_for语句格式错误....!- =~";
inline constexpr std::string_view MSG_FOR_EMPTY = "语句表达式处理_for语句内容空错误....!- =~";
inline constexpr std::string_view MSG_BREAK = "语句表达式处理_break语句错误....!- =~";
inline constexpr std::string_view MSG_BREAK_OUTSIDE_LOOP = "语句表达式处理_break语句错误.......!- =~";
inline constexpr std::string_view MSG_CONTINUE = "语句表达式处理_continue语句错误....!- =~";
inline constexpr std::string_view MSG_CONTINUE_OUTSIDE_LOOP = "语句表达式处理_continue语句错误.......!- =~";
inline constexpr std::string_view MSG_RETURN_TYPE = "语句表达式处理_return_函数类型错误....!- =~";
inline constexpr std::string_view MSG_GOTO_NAME = "语句表达式处理_goto语句命名错误....!- =~";
inline constexpr std::string_view MSG_GOTO_NAME_TWICE = "语句表达式处理_goto名称重复错误....!- =~";
inline constexpr std::string_view MSG_ROM_RUN = "语句表达式处理_rom_run语句错误....!- =~";

// Messages of the closing of control statements.
inline constexpr std::string_view MSG_DO_WITHOUT_WHILE = "语句表达式处理部件_控制语句结尾处理_do语句尾部缺少while错误....!- =~";
inline constexpr std::string_view MSG_DO_WHILE_FORMAT = "语句表达式处理部件_控制语句结尾处理_do-while语句尾部while格式错误....!- =~";
inline constexpr std::string_view MSG_DO_WHILE_EMPTY = "语句表达式处理部件_控制语句结尾处理_do-while语句尾部while内容空错误....!- =~";
inline constexpr std::string_view MSG_DO_WHILE_SEMICOLON = "语句表达式处理部件_控制语句结尾处理_do-while语句尾部while缺少';'....!- =~";
inline constexpr std::string_view MSG_UNKNOWN_LEVEL = "语句表达式处理部件_控制语句结尾处理_神魔情况?....!- =~";

// Messages of the expression extraction.
inline constexpr std::string_view MSG_EXTRACT_TEXT_END = "C代码表达式提取_文本结束错误....!- =~";
inline constexpr std::string_view MSG_EXTRACT_STRING_END = "C代码表达式提取_文本结束错误.....!- =~";
inline constexpr std::string_view MSG_EXTRACT_OPERAND = "C代码表达式提取_操作数错误....!- =~";
inline constexpr std::string_view MSG_EXTRACT_OPERATOR = "C代码表达式提取_运算符错误....!- =~";
inline constexpr std::string_view MSG_EXTRACT_ASSIGNMENT_IN_CONDITIONAL = "C代码表达式提取_赋值符出现在三目运算符内部错误....!- =~";
inline constexpr std::string_view MSG_EXTRACT_SQUARE_BRACKETS = "C代码表达式提取_中括号对数错误....!- =~";
inline constexpr std::string_view MSG_EXTRACT_PARENTHESES = "C代码表达式提取_圆括号对数错误....!- =~";
inline constexpr std::string_view MSG_EXTRACT_SEMICOLON_IN_BRACKETS = "C代码表达式提取_;位置错误....!- =~";
inline constexpr std::string_view MSG_EXTRACT_SEMICOLON_BEFORE_PAREN = "C代码表达式提取_结束控制为1_;位置错误....!- =~";
inline constexpr std::string_view MSG_EXTRACT_UNRECOGNISED = "C代码表达式提取_发现未识别的符号....!- =~";

}  // namespace tarvik
