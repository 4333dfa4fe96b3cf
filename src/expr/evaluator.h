// The evaluator's scan state and the steps its handlers share.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "binop/binop.h"
#include "codegen/codegen.h"
#include "isa/isa.h"
#include "operand/operand.h"
#include "stmt/stmt.h"
#include "expr/expr.h"
#include "expr/text_index.h"

namespace tarvik::expr {

// An item of the scanned text: an identifier, an operand token or an operator, by its place
// in g_expression_text; empty when len is 0.
struct Item {
  std::int32_t pos = 0;
  std::int32_t len = 0;
  bool empty() const { return len == 0; }
};

// What a rescan of the enclosing level up to a bracket would rebuild, kept when it opens.
struct OpeningState {
  Item last_item, item_before;
  std::int32_t operator_seen = 0;
};

// The current level's text as the steps read it: g_expression_text from the level's body to
// the scan position, every run of blanks cut to at most three (the room a token needs over a
// one-letter name), and where each byte stands in g_expression_text.
struct LevelText {
  ByteArray bytes;
  std::vector<std::int32_t> origin;
  std::int32_t end = 0;
  std::int32_t position_of(std::size_t offset) const {
    return offset < origin.size() ? origin[offset] : end;
  }
};

// The messages a step gives when the lone operand it must test is not one.
struct OperandMessages {
  std::string_view return_value_error;
  std::string_view lookup_error;
  std::string_view type_error;
};
inline constexpr OperandMessages PAREN_MESSAGES = {STATUS_PAREN_RETURN_VALUE_ERROR, STATUS_PAREN_LOOKUP_ERROR,
                                                  STATUS_PAREN_OPERAND_TYPE_ERROR};
inline constexpr OperandMessages BRACKET_MESSAGES = {STATUS_BRACKET_RETURN_VALUE_ERROR, STATUS_BRACKET_LOOKUP_ERROR,
                                                    STATUS_BRACKET_OPERAND_TYPE_ERROR};
inline constexpr OperandMessages COMMA_MESSAGES = {STATUS_COMMA_RETURN_VALUE_ERROR, STATUS_COMMA_LOOKUP_ERROR,
                                                  STATUS_COMMA_OPERAND_TYPE_ERROR};
inline constexpr OperandMessages END_MESSAGES = {STATUS_END_RETURN_VALUE_ERROR, STATUS_END_LOOKUP_ERROR,
                                                STATUS_END_OPERAND_TYPE_ERROR};

// One run of process_main_expression.
struct Scan {
  std::int32_t is_condition = 0;
  std::int32_t expr_pos = 0;
  Item last_item, item_before;
  std::int32_t operator_seen = 0;
  StatusText loop_status;
  TextIndex index;
  std::vector<OpeningState> openings;  // one per open bracket, innermost last
  std::vector<OperandDescriptor> call_arguments, call_parameters;  // entry 0 unused
  std::vector<OperandDescriptor> conditional_temporaries;  // the ?: temporaries made so far

  std::int32_t level() const { return g_expr_level; }
  std::int32_t body() const { return g_level_body_pos[g_expr_level]; }
  std::string_view item_text(Item item) const {
    return std::string_view(g_expression_text).substr(static_cast<std::size_t>(item.pos), static_cast<std::size_t>(item.len));
  }
  // A byte of g_expression_text; 0, which starts no item, outside it.
  std::uint8_t byte_at(std::int32_t pos) const {
    return pos >= 0 && static_cast<std::size_t>(pos) < g_expression_text.size()
               ? static_cast<std::uint8_t>(g_expression_text[static_cast<std::size_t>(pos)])
               : 0;
  }
  bool is_continuing() const { return loop_status == STATUS_CONTINUE; }
  void fail(std::string_view status) { loop_status = Text(status); }
};

bool is_name_start(std::uint8_t byte);
bool is_name_byte(std::uint8_t byte);

// Writing g_expression_text, with its index kept.
void put_byte(Scan& s, std::int32_t pos, char byte);
void put_token(Scan& s, std::int32_t pos, OperandDescriptor descriptor);
// Blanks [from, to).
void blank(Scan& s, std::int32_t from, std::int32_t to);

// The current level's text.
LevelText level_text(const Scan& s);

// Subsystem calls that may write g_expression_text: the index follows them.
StatusText run_subexpression(Scan& s, ByteArray text);
StatusText spill_into_expression_text(Scan& s, std::initializer_list<OperandDescriptor> exempt);
// A value in register A whose token stands in [from, to], which the step blanks or
// overwrites, is dropped.
void drop_register_a_value_within(std::int32_t from, std::int32_t to);

// The splits on the current level text; g_pending_subexpr_offset is then an offset from the
// level's body in g_expression_text.
LevelText split_level_rhs(const Scan& s);
LevelText split_level_last_assignment(const Scan& s);

// Every assignment of `text` stores into an object, or into one of `own_temporaries` that
// the compiler assigns itself; else the target error.
StatusText check_assignment_targets(std::string_view text, std::span<const OperandDescriptor> own_temporaries = {});
// The left side of an assignment steps something ("++" or "--"): code of its own.
bool target_has_steps(std::string_view target);

// Scans the current level again from its start.
void restart_level_scan(Scan& s);
// The enclosing level goes on where a closed bracket level wrote its result: at its bracket,
// or at the name before it.
void resume_at_bracket(Scan& s);
void resume_at_name(Scan& s);
// g_subexpr_result at pos, blanks up to `to`.
void write_result_token(Scan& s, std::int32_t pos, std::int32_t to);
// A condition whose truth is known while compiling: one placeholder jump.
void make_constant_condition(std::int32_t value);
// Joins jump list `from` to `into` and empties `from`.
void join_jumps(JumpList& into, JumpList& from);
// A := the condition held in the jump lists, as 0 or 1.
StatusText condition_to_register_a();

// The lone operand of g_pending_subexpr_text made a condition: done (the jump lists hold it),
// already one (a 0xE7 token), or failed with the step's message.
enum class LoneOperand { made, already_condition, failed };
// The first non-blank byte of the pending text, or the text's size when there is none.
std::size_t pending_operand_start();
LoneOperand make_condition_of_pending_operand(Scan& s, const OperandMessages& messages);

// The last operand of an && / || chain ends at this step: compiled when it still holds
// operators, else made a condition that ends the chain. The chain's truth becomes 0 or 1 in A
// (a 0xEB mark), unless keep_condition and the level holds no assignment: then it stays a
// condition (a 0xE7 mark).
void finish_chain_operand(Scan& s, const OperandMessages& messages, bool keep_condition);
// When an operand holds operators (flag set), compiles it; true when that was done.
bool compile_pending_operand(Scan& s);

// The operand before "&&", "||" or "?" made a condition, over as many visits as it takes
// (the level is rescanned after each); true when the condition is ready to be used.
bool take_condition_operand(Scan& s, const OperandMessages& messages);

// The current level holds no && / || operands yet to be chained.
bool level_lists_empty();

// How a step that ends a level evaluates it: its messages, and whether it is the end of the
// expression, where a condition may stay one.
struct LevelEnd {
  OperandMessages messages;
  std::string_view mismatch;
  bool at_semicolon = false;
};
// Whatever the level text still needs before its single operand is used: the last operand of
// an && / || chain, the else part of a ?:, the operators of the whole text, each followed by a
// rescan. False when there was nothing to do.
bool evaluate_level(Scan& s, const LevelEnd& end);

// The steps.
void open_level(Scan& s, bool call_test);
void close_paren(Scan& s);
void compile_sizeof(Scan& s);
void compile_function_call(Scan& s);
void close_index_level(Scan& s);
void handle_comma(Scan& s);
void handle_semicolon(Scan& s);
void handle_logical_or(Scan& s);
void handle_logical_and(Scan& s);
void handle_question_mark(Scan& s);
void handle_colon(Scan& s);
void scan_tail(Scan& s);

}  // namespace tarvik::expr
