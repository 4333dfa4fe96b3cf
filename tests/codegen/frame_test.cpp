#include "isa/isa.h"
#include "support/codegen_support.h"

namespace tarvik::test {
namespace {

// Operands at fixed addresses, named by class.
constexpr OperandDescriptor UCHAR = make_operand(OPERAND_KIND_UCHAR, 0x010020);
constexpr OperandDescriptor CHAR = make_operand(OPERAND_KIND_CHAR, 0x010021);
constexpr OperandDescriptor UINT = make_operand(OPERAND_KIND_UINT, 0x010022);
constexpr OperandDescriptor INT = make_operand(OPERAND_KIND_INT, 0x010024);
constexpr OperandDescriptor ULONG = make_operand(OPERAND_KIND_ULONG, 0x010028);
constexpr OperandDescriptor LONG = make_operand(OPERAND_KIND_LONG, 0x01002C);
constexpr OperandDescriptor ULONG_TEMP = make_operand(OPERAND_KIND_ULONG, 0x010030);
constexpr OperandDescriptor LONG_TEMP = make_operand(OPERAND_KIND_LONG, 0x010034);
constexpr OperandDescriptor ADDRESS = make_operand(OPERAND_KIND_ADDRESS, 0x010038);
constexpr OperandDescriptor ADDRESS_2 = make_operand(OPERAND_KIND_ADDRESS, 0x01003B);
constexpr OperandDescriptor CHAR_PTR = make_operand(OPERAND_KIND_CHAR_PTR, 0x010040);
constexpr OperandDescriptor INT_PTR = make_operand(OPERAND_KIND_INT_PTR, 0x010043);
constexpr OperandDescriptor LONG_PTR = make_operand(OPERAND_KIND_LONG_PTR, 0x010046);
constexpr OperandDescriptor CHAR_VIA_PTR = make_operand(OPERAND_KIND_CHAR_VIA_PTR, 0x010040);
constexpr OperandDescriptor INT_VIA_PTR = make_operand(OPERAND_KIND_INT_VIA_PTR, 0x010043);
constexpr OperandDescriptor LONG_VIA_PTR = make_operand(OPERAND_KIND_LONG_VIA_PTR, 0x010046);
constexpr OperandDescriptor CHAR_ARRAY = make_operand(OPERAND_KIND_CHAR_ARRAY, 0x010050);
constexpr OperandDescriptor INT_ARRAY = make_operand(OPERAND_KIND_INT_ARRAY, 0x010060);
constexpr OperandDescriptor LONG_ARRAY = make_operand(OPERAND_KIND_LONG_ARRAY, 0x010070);
constexpr OperandDescriptor RETURN_CHAR = make_operand(OPERAND_KIND_UCHAR, RETURN_VALUE_ADDRESS);
constexpr OperandDescriptor RETURN_INT = make_operand(OPERAND_KIND_UINT, RETURN_VALUE_ADDRESS);
constexpr OperandDescriptor RETURN_LONG = make_operand(OPERAND_KIND_ULONG, RETURN_VALUE_ADDRESS);
constexpr OperandDescriptor RETURN_ADDRESS = make_operand(OPERAND_KIND_ADDRESS, RETURN_VALUE_ADDRESS);
// Constant-table entries 0 and 1 hold 0 and 1; the tests add 300 and -1 as entries 2 and 3.
constexpr OperandDescriptor ZERO = make_operand(OPERAND_KIND_CONSTANT, 0);
constexpr OperandDescriptor C300 = make_operand(OPERAND_KIND_CONSTANT, 2);
constexpr OperandDescriptor MINUS_ONE = make_operand(OPERAND_KIND_CONSTANT, 3);
constexpr OperandDescriptor FLAG_AH = make_operand(OPERAND_KIND_AH, 0);

TEST(OperandKind, IsTheTopByteReadUnsigned) {
  const struct {
    std::uint32_t descriptor;
    int kind;
  } cases[] = {
      {0, 0x00},          {1, 0x00},          {0xFFFFFF, 0x00},   {0x80000000, 0x80},
      {0x98010000, 0x98}, {0xE7000000, 0xE7}, {0xEAFFFFFF, 0xEA}, {0xFFFFFFFF, 0xFF},
      {0x7F000000, 0x7F},
  };
  for (const auto& c : cases)
    EXPECT_EQ(get_operand_kind(static_cast<OperandDescriptor>(c.descriptor)), c.kind) << std::hex << c.descriptor;
}

class Generator : public CodegenTest {
 protected:
  void SetUp() override {
    CodegenTest::SetUp();
    constant(300);
    constant(-1);
  }
};

TEST_F(Generator, AnOperatorTextThatIsNoCaseIsRefusedWhole) {
  for (const char* op : {"", "+ ", " +", "=>", "&&", "||", "!", "<<=", "+="}) {
    EXPECT_EQ(generate(UCHAR, UCHAR, op, ZERO), STATUS_BINOP_OPERATOR_ERROR) << op;
    EXPECT_EQ(emitted_count(), 0) << op;
  }
}

TEST_F(Generator, AnImmediateIsTheConstantOfItsValue) {
  // Both forms emitted at word 0, so that their jump targets agree.
  const auto words_at_start = [&](OperandDescriptor d, OperandDescriptor l, OperandDescriptor r) {
    init_global_tables();
    g_constant_table[1] = 1;
    g_constant_table[2] = 0xFFFFFF;
    EXPECT_EQ(generate(d, l, "+", r), STATUS_DONE);
    return words();
  };
  const std::string by_immediate = words_at_start(INT, INT, immediate(1));
  EXPECT_EQ(words_at_start(INT, INT, make_operand(OPERAND_KIND_CONSTANT, 1)), by_immediate);
  EXPECT_EQ(g_rom_word_count, 20);

  // Its value is its low 24 bits, never negative: 0xFFFFFF is no -1.
  const std::string by_24_bits = words_at_start(LONG, LONG, immediate(0xFFFFFF));
  EXPECT_EQ(words_at_start(LONG, LONG, make_operand(OPERAND_KIND_CONSTANT, 2)), by_24_bits);
}

TEST_F(Generator, AConstantBeyondTheTableEndsTheCompileBeforeAnyWord) {
  const OperandDescriptor past_the_end = make_operand(OPERAND_KIND_CONSTANT, TABLE_CAPACITY);
  Text op = "+";
  EXPECT_THROW(generate_binary_operation_code(INT, INT, op, past_the_end), TableCapacityExceeded);
  op = "=";
  EXPECT_THROW(generate_binary_operation_code(0, INT, op, past_the_end), TableCapacityExceeded);
  EXPECT_EQ(g_rom_word_count, 0);
}

// Every refusal leaves the image, the condition lists, the sense and the operator text as they were.
TEST_F(Generator, RefusalsChangeNothing) {
  const struct {
    OperandDescriptor d, l;
    const char* op;
    OperandDescriptor r;
    std::string_view status;
  } cases[] = {
      {UCHAR, C300, "+", ZERO, STATUS_BINOP_ADD_TYPE_ERROR},
      {INT, INT, "+", ULONG, STATUS_BINOP_ADD_TYPE_ERROR},
      {INT_PTR, INT_PTR, "+", C300, STATUS_BINOP_ADD_TYPE_ERROR},
      {INT, C300, "-", INT_ARRAY, STATUS_BINOP_SUB_TYPE_ERROR},
      {REG_A, A_UNSIGNED, "-", A_SIGNED, STATUS_BINOP_SUB_TYPE_ERROR},
      {INT, INT, "*", UCHAR, STATUS_BINOP_MUL_TYPE_ERROR},
      {UCHAR, REG_A, "*", UCHAR, STATUS_BINOP_MUL_TYPE_ERROR},
      {REG_A, UCHAR, "/", UCHAR, STATUS_BINOP_DIV_TYPE_ERROR},
      {UCHAR, C300, "%", ZERO, STATUS_BINOP_MOD_TYPE_ERROR},
      {INT, UCHAR, "&", INT, STATUS_BINOP_BITWISE_TYPE_ERROR},
      {REG_A, INT, "|", INT, STATUS_BINOP_BITWISE_TYPE_ERROR},
      {UCHAR, CHAR_ARRAY, "^", UCHAR, STATUS_BINOP_BITWISE_TYPE_ERROR},
      {INT, ZERO, "~", INT, STATUS_BINOP_COMPLEMENT_TYPE_ERROR},
      {INT, immediate(0), "~", UCHAR, STATUS_BINOP_COMPLEMENT_TYPE_ERROR},
      {REG_A, UCHAR, "<<", ZERO, STATUS_BINOP_SHL_TYPE_ERROR},
      {UCHAR, UCHAR, ">>", REG_A, STATUS_BINOP_SHR_TYPE_ERROR},
      {COND, UCHAR, "<", INT, STATUS_BINOP_STRICT_TYPE_ERROR},
      {COND, C300, ">", ZERO, STATUS_BINOP_STRICT_TYPE_ERROR},
      {COND, A_SIGNED, ">=", A_UNSIGNED, STATUS_BINOP_NON_STRICT_TYPE_ERROR},
      {COND, FLAG_AH, "<=", ZERO, STATUS_BINOP_NON_STRICT_TYPE_ERROR},
      {COND, REG_A, "==", UCHAR, STATUS_BINOP_EQUALITY_TYPE_ERROR},
      {UCHAR, UCHAR, "!=", UCHAR, STATUS_BINOP_EQUALITY_TYPE_ERROR},
      {0, UCHAR, "=", CHAR, STATUS_BINOP_ASSIGN_CHAR_TYPE_ERROR},
      {0, INT, "=", make_operand(OPERAND_KIND_RAM, 0), STATUS_BINOP_ASSIGN_INT16_TYPE_ERROR},
      {0, LONG, "=", COND, STATUS_BINOP_ASSIGN_INT32_TYPE_ERROR},
      {0, CHAR_VIA_PTR, "=", UCHAR, STATUS_BINOP_ASSIGN_CHAR_VIA_PTR_TYPE_ERROR},
      {0, INT_VIA_PTR, "=", REG_A, STATUS_BINOP_ASSIGN_INT_VIA_PTR_TYPE_ERROR},
      {0, LONG_VIA_PTR, "=", INT, STATUS_BINOP_ASSIGN_INT_VIA_PTR_TYPE_ERROR},
      {0, REG_A, "=", INT_VIA_PTR, STATUS_BINOP_ASSIGN_A_TYPE_ERROR},
      {0, REG_B, "=", COND, STATUS_BINOP_ASSIGN_B_TYPE_ERROR},
      {0, make_operand(OPERAND_KIND_A2, 0), "=", make_operand(OPERAND_KIND_A1, 0), STATUS_BINOP_ASSIGN_A2_TYPE_ERROR},
      {0, make_operand(OPERAND_KIND_A1, 0), "=", CHAR_VIA_PTR, STATUS_BINOP_ASSIGN_A1_TYPE_ERROR},
      {0, make_operand(OPERAND_KIND_A0, 0), "=", COND, STATUS_BINOP_ASSIGN_A0_TYPE_ERROR},
      {0, make_operand(OPERAND_KIND_RAM, 0), "=", UCHAR, STATUS_BINOP_ASSIGN_RAM_TYPE_ERROR},
      {0, ADDRESS, "=", UCHAR, STATUS_BINOP_ASSIGN_ADDRESS_TYPE_ERROR},
      {0, INT_PTR, "=", ADDRESS, STATUS_BINOP_ASSIGN_OTHER_TYPE_ERROR},
      {0, immediate(5), "=", UCHAR, STATUS_BINOP_ASSIGN_OTHER_TYPE_ERROR},
  };
  emit_nop();
  g_true_jumps = "abc";
  g_false_jumps = "defghi";
  g_fall_through_sense = "真";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.op);
    expect_refused(c.d, c.l, c.op, c.r, c.status);
  }
}

// The operations that the expression compilers ask for, each with the operands they pass.
TEST_F(Generator, TheCallersOperationsAreAllCompiled) {
  const OperandDescriptor one = immediate(1), two = immediate(2), four = immediate(4), nought = immediate(0);
  const struct {
    OperandDescriptor d, l;
    const char* op;
    OperandDescriptor r;
  } cases[] = {
      // Copies and loads.
      {0, UCHAR, "=", REG_A}, {0, CHAR, "=", A_SIGNED}, {0, UINT, "=", REG_A}, {0, INT, "=", A_SIGNED},
      {0, LONG, "=", A_UNSIGNED}, {0, UCHAR, "=", C300}, {0, INT, "=", C300}, {0, LONG, "=", MINUS_ONE},
      {0, UINT, "=", INT}, {0, INT, "=", UCHAR}, {0, INT, "=", CHAR}, {0, LONG, "=", UINT}, {0, LONG, "=", INT},
      {0, LONG, "=", ULONG}, {0, INT, "=", LONG}, {0, UINT, "=", INT_VIA_PTR}, {0, LONG, "=", LONG_VIA_PTR},
      {0, ULONG_TEMP, "=", ADDRESS}, {0, ADDRESS_2, "=", ADDRESS}, {0, UINT, "=", RETURN_INT},
      {0, ULONG, "=", RETURN_LONG}, {0, ADDRESS, "=", RETURN_ADDRESS}, {0, INT_VIA_PTR, "=", INT},
      {0, LONG_VIA_PTR, "=", LONG}, {0, CHAR_VIA_PTR, "=", A_SIGNED}, {0, INT, "=", INT_ARRAY},
      {0, REG_A, "=", UCHAR}, {0, REG_A, "=", INT}, {0, REG_A, "=", ADDRESS}, {0, REG_A, "=", REG_B},
      {0, REG_A, "=", CHAR_VIA_PTR}, {0, REG_A, "=", RETURN_CHAR}, {0, REG_A, "=", COND},
      {0, A_UNSIGNED, "=", CHAR_VIA_PTR}, {0, REG_B, "=", UCHAR}, {0, make_operand(OPERAND_KIND_A2, 0), "=", C300},
      {0, make_operand(OPERAND_KIND_RAM, 0), "=", REG_A},
      // Sums and differences into A and into variables, steps in place.
      {REG_A, UCHAR, "+", CHAR}, {REG_A, A_UNSIGNED, "+", C300}, {REG_A, C300, "-", A_SIGNED},
      {REG_A, UCHAR, "-", ZERO}, {UCHAR, A_UNSIGNED, "+", UCHAR}, {INT, INT, "+", UINT}, {INT, LONG, "-", ULONG},
      {LONG, LONG, "-", C300}, {UINT, UINT, "+", one}, {LONG, LONG, "-", two}, {ADDRESS, ADDRESS, "+", four},
      {ADDRESS, ADDRESS, "-", one}, {LONG_TEMP, ADDRESS, "-", ADDRESS_2}, {LONG_TEMP, LONG_TEMP, ">>", one},
      {LONG_TEMP, LONG_TEMP, ">>", two},
      // Pointer arithmetic.
      {CHAR_PTR, CHAR_ARRAY, "+", A_UNSIGNED}, {INT_PTR, UCHAR, "+", INT_ARRAY}, {LONG_PTR, LONG_PTR, "+", ULONG},
      {INT_PTR, INT_PTR, "-", INT}, {LONG_PTR, LONG_ARRAY, "-", A_SIGNED}, {ADDRESS, C300, "+", ADDRESS},
      // Products, quotients, remainders.
      {UCHAR, A_UNSIGNED, "*", UCHAR}, {CHAR, C300, "*", CHAR}, {INT, INT, "*", C300}, {LONG, LONG, "*", ULONG},
      {CHAR, A_SIGNED, "/", C300}, {UINT, C300, "/", UINT}, {LONG, LONG, "%", LONG}, {UCHAR, UCHAR, "%", A_UNSIGNED},
      // Shifts and bitwise operations.
      {INT, INT, "<<", A_UNSIGNED}, {CHAR, CHAR, ">>", C300}, {LONG, ULONG, "<<", UCHAR}, {UINT, INT, ">>", LONG},
      {REG_A, UCHAR, "&", A_SIGNED}, {REG_A, C300, "|", UCHAR}, {REG_A, A_UNSIGNED, "^", C300}, {UINT, INT, "&", C300},
      {CHAR, LONG, "|", ULONG}, {UINT, ULONG, "^", LONG}, {INT, nought, "~", LONG}, {UCHAR, nought, "~", UCHAR},
      // Comparisons.
      {COND, UCHAR, "==", CHAR}, {COND, A_SIGNED, "!=", UCHAR}, {COND, INT, "==", C300}, {COND, C300, "!=", LONG},
      {COND, A_UNSIGNED, "==", nought}, {COND, UINT, "!=", nought}, {COND, FLAG_AH, "==", one},
      {COND, REG_B, "!=", REG_A}, {COND, CHAR, "<", A_SIGNED}, {COND, INT, ">", INT}, {COND, C300, "<", LONG},
      {COND, A_UNSIGNED, ">", C300}, {COND, REG_A, "<", REG_B}, {COND, UCHAR, ">=", UCHAR}, {COND, C300, "<=", A_SIGNED},
      {COND, LONG_ARRAY, ">=", ULONG}, {COND, REG_B, "<=", REG_A},
  };
  g_fall_through_sense = "真";
  for (const auto& c : cases) {
    const std::string op = c.op;
    EXPECT_EQ(generate(c.d, c.l, op, c.r), STATUS_DONE) << op << " " << std::hex << c.d << " " << c.l << " " << c.r;
  }
}

}  // namespace
}  // namespace tarvik::test
