#include <algorithm>

#include "codegen/blocks.h"

namespace tarvik::codegen {

namespace {

// Source classes as bits, so that each target lists the sources it takes.
enum : unsigned {
  FROM_CONSTANT = 1u << 0,  // a constant's value or an array's address
  FROM_A = 1u << 1,
  FROM_B = 1u << 2,
  FROM_RAM = 1u << 3,  // the byte at A2:A1:A0
  FROM_V8 = 1u << 4,
  FROM_V16 = 1u << 5,
  FROM_V32 = 1u << 6,
  FROM_ADDRESS = 1u << 7,
  FROM_Q1 = 1u << 8,
  FROM_Q2 = 1u << 9,
  FROM_Q4 = 1u << 10,
  FROM_CONDITION = 1u << 11,
};
// Values that a load reads at the operand's own address.
constexpr unsigned FROM_STORED = FROM_V8 | FROM_V16 | FROM_V32 | FROM_ADDRESS;

unsigned source_class(int kind) {
  if (is_constant(kind) || is_array(kind)) return FROM_CONSTANT;
  if (is_acc(kind)) return FROM_A;
  if (kind == OPERAND_KIND_B) return FROM_B;
  if (kind == OPERAND_KIND_RAM) return FROM_RAM;
  if (is_address(kind)) return FROM_ADDRESS;
  if (kind == OPERAND_KIND_CONDITION) return FROM_CONDITION;
  if (is_v8(kind)) return FROM_V8;
  if (is_v16(kind)) return FROM_V16;
  if (is_v32(kind)) return FROM_V32;
  if (is_via_pointer(kind)) return via_pointer_size(kind) == 1 ? FROM_Q1 : via_pointer_size(kind) == 2 ? FROM_Q2 : FROM_Q4;
  return 0;
}

// The bytes a source has for a target of n bytes: a constant has all of them.
int source_width(const Operand& r, int n) {
  if (source_class(r.kind) == FROM_CONSTANT) return n;
  if (is_address(r.kind)) return 3;
  if (is_variable(r.kind)) return variable_width(r.kind);
  return 1;
}

// The word that puts each source into a register target:
// K or Y, ACC, `_B`, RAM, a stored value.
struct RegisterForms {
  void (*immediate)(std::int32_t v);
  WordEmitter from_a;
  WordEmitter from_b;
  WordEmitter from_ram;
  AddressedEmitter load;
};

struct Target;
using TargetEmitter = void (*)(const Target& target, const Operand& l, const Operand& r);

struct Target {
  bool (*is)(int kind);
  std::string_view error;
  unsigned sources;
  TargetEmitter emit;
  int width;
  RegisterForms forms;
};

// A register assigned to itself.
void nothing() {}

void copy_byte(const Operand& l, const Operand& r, int k) {
  if (source_class(r.kind) == FROM_CONSTANT) {
    emit_store_imm(l.at(k), byte_of(r.value, k));
  } else if (r.kind == OPERAND_KIND_B) {
    emit_store_b(l.at(k));
  } else {
    load_byte_into_a(r, k);
    emit_store_a(l.at(k));
  }
}

// The source's own bytes, top down, under zeros or, for a signed source, its sign. A wider
// source gives only its low bytes.
void store_widened(const Target& target, const Operand& l, const Operand& r) {
  const int n = target.width;
  const int w = std::min(source_width(r, n), n);
  const bool by_sign = w < n && is_signed_kind(r.kind);
  if (by_sign) {
    load_byte_into_a(r, w - 1);
    sign_fill(l, n - 1, w);
    emit_store_a(l.at(w - 1));
  } else {
    for (int k = n - 1; k >= w; --k) emit_store_imm(l.at(k), 0);
  }
  for (int k = by_sign ? w - 2 : w - 1; k >= 0; --k) copy_byte(l, r, k);
}

// Byte 0 is reached through the pointer itself, byte 1 through a fresh copy of it, each
// further byte through the copy incremented.
void step_to_byte(const Operand& pointer, int k) {
  if (k == 1) copy_pointer(pointer.at());
  if (k > 1) increment_pointer_copy();
}

void address_byte(const Operand& pointer, int k) {
  if (k == 0) address_through_pointer(pointer.at());
  else address_through_copy();
}

void load_through_pointer(const Target& target, const Operand& l, const Operand& r) {
  for (int k = 0; k < target.width; ++k) {
    step_to_byte(r, k);
    address_byte(r, k);
    emit_a_from_ram();
    emit_store_a(l.at(k));
  }
}

void into_variable(const Target& target, const Operand& l, const Operand& r) {
  if (is_via_pointer(r.kind)) load_through_pointer(target, l, r);
  else store_widened(target, l, r);
}

// Constant bytes, and the zero above an address value, go straight through the pointer;
// a register byte has to be staged.
void store_through_pointer(const Target& target, const Operand& l, const Operand& r) {
  const int w = source_width(r, target.width);
  const bool constant = source_class(r.kind) == FROM_CONSTANT;
  for (int k = 0; k < target.width; ++k) {
    step_to_byte(l, k);
    if (constant || k >= w) {
      address_byte(l, k);
      emit_ram_imm(k < w ? byte_of(r.value, k) : 0);
    } else {
      load_byte_into_a(r, k);
      if (k == 0) staged_store_through_pointer(l.at());
      else staged_store_through_copy();
    }
  }
}

bool sense_is_known() { return g_fall_through_sense == SENSE_TRUE || g_fall_through_sense == SENSE_FALSE; }

// The exits that mean what falling through means land on A := that value, the others on
// A := the opposite value.
void condition_into_a() {
  const bool falls_true = g_fall_through_sense == SENSE_TRUE;
  const std::int32_t start = here();
  patch_jump_list(falls_true ? g_true_jumps : g_false_jumps, start);
  emit_a_imm(falls_true ? 1 : 0);
  emit_jump_to(start + 6);
  patch_jump_list(falls_true ? g_false_jumps : g_true_jumps, start + 5);
  emit_a_imm(falls_true ? 0 : 1);
  g_true_jumps.clear();
  g_false_jumps.clear();
}

void into_register(const Target& target, const Operand&, const Operand& r) {
  const RegisterForms& to = target.forms;
  switch (source_class(r.kind)) {
    case FROM_CONSTANT: to.immediate(byte_of(r.value, 0)); break;
    case FROM_A: to.from_a(); break;
    case FROM_B: to.from_b(); break;
    case FROM_RAM: to.from_ram(); break;
    case FROM_Q1:
      address_through_pointer(r.at());
      to.from_ram();
      break;
    case FROM_CONDITION: condition_into_a(); break;
    default: to.load(r.at());  // the low byte of a stored value
  }
}

template <int KIND>
constexpr bool is_kind(int kind) { return kind == KIND; }

template <int SIZE>
constexpr bool is_via_pointer_to(int kind) { return is_via_pointer(kind) && via_pointer_size(kind) == SIZE; }

constexpr unsigned TO_REGISTER = FROM_CONSTANT | FROM_A | FROM_B | FROM_RAM | FROM_STORED;

// The targets in the order they are tested, each with the sources it takes.
constexpr Target TARGETS[] = {
    {is_v8, STATUS_BINOP_ASSIGN_CHAR_TYPE_ERROR, FROM_CONSTANT | FROM_A | FROM_B, into_variable, 1, {}},
    {is_v16, STATUS_BINOP_ASSIGN_INT16_TYPE_ERROR, FROM_CONSTANT | FROM_A | FROM_B | FROM_STORED | FROM_Q2, into_variable, 2, {}},
    {is_v32, STATUS_BINOP_ASSIGN_INT32_TYPE_ERROR, FROM_CONSTANT | FROM_A | FROM_B | FROM_STORED | FROM_Q4, into_variable, 4, {}},
    {is_via_pointer_to<1>, STATUS_BINOP_ASSIGN_CHAR_VIA_PTR_TYPE_ERROR, FROM_CONSTANT | FROM_A, store_through_pointer, 1, {}},
    {is_via_pointer_to<2>, STATUS_BINOP_ASSIGN_INT_VIA_PTR_TYPE_ERROR, FROM_CONSTANT | FROM_V16 | FROM_V32 | FROM_ADDRESS,
     store_through_pointer, 2, {}},
    {is_via_pointer_to<4>, STATUS_BINOP_ASSIGN_INT_VIA_PTR_TYPE_ERROR, FROM_CONSTANT | FROM_V32 | FROM_ADDRESS, store_through_pointer, 4, {}},
    {is_acc, STATUS_BINOP_ASSIGN_A_TYPE_ERROR, TO_REGISTER | FROM_Q1 | FROM_CONDITION, into_register, 1,
     {emit_a_imm, nothing, emit_a_from_b, emit_a_from_ram, emit_load_a}},
    {is_kind<OPERAND_KIND_B>, STATUS_BINOP_ASSIGN_B_TYPE_ERROR, TO_REGISTER | FROM_Q1, into_register, 1,
     {emit_b_imm, emit_b_from_a, nothing, emit_b_from_ram, emit_load_b}},
    {is_kind<OPERAND_KIND_A2>, STATUS_BINOP_ASSIGN_A2_TYPE_ERROR, TO_REGISTER, into_register, 1,
     {emit_a2_imm, emit_a2_from_a, emit_a2_from_b, emit_a2_from_ram, emit_load_a2}},
    {is_kind<OPERAND_KIND_A1>, STATUS_BINOP_ASSIGN_A1_TYPE_ERROR, TO_REGISTER, into_register, 1,
     {emit_a1_imm, emit_a1_from_a, emit_a1_from_b, emit_a1_from_ram, emit_load_a1}},
    {is_kind<OPERAND_KIND_A0>, STATUS_BINOP_ASSIGN_A0_TYPE_ERROR, TO_REGISTER, into_register, 1,
     {emit_a0_imm, emit_a0_from_a, emit_a0_from_b, emit_a0_from_ram, emit_load_a0}},
    {is_kind<OPERAND_KIND_RAM>, STATUS_BINOP_ASSIGN_RAM_TYPE_ERROR, FROM_CONSTANT | FROM_A | FROM_B | FROM_RAM, into_register, 1,
     {emit_ram_imm, emit_ram_from_a, emit_ram_from_b, nothing, nullptr}},
    {is_address, STATUS_BINOP_ASSIGN_ADDRESS_TYPE_ERROR, FROM_CONSTANT | FROM_A | FROM_B | FROM_V16 | FROM_V32 | FROM_ADDRESS,
     into_variable, 3, {}},
};

const Target* target_of(int kind) {
  for (const Target& target : TARGETS)
    if (target.is(kind)) return &target;
  return nullptr;
}

// A condition is taken only while its sense is one of the two texts: before the first
// condition there is none, and the sequence would leave A unset.
bool takes(const Target& target, int kind) {
  const unsigned source = source_class(kind);
  return (target.sources & source) != 0 && (source != FROM_CONDITION || sense_is_known());
}

}  // namespace

StatusText compile_assignment(const Operation& operation) {
  const Target* target = target_of(operation.l.kind);
  if (!target) return Text(STATUS_BINOP_ASSIGN_OTHER_TYPE_ERROR);
  if (!takes(*target, operation.r.kind)) return Text(target->error);
  // The store goes where A2:A1:A0 points: the program set it, and code that computed the
  // value since would have moved it.
  if (operation.l.kind == OPERAND_KIND_RAM && address_register_written_since(g_expression_part_start))
    return Text(target->error);
  target->emit(*target, operation.l, operation.r);
  return Text(STATUS_DONE);
}

}  // namespace tarvik::codegen
