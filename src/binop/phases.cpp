#include "binop/reduction.h"
#include "operand/operand.h"
#include "stmt/stmt.h"

namespace tarvik::binop {

namespace {

constexpr char BLANK = ' ';

void blank(ByteArray& text, std::size_t pos, std::size_t count) {
  for (std::size_t i = 0; i < count && pos + i < text.size(); ++i) text[pos + i] = BLANK;
}

void skip_blanks(const Scan& scan, std::size_t& pos) {
  while (pos < scan.text.size() && scan.text[pos] == BLANK) ++pos;
}

StatusText generate(OperandDescriptor d, OperandDescriptor l, std::string_view op, OperandDescriptor r) {
  Text text(op);
  return generate_binary_operation_code(d, l, text, r);
}

OperandDescriptor next_temporary(int kind) { return make_operand(kind, g_temp_ram_next); }


}  // namespace

bool pair_is_signed(OperandDescriptor l, OperandDescriptor r) {
  const int lk = get_operand_kind(l), rk = get_operand_kind(r);
  if (is_constant(lk)) return is_signed_kind(rk);
  if (is_constant(rk)) return is_signed_kind(lk);
  return is_signed_kind(lk) && is_signed_kind(rk);
}

std::int32_t constant_value(OperandDescriptor constant) { return g_constant_table[constant & 0xFFFFFF]; }

bool read_operation(Scan& scan, std::string_view op, Operation& o) {
  o.op = op;
  o.op_pos = scan.pos;
  std::size_t pos = scan.pos + op.size();
  skip_blanks(scan, pos);
  if (pos + 4 > scan.text.size()) return false;
  o.l = scan.left;
  o.r = read_operand_token(scan.text, pos);
  o.r_pos = pos;
  pos += 4;
  skip_blanks(scan, pos);
  o.is_last = pos >= scan.text.size();
  scan.pos = pos;
  return true;
}

StatusText spill_pending_a(Operation& o) {
  ByteArray& text = register_a_token_text(o.scan.text);
  return spill_register_a(text, {o.l, o.r});
}

StatusText copy_into_temporary(OperandDescriptor& x, int passed_kind, int size, int new_kind) {
  const OperandDescriptor temporary = next_temporary(passed_kind);
  StatusText status = generate(0, temporary, "=", x);
  if (status != STATUS_DONE) return status;
  x = make_operand(new_kind, temporary);
  g_temp_ram_next += size;
  return status;
}

StatusText spill_a_operand(OperandDescriptor& x) {
  const int kind = get_operand_kind(x) == OPERAND_KIND_A_UNSIGNED ? OPERAND_KIND_UCHAR : OPERAND_KIND_CHAR;
  return copy_into_temporary(x, OPERAND_KIND_UCHAR, 1, kind);
}

namespace {

// x is loaded; `other`, when it is an A value, is stored first, since the load uses A.
StatusText load_indirect(OperandDescriptor& x, OperandDescriptor& other, bool shift_group) {
  const int kind = get_operand_kind(x);
  const int size = via_pointer_size(kind);
  if (size == 0) return Text(STATUS_DONE);
  const bool is_signed = kind >= OPERAND_KIND_CHAR_VIA_PTR;
  if (is_acc_value(get_operand_kind(other))) {
    StatusText status = size == 1 || shift_group ? spill_a_operand(other)
                        : size == 2             ? copy_into_temporary(other, OPERAND_KIND_INT, 2, OPERAND_KIND_INT)
                                                : copy_into_temporary(other, OPERAND_KIND_LONG, 4, OPERAND_KIND_LONG);
    if (status != STATUS_DONE) return status;
  }
  if (size == 1) {
    StatusText status = generate(0, make_operand(OPERAND_KIND_A_UNSIGNED, 0), "=", x);
    if (status == STATUS_DONE) x = make_operand(is_signed ? OPERAND_KIND_A_SIGNED : OPERAND_KIND_A_UNSIGNED, 0);
    return status;
  }
  const int unsigned_kind = size == 2 ? OPERAND_KIND_UINT : OPERAND_KIND_ULONG;
  const int signed_kind = size == 2 ? OPERAND_KIND_INT : OPERAND_KIND_LONG;
  return copy_into_temporary(x, unsigned_kind, size, is_signed ? signed_kind : unsigned_kind);
}

}  // namespace

StatusText load_indirect_operands(Operation& o, bool shift_group) {
  StatusText status = load_indirect(o.l, o.r, shift_group);
  if (status != STATUS_DONE) return status;
  return load_indirect(o.r, o.l, shift_group);
}

namespace {

// The widening of x to 2 or 4 bytes: the temporary is typed signed unless `stays_unsigned`.
// An A value of a signed kind is passed to the copy as a signed temporary, any other as an
// unsigned one; the words are the same.
StatusText widen(OperandDescriptor& x, int size, bool stays_unsigned) {
  const bool signed_a = get_operand_kind(x) == OPERAND_KIND_A_SIGNED;
  if (size == 2)
    return copy_into_temporary(x, signed_a ? OPERAND_KIND_INT : OPERAND_KIND_UINT, 2,
                               stays_unsigned ? OPERAND_KIND_UINT : OPERAND_KIND_INT);
  return copy_into_temporary(x, signed_a ? OPERAND_KIND_LONG : OPERAND_KIND_ULONG, 4, OPERAND_KIND_LONG);
}

// The width (0: as it is, 2 or 4) that x needs beside the constant c.
int width_for_constant(int kind, std::int32_t c, bool unsigned_ranges) {
  const bool fits_byte = c >> 8 == 0, fits_two = c >> 16 == 0;
  const bool fits_signed_byte = c >= -128 && c <= 127, fits_signed_two = c >= -32768 && c <= 32767;
  const bool is_signed = !unsigned_ranges && (kind == OPERAND_KIND_CHAR || kind == OPERAND_KIND_A_SIGNED ||
                                              kind == OPERAND_KIND_INT);
  if (size_class(kind) == 1) {
    if (is_signed) return fits_signed_byte ? 0 : fits_signed_two ? 2 : 4;
    return fits_byte ? 0 : fits_two ? 2 : 4;
  }
  if (size_class(kind) == 2) return (is_signed ? fits_signed_two : fits_two) ? 0 : 4;
  return 0;
}

StatusText widen_beside(OperandDescriptor constant, OperandDescriptor& x, bool unsigned_ranges) {
  const int kind = get_operand_kind(x);
  const std::int32_t c = constant_value(constant);
  const int size = width_for_constant(kind, c, unsigned_ranges);
  if (size == 0) return Text(STATUS_DONE);
  // A signed int would read a constant of 32768 to 65535 as negative.
  const bool unsigned_char = kind == OPERAND_KIND_UCHAR || kind == OPERAND_KIND_A_UNSIGNED;
  return widen(x, size, size == 2 && unsigned_char && c > 32767);
}

}  // namespace

StatusText widen_for_constants(Operation& o, bool unsigned_ranges) {
  const bool l_constant = is_constant(o.l_kind()), r_constant = is_constant(o.r_kind());
  if (l_constant == r_constant) return Text(STATUS_DONE);
  return l_constant ? widen_beside(o.l, o.r, unsigned_ranges) : widen_beside(o.r, o.l, unsigned_ranges);
}

namespace {

// A char variable is widened through A: its load, then the copy of the A value.
StatusText widen_to(OperandDescriptor& x, int size) {
  const int kind = get_operand_kind(x);
  if (is_char_operand(kind)) {
    emit_load_a(x);
    x = make_operand(kind == OPERAND_KIND_UCHAR ? OPERAND_KIND_A_UNSIGNED : OPERAND_KIND_A_SIGNED, 0);
  }
  return copy_into_temporary(x, size == 2 ? OPERAND_KIND_UINT : OPERAND_KIND_ULONG, size,
                             size == 2 ? OPERAND_KIND_INT : OPERAND_KIND_LONG);
}

}  // namespace

StatusText match_widths(Operation& o) {
  const int lw = size_class(o.l_kind()), rw = size_class(o.r_kind());
  if (lw == 0 || rw == 0 || lw == rw) return Text(STATUS_DONE);
  return lw > rw ? widen_to(o.r, lw) : widen_to(o.l, rw);
}

StatusText prepare_numbers(Operation& o, bool unsigned_ranges, StatusText (*before_loads)(Operation&)) {
  StatusText status = spill_pending_a(o);
  if (status == STATUS_DONE && before_loads != nullptr) status = before_loads(o);
  if (status == STATUS_DONE) status = load_indirect_operands(o, false);
  if (status == STATUS_DONE) status = widen_for_constants(o, unsigned_ranges);
  if (status == STATUS_DONE) status = match_widths(o);
  return status;
}

int pair_width(const Operation& o) {
  const int l = o.l_kind(), r = o.r_kind();
  if (is_constant(l)) return size_class(r);
  if (is_constant(r)) return size_class(l);
  if (is_acc_value(l) && is_acc_value(r)) return 0;
  return size_class(l) == size_class(r) ? size_class(l) : 0;
}

bool takes_narrowing_shortcut(const Operation& o, int width) {
  return takes_shortcut(o, {OPERAND_KIND_UCHAR, OPERAND_KIND_CHAR, OPERAND_KIND_UINT, OPERAND_KIND_INT,
                            OPERAND_KIND_ULONG, OPERAND_KIND_LONG}) &&
         variable_width(get_operand_kind(o.scan.target)) <= width;
}

bool takes_shortcut(const Operation& o, std::initializer_list<int> target_kinds) {
  if (!o.is_last || o.scan.operand_count < 2 || o.scan.previous_operator != "=") return false;
  const int target = get_operand_kind(o.scan.target);
  for (const int kind : target_kinds)
    if (kind == target) return true;
  return false;
}

void blank_assignment(Operation& o) {
  ByteArray& text = o.scan.text;
  blank(text, o.scan.previous_operator_pos, 1);
  blank(text, o.scan.left_pos, 4);
  blank(text, o.op_pos, o.op.size());
  blank(text, o.r_pos, 4);
  o.scan.resume_at = o.scan.previous_operator_pos;
}

StatusText into_target_as(Operation& o, OperandDescriptor destination) {
  StatusText status = generate(destination, o.l, o.op, o.r);
  if (status == STATUS_DONE) blank_assignment(o);
  return status;
}

StatusText into_target(Operation& o) { return into_target_as(o, o.scan.target); }

void place_result(Operation& o, OperandDescriptor result) {
  write_operand_token(o.scan.text, o.scan.left_pos, result);
  blank(o.scan.text, o.op_pos, o.op.size());
  blank(o.scan.text, o.r_pos, 4);
  o.scan.resume_at = o.scan.left_pos;
}

StatusText into_destination(Operation& o, OperandDescriptor destination, OperandDescriptor result, int size) {
  StatusText status = generate(destination, o.l, o.op, o.r);
  if (status != STATUS_DONE) return status;
  g_temp_ram_next += size;
  place_result(o, result);
  return status;
}

StatusText into_temporary(Operation& o, int passed_kind, int size, int result_kind) {
  const OperandDescriptor temporary = next_temporary(passed_kind);
  return into_destination(o, temporary, make_operand(result_kind, temporary), size);
}

OperandDescriptor left_token_as(const Operation& o, int kind) {
  return make_operand(kind, read_operand_token(o.scan.text, o.scan.left_pos));
}

void place_a_result(Operation& o, int kind) {
  place_result(o, left_token_as(o, kind));
  g_register_a_state = Text(kind == OPERAND_KIND_A_SIGNED ? REG_A_SIGNED : REG_A_UNSIGNED);
  g_register_a_token_place = Text(TOKEN_IN_SUBEXPRESSION);
  g_register_a_token_pos = static_cast<std::int32_t>(o.scan.left_pos);
}

StatusText into_register_a(Operation& o, bool is_signed) {
  StatusText status = generate(REGISTER_A, o.l, o.op, o.r);
  if (status == STATUS_DONE) place_a_result(o, is_signed ? OPERAND_KIND_A_SIGNED : OPERAND_KIND_A_UNSIGNED);
  return status;
}

void fold(Operation& o, std::int32_t value) {
  g_constant_table[g_constant_count] = value;  // a full table ends the compile here
  place_result(o, make_operand(OPERAND_KIND_CONSTANT, g_constant_count));
  ++g_constant_count;
}

bool is_register_form_target(const Operation& o) {
  return takes_shortcut(o, {OPERAND_KIND_A, OPERAND_KIND_B, OPERAND_KIND_A2, OPERAND_KIND_A1, OPERAND_KIND_A0,
                            OPERAND_KIND_RAM, OPERAND_KIND_UCHAR, OPERAND_KIND_CHAR});
}

void emit_register_form(Operation& o, const RegisterForms& forms) {
  switch (get_operand_kind(o.scan.target)) {
    case OPERAND_KIND_A: forms.a(); break;
    case OPERAND_KIND_B: forms.b(); break;
    case OPERAND_KIND_A2: forms.a2(); break;
    case OPERAND_KIND_A1: forms.a1(); break;
    case OPERAND_KIND_A0: forms.a0(); break;
    case OPERAND_KIND_RAM: forms.ram(); break;
    default: forms.store(o.scan.target);
  }
  blank_assignment(o);
}

}  // namespace tarvik::binop
