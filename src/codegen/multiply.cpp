#include <algorithm>
#include <array>
#include <utility>

#include "codegen/work_values.h"

namespace tarvik::codegen {

namespace {

// Offsets of the work values' first (most significant) bytes in scratch RAM.
struct MultiplicationLayout {
  int n;
  std::int32_t multiplicand, multiplier, product, counter;
};

constexpr MultiplicationLayout MULTIPLICATION_LAYOUTS[] = {
    {1, 0, 1, 2, 3},
    {2, 0, 2, 4, 6},
    {4, 0, 4, 8, 12},
};

struct MultiplicationWork {
  Bytes multiplicand, multiplier, product;
  std::int32_t counter;
};

MultiplicationWork multiplication_work(int n) {
  const auto& row = *std::find_if(std::begin(MULTIPLICATION_LAYOUTS), std::end(MULTIPLICATION_LAYOUTS),
                                  [n](const MultiplicationLayout& layout) { return layout.n == n; });
  const auto at = [n](std::int32_t offset) { return work_value(ARITH_SCRATCH_RAM + offset, n); };
  return {at(row.multiplicand), at(row.multiplier), at(row.product), ARITH_SCRATCH_RAM + row.counter};
}

constexpr int addition_words(int n) { return n * (2 * ADDRESSED_WORDS + 1) + CARRY_LINK_WORDS * n * (n - 1) / 2; }

// PRD += MCD from the top byte down, each byte's carry passed up the bytes above it.
void add_multiplicand(const MultiplicationWork& work) {
  for (int k = work.product.n - 1; k >= 0; --k) {
    emit_load_b(work.multiplicand[k]);
    emit_load_a(work.product[k]);
    emit_ram_add_a_b();
    carry_chain(emit_jump_if_carry_add_a_b, work.product.above(k), work.product.n - 1 - k);
  }
}

void multiplication_loop(const MultiplicationWork& work) {
  const std::int32_t loop = here();
  shift_left(work.product);
  shift_left(work.multiplier);
  emit_jump_if_ah_clear(here() + JUMP_WORDS + addition_words(work.product.n));
  add_multiplicand(work);
  count_down(work.counter, loop);
}

}  // namespace

StatusText compile_multiplication(const Operation& operation) {
  const int n = loop_operation_width(operation);
  if (n == 0) return Text(STATUS_BINOP_MUL_TYPE_ERROR);

  Operand l = operation.l, r = operation.r;
  if (is_constant(l.kind)) std::swap(l, r);
  const bool a_on_right = is_acc_value(r.kind);
  const Operand& multiplicand = a_on_right ? r : l;
  const Operand& multiplier = a_on_right ? l : r;
  const MultiplicationWork work = multiplication_work(n);

  copy_into(work.multiplicand, multiplicand);
  if (is_constant(multiplier.kind)) store_constant(work.multiplier, multiplier.value);
  else copy_into(work.multiplier, multiplier);
  emit_store_imm(work.counter, MUL_DIV_BIT_COUNTER(n));
  multiplication_loop(work);
  copy_out(work.product, operation.d);
  return Text(STATUS_DONE);
}

}  // namespace tarvik::codegen
