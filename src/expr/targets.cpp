#include <algorithm>

#include "expr/evaluator.h"

namespace tarvik::expr {

namespace {

// The items of a left side, blanks skipped: operand tokens whole, names whole, and the other
// bytes one by one.
class TargetItems {
 public:
  explicit TargetItems(std::string_view text) : text_(text) { skip_blanks(); }

  bool at_end() const { return pos_ >= text_.size(); }
  bool at_token() const { return !at_end() && byte(pos_) >= 0x80 && pos_ + 4 <= text_.size(); }
  bool at_name() const { return !at_end() && is_name_byte(byte(pos_)); }
  bool at(std::string_view op) const { return text_.substr(pos_, op.size()) == op; }

  OperandDescriptor take_token() {
    const OperandDescriptor token = read_operand_token(text_, pos_);
    step(4);
    return token;
  }
  void take_name() {
    while (at_name()) ++pos_;
    skip_blanks();
  }
  void step(std::size_t count) {
    pos_ += count;
    skip_blanks();
  }

 private:
  std::uint8_t byte(std::size_t i) const { return static_cast<std::uint8_t>(text_[i]); }
  void skip_blanks() {
    while (!at_end() && text_[pos_] == ' ') ++pos_;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

// A token standing alone for a value that an operator or a call made: nothing reads a store
// into it. The expression's temporaries lie from g_ram_next up to g_temp_ram_next; a variable
// placed elsewhere may lie above them.
bool is_made_value(OperandDescriptor token) {
  const int kind = get_operand_kind(token);
  if (is_acc_value(kind) || kind == OPERAND_KIND_CONDITION) return true;
  const bool variable_or_pointer = kind >= OPERAND_KIND_UCHAR && kind <= OPERAND_KIND_LONG_PTR;
  const std::int32_t address = token & 0xFFFFFF;
  return variable_or_pointer && address >= (g_ram_next & 0xFFFFFF) && address < (g_temp_ram_next & 0xFFFFFF);
}

// A name or a token behind any of "*", "&", "++" and "--". Through a pointer anything is an
// object; a token alone must not be a made value, unless it is one of `own_temporaries`.
bool takes_store(std::string_view target, std::span<const OperandDescriptor> own_temporaries) {
  TargetItems items(target);
  bool through_pointer = false;
  for (;;) {
    if (items.at("++") || items.at("--")) {
      items.step(2);
    } else if (items.at("*") || items.at("&")) {
      through_pointer = through_pointer || items.at("*");
      items.step(1);
    } else {
      break;
    }
  }
  if (items.at_name()) {
    items.take_name();
    return items.at_end();
  }
  if (!items.at_token()) return false;
  const OperandDescriptor token = items.take_token();
  const bool own = std::find(own_temporaries.begin(), own_temporaries.end(), token) != own_temporaries.end();
  return items.at_end() && (through_pointer || own || !is_made_value(token));
}

}  // namespace

StatusText check_assignment_targets(std::string_view text, std::span<const OperandDescriptor> own_temporaries) {
  for (const AssignmentSides& sides : assignment_sides(text))
    if (!takes_store(sides.target, own_temporaries)) return Text(STATUS_ASSIGNMENT_TARGET_ERROR);
  return Text(STATUS_DONE);
}

bool target_has_steps(std::string_view target) {
  TargetItems items(target);
  while (!items.at_end()) {
    if (items.at("++") || items.at("--")) return true;
    if (items.at_token()) items.take_token();
    else items.step(1);
  }
  return false;
}

}  // namespace tarvik::expr
