// Operands and unary operators: what register A holds for an expression, and its spill.
#pragma once

#include <array>
#include <initializer_list>
#include <string_view>

#include "app/state.h"
#include "codegen/codegen.h"

namespace tarvik {

// A pointer kind and the kind of its object differ by this, and so do an array kind and its
// element kind.
inline constexpr int KIND_INDIRECTION_STEP = 0x0C;

// The kind a declared type text gives, as a local or global and as a parameter ("[]" makes
// a parameter a pointer to the caller's array).
struct TypeKind {
  std::string_view type;
  int kind;
  int parameter_kind;
};
inline constexpr std::array<TypeKind, 18> TYPE_KIND_TABLE = {{
    {"unsigned char", 0x80, 0x80},        {"unsigned int", 0x81, 0x81},      {"unsigned long int", 0x82, 0x82},
    {"char", 0x83, 0x83},                 {"int", 0x84, 0x84},               {"long int", 0x85, 0x85},
    {"unsigned char*", 0x86, 0x86},       {"unsigned int*", 0x87, 0x87},     {"unsigned long int*", 0x88, 0x88},
    {"char*", 0x89, 0x89},                {"int*", 0x8A, 0x8A},              {"long int*", 0x8B, 0x8B},
    {"unsigned char[]", 0x8C, 0x86},      {"unsigned int[]", 0x8D, 0x87},    {"unsigned long int[]", 0x8E, 0x88},
    {"char[]", 0x8F, 0x89},               {"int[]", 0x90, 0x8A},             {"long int[]", 0x91, 0x8B},
}};

// The kind of a declared type text as a variable, as a parameter, and as a function's result
// (a scalar or a pointer, no array); 0 for a text that has none. A Text ends at its first NUL.
int variable_type_kind(std::string_view type);
int parameter_type_kind(std::string_view type);
int result_type_kind(std::string_view type);

// The register pseudo-operands, in the order a name is tested against them.
struct PseudoOperand {
  std::string_view name;
  int kind;
};
inline constexpr std::array<PseudoOperand, 21> PSEUDO_OPERAND_TABLE = {{
    {"_A", OPERAND_KIND_A},           {"_B", OPERAND_KIND_B},           {"_A2", OPERAND_KIND_A2},
    {"_A1", OPERAND_KIND_A1},         {"_A0", OPERAND_KIND_A0},         {"_RAM", OPERAND_KIND_RAM},
    {"_NOP", OPERAND_KIND_NOP},       {"_AH", OPERAND_KIND_AH},         {"_BH", OPERAND_KIND_BH},
    {"_ADD_A_B", OPERAND_KIND_ADD_A_B}, {"_ADD_A_A", OPERAND_KIND_ADD_A_A}, {"_ADD_A_1", OPERAND_KIND_ADD_A_1},
    {"_ADD_A_B_1", OPERAND_KIND_ADD_A_B_1}, {"_ADD_A_A_1", OPERAND_KIND_ADD_A_A_1}, {"_SUB_A_B", OPERAND_KIND_SUB_A_B},
    {"_SUB_A_1", OPERAND_KIND_SUB_A_1}, {"_SUB_A_B_1", OPERAND_KIND_SUB_A_B_1}, {"_A_0", OPERAND_KIND_A_0},
    {"_B_0", OPERAND_KIND_B_0},       {"_A_BH", OPERAND_KIND_A_BH},     {"_B_AL", OPERAND_KIND_B_AL},
}};

// The descriptor of a name: a local, a parameter of the function being compiled, a global
// or a register pseudo-operand, in that order; 0 when none bears it (or when the first
// entry bearing it has a type without a kind).
OperandDescriptor lookup_operand(std::string_view name);

// Statuses of the subexpression processor and its unary operators.
inline constexpr std::string_view STATUS_OPERAND_NOT_FOUND = "子表达式处理_未找到操作数!~";
inline constexpr std::string_view STATUS_SUBEXPRESSION_CONTENT_ERROR = "子表达式处理_单目运算符处理_子表达式内容错误...- -";
inline constexpr std::string_view STATUS_ADDRESS_OF_STATE_ERROR = "子表达式处理_单目运算符处理_&操作数状态错误...~- -";
inline constexpr std::string_view STATUS_RIGHT_OF_OPERAND_ERROR = "子表达式处理_单目运算符处理_操作数右侧符号错误。。。！~";
inline constexpr std::string_view STATUS_LEFT_OF_OPERAND_ERROR = "子表达式处理_单目运算符处理_操作数左侧运算符错误...~- -";
inline constexpr std::string_view STATUS_MISSING_OPERATOR = "子表达式处理_单目运算符处理_操作数和操作数之间缺少运算符...~- =";
inline constexpr std::string_view STATUS_NOT_OPERAND_ERROR = "子表达式处理_单目运算符处理_操作数左侧!错误...~- -";
inline constexpr std::string_view STATUS_COMPLEMENT_OPERAND_ERROR = "子表达式处理_单目运算符处理_操作数左侧~错误...~- -";
inline constexpr std::string_view STATUS_COMPLEMENT_REGISTER_ERROR = "子表达式处理_单目运算符处理_A操作数或B操作数左侧~错误_左侧缺少目的操作数或右侧有多余操作数...~- -";
inline constexpr std::string_view STATUS_POSTFIX_STEP_ERROR = "子表达式处理_单目运算符处理_操作数右侧++或--错误...~- -";
inline constexpr std::string_view STATUS_PREFIX_STEP_STATE_ERROR = "子表达式处理_单目运算符处理_操作数左侧++或--错误。。。！~";
inline constexpr std::string_view STATUS_PREFIX_STEP_ERROR = "子表达式处理_单目运算符处理_操作数左侧++或--错误...~- -";
inline constexpr std::string_view STATUS_INDIRECTION_TYPE_ERROR = "子表达式处理_单目运算符处理_*操作数类型错误~..";
inline constexpr std::string_view STATUS_ADDRESS_OF_TYPE_ERROR = "子表达式处理_单目运算符处理_&操作数类型错误...~- -";
inline constexpr std::string_view STATUS_PLUS_OPERAND_ERROR = "子表达式处理_单目运算符处理_操作数左侧+错误...~- -";
inline constexpr std::string_view STATUS_MINUS_OPERAND_ERROR = "子表达式处理_单目运算符处理_操作数左侧-错误...~- -";
inline constexpr std::string_view STATUS_UNARY_UNRECOGNISED_SYMBOL = "子表达式处理_单目运算符处理_出现未识别的符号..+_+~";

// Compiles one level text of an expression in place: names become operand tokens, unary
// operators are applied, then the binary operators and assignments. On success the result
// is in g_subexpr_result.
StatusText process_subexpression(ByteArray& text);

// g_register_a_state: nothing pending, or a pending unsigned or signed 8-bit value.
inline constexpr std::string_view REG_A_FREE = "A";
inline constexpr std::string_view REG_A_UNSIGNED = "无符号A";
inline constexpr std::string_view REG_A_SIGNED = "有符号A";
// g_register_a_token_place: the pending value's token lies in the level text being
// processed, or in g_expression_text.
inline constexpr std::string_view TOKEN_IN_SUBEXPRESSION = "子表达式";
inline constexpr std::string_view TOKEN_IN_MAIN_EXPRESSION = "主表达式";

// The text that holds the pending value's token: the level text being processed, or the
// main expression's text.
ByteArray& register_a_token_text(ByteArray& level_text);

// Frees register A before it is reused: a pending value is stored into a new 1-byte
// temporary, whose token (unsigned or signed char) replaces the value's token in `text`.
// Nothing is stored when one of `exempt` is the pending value itself (kind 0xEA or 0xEB),
// or when no token of that kind stands at the recorded position. Afterwards A is free;
// a failed store returns the generator's error and leaves everything as it was.
StatusText spill_register_a(ByteArray& text, std::initializer_list<OperandDescriptor> exempt);

}  // namespace tarvik
