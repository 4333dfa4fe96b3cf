// Unary "+" and "-", and the steps that every handler of "+", "-", "!" and "~" shares.
#include <algorithm>
#include <cstdint>
#include <span>

#include "isa/isa.h"
#include "operand/unary.h"

namespace tarvik::operand {

bool generated(OperandLoop& loop, OperandDescriptor d, OperandDescriptor l, std::string_view op, OperandDescriptor r) {
  Text text(op);
  loop.status = generate_binary_operation_code(d, l, text, r);
  if (loop.status != STATUS_DONE) return false;
  loop.status = Text(STATUS_CONTINUE);
  return true;
}

int operand_kind(const OperandLoop& loop) { return get_operand_kind(loop.operand()); }

bool kind_accepted(OperandLoop& loop, std::span<const int> accepted, std::string_view refusal) {
  if (std::find(accepted.begin(), accepted.end(), operand_kind(loop)) != accepted.end()) return true;
  loop.status = Text(refusal);
  return false;
}

// A value pending in A is stored before the handler's own words, unless it is the operand.
bool spilled(OperandLoop& loop) {
  if (g_register_a_state == REG_A_FREE || is_acc_value(operand_kind(loop))) return true;
  ByteArray& text = register_a_token_text(loop.text);
  const StatusText status = spill_register_a(text, {});
  if (status == STATUS_DONE) return true;
  loop.status = status;
  return false;
}

void mark_applied(OperandLoop& loop) {
  loop.value_flag = true;
  loop.blank_last_operator();
}

// The operand now stands for an 8-bit result in A (kind 0xEA or 0xEB), tracked at its token.
void hold_in_a(OperandLoop& loop, int kind) {
  loop.set_operand(make_operand(kind, loop.operand()));
  g_register_a_token_place = Text(TOKEN_IN_SUBEXPRESSION);
  g_register_a_token_pos = static_cast<std::int32_t>(loop.pos);
  g_register_a_state = Text(kind == OPERAND_KIND_A_UNSIGNED ? REG_A_UNSIGNED : REG_A_SIGNED);
}

// The table entry a constant token names, changed on 32 unsigned bits.
void fold_constant(OperandLoop& loop, std::uint32_t (*fold)(std::uint32_t)) {
  std::int32_t& entry = g_constant_table[loop.operand() & 0xFFFFFF];
  entry = static_cast<std::int32_t>(fold(static_cast<std::uint32_t>(entry)));
}

namespace {

constexpr int SIGNED_KINDS[] = {
    OPERAND_KIND_UCHAR_VIA_PTR, OPERAND_KIND_CHAR_VIA_PTR, OPERAND_KIND_UINT_VIA_PTR, OPERAND_KIND_INT_VIA_PTR,
    OPERAND_KIND_ULONG_VIA_PTR, OPERAND_KIND_LONG_VIA_PTR, OPERAND_KIND_UCHAR,         OPERAND_KIND_CHAR,
    OPERAND_KIND_UINT,          OPERAND_KIND_INT,          OPERAND_KIND_ULONG,         OPERAND_KIND_LONG,
    OPERAND_KIND_A_UNSIGNED,    OPERAND_KIND_A_SIGNED,     OPERAND_KIND_CONSTANT,
};

// Where a value travels while it is negated: register A or a temporary taken at
// g_temp_ram_next (a 4-byte one after a 2-byte one for T4_AFTER_T2).
enum class Slot { none, operand, a, t2, t4, t4_after_t2 };

struct Copy {
  Slot to, from;
};

// The operand is copied (at most twice), then negated where it ended. `result` is the token's
// kind afterwards (KEPT: the operand's own); `size` the bytes of temporaries taken.
struct Negation {
  int kind;
  Copy copies[2];
  Slot negated;
  int result;
  int size;
};

constexpr int KEPT = -1;
constexpr Slot NONE = Slot::none, D = Slot::operand, A = Slot::a, T2 = Slot::t2, T4 = Slot::t4, T4_AFTER_T2 = Slot::t4_after_t2;
constexpr Negation NEGATIONS[] = {
    {OPERAND_KIND_UCHAR_VIA_PTR, {{A, D}, {T2, A}}, T2, OPERAND_KIND_INT, 2},
    {OPERAND_KIND_CHAR_VIA_PTR, {{A, D}}, A, OPERAND_KIND_A_SIGNED, 0},
    {OPERAND_KIND_UINT_VIA_PTR, {{T2, D}, {T4_AFTER_T2, T2}}, T4_AFTER_T2, OPERAND_KIND_LONG, 6},
    {OPERAND_KIND_INT_VIA_PTR, {{T2, D}}, T2, OPERAND_KIND_INT, 2},
    {OPERAND_KIND_ULONG_VIA_PTR, {{T4, D}}, T4, OPERAND_KIND_ULONG, 4},
    {OPERAND_KIND_LONG_VIA_PTR, {{T4, D}}, T4, OPERAND_KIND_LONG, 4},
    {OPERAND_KIND_UCHAR, {{A, D}, {T2, A}}, T2, OPERAND_KIND_INT, 2},
    {OPERAND_KIND_CHAR, {{A, D}}, A, OPERAND_KIND_A_SIGNED, 0},
    {OPERAND_KIND_UINT, {{T4, D}}, T4, OPERAND_KIND_LONG, 4},
    {OPERAND_KIND_INT, {{T2, D}}, T2, KEPT, 2},
    {OPERAND_KIND_ULONG, {{T4, D}}, T4, KEPT, 4},
    {OPERAND_KIND_LONG, {{T4, D}}, T4, KEPT, 4},
    {OPERAND_KIND_A_UNSIGNED, {{T2, A}}, T2, OPERAND_KIND_INT, 2},
    {OPERAND_KIND_A_SIGNED, {}, A, OPERAND_KIND_A_SIGNED, 0},
};

OperandDescriptor descriptor_of(Slot slot, OperandDescriptor d) {
  switch (slot) {
    case Slot::operand: return d;
    case Slot::a: return REGISTER_A;
    case Slot::t2: return make_operand(OPERAND_KIND_UINT, g_temp_ram_next);
    case Slot::t4: return make_operand(OPERAND_KIND_ULONG, g_temp_ram_next);
    case Slot::t4_after_t2: return make_operand(OPERAND_KIND_ULONG, g_temp_ram_next + 2);
    case Slot::none: break;
  }
  return 0;
}

// Two's complement: NOT, then add 1.
bool negated(OperandLoop& loop, OperandDescriptor t) {
  if (get_operand_kind(t) == OPERAND_KIND_A) {
    emit_nop(), emit_a_not_a(), emit_nop(), emit_a_add_a_1();
    return true;
  }
  return generated(loop, t, 0, "~", t) && generated(loop, t, t, "+", make_operand(OPERAND_KIND_IMMEDIATE, 1));
}

void negate(OperandLoop& loop, const Negation& row) {
  const OperandDescriptor d = loop.operand();
  for (const Copy& copy : row.copies) {
    if (copy.to != NONE && !generated(loop, 0, descriptor_of(copy.to, d), "=", descriptor_of(copy.from, d))) return;
  }
  const OperandDescriptor t = descriptor_of(row.negated, d);
  if (!negated(loop, t)) return;
  if (row.negated == A) {
    hold_in_a(loop, OPERAND_KIND_A_SIGNED);
    return;
  }
  // A value that was pending in A now lives in the temporary.
  if (is_acc_value(row.kind)) g_register_a_state = Text(REG_A_FREE);
  loop.set_operand(make_operand(row.result == KEPT ? row.kind : row.result, t));
  g_temp_ram_next += row.size;
}

std::uint32_t negative(std::uint32_t v) { return ~v + 1; }

}  // namespace

void apply_unary_sign(OperandLoop& loop) {
  const bool minus = loop.last_operator == "-";
  if (!kind_accepted(loop, SIGNED_KINDS, minus ? STATUS_MINUS_OPERAND_ERROR : STATUS_PLUS_OPERAND_ERROR)) return;
  if (!spilled(loop)) return;
  mark_applied(loop);
  if (minus) {
    const int kind = operand_kind(loop);
    if (kind == OPERAND_KIND_CONSTANT) fold_constant(loop, negative);
    for (const Negation& row : NEGATIONS) {
      if (row.kind == kind) negate(loop, row);
    }
  }
  if (loop.status == STATUS_CONTINUE) restart(loop);
}

}  // namespace tarvik::operand
