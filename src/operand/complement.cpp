// Logical not "!" and bitwise not "~" of one operand, in place, by a row per operand kind.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "isa/isa.h"
#include "operand/unary.h"

namespace tarvik::operand {

namespace {

OperandDescriptor temporary(int kind) { return make_operand(kind, g_temp_ram_next); }
std::int32_t value_of(OperandDescriptor d) { return d & 0xFFFFFF; }

// ---- Logical not ----

constexpr int NOT_KINDS[] = {
    0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8D, 0x8E, 0x8F, 0x90, 0x91,
    0x92, 0x93, 0x94, 0x95, 0x96, 0x97, OPERAND_KIND_A_UNSIGNED, OPERAND_KIND_A_SIGNED, OPERAND_KIND_CONSTANT,
};

// An operand that cannot be compared where it stands: into A (`result` a value in A) or into
// a temporary of `size` bytes whose token takes the kind `result`.
struct NotLoad {
  int kind;
  int result;
  int size;
};
constexpr NotLoad NOT_LOADS[] = {
    {OPERAND_KIND_UCHAR, OPERAND_KIND_A_UNSIGNED, 0},     {OPERAND_KIND_CHAR, OPERAND_KIND_A_SIGNED, 0},
    {OPERAND_KIND_UCHAR_VIA_PTR, OPERAND_KIND_A_UNSIGNED, 0}, {OPERAND_KIND_CHAR_VIA_PTR, OPERAND_KIND_A_SIGNED, 0},
    {OPERAND_KIND_UINT_VIA_PTR, OPERAND_KIND_UINT, 2},    {OPERAND_KIND_INT_VIA_PTR, OPERAND_KIND_INT, 2},
    {OPERAND_KIND_ULONG_VIA_PTR, OPERAND_KIND_ULONG, 4},  {OPERAND_KIND_LONG_VIA_PTR, OPERAND_KIND_LONG, 4},
};

bool loaded_for_not(OperandLoop& loop) {
  const OperandDescriptor d = loop.operand();
  const auto row = std::find_if(std::begin(NOT_LOADS), std::end(NOT_LOADS), [&](const NotLoad& r) { return r.kind == get_operand_kind(d); });
  if (row == std::end(NOT_LOADS)) return true;
  if (row->size == 0) {
    if (!generated(loop, 0, REGISTER_A, "=", d)) return false;
    hold_in_a(loop, row->result);
    return true;
  }
  const int unsigned_kind = row->size == 2 ? OPERAND_KIND_UINT : OPERAND_KIND_ULONG;
  if (!generated(loop, 0, temporary(unsigned_kind), "=", d)) return false;
  loop.set_operand(temporary(row->result));
  g_temp_ram_next += row->size;
  return true;
}

// The condition "operand == 0" (true when it is 0) becomes 0 or 1 in A.
bool equals_zero_into_a(OperandLoop& loop, OperandDescriptor value) {
  if (!generated(loop, CONDITION, value, "==", 0) || !generated(loop, 0, REGISTER_A, "=", CONDITION)) return false;
  hold_in_a(loop, OPERAND_KIND_A_SIGNED);
  return true;
}

// The address bytes of a pointer are compared as a 4-byte temporary.
void compare_pointer(OperandLoop& loop) {
  const OperandDescriptor t = temporary(OPERAND_KIND_ULONG);
  if (!generated(loop, 0, t, "=", make_operand(OPERAND_KIND_ADDRESS, loop.operand()))) return;
  g_temp_ram_next += 4;
  equals_zero_into_a(loop, t);
}

std::uint32_t logical_not(std::uint32_t v) { return v == 0 ? 1 : 0; }

void negate_logically(OperandLoop& loop) {
  const OperandDescriptor d = loop.operand();
  const int kind = get_operand_kind(d);
  if (is_v16(kind)) equals_zero_into_a(loop, make_operand(OPERAND_KIND_UINT, d));
  else if (is_v32(kind)) equals_zero_into_a(loop, make_operand(OPERAND_KIND_ULONG, d));
  else if (is_acc_value(kind)) equals_zero_into_a(loop, make_operand(kind, 0));
  else if (is_pointer(kind)) compare_pointer(loop);
  else if (is_constant(kind)) fold_constant(loop, logical_not);
  else if (is_array(kind)) {
    // An array's address is never 0: a new constant 0, appended before the text changes.
    loop.set_operand(make_operand(OPERAND_KIND_CONSTANT, g_constant_count));
    ++g_constant_count;
  }
}

// ---- Bitwise not ----

constexpr int COMPLEMENT_KINDS[] = {
    0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97,
    OPERAND_KIND_A_UNSIGNED, OPERAND_KIND_A_SIGNED, OPERAND_KIND_CONSTANT, OPERAND_KIND_A, OPERAND_KIND_B,
};

// The destinations of the direct form destination = ~operand, by the operand's kind.
constexpr int CHAR_DESTINATIONS[] = {0x80, 0x83};
constexpr int INT_DESTINATIONS[] = {0x80, 0x83, 0x81, 0x84};
constexpr int LONG_DESTINATIONS[] = {0x80, 0x81, 0x82, 0x83, 0x84, 0x85};
constexpr int INT_VIA_PTR_DESTINATIONS[] = {0x81, 0x84};
constexpr int LONG_VIA_PTR_DESTINATIONS[] = {0x82, 0x85};
constexpr int REGISTER_DESTINATIONS[] = {0xFF, 0xFE, 0xFD, 0xFC, 0xFB, 0xE9, 0x80, 0x83};

std::span<const int> direct_destinations(int kind) {
  if (is_v8(kind)) return CHAR_DESTINATIONS;
  if (is_v16(kind)) return INT_DESTINATIONS;
  if (is_v32(kind)) return LONG_DESTINATIONS;
  if (kind == OPERAND_KIND_UINT_VIA_PTR || kind == OPERAND_KIND_INT_VIA_PTR) return INT_VIA_PTR_DESTINATIONS;
  if (kind == OPERAND_KIND_ULONG_VIA_PTR || kind == OPERAND_KIND_LONG_VIA_PTR) return LONG_VIA_PTR_DESTINATIONS;
  if (kind == OPERAND_KIND_A || kind == OPERAND_KIND_B) return REGISTER_DESTINATIONS;
  return {};
}

// The whole rest of the level is "= ~operand" after a destination of a fitting kind.
bool direct_form(const OperandLoop& loop) {
  const std::span<const int> destinations = direct_destinations(operand_kind(loop));
  const int destination = get_operand_kind(loop.previous_operand);
  return loop.last_operand && loop.operand_count >= 1 && loop.operator_count == 2 && loop.assignment_count == 1 &&
         loop.last_assignment_operator == "=" &&
         std::find(destinations.begin(), destinations.end(), destination) != destinations.end();
}

// ~_A and ~_B into a destination: one word, or five into a char variable.
struct RegisterComplement {
  int destination;
  WordEmitter not_a, not_b;
};
constexpr RegisterComplement REGISTER_COMPLEMENTS[] = {
    {OPERAND_KIND_A, emit_a_not_a, emit_a_not_b},   {OPERAND_KIND_B, emit_b_not_a, emit_b_not_b},
    {OPERAND_KIND_A2, emit_a2_not_a, emit_a2_not_b}, {OPERAND_KIND_A1, emit_a1_not_a, emit_a1_not_b},
    {OPERAND_KIND_A0, emit_a0_not_a, emit_a0_not_b}, {OPERAND_KIND_RAM, emit_ram_not_a, emit_ram_not_b},
};

void complement_register(const OperandLoop& loop) {
  const bool of_a = operand_kind(loop) == OPERAND_KIND_A;
  const OperandDescriptor destination = loop.previous_operand;
  if (is_v8(get_operand_kind(destination))) {
    (of_a ? emit_store_not_a : emit_store_not_b)(value_of(destination));
    return;
  }
  for (const RegisterComplement& row : REGISTER_COMPLEMENTS) {
    if (row.destination == get_operand_kind(destination)) (of_a ? row.not_a : row.not_b)();
  }
}

// A value read through a pointer is copied into `work`, then complemented there.
bool complemented_via_pointer(OperandLoop& loop, OperandDescriptor work) {
  return generated(loop, 0, work, "=", loop.operand()) && generated(loop, work, 0, "~", work);
}

void complement_directly(OperandLoop& loop) {
  const int kind = operand_kind(loop);
  const OperandDescriptor destination = loop.previous_operand;
  bool done = true;
  if (kind == OPERAND_KIND_A || kind == OPERAND_KIND_B) complement_register(loop);
  else if (is_via_pointer(kind)) {
    // An int destination is worked on as unsigned int, a long one as itself.
    const int work_kind = via_pointer_size(kind) == 2 ? OPERAND_KIND_UINT : get_operand_kind(destination);
    done = complemented_via_pointer(loop, make_operand(work_kind, destination));
  } else done = generated(loop, destination, 0, "~", loop.operand());
  if (!done) return;
  // Nothing of the level is left after the destination.
  std::fill(loop.text.begin() + static_cast<std::ptrdiff_t>(loop.restart_pos), loop.text.end(), ' ');
  loop.status = Text(STATUS_DONE);
}

void complement_in_a(OperandLoop& loop, int kind) {
  emit_nop(), emit_a_not_a();
  hold_in_a(loop, kind);
}

// The variable kind of an object reached through a pointer; a variable's own kind.
int object_kind(int kind) { return is_via_pointer(kind) ? kind - (OPERAND_KIND_UCHAR_VIA_PTR - OPERAND_KIND_UCHAR) : kind; }

void complement_char(OperandLoop& loop) {
  const OperandDescriptor d = loop.operand();
  if (is_via_pointer(get_operand_kind(d))) {
    if (!generated(loop, 0, REGISTER_A, "=", d)) return;
  } else {
    emit_load_a(value_of(d));
  }
  const bool is_signed = object_kind(get_operand_kind(d)) == OPERAND_KIND_CHAR;
  complement_in_a(loop, is_signed ? OPERAND_KIND_A_SIGNED : OPERAND_KIND_A_UNSIGNED);
}

// A wider value is complemented into a new temporary; the token keeps the value's kind.
void complement_into_temporary(OperandLoop& loop) {
  const OperandDescriptor d = loop.operand();
  const int kind = object_kind(get_operand_kind(d));
  const int size = variable_width(kind);
  const OperandDescriptor t = temporary(size == 2 ? OPERAND_KIND_UINT : OPERAND_KIND_ULONG);
  const bool done = is_via_pointer(get_operand_kind(d)) ? complemented_via_pointer(loop, t) : generated(loop, t, 0, "~", d);
  if (!done) return;
  loop.set_operand(make_operand(kind, t));
  g_temp_ram_next += size;
}

std::uint32_t bitwise_not(std::uint32_t v) { return ~v; }

// The ordinary code: a char ends in A, a wider value in a temporary, a constant in its entry.
void complement(OperandLoop& loop) {
  const int kind = operand_kind(loop);
  if (is_acc_value(kind)) complement_in_a(loop, kind);
  else if (is_constant(kind)) fold_constant(loop, bitwise_not);
  else if (variable_width(object_kind(kind)) == 1) complement_char(loop);
  else complement_into_temporary(loop);
}

}  // namespace

void apply_logical_not(OperandLoop& loop) {
  if (!kind_accepted(loop, NOT_KINDS, STATUS_NOT_OPERAND_ERROR)) return;
  // The one row that changes a table: a full table ends the compile before the text changes.
  if (is_array(operand_kind(loop))) g_constant_table[g_constant_count] = 0;
  if (!spilled(loop)) return;
  mark_applied(loop);
  if (!loaded_for_not(loop)) return;
  negate_logically(loop);
  if (loop.status == STATUS_CONTINUE) restart(loop);
}

void apply_bitwise_not(OperandLoop& loop) {
  if (!kind_accepted(loop, COMPLEMENT_KINDS, STATUS_COMPLEMENT_OPERAND_ERROR)) return;
  if (!spilled(loop)) return;
  mark_applied(loop);
  const int kind = operand_kind(loop);
  if (direct_form(loop)) complement_directly(loop);
  else if (kind == OPERAND_KIND_A || kind == OPERAND_KIND_B) loop.status = Text(STATUS_COMPLEMENT_REGISTER_ERROR);
  else complement(loop);
  if (loop.status == STATUS_CONTINUE) restart(loop);
}

}  // namespace tarvik::operand
