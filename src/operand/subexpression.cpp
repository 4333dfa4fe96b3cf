#include <algorithm>

#include "binop/binop.h"
#include "operand/unary.h"
#include "stmt/stmt.h"

namespace tarvik {

namespace operand {

OperandDescriptor OperandLoop::operand() const { return read_operand_token(text, pos); }

void OperandLoop::set_operand(OperandDescriptor descriptor) { write_operand_token(text, pos, descriptor); }

void OperandLoop::blank_last_operator() {
  const std::size_t width = last_operator == "++" || last_operator == "--" ? 2 : 1;
  for (std::size_t i = 0; i < width && last_operator_pos + i < text.size(); ++i) text[last_operator_pos + i] = ' ';
}

void restart(OperandLoop& loop) {
  loop.pos = loop.restart_pos;
  loop.operator_count = 0;
  loop.assignment_count = 0;
}

}  // namespace operand

namespace {

using operand::OperandLoop;

bool is_value_in_a(std::uint8_t byte) { return byte == OPERAND_KIND_A_UNSIGNED || byte == OPERAND_KIND_A_SIGNED; }
std::uint8_t byte_at(const ByteArray& text, std::size_t pos) { return static_cast<std::uint8_t>(text[pos]); }

// A value left in A by an earlier piece, whose token stands in this text, is tracked here.
void find_register_a_token(const ByteArray& text) {
  for (std::size_t p = 0; p + 4 <= text.size(); p += byte_at(text, p) >= 0x80 ? 4 : 1) {
    if (is_value_in_a(byte_at(text, p))) {
      g_register_a_token_place = Text(TOKEN_IN_SUBEXPRESSION);
      g_register_a_state = Text(byte_at(text, p) == OPERAND_KIND_A_UNSIGNED ? REG_A_UNSIGNED : REG_A_SIGNED);
      g_register_a_token_pos = static_cast<std::int32_t>(p);
      return;
    }
  }
  g_register_a_token_place = Text(TOKEN_IN_MAIN_EXPRESSION);
}

bool is_name_start(std::uint8_t byte) { return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte == '_'; }
bool is_name_byte(std::uint8_t byte) { return is_name_start(byte) || (byte >= '0' && byte <= '9'); }

// Every name becomes its token, written over the name and the blanks after it.
StatusText replace_names(ByteArray& text) {
  std::size_t p = 0;
  while (p + 4 <= text.size()) {
    if (byte_at(text, p) >= 0x80) {
      p += 4;
    } else if (is_name_start(byte_at(text, p))) {
      std::size_t end = p;
      while (end < text.size() && is_name_byte(byte_at(text, end))) ++end;
      const OperandDescriptor descriptor = lookup_operand(std::string_view(text).substr(p, end - p));
      if (descriptor == 0) return Text(STATUS_OPERAND_NOT_FOUND);
      write_operand_token(text, p, descriptor);
      for (std::size_t i = p + 4; i < end; ++i) text[i] = ' ';
      p = std::max(p + 4, end);
    } else {
      ++p;
    }
  }
  return Text(STATUS_DONE);
}

// The operators the scan knows, longer ones first; assignments count apart.
struct ScannedOperator {
  std::string_view text;
  bool assignment;
};
constexpr ScannedOperator SCANNED_OPERATORS[] = {
    {"<<=", true}, {">>=", true}, {"+=", true},  {"-=", true},  {"*=", true},  {"/=", true},  {"%=", true},
    {"&=", true},  {"|=", true},  {"^=", true},  {"++", false}, {"--", false}, {">=", false}, {"<=", false},
    {"==", false}, {"!=", false}, {"<<", false}, {">>", false}, {"+", false},  {"-", false},  {"*", false},
    {"/", false},  {"%", false},  {"&", false},  {"|", false},  {"~", false},  {"^", false},  {">", false},
    {"<", false},  {"!", false},  {"=", true},
};

const ScannedOperator* operator_at(const ByteArray& text, std::size_t pos) {
  for (const ScannedOperator& op : SCANNED_OPERATORS)
    if (text.compare(pos, op.text.size(), op.text) == 0) return &op;
  return nullptr;
}

void scan_operator(OperandLoop& loop) {
  const ScannedOperator* op = operator_at(loop.text, loop.pos);
  if (op == nullptr) {
    loop.status = Text(STATUS_UNARY_UNRECOGNISED_SYMBOL);
    return;
  }
  loop.last_operator = op->text;
  loop.last_operator_pos = loop.pos;
  ++loop.operator_count;
  if (op->assignment) {
    loop.last_assignment_operator = op->text;
    ++loop.assignment_count;
  }
  loop.pos += op->text.size();
}

// What follows the operand: the end, a postfix step, or something else.
void look_after_operand(OperandLoop& loop) {
  std::size_t q = loop.pos + 4;
  while (q < loop.text.size() && loop.text[q] == ' ') ++q;
  if (q == loop.text.size()) {
    loop.last_operand = true;
  } else if (q == loop.text.size() - 1) {
    loop.status = Text(STATUS_RIGHT_OF_OPERAND_ERROR);
  } else if (loop.text.compare(q, 2, "++") == 0 || loop.text.compare(q, 2, "--") == 0) {
    operand::apply_postfix_step(loop, q);
  } else {
    loop.last_operand = false;
  }
}

using PrefixHandler = void (*)(OperandLoop&);
struct PrefixOperator {
  std::string_view text;
  PrefixHandler handler;
};
constexpr PrefixOperator PREFIX_OPERATORS[] = {
    {"++", operand::apply_prefix_step}, {"--", operand::apply_prefix_step}, {"+", operand::apply_unary_sign},
    {"-", operand::apply_unary_sign},   {"!", operand::apply_logical_not},  {"~", operand::apply_bitwise_not},
};

void apply_prefix(OperandLoop& loop) {
  for (const PrefixOperator& op : PREFIX_OPERATORS) {
    if (op.text == loop.last_operator) {
      op.handler(loop);
      return;
    }
  }
  loop.status = Text(STATUS_LEFT_OF_OPERAND_ERROR);
}

void consume_operand(OperandLoop& loop) {
  loop.previous_operand = loop.operand();
  loop.pos += 4;
  loop.restart_pos = loop.pos;
  ++loop.operand_count;
  loop.value_flag = false;
  loop.operator_count = 0;
  loop.assignment_count = 0;
}

// One operand token at loop.pos: its unary operators, one per visit, nearest first.
void visit_operand(OperandLoop& loop) {
  const bool prefix_pending = loop.operator_count > 1 || (loop.operand_count == 0 && loop.operator_count == 1);
  if (prefix_pending && loop.last_operator == "*") {
    operand::apply_indirection(loop);
    return;
  }
  if (prefix_pending && loop.last_operator == "&") {
    if (loop.value_flag) loop.status = Text(STATUS_ADDRESS_OF_STATE_ERROR);
    else operand::apply_address_of(loop);
    return;
  }
  look_after_operand(loop);
  if (loop.status != STATUS_CONTINUE) return;
  if (prefix_pending) {
    apply_prefix(loop);
  } else if (loop.operand_count >= 1 && loop.operator_count == 0) {
    loop.status = Text(STATUS_MISSING_OPERATOR);
  } else if (loop.last_operand) {
    loop.status = Text(STATUS_DONE);
  } else {
    consume_operand(loop);
  }
}

StatusText apply_unary_operators(ByteArray& text) {
  OperandLoop loop(text);
  while (loop.status == STATUS_CONTINUE) {
    if (loop.pos + 4 > text.size()) loop.status = Text(STATUS_SUBEXPRESSION_CONTENT_ERROR);
    else if (text[loop.pos] == ' ') ++loop.pos;
    else if (byte_at(text, loop.pos) < 0x80) scan_operator(loop);
    else visit_operand(loop);
  }
  return loop.status;
}

}  // namespace

StatusText process_subexpression(ByteArray& text) {
  find_register_a_token(text);
  StatusText status = replace_names(text);
  if (status == STATUS_DONE) status = apply_unary_operators(text);
  if (status == STATUS_DONE) status = reduce_binary_operators(text);
  if (status == STATUS_DONE) status = rewrite_compound_assignments(g_reduced_expression);
  if (status != STATUS_DONE) return status;
  if (g_register_a_token_place == TOKEN_IN_SUBEXPRESSION) g_register_a_state = Text(REG_A_FREE);
  std::size_t first = g_reduced_expression.find_first_not_of(' ');
  // The result token must lie whole inside the reduced text.
  if (first == ByteArray::npos || first + 4 > g_reduced_expression.size()) return Text(STATUS_SUBEXPRESSION_CONTENT_ERROR);
  g_subexpr_result = read_operand_token(g_reduced_expression, first);
  return Text(STATUS_DONE);
}

}  // namespace tarvik
