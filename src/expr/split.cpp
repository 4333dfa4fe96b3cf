#include <array>
#include <vector>

#include "expr/evaluator.h"

namespace tarvik {

namespace {

constexpr std::array<std::string_view, 2> ASSIGNMENTS_3 = {"<<=", ">>="};
constexpr std::array<std::string_view, 8> ASSIGNMENTS_2 = {"+=", "-=", "*=", "/=", "%=", "&=", "|=", "^="};
constexpr std::array<std::string_view, 4> COMPARISONS = {"==", "!=", ">=", "<="};
constexpr std::string_view OPERATOR_CHARACTERS = "+-*/%&|~^><!";

// Walks a level text, item by item, and tells `on_assignment` (start, length) of every
// assignment operator; returns whether an operator character follows the last one.
template <class OnAssignment>
bool walk_assignments(std::string_view text, OnAssignment&& on_assignment) {
  bool operator_after = false;
  const auto one_of = [&](std::size_t i, const auto& list) {
    for (const std::string_view op : list)
      if (text.substr(i, op.size()) == op) return true;
    return false;
  };
  std::size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<std::uint8_t>(text[i]);
    std::size_t assignment = 0;
    if (byte >= 0x80 && i + 4 <= text.size()) {
      i += 4;
      continue;
    }
    if (one_of(i, ASSIGNMENTS_3)) assignment = 3;
    else if (one_of(i, ASSIGNMENTS_2)) assignment = 2;
    else if (one_of(i, COMPARISONS)) {
      operator_after = true;
      i += 2;
      continue;
    } else if (OPERATOR_CHARACTERS.find(text[i]) != std::string_view::npos) {
      operator_after = true;
    } else if (text[i] == '=') {
      assignment = 1;
    }
    if (assignment == 0) {
      ++i;
      continue;
    }
    on_assignment(i, assignment);
    operator_after = false;
    i += assignment;
  }
  return operator_after;
}

}  // namespace

void split_assignment_rhs(std::string_view text) {
  std::size_t start = 0;
  g_assignment_seen = 0;
  g_pending_subexpr_flag = walk_assignments(text, [&](std::size_t at, std::size_t length) {
    g_assignment_seen = 1;
    start = at + length;
  }) ? 1 : 0;
  g_pending_subexpr_text = ByteArray(text.substr(start));
  g_pending_subexpr_offset = static_cast<std::int32_t>(start);
}

void split_last_assignment(std::string_view text) {
  std::size_t start = 0, next_start = 0;
  g_assignment_seen = 0;
  walk_assignments(text, [&](std::size_t at, std::size_t length) {
    g_assignment_seen = 1;
    std::int32_t code = 0;
    for (std::size_t k = 0; k < 3; ++k)
      code = code << 8 | (k + length < 3 ? ' ' : static_cast<std::uint8_t>(text[at + k + length - 3]));
    g_last_assignment_op = code;
    start = next_start;
    next_start = at + length;
  });
  g_pending_subexpr_text = ByteArray(text.substr(start));
  g_pending_subexpr_offset = static_cast<std::int32_t>(start);
}

std::vector<AssignmentSides> assignment_sides(std::string_view text) {
  std::vector<AssignmentSides> sides;
  std::size_t start = 0;
  walk_assignments(text, [&](std::size_t at, std::size_t length) {
    sides.push_back({text.substr(start, at - start), at + length});
    start = at + length;
  });
  return sides;
}

}  // namespace tarvik
