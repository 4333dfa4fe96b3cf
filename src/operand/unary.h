// The operand loop of a level text, as its unary operator handlers see it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "app/state.h"
#include "codegen/codegen.h"
#include "operand/operand.h"

namespace tarvik::operand {

// The loop's values for one level text. The operand under work is the token at `pos`.
struct OperandLoop {
  explicit OperandLoop(ByteArray& level_text) : text(level_text) {}

  ByteArray& text;
  std::size_t pos = 0;
  std::size_t restart_pos = 0;  // just after the last consumed operand, or 0
  int operand_count = 0;
  int operator_count = 0;  // operators scanned since the last operand or restart
  int assignment_count = 0;
  std::string_view last_operator;  // a constant text, kept across restarts
  std::size_t last_operator_pos = 0;
  std::string_view last_assignment_operator;
  bool value_flag = false;  // the operand already holds a result a handler compiled
  OperandDescriptor previous_operand = 0;
  bool last_operand = false;  // only blanks follow the operand
  Text status = Text(STATUS_CONTINUE);

  OperandDescriptor operand() const;
  void set_operand(OperandDescriptor descriptor);
  // The operator in prefix position becomes blanks (one or two characters).
  void blank_last_operator();
};

// Scanning starts again after the last consumed operand, so that the next operator to the
// left of the rewritten operand is found: prefix operators apply from the operand outwards.
void restart(OperandLoop& loop);

// The handlers. Each works on the operand at loop.pos and sets loop.status on an error.
// A prefix `*` or `&`; both end with restart().
void apply_indirection(OperandLoop& loop);
void apply_address_of(OperandLoop& loop);
// A postfix "++" or "--" whose two characters stand at `at`; the loop then goes on with the
// same operand.
void apply_postfix_step(OperandLoop& loop, std::size_t at);
// Prefix "++" or "--", unary "+" or "-", "!", "~"; each ends with restart().
void apply_prefix_step(OperandLoop& loop);
void apply_unary_sign(OperandLoop& loop);
void apply_logical_not(OperandLoop& loop);
void apply_bitwise_not(OperandLoop& loop);

// Steps that the handlers share.
// One generator call; false (the loop's status its error) when it fails.
bool generated(OperandLoop& loop, OperandDescriptor d, OperandDescriptor l, std::string_view op, OperandDescriptor r);
int operand_kind(const OperandLoop& loop);
// The operand's kind is one of `accepted`; otherwise the status is `refusal`.
bool kind_accepted(OperandLoop& loop, std::span<const int> accepted, std::string_view refusal);
// A value pending in A, unless it is the operand, is stored into a 1-byte temporary.
bool spilled(OperandLoop& loop);
// The value flag is set and the operator's character blanked.
void mark_applied(OperandLoop& loop);
void hold_in_a(OperandLoop& loop, int kind);
void fold_constant(OperandLoop& loop, std::uint32_t (*fold)(std::uint32_t));

}  // namespace tarvik::operand
