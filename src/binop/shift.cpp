// "<<" and ">>": computed in the left operand's width and signedness; the count never
// changes the result's type.
#include <cstdint>
#include <limits>
#include <span>

#include "binop/reduction.h"

namespace tarvik::binop {

namespace {

// A constant shifted needs a type: the smallest signed one that holds its value.
struct ConstantType {
  std::int32_t low, high;
  int passed_kind, size, kind;
};
constexpr ConstantType CONSTANT_TYPES[] = {
    {-128, 127, OPERAND_KIND_UCHAR, 1, OPERAND_KIND_CHAR},
    {-32768, 32767, OPERAND_KIND_UINT, 2, OPERAND_KIND_INT},
    {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(), OPERAND_KIND_ULONG, 4,
     OPERAND_KIND_LONG},
};

// An A value on the right is stored first: the constant's store goes through A.
StatusText type_left_constant(Operation& o) {
  if (is_acc_value(o.r_kind())) {
    StatusText status = spill_a_operand(o.r);
    if (status != STATUS_DONE) return status;
  }
  const std::int32_t v = constant_value(o.l);
  for (const ConstantType& type : CONSTANT_TYPES)
    if (v >= type.low && v <= type.high) return copy_into_temporary(o.l, type.passed_kind, type.size, type.kind);
  return Text(STATUS_DONE);  // not reached: the last type holds every value
}

// The generator shifts variables only, so a left A value goes into a char first.
StatusText prepare(Operation& o) {
  if (is_constant(o.l_kind()) && !is_constant(o.r_kind())) {
    StatusText status = type_left_constant(o);
    if (status != STATUS_DONE) return status;
  }
  if (is_acc_value(o.l_kind())) return spill_a_operand(o.l);
  return Text(STATUS_DONE);
}

// The widths a shift is computed in; the temporary passed is the unsigned kind.
struct ShiftWidth {
  int unsigned_kind, signed_kind, size;
};
constexpr ShiftWidth SHIFT_WIDTHS[] = {
    {OPERAND_KIND_UCHAR, OPERAND_KIND_CHAR, 1},
    {OPERAND_KIND_UINT, OPERAND_KIND_INT, 2},
    {OPERAND_KIND_ULONG, OPERAND_KIND_LONG, 4},
};

bool is_count(int kind) { return is_variable(kind) || is_acc_value(kind) || is_constant(kind); }

// Cases 1 to 3: the result goes to a target of L's width, else to a temporary of L's kind.
StatusText shift_variable(Operation& o, const ShiftWidth& width) {
  if (takes_shortcut(o, {width.unsigned_kind, width.signed_kind})) return into_target(o);
  return into_temporary(o, width.unsigned_kind, width.size, o.l_kind());
}

// The count is taken modulo 32, as the low five bits of its value.
std::int32_t shifted(std::string_view op, std::int32_t v, std::int32_t c) {
  const std::uint32_t count = static_cast<std::uint32_t>(c) & 31;
  if (op == "<<") return static_cast<std::int32_t>(static_cast<std::uint32_t>(v) << count);
  return v >> count;
}

// The shift unit's outputs, one instruction per target.
struct ShiftSource {
  int kind;
  RegisterForms forms;
};
constexpr RegisterForms A_SHIFTED_LEFT = {emit_a_a_shl,  emit_b_a_shl,   emit_a2_a_shl,   emit_a1_a_shl,
                                          emit_a0_a_shl, emit_ram_a_shl, emit_store_a_shl};
constexpr RegisterForms B_SHIFTED_LEFT = {emit_a_b_shl,  emit_b_b_shl,   emit_a2_b_shl,   emit_a1_b_shl,
                                          emit_a0_b_shl, emit_ram_b_shl, emit_store_b_shl};
constexpr ShiftSource LEFT_SHIFT_SOURCES[] = {
    {OPERAND_KIND_A, A_SHIFTED_LEFT},
    {OPERAND_KIND_A_0, A_SHIFTED_LEFT},
    {OPERAND_KIND_B, B_SHIFTED_LEFT},
    {OPERAND_KIND_B_0, B_SHIFTED_LEFT},
    {OPERAND_KIND_A_BH, {emit_a_a_shl_bh, emit_b_a_shl_bh, emit_a2_a_shl_bh, emit_a1_a_shl_bh, emit_a0_a_shl_bh,
                         emit_ram_a_shl_bh, emit_store_a_shl_bh}},
};
constexpr ShiftSource RIGHT_SHIFT_SOURCES[] = {
    {OPERAND_KIND_A, {emit_a_a_sar, emit_b_a_sar, emit_a2_a_sar, emit_a1_a_sar, emit_a0_a_sar, emit_ram_a_sar,
                      emit_store_a_sar}},
    {OPERAND_KIND_B, {emit_a_b_sar, emit_b_b_sar, emit_a2_b_sar, emit_a1_b_sar, emit_a0_b_sar, emit_ram_b_sar,
                      emit_store_b_sar}},
    {OPERAND_KIND_A_0, {emit_a_a_shr, emit_b_a_shr, emit_a2_a_shr, emit_a1_a_shr, emit_a0_a_shr, emit_ram_a_shr,
                        emit_store_a_shr}},
    {OPERAND_KIND_B_0, {emit_a_b_shr, emit_b_b_shr, emit_a2_b_shr, emit_a1_b_shr, emit_a0_b_shr, emit_ram_b_shr,
                        emit_store_b_shr}},
    {OPERAND_KIND_B_AL, {emit_a_b_shr_al, emit_b_b_shr_al, emit_a2_b_shr_al, emit_a1_b_shr_al, emit_a0_b_shr_al,
                         emit_ram_b_shr_al, emit_store_b_shr_al}},
};

// The forms of L as a shift source in the operator's direction; null when it is none.
const RegisterForms* shift_source(std::string_view op, int kind) {
  for (const ShiftSource& source : op == "<<" ? std::span(LEFT_SHIFT_SOURCES) : std::span(RIGHT_SHIFT_SOURCES))
    if (source.kind == kind) return &source.forms;
  return nullptr;
}

// Case 5: X = L << 1 or X = L >> 1, L a register shift source, is one instruction; any
// other operands are refused.
StatusText shift_register(Operation& o) {
  const RegisterForms* forms = shift_source(o.op, o.l_kind());
  const bool by_one = is_constant(o.r_kind()) && constant_value(o.r) == 1;
  if (forms == nullptr || !by_one || !is_register_form_target(o)) return Text(STATUS_SHIFT_OPERAND_ERROR);
  emit_register_form(o, *forms);
  return Text(STATUS_CONTINUE);
}

StatusText place(Operation& o) {
  const int lk = o.l_kind(), rk = o.r_kind();
  for (const ShiftWidth& width : SHIFT_WIDTHS)
    if ((lk == width.unsigned_kind || lk == width.signed_kind) && is_count(rk)) {
      StatusText status = shift_variable(o, width);
      return status == STATUS_DONE ? Text(STATUS_CONTINUE) : status;
    }
  if (is_constant(lk) && is_constant(rk)) {
    fold(o, shifted(o.op, constant_value(o.l), constant_value(o.r)));
    return Text(STATUS_CONTINUE);
  }
  return shift_register(o);
}

}  // namespace

StatusText reduce_shift(Scan& scan, std::string_view op) {
  Operation o(scan);
  if (!read_operation(scan, op, o)) return Text(STATUS_SHIFT_OPERAND_ERROR);
  StatusText status = spill_pending_a(o);
  if (status == STATUS_DONE) status = load_indirect_operands(o, true);
  if (status == STATUS_DONE) status = prepare(o);
  return status == STATUS_DONE ? place(o) : status;
}

}  // namespace tarvik::binop
