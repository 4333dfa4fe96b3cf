#include "codegen/blocks.h"

namespace tarvik::codegen {

namespace {

// The remaining count of a 16- or 32-bit loop.
constexpr std::int32_t COUNTER = ARITH_SCRATCH_RAM;

// A byte of D written in place (the last access left A2:A1:A0 there) or stored at its address.
struct Writer {
  WordEmitter in_place;
  AddressedEmitter store;
};

void write_byte(Writer writer, bool in_place, std::int32_t address) {
  if (in_place) writer.in_place();
  else writer.store(address);
}

// The next byte takes the bit that the byte before it shifted out.
constexpr Writer A_SHL_BH{emit_ram_a_shl_bh, emit_store_a_shl_bh};
constexpr Writer B_SHR_AL{emit_ram_b_shr_al, emit_store_b_shr_al};

// The one-bit shift words by role.
struct ShiftForms {
  WordEmitter b_from_a;
  WordEmitter a_from_b;
  WordEmitter b_from_b;
  Writer from_a;
  Writer from_b;
  AddressedEmitter top_from_a;  // the top byte of a multi-byte step
};

constexpr ShiftForms SHIFT_LEFT{emit_b_a_shl, emit_a_b_shl, emit_b_b_shl, {emit_ram_a_shl, emit_store_a_shl},
                                {emit_ram_b_shl, emit_store_b_shl}, emit_store_a_shl_bh};
constexpr ShiftForms SHIFT_RIGHT{emit_b_a_shr, emit_a_b_shr, emit_b_b_shr, {emit_ram_a_shr, emit_store_a_shr},
                                 {emit_ram_b_shr, emit_store_b_shr}, emit_store_a_shr};
constexpr ShiftForms SHIFT_RIGHT_SIGNED{emit_b_a_sar, emit_a_b_sar, emit_b_b_sar, {emit_ram_a_sar, emit_store_a_sar},
                                        {emit_ram_b_sar, emit_store_b_sar}, emit_store_a_sar};

struct Shift {
  const Operand& d;
  const Operand& l;
  const Operand& r;
  bool left;
  bool arithmetic;  // a right shift of a signed L
  const ShiftForms& forms;
  int n;
  bool in_place;
};

// A shift by whole bytes: bytes of L moved into bytes of D in this order, then the bytes of
// D that are cleared (or sign-filled). A row moves n - c / 8 bytes and clears c / 8.
struct Move {
  int from, to;
};
struct ByteMoveRow {
  bool left;
  int n;
  std::int32_t c;
  Move moves[3];
  int cleared[3];
};

constexpr ByteMoveRow BYTE_MOVES[] = {
    {true, 2, 8, {{0, 1}}, {0}},
    {true, 4, 8, {{2, 3}, {1, 2}, {0, 1}}, {0}},
    {true, 4, 16, {{1, 3}, {0, 2}}, {0, 1}},
    {true, 4, 24, {{0, 3}}, {0, 1, 2}},
    {false, 2, 8, {{1, 0}}, {1}},
    {false, 4, 8, {{1, 0}, {2, 1}, {3, 2}}, {3}},
    {false, 4, 16, {{2, 0}, {3, 1}}, {2, 3}},
    {false, 4, 24, {{3, 0}}, {1, 2, 3}},
};

const ByteMoveRow* byte_move_row(const Shift& s, std::int32_t c) {
  for (const ByteMoveRow& row : BYTE_MOVES) {
    if (row.left == s.left && row.n == s.n && row.c == c) return &row;
  }
  return nullptr;
}

bool accepted(const Operation& o) {
  const int n = variable_width(o.d.kind);
  const int count = o.r.kind;
  return n > 0 && variable_width(o.l.kind) == n && (is_constant(count) || is_variable(count) || is_acc_value(count));
}

void copy_through_a(const Shift& s) {
  if (s.in_place) return;
  for (int k = 0; k < s.n; ++k) {
    emit_load_a(s.l.at(k));
    emit_store_a(s.d.at(k));
  }
}

// From the top byte down, leaving A (which may hold the count) alone.
void copy_through_b(const Shift& s) {
  if (s.in_place) return;
  for (int k = s.n - 1; k >= 0; --k) {
    emit_load_b(s.l.at(k));
    emit_store_b(s.d.at(k));
  }
}

// A := 0x00 or 0xFF by bit 7 of B, stored into each listed byte of D.
void sign_fill_from_b(const Shift& s, const int* bytes, int count) {
  emit_a_imm(0);
  emit_jump_if_bh_clear(here() + 5);
  emit_a_not_a();
  for (int i = 0; i < count; ++i) emit_store_a(s.d.at(bytes[i]));
}

void move_bytes(const Shift& s, const ByteMoveRow& row) {
  const int moved = s.n - row.c / 8;
  const int cleared = row.c / 8;
  for (int i = 0; i < moved; ++i) {
    // The top byte of a signed L goes through B, whose bit 7 the fill then tests.
    const bool through_b = s.arithmetic && i == moved - 1;
    (through_b ? emit_load_b : emit_load_a)(s.l.at(row.moves[i].from));
    (through_b ? emit_store_b : emit_store_a)(s.d.at(row.moves[i].to));
  }
  if (s.arithmetic) {
    sign_fill_from_b(s, row.cleared, cleared);
  } else {
    for (int i = 0; i < cleared; ++i) emit_store_imm(s.d.at(row.cleared[i]), 0);
  }
}

void shift_right_once(const Shift& s, const Operand& from, bool in_place) {
  emit_load_a(from.at(s.n - 1));
  emit_load_b(from.at(s.n - 2));
  write_byte(B_SHR_AL, in_place, s.d.at(s.n - 2));
  s.forms.top_from_a(s.d.at(s.n - 1));
  for (int k = s.n - 3; k >= 0; --k) {
    emit_a_from_b();
    emit_load_b(from.at(k));
    write_byte(B_SHR_AL, in_place, s.d.at(k));
  }
}

// One bit of a multi-byte value from `from` into D; in place when from is D.
void shift_once(const Shift& s, const Operand& from, bool in_place) {
  if (s.left) shift_left_by_one(variable_bytes(from, s.n), variable_bytes(s.d, s.n));
  else shift_right_once(s, from, in_place);
}

// The low byte becomes the high byte shifted left with bit 7 of the low byte shifted in.
void shift_int_right_by_7(const Shift& s) {
  emit_load_a(s.l.at(1));
  emit_load_b(s.l.at(0));
  write_byte(A_SHL_BH, s.in_place, s.d.at(0));
  if (s.arithmetic) {
    sign_fill(s.d, 1, 1);
  } else {
    emit_b_from_a();
    emit_a_imm(0);
    emit_store_a_shl_bh(s.d.at(1));
  }
}

// c one-bit shifts of a char, alternately into B and into A, the last one written.
void shift_char_by(const Shift& s, int c) {
  emit_load_a(s.l.at());
  for (int i = 1; i < c; ++i) (i % 2 == 1 ? s.forms.b_from_a : s.forms.a_from_b)();
  write_byte(c % 2 == 1 ? s.forms.from_a : s.forms.from_b, s.in_place, s.d.at());
}

void shift_char_by_constant(const Shift& s, std::int32_t c) {
  if (c == 0) copy_through_a(s);
  else if (c >= 1 && c <= 7) shift_char_by(s, c);
  else if (s.arithmetic) shift_char_by(s, 8);  // every bit becomes the sign bit
  else emit_store_imm(s.d.at(), 0);
}

// The count's byte 0 in A, the value in B, shifted while A counts down to 0.
void char_loop(const Shift& s) {
  load_byte_into_a(s.r, 0);
  emit_load_b(s.l.at());
  emit_jump_to(here() + 6);
  const std::int32_t loop = here();
  emit_a_sub_a_1();
  s.forms.b_from_b();
  emit_jump_if_carry_sub_a_1(loop);
  emit_store_b(s.d.at());
}

void set_counter(const Operand& count) {
  if (is_constant(count.kind)) {
    emit_store_imm(COUNTER, byte_of(count.value, 0));
  } else {
    load_byte_into_a(count, 0);
    emit_store_a(COUNTER);
  }
}

// D shifted in place once per count (modulo 256), the counter kept in scratch RAM.
void counted_loop(const Shift& s) {
  // A count at D's own address is read before L overwrites it.
  if (is_variable(s.r.kind) && same(s.d, s.r) && !s.in_place) {
    set_counter(s.r);
    copy_through_b(s);
  } else {
    copy_through_b(s);
    set_counter(s.r);
  }
  const int shift_words = s.n == 2 ? 16 : 30;
  emit_jump_to(here() + 4 + 5 + shift_words);
  const std::int32_t loop = here();
  emit_store_sub_a_1(COUNTER);
  shift_once(s, s.d, true);
  emit_load_a(COUNTER);
  emit_jump_if_carry_sub_a_1(loop);
}

// Counts that a form of their own covers; any other runs the loop.
void shift_wide_by_constant(const Shift& s, std::int32_t c) {
  const ByteMoveRow* row = byte_move_row(s, c);
  if (c == 0) copy_through_a(s);
  else if (c == 1) shift_once(s, s.l, s.in_place);
  else if (row != nullptr) move_bytes(s, *row);
  else if (!s.left && s.n == 2 && c == 7) shift_int_right_by_7(s);
  else counted_loop(s);
}

}  // namespace

StatusText compile_shift(const Operation& operation, bool left) {
  if (!accepted(operation)) return Text(left ? STATUS_BINOP_SHL_TYPE_ERROR : STATUS_BINOP_SHR_TYPE_ERROR);
  const bool arithmetic = !left && is_signed_kind(operation.l.kind);
  const ShiftForms& forms = left ? SHIFT_LEFT : arithmetic ? SHIFT_RIGHT_SIGNED : SHIFT_RIGHT;
  const Shift s{operation.d, operation.l, operation.r, left, arithmetic, forms,
                variable_width(operation.d.kind), same(operation.d, operation.l)};
  if (is_constant(s.r.kind)) {
    if (s.n == 1) shift_char_by_constant(s, s.r.value);
    else shift_wide_by_constant(s, s.r.value);
  } else if (s.n == 1) {
    char_loop(s);
  } else {
    counted_loop(s);
  }
  return Text(STATUS_DONE);
}

}  // namespace tarvik::codegen
