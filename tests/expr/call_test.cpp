#include "app/app.h"
#include "isa/isa.h"
#include "support/expr_support.h"

namespace tarvik::test {
namespace {

// The callee's return slot, its first word and its parameters; the first word has three
// distinct bytes, so a jump that loses one shows.
constexpr std::int32_t SLOT = 0x010180, ENTRY = 0x012345;
constexpr std::int32_t P1 = 0x010190, P2 = 0x010194, P3 = 0x010198;
constexpr std::int32_t T0 = EXPR_TEMPORARIES;

// The return word into the slot, low byte first, and the jump to the callee.
void emit_call(std::int32_t slot, std::int32_t entry) {
  const std::int32_t back = g_rom_word_count + CALL_RETURN_OFFSET;
  emit_store_imm(slot, back);
  emit_store_imm(slot + 1, back >> 8);
  emit_store_imm(slot + 2, back >> 16);
  emit_jump_to(entry);
}

// An argument stored into its parameter: the assignment text that the call compiles.
void pass(OperandDescriptor parameter, OperandDescriptor argument) {
  ByteArray text = level_text({parameter, "=", argument});
  EXPECT_EQ(process_subexpression(text), STATUS_DONE);
}

class FunctionCall : public ExpressionTest {
 protected:
  // The words from `offset` words into the expression's words on, as the emitters produce
  // them there.
  std::string words_after(std::int32_t offset, const std::function<void()>& emitters) {
    const std::int32_t start = first_word;
    first_word += offset;
    std::string expected = words_of(emitters);
    first_word = start;
    return expected;
  }
};

TEST_F(FunctionCall, WithoutArgumentsIsTheReturnWordAndTheJump) {
  function("f", "void", {}, SLOT, ENTRY);
  // The return word 0x01FFF0 + 19 carries into its high byte.
  while (g_rom_word_count < 0x01FFF0) emit_nop();
  ASSERT_EQ(evaluate({"f", "(", ")"}), STATUS_EXPRESSION_END);
  EXPECT_EQ(emitted_count(), 19);
  EXPECT_EQ(stores_from(first_word), "10180=03 10181=00 10182=02 ?");
  EXPECT_EQ(emitted(), words_of([] { emit_call(SLOT, ENTRY); }));
  // A void callee leaves a new constant 0 where the call stood.
  EXPECT_EQ(left(), "E8000002 ;");
  EXPECT_EQ(g_constant_count, 3);
  EXPECT_EQ(g_constant_table[2], 0);
}

TEST_F(FunctionCall, AssignsTheArgumentsLastFirstThenCalls) {
  local("a", "int", X);
  local("b", "char", Y);
  function("f", "long int", {{"int", P1}, {"char", P2}, {"long int", P3}}, SLOT, ENTRY);
  const OperandDescriptor k = constant(-70000);
  ASSERT_EQ(evaluate({"f", "(", "a", ",", "b", ",", k, ")"}), STATUS_EXPRESSION_END);
  EXPECT_EQ(emitted(), words_of([k] {
              pass(s32(P3), k);
              pass(s8(P2), s8(Y));
              pass(s16(P1), s16(X));
              emit_call(SLOT, ENTRY);
            }));
  EXPECT_EQ(left(), "85010000 ;");
}

// Each parameter type names its parameter with its own kind; "[]" passes a pointer.
TEST_F(FunctionCall, ParametersTakeTheKindOfTheirType) {
  const struct {
    const char* type;
    int kind;
    OperandDescriptor argument;
  } cases[] = {
      {"unsigned char", OPERAND_KIND_UCHAR, u8(X)},
      {"unsigned int", OPERAND_KIND_UINT, u16(X)},
      {"unsigned long int", OPERAND_KIND_ULONG, u32(X)},
      {"char", OPERAND_KIND_CHAR, s8(X)},
      {"int", OPERAND_KIND_INT, s16(X)},
      {"long int", OPERAND_KIND_LONG, s32(X)},
      {"unsigned char*", OPERAND_KIND_UCHAR_PTR, operand(OPERAND_KIND_UCHAR_ARRAY, X)},
      {"unsigned int*", OPERAND_KIND_UINT_PTR, operand(OPERAND_KIND_UINT_ARRAY, X)},
      {"unsigned long int*", OPERAND_KIND_ULONG_PTR, operand(OPERAND_KIND_ULONG_ARRAY, X)},
      {"char*", OPERAND_KIND_CHAR_PTR, operand(OPERAND_KIND_CHAR_ARRAY, X)},
      {"int*", OPERAND_KIND_INT_PTR, operand(OPERAND_KIND_INT_ARRAY, X)},
      {"long int*", OPERAND_KIND_LONG_PTR, operand(OPERAND_KIND_LONG_ARRAY, X)},
      {"unsigned char[]", OPERAND_KIND_UCHAR_PTR, operand(OPERAND_KIND_UCHAR_ARRAY, X)},
      {"unsigned int[]", OPERAND_KIND_UINT_PTR, operand(OPERAND_KIND_UINT_ARRAY, X)},
      {"unsigned long int[]", OPERAND_KIND_ULONG_PTR, operand(OPERAND_KIND_ULONG_ARRAY, X)},
      {"char[]", OPERAND_KIND_CHAR_PTR, operand(OPERAND_KIND_CHAR_ARRAY, X)},
      {"int[]", OPERAND_KIND_INT_PTR, operand(OPERAND_KIND_INT_ARRAY, X)},
      {"long int[]", OPERAND_KIND_LONG_PTR, operand(OPERAND_KIND_LONG_ARRAY, X)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    fresh();
    function("f", "void", {{c.type, P1}}, SLOT, ENTRY);
    ASSERT_EQ(evaluate({"f", "(", c.argument, ")"}), STATUS_EXPRESSION_END);
    EXPECT_EQ(emitted(), words_of([&c] {
                pass(operand(c.kind, P1), c.argument);
                emit_call(SLOT, ENTRY);
              }));
  }
}

// Right before ";" the return-value cell is the result itself; anywhere else the cell is
// copied first, since the next call writes it again.
TEST_F(FunctionCall, ResultIsTheCellBeforeTheEndAndACopyElsewhere) {
  local("a", "int", X);
  local("x", "int", Y);
  function("f", "int", {{"int", P1}}, SLOT, ENTRY);
  const auto call_f = [] {
    pass(s16(P1), s16(X));
    emit_call(SLOT, ENTRY);
  };

  ASSERT_EQ(evaluate({"f", "(", "a", ")"}), STATUS_EXPRESSION_END);
  EXPECT_EQ(left(), "84010000 ;");

  ASSERT_EQ(evaluate({"x", "=", "f", "(", "a", ")"}), STATUS_EXPRESSION_END);
  EXPECT_EQ(emitted(), words_of([&] {
              call_f();
              call(0, s16(Y), "=", s16(CELL));
            }));
  EXPECT_EQ(g_temp_ram_next, T0);

  ASSERT_EQ(evaluate({"x", "=", "f", "(", "a", ")", "+", constant(1)}), STATUS_EXPRESSION_END);
  const std::string copied = words_of([&] {
    call_f();
    call(0, u16(T0), "=", u16(CELL));
  });
  EXPECT_EQ(emitted().substr(0, copied.size()), copied);
  EXPECT_EQ(g_temp_ram_next, T0 + 2);
}

// The copy moves the bytes unsigned, chars through A and pointers as addresses; only the
// result token carries the return type.
TEST_F(FunctionCall, ResultTokenAndCopyFollowTheReturnType) {
  const std::function<void()> by_a = [] {
    call(0, REG_A, "=", u8(CELL));
    call(0, u8(T0), "=", REG_A);
  };
  const auto copy = [](OperandDescriptor to, OperandDescriptor from) { return [=] { call(0, to, "=", from); }; };
  const struct {
    const char* type;
    int kind;
    std::function<void()> copy;
    std::int32_t bytes;
  } cases[] = {
      {"unsigned char", OPERAND_KIND_UCHAR, by_a, 1},
      {"unsigned int", OPERAND_KIND_UINT, copy(u16(T0), u16(CELL)), 2},
      {"unsigned long int", OPERAND_KIND_ULONG, copy(u32(T0), u32(CELL)), 4},
      {"char", OPERAND_KIND_CHAR, by_a, 1},
      {"int", OPERAND_KIND_INT, copy(u16(T0), u16(CELL)), 2},
      {"long int", OPERAND_KIND_LONG, copy(u32(T0), u32(CELL)), 4},
      {"unsigned char*", OPERAND_KIND_UCHAR_PTR, copy(addr(T0), addr(CELL)), 3},
      {"unsigned int*", OPERAND_KIND_UINT_PTR, copy(addr(T0), addr(CELL)), 3},
      {"unsigned long int*", OPERAND_KIND_ULONG_PTR, copy(addr(T0), addr(CELL)), 3},
      {"char*", OPERAND_KIND_CHAR_PTR, copy(addr(T0), addr(CELL)), 3},
      {"int*", OPERAND_KIND_INT_PTR, copy(addr(T0), addr(CELL)), 3},
      {"long int*", OPERAND_KIND_LONG_PTR, copy(addr(T0), addr(CELL)), 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    fresh();
    function("f", c.type, {}, SLOT, ENTRY);
    g_ram_next = EXPR_TEMPORARIES;
    ASSERT_EQ(evaluate({"f", "(", ")"}), STATUS_EXPRESSION_END);
    EXPECT_EQ(left(), items({operand(c.kind, CELL), ";"}));
    EXPECT_EQ(emitted_count(), 19);

    ASSERT_EQ(evaluate({"(", "f", "(", ")", ")"}), STATUS_EXPRESSION_END);
    EXPECT_EQ(left(), items({operand(c.kind, T0), ";"}));
    EXPECT_EQ(emitted(), words_of([&c] {
                emit_call(SLOT, ENTRY);
                c.copy();
              }));
    EXPECT_EQ(g_temp_ram_next, T0 + c.bytes);
    EXPECT_EQ(g_constant_count, 2);
  }
}

TEST_F(FunctionCall, VoidCalleeGivesANewConstantZeroInsideAnExpressionToo) {
  local("x", "int", X);
  function("g", "void", {}, SLOT, ENTRY);
  g_constant_table[2] = 0;
  g_constant_count = 3;  // an equal constant already in the table is not reused
  ASSERT_EQ(evaluate({"(", "g", "(", ")", ")"}), STATUS_EXPRESSION_END);
  EXPECT_EQ(left(), "E8000003 ;");
  EXPECT_EQ(g_constant_count, 4);
  EXPECT_EQ(g_constant_table[3], 0);
  EXPECT_EQ(emitted(), words_of([] { emit_call(SLOT, ENTRY); }));
  EXPECT_EQ(g_temp_ram_next, T0);
}

// A value pending in A is stored into a 1-byte temporary, whose token replaces the value's,
// before the call needs A; its kind follows the value's signedness.
TEST_F(FunctionCall, PendingValueInAIsSpilledFirst) {
  const struct {
    const char* what;
    const char* op;
    const char* type;
    int kind;
  } cases[] = {
      {"a comparison, signed 0 or 1", "<", "int", OPERAND_KIND_CHAR},
      {"an unsigned char sum", "+", "unsigned char", OPERAND_KIND_UCHAR},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    local("a", c.type, X);
    local("b", c.type, Y);
    function("f", "void", {{"int", P1}}, SLOT, ENTRY);
    g_ram_next = EXPR_TEMPORARIES;
    ASSERT_EQ(evaluate({"f", "(", "a", c.op, "b", ")"}), STATUS_EXPRESSION_END);
    const auto tail = [&c] {
      call(0, u8(T0), "=", REG_A);
      pass(s16(P1), operand(c.kind, T0));
      emit_call(SLOT, ENTRY);
    };
    const std::int32_t offset = emitted_count() - length(tail);
    EXPECT_EQ(emitted().substr(6 * static_cast<std::size_t>(offset)), words_after(offset, tail));
    EXPECT_EQ(g_temp_ram_next, T0 + 1);
    EXPECT_EQ(g_register_a_state, REG_A_FREE);
  }
}

// The scanner meets a bare run of digits before the call's own argument scan could.
TEST_F(FunctionCall, DigitsInAnArgumentAreAnUnrecognisedSymbol) {
  function("f", "void", {{"long int", P1}}, SLOT, ENTRY);
  EXPECT_EQ(evaluate({"f", "(", "4294967297", ")"}), STATUS_EXPRESSION_UNRECOGNISED_SYMBOL);
  EXPECT_EQ(emitted_count(), 0);
}

// add, increment, dec, lsum and keep in front of the caller, which also has the char e and the
// long ints l, m and y.
class CallOnSimulator : public CallerTest {
 protected:
  static constexpr std::int32_t G1 = 0x0101C0, G2 = 0x0101C4;

  void SetUp() override {
    CallerTest::SetUp();
    locals({{"e", "char", Q}, {"l", "long int", 0x010080}, {"m", "long int", 0x010084}, {"y", "long int", 0x010088}});
  }

  void callees() override {
    callee("add", "int", {{"int", 0x010190}, {"int", 0x010192}}, 0x010180,
           {s16(CELL), "=", s16(0x010190), "+", s16(0x010192)});
    callee("increment", "int", {{"int", 0x010194}}, 0x010183, {s16(CELL), "=", s16(0x010194), "+", constant(100)});
    callee("dec", "char", {{"char", 0x010196}}, 0x010186, {s8(CELL), "=", s8(0x010196), "-", constant(1)});
    callee("lsum", "long int", {{"long int", 0x010198}, {"long int", 0x01019C}}, 0x010189,
           {s32(CELL), "=", s32(0x010198), "+", s32(0x01019C)});
    callee("keep", "void", {{"int", 0x0101A0}, {"int", 0x0101A2}}, 0x01018C,
           {s16(G1), "=", s16(0x0101A0), ",", s16(G2), "=", s16(0x0101A2)});
  }

  // Compiles the caller; its words start after the callees'.
  void compile(std::initializer_list<Piece> pieces) { ASSERT_EQ(evaluate(pieces), STATUS_EXPRESSION_END); }
};

TEST_F(CallOnSimulator, TwoArguments) {
  compile({"x", "=", "add", "(", "a", ",", "b", ")"});
  EXPECT_EQ(x_for(1200, -300), 900);
  EXPECT_EQ(x_for(-1, -32767), -32768);
}

// The first result waits in a temporary while the second call writes the cell again. The
// callee's name is longer than the token written over it.
TEST_F(CallOnSimulator, TwoCallsInOneExpression) {
  compile({"x", "=", "increment", "(", "a", ")", "-", "increment", "(", "b", ")"});
  EXPECT_EQ(x_for(5, 7), -2);
  EXPECT_EQ(x_for(1000, -1000), 2000);
}

TEST_F(CallOnSimulator, ChainAsTheArgument) {
  compile({"x", "=", "increment", "(", "a", "&&", "b", ")"});
  const struct {
    std::int16_t a, b, x;
  } cases[] = {{0, 0, 100}, {3, 0, 100}, {0, -3, 100}, {256, -1, 101}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " && " << c.b);
    EXPECT_EQ(x_for(c.a, c.b), c.x);
  }
}

// Each chain's 0 or 1 reaches its own parameter: the first is stored away before the second
// chain needs A.
TEST_F(CallOnSimulator, ChainsAsTwoArguments) {
  compile({"keep", "(", "a", "&&", "b", ",", "c", "&&", "d", ")"});
  const struct {
    std::int16_t a, b, c, d, g1, g2;
  } cases[] = {{1, 1, 0, 1, 1, 0}, {0, 1, 1, 1, 0, 1}, {2, 3, 4, 5, 1, 1}, {0, 0, 0, 0, 0, 0}, {0x100, 1, -1, 0x200, 1, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << c.b << c.c << c.d);
    x_for(c.a, c.b, c.c, c.d);
    EXPECT_EQ(sim.read_bytes(G1, 2), static_cast<std::uint32_t>(c.g1));
    EXPECT_EQ(sim.read_bytes(G2, 2), static_cast<std::uint32_t>(c.g2));
  }
}

// A comparison left in A before the call is stored away and added afterwards.
TEST_F(CallOnSimulator, ValueInABeforeTheCall) {
  compile({"x", "=", "(", "a", "<", "b", ")", "+", "increment", "(", "c", ")"});
  EXPECT_EQ(x_for(1, 2, 5), 106);
  EXPECT_EQ(x_for(2, 1, 5), 105);
}

// A char result is signed: -1 in the cell widens to -1.
TEST_F(CallOnSimulator, CharCallee) {
  compile({"x", "=", "dec", "(", "e", ")"});
  sim.set_bytes(Q, 0, 1);
  EXPECT_EQ(x_for(0, 0), -1);
  fresh();
  compile({"x", "=", "dec", "(", "e", ")", "+", constant(1)});
  sim.set_bytes(Q, static_cast<std::uint8_t>(-5), 1);
  EXPECT_EQ(x_for(0, 0), -5);
}

TEST_F(CallOnSimulator, LongCallee) {
  compile({"y", "=", "lsum", "(", "l", ",", "m", ")", "-", "lsum", "(", "m", ",", "m", ")"});
  put({{0x010080, 4, 0x12345678}, {0x010084, 4, 0x0FEDCBA9}});
  run();
  EXPECT_EQ(sim.read_bytes(0x010088, 4), 0x12345678u - 0x0FEDCBA9u);
}

}  // namespace
}  // namespace tarvik::test
