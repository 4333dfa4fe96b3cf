#include <algorithm>
#include <array>
#include <cstdint>

#include "codegen/work_values.h"

namespace tarvik::codegen {

namespace {

// Offsets of the work values' first (most significant) bytes in scratch RAM.
struct DivisionLayout {
  int n;
  std::int32_t remainder, dividend, divisor, quotient, counter;
};

constexpr DivisionLayout DIVISION_LAYOUTS[] = {
    {1, 0, 1, 2, 3, 4},
    {2, 0, 2, 4, 6, 8},
    {4, 0, 4, 8, 12, 16},
};

// A signed operand in A, kept for the final sign test (8 bits only).
constexpr std::int32_t SAVED_A = ARITH_SCRATCH_RAM + 5;

struct DivisionWork {
  Bytes remainder, dividend, divisor, quotient;
  Bytes remainder_and_dividend;  // REM above DVD: one value of 2n bytes for the shift
  std::int32_t counter;
};

DivisionWork division_work(int n) {
  const auto& row = *std::find_if(std::begin(DIVISION_LAYOUTS), std::end(DIVISION_LAYOUTS),
                                  [n](const DivisionLayout& layout) { return layout.n == n; });
  const auto at = [](std::int32_t offset, int width) { return work_value(ARITH_SCRATCH_RAM + offset, width); };
  return {at(row.remainder, n), at(row.dividend, n), at(row.divisor, n), at(row.quotient, n), at(row.remainder, 2 * n),
          ARITH_SCRATCH_RAM + row.counter};
}

bool top_bit_set(std::int32_t c, int n) { return (static_cast<std::uint32_t>(c) >> (8 * n - 1) & 1u) != 0; }

// (NOT c) + 1 in 32 bits; 0x80000000 wraps to itself.
std::int32_t negated(std::int32_t c) { return static_cast<std::int32_t>(~static_cast<std::uint32_t>(c) + 1u); }

struct Division {
  int n;
  bool is_signed;
  bool remainder;  // "%" rather than "/"
  Operand d, dividend, divisor;
  bool divisor_first;  // the value in A, else the variable, goes into its slot first
  DivisionWork work;

  // A constant as the loop takes it: positive when the operation is signed.
  std::int32_t magnitude(std::int32_t c) const { return is_signed && top_bit_set(c, n) ? negated(c) : c; }
};

Division classify(const Operation& operation, bool remainder, int n) {
  const Operand &l = operation.l, &r = operation.r;
  const auto counts_signed = [](const Operand& x) { return is_constant(x.kind) || is_signed_kind(x.kind); };
  return Division{n, counts_signed(l) && counts_signed(r), remainder, operation.d, l, r,
                  is_acc_value(r.kind) || is_constant(l.kind), division_work(n)};
}

constexpr int negation_words(int n) {
  return (n - 1) * (ADDRESSED_WORDS + 1) + ADDRESSED_WORDS + 2 + CARRY_LINK_WORDS * (n - 1);
}

// to := -from, the top byte first; in place when `to` is `from`.
void negate(const Bytes& from, const Bytes& to) {
  const bool in_place = from[0] == to[0];
  for (int k = from.n - 1; k >= 1; --k) {
    emit_load_a(from[k]);
    if (in_place) emit_ram_not_a();
    else emit_store_not_a(to[k]);
  }
  emit_load_b(from[0]);
  emit_a_not_b();
  if (in_place) emit_ram_add_a_1();
  else emit_store_add_a_1(to[0]);
  carry_chain(emit_jump_if_carry_add_a_1, to.above(0), to.n - 1);
}

// S negated in place when bit 7 of A is set.
void negate_if_a_negative(const Bytes& s) {
  emit_jump_if_ah_clear(here() + JUMP_WORDS + negation_words(s.n));
  negate(s, s);
}

void store_negated_b(std::int32_t to) {
  emit_a_not_b();
  emit_b_add_a_1();
  emit_store_b(to);
}

// B into `to`, negated when the sign bit that `jump_if_clear` tests is 1.
void store_b_negated_if_sign(JumpEmitter jump_if_clear, std::int32_t to) {
  jump_if_clear(here() + JUMP_WORDS + 2);
  store_negated_b(to);
}

// S into D, negated when bit 7 of A is set.
void copy_out_negated_if_a_negative(const Bytes& s, const Operand& d) {
  if (s.n == 1) {
    emit_load_b(s[0]);
    store_b_negated_if_sign(emit_jump_if_ah_clear, d.at());
    return;
  }
  negate_if_a_negative(s);
  copy_out(s, d);
}

// A signed operand goes in as its magnitude: constants negated now, values at run time.
void place(const Division& division, const Operand& x, const Bytes& slot, bool is_dividend) {
  if (is_constant(x.kind)) {
    store_constant(slot, division.magnitude(x.value));
  } else if (!division.is_signed) {
    copy_into(slot, x);
  } else if (division.n == 1) {
    if (is_acc_value(x.kind) && (!division.remainder || is_dividend)) emit_store_a(SAVED_A);
    load_byte_into_b(x, 0);
    store_b_negated_if_sign(emit_jump_if_bh_clear, slot[0]);
  } else {
    for (int k = 0; k < division.n; ++k) {  // low byte first: A ends with the top byte
      emit_load_a(x.at(k));
      emit_store_a(slot[k]);
    }
    negate_if_a_negative(slot);
  }
}

void setup(const Division& division) {
  const DivisionWork& work = division.work;
  const auto dividend = [&] { place(division, division.dividend, work.dividend, true); };
  const auto divisor = [&] { place(division, division.divisor, work.divisor, false); };
  if (is_variable(division.dividend.kind) && is_variable(division.divisor.kind)) {
    store_constant(work.remainder, 0);
    dividend();
    divisor();
  } else {
    if (division.divisor_first) {
      divisor();
      dividend();
    } else {
      dividend();
      divisor();
    }
    store_constant(work.remainder, 0);
  }
  emit_store_imm(work.counter, MUL_DIV_BIT_COUNTER(division.n));
}

// REM:DVD shifted left by one; A ends holding the new top byte of REM. In 8 bits REM itself
// is written later, by whichever branch the compare takes.
void shift_remainder_and_dividend(const DivisionWork& work) {
  if (work.remainder.n == 1) {
    emit_load_a(work.remainder[0]);
    emit_load_b(work.dividend[0]);
    emit_ram_b_shl();
  } else {
    shift_left(work.remainder_and_dividend);
  }
  emit_a_a_shl_bh();
}

constexpr int compare_words(int n) {
  if (n == 1) return ADDRESSED_WORDS + JUMP_WORDS + ADDRESSED_WORDS + JUMP_WORDS;
  int words = 0;
  for (int k = n - 1; k >= 0; --k)
    words += (k < n - 1 ? ADDRESSED_WORDS : 0) + ADDRESSED_WORDS + 2 * JUMP_WORDS + (k > 0 ? JUMP_WORDS : 0);
  return words;
}

constexpr int subtraction_words(int n) {
  return n == 1 ? ADDRESSED_WORDS : n * (2 * ADDRESSED_WORDS + 1) + BORROW_LINK_WORDS * n * (n - 1) / 2;
}

constexpr int QUOTIENT_BIT_WORDS = ADDRESSED_WORDS + 1;

// From the top byte down: a smaller REM byte skips the subtraction, a greater one takes it,
// an equal one looks at the next byte; all equal subtracts.
void compare(const DivisionWork& work, std::int32_t subtraction, std::int32_t counter_step) {
  const int n = work.remainder.n;
  for (int k = n - 1; k >= 0; --k) {
    if (k < n - 1) emit_load_a(work.remainder[k]);
    emit_load_b(work.divisor[k]);
    emit_jump_if_carry_sub_a_b(here() + 2 * JUMP_WORDS);
    emit_jump_to(counter_step);
    if (k > 0) emit_jump_if_a_ne_b(subtraction);
  }
}

void subtract_divisor(const DivisionWork& work) {
  const int n = work.remainder.n;
  for (int k = n - 1; k >= 0; --k) {
    emit_load_b(work.divisor[k]);
    emit_load_a(work.remainder[k]);
    emit_ram_sub_a_b();
    borrow_chain(emit_jump_if_carry_sub_a_b, work.remainder.above(k), n - 1 - k);
  }
}

void compare_and_subtract(const Division& division) {
  const DivisionWork& work = division.work;
  const int n = division.n;
  const std::int32_t subtraction = here() + compare_words(n);
  const std::int32_t counter_step = subtraction + subtraction_words(n) + (division.remainder ? 0 : QUOTIENT_BIT_WORDS);
  if (n == 1) {
    emit_load_b(work.divisor[0]);
    emit_jump_if_carry_sub_a_b(subtraction);
    emit_store_a(work.remainder[0]);
    emit_jump_to(counter_step);
    emit_store_sub_a_b(work.remainder[0]);
    return;
  }
  compare(work, subtraction, counter_step);
  subtract_divisor(work);
}

void division_loop(const Division& division) {
  const DivisionWork& work = division.work;
  const std::int32_t loop = here();
  if (!division.remainder) shift_left(work.quotient);
  shift_remainder_and_dividend(work);
  compare_and_subtract(division);
  if (!division.remainder) {
    emit_load_a(work.quotient[0]);
    emit_ram_add_a_1();
  }
  count_down(work.counter, loop);
}

void load_top_byte_into_a(const Division& division, const Operand& x) {
  if (is_acc_value(x.kind)) emit_load_a(SAVED_A);
  else load_byte_into_a(x, division.n - 1);
}

// The quotient is negative when the operands' top bits differ; a constant counts as written.
void store_quotient(const Division& division) {
  if (!division.is_signed) {
    copy_out(division.work.quotient, division.d);
    return;
  }
  const bool swap = division.divisor_first;
  load_top_byte_into_a(division, swap ? division.divisor : division.dividend);
  load_byte_into_b(swap ? division.dividend : division.divisor, division.n - 1);
  emit_a_xor();
  copy_out_negated_if_a_negative(division.work.quotient, division.d);
}

// The remainder takes the dividend's sign.
void store_remainder(const Division& division) {
  const Operand& dividend = division.dividend;
  const Bytes& remainder = division.work.remainder;
  if (!division.is_signed || (is_constant(dividend.kind) && !top_bit_set(dividend.value, division.n))) {
    copy_out(remainder, division.d);
  } else if (is_constant(dividend.kind)) {
    if (division.n == 1) {
      emit_load_b(remainder[0]);
      store_negated_b(division.d.at());
    } else {
      negate(remainder, variable_bytes(division.d, division.n));
    }
  } else {
    load_top_byte_into_a(division, dividend);
    copy_out_negated_if_a_negative(remainder, division.d);
  }
}

}  // namespace

StatusText compile_division(const Operation& operation, bool remainder) {
  const int n = loop_operation_width(operation);
  if (n == 0) return Text(remainder ? STATUS_BINOP_MOD_TYPE_ERROR : STATUS_BINOP_DIV_TYPE_ERROR);

  const Division division = classify(operation, remainder, n);
  setup(division);
  division_loop(division);
  if (remainder) store_remainder(division);
  else store_quotient(division);
  return Text(STATUS_DONE);
}

}  // namespace tarvik::codegen
