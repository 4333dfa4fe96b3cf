// "*", "/" and "%": loops that the generator emits over the scratch RAM, so the result always
// goes into RAM (a target or a temporary), never into register A.
#include "binop/reduction.h"

namespace tarvik::binop {

namespace {

// A size class: the shortcut takes a target of either kind, a temporary is passed unsigned.
struct SizeClass {
  int width, unsigned_kind, signed_kind;
};

constexpr SizeClass SIZE_CLASSES[] = {
    {1, OPERAND_KIND_UCHAR, OPERAND_KIND_CHAR},
    {2, OPERAND_KIND_UINT, OPERAND_KIND_INT},
    {4, OPERAND_KIND_ULONG, OPERAND_KIND_LONG},
};

// In unsigned 32 bits, as the generated code wraps; -2147483648 / -1 wraps to itself. A zero
// divisor folds the quotient to 0; the remainder is the dividend, which is what the loop leaves.
std::int32_t folded(std::string_view op, std::int32_t a, std::int32_t b) {
  const auto ua = static_cast<std::uint32_t>(a), ub = static_cast<std::uint32_t>(b);
  if (op == "*") return static_cast<std::int32_t>(ua * ub);
  if (b == 0) return op == "/" ? 0 : a;
  if (b == -1) return op == "/" ? static_cast<std::int32_t>(0u - ua) : 0;
  return op == "/" ? a / b : a % b;
}

StatusText compute(Operation& o, const SizeClass& size) {
  if (takes_shortcut(o, {size.unsigned_kind, size.signed_kind})) return into_target(o);
  const int result_kind = pair_is_signed(o.l, o.r) ? size.signed_kind : size.unsigned_kind;
  return into_temporary(o, size.unsigned_kind, size.width, result_kind);
}

StatusText reduce(Operation& o) {
  if (is_constant(o.l_kind()) && is_constant(o.r_kind())) {
    fold(o, folded(o.op, constant_value(o.l), constant_value(o.r)));
    return Text(STATUS_DONE);
  }
  const int width = pair_width(o);
  for (const SizeClass& size : SIZE_CLASSES)
    if (size.width == width) return compute(o, size);
  return Text(STATUS_MUL_OPERAND_ERROR);
}

}  // namespace

StatusText reduce_multiplicative(Scan& scan, std::string_view op) {
  Operation o{scan};
  if (!read_operation(scan, op, o)) return Text(STATUS_MUL_OPERAND_ERROR);
  StatusText status = prepare_numbers(o, false);
  if (status == STATUS_DONE) status = reduce(o);
  return status == STATUS_DONE ? Text(STATUS_CONTINUE) : status;
}

}  // namespace tarvik::binop
