// The expression evaluator: one whole expression text, level by level, with its groupings,
// calls, indexing, sizeof, commas, && and ||, ?: and the assignments they split off.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "app/state.h"

namespace tarvik {

// The evaluator's result when the expression was compiled through its final ";".
inline constexpr std::string_view STATUS_EXPRESSION_END = ";";

// Compiles one expression text from its start to its final ";". A condition (is_condition 1)
// then falls through into the next word exactly when it is true, every false exit listed in
// g_false_jumps and g_true_jumps empty. The caller's text is not changed. Returns
// STATUS_EXPRESSION_END or the error that stopped it.
StatusText process_main_expression(const ByteArray& text, std::int32_t is_condition);

// The part of a level text after its last assignment operator, where it starts and whether it
// still holds an operator; in the AssignmentSplit globals.
void split_assignment_rhs(std::string_view text);
// The last assignment of a level text, its left side, operator and right side, where it starts
// and its operator's code; in the AssignmentSplit globals.
void split_last_assignment(std::string_view text);
// Every assignment of a level text: its left side, the text back to the assignment operator
// before it (or the text's start), and where its right side starts.
struct AssignmentSides {
  std::string_view target;
  std::size_t value_at = 0;
};
std::vector<AssignmentSides> assignment_sides(std::string_view text);

// An operand's token followed by this compares it with constant entry 0, which holds 0.
inline constexpr std::string_view NONZERO_TEST_TEXT{"!=\xE8\x00\x00\x00   ", 9};
// Where the then-part of a ?: is assigned when its level holds no assignment: "=".
inline constexpr std::int32_t PLAIN_ASSIGNMENT_CODE = 0x20203D;

// The evaluator's own messages.
inline constexpr std::string_view STATUS_EXPRESSION_UNRECOGNISED_SYMBOL = "主达式处理_出现未识别的符号...+ +!~";
inline constexpr std::string_view STATUS_TERNARY_MISMATCH = "三目运算符?:错误";
inline constexpr std::string_view STATUS_COLON_WITHOUT_QUESTION = "?:对数错误...";

inline constexpr std::string_view STATUS_PAREN_RETURN_VALUE_ERROR = "主表达式处理_)_子表达式处理_返回值错误...";
inline constexpr std::string_view STATUS_PAREN_LOOKUP_ERROR = "主表达式处理_)_操作数查询错误";
inline constexpr std::string_view STATUS_PAREN_OPERAND_TYPE_ERROR = "主表达式处理_)_操作数类型错误_!- =~...";
inline constexpr std::string_view STATUS_EMPTY_GROUPING = "主表达式处理_)_括号内容错误_!- =~...";

inline constexpr std::string_view STATUS_SIZEOF_EMPTY = "主表达式处理_)_sizeof_操作数不能空!- =~...";
inline constexpr std::string_view STATUS_SIZEOF_LOOKUP_ERROR = "主表达式处理_)_sizeof_操作数查询错误_!- =~...";
inline constexpr std::string_view STATUS_SIZEOF_OPERAND_ERROR = "主表达式处理_)_sizeof_操作数错误_!- =~...";

inline constexpr std::string_view STATUS_ARGUMENT_NOT_FOUND = "主表达式处理_)_函数实参未找到_!- =~...";
inline constexpr std::string_view STATUS_ARGUMENT_SCAN_ERROR = "主表达式处理_)_函数参数扫描错误_!- =~...";
inline constexpr std::string_view STATUS_ARGUMENT_SEPARATOR_ERROR = "主表达式处理_)_函数参数扫描错误_!- =~.....";
inline constexpr std::string_view STATUS_FUNCTION_NOT_FOUND = "没有找到函数";
inline constexpr std::string_view STATUS_TOO_FEW_ARGUMENTS = "函数参数传递太少";
inline constexpr std::string_view STATUS_TOO_MANY_ARGUMENTS = "传递了过多的参数";
inline constexpr std::string_view STATUS_PARAMETER_TYPE_UNKNOWN = "没找到函数参数类型";
inline constexpr std::string_view STATUS_RETURN_TYPE_UNKNOWN = "没找到函数类型";

inline constexpr std::string_view STATUS_BRACKET_RETURN_VALUE_ERROR = "主表达式处理_]_子表达式处理_返回值错误...";
inline constexpr std::string_view STATUS_BRACKET_LOOKUP_ERROR = "主表达式处理_]_操作数查询错误";
inline constexpr std::string_view STATUS_BRACKET_OPERAND_TYPE_ERROR = "主表达式处理_]_操作数类型错误_!- =~...";
inline constexpr std::string_view STATUS_BRACKET_TERNARY_MISMATCH = "主表达式处理_]_三目运算符?:错误...~- +!";
inline constexpr std::string_view STATUS_ARRAY_NAME_ERROR = "主表达式处理_]_数组名称错误...~- +!";
inline constexpr std::string_view STATUS_INDEX_SUM_ERROR = "主表达式处理_]_子表达式处理_返回值错误...~- +!";

inline constexpr std::string_view STATUS_COMMA_RETURN_VALUE_ERROR = "主表达式处理_,_子表达式处理_返回值错误...";
inline constexpr std::string_view STATUS_COMMA_LOOKUP_ERROR = "主表达式处理_,_操作数查询错误";
inline constexpr std::string_view STATUS_COMMA_OPERAND_TYPE_ERROR = "主表达式处理_,_操作数类型错误_!- =~...";
inline constexpr std::string_view STATUS_COMMA_TERNARY_MISMATCH = "主表达式处理_,_三目运算符?:错误_!- =~...";
inline constexpr std::string_view STATUS_COMMA_NAME_NOT_FOUND = "主表达式处理_,_操作数查询错误_!- =~...";

inline constexpr std::string_view STATUS_END_RETURN_VALUE_ERROR = "主表达式处理_;_子表达式处理_返回值错误...";
inline constexpr std::string_view STATUS_END_LOOKUP_ERROR = "主表达式处理_;_操作数查询错误";
inline constexpr std::string_view STATUS_END_OPERAND_TYPE_ERROR = "主表达式处理_;_操作数类型错误_!- =~...";
inline constexpr std::string_view STATUS_END_NAME_NOT_FOUND = "主表达式处理_;_操作数查询错误_!- =~...";

inline constexpr std::string_view STATUS_OR_OPERAND_ERROR = "主表达式处理_||_操作数错误_!- =~...";
inline constexpr std::string_view STATUS_AND_OPERAND_ERROR = "主表达式处理_&&_操作数错误_!- =~...";

}  // namespace tarvik
