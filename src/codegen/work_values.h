// What the multiply and divide loops share: the operands they accept, and the moves of
// values between variables, constants and their work bytes in scratch RAM.
#pragma once

#include "codegen/blocks.h"

namespace tarvik::codegen {

// The pass counter starts here and counts down through 0: 8n passes.
constexpr std::int32_t MUL_DIV_BIT_COUNTER(int n) { return 8 * n - 1; }

// The width of D when D, L and R are of one width, each a variable, a constant or (8 bits)
// a value in A, never two constants or two values in A; 0 otherwise.
int loop_operation_width(const Operation& operation);

// Top byte first; a value in A goes in as it is.
void copy_into(const Bytes& to, const Operand& x);
void copy_out(const Bytes& from, const Operand& d);
void store_constant(const Bytes& to, std::int32_t c);
// The work value shifted left by one in place, 0 into bit 0. A ends holding the old top byte.
void shift_left(const Bytes& s);
// Repeats the loop while the counter was not 0 before this decrement.
void count_down(std::int32_t counter, std::int32_t loop);

}  // namespace tarvik::codegen
