#include "support/expr_support.h"

namespace tarvik::test {
namespace {

class Smoke : public ExpressionTest {};

TEST_F(Smoke, Basics) {
  local("x", "int", X);
  local("a", "int", Y);
  local("b", "int", Z);
  EXPECT_EQ(evaluate({"(", "(", "x", ")", ")"}), ";");
  EXPECT_EQ(left(), "x ;");
  EXPECT_EQ(emitted(), "");
  fresh(); local("x", "int", X); local("a", "int", Y); local("b", "int", Z); g_ram_next = EXPR_TEMPORARIES;
  EXPECT_EQ(evaluate({"(", "a", "<", "b", ")"}), ";");
  EXPECT_EQ(left(), "EB202020 ;");
  fresh(); local("a", "int[]", 0x10100); g_ram_next = EXPR_TEMPORARIES; local("x", "int", X);
  EXPECT_EQ(evaluate({"x", "=", "a", "[", constant(3), "]"}), ";");
  EXPECT_EQ(emitted(), words_of([] { call(0, s16(X), "=", s16(0x10106)); }));
}

TEST_F(Smoke, Conditions) {
  EXPECT_EQ(evaluate({}, 1), ";");
  EXPECT_EQ(emitted_count(), 8);
  EXPECT_EQ(hex(g_false_jumps), "04 00 00");
  fresh(); g_ram_next = EXPR_TEMPORARIES;
  EXPECT_EQ(evaluate({constant(0)}, 1), ";");
  EXPECT_EQ(emitted_count(), 4);
}

TEST_F(Smoke, Ternary) {
  local("v", "int", X); local("x", "int", Y); local("y", "int", Z); local("z", "int", W);
  EXPECT_EQ(evaluate({"v", "=", "(", "x", "?", "y", ":", "z", ")"}), ";");
  std::printf("%s\n%s\n", emitted().c_str(), left().c_str());
}

TEST_F(Smoke, Call) {
  function("f", "int", {}, 0x10300, 0x40);
  local("x", "int", X);
  EXPECT_EQ(evaluate({"f", "(", ")"}), ";");
  EXPECT_EQ(emitted_count(), 19);
  fresh(); g_ram_next = EXPR_TEMPORARIES;
  function("f", "int", {{"int", 0x10310}}, 0x10300, 0x40);
  local("x", "int", X); local("a", "int", Y); local("b", "int", Z);
  EXPECT_EQ(evaluate({"x", "=", "f", "(", "a", "&&", "b", ")", "+", constant(1)}), ";");
  std::printf("%s\n", left().c_str());
}

}  // namespace
}  // namespace tarvik::test
