// "+" and "-": numbers of 8, 16 and 32 bits, the difference of two pointers, a pointer or
// an array plus or minus an integer, constant folds and the one-instruction register forms.
#include "binop/reduction.h"

namespace tarvik::binop {

namespace {

// ---- Numbers.

StatusText add_numbers(Operation& o, int width) {
  const bool is_signed = pair_is_signed(o.l, o.r);
  if (takes_narrowing_shortcut(o, width)) return into_target(o);
  if (width == 1) return into_register_a(o, is_signed);
  if (width == 2) return into_temporary(o, OPERAND_KIND_UINT, 2, is_signed ? OPERAND_KIND_INT : OPERAND_KIND_UINT);
  return into_temporary(o, OPERAND_KIND_ULONG, 4, is_signed ? OPERAND_KIND_LONG : OPERAND_KIND_ULONG);
}

std::int32_t folded(std::string_view op, std::int32_t a, std::int32_t b) {
  const auto ua = static_cast<std::uint32_t>(a), ub = static_cast<std::uint32_t>(b);
  return static_cast<std::int32_t>(op == "+" ? ua + ub : ua - ub);
}

StatusText generate(OperandDescriptor d, OperandDescriptor l, std::string_view op, OperandDescriptor r) {
  Text text(op);
  return generate_binary_operation_code(d, l, text, r);
}

OperandDescriptor as_address(OperandDescriptor x) { return make_operand(OPERAND_KIND_ADDRESS, x); }

// ---- The difference of two pointers, in elements: the byte difference shifted right.
StatusText subtract_pointers(Operation& o) {
  const OperandDescriptor t = make_operand(OPERAND_KIND_LONG, g_temp_ram_next);
  StatusText status = generate(t, as_address(o.l), "-", as_address(o.r));
  const int element = pointer_element_size(o.l_kind());
  const OperandDescriptor shift = make_operand(OPERAND_KIND_IMMEDIATE, element == 2 ? 1 : 2);
  if (status == STATUS_DONE && element > 1) status = generate(t, t, ">>", shift);
  if (status != STATUS_DONE) return status;
  g_temp_ram_next += 4;
  place_result(o, t);
  return status;
}

// ---- A pointer or an array (the base) plus or minus an integer.

enum class Family { pointer_and_integer, pointer_and_constant, array_and_integer, array_and_constant };

// The kind D is passed with, and the shift that scales a constant, by family and element width.
struct PointerForm {
  Family family;
  int element_width;
  int destination_kind;
  int shift;
};

constexpr PointerForm POINTER_FORMS[] = {
    {Family::pointer_and_integer, 1, OPERAND_KIND_UCHAR_PTR, 0},
    {Family::pointer_and_integer, 2, OPERAND_KIND_UINT_PTR, 1},
    {Family::pointer_and_integer, 4, OPERAND_KIND_ULONG_PTR, 2},
    {Family::pointer_and_constant, 1, OPERAND_KIND_ADDRESS, 0},
    {Family::pointer_and_constant, 2, OPERAND_KIND_ADDRESS, 1},
    {Family::pointer_and_constant, 4, OPERAND_KIND_ADDRESS, 2},
    {Family::array_and_integer, 1, OPERAND_KIND_UCHAR_PTR, 0},
    {Family::array_and_integer, 2, OPERAND_KIND_UINT_PTR, 1},
    {Family::array_and_integer, 4, OPERAND_KIND_ULONG_PTR, 2},
    {Family::array_and_constant, 1, 0, 0},
    {Family::array_and_constant, 2, 0, 1},
    {Family::array_and_constant, 4, 0, 2},
};

bool is_base(int kind) { return is_pointer(kind) || is_array(kind); }

// A char, int or long operand or a value in register A.
bool is_integer(int kind) { return size_class(kind) != 0; }

// The base stands left of "+" or "-", or right of "+".
bool base_is_left(const Operation& o) { return is_base(o.l_kind()); }

const PointerForm* pointer_form(const Operation& o) {
  const bool left = base_is_left(o);
  if (!left && !(o.op == "+" && is_base(o.r_kind()))) return nullptr;
  const int base = left ? o.l_kind() : o.r_kind(), other = left ? o.r_kind() : o.l_kind();
  if (!is_integer(other) && !is_constant(other)) return nullptr;
  const bool pointer = is_pointer(base), constant = is_constant(other);
  const Family family = pointer ? (constant ? Family::pointer_and_constant : Family::pointer_and_integer)
                                : (constant ? Family::array_and_constant : Family::array_and_integer);
  const int element = pointer ? pointer_element_size(base) : array_element_size(base);
  for (const PointerForm& form : POINTER_FORMS)
    if (form.family == family && form.element_width == element) return &form;
  return nullptr;
}

// The array's address moved by the scaled constant, as a new array token; no code.
void fold_array(Operation& o, OperandDescriptor array, OperandDescriptor constant, int shift) {
  const std::uint32_t offset = static_cast<std::uint32_t>(constant_value(constant)) << shift;
  const auto address = static_cast<std::uint32_t>(array);
  const std::uint32_t moved = o.op == "+" ? address + offset : address - offset;
  place_result(o, make_operand(get_operand_kind(array), static_cast<std::int32_t>(moved)));
}

// A pointer to int or long takes its constant scaled, as a 24-bit immediate.
OperandDescriptor scaled(OperandDescriptor constant, int shift) {
  if (shift == 0) return constant;
  const std::uint32_t value = static_cast<std::uint32_t>(constant_value(constant)) << shift;
  return make_operand(OPERAND_KIND_IMMEDIATE, static_cast<std::int32_t>(value));
}

StatusText offset_base(Operation& o, const PointerForm& form) {
  const bool left = base_is_left(o);
  OperandDescriptor& base = left ? o.l : o.r;
  OperandDescriptor& other = left ? o.r : o.l;
  int result_kind = get_operand_kind(base);
  switch (form.family) {
    case Family::array_and_constant: fold_array(o, base, other, form.shift); return Text(STATUS_DONE);
    case Family::pointer_and_constant: base = as_address(base), other = scaled(other, form.shift); break;
    case Family::array_and_integer: result_kind -= OPERAND_KIND_UCHAR_ARRAY - OPERAND_KIND_UCHAR_PTR; break;
    case Family::pointer_and_integer: break;
  }
  if (takes_shortcut(o, {OPERAND_KIND_UCHAR_PTR, OPERAND_KIND_UINT_PTR, OPERAND_KIND_ULONG_PTR, OPERAND_KIND_CHAR_PTR,
                         OPERAND_KIND_INT_PTR, OPERAND_KIND_LONG_PTR}))
    return into_target_as(o, make_operand(form.destination_kind, o.scan.target));
  const OperandDescriptor t = make_operand(form.destination_kind, g_temp_ram_next);
  return into_destination(o, t, make_operand(result_kind, t), 3);
}

// ---- X = A op B and X = A op 1 as one instruction.

constexpr RegisterForms ADD_A_B = {emit_a_add_a_b,  emit_b_add_a_b,   emit_a2_add_a_b,   emit_a1_add_a_b,
                                   emit_a0_add_a_b, emit_ram_add_a_b, emit_store_add_a_b};
constexpr RegisterForms SUB_A_B = {emit_a_sub_a_b,  emit_b_sub_a_b,   emit_a2_sub_a_b,   emit_a1_sub_a_b,
                                   emit_a0_sub_a_b, emit_ram_sub_a_b, emit_store_sub_a_b};
constexpr RegisterForms ADD_A_1 = {emit_a_add_a_1,  emit_b_add_a_1,   emit_a2_add_a_1,   emit_a1_add_a_1,
                                   emit_a0_add_a_1, emit_ram_add_a_1, emit_store_add_a_1};
constexpr RegisterForms SUB_A_1 = {emit_a_sub_a_1,  emit_b_sub_a_1,   emit_a2_sub_a_1,   emit_a1_sub_a_1,
                                   emit_a0_sub_a_1, emit_ram_sub_a_1, emit_store_sub_a_1};

// In these forms a constant stands only for the value 1.
constexpr int ONE = OPERAND_KIND_CONSTANT;

struct RegisterOperation {
  int left;
  std::string_view op;
  int right;
  const RegisterForms* forms;
};

constexpr RegisterOperation REGISTER_OPERATIONS[] = {
    {OPERAND_KIND_A, "+", OPERAND_KIND_B, &ADD_A_B},
    {OPERAND_KIND_B, "+", OPERAND_KIND_A, &ADD_A_B},
    {OPERAND_KIND_A, "-", OPERAND_KIND_B, &SUB_A_B},
    {OPERAND_KIND_A, "+", ONE, &ADD_A_1},
    {ONE, "+", OPERAND_KIND_A, &ADD_A_1},
    {OPERAND_KIND_A, "-", ONE, &SUB_A_1},
};

bool is_register_operand(OperandDescriptor x, int kind) {
  return get_operand_kind(x) == kind && (kind != ONE || constant_value(x) == 1);
}

const RegisterForms* register_forms(const Operation& o) {
  if (!is_register_form_target(o)) return nullptr;
  for (const RegisterOperation& form : REGISTER_OPERATIONS)
    if (form.op == o.op && is_register_operand(o.l, form.left) && is_register_operand(o.r, form.right))
      return form.forms;
  return nullptr;
}

// ---- The dispatch, in the order of its tests.
StatusText reduce(Operation& o) {
  const int l = o.l_kind(), r = o.r_kind();
  const bool two_pointers = is_pointer(l) && is_pointer(r);
  if (two_pointers && pointer_element_size(l) != pointer_element_size(r)) return Text(STATUS_POINTER_TYPE_MISMATCH);
  if (const int width = pair_width(o)) return add_numbers(o, width);
  if (two_pointers && o.op == "-") return subtract_pointers(o);
  if (const PointerForm* form = pointer_form(o)) return offset_base(o, *form);
  if (is_constant(l) && is_constant(r)) {
    fold(o, folded(o.op, constant_value(o.l), constant_value(o.r)));
    return Text(STATUS_DONE);
  }
  if (const RegisterForms* forms = register_forms(o)) {
    emit_register_form(o, *forms);
    return Text(STATUS_DONE);
  }
  return Text(STATUS_ADDITIVE_OPERAND_ERROR);
}

}  // namespace

StatusText reduce_additive(Scan& scan, std::string_view op) {
  Operation o{scan};
  if (!read_operation(scan, op, o)) return Text(STATUS_ADDITIVE_OPERAND_ERROR);
  StatusText status = prepare_numbers(o, false);
  if (status == STATUS_DONE) status = reduce(o);
  return status == STATUS_DONE ? Text(STATUS_CONTINUE) : status;
}

}  // namespace tarvik::binop
