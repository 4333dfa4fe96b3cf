#include "support/expr_support.h"

namespace tarvik::test {
namespace {

// Values no split writes, to see which outputs a split leaves alone.
constexpr std::int32_t UNTOUCHED_CODE = 0x7E7E7E;
constexpr std::int32_t UNTOUCHED_FLAG = 7;
constexpr std::int32_t KEPT = -1;

// A token whose value bytes read "=<!" and one whose value bytes read "===".
constexpr OperandDescriptor ODD_BYTES = make_operand(OPERAND_KIND_UCHAR, 0x3D3C21);
constexpr OperandDescriptor EQUALS_BYTES = make_operand(OPERAND_KIND_INT, 0x3D3D3D);

// The splits read only their text; the fixture gives each test fresh globals.
class AssignmentSplit : public ExpressionTest {};

struct Split {
  const char* what;
  ByteArray level;
  // split_assignment_rhs: the right side, where it starts, its flag; both: whether an assignment was seen.
  ByteArray rhs;
  std::int32_t rhs_at, flag, seen;
  // split_last_assignment: the last assignment, where it starts, its operator code (KEPT: none).
  ByteArray last;
  std::int32_t last_at, code;
};

// Stale outputs, so that one a split leaves alone shows.
void leave_stale_outputs() {
  g_pending_subexpr_text = "stale";
  g_pending_subexpr_offset = 99;
  g_pending_subexpr_flag = UNTOUCHED_FLAG;
  g_assignment_seen = UNTOUCHED_FLAG;
}

void expect_split(const Split& c) {
  SCOPED_TRACE(c.what);
  g_last_assignment_op = UNTOUCHED_CODE;
  leave_stale_outputs();
  split_assignment_rhs(c.level);
  EXPECT_EQ(g_pending_subexpr_text, c.rhs);
  EXPECT_EQ(g_pending_subexpr_offset, c.rhs_at);
  EXPECT_EQ(g_pending_subexpr_flag, c.flag);
  EXPECT_EQ(g_assignment_seen, c.seen);
  EXPECT_EQ(g_last_assignment_op, UNTOUCHED_CODE);

  leave_stale_outputs();
  split_last_assignment(c.level);
  EXPECT_EQ(g_pending_subexpr_text, c.last);
  EXPECT_EQ(g_pending_subexpr_offset, c.last_at);
  EXPECT_EQ(g_assignment_seen, c.seen);
  EXPECT_EQ(g_last_assignment_op, c.code == KEPT ? UNTOUCHED_CODE : c.code);
  EXPECT_EQ(g_pending_subexpr_flag, UNTOUCHED_FLAG);
}

TEST_F(AssignmentSplit, WorkedExamples) {
  const ByteArray whole = level_text({"a", "=", "b", "+=", "c", "*", "d"});
  ASSERT_EQ(whole.size(), 29u);
  const Split cases[] = {
      // "=" at 4, "+=" at 12 and 13: the right side of "+=" holds "*", the last assignment
      // starts right after the "=" before it.
      {"a = b += c * d", whole, "   c   *   d   ", 14, 1, 1, "   b   +=   c   *   d   ", 5, 0x202B3D},
      {"a = b", level_text({"a", "=", "b"}), "   b   ", 5, 0, 1, level_text({"a", "=", "b"}), 0, 0x20203D},
      {"a = b = c", level_text({"a", "=", "b", "=", "c"}), "   c   ", 13, 0, 1, "   b   =   c   ", 5, 0x20203D},
      {"empty", "", "", 0, 0, 0, "", 0, KEPT},
      {"a = - b", level_text({"a", "=", "-", "b"}), "   -   b   ", 5, 1, 1, level_text({"a", "=", "-", "b"}), 0, 0x20203D},
      {"a = ! b", level_text({"a", "=", "!", "b"}), "   !   b   ", 5, 1, 1, level_text({"a", "=", "!", "b"}), 0, 0x20203D},
      {"a = b == c", level_text({"a", "=", "b", "==", "c"}), "   b   ==   c   ", 5, 1, 1,
       level_text({"a", "=", "b", "==", "c"}), 0, 0x20203D},
      {"x >>= y >= z", level_text({"x", ">>=", "y", ">=", "z"}), "   y   >=   z   ", 7, 1, 1,
       level_text({"x", ">>=", "y", ">=", "z"}), 0, 0x3E3E3D},
  };
  for (const Split& c : cases) expect_split(c);
}

// "==", "!=", ">=" and "<=" are comparisons, "<<" a shift: none of them splits the text.
TEST_F(AssignmentSplit, ComparisonsAndShiftsAreNoAssignments) {
  for (const char* op : {"==", "!=", ">=", "<=", "<<", ">>", "<", "+"}) {
    const ByteArray level = level_text({"x", op, "y"});
    expect_split({op, level, level, 0, 1, 0, level, 0, KEPT});
  }
  const ByteArray shift_assignment = level_text({"x", "<<=", "y"});
  expect_split({"<<=", shift_assignment, "   y   ", 7, 0, 1, shift_assignment, 0, 0x3C3C3D});
}

TEST_F(AssignmentSplit, EveryAssignmentOperatorHasItsCode) {
  const struct {
    const char* op;
    std::int32_t code;
  } operators[] = {{"=", 0x20203D},  {"+=", 0x202B3D}, {"-=", 0x202D3D}, {"*=", 0x202A3D},
                   {"/=", 0x202F3D}, {"%=", 0x20253D}, {"&=", 0x20263D}, {"|=", 0x207C3D},
                   {"^=", 0x205E3D}, {"<<=", 0x3C3C3D}, {">>=", 0x3E3E3D}};
  for (const auto& o : operators) {
    const ByteArray level = level_text({"x", o.op, "y"});
    const auto after = static_cast<std::int32_t>(4 + std::string_view(o.op).size());
    expect_split({o.op, level, "   y   ", after, 0, 1, level, 0, o.code});
  }
}

// Tokens are taken whole: value bytes that read as operators split nothing and set no flag.
TEST_F(AssignmentSplit, TokensAreNeverReadAsOperators) {
  const Split cases[] = {
      {"a token alone", level_text({ODD_BYTES}), level_text({ODD_BYTES}), 0, 0, 0, level_text({ODD_BYTES}), 0, KEPT},
      {"x = token", level_text({"x", "=", ODD_BYTES}), "   " + level_text({ODD_BYTES}), 5, 0, 1,
       level_text({"x", "=", ODD_BYTES}), 0, 0x20203D},
      {"token += token", level_text({ODD_BYTES, "+=", EQUALS_BYTES}), "   " + level_text({EQUALS_BYTES}), 9, 0, 1,
       level_text({ODD_BYTES, "+=", EQUALS_BYTES}), 0, 0x202B3D},
      // Closer than four bytes to the end a high byte is one plain byte.
      {"a token cut short", level_text({"a", "="}) + "\x84\x01", "   \x84\x01", 5, 0, 1, level_text({"a", "="}) + "\x84\x01",
       0, 0x20203D},
  };
  for (const Split& c : cases) expect_split(c);
}

TEST_F(AssignmentSplit, AnAssignmentAtTheVeryEndLeavesAnEmptyRightSide) {
  const ByteArray shift = level_text({"x"}) + ">>=", plain = level_text({"x"}) + "=", add = level_text({"x"}) + "+=";
  expect_split({">>= last", shift, "", 7, 0, 1, shift, 0, 0x3E3E3D});
  expect_split({"= last", plain, "", 5, 0, 1, plain, 0, 0x20203D});
  expect_split({"+= last", add, "", 6, 0, 1, add, 0, 0x202B3D});
}

}  // namespace
}  // namespace tarvik::test
