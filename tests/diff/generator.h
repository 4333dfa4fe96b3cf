// Random programs in the dialect, each with a twin in C++ that computes the same globals on the
// host. The twin carries every value as a long long kept to its dialect type, so the host's own
// promotions never decide a result.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarvik::diff {

// A dialect type: width in bytes and signedness, or a constant that carries only its value.
struct Type {
  bool constant = false;
  std::int64_t value = 0;  // a constant's 32-bit signed value
  int width = 1;
  bool is_signed = false;
};

enum class Op { Add, Sub, Mul, Div, Mod, And, Or, Xor, Shl, Shr, Lt, Gt, Le, Ge, Eq, Ne };

// The width and signedness at which the dialect computes l op r, at most one of them a constant.
Type operation_type(Op op, const Type& l, const Type& r);
// The value of l op r for two constants, as the dialect folds it.
std::int64_t fold(Op op, std::int64_t l, std::int64_t r);

// One cell of RAM that both sides compute: its offset from the first global and its width.
struct Cell {
  int offset;
  int width;
};

struct Program {
  std::uint32_t seed = 0;
  std::string source;  // main.c, lines ended by "\r\n"
  std::string twin;    // a C++ namespace body with a function run() that prints the cells
  std::vector<Cell> cells;
};

Program generate(std::uint32_t seed);

// One C++ translation unit whose main prints one line per program: its cells in order, as hex.
std::string twin_unit(const std::vector<Program>& programs);

}  // namespace tarvik::diff
