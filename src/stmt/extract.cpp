#include <array>
#include <vector>

#include "expr/expr.h"
#include "front/front.h"
#include "isa/isa.h"
#include "stmt/stmt.h"

namespace tarvik {

namespace {

constexpr std::string_view EMPTY = "";

// The tokens after which an operator may not stand, by operator.
constexpr std::array<std::string_view, 19> NOT_BEFORE_LOGICAL = {
    EMPTY, "=", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "<<=", ">>=", "(", "[", "&&", "||", "?", ":", ","};
constexpr std::array<std::string_view, 6> NOT_BEFORE_SQUARE_CLOSE = {"&&", "||", "?", ":", "[", ","};
constexpr std::array<std::string_view, 5> NOT_BEFORE_CLOSE = {"&&", "||", "?", ":", ","};
constexpr std::array<std::string_view, 7> NOT_BEFORE_COMMA = {EMPTY, "&&", "||", "?", ":", ",", "("};

constexpr std::array<std::string_view, 2> ASSIGNMENTS_3 = {"<<=", ">>="};
constexpr std::array<std::string_view, 4> COMPARISONS_2 = {">=", "<=", "==", "!="};
constexpr std::array<std::string_view, 4> OPERATORS_2 = {"<<", ">>", "++", "--"};
constexpr std::array<std::string_view, 2> LOGICAL_2 = {"&&", "||"};
constexpr std::array<std::string_view, 8> ASSIGNMENTS_2 = {"+=", "-=", "*=", "/=", "%=", "&=", "|=", "^="};
constexpr std::string_view OPERATORS_1 = "+-*/%&|~^!><";

constexpr char STRING_QUOTE = '"';

class Extraction {
 public:
  Extraction(std::int32_t end_at_paren) : end_at_paren_(end_at_paren) {
    g_constant_table[0] = 0;
    g_constant_table[1] = 1;
    g_constant_count = 2;
    ternary_seen_.push_back(0);
  }

  // The text read up to its end token, or the error that stopped it.
  StatusText run() {
    while (status_ == STATUS_CONTINUE) next_token();
    return status_;
  }
  const ByteArray& text() const { return text_; }

 private:
  template <std::size_t N>
  std::string_view one_of(const std::array<std::string_view, N>& list) const {
    const std::string_view source = g_source;
    for (const std::string_view op : list)
      if (source.compare(static_cast<std::size_t>(g_scan_pos), op.size(), op) == 0) return op;
    return {};
  }

  void append(std::string_view token) {
    text_ += token;
    text_ += TOKEN_PAD;
    last_token_ = token;
    g_scan_pos += static_cast<std::int32_t>(token.size());
  }

  void fail(std::string_view message) { status_ = Text(message); }

  std::uint8_t last_first() const { return last_token_.empty() ? 0 : static_cast<std::uint8_t>(last_token_[0]); }
  bool last_is_name() const { return is_letter(last_first()); }
  bool last_is_number() const { return is_digit(last_first()) || last_first() == '\''; }
  bool last_is_string() const { return last_first() == STRING_QUOTE; }

  // An operand may not follow an operand.
  bool operand_allowed() {
    if (last_is_name() || last_is_number() || last_is_string()) fail(MSG_EXTRACT_OPERAND);
    return status_ == STATUS_CONTINUE;
  }
  template <std::size_t N>
  bool operator_allowed(const std::array<std::string_view, N>& not_after) {
    for (const std::string_view token : not_after)
      if (last_token_ == token) fail(MSG_EXTRACT_OPERATOR);
    return status_ == STATUS_CONTINUE;
  }
  // An assignment inside a conditional operator of the same bracket level.
  bool assignment_allowed() {
    if (ternary_seen_.back() == 1) fail(MSG_EXTRACT_ASSIGNMENT_IN_CONDITIONAL);
    return status_ == STATUS_CONTINUE;
  }

  void next_token() {
    skip_blanks_and_comments();
    const std::uint8_t c = current_byte();
    std::string_view op;
    if (c == ' ') fail(MSG_EXTRACT_TEXT_END);
    else if (is_letter(c)) identifier();
    else if (c == STRING_QUOTE) string_literal();
    else if (!(op = one_of(ASSIGNMENTS_3)).empty()) assignment(op);
    else if (!(op = one_of(COMPARISONS_2)).empty()) append(op);
    else if (!(op = one_of(OPERATORS_2)).empty()) append(op);
    else if (!(op = one_of(LOGICAL_2)).empty()) {
      if (operator_allowed(NOT_BEFORE_LOGICAL)) append(op);
    } else if (!(op = one_of(ASSIGNMENTS_2)).empty()) assignment(op);
    else if (OPERATORS_1.find(static_cast<char>(c)) != std::string_view::npos) append(g_source.substr(g_scan_pos, 1));
    else if (c == '=') assignment("=");
    else if (c == '?' || c == ':') conditional(c);
    else if (c == '(' || c == '[') open_bracket(c);
    else if (c == ']') close_square_bracket();
    else if (c == ')') close_parenthesis();
    else if (c == ',') {
      if (operator_allowed(NOT_BEFORE_COMMA)) append(",");
    } else if (c == ';') semicolon();
    else if (is_digit(c) || c == '\'') number_literal(c);
    else fail(MSG_EXTRACT_UNRECOGNISED);
  }

  void identifier() {
    if (!operand_allowed()) return;
    const std::int32_t start = g_scan_pos;
    const ByteArray name = read_identifier();
    g_scan_pos = start;
    append(name);
  }

  void assignment(std::string_view op) {
    if (assignment_allowed()) append(op);
  }

  void conditional(std::uint8_t c) {
    if (!operator_allowed(NOT_BEFORE_LOGICAL)) return;
    append(c == '?' ? "?" : ":");
    ternary_seen_.back() = 1;
  }

  void open_bracket(std::uint8_t c) {
    if (last_is_number() || last_is_string()) {
      fail(MSG_EXTRACT_OPERAND);
      return;
    }
    if (brackets_.size() + 1 >= static_cast<std::size_t>(TABLE_CAPACITY)) throw TableCapacityExceeded();
    brackets_.push_back(static_cast<char>(c));
    append(c == '(' ? "(" : "[");
    ternary_seen_.push_back(0);
  }

  void close_bracket(std::string_view token) {
    append(token);
    brackets_.pop_back();
    ternary_seen_.pop_back();
  }

  void close_square_bracket() {
    if (!operator_allowed(NOT_BEFORE_SQUARE_CLOSE)) return;
    if (brackets_.empty() || brackets_.back() != '[') fail(MSG_EXTRACT_SQUARE_BRACKETS);
    else close_bracket("]");
  }

  void close_parenthesis() {
    if (!operator_allowed(NOT_BEFORE_CLOSE)) return;
    if (!brackets_.empty()) {
      if (brackets_.back() != '(') fail(MSG_EXTRACT_PARENTHESES);
      else close_bracket(")");
    } else if (end_at_paren_ == 1) {
      end();
    } else {
      fail(MSG_EXTRACT_PARENTHESES);
    }
  }

  void semicolon() {
    if (!operator_allowed(NOT_BEFORE_CLOSE)) return;
    if (!brackets_.empty()) fail(MSG_EXTRACT_SEMICOLON_IN_BRACKETS);
    else if (end_at_paren_ != 0) fail(MSG_EXTRACT_SEMICOLON_BEFORE_PAREN);
    else end();
  }

  // The end token ends the text as ";".
  void end() {
    text_ += ";";
    text_ += TOKEN_PAD;
    g_scan_pos += 1;
    status_ = Text(STATUS_DONE);
  }

  void append_token(OperandDescriptor token) {
    ByteArray bytes(4, ' ');
    write_operand_token(bytes, 0, token);
    text_ += bytes;
    text_ += TOKEN_PAD;
  }

  void number_literal(std::uint8_t c) {
    if (!operand_allowed()) return;
    last_token_ = ByteArray(1, static_cast<char>(c));
    const std::int32_t n = g_constant_count;
    g_constant_table[n] = parse_number_literal();
    append_token(make_operand(OPERAND_KIND_CONSTANT, n));
    g_constant_count += 1;
  }

  // The string's bytes and a 0 are stored by emitted words at g_ram_next every time the
  // expression runs; the text holds the array's token.
  void string_literal() {
    if (last_is_name() || last_is_number()) {
      fail(MSG_EXTRACT_OPERAND);
      return;
    }
    const std::int32_t start = g_ram_next;
    g_scan_pos += 1;
    const auto last_byte = static_cast<std::int32_t>(g_source.size()) - 1;
    while (current_byte() != STRING_QUOTE && g_scan_pos != last_byte) {
      emit_store_imm(g_ram_next, current_byte());
      g_ram_next += 1;
      g_scan_pos += 1;
    }
    if (current_byte() != STRING_QUOTE) {
      fail(MSG_EXTRACT_STRING_END);
      return;
    }
    last_token_ = ByteArray(1, STRING_QUOTE);
    append_token(make_operand(OPERAND_KIND_UCHAR_ARRAY, start));
    emit_store_imm(g_ram_next, 0);
    g_ram_next += 1;
    g_scan_pos += 1;
  }

  const std::int32_t end_at_paren_;
  ByteArray text_;
  ByteArray last_token_;
  std::vector<char> brackets_;      // the open brackets, innermost last
  std::vector<char> ternary_seen_;  // per open bracket level, outside all brackets first
  StatusText status_ = Text(STATUS_CONTINUE);
};

}  // namespace

StatusText extract_expression(std::int32_t end_at_paren, std::int32_t is_condition, const ByteArray& prefix) {
  // A string literal's stores are the statement's own code: count from before them.
  g_expression_part_start = g_rom_word_count;
  Extraction extraction(end_at_paren);
  const StatusText status = extraction.run();
  if (status != STATUS_DONE) return status;
  StatusText result = process_main_expression(prefix + extraction.text(), is_condition);
  return result == STATUS_EXPRESSION_END ? Text(STATUS_DONE) : result;
}

}  // namespace tarvik
