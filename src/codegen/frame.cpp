#include "codegen/blocks.h"

namespace tarvik {

namespace {

using codegen::Operand;

// A constant takes its value from the table, an array keeps its kind and gives its address,
// an immediate becomes a constant whose value is its 24 bits.
Operand normalised(OperandDescriptor x) {
  Operand operand{x, get_operand_kind(x), 0};
  const std::int32_t low = x & 0xFFFFFF;
  if (operand.kind == OPERAND_KIND_CONSTANT) {
    operand.value = g_constant_table[low];  // throws past the table's end, before any word
  } else if (is_array(operand.kind)) {
    operand.value = low;
  } else if (operand.kind == OPERAND_KIND_IMMEDIATE) {
    operand.value = low;
    operand.descriptor = make_operand(OPERAND_KIND_CONSTANT, 0);
    operand.kind = OPERAND_KIND_CONSTANT;
  }
  return operand;
}

Operand as_given(OperandDescriptor x) { return Operand{x, get_operand_kind(x), 0}; }

}  // namespace

StatusText generate_binary_operation_code(OperandDescriptor d, OperandDescriptor l, Text& op, OperandDescriptor r) {
  using namespace codegen;
  const auto both_normalised = [&] { return Operation{as_given(d), normalised(l), normalised(r)}; };
  if (op == "+") return compile_addition(both_normalised());
  if (op == "-") return compile_subtraction(both_normalised());
  if (op == "*") return compile_multiplication(both_normalised());
  if (op == "/") return compile_division(both_normalised(), false);
  if (op == "%") return compile_division(both_normalised(), true);
  if (op == "&" || op == "|" || op == "^") return compile_bitwise(both_normalised(), op);
  if (op == "~") return compile_complement(Operation{as_given(d), as_given(l), as_given(r)});
  if (op == "<<") return compile_shift(both_normalised(), true);
  if (op == ">>") return compile_shift(both_normalised(), false);
  if (op == ">" || op == "<") return compile_relational(both_normalised(), op, true);
  if (op == ">=" || op == "<=") return compile_relational(both_normalised(), op, false);
  if (op == "==" || op == "!=") return compile_equality(both_normalised(), op == "!=");
  if (op == "=") return compile_assignment(Operation{as_given(d), as_given(l), normalised(r)});
  return Text(STATUS_BINOP_OPERATOR_ERROR);
}

}  // namespace tarvik
