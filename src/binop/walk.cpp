#include <vector>

#include "binop/reduction.h"
#include "stmt/stmt.h"

namespace tarvik {

namespace {

using binop::Scan;
using Group = StatusText (*)(Scan& scan, std::string_view op);

// The operator texts the walk knows, longer ones first, with the group that reduces each
// in its pass; the others are only stepped over.
struct OperatorRule {
  std::string_view text;
  Group group;
};

constexpr OperatorRule OPERATORS[] = {
    {"<<=", nullptr}, {">>=", nullptr}, {"+=", nullptr}, {"-=", nullptr}, {"*=", nullptr}, {"/=", nullptr},
    {"%=", nullptr},  {"&=", nullptr},  {"|=", nullptr}, {"^=", nullptr},
    {">=", binop::reduce_comparison}, {"<=", binop::reduce_comparison}, {"==", binop::reduce_comparison},
    {"!=", binop::reduce_comparison}, {"<<", binop::reduce_shift}, {">>", binop::reduce_shift},
    {"+", binop::reduce_additive}, {"-", binop::reduce_additive}, {"*", binop::reduce_multiplicative},
    {"/", binop::reduce_multiplicative}, {"%", binop::reduce_multiplicative}, {"&", binop::reduce_bitwise},
    {"|", binop::reduce_bitwise}, {"^", binop::reduce_bitwise}, {">", binop::reduce_comparison},
    {"<", binop::reduce_comparison}, {"=", nullptr},
};

int pass_of(std::string_view op) {
  for (std::size_t pass = 0; pass < REDUCTION_PASSES.size(); ++pass)
    for (const std::string_view reduced : REDUCTION_PASSES[pass])
      if (reduced == op) return static_cast<int>(pass);
  return -1;
}

const OperatorRule* operator_at(const ByteArray& text, std::size_t pos) {
  for (const OperatorRule& rule : OPERATORS)
    if (text.compare(pos, rule.text.size(), rule.text) == 0) return &rule;
  return nullptr;
}

// What the current scan has read, so that after a reduction the walk resumes where the
// text changed, with the state that a scan from the first byte would have there.
class ScanHistory {
 public:
  void token(std::size_t pos) { tokens_.push_back(pos); }
  void stepped_over(std::size_t pos, std::string_view op) { operators_.push_back({pos, op}); }
  void clear() { tokens_.clear(), operators_.clear(); }

  // Forgets what lies at or after `changed_from` and puts the scan where a scan from the
  // start would stand there; tokens are read again, as a spill may have rewritten one.
  void rewind(Scan& scan, std::size_t changed_from) {
    while (!tokens_.empty() && tokens_.back() >= changed_from) tokens_.pop_back();
    while (!operators_.empty() && operators_.back().pos >= changed_from) operators_.pop_back();
    scan.pos = changed_from;
    scan.operand_count = static_cast<int>(tokens_.size());
    if (!tokens_.empty()) {
      scan.left_pos = tokens_.back();
      scan.left = read_operand_token(scan.text, scan.left_pos);
    }
    if (tokens_.size() >= 2) scan.target = read_operand_token(scan.text, tokens_[tokens_.size() - 2]);
    if (!operators_.empty()) {
      scan.previous_operator = operators_.back().op;
      scan.previous_operator_pos = operators_.back().pos;
    }
  }

 private:
  struct SteppedOver {
    std::size_t pos;
    std::string_view op;
  };
  std::vector<std::size_t> tokens_;
  std::vector<SteppedOver> operators_;
};

constexpr int LAST_PASS = static_cast<int>(REDUCTION_PASSES.size()) - 1;

void read_token(Scan& scan, ScanHistory& history) {
  scan.target = scan.left;
  scan.left = read_operand_token(scan.text, scan.pos);
  scan.left_pos = scan.pos;
  ++scan.operand_count;
  history.token(scan.pos);
  scan.pos += 4;
}

// After a reduction: from the first byte it changed up to where it stopped reading, the text
// holds blanks, or the result token and blanks. Stepping over them one by one would scan a
// growing run of blanks after every reduction of a long text.
void resume_after_reduction(Scan& scan, ScanHistory& history, std::size_t read_up_to) {
  history.rewind(scan, scan.resume_at);
  if (scan.pos + 4 <= scan.text.size() && static_cast<std::uint8_t>(scan.text[scan.pos]) >= 0x80) read_token(scan, history);
  if (scan.pos < read_up_to) scan.pos = read_up_to;
}

}  // namespace

StatusText reduce_binary_operators(ByteArray& text) {
  Scan scan{text};
  // Kept from call to call: its storage grows with the longest text once, not every time.
  static ScanHistory history;
  history.clear();
  StatusText status(STATUS_CONTINUE);
  while (status == STATUS_CONTINUE) {
    if (scan.pos >= text.size()) {
      if (scan.pass == LAST_PASS) {
        status = Text(STATUS_DONE);
      } else {
        ++scan.pass, scan.pos = 0, scan.operand_count = 0;
        history.clear();
      }
      continue;
    }
    const auto byte = static_cast<std::uint8_t>(text[scan.pos]);
    if (byte == ' ') {
      ++scan.pos;
    } else if (byte >= 0x80) {
      if (scan.pos + 4 > text.size()) {
        status = Text(STATUS_UNRECOGNISED_SYMBOL);
        continue;
      }
      read_token(scan, history);
    } else if (const OperatorRule* rule = operator_at(text, scan.pos)) {
      if (rule->group != nullptr && pass_of(rule->text) == scan.pass) {
        status = rule->group(scan, rule->text);
        if (status == STATUS_CONTINUE) resume_after_reduction(scan, history, scan.pos);
      } else {
        scan.previous_operator = rule->text;
        scan.previous_operator_pos = scan.pos;
        history.stepped_over(scan.pos, rule->text);
        scan.pos += rule->text.size();
      }
    } else {
      status = Text(STATUS_UNRECOGNISED_SYMBOL);
    }
  }
  g_reduced_expression = text;
  return status;
}

}  // namespace tarvik
