// What the operator groups of the reduction share: the walk's state, one operation as its
// phases prepare it, and the phases themselves, written once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "app/state.h"
#include "binop/binop.h"
#include "codegen/codegen.h"
#include "isa/isa.h"

namespace tarvik::binop {

// The walk over one level text. Left, target and previous operator keep their values from
// an earlier scan until the walk reads new ones; every use of the target or the previous
// operator is guarded by an operand count of at least 2.
struct Scan {
  explicit Scan(ByteArray& level_text) : text(level_text) {}

  ByteArray& text;
  int pass = 0;
  std::size_t pos = 0;
  OperandDescriptor left = 0;
  std::size_t left_pos = 0;
  OperandDescriptor target = 0;
  std::string_view previous_operator;  // points into a constant, not into the text
  std::size_t previous_operator_pos = 0;
  int operand_count = 0;
  // Set by every reduction: the first byte it changed, where the walk resumes.
  std::size_t resume_at = 0;
};

// One operation L op R. L and R are working copies that the phases replace by temporaries
// or register A; the text changes only when the result is placed.
struct Operation {
  explicit Operation(Scan& walk) : scan(walk) {}

  Scan& scan;
  std::string_view op;  // the operator's bytes, as a constant text
  std::size_t op_pos = 0;
  OperandDescriptor l = 0;
  OperandDescriptor r = 0;
  std::size_t r_pos = 0;
  bool is_last = false;  // only blanks follow R

  int l_kind() const { return get_operand_kind(l); }
  int r_kind() const { return get_operand_kind(r); }
};

// The operator groups; each reduces the operator at the scan position and returns
// STATUS_CONTINUE, or an error that ends the walk.
StatusText reduce_multiplicative(Scan& scan, std::string_view op);
StatusText reduce_additive(Scan& scan, std::string_view op);
StatusText reduce_shift(Scan& scan, std::string_view op);
StatusText reduce_comparison(Scan& scan, std::string_view op);
StatusText reduce_bitwise(Scan& scan, std::string_view op);

// ---- Kinds as the groups see them.
constexpr bool is_char_operand(int kind) { return is_v8(kind); }
constexpr bool is_int_operand(int kind) { return is_v16(kind); }
constexpr bool is_long_operand(int kind) { return is_v32(kind); }
// 1, 2 or 4 for char (and A values), int and long operands; 0 otherwise.
constexpr int size_class(int kind) { return is_acc_value(kind) ? 1 : variable_width(kind); }
// A pair counts as signed when both operands are signed, or, with one constant, the other is.
bool pair_is_signed(OperandDescriptor l, OperandDescriptor r);
// The value of a constant operand.
std::int32_t constant_value(OperandDescriptor constant);

// ---- Phase 1: the operator, the right operand after it and whether anything follows.
// False when fewer than 4 bytes follow the operator's blanks: there is no right operand.
bool read_operation(Scan& scan, std::string_view op, Operation& o);

// ---- Phase 2: a value pending in register A goes into a temporary unless it is L or R.
StatusText spill_pending_a(Operation& o);

// ---- Phase 3: values through a pointer are loaded, L first. Before a load, an A value in
// the other operand is stored: the shift group always as a char, the others widened to the
// loaded width.
StatusText load_indirect_operands(Operation& o, bool shift_group);

// ---- Temporaries.
// (0, new temporary of `passed_kind`, "=", x); x becomes the temporary with `new_kind`.
StatusText copy_into_temporary(OperandDescriptor& x, int passed_kind, int size, int new_kind);
// An A value stored into a 1-byte temporary: an unsigned or signed char.
StatusText spill_a_operand(OperandDescriptor& x);

// ---- Phase 4, the groups other than the shift group.
// A char, int or A value that a constant on the other side does not fit is widened into a
// signed temporary of 2 or 4 bytes. `unsigned_ranges`: the bitwise group measures every
// operand by the unsigned ranges.
StatusText widen_for_constants(Operation& o, bool unsigned_ranges);
// The narrower of two non-constant operands of different widths is widened to the other's.
StatusText match_widths(Operation& o);

// Phases 2 to 4 of the number groups: the pending-A spill, `before_loads` (if any), the
// indirect loads, the widening for a constant and the matching of widths.
StatusText prepare_numbers(Operation& o, bool unsigned_ranges, StatusText (*before_loads)(Operation&) = nullptr);
// The width of two prepared numbers: the other operand's beside a constant, else the one
// both share; 0 for any other pair, two values in register A among them.
int pair_width(const Operation& o);

// ---- Phase 5, the results.
// X = L op R as the last operation of X = ..., X of one of `target_kinds`.
bool takes_shortcut(const Operation& o, std::initializer_list<int> target_kinds);
// The same for a variable target no wider than the operation: it receives the low bytes.
bool takes_narrowing_shortcut(const Operation& o, int width);
// The operation straight into the assignment target; "=", L, op and R become blanks.
StatusText into_target(Operation& o);
// The same with another destination for the generator (a pointer target seen as its width).
StatusText into_target_as(Operation& o, OperandDescriptor destination);
// The operation into a new temporary; L's token becomes it, with `result_kind`.
StatusText into_temporary(Operation& o, int passed_kind, int size, int result_kind);
// The operation with `destination` as D; L's token becomes `result` (a temporary of `size`
// bytes taken from g_temp_ram_next, or none when size is 0).
StatusText into_destination(Operation& o, OperandDescriptor destination, OperandDescriptor result, int size);
// The 8-bit operation into register A; L's token becomes the tracked A value.
StatusText into_register_a(Operation& o, bool is_signed);
// L's token as it stands in the text, with another kind.
OperandDescriptor left_token_as(const Operation& o, int kind);
// L's token names the value now in A: the tracker points at it.
void place_a_result(Operation& o, int kind);
// L's token becomes a new constant; nothing is emitted.
void fold(Operation& o, std::int32_t value);
// L's token becomes `result`; the operator and R become blanks.
void place_result(Operation& o, OperandDescriptor result);
// After a result written straight into the target: "=", L, the operator and R become blanks.
void blank_assignment(Operation& o);

// ---- Direct register forms: X = A op B and the like as one instruction.
// The last operation of X = ..., X a register, `_RAM` or a char variable.
bool is_register_form_target(const Operation& o);
// One instruction form per target.
struct RegisterForms {
  WordEmitter a, b, a2, a1, a0, ram;
  AddressedEmitter store;  // into a char variable
};
// Emits the form for the assignment target and blanks the assignment.
void emit_register_form(Operation& o, const RegisterForms& forms);

}  // namespace tarvik::binop
