#include <algorithm>
#include <array>
#include <utility>

#include "codegen/blocks.h"

namespace tarvik::codegen {

namespace {

constexpr int LOAD_WORDS = 5;  // an addressed load or store
constexpr int JUMP_WORDS = 4;
constexpr int CARRY_LINK_WORDS = 14;

// The pass counter starts here and counts down through 0: 8n passes.
constexpr std::int32_t MUL_DIV_BIT_COUNTER(int n) { return 8 * n - 1; }

// Where a value's bytes lie, by significance: address[0] holds byte 0.
struct Bytes {
  int n = 0;
  std::array<std::int32_t, 8> address{};

  std::int32_t operator[](int k) const { return address[k]; }
  const std::int32_t* above(int k) const { return address.data() + k + 1; }
};

// A work value in scratch RAM, most significant byte at `first`.
Bytes work_value(std::int32_t first, int n) {
  Bytes bytes{n};
  for (int k = 0; k < n; ++k) bytes.address[k] = first + n - 1 - k;
  return bytes;
}

// D, L and R of one width; each operand a variable, a constant or (8 bits) a value in A,
// never two constants or two values in A.
int accepted_width(const Operation& operation) {
  const int n = variable_width(operation.d.kind);
  const auto fits = [n](const Operand& x) {
    return variable_width(x.kind) == n || is_constant(x.kind) || (n == 1 && is_acc_value(x.kind));
  };
  const Operand &l = operation.l, &r = operation.r;
  if (n == 0 || !fits(l) || !fits(r)) return 0;
  if (is_constant(l.kind) && is_constant(r.kind)) return 0;
  if (is_acc_value(l.kind) && is_acc_value(r.kind)) return 0;
  return n;
}

// Top byte first; a value in A goes in as it is.
void copy_into(const Bytes& to, const Operand& x) {
  for (int k = to.n - 1; k >= 0; --k) {
    load_byte_into_a(x, k);
    emit_store_a(to[k]);
  }
}

void copy_out(const Bytes& from, const Operand& d) {
  for (int k = from.n - 1; k >= 0; --k) {
    emit_load_a(from[k]);
    emit_store_a(d.at(k));
  }
}

void store_constant(const Bytes& to, std::int32_t c) {
  for (int k = to.n - 1; k >= 0; --k) emit_store_imm(to[k], byte_of(c, k));
}

// The value shifted left by one in place, 0 into bit 0. A ends holding the old top byte.
void shift_left(const Bytes& s) {
  if (s.n == 1) {
    emit_load_a(s[0]);
    emit_ram_a_shl();
    return;
  }
  emit_load_a(s[1]);
  emit_load_b(s[0]);
  emit_ram_b_shl();
  emit_store_a_shl_bh(s[1]);
  for (int k = 2; k < s.n; ++k) {
    emit_b_from_a();
    emit_load_a(s[k]);
    emit_ram_a_shl_bh();
  }
}

// Repeats the loop while the counter was not 0 before this decrement.
void count_down(std::int32_t counter, std::int32_t loop) {
  emit_load_a(counter);
  emit_ram_sub_a_1();
  emit_jump_if_carry_sub_a_1(loop);
}

struct MultiplicationLayout {
  int n;
  std::int32_t multiplicand, multiplier, product, counter;
};

constexpr MultiplicationLayout MULTIPLICATION_LAYOUTS[] = {
    {1, 0x010004, 0x010005, 0x010006, 0x010007},
    {2, 0x010004, 0x010006, 0x010008, 0x01000A},
    {4, 0x010004, 0x010008, 0x01000C, 0x010010},
};

struct MultiplicationWork {
  Bytes multiplicand, multiplier, product;
  std::int32_t counter;
};

MultiplicationWork multiplication_work(int n) {
  const auto& row = *std::find_if(std::begin(MULTIPLICATION_LAYOUTS), std::end(MULTIPLICATION_LAYOUTS),
                                  [n](const MultiplicationLayout& layout) { return layout.n == n; });
  return {work_value(row.multiplicand, n), work_value(row.multiplier, n), work_value(row.product, n), row.counter};
}

constexpr int addition_words(int n) { return n * (2 * LOAD_WORDS + 1) + CARRY_LINK_WORDS * n * (n - 1) / 2; }

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
  const int n = accepted_width(operation);
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
