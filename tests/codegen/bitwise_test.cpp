#include "isa/isa.h"
#include "support/codegen_support.h"

namespace tarvik::test {
namespace {

std::uint32_t apply(char op, std::uint32_t x, std::uint32_t y) {
  switch (op) {
    case '&': return x & y;
    case '|': return x | y;
    default: return x ^ y;
  }
}

constexpr const char* OPS[] = {"&", "|", "^"};

class Bitwise : public CodegenTest {
 protected:
  void SetUp() override {
    CodegenTest::SetUp();
    emit_nop();  // the generated words do not start at word 0
  }

  // The condition of an earlier comparison, which a refusal keeps.
  static void stale_condition() {
    g_true_jumps = JumpList("\x01\x00\x00", 3);
    g_false_jumps = JumpList("\x05\x00\x00", 3);
    g_fall_through_sense = Text(SENSE_FALSE);
  }
};

TEST_F(Bitwise, WorkedSequences) {
  const OperandDescriptor c = constant(0x10F);
  const Listing cases[] = {
      {"three long variables", u32(Z), u32(X), "|", u32(Y),
       [] {
         for (int k = 0; k < 4; ++k) {
           emit_load_a(X + k);
           emit_load_b(Y + k);
           emit_store_or(Z + k);
         }
       },
       60},
      {"int in place with a constant", s16(X), s16(X), "&", c,
       [] {
         emit_load_a(X);
         emit_b_imm(0x0F);
         emit_ram_and();
         emit_load_a(X + 1);
         emit_b_imm(0x01);
         emit_ram_and();
       },
       14},
      {"A ^ 0x80 left in A", REG_A, A_UNSIGNED, "^", immediate(0x80),
       [] {
         emit_b_imm(0x80);
         emit_a_xor();
       },
       2},
      {"complement of an unsigned int", u16(Y), immediate(0), "~", u16(X),
       [] {
         emit_load_a(X);
         emit_store_not_a(Y);
         emit_load_a(X + 1);
         emit_store_not_a(Y + 1);
       },
       20},
  };
  expect_listings(cases);
}

// Two variables at each width, in the five ways D, L and R may share addresses: the in-place
// forms must load the operand at D's address last.
TEST_F(Bitwise, TwoVariablesInEveryArrangement) {
  struct Arrangement {
    const char* name;
    std::int32_t d, l, r;
    int words_per_byte;
  };
  const Arrangement arrangements[] = {
      {"D = L = R", X, X, X, 7}, {"D = L", X, X, Y, 11}, {"D = R", X, Y, X, 11},
      {"L = R", Z, Y, Y, 11},    {"all apart", Z, X, Y, 15},
  };
  for (const int n : {1, 2, 4}) {
    for (const Arrangement& a : arrangements) {
      for (const char* op : OPS) {
        SCOPED_TRACE(testing::Message() << a.name << ", width " << n << ", " << op);
        sim.set_bytes(a.l, 0x96C3A5E1, n);
        sim.set_bytes(a.r, 0x5A3CF00F, n);
        const std::uint32_t expected = apply(*op, sim.read_bytes(a.l, n), sim.read_bytes(a.r, n));
        EXPECT_EQ(result_of(op, variable(n, a.d), variable(n, a.l, true), variable(n, a.r), a.d, n), expected);
        EXPECT_EQ(emitted_count(), a.words_per_byte * n);
      }
    }
  }
}

// Wider operands give only their low bytes; a constant's bytes above D's width are ignored.
TEST_F(Bitwise, OnlyTheLowBytesOfWiderOperandsCount) {
  const OperandDescriptor wide_constant = constant(0x7E5A3CC3);
  struct Case {
    const char* name;
    OperandDescriptor d, l, r;
    int n;
    std::uint32_t r_value;
  };
  const Case cases[] = {
      {"char from two longs", u8(Z), s32(X), u32(Y), 1, 0x5A3CF00F},
      {"char from a long and an int", s8(Z), u32(X), s16(Y), 1, 0xF00F},
      {"int from a long and an int", u16(Z), s32(X), u16(Y), 2, 0xF00F},
      {"int from an int and a long", s16(Z), s16(X), u32(Y), 2, 0x5A3CF00F},
      {"char from a long and a constant", u8(Z), u32(X), wide_constant, 1, 0x7E5A3CC3},
      {"int from a constant and a long, in place", u16(X), wide_constant, u32(X), 2, 0x7E5A3CC3},
  };
  for (const Case& c : cases) {
    for (const char* op : OPS) {
      SCOPED_TRACE(testing::Message() << c.name << ", " << op);
      sim.set_bytes(X, 0x96C3A5E1, 4);
      sim.set_bytes(Y, 0x5A3CF00F, 4);
      const std::int32_t d = c.d & 0xFFFFFF;
      const std::uint32_t expected = apply(*op, 0x96C3A5E1, c.r_value) & width_mask(c.n);
      EXPECT_EQ(result_of(op, c.d, c.l, c.r, d, c.n), expected);
    }
  }
}

// A variable and a constant: every constant byte is loaded, whatever its value, and the
// constant may come first or second with the same words.
TEST_F(Bitwise, VariableAndConstantAtEachWidth) {
  for (const int n : {1, 2, 4}) {
    for (const std::uint32_t value : {0x00000000u, 0x0000FFFFu, 0xFFFFFFFFu, 0x12C3F00Fu}) {
      const OperandDescriptor c = constant(static_cast<std::int32_t>(value));
      for (const bool in_place : {true, false}) {
        const std::int32_t d = in_place ? X : Z;
        for (const char* op : OPS) {
          SCOPED_TRACE(testing::Message() << "width " << n << ", constant " << std::hex << value << ", " << op
                                          << (in_place ? ", in place" : ""));
          sim.set_bytes(X, 0x96C3A5E1, n);
          EXPECT_EQ(result_of(op, variable(n, d), variable(n, X), c, d, n), apply(*op, 0x96C3A5E1, value) & width_mask(n));
          EXPECT_EQ(emitted_count(), (in_place ? 7 : 11) * n);
          const std::string words = emitted();

          ASSERT_EQ(generate(variable(n, d), c, op, variable(n, X)), STATUS_DONE);
          EXPECT_EQ(emitted(), words);
        }
      }
    }
  }
}

// One byte with the value in register A, as an operand or as the result.
TEST_F(Bitwise, ValuesInRegisterA) {
  constexpr std::uint8_t IN_A = 0xC5, AT_X = 0x5A, AT_Y = 0x3C;
  const OperandDescriptor k = constant(0x1F0);
  struct Case {
    const char* name;
    OperandDescriptor d, l, r;
    std::uint8_t l_value, r_value;
    int count;
  };
  const Case cases[] = {
      {"A = x op y", REG_A, u8(X), s8(Y), AT_X, AT_Y, 11},
      {"A = x op x", A_SIGNED, s8(X), u8(X), AT_X, AT_X, 7},
      {"A = A op x", REG_A, A_UNSIGNED, u8(X), IN_A, AT_X, 6},
      {"A = x op A", A_UNSIGNED, u8(X), REG_A, AT_X, IN_A, 6},
      {"A = A op k", REG_A, A_SIGNED, k, IN_A, 0xF0, 2},
      {"A = k op A", REG_A, k, A_UNSIGNED, 0xF0, IN_A, 2},
      {"A = x op k", REG_A, u8(X), k, AT_X, 0xF0, 7},
      {"A = k op x", A_SIGNED, k, s8(X), 0xF0, AT_X, 7},
      {"x = A op x", u8(X), A_UNSIGNED, s8(X), IN_A, AT_X, 6},
      {"y = x op A", s8(Y), u8(X), REG_A, AT_X, IN_A, 10},
      {"x = k op A", u8(X), k, A_SIGNED, 0xF0, IN_A, 6},
  };
  for (const Case& c : cases) {
    for (const char* op : OPS) {
      SCOPED_TRACE(testing::Message() << c.name << ", " << op);
      sim.ram(X) = AT_X;
      sim.ram(Y) = AT_Y;
      sim.a = IN_A;
      ASSERT_EQ(generate(c.d, c.l, op, c.r), STATUS_DONE);
      EXPECT_EQ(emitted_count(), c.count);
      run();
      const bool into_a = get_operand_kind(c.d) >= OPERAND_KIND_A_UNSIGNED;
      const std::uint32_t result = into_a ? sim.a : sim.ram(c.d & 0xFFFFFF);
      EXPECT_EQ(result, apply(*op, c.l_value, c.r_value));
      EXPECT_EQ(sim.stray_writes(into_a ? 0 : c.d & 0xFFFFFF, into_a ? 0 : 1), "");
    }
  }
}

class BitwiseRefusals : public Bitwise {};

TEST_F(BitwiseRefusals, EveryOperatorReportsTheAndText) {
  const OperandDescriptor k = constant(5);
  const Refusal refusals[] = {
      {"two constants", u8(Z), k, immediate(3)},
      {"two constants into A", REG_A, immediate(5), k},
      {"an array", u8(Z), u8(X), operand(OPERAND_KIND_UCHAR_ARRAY, Y)},
      {"an array into A", REG_A, operand(OPERAND_KIND_CHAR_ARRAY, Y), A_UNSIGNED},
      {"a pointer", u16(Z), u16(X), operand(OPERAND_KIND_UINT_PTR, Y)},
      {"a value through a pointer", u8(Z), operand(OPERAND_KIND_UCHAR_VIA_PTR, X), u8(Y)},
      {"an address value", u32(Z), operand(OPERAND_KIND_ADDRESS, X), u32(Y)},
      {"a condition", REG_A, COND, A_UNSIGNED},
      {"the RAM byte", u8(Z), operand(OPERAND_KIND_RAM, 0), u8(Y)},
      {"register B", REG_A, REG_B, u8(Y)},
      {"an ALU pseudo-operand", REG_A, operand(OPERAND_KIND_ADD_A_B, 0), u8(Y)},
      {"two values in A", REG_A, A_UNSIGNED, REG_A},
      {"A with an int into A", REG_A, A_UNSIGNED, u16(Y)},
      {"A with an int into a char", u8(Z), A_SIGNED, s16(Y)},
      {"A with a char into an int", u16(Z), A_UNSIGNED, u16(Y)},
      {"two ints into A", A_UNSIGNED, u16(X), u16(Y)},
      {"an int and a constant into A", REG_A, u16(X), k},
      {"an int from a char and an int", u16(Z), u8(X), u16(Y)},
      {"a long from an int and a long", u32(Z), u32(X), s16(Y)},
      {"an int from a char and a constant", s16(Z), k, s8(X)},
      {"a constant result", k, u8(X), u8(Y)},
      {"an immediate result", immediate(0), u8(X), u8(Y)},
      {"a pointer result", operand(OPERAND_KIND_UCHAR_PTR, Z), u8(X), u8(Y)},
      {"a register B result", REG_B, u8(X), u8(Y)},
  };
  stale_condition();
  for (const char* op : OPS) expect_refusals(refusals, op, STATUS_BINOP_BITWISE_TYPE_ERROR);
}

class Complement : public Bitwise {};

TEST_F(Complement, EachWidthInPlaceOrNot) {
  struct Case {
    const char* name;
    OperandDescriptor d, r;
    int n;
    int count;
  };
  const Case cases[] = {
      {"char", u8(Z), s8(X), 1, 10},
      {"char in place", s8(X), u8(X), 1, 6},
      {"char from a long", u8(Z), u32(X), 1, 10},
      {"int from a long", s16(Z), s32(X), 2, 20},
      {"int in place", u16(X), s16(X), 2, 12},
      {"long", s32(Z), u32(X), 4, 40},
      {"long in place", u32(X), u32(X), 4, 24},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim.set_bytes(X, 0x96C3A5E1, 4);
    EXPECT_EQ(result_of("~", c.d, immediate(7), c.r, c.d & 0xFFFFFF, c.n), ~0x96C3A5E1u & width_mask(c.n));
    EXPECT_EQ(emitted_count(), c.count);
  }
}

TEST_F(Complement, Refusals) {
  const Refusal refusals[] = {
      {"a table constant as the dummy", u8(Z), constant(0), u8(X)},
      {"a variable as the dummy", u8(Z), u8(Y), u8(X)},
      {"a constant operand", u8(Z), immediate(0), immediate(5)},
      {"a table constant operand", u16(Z), immediate(0), constant(5)},
      {"a value in A", u8(Z), immediate(0), A_UNSIGNED},
      {"register A", u8(Z), immediate(0), REG_A},
      {"a result in A", REG_A, immediate(0), u8(X)},
      {"an int from a char", u16(Z), immediate(0), u8(X)},
      {"a long from an int", s32(Z), immediate(0), s16(X)},
      {"an array", u8(Z), immediate(0), operand(OPERAND_KIND_UCHAR_ARRAY, X)},
      {"a pointer", u32(Z), immediate(0), operand(OPERAND_KIND_ULONG_PTR, X)},
      {"a pointer result", operand(OPERAND_KIND_UCHAR_PTR, Z), immediate(0), u8(X)},
  };
  stale_condition();
  expect_refusals(refusals, "~", STATUS_BINOP_COMPLEMENT_TYPE_ERROR);
}

}  // namespace
}  // namespace tarvik::test
