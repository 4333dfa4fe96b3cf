#include <string_view>

#include "operand/operand.h"
#include "support/binop_support.h"

namespace tarvik::test {
namespace {

constexpr std::string_view INDIRECTION_TYPE_ERROR = "子表达式处理_单目运算符处理_*操作数类型错误~..";
constexpr std::string_view ADDRESS_OF_TYPE_ERROR = "子表达式处理_单目运算符处理_&操作数类型错误...~- -";

// An address whose three bytes differ, so that a changed value byte shows.
constexpr std::int32_t A = 0x012345;

class IndirectionTest : public ReductionTest {
 protected:
  StatusText compile(std::initializer_list<Piece> pieces) { return process(level_text(pieces)); }
};

using IndirectionKinds = IndirectionTest;
using IndirectionLoop = IndirectionTest;

// The kind a token of `kind` takes under `op`, or 0 when refused, by the ranges of the
// kind table.
int expected_kind(std::string_view op, int kind) {
  const auto in = [kind](int first, int last) { return kind >= first && kind <= last; };
  if (op == "*") return in(0x86, 0x8B) ? kind + 0x0C : in(0x8C, 0x91) ? kind - 0x0C : 0;
  return in(0x92, 0x97) ? kind - 0x0C : in(0x80, 0x85) ? kind + 0x0C : 0;
}

// Every token kind under each operator: only the kind byte changes, nothing is emitted, and
// a refused kind leaves the token as it was with the operator blanked.
TEST_F(IndirectionKinds, FollowTheKindTableAndEmitNothing) {
  for (const char* op : {"*", "&"}) {
    for (int kind = 0x80; kind <= 0xFF; ++kind) {
      SCOPED_TRACE(testing::Message() << op << " on kind " << std::hex << kind);
      const OperandDescriptor x = operand(kind, A);
      const int retyped = expected_kind(op, kind);
      g_register_a_state = Text(REG_A_FREE);
      const StatusText status = compile({op, x});
      EXPECT_EQ(emitted_count(), 0);
      if (retyped != 0) {
        EXPECT_EQ(status, STATUS_DONE);
        EXPECT_EQ(g_subexpr_result, operand(retyped, A));
      } else {
        EXPECT_EQ(status, *op == '*' ? INDIRECTION_TYPE_ERROR : ADDRESS_OF_TYPE_ERROR);
        EXPECT_EQ(items_of(text), items({x}));
      }
    }
  }
}

TEST_F(IndirectionLoop, AppliesTheNearerOperatorFirst) {
  const struct {
    const char* what;
    ByteArray level;
    OperandDescriptor result;
  } cases[] = {
      {"&*p restores the pointer", level_text({"&", "*", operand(0x8A, A)}), operand(0x8A, A)},
      {"*&x restores the variable", level_text({"*", "&", s32(A)}), s32(A)},
      {"*a is the first element", level_text({"*", operand(0x8F, A)}), s8(A)},
      {"&x of a long is a long array", level_text({"&", s32(A)}), operand(0x91, A)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    text = c.level;
    first_word = g_rom_word_count;
    ASSERT_EQ(process_subexpression(text), STATUS_DONE);
    EXPECT_EQ(g_subexpr_result, c.result);
    EXPECT_EQ(emitted_count(), 0);
  }
}

// The restart after `*` scans the "=" again, so it stays for the reduction.
TEST_F(IndirectionLoop, LeavesABinaryOperatorBeforeIt) {
  ASSERT_EQ(compile({s16(Y), "=", "*", operand(0x8A, P)}), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([] { call(0, s16(Y), "=", operand(0x96, P)); }));
  EXPECT_EQ(g_subexpr_result, s16(Y));
}

}  // namespace
}  // namespace tarvik::test
