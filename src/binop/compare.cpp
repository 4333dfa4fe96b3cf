#include "binop/reduction.h"

namespace tarvik::binop {

namespace {

// What sets ">" and "<" apart from ">=", "<=", "==" and "!=".
struct Group {
  std::string_view operand_error;
  bool takes_flags;  // a flag against a constant goes to the generator
};

constexpr Group TWO_CHARACTER = {STATUS_TWO_CHAR_COMPARE_OPERAND_ERROR, true};
constexpr Group ONE_CHARACTER = {STATUS_GT_LT_OPERAND_ERROR, false};


// Two constants compare as signed 32-bit numbers.
struct FoldRule {
  std::string_view op;
  bool (*holds)(std::int32_t a, std::int32_t b);
};

constexpr FoldRule FOLDS[] = {
    {">=", [](std::int32_t a, std::int32_t b) { return a >= b; }},
    {"<=", [](std::int32_t a, std::int32_t b) { return a <= b; }},
    {"==", [](std::int32_t a, std::int32_t b) { return a == b; }},
    {"!=", [](std::int32_t a, std::int32_t b) { return a != b; }},
    {">", [](std::int32_t a, std::int32_t b) { return a > b; }},
    {"<", [](std::int32_t a, std::int32_t b) { return a < b; }},
};

bool holds(std::string_view op, std::int32_t a, std::int32_t b) {
  for (const FoldRule& rule : FOLDS)
    if (rule.op == op) return rule.holds(a, b);
  return false;
}

// ---- The pairs that are compared.
constexpr bool is_value(int kind) { return is_acc_value(kind) || is_variable(kind); }
constexpr bool is_constant_or_array(int kind) { return is_constant(kind) || is_array(kind); }
constexpr bool is_flag(int kind) { return kind >= OPERAND_KIND_SUB_A_1 && kind <= OPERAND_KIND_AH; }
constexpr bool is_register_a(int kind) { return kind == OPERAND_KIND_A; }
constexpr bool is_register_b(int kind) { return kind == OPERAND_KIND_B; }

struct Pair {
  bool (*left)(int kind);
  bool (*right)(int kind);
  bool flags_only = false;  // only where the group takes flags
};

constexpr Pair PAIRS[] = {
    {is_char_operand, is_acc_value},
    {is_acc_value, is_char_operand},
    {is_char_operand, is_char_operand},
    {is_int_operand, is_int_operand},
    {is_long_operand, is_long_operand},
    {is_value, is_constant_or_array},
    {is_flag, is_constant_or_array, true},
    {is_constant_or_array, is_value},
    {is_constant_or_array, is_flag, true},
    {is_register_a, is_register_b},
    {is_register_b, is_register_a},
};

bool is_compared(const Group& group, int l, int r) {
  for (const Pair& pair : PAIRS)
    if ((group.takes_flags || !pair.flags_only) && pair.left(l) && pair.right(r)) return true;
  return false;
}

// ---- Preparation.

// A pointer compares as its address, an unsigned long. Its copy passes the bytes through A,
// so an A value on the other side is stored first.
StatusText copy_pointer(OperandDescriptor& pointer, OperandDescriptor& other) {
  if (!is_pointer(get_operand_kind(pointer))) return Text(STATUS_DONE);
  if (is_acc_value(get_operand_kind(other))) {
    StatusText status = copy_into_temporary(other, OPERAND_KIND_LONG, 4, OPERAND_KIND_LONG);
    if (status != STATUS_DONE) return status;
  }
  pointer = make_operand(OPERAND_KIND_ADDRESS, pointer);
  return copy_into_temporary(pointer, OPERAND_KIND_ULONG, 4, OPERAND_KIND_ULONG);
}

StatusText copy_pointers(Operation& o) {
  StatusText status = copy_pointer(o.l, o.r);
  if (status != STATUS_DONE) return status;
  return copy_pointer(o.r, o.l);
}

// ---- The result.

// The whole text leaves a condition for the caller; inside a larger text it becomes 0 or 1 in A.
StatusText compare(Operation& o) {
  Text op(o.op);
  StatusText status = generate_binary_operation_code(CONDITION, o.l, op, o.r);
  if (status != STATUS_DONE) return status;
  if (o.is_last && o.scan.operand_count == 1) {
    place_result(o, left_token_as(o, OPERAND_KIND_CONDITION));
    return Text(STATUS_CONTINUE);
  }
  Text assign("=");
  status = generate_binary_operation_code(0, REGISTER_A, assign, CONDITION);
  if (status != STATUS_DONE) return status;
  place_a_result(o, OPERAND_KIND_A_SIGNED);
  return Text(STATUS_CONTINUE);
}

}  // namespace

StatusText reduce_comparison(Scan& scan, std::string_view op) {
  const Group& group = op.size() == 1 ? ONE_CHARACTER : TWO_CHARACTER;
  Operation o{scan};
  if (!read_operation(scan, op, o)) return Text(group.operand_error);
  const StatusText status = prepare_numbers(o, false, copy_pointers);
  if (status != STATUS_DONE) return status;
  const int l = o.l_kind(), r = o.r_kind();
  if (is_compared(group, l, r)) return compare(o);
  if (is_constant(l) && is_constant(r)) {
    fold(o, holds(op, constant_value(o.l), constant_value(o.r)) ? 1 : 0);
    return Text(STATUS_CONTINUE);
  }
  return Text(group.operand_error);
}

}  // namespace tarvik::binop
