#include <functional>
#include <string>
#include <string_view>

#include "isa/isa.h"
#include "operand/unary.h"
#include "stmt/stmt.h"
#include "support/binop_support.h"

namespace tarvik::test {
namespace {

constexpr std::string_view RIGHT_STEP_ERROR = "子表达式处理_单目运算符处理_操作数右侧++或--错误...~- -";
constexpr std::string_view LEFT_STEP_STATE_ERROR = "子表达式处理_单目运算符处理_操作数左侧++或--错误。。。！~";
constexpr std::string_view LEFT_STEP_ERROR = "子表达式处理_单目运算符处理_操作数左侧++或--错误...~- -";
constexpr std::string_view INDIRECTION_TYPE_ERROR = "子表达式处理_单目运算符处理_*操作数类型错误~..";
constexpr std::string_view ADDRESS_OF_TYPE_ERROR = "子表达式处理_单目运算符处理_&操作数类型错误...~- -";

// An address whose three bytes differ, for the byte-exact listings.
constexpr std::int32_t A = 0x012345;
constexpr OperandDescriptor ONE = immediate(1);

// A pointer variable at P (or the object it reaches) of the given kind.
constexpr OperandDescriptor at_p(int kind) { return operand(kind, P); }
constexpr OperandDescriptor POINTER_VALUE = addr(P);

// A char reached through the pointer stored at `p`, loaded into A.
void load_through_pointer(std::int32_t p) {
  emit_load_a(p + 1), emit_load_b(p), emit_load_a2(p + 2);
  emit_a1_from_a(), emit_a0_from_b(), emit_nop(), emit_a_from_ram();
}

// *p stepped through the temporary t; `back` steps t back to the old value.
void through(OperandDescriptor p, OperandDescriptor t, const char* sign, const char* back = nullptr) {
  call(0, t, "=", p), call(t, t, sign, ONE), call(0, p, "=", t);
  if (back != nullptr) call(t, t, back, ONE);
}

class StepTest : public ReductionTest {
 protected:
  // The whole subexpression processor on the level text of `pieces`.
  StatusText compile(std::initializer_list<Piece> pieces) { return process(level_text(pieces)); }

  // The postfix handler alone, as the loop calls it on the operand at `pos`: what it leaves
  // in the tracker is seen before the reduction frees A.
  StatusText postfix_at(std::initializer_list<Piece> pieces, std::size_t pos) {
    text = level_text(pieces);
    first_word = g_rom_word_count;
    operand::OperandLoop loop(text);
    loop.pos = pos;
    operand::apply_postfix_step(loop, text.find_first_not_of(' ', pos + 4));
    return loop.status;
  }

  // The value a result token stands for: A, or the `width` bytes it names.
  std::uint32_t value_of(OperandDescriptor result, int width) const {
    if (is_acc_value(get_operand_kind(result))) return sim.a;
    return sim.read_bytes(result & 0xFFFFFF, width);
  }
};

using IncrementPostfix = StepTest;
using IncrementPrefix = StepTest;
using IncrementLoop = StepTest;
using IncrementErrors = StepTest;
using IncrementValues = StepTest;

TEST_F(IncrementPostfix, LeavesTheOldCharInATrackedByItsToken) {
  const struct {
    const char* what;
    OperandDescriptor x;
    const char* op;
    std::function<void()> words;
    std::int32_t count;
    int kind;
    std::string_view state;
  } cases[] = {
      {"x++, unsigned char", u8(A), "++", [] { emit_load_a(A), emit_ram_add_a_1(); }, 6, 0xEA, REG_A_UNSIGNED},
      {"c--, char", s8(A), "--", [] { emit_load_a(A), emit_ram_sub_a_1(); }, 6, 0xEB, REG_A_SIGNED},
      {"*p++, char", at_p(0x95), "++", [] { load_through_pointer(P), emit_ram_add_a_1(); }, 20, 0xEB, REG_A_SIGNED},
      {"*p--, unsigned char", at_p(0x92), "--", [] { load_through_pointer(P), emit_ram_sub_a_1(); }, 20, 0xEA,
       REG_A_UNSIGNED},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(postfix_at({c.x, c.op}, 0), STATUS_CONTINUE);
    EXPECT_EQ(emitted(), words_of(c.words));
    EXPECT_EQ(emitted_count(), c.count);
    EXPECT_EQ(items_of(text), items({make_operand(c.kind, c.x)}));
    EXPECT_EQ(g_register_a_state, c.state);
    EXPECT_EQ(g_register_a_token_place, TOKEN_IN_SUBEXPRESSION);
    EXPECT_EQ(g_register_a_token_pos, 0);
    EXPECT_EQ(g_temp_ram_next, T);
  }
}

TEST_F(IncrementPostfix, KeepsTheOldValueOfWiderObjectsInATemporary) {
  const OperandDescriptor t16 = s16(T), t32 = s32(T), pointer_copy = addr(T);
  const struct {
    const char* what;
    OperandDescriptor x;
    const char* op;
    std::function<void()> calls;
    OperandDescriptor token;
    std::int32_t temporaries;
  } cases[] = {
      {"*q++, int", at_p(0x96), "++", [&] { through(at_p(0x96), t16, "+", "-"); }, s16(T), 2},
      {"*q--, unsigned int", at_p(0x93), "--", [&] { through(at_p(0x93), t16, "-", "+"); }, u16(T), 2},
      {"*q++, long", at_p(0x97), "++", [&] { through(at_p(0x97), t32, "+", "-"); }, s32(T), 4},
      {"*q++, unsigned long", at_p(0x94), "++", [&] { through(at_p(0x94), t32, "+", "-"); }, u32(T), 4},
      {"i++, int", s16(X), "++", [] { call(0, u16(T), "=", s16(X)), call(s16(X), s16(X), "+", ONE); }, s16(T), 2},
      {"x--, unsigned long", u32(X), "--", [] { call(0, u32(T), "=", u32(X)), call(u32(X), u32(X), "-", ONE); }, u32(T), 4},
      {"s--, char pointer", at_p(0x89), "--",
       [&] { call(0, pointer_copy, "=", POINTER_VALUE), call(POINTER_VALUE, POINTER_VALUE, "-", immediate(1)); },
       operand(0x89, T), 3},
      {"q++, int pointer", at_p(0x8A), "++",
       [&] { call(0, pointer_copy, "=", POINTER_VALUE), call(POINTER_VALUE, POINTER_VALUE, "+", immediate(2)); },
       operand(0x8A, T), 3},
      {"p++, long pointer", at_p(0x8B), "++",
       [&] { call(0, pointer_copy, "=", POINTER_VALUE), call(POINTER_VALUE, POINTER_VALUE, "+", immediate(4)); },
       operand(0x8B, T), 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    g_temp_ram_next = T;
    ASSERT_EQ(postfix_at({c.x, c.op}, 0), STATUS_CONTINUE);
    EXPECT_EQ(emitted(), words_of(c.calls));
    EXPECT_EQ(items_of(text), items({c.token}));
    EXPECT_EQ(g_temp_ram_next - T, c.temporaries);
    EXPECT_EQ(g_register_a_state, REG_A_FREE);
  }
}

// y = x++ ending the text: y takes the old value itself, and the text ends with y.
TEST_F(IncrementPostfix, AssignsTheOldValueDirectlyAtTheEndOfTheText) {
  const struct {
    const char* what;
    ByteArray level;
    OperandDescriptor y;
    std::function<void()> calls;
  } cases[] = {
      {"y = x++, ints", level_text({s16(Y), "=", s16(X), "++"}), s16(Y),
       [] { call(0, u16(Y), "=", s16(X)), call(s16(X), s16(X), "+", ONE); }},
      {"y = x--, long and unsigned long", level_text({s32(Y), "=", u32(X), "--"}), s32(Y),
       [] { call(0, u32(Y), "=", u32(X)), call(u32(X), u32(X), "-", ONE); }},
      // The restart after `*` scans the "=" again, so it is the one operator before q.
      {"y = *q++, ints", level_text({s16(Y), "=", "*", at_p(0x8A), "++"}), s16(Y),
       [] { through(at_p(0x96), u16(Y), "+", "-"); }},
      {"y = p++, pointers to other types", level_text({operand(0x89, Y), "=", at_p(0x8B), "++"}), operand(0x89, Y),
       [] { call(0, addr(Y), "=", POINTER_VALUE), call(POINTER_VALUE, POINTER_VALUE, "+", immediate(4)); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    g_temp_ram_next = T;
    ASSERT_EQ(process(c.level), STATUS_DONE);
    EXPECT_EQ(emitted(), words_of(c.calls));
    EXPECT_EQ(items_of(text), items({c.y}));
    EXPECT_EQ(g_subexpr_result, c.y);
    EXPECT_EQ(g_temp_ram_next, T);
  }
}

TEST_F(IncrementPostfix, TakesTheGeneralPathWhenTheDirectFormDoesNotFit) {
  const OperandDescriptor x = s16(X);
  const struct {
    const char* what;
    ByteArray level;
  } cases[] = {
      {"x++ alone", level_text({x, "++"})},
      {"something follows", level_text({s16(Y), "=", x, "++", "+", s16(Z)})},
      {"a compound assignment", level_text({s16(Y), "+=", x, "++"})},
      {"a char destination", level_text({s8(Y), "=", x, "++"})},
      {"a long destination", level_text({s32(Y), "=", x, "++"})},
      {"two operators before x", level_text({s16(Y), "=", "-", x, "++"})},
      {"two operators ending in =", level_text({s16(Y), "-", "=", x, "++"})},
  };
  const auto general = [&] { call(0, u16(T), "=", x), call(x, x, "+", ONE); };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    g_temp_ram_next = T;
    process(c.level);  // the operators after the step are not under test here
    const std::string words = words_of(general);
    EXPECT_EQ(emitted().substr(0, words.size()), words);
    EXPECT_GE(g_temp_ram_next - T, 2);
  }
}

TEST_F(IncrementPostfix, StoresAValuePendingInAFirst) {
  // The pending value's token stands in the level text.
  pending_a(REG_A_SIGNED, TOKEN_IN_SUBEXPRESSION, 0);
  ASSERT_EQ(postfix_at({A_SIGNED, "+", u8(X), "++"}, 11), STATUS_CONTINUE);
  EXPECT_EQ(emitted(), words_of([] { emit_store_a(T), emit_load_a(X), emit_ram_add_a_1(); }));
  EXPECT_EQ(items_of(text), items({s8(T), "+", operand(0xEA, X)}));
  EXPECT_EQ(g_register_a_state, REG_A_UNSIGNED);
  EXPECT_EQ(g_register_a_token_pos, 11);
  EXPECT_EQ(g_temp_ram_next, T + 1);

  // It stands in the whole expression's text.
  g_expression_text = level_text({"(", A_UNSIGNED});
  pending_a(REG_A_UNSIGNED, TOKEN_IN_MAIN_EXPRESSION, 4);
  ASSERT_EQ(postfix_at({s16(X), "--"}, 0), STATUS_CONTINUE);
  EXPECT_EQ(emitted(), words_of([] {
              emit_store_a(T + 1), call(0, u16(T + 2), "=", s16(X)), call(s16(X), s16(X), "-", ONE);
            }));
  EXPECT_EQ(items_of(g_expression_text), items({"(", u8(T + 1)}));
  EXPECT_EQ(items_of(text), items({s16(T + 2)}));
  EXPECT_EQ(g_register_a_state, REG_A_FREE);
}

TEST_F(IncrementPrefix, StepsTheObjectAndLeavesItsTokenOrTheStepsTemporary) {
  const OperandDescriptor t16 = s16(T), u16t = u16(T), t32 = s32(T), u32t = u32(T);
  const struct {
    const char* what;
    const char* op;
    OperandDescriptor x;
    std::function<void()> words;
    OperandDescriptor token;
    std::int32_t temporaries;
  } cases[] = {
      {"--c, char", "--", s8(A), [] { emit_load_a(A), emit_ram_sub_a_1(); }, s8(A), 0},
      {"++x, unsigned char", "++", u8(A), [] { emit_load_a(A), emit_ram_add_a_1(); }, u8(A), 0},
      {"++*p, char", "++", at_p(0x95), [] { load_through_pointer(P), emit_ram_add_a_1(); }, at_p(0x95), 0},
      {"--*p, unsigned char", "--", at_p(0x92), [] { load_through_pointer(P), emit_ram_sub_a_1(); }, at_p(0x92), 0},
      {"++x, int", "++", s16(X), [] { call(s16(X), s16(X), "+", ONE); }, s16(X), 0},
      {"--x, unsigned long", "--", u32(X), [] { call(u32(X), u32(X), "-", ONE); }, u32(X), 0},
      {"++*p, int", "++", at_p(0x96), [&] { through(at_p(0x96), t16, "+"); }, t16, 2},
      {"--*p, unsigned int", "--", at_p(0x93), [&] { through(at_p(0x93), u16t, "-"); }, u16t, 2},
      {"++*p, long", "++", at_p(0x97), [&] { through(at_p(0x97), t32, "+"); }, t32, 4},
      {"++*p, unsigned long", "++", at_p(0x94), [&] { through(at_p(0x94), u32t, "+"); }, u32t, 4},
      {"--q, char pointer", "--", at_p(0x89), [] { call(POINTER_VALUE, POINTER_VALUE, "-", immediate(1)); }, at_p(0x89), 0},
      {"++q, int pointer", "++", at_p(0x8A), [] { call(POINTER_VALUE, POINTER_VALUE, "+", immediate(2)); }, at_p(0x8A), 0},
      {"++p, long pointer", "++", at_p(0x8B), [] { call(POINTER_VALUE, POINTER_VALUE, "+", immediate(4)); }, at_p(0x8B), 0},
      {"++_A", "++", REG_A, [] { emit_a_add_a_1(); }, REG_A, 0},
      {"--_A", "--", REG_A, [] { emit_a_sub_a_1(); }, REG_A, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    g_temp_ram_next = T;
    ASSERT_EQ(compile({c.op, c.x}), STATUS_DONE);
    EXPECT_EQ(emitted(), words_of(c.words));
    EXPECT_EQ(items_of(text), items({c.token}));
    EXPECT_EQ(g_subexpr_result, c.token);
    EXPECT_EQ(g_temp_ram_next - T, c.temporaries);
    EXPECT_EQ(g_register_a_state, REG_A_FREE);
  }
  // The byte-exact listing of --c.
  compile({"--", s8(A)});
  EXPECT_EQ(emitted(), "35 01 34 23 33 45 FF FF 21 FF 17 F4");
}

TEST_F(IncrementPrefix, StoresAPendingValueBeforeSteppingA) {
  g_expression_text = level_text({A_SIGNED});
  pending_a(REG_A_SIGNED, TOKEN_IN_MAIN_EXPRESSION, 0);
  ASSERT_EQ(compile({"++", REG_A}), STATUS_DONE);
  // A still holds the value after the store, and that value is stepped.
  EXPECT_EQ(emitted(), words_of([] { emit_store_a(T), emit_a_add_a_1(); }));
  EXPECT_EQ(items_of(g_expression_text), items({s8(T)}));
  EXPECT_EQ(g_temp_ram_next, T + 1);
  EXPECT_EQ(g_register_a_state, REG_A_FREE);
}

TEST_F(IncrementLoop, AppliesStarFirstAndLeavesBinaryOperatorsInPlace) {
  // *p++ steps the char that p points to; A holds the old char.
  ASSERT_EQ(compile({"*", at_p(0x89), "++"}), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([] { load_through_pointer(P), emit_ram_add_a_1(); }));
  EXPECT_EQ(g_subexpr_result, at_p(0xEB));

  // a = ++b: the "++" is in prefix position and the "=" is left to the reduction.
  ASSERT_EQ(compile({s16(Y), "=", "++", s16(X)}), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([] { call(s16(X), s16(X), "+", ONE), call(0, s16(Y), "=", s16(X)); }));
  EXPECT_EQ(g_subexpr_result, s16(Y));
}

// Each error of the `*`, `&` and step handlers: the status, the words emitted before it,
// and the text as the error leaves it.
TEST_F(IncrementErrors, EndTheLoopWithTheirTexts) {
  const OperandDescriptor x = s16(X), k = constant(5);
  const auto none = [] {};
  const auto step_x = [&] { call(x, x, "+", ONE); };
  const struct {
    const char* what;
    ByteArray level;
    std::string_view status;
    std::function<void()> words;
    std::string items;
    std::int32_t temporaries;
  } cases[] = {
      {"* on an int", level_text({"*", x}), INDIRECTION_TYPE_ERROR, none, items({x}), 0},
      {"* twice", level_text({"*", "*", at_p(0x89)}), INDIRECTION_TYPE_ERROR, none, items({at_p(0x95)}), 0},
      {"* on a value in A", level_text({"*", A_UNSIGNED}), INDIRECTION_TYPE_ERROR, none, items({A_UNSIGNED}), 0},
      {"* on an address value", level_text({"*", addr(P)}), INDIRECTION_TYPE_ERROR, none, items({addr(P)}), 0},
      {"& on a pointer", level_text({"&", at_p(0x8A)}), ADDRESS_OF_TYPE_ERROR, none, items({at_p(0x8A)}), 0},
      {"& on a constant", level_text({"&", k}), ADDRESS_OF_TYPE_ERROR, none, items({k}), 0},
      {"& on an array", level_text({"&", operand(0x90, W)}), ADDRESS_OF_TYPE_ERROR, none, items({operand(0x90, W)}), 0},
      {"& after ++", level_text({"&", "++", x}), STATUS_ADDRESS_OF_STATE_ERROR, step_x, items({"&", x}), 0},
      {"5++", level_text({k, "++"}), RIGHT_STEP_ERROR, none, items({k, "++"}), 0},
      {"a++ on an array", level_text({operand(0x90, W), "++"}), RIGHT_STEP_ERROR, none, items({operand(0x90, W), "++"}), 0},
      {"_A++", level_text({REG_A, "++"}), RIGHT_STEP_ERROR, none, items({REG_A, "++"}), 0},
      {"&x++", level_text({"&", x, "++"}), RIGHT_STEP_ERROR, none, items({operand(0x90, X), "++"}), 0},
      // Refused before the pending value would be stored.
      {"a value in A ++", level_text({A_SIGNED, "++"}), RIGHT_STEP_ERROR, none, items({A_SIGNED, "++"}), 0},
      {"++x++", level_text({"++", x, "++"}), LEFT_STEP_STATE_ERROR,
       [&] { call(0, u16(T), "=", x), call(x, x, "+", ONE); }, items({"++", s16(T)}), 2},
      {"++ ++x", level_text({"++", "++", x}), LEFT_STEP_STATE_ERROR, step_x, items({"++", x}), 0},
      {"++5", level_text({"++", k}), LEFT_STEP_ERROR, none, items({"++", k}), 0},
      {"--a on an array", level_text({"--", operand(0x90, W)}), LEFT_STEP_ERROR, none, items({"--", operand(0x90, W)}), 0},
      {"++_B", level_text({"++", REG_B}), LEFT_STEP_ERROR, none, items({"++", REG_B}), 0},
      {"++ a value in A", level_text({"++", A_UNSIGNED}), LEFT_STEP_ERROR, none, items({"++", A_UNSIGNED}), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    g_temp_ram_next = T;
    g_register_a_state = Text(REG_A_FREE);
    g_subexpr_result = Y;
    EXPECT_EQ(process(c.level), c.status);
    EXPECT_EQ(emitted(), words_of(c.words));
    EXPECT_EQ(items_of(text), c.items);
    EXPECT_EQ(g_temp_ram_next - T, c.temporaries);
    EXPECT_EQ(g_subexpr_result, Y);
  }
}

// x++, x-- and their prefix forms across the byte carries of each width: the object
// afterwards and the value of the expression.
TEST_F(IncrementValues, StepEveryWidthAcrossByteCarries) {
  const struct {
    const char* op;
    bool prefix;
    OperandDescriptor x;
    std::uint32_t start, after, value;
  } cases[] = {
      {"++", false, u8(X), 0xFF, 0x00, 0xFF},
      {"--", false, s8(X), 0x00, 0xFF, 0x00},
      {"++", true, u8(X), 0x7F, 0x80, 0x80},
      {"--", true, s8(X), 0x80, 0x7F, 0x7F},
      {"++", false, u16(X), 0x00FF, 0x0100, 0x00FF},
      {"--", false, s16(X), 0x0100, 0x00FF, 0x0100},
      {"++", true, u16(X), 0xFFFF, 0x0000, 0x0000},
      {"--", true, s16(X), 0x0000, 0xFFFF, 0xFFFF},
      {"++", false, u32(X), 0x00FFFFFF, 0x01000000, 0x00FFFFFF},
      {"--", false, s32(X), 0x00010000, 0x0000FFFF, 0x00010000},
      {"++", true, u32(X), 0xFFFFFFFF, 0x00000000, 0x00000000},
      {"--", true, s32(X), 0x01000000, 0x00FFFFFF, 0x00FFFFFF},
  };
  for (const auto& c : cases) {
    const int width = variable_width(get_operand_kind(c.x));
    SCOPED_TRACE(testing::Message() << (c.prefix ? c.op : "x") << (c.prefix ? "x" : c.op) << " width " << width);
    fresh();
    sim.set_bytes(X, c.start, width);
    ASSERT_EQ(c.prefix ? compile({c.op, c.x}) : compile({c.x, c.op}), STATUS_DONE);
    run();
    EXPECT_EQ(sim.read_bytes(X, width), c.after);
    EXPECT_EQ(value_of(g_subexpr_result, width), c.value);
  }
}

TEST_F(IncrementValues, StepPointersByTheirElementSize) {
  const struct {
    const char* op;
    bool prefix;
    int kind;
    std::uint32_t start, after, value;
  } cases[] = {
      {"++", false, 0x89, 0x01FFFF, 0x020000, 0x01FFFF}, {"++", false, 0x8A, 0x01FFFF, 0x020001, 0x01FFFF},
      {"++", false, 0x88, 0x01FFFF, 0x020003, 0x01FFFF}, {"--", false, 0x86, 0x020000, 0x01FFFF, 0x020000},
      {"++", true, 0x87, 0x01FFFF, 0x020001, 0x020001},  {"--", true, 0x8B, 0x020000, 0x01FFFC, 0x01FFFC},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.op << (c.prefix ? " prefix" : " postfix") << " kind " << c.kind);
    fresh();
    sim.set_bytes(P, c.start, 3);
    ASSERT_EQ(c.prefix ? compile({c.op, at_p(c.kind)}) : compile({at_p(c.kind), c.op}), STATUS_DONE);
    run();
    EXPECT_EQ(sim.read_bytes(P, 3), c.after);
    EXPECT_EQ(get_operand_kind(g_subexpr_result), c.kind);
    EXPECT_EQ(value_of(g_subexpr_result, 3), c.value);
  }
}

// *p++ and ++*p step the object p points to; p keeps its value.
TEST_F(IncrementValues, StepTheObjectThroughAPointerNotThePointer) {
  const struct {
    const char* what;
    ByteArray level;
    int width;
    std::uint32_t start, after, value;
  } cases[] = {
      {"*p++, char", level_text({"*", at_p(0x89), "++"}), 1, 0x7F, 0x80, 0x7F},
      {"*p--, unsigned char", level_text({"*", at_p(0x86), "--"}), 1, 0x00, 0xFF, 0x00},
      {"*q++, int", level_text({"*", at_p(0x8A), "++"}), 2, 0x00FF, 0x0100, 0x00FF},
      {"*q--, long", level_text({"*", at_p(0x8B), "--"}), 4, 0x01000000, 0x00FFFFFF, 0x01000000},
      {"++*q, unsigned int", level_text({"++", "*", at_p(0x87)}), 2, 0xFFFF, 0x0000, 0x0000},
      {"--*p, char", level_text({"--", "*", at_p(0x89)}), 1, 0x00, 0xFF, 0xFF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    sim.set_bytes(P, W, 3);
    sim.set_bytes(W, c.start, c.width);
    ASSERT_EQ(process(c.level), STATUS_DONE);
    run();
    EXPECT_EQ(sim.read_bytes(P, 3), static_cast<std::uint32_t>(W));
    EXPECT_EQ(sim.read_bytes(W, c.width), c.after);
    // A value that stays in the object is read from there.
    const OperandDescriptor result = is_via_pointer(get_operand_kind(g_subexpr_result)) ? operand(0x80, W) : g_subexpr_result;
    EXPECT_EQ(value_of(result, c.width), c.value);
  }
}

// -x++: the postfix step runs first and the unary minus takes the old value.
TEST_F(IncrementValues, NegateTheOldValueUnderAPrefixMinus) {
  const struct {
    OperandDescriptor x;
    const char* op;
    std::uint32_t start, after, value;
  } cases[] = {
      {s16(X), "++", 0x0005, 0x0006, 0xFFFB},
      {s8(X), "--", 0x05, 0x04, 0xFB},
      {u32(X), "++", 0x000000FF, 0x00000100, 0xFFFFFF01},
  };
  for (const auto& c : cases) {
    const int width = variable_width(get_operand_kind(c.x));
    SCOPED_TRACE(testing::Message() << "-x" << c.op << " width " << width);
    fresh();
    sim.set_bytes(X, c.start, width);
    ASSERT_EQ(compile({"-", c.x, c.op}), STATUS_DONE);
    run();
    EXPECT_EQ(sim.read_bytes(X, width), c.after);
    EXPECT_EQ(value_of(g_subexpr_result, width), c.value);
  }
}

TEST_F(IncrementValues, AssignTheOldValue) {
  const struct {
    const char* what;
    ByteArray level;
    std::int32_t object;
    int width;
    std::uint32_t start, after;
  } cases[] = {
      {"y = x++, ints", level_text({s16(Y), "=", s16(X), "++"}), X, 2, 0x00FF, 0x0100},
      {"y = x--, chars", level_text({s8(Y), "=", s8(X), "--"}), X, 1, 0x00, 0xFF},
      {"y = *q++, longs", level_text({s32(Y), "=", "*", at_p(0x8B), "++"}), W, 4, 0xFFFFFFFF, 0x00000000},
      {"y = p++, int pointers", level_text({operand(0x8A, Y), "=", operand(0x8A, X), "++"}), X, 3, 0x01FFFF, 0x020001},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    sim.set_bytes(P, W, 3);
    sim.set_bytes(c.object, c.start, c.width);
    ASSERT_EQ(process(c.level), STATUS_DONE);
    run();
    EXPECT_EQ(sim.read_bytes(Y, c.width), c.start);
    EXPECT_EQ(sim.read_bytes(c.object, c.width), c.after);
  }
}

}  // namespace
}  // namespace tarvik::test
