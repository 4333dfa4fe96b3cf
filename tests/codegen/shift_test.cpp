#include <algorithm>

#include "isa/isa.h"
#include "support/codegen_support.h"

namespace tarvik::test {
namespace {

constexpr std::int32_t L = 0x010020, D = 0x010030, R = 0x010040;
constexpr std::int32_t COUNTER = ARITH_SCRATCH_RAM;

// An int copied from L to D, high byte first.
void copy_int_from_l_to_d() {
  emit_load_b(L + 1);
  emit_store_b(D + 1);
  emit_load_b(L);
  emit_store_b(D);
}

// The value after `shifts` one-bit shifts: past the width nothing but 0 or the sign is left.
std::uint32_t shifted(std::uint32_t value, int n, bool is_signed, bool left, int shifts) {
  shifts = std::min(shifts, 8 * n);
  const std::uint64_t v = value & width_mask(n);
  if (left) return static_cast<std::uint32_t>((v << shifts) & width_mask(n));
  if (!is_signed) return static_cast<std::uint32_t>(v >> shifts);
  const bool negative = (v >> (8 * n - 1)) != 0;
  const std::int64_t signed_value = negative ? static_cast<std::int64_t>(v) - (std::int64_t{1} << (8 * n)) : static_cast<std::int64_t>(v);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(signed_value >> shifts) & width_mask(n));
}

class Shift : public CodegenTest {
 protected:
  void SetUp() override {
    CodegenTest::SetUp();
    emit_nop();  // jump targets are not counted from word 0
    emit_nop();
  }
  // A jump target as an offset from the first generated word.
  std::int32_t word(std::int32_t offset) const { return first_word + offset; }

  // The loop of an int at D shifted left by the count in COUNTER, after the copy and the count.
  void int_left_loop() const {
    emit_jump_to(word(55));
    emit_store_sub_a_1(COUNTER);
    emit_load_a(D + 1);
    emit_load_b(D);
    emit_ram_b_shl();
    emit_store_a_shl_bh(D + 1);
    emit_load_a(COUNTER);
    emit_jump_if_carry_sub_a_1(word(34));
  }
};

TEST_F(Shift, WorkedSequences) {
  const Listing cases[] = {
      {"char << count in A", variable(1, D, false), variable(1, L, false), "<<", A_UNSIGNED,
       [&] {
         emit_load_b(L);
         emit_jump_to(word(11));
         emit_a_sub_a_1();
         emit_b_b_shl();
         emit_jump_if_carry_sub_a_1(word(9));
         emit_store_b(D);
       },
       20},
      {"int << char variable", variable(2, D, false), variable(2, L, true), "<<", variable(1, R, false),
       [&] {
         copy_int_from_l_to_d();
         emit_load_a(R);
         emit_store_a(COUNTER);
         int_left_loop();
       },
       64},
      {"signed long >> count in A, in place", variable(4, D, true), variable(4, D, true), ">>", A_SIGNED,
       [&] {
         emit_store_a(COUNTER);
         emit_jump_to(word(44));
         emit_store_sub_a_1(COUNTER);
         emit_load_a(D + 3);
         emit_load_b(D + 2);
         emit_ram_b_shr_al();
         emit_store_a_sar(D + 3);
         emit_a_from_b();
         emit_load_b(D + 1);
         emit_ram_b_shr_al();
         emit_a_from_b();
         emit_load_b(D);
         emit_ram_b_shr_al();
         emit_load_a(COUNTER);
         emit_jump_if_carry_sub_a_1(word(9));
       },
       53},
      {"char << 3", variable(1, D, true), variable(1, L, false), "<<", immediate(3),
       [] {
         emit_load_a(L);
         emit_b_a_shl();
         emit_a_b_shl();
         emit_store_a_shl(D);
       },
       12},
      {"signed int >> 8", variable(2, D, true), variable(2, L, true), ">>", constant(8),
       [&] {
         emit_load_b(L + 1);
         emit_store_b(D);
         emit_a_imm(0);
         emit_jump_if_bh_clear(word(16));
         emit_a_not_a();
         emit_store_a(D + 1);
       },
       21},
      {"signed char >> 3 in place", variable(1, L, true), variable(1, L, true), ">>", constant(3),
       [] {
         emit_load_a(L);
         emit_b_a_sar();
         emit_a_b_sar();
         emit_ram_a_sar();
       },
       8},
      {"char by 0 in place", variable(1, L, false), variable(1, L, false), "<<", immediate(0), [] {}, 0},
  };
  expect_listings(cases);
}

// Which form a constant count selects shows in the word count.
TEST_F(Shift, ConstantCountForms) {
  struct Case {
    const char* op;
    int n;
    bool is_signed;
    std::int32_t c;
    int apart, in_place;
  };
  const Case cases[] = {
      {"<<", 1, false, 0, 10, 0},     {"<<", 1, false, 7, 16, 12},     {"<<", 1, false, 8, 5, 5},
      {">>", 1, false, -1, 5, 5},     {">>", 1, true, 8, 17, 13},      {">>", 1, true, 100, 17, 13},
      {"<<", 2, false, 0, 20, 0},     {"<<", 2, false, 1, 20, 16},     {">>", 2, true, 1, 20, 16},
      {"<<", 2, false, 8, 15, 15},    {">>", 2, false, 8, 15, 15},     {">>", 2, true, 8, 21, 21},
      {">>", 2, false, 7, 22, 18},    {">>", 2, true, 7, 26, 22},      {"<<", 2, false, 7, 59, 39},
      {">>", 2, false, 16, 59, 39},   {"<<", 4, true, 0, 40, 0},       {"<<", 4, false, 1, 42, 30},
      {">>", 4, true, 1, 42, 30},     {"<<", 4, false, 8, 35, 35},     {"<<", 4, false, 16, 30, 30},
      {"<<", 4, false, 24, 25, 25},   {">>", 4, false, 8, 35, 35},     {">>", 4, false, 16, 30, 30},
      {">>", 4, false, 24, 25, 25},   {">>", 4, true, 8, 41, 41},      {">>", 4, true, 16, 36, 36},
      {">>", 4, true, 24, 31, 31},    {">>", 4, true, 7, 93, 53},      {"<<", 4, false, 256, 93, 53},
  };
  for (const Case& c : cases) {
    for (const bool in_place : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.op << " width " << c.n << (c.is_signed ? " signed" : "") << " by " << c.c
                                      << (in_place ? " in place" : ""));
      const std::int32_t d = in_place ? L : D;
      ASSERT_EQ(generate(variable(c.n, d, false), variable(c.n, L, c.is_signed), c.op, constant(c.c)), STATUS_DONE);
      EXPECT_EQ(emitted_count(), in_place ? c.in_place : c.apart);
    }
  }
}

// Every count from 0 to one past the width, and 255, 256, 259 and -1, from every source of a count,
// at every width, signed and unsigned, both ways, into another variable and in place. D is
// unsigned throughout: a right shift follows the kind of L.
TEST_F(Shift, ValuesMatchTheHost) {
  enum class Source { constant, char_variable, int_variable, a_unsigned, a_signed };
  for (const int n : {1, 2, 4}) {
    std::vector<std::int32_t> counts{255, 256, 259, -1};
    for (std::int32_t c = 0; c <= 8 * n + 1; ++c) counts.push_back(c);
    for (const bool is_signed : {false, true}) {
      for (const bool left : {true, false}) {
        for (const std::int32_t count : counts) {
          for (const Source source : {Source::constant, Source::char_variable, Source::int_variable,
                                      Source::a_unsigned, Source::a_signed}) {
            for (const bool in_place : {false, true}) {
              for (const std::uint32_t value : {0xB51E973Cu, 0x4AE168C3u}) {
                SCOPED_TRACE(testing::Message() << (left ? "<<" : ">>") << " width " << n
                                                << (is_signed ? " signed" : "") << " by " << count << " from source "
                                                << static_cast<int>(source) << (in_place ? " in place" : "")
                                                << " value " << std::hex << value);
                g_constant_count = 2;
                sim = Simulator();
                const std::int32_t d = in_place ? L : D;
                sim.set_bytes(L, value, n);
                OperandDescriptor r = 0;
                int shifts = count & 0xFF;
                switch (source) {
                  case Source::constant:
                    r = constant(count);
                    if (n == 1) shifts = count >= 0 && count <= 7 ? count : 8;
                    break;
                  case Source::char_variable:
                    r = variable(1, R, true);
                    sim.ram(R) = static_cast<std::uint8_t>(count);
                    break;
                  case Source::int_variable:  // 0x0103 counts 3
                    r = variable(2, R, false);
                    sim.set_bytes(R, static_cast<std::uint32_t>(count) + 0x100, 2);
                    break;
                  case Source::a_unsigned:
                  case Source::a_signed:
                    r = source == Source::a_signed ? A_SIGNED : A_UNSIGNED;
                    sim.a = static_cast<std::uint8_t>(count);
                    break;
                }
                ASSERT_EQ(generate(variable(n, d, false), variable(n, L, is_signed), left ? "<<" : ">>", r), STATUS_DONE);
                run();
                ASSERT_EQ(sim.read_bytes(d, n), shifted(value, n, is_signed, left, shifts));
                ASSERT_EQ(sim.stray_writes(d, n), "");
              }
            }
          }
        }
      }
    }
  }
}

// x = y << x: the count at D's address is read before y is copied over it.
TEST_F(Shift, CountAtTheDestinationIsReadBeforeTheCopy) {
  for (const int n : {2, 4}) {
    for (const bool left : {true, false}) {
      SCOPED_TRACE(testing::Message() << (left ? "<<" : ">>") << " width " << n);
      const std::uint32_t y = left ? 1 : 0x80000000u >> (32 - 8 * n);
      sim.set_bytes(L, y, n);
      sim.set_bytes(D, 3, n);
      ASSERT_EQ(generate(variable(n, D, false), variable(n, L, false), left ? "<<" : ">>", variable(n, D, false)),
                STATUS_DONE);
      run();
      EXPECT_EQ(sim.read_bytes(D, n), left ? 8u : y >> 3);
    }
  }
}

// The two groups change places and nothing else changes.
TEST_F(Shift, CountAtTheDestinationTakesTheSameWords) {
  ASSERT_EQ(generate(variable(2, D, false), variable(2, L, false), "<<", variable(2, D, true)), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([&] {
              emit_load_a(D);
              emit_store_a(COUNTER);
              copy_int_from_l_to_d();
              int_left_loop();
            }));
}

TEST_F(Shift, Refusals) {
  const OperandDescriptor k = constant(3);
  const Refusal refusals[] = {
      {"a result in A", REG_A, variable(1, L, false), k},
      {"a result in A, as a value", A_UNSIGNED, variable(1, L, false), k},
      {"a char from an int", variable(1, D, false), variable(2, L, false), k},
      {"an int from a char", variable(2, D, true), variable(1, L, true), k},
      {"a long from an int", variable(4, D, false), variable(2, L, false), variable(1, R, false)},
      {"a constant shifted", variable(1, D, false), k, variable(1, R, false)},
      {"the value in A shifted", variable(1, D, false), A_UNSIGNED, k},
      {"register A shifted", variable(1, D, false), REG_A, k},
      {"by register A", variable(1, D, false), variable(1, L, false), REG_A},
      {"by register B", variable(2, D, false), variable(2, L, false), REG_B},
      {"by an array", variable(1, D, false), variable(1, L, false), operand(OPERAND_KIND_UCHAR_ARRAY, R)},
      {"by a pointer", variable(2, D, false), variable(2, L, false), operand(OPERAND_KIND_UCHAR_PTR, R)},
      {"by a value through a pointer", variable(1, D, false), variable(1, L, false),
       operand(OPERAND_KIND_UCHAR_VIA_PTR, R)},
      {"by the RAM byte", variable(4, D, false), variable(4, L, false), operand(OPERAND_KIND_RAM, 0)},
      {"by a condition", variable(1, D, false), variable(1, L, false), COND},
      {"a pointer shifted", operand(OPERAND_KIND_UCHAR_PTR, D), operand(OPERAND_KIND_UCHAR_PTR, L), k},
      {"a constant result", k, variable(1, L, false), k},
  };
  g_true_jumps = JumpList("\x01\x00\x00", 3), g_fall_through_sense = Text(SENSE_TRUE);
  expect_refusals(refusals, "<<", STATUS_BINOP_SHL_TYPE_ERROR);
  expect_refusals(refusals, ">>", STATUS_BINOP_SHR_TYPE_ERROR);
}

}  // namespace
}  // namespace tarvik::test
