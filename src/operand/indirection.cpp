#include <array>
#include <span>
#include <string_view>

#include "operand/unary.h"

namespace tarvik::operand {

namespace {

// Kinds that one operator moves by the same amount, in the order they are tested.
struct Retyping {
  std::array<int, 6> kinds;
  int shift;
};

// `*`: a pointer stands for its object, an array for its first element.
constexpr Retyping INDIRECTION[] = {
    {{0x86, 0x89, 0x87, 0x8A, 0x88, 0x8B}, +KIND_INDIRECTION_STEP},
    {{0x8C, 0x8F, 0x8D, 0x90, 0x8E, 0x91}, -KIND_INDIRECTION_STEP},
};
// `&`: an object reached through a pointer stands for the pointer, a scalar for its address
// typed as an array of its base type.
constexpr Retyping ADDRESS_OF[] = {
    {{0x92, 0x95, 0x93, 0x96, 0x94, 0x97}, -KIND_INDIRECTION_STEP},
    {{0x80, 0x83, 0x81, 0x84, 0x82, 0x85}, +KIND_INDIRECTION_STEP},
};

// The kind an operand of `kind` takes, or 0 when the table refuses it.
int retyped_kind(std::span<const Retyping> table, int kind) {
  for (const Retyping& row : table)
    for (const int from : row.kinds)
      if (kind == from) return kind + row.shift;
  return 0;
}

// Only the kind byte changes; no code is emitted. The operator is blanked and the scan
// restarts whether or not the kind was accepted.
void retype(OperandLoop& loop, std::span<const Retyping> table, std::string_view refused) {
  loop.blank_last_operator();
  const OperandDescriptor operand = loop.operand();
  const int kind = retyped_kind(table, get_operand_kind(operand));
  if (kind != 0) loop.set_operand(make_operand(kind, operand));
  else loop.status = Text(refused);
  restart(loop);
}

}  // namespace

void apply_indirection(OperandLoop& loop) { retype(loop, INDIRECTION, STATUS_INDIRECTION_TYPE_ERROR); }

void apply_address_of(OperandLoop& loop) {
  // A value an operator produced has no address; the operator stays in the text.
  if (loop.value_flag) {
    loop.status = Text(STATUS_ADDRESS_OF_STATE_ERROR);
    return;
  }
  retype(loop, ADDRESS_OF, STATUS_ADDRESS_OF_TYPE_ERROR);
}

}  // namespace tarvik::operand
