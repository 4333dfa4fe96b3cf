#include <utility>

#include "codegen/blocks.h"

namespace tarvik::codegen {

namespace {

// The jumps of one comparison, gathered before they replace what an earlier condition left.
struct Jumps {
  JumpList on_true, on_false;
  std::string_view sense = SENSE_TRUE;
};

void jump_into(JumpList& list, JumpEmitter jump) {
  add_next_jump(list);
  jump(0);
}

// The opposite outcome from the same words.
void negate(Jumps& jumps) {
  std::swap(jumps.on_true, jumps.on_false);
  jumps.sense = jumps.sense == SENSE_TRUE ? SENSE_FALSE : SENSE_TRUE;
}

void publish(const Jumps& jumps) {
  g_true_jumps = jumps.on_true;
  g_false_jumps = jumps.on_false;
  g_fall_through_sense = Text(jumps.sense);
}

// An array compares as its address.
bool is_value_constant(int kind) { return is_constant(kind) || is_array(kind); }

// The width in which x and y are compared, 0 for a pair that no comparison accepts.
int compare_width(const Operand& x, const Operand& y) {
  const auto one_way = [](int a, int b) {
    if (is_variable(a) && variable_width(a) == variable_width(b)) return variable_width(a);
    if (is_acc_value(a) && (is_v8(b) || is_value_constant(b))) return 1;
    if (is_variable(a) && is_value_constant(b)) return variable_width(a);
    if (a == OPERAND_KIND_A && b == OPERAND_KIND_B) return 1;
    return 0;
  };
  const int w = one_way(x.kind, y.kind);
  return w != 0 ? w : one_way(y.kind, x.kind);
}

// ---- "==" and "!="

bool is_flag(int kind) { return kind >= OPERAND_KIND_SUB_A_1 && kind <= OPERAND_KIND_AH; }

// A flag compared with the one value that it can equal: a single jump on the registers as they stand.
struct FlagRow {
  int kind;
  std::int32_t value;
  JumpEmitter jump;
  bool into_true;
};

constexpr FlagRow FLAG_ROWS[] = {
    {OPERAND_KIND_AH, 1, emit_jump_if_ah_clear, false},
    {OPERAND_KIND_AH, 0, emit_jump_if_ah_clear, true},
    {OPERAND_KIND_BH, 1, emit_jump_if_bh_clear, false},
    {OPERAND_KIND_BH, 0, emit_jump_if_bh_clear, true},
    {OPERAND_KIND_SUB_A_B, -1, emit_jump_if_carry_sub_a_b, false},
    {OPERAND_KIND_SUB_A_1, -1, emit_jump_if_carry_sub_a_1, false},
    {OPERAND_KIND_SUB_A_B_1, -1, emit_jump_if_carry_sub_a_b_1, false},
    {OPERAND_KIND_ADD_A_B, 1, emit_jump_if_carry_add_a_b, true},
    {OPERAND_KIND_ADD_A_A, 1, emit_jump_if_carry_add_a_a, true},
    {OPERAND_KIND_ADD_A_1, 1, emit_jump_if_carry_add_a_1, true},
    {OPERAND_KIND_ADD_A_B_1, 1, emit_jump_if_carry_add_a_b_1, true},
    {OPERAND_KIND_ADD_A_A_1, 1, emit_jump_if_carry_add_a_a_1, true},
};

// Any other value: never equal.
FlagRow flag_row(int kind, std::int32_t value) {
  for (const FlagRow& row : FLAG_ROWS)
    if (row.kind == kind && row.value == value) return row;
  return {kind, value, emit_jump_to, false};
}

Jumps flag_jump(const FlagRow& row) {
  Jumps jumps;
  jump_into(row.into_true ? jumps.on_true : jumps.on_false, row.jump);
  if (row.into_true) jumps.sense = SENSE_FALSE;
  return jumps;
}

// Registers go into A, constants into B, so x == 5 and 5 == x give the same words.
int side_rank(int kind) { return is_acc(kind) ? 0 : is_variable(kind) ? 1 : 2; }

// From the top byte down, every differing byte leaves for false.
Jumps equality_chain(Operand x, Operand y, int w) {
  if (side_rank(x.kind) > side_rank(y.kind)) std::swap(x, y);
  const bool zero = is_value_constant(y.kind) && y.value == 0;
  Jumps jumps;
  for (int k = w - 1; k >= 0; --k) {
    load_byte_into_a(x, k);
    if (!zero) load_byte_into_b(y, k);
    jump_into(jumps.on_false, zero ? emit_jump_if_carry_sub_a_1 : emit_jump_if_a_ne_b);
  }
  return jumps;
}

// ---- ">", "<", ">=", "<=", compiled as S < G or S <= G

using ByteStep = void (*)(Jumps&);

// A < B leaves for true, A > B for false, equal bytes fall through.
void three_way_step(Jumps& jumps) {
  emit_jump_if_carry_sub_a_b(here() + 8);
  jump_into(jumps.on_true, emit_jump_to);
  jump_into(jumps.on_false, emit_jump_if_a_ne_b);
}

// The last byte of S < G: A >= B leaves for false.
void strict_last_step(Jumps& jumps) { jump_into(jumps.on_false, emit_jump_if_carry_sub_a_b); }

struct Relation {
  Operand s, g;
  int w;
  bool is_signed;
};

bool counts_signed(int kind) { return is_signed_kind(kind) || is_constant(kind); }

bool sign_bit(std::int32_t v, int w) { return (static_cast<std::uint32_t>(v) >> (8 * w - 1) & 1) != 0; }

// The rows whose operator text becomes its mirror image.
bool is_mirrored(int l, int r) {
  return is_value_constant(l) || (l == OPERAND_KIND_CHAR && r == OPERAND_KIND_A_SIGNED) || l == OPERAND_KIND_B;
}

// Byte k of S into A and of G into B. G goes first when it is the value in A, and a lone
// byte against a constant S loads the variable first.
void load_pair(const Relation& rel, int k) {
  const bool g_first = is_acc_value(rel.g.kind) || (rel.w == 1 && is_value_constant(rel.s.kind));
  if (g_first) load_byte_into_b(rel.g, k);
  load_byte_into_a(rel.s, k);
  if (!g_first) load_byte_into_b(rel.g, k);
}

// Where the signs differ they decide; equal signs go on to the bytes.
void sign_block(JumpEmitter s_test, JumpEmitter g_test, Jumps& jumps) {
  s_test(here() + 12);
  jump_into(jumps.on_true, g_test);
  emit_jump_to(here() + 12);
  g_test(here() + 8);
  jump_into(jumps.on_false, emit_jump_to);
}

// A variable's sign decides unless it is the constant's.
void sign_against_constant(JumpEmitter test, bool constant_negative, JumpList& if_negative, JumpList& if_not_negative) {
  if (constant_negative) {
    jump_into(if_not_negative, test);
  } else {
    test(here() + 8);
    jump_into(if_negative, emit_jump_to);
  }
}

// Settles the signed comparison where the signs differ and leaves the top bytes of S in A
// and of G in B.
void sign_prologue(const Relation& rel, Jumps& jumps) {
  const int t = rel.w - 1;
  const Operand& s = rel.s;
  const Operand& g = rel.g;
  if (is_constant(g.kind)) {
    load_byte_into_a(s, t);
    sign_against_constant(emit_jump_if_ah_clear, sign_bit(g.value, rel.w), jumps.on_true, jumps.on_false);
    emit_b_imm(byte_of(g.value, t));
  } else if (is_constant(s.kind)) {
    const bool g_in_a = is_acc_value(g.kind);
    if (!g_in_a) emit_load_b(g.at(t));
    sign_against_constant(g_in_a ? emit_jump_if_ah_clear : emit_jump_if_bh_clear, sign_bit(s.value, rel.w), jumps.on_false,
                          jumps.on_true);
    if (g_in_a) emit_b_from_a();
    emit_a_imm(byte_of(s.value, t));
  } else if (is_acc_value(g.kind)) {
    emit_load_b(s.at());
    sign_block(emit_jump_if_bh_clear, emit_jump_if_ah_clear, jumps);
    emit_b_from_a();
    emit_load_a(s.at());
  } else {
    load_byte_into_a(s, t);
    load_byte_into_b(g, t);
    sign_block(emit_jump_if_ah_clear, emit_jump_if_bh_clear, jumps);
  }
}

Jumps relational_chain(const Relation& rel, ByteStep last_step) {
  Jumps jumps;
  const int t = rel.w - 1;
  if (rel.is_signed) sign_prologue(rel, jumps);
  for (int k = t; k >= 0; --k) {
    if (!rel.is_signed || k != t) load_pair(rel, k);
    (k > 0 ? three_way_step : last_step)(jumps);
  }
  return jumps;
}

// `_A` and `_B` as they stand. With S in B the other step gives the negation.
Jumps register_relation(const Operand& s, ByteStep last_step, ByteStep other_step) {
  Jumps jumps;
  if (s.kind == OPERAND_KIND_A) {
    last_step(jumps);
  } else {
    other_step(jumps);
    negate(jumps);
  }
  return jumps;
}

}  // namespace

StatusText compile_equality(const Operation& operation, bool not_equal) {
  const Operand& l = operation.l;
  const Operand& r = operation.r;
  const Text error(STATUS_BINOP_EQUALITY_TYPE_ERROR);
  if (operation.d.kind != OPERAND_KIND_CONDITION) return error;

  Jumps jumps;
  if (is_flag(l.kind) && is_value_constant(r.kind)) {
    jumps = flag_jump(flag_row(l.kind, r.value));
  } else if (is_flag(r.kind) && is_value_constant(l.kind)) {
    jumps = flag_jump(flag_row(r.kind, l.value));
  } else if (const int w = compare_width(l, r)) {
    jumps = equality_chain(l, r, w);
  } else {
    return error;
  }
  if (not_equal) negate(jumps);
  publish(jumps);
  return Text(STATUS_DONE);
}

StatusText compile_relational(const Operation& operation, Text& op, bool strict) {
  const Operand& l = operation.l;
  const Operand& r = operation.r;
  const int w = compare_width(l, r);
  if (operation.d.kind != OPERAND_KIND_CONDITION || w == 0)
    return Text(strict ? STATUS_BINOP_STRICT_TYPE_ERROR : STATUS_BINOP_NON_STRICT_TYPE_ERROR);

  const bool less = op[0] == '<';
  const Relation rel{less ? l : r, less ? r : l, w, counts_signed(l.kind) && counts_signed(r.kind)};
  const ByteStep last_step = strict ? strict_last_step : three_way_step;
  const ByteStep other_step = strict ? three_way_step : strict_last_step;
  if (is_mirrored(l.kind, r.kind)) op[0] = less ? '>' : '<';

  const bool registers = rel.s.kind == OPERAND_KIND_A || rel.s.kind == OPERAND_KIND_B;
  publish(registers ? register_relation(rel.s, last_step, other_step) : relational_chain(rel, last_step));
  return Text(STATUS_DONE);
}

}  // namespace tarvik::codegen
