#include <optional>

#include "codegen/blocks.h"

namespace tarvik::codegen {

namespace {

// The three forms of one ALU function: into A, into the RAM byte that the last access
// addressed, and into RAM at an address.
struct AluForms {
  WordEmitter into_a;
  WordEmitter into_ram;
  AddressedEmitter store;
};

constexpr AluForms AND_FORMS{emit_a_and, emit_ram_and, emit_store_and};
constexpr AluForms OR_FORMS{emit_a_or, emit_ram_or, emit_store_or};
constexpr AluForms XOR_FORMS{emit_a_xor, emit_ram_xor, emit_store_xor};
constexpr AluForms NOT_A_FORMS{emit_a_not_a, emit_ram_not_a, emit_store_not_a};

// The two operands of an accepted row: `x` goes into A, `y` into B.
struct Pair {
  const Operand* x;
  const Operand* y;
};

// L and R as a pair of the two classes, in either order.
template <class X, class Y>
std::optional<Pair> pair_of(const Operation& o, X x, Y y) {
  if (x(o.l.kind) && y(o.r.kind)) return Pair{&o.l, &o.r};
  if (x(o.r.kind) && y(o.l.kind)) return Pair{&o.r, &o.l};
  return std::nullopt;
}

// Two variables at one address; other operands have no address to share.
bool shares(const Operand& x, const Operand& y) { return is_variable(x.kind) && is_variable(y.kind) && same(x, y); }

std::optional<Pair> accepted_pair(const Operation& o) {
  const int d = o.d.kind;
  if (is_acc(d)) {
    if (auto p = pair_of(o, is_v8, is_v8)) return p;
    if (auto p = pair_of(o, is_acc, is_v8)) return p;
    if (auto p = pair_of(o, is_acc, is_constant)) return p;
    return pair_of(o, is_v8, is_constant);
  }
  if (is_v8(d)) {
    if (auto p = pair_of(o, is_acc, is_v8)) return p;
    if (auto p = pair_of(o, is_acc, is_constant)) return p;
  }
  const int n = variable_width(d);
  const auto wide = [n](int kind) { return n > 0 && variable_width(kind) >= n; };
  if (auto p = pair_of(o, wide, wide)) return p;
  return pair_of(o, wide, is_constant);
}

// Byte k of x into A and of y into B. An operand at D's address is loaded last, so that
// A2:A1:A0 still addresses byte k of D.
void operands_into_a_and_b(const Operand& d, const Operand& x, const Operand& y, int k) {
  if (shares(x, y)) {
    load_byte_into_a(x, k);
    emit_b_from_a();
  } else if (shares(d, x) && is_variable(y.kind)) {
    load_byte_into_b(y, k);
    load_byte_into_a(x, k);
  } else {
    load_byte_into_a(x, k);
    load_byte_into_b(y, k);
  }
}

void write_result_byte(const AluForms& alu, const Operand& d, bool in_place, int k) {
  if (is_acc(d.kind)) alu.into_a();
  else if (in_place) alu.into_ram();
  else alu.store(d.at(k));
}

}  // namespace

StatusText compile_bitwise(const Operation& operation, std::string_view op) {
  const std::optional<Pair> pair = accepted_pair(operation);
  if (!pair) return Text(STATUS_BINOP_BITWISE_TYPE_ERROR);
  const AluForms& alu = op == "&" ? AND_FORMS : op == "|" ? OR_FORMS : XOR_FORMS;
  const Operand& d = operation.d;
  const bool in_place = shares(d, *pair->x) || shares(d, *pair->y);
  const int n = is_acc(d.kind) ? 1 : variable_width(d.kind);
  for (int k = 0; k < n; ++k) {
    operands_into_a_and_b(d, *pair->x, *pair->y, k);
    write_result_byte(alu, d, in_place, k);
  }
  return Text(STATUS_DONE);
}

StatusText compile_complement(const Operation& operation) {
  const Operand& d = operation.d;
  const Operand& r = operation.r;
  const int n = variable_width(d.kind);
  if (n == 0 || operation.l.kind != OPERAND_KIND_IMMEDIATE || variable_width(r.kind) < n) {
    return Text(STATUS_BINOP_COMPLEMENT_TYPE_ERROR);
  }
  for (int k = 0; k < n; ++k) {
    emit_load_a(r.at(k));
    write_result_byte(NOT_A_FORMS, d, same(d, r), k);
  }
  return Text(STATUS_DONE);
}

}  // namespace tarvik::codegen
