// The code generator for one operation: D = L op R, the assignment L = R, the complement
// D = ~R, or a comparison of L and R left as jump lists.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/state.h"

namespace tarvik {

// An operand descriptor: a kind byte above a 24-bit value (an address, a constant's index
// or a small immediate).
using OperandDescriptor = std::int32_t;

inline constexpr int OPERAND_KIND_IMMEDIATE = 0x00;
inline constexpr int OPERAND_KIND_UCHAR = 0x80;
inline constexpr int OPERAND_KIND_UINT = 0x81;
inline constexpr int OPERAND_KIND_ULONG = 0x82;
inline constexpr int OPERAND_KIND_CHAR = 0x83;
inline constexpr int OPERAND_KIND_INT = 0x84;
inline constexpr int OPERAND_KIND_LONG = 0x85;
inline constexpr int OPERAND_KIND_UCHAR_PTR = 0x86;
inline constexpr int OPERAND_KIND_UINT_PTR = 0x87;
inline constexpr int OPERAND_KIND_ULONG_PTR = 0x88;
inline constexpr int OPERAND_KIND_CHAR_PTR = 0x89;
inline constexpr int OPERAND_KIND_INT_PTR = 0x8A;
inline constexpr int OPERAND_KIND_LONG_PTR = 0x8B;
inline constexpr int OPERAND_KIND_UCHAR_ARRAY = 0x8C;
inline constexpr int OPERAND_KIND_UINT_ARRAY = 0x8D;
inline constexpr int OPERAND_KIND_ULONG_ARRAY = 0x8E;
inline constexpr int OPERAND_KIND_CHAR_ARRAY = 0x8F;
inline constexpr int OPERAND_KIND_INT_ARRAY = 0x90;
inline constexpr int OPERAND_KIND_LONG_ARRAY = 0x91;
inline constexpr int OPERAND_KIND_UCHAR_VIA_PTR = 0x92;
inline constexpr int OPERAND_KIND_UINT_VIA_PTR = 0x93;
inline constexpr int OPERAND_KIND_ULONG_VIA_PTR = 0x94;
inline constexpr int OPERAND_KIND_CHAR_VIA_PTR = 0x95;
inline constexpr int OPERAND_KIND_INT_VIA_PTR = 0x96;
inline constexpr int OPERAND_KIND_LONG_VIA_PTR = 0x97;
inline constexpr int OPERAND_KIND_ADDRESS = 0x98;
inline constexpr int OPERAND_KIND_CONDITION = 0xE7;
inline constexpr int OPERAND_KIND_CONSTANT = 0xE8;
inline constexpr int OPERAND_KIND_RAM = 0xE9;
inline constexpr int OPERAND_KIND_A_UNSIGNED = 0xEA;
inline constexpr int OPERAND_KIND_A_SIGNED = 0xEB;
// The register pseudo-operands of the dialect.
inline constexpr int OPERAND_KIND_B_AL = 0xEC;
inline constexpr int OPERAND_KIND_A_BH = 0xED;
inline constexpr int OPERAND_KIND_B_0 = 0xEE;
inline constexpr int OPERAND_KIND_A_0 = 0xEF;
inline constexpr int OPERAND_KIND_SUB_A_1 = 0xF0;
inline constexpr int OPERAND_KIND_SUB_A_B_1 = 0xF1;
inline constexpr int OPERAND_KIND_SUB_A_B = 0xF2;
inline constexpr int OPERAND_KIND_ADD_A_1 = 0xF3;
inline constexpr int OPERAND_KIND_ADD_A_A_1 = 0xF4;
inline constexpr int OPERAND_KIND_ADD_A_B_1 = 0xF5;
inline constexpr int OPERAND_KIND_ADD_A_A = 0xF6;
inline constexpr int OPERAND_KIND_ADD_A_B = 0xF7;
inline constexpr int OPERAND_KIND_BH = 0xF8;
inline constexpr int OPERAND_KIND_AH = 0xF9;
inline constexpr int OPERAND_KIND_NOP = 0xFA;
inline constexpr int OPERAND_KIND_A0 = 0xFB;
inline constexpr int OPERAND_KIND_A1 = 0xFC;
inline constexpr int OPERAND_KIND_A2 = 0xFD;
inline constexpr int OPERAND_KIND_B = 0xFE;
inline constexpr int OPERAND_KIND_A = 0xFF;

// A descriptor of the given kind and value.
constexpr OperandDescriptor make_operand(int kind, std::int32_t value) {
  return static_cast<OperandDescriptor>(static_cast<std::uint32_t>(kind) << 24 | (static_cast<std::uint32_t>(value) & 0xFFFFFF));
}

// Register A as an operand (a copy's source or target, a result left in A), and a condition
// held in the jump lists.
inline constexpr OperandDescriptor REGISTER_A = make_operand(OPERAND_KIND_A, 0);
inline constexpr OperandDescriptor CONDITION = make_operand(OPERAND_KIND_CONDITION, 0);

// The kind byte of a descriptor, 0x00 to 0xFF.
constexpr int get_operand_kind(OperandDescriptor descriptor) { return (descriptor >> 24) & 0xFF; }

// The classes of operand kinds.
constexpr bool is_v8(int kind) { return kind == OPERAND_KIND_UCHAR || kind == OPERAND_KIND_CHAR; }
constexpr bool is_v16(int kind) { return kind == OPERAND_KIND_UINT || kind == OPERAND_KIND_INT; }
constexpr bool is_v32(int kind) { return kind == OPERAND_KIND_ULONG || kind == OPERAND_KIND_LONG; }
// The width of a 1-, 2- or 4-byte variable, 0 for any other kind.
constexpr int variable_width(int kind) { return is_v8(kind) ? 1 : is_v16(kind) ? 2 : is_v32(kind) ? 4 : 0; }
constexpr bool is_variable(int kind) { return variable_width(kind) != 0; }
// A value in register A: as an operand the 8-bit value there, as D a result left there.
constexpr bool is_acc(int kind) {
  return kind == OPERAND_KIND_A_UNSIGNED || kind == OPERAND_KIND_A_SIGNED || kind == OPERAND_KIND_A;
}
// A value that register A holds for an expression (not the register `_A` itself).
constexpr bool is_acc_value(int kind) { return kind == OPERAND_KIND_A_UNSIGNED || kind == OPERAND_KIND_A_SIGNED; }
constexpr bool is_constant(int kind) { return kind == OPERAND_KIND_CONSTANT; }
// Element size of an array (Y1, Y2, Y4), a pointer variable (P1, P2, P4) or an object
// through a pointer (Q1, Q2, Q4); 0 for any other kind.
constexpr int array_element_size(int kind) {
  switch (kind) {
    case OPERAND_KIND_UCHAR_ARRAY: case OPERAND_KIND_CHAR_ARRAY: return 1;
    case OPERAND_KIND_UINT_ARRAY: case OPERAND_KIND_INT_ARRAY: return 2;
    case OPERAND_KIND_ULONG_ARRAY: case OPERAND_KIND_LONG_ARRAY: return 4;
    default: return 0;
  }
}
constexpr int pointer_element_size(int kind) { return array_element_size(kind + 6); }
constexpr int via_pointer_size(int kind) { return array_element_size(kind - 6); }
constexpr bool is_array(int kind) { return array_element_size(kind) != 0; }
constexpr bool is_pointer(int kind) { return kind >= OPERAND_KIND_UCHAR_PTR && kind <= OPERAND_KIND_LONG_PTR; }
constexpr bool is_via_pointer(int kind) { return kind >= OPERAND_KIND_UCHAR_VIA_PTR && kind <= OPERAND_KIND_LONG_VIA_PTR; }
constexpr bool is_address(int kind) { return kind == OPERAND_KIND_ADDRESS; }
// The kinds whose values count as signed where the sign matters.
constexpr bool is_signed_kind(int kind) {
  return kind == OPERAND_KIND_CHAR || kind == OPERAND_KIND_INT || kind == OPERAND_KIND_LONG || kind == OPERAND_KIND_A_SIGNED;
}

// The sense of falling through a condition's code.
inline constexpr std::string_view SENSE_TRUE = "真";
inline constexpr std::string_view SENSE_FALSE = "假";

inline constexpr std::string_view STATUS_BINOP_OPERATOR_ERROR = "二元式机器码生成_运算符错误...~!- -";
// STATUS_BINOP_TYPE_ERROR: one text per operator case, and one per target of "=".
inline constexpr std::string_view STATUS_BINOP_ADD_TYPE_ERROR = "二元式机器码生成_+_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_SUB_TYPE_ERROR = "二元式机器码生成_-_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_MUL_TYPE_ERROR = "二元式机器码生成_*_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_DIV_TYPE_ERROR = "二元式机器码生成_/_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_MOD_TYPE_ERROR = "二元式机器码生成_%_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_BITWISE_TYPE_ERROR = "二元式机器码生成_&_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_COMPLEMENT_TYPE_ERROR = "二元式机器码生成_~_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_SHL_TYPE_ERROR = "二元式机器码生成_<<_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_SHR_TYPE_ERROR = "二元式机器码生成_>>_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_STRICT_TYPE_ERROR = "二元式机器码生成_>或<_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_NON_STRICT_TYPE_ERROR = "二元式机器码生成_>=或<=_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_EQUALITY_TYPE_ERROR = "二元式机器码生成_== !=_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_ASSIGN_CHAR_TYPE_ERROR = "二元式机器码生成_char_=_?_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_ASSIGN_INT16_TYPE_ERROR = "二元式机器码生成_int16_=_?_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_ASSIGN_INT32_TYPE_ERROR = "二元式机器码生成_int32_=_?_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_ASSIGN_CHAR_VIA_PTR_TYPE_ERROR = "二元式机器码生成_char指针指向内容_=_?_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_ASSIGN_INT_VIA_PTR_TYPE_ERROR = "二元式机器码生成_int指针指向内容_=_?_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_ASSIGN_A_TYPE_ERROR = "二元式机器码生成_A_=_?_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_ASSIGN_B_TYPE_ERROR = "二元式机器码生成_B_=_?_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_ASSIGN_A2_TYPE_ERROR = "二元式机器码生成_A2_=_?_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_ASSIGN_A1_TYPE_ERROR = "二元式机器码生成_A1_=_?_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_ASSIGN_A0_TYPE_ERROR = "二元式机器码生成_A0_=_?_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_ASSIGN_RAM_TYPE_ERROR = "二元式机器码生成_RAM_=_?_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_ASSIGN_ADDRESS_TYPE_ERROR = "二元式机器码生成_指针格式int24_=_?_运算类型错误或不存在...~!- -";
inline constexpr std::string_view STATUS_BINOP_ASSIGN_OTHER_TYPE_ERROR = "二元式机器码生成_?_=_?_运算类型错误或不存在...~!- -";

// Compiles one operation and returns STATUS_DONE, or an error text with nothing emitted
// and the condition lists and op as they were. The relational cases may rewrite op into
// its mirror image; callers pass a text of their own and do not read it afterwards.
StatusText generate_binary_operation_code(OperandDescriptor d, OperandDescriptor l, Text& op, OperandDescriptor r);

}  // namespace tarvik
