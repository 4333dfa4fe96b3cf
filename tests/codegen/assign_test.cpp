#include <algorithm>

#include "isa/isa.h"
#include "support/codegen_support.h"

namespace tarvik::test {
namespace {

constexpr std::int32_t TARGET = 0x010020;
constexpr std::int32_t SOURCE = 0x010030;
constexpr std::int32_t POINTER = 0x010040;
// The byte that A2:A1:A0 addresses when a run starts.
constexpr std::int32_t ADDRESSED = 0x010050;

constexpr OperandDescriptor at_target(int kind) { return operand(kind, TARGET); }
constexpr OperandDescriptor at_source(int kind) { return operand(kind, SOURCE); }
constexpr OperandDescriptor at_pointer(int kind) { return operand(kind, POINTER); }
constexpr OperandDescriptor reg(int kind) { return operand(kind, 0); }

constexpr OperandDescriptor RAM = reg(OPERAND_KIND_RAM);
constexpr OperandDescriptor A2 = reg(OPERAND_KIND_A2);
constexpr OperandDescriptor A1 = reg(OPERAND_KIND_A1);
constexpr OperandDescriptor A0 = reg(OPERAND_KIND_A0);

constexpr bool in_a(int kind) { return kind == OPERAND_KIND_A_UNSIGNED || kind == OPERAND_KIND_A_SIGNED || kind == OPERAND_KIND_A; }

// The value of `width` bytes widened to 32 bits, by its sign or by zeros.
std::uint32_t widened(std::uint32_t value, int width, bool by_sign) {
  const std::uint32_t sign = 1u << (8 * width - 1);
  return by_sign && (value & sign) ? value | ~(sign | (sign - 1)) : value;
}

class AssignTest : public CodegenTest {
 protected:
  StatusText assign(OperandDescriptor l, OperandDescriptor r) { return generate(0, l, "=", r); }

  // A source value in A, in B or at SOURCE, as its kind says.
  void place(int kind, std::uint32_t value, int width) {
    if (in_a(kind)) sim.a = static_cast<std::uint8_t>(value);
    else if (kind == OPERAND_KIND_B) sim.b = static_cast<std::uint8_t>(value);
    else sim.set_bytes(SOURCE, value, width);
  }
};

// The pointer forms spelled out word by word, as the words they are built from are listed.
constexpr std::int32_t COPY_HIGH = 0x010004, COPY_MIDDLE = 0x010005, COPY_LOW = 0x010006;

void address_from(std::int32_t middle, std::int32_t low, std::int32_t high) {
  emit_load_a(middle);
  emit_load_b(low);
  emit_load_a2(high);
  emit_a1_from_a();
  emit_a0_from_b();
  emit_nop();
}
void pointer_load(std::int32_t x) { address_from(x + 1, x, x + 2); }
void copy_load() { address_from(COPY_MIDDLE, COPY_LOW, COPY_HIGH); }
void copy_carry_links() {
  const std::int32_t end = g_rom_word_count + 28;
  for (const std::int32_t byte : {COPY_MIDDLE, COPY_HIGH}) {
    emit_jump_if_carry_add_a_1(g_rom_word_count + 8);
    emit_jump_to(end);
    emit_load_a(byte);
    emit_ram_add_a_1();
  }
}
void pointer_copy(std::int32_t x) {
  emit_load_a(x + 2);
  emit_store_a(COPY_HIGH);
  emit_load_a(x + 1);
  emit_store_a(COPY_MIDDLE);
  emit_load_a(x);
  emit_store_add_a_1(COPY_LOW);
  copy_carry_links();
}
void copy_increment() {
  emit_load_a(COPY_LOW);
  emit_ram_add_a_1();
  copy_carry_links();
}
void staged_store(std::int32_t middle, std::int32_t low, std::int32_t high) {
  emit_load_b(middle);
  emit_load_a0(low);
  emit_a2_imm(0);
  emit_a1_from_b();
  emit_nop();
  emit_ram_from_a();
  emit_load_a(high);
  emit_load_a0(low);
  emit_a2_imm(0);
  emit_a1_from_b();
  emit_nop();
  emit_b_from_ram();
  emit_a2_from_a();
  emit_nop();
  emit_ram_from_b();
}
void staged_store_through_pointer(std::int32_t x) { staged_store(x + 1, x, x + 2); }
void staged_store_through_copy() { staged_store(COPY_MIDDLE, COPY_LOW, COPY_HIGH); }

using AssignPointerForms = AssignTest;

TEST_F(AssignPointerForms, HaveTheListedWordCountsAndWords) {
  const struct {
    OperandDescriptor l, r;
    int words;
    void (*spelled)();  // nullptr: the count is checked alone
  } cases[] = {
      {at_target(OPERAND_KIND_CHAR_VIA_PTR), immediate(0x41), 19,
       [] {
         pointer_load(TARGET);
         emit_ram_imm(0x41);
       }},
      {reg(OPERAND_KIND_A), at_source(OPERAND_KIND_UCHAR_VIA_PTR), 19,
       [] {
         pointer_load(SOURCE);
         emit_a_from_ram();
       }},
      {REG_B, at_source(OPERAND_KIND_CHAR_VIA_PTR), 19, nullptr},
      {at_target(OPERAND_KIND_UCHAR_VIA_PTR), A_SIGNED, 31, [] { staged_store_through_pointer(TARGET); }},
      {at_target(OPERAND_KIND_INT_VIA_PTR), at_source(OPERAND_KIND_UINT), 130,
       [] {
         emit_load_a(SOURCE);
         staged_store_through_pointer(TARGET);
         pointer_copy(TARGET);
         emit_load_a(SOURCE + 1);
         staged_store_through_copy();
       }},
      {at_target(OPERAND_KIND_UINT_VIA_PTR), immediate(0x1234), 96, nullptr},
      {at_target(OPERAND_KIND_LONG_VIA_PTR), at_source(OPERAND_KIND_LONG), 270, nullptr},
      {at_target(OPERAND_KIND_ULONG_VIA_PTR), at_source(OPERAND_KIND_ADDRESS), 253,
       [] {
         emit_load_a(SOURCE);
         staged_store_through_pointer(TARGET);
         pointer_copy(TARGET);
         emit_load_a(SOURCE + 1);
         staged_store_through_copy();
         copy_increment();
         emit_load_a(SOURCE + 2);
         staged_store_through_copy();
         copy_increment();
         copy_load();
         emit_ram_imm(0);
       }},
      {at_target(OPERAND_KIND_LONG_VIA_PTR), immediate(0x123456), 202, nullptr},
      {at_target(OPERAND_KIND_INT), at_source(OPERAND_KIND_INT_VIA_PTR), 106, nullptr},
      {at_target(OPERAND_KIND_ULONG), at_source(OPERAND_KIND_ULONG_VIA_PTR), 222,
       [] {
         pointer_load(SOURCE);
         emit_a_from_ram();
         emit_store_a(TARGET);
         pointer_copy(SOURCE);
         for (int k = 1; k < 4; ++k) {
           if (k > 1) copy_increment();
           copy_load();
           emit_a_from_ram();
           emit_store_a(TARGET + k);
         }
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.l << " = " << c.r);
    ASSERT_EQ(assign(c.l, c.r), STATUS_DONE);
    EXPECT_EQ(emitted_count(), c.words);
    if (c.spelled) {
      EXPECT_EQ(emitted(), words_of(c.spelled));
    }
  }
}

using AssignConstants = AssignTest;

TEST_F(AssignConstants, MinusOneFillsAnInt32TopByteFirst) {
  ASSERT_EQ(assign(at_target(OPERAND_KIND_LONG), constant(-1)), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([] {
              for (int k = 3; k >= 0; --k) emit_store_imm(TARGET + k, 0xFF);
            }));
}

// Constants and array addresses are stored byte by byte; an immediate has 24 bits.
TEST_F(AssignConstants, StoreTheirLowBytes) {
  const struct {
    OperandDescriptor l, r;
    int width;
    std::uint32_t expected;
  } cases[] = {
      {at_target(OPERAND_KIND_CHAR), constant(-2), 1, 0xFE},
      {at_target(OPERAND_KIND_UINT), constant(0x12345678), 2, 0x5678},
      {at_target(OPERAND_KIND_LONG), constant(-1), 4, 0xFFFFFFFF},
      {at_target(OPERAND_KIND_LONG), immediate(0xABCDEF), 4, 0x00ABCDEF},
      {at_target(OPERAND_KIND_ULONG), operand(OPERAND_KIND_CHAR_ARRAY, 0x123456), 4, 0x00123456},
      {at_target(OPERAND_KIND_ADDRESS), operand(OPERAND_KIND_LONG_ARRAY, 0x01FFF0), 3, 0x01FFF0},
      {at_target(OPERAND_KIND_ADDRESS), constant(0x7F000102), 3, 0x000102},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.l << " = " << c.r);
    EXPECT_EQ(result_of("=", 0, c.l, c.r, TARGET, c.width), c.expected);
  }
}

using AssignWidening = AssignTest;

// Unsigned sources and `_A`, `_B` get zeros above them, signed sources their sign.
TEST_F(AssignWidening, FillsWithZerosOrTheSign) {
  constexpr bool ZEROS = false, SIGN = true;
  const struct {
    int target_kind, target_width, source_kind, source_width;
    bool fill;
  } cases[] = {
      {OPERAND_KIND_INT, 2, OPERAND_KIND_UCHAR, 1, ZEROS},        {OPERAND_KIND_UINT, 2, OPERAND_KIND_CHAR, 1, SIGN},
      {OPERAND_KIND_INT, 2, OPERAND_KIND_A_UNSIGNED, 1, ZEROS},   {OPERAND_KIND_UINT, 2, OPERAND_KIND_A_SIGNED, 1, SIGN},
      {OPERAND_KIND_INT, 2, OPERAND_KIND_A, 1, ZEROS},            {OPERAND_KIND_INT, 2, OPERAND_KIND_B, 1, ZEROS},
      {OPERAND_KIND_LONG, 4, OPERAND_KIND_UCHAR, 1, ZEROS},       {OPERAND_KIND_ULONG, 4, OPERAND_KIND_CHAR, 1, SIGN},
      {OPERAND_KIND_LONG, 4, OPERAND_KIND_A_UNSIGNED, 1, ZEROS},  {OPERAND_KIND_ULONG, 4, OPERAND_KIND_A_SIGNED, 1, SIGN},
      {OPERAND_KIND_LONG, 4, OPERAND_KIND_A, 1, ZEROS},           {OPERAND_KIND_LONG, 4, OPERAND_KIND_B, 1, ZEROS},
      {OPERAND_KIND_LONG, 4, OPERAND_KIND_UINT, 2, ZEROS},        {OPERAND_KIND_ULONG, 4, OPERAND_KIND_INT, 2, SIGN},
      {OPERAND_KIND_ADDRESS, 3, OPERAND_KIND_A_UNSIGNED, 1, ZEROS}, {OPERAND_KIND_ADDRESS, 3, OPERAND_KIND_A_SIGNED, 1, SIGN},
      {OPERAND_KIND_ADDRESS, 3, OPERAND_KIND_A, 1, ZEROS},        {OPERAND_KIND_ADDRESS, 3, OPERAND_KIND_B, 1, ZEROS},
      {OPERAND_KIND_ADDRESS, 3, OPERAND_KIND_UINT, 2, ZEROS},     {OPERAND_KIND_ADDRESS, 3, OPERAND_KIND_INT, 2, SIGN},
      {OPERAND_KIND_CHAR, 1, OPERAND_KIND_A_SIGNED, 1, SIGN},     {OPERAND_KIND_UCHAR, 1, OPERAND_KIND_B, 1, ZEROS},
  };
  const std::uint32_t one_byte[] = {0x7F, 0x80, 0xFF}, two_bytes[] = {0x7FFF, 0x8000, 0xFF80};
  for (const auto& c : cases) {
    for (const std::uint32_t value : c.source_width == 1 ? one_byte : two_bytes) {
      SCOPED_TRACE(testing::Message() << std::hex << c.target_kind << " = " << c.source_kind << " holding " << value);
      place(c.source_kind, value, c.source_width);
      EXPECT_EQ(result_of("=", 0, at_target(c.target_kind), at_source(c.source_kind), TARGET, c.target_width),
                widened(value, c.source_width, c.fill) & width_mask(c.target_width));
    }
  }
}

// Wider sources give their low bytes; L = R at one address is copied all the same.
TEST_F(AssignWidening, NarrowsAndCopies) {
  const struct {
    int target_kind, target_width, source_kind;
    std::uint32_t expected;
  } cases[] = {
      {OPERAND_KIND_INT, 2, OPERAND_KIND_LONG, 0xCDEF},        {OPERAND_KIND_UINT, 2, OPERAND_KIND_ADDRESS, 0xCDEF},
      {OPERAND_KIND_UINT, 2, OPERAND_KIND_INT, 0xCDEF},        {OPERAND_KIND_LONG, 4, OPERAND_KIND_ULONG, 0x89ABCDEF},
      {OPERAND_KIND_LONG, 4, OPERAND_KIND_ADDRESS, 0x00ABCDEF}, {OPERAND_KIND_ADDRESS, 3, OPERAND_KIND_LONG, 0xABCDEF},
      {OPERAND_KIND_ADDRESS, 3, OPERAND_KIND_ADDRESS, 0xABCDEF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.target_kind << " = " << c.source_kind);
    sim.set_bytes(SOURCE, 0x89ABCDEF, 4);
    EXPECT_EQ(result_of("=", 0, at_target(c.target_kind), at_source(c.source_kind), TARGET, c.target_width), c.expected);
  }

  sim.set_bytes(TARGET, 0xBEEF, 2);
  ASSERT_EQ(assign(at_target(OPERAND_KIND_INT), at_target(OPERAND_KIND_INT)), STATUS_DONE);
  EXPECT_EQ(emitted_count(), 20);
  run();
  EXPECT_EQ(sim.read_bytes(TARGET, 2), 0xBEEFu);
}

using AssignRegisters = AssignTest;

TEST_F(AssignRegisters, MoveTheLowByteOfTheirSource) {
  enum Where { IN_A, IN_B, IN_ADDRESS, AT_ADDRESS };
  const struct {
    OperandDescriptor l, r;
    int words;
    Where where;
    std::uint32_t expected;
  } cases[] = {
      {REG_A, immediate(0x1234), 1, IN_A, 0x34},
      {REG_A, at_source(OPERAND_KIND_INT), 5, IN_A, 0x44},
      {A_SIGNED, at_source(OPERAND_KIND_ADDRESS), 5, IN_A, 0x44},
      {REG_A, RAM, 1, IN_A, 0x77},
      {REG_A, REG_B, 1, IN_A, 0x3B},
      {A_UNSIGNED, at_pointer(OPERAND_KIND_UCHAR_VIA_PTR), 19, IN_A, 0x5E},
      {A_SIGNED, REG_A, 0, IN_A, 0x9C},
      {REG_B, A_UNSIGNED, 1, IN_B, 0x9C},
      {REG_B, at_source(OPERAND_KIND_CHAR), 5, IN_B, 0x44},
      {REG_B, at_pointer(OPERAND_KIND_CHAR_VIA_PTR), 19, IN_B, 0x5E},
      {REG_B, REG_B, 0, IN_B, 0x3B},
      // A load sets all of A2:A1:A0 to the source's address before the byte lands.
      {A2, at_source(OPERAND_KIND_LONG), 5, IN_ADDRESS, 0x440030},
      {A1, immediate(0xAB), 1, IN_ADDRESS, 0x01AB50},
      {A0, REG_A, 1, IN_ADDRESS, 0x01009C},
      {A0, RAM, 1, IN_ADDRESS, 0x010077},
      {A2, REG_B, 1, IN_ADDRESS, 0x3B0050},
      {RAM, immediate(0x66), 1, AT_ADDRESS, 0x66},
      {RAM, A_SIGNED, 1, AT_ADDRESS, 0x9C},
      {RAM, REG_B, 1, AT_ADDRESS, 0x3B},
      {RAM, RAM, 0, AT_ADDRESS, 0x77},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.l << " = " << c.r);
    sim = Simulator();
    sim.a = 0x9C, sim.b = 0x3B;
    sim.a2 = 0x01, sim.a1 = 0x00, sim.a0 = 0x50;
    sim.ram(ADDRESSED) = 0x77;
    sim.set_bytes(SOURCE, 0x11223344, 4);
    sim.set_bytes(POINTER, 0x01FFFF, 3);
    sim.ram(0x01FFFF) = 0x5E;
    ASSERT_EQ(assign(c.l, c.r), STATUS_DONE);
    EXPECT_EQ(emitted_count(), c.words);
    run();
    const std::uint32_t address = static_cast<std::uint32_t>(sim.a2) << 16 | sim.a1 << 8 | sim.a0;
    const std::uint32_t found[] = {sim.a, sim.b, address, sim.ram(ADDRESSED)};
    EXPECT_EQ(found[c.where], c.expected);
  }
}

using AssignThroughPointers = AssignTest;

// Stores and loads of 1, 2 and 4 bytes through pointers whose copy carries into the middle
// and high bytes, on the copy and on its increments.
TEST_F(AssignThroughPointers, ReachEveryByteOfTheObject) {
  const struct {
    OperandDescriptor l, r;
    int width;
    std::uint32_t source, expected;
  } stores[] = {
      {at_pointer(OPERAND_KIND_UCHAR_VIA_PTR), A_UNSIGNED, 1, 0xC3, 0xC3},
      {at_pointer(OPERAND_KIND_CHAR_VIA_PTR), immediate(0x41), 1, 0, 0x41},
      {at_pointer(OPERAND_KIND_UINT_VIA_PTR), at_source(OPERAND_KIND_INT), 2, 0xBEEF, 0xBEEF},
      {at_pointer(OPERAND_KIND_INT_VIA_PTR), at_source(OPERAND_KIND_ULONG), 2, 0x89ABCDEF, 0xCDEF},
      {at_pointer(OPERAND_KIND_INT_VIA_PTR), at_source(OPERAND_KIND_ADDRESS), 2, 0x89ABCDEF, 0xCDEF},
      {at_pointer(OPERAND_KIND_UINT_VIA_PTR), constant(0x1234), 2, 0, 0x1234},
      {at_pointer(OPERAND_KIND_LONG_VIA_PTR), at_source(OPERAND_KIND_LONG), 4, 0x89ABCDEF, 0x89ABCDEF},
      {at_pointer(OPERAND_KIND_ULONG_VIA_PTR), at_source(OPERAND_KIND_ADDRESS), 4, 0x89ABCDEF, 0x00ABCDEF},
      {at_pointer(OPERAND_KIND_LONG_VIA_PTR), constant(-2), 4, 0, 0xFFFFFFFE},
  };
  for (const std::uint32_t pointer : {0x01FFFFu, 0x00FFFFu, 0x01FFFDu}) {
    for (const auto& c : stores) {
      SCOPED_TRACE(testing::Message() << std::hex << "through " << pointer << ": " << c.l << " = " << c.r);
      sim = Simulator();
      sim.set_bytes(POINTER, pointer, 3);
      place(get_operand_kind(c.r), c.source, 4);
      EXPECT_EQ(result_of("=", 0, c.l, c.r, static_cast<std::int32_t>(pointer), c.width), c.expected);
      // A register byte passes through 0x00:middle:low of its own address.
      const bool staged = get_operand_kind(c.r) != OPERAND_KIND_CONSTANT && get_operand_kind(c.r) != OPERAND_KIND_IMMEDIATE;
      const int staged_bytes = get_operand_kind(c.r) == OPERAND_KIND_ADDRESS ? std::min(c.width, 3) : c.width;
      for (int k = 0; staged && k < staged_bytes; ++k) {
        EXPECT_EQ(sim.ram((pointer + k) & 0xFFFF), static_cast<std::uint8_t>(c.expected >> (8 * k))) << "staging byte " << k;
      }
    }
  }

  const struct {
    OperandDescriptor l, r;
    int width;
  } loads[] = {
      {REG_A, at_pointer(OPERAND_KIND_CHAR_VIA_PTR), 1},
      {REG_B, at_pointer(OPERAND_KIND_UCHAR_VIA_PTR), 1},
      {at_target(OPERAND_KIND_UINT), at_pointer(OPERAND_KIND_INT_VIA_PTR), 2},
      {at_target(OPERAND_KIND_LONG), at_pointer(OPERAND_KIND_ULONG_VIA_PTR), 4},
  };
  for (const std::uint32_t pointer : {0x01FFFFu, 0x00FFFFu, 0x01FFFDu}) {
    for (const auto& c : loads) {
      SCOPED_TRACE(testing::Message() << std::hex << "through " << pointer << ": " << c.l << " = " << c.r);
      sim = Simulator();
      sim.set_bytes(POINTER, pointer, 3);
      sim.set_bytes(pointer, 0x89ABCDEF, 4);
      ASSERT_EQ(assign(c.l, c.r), STATUS_DONE);
      run();
      const std::uint32_t expected = 0x89ABCDEF & width_mask(c.width);
      const std::uint32_t found = c.l == REG_A ? sim.a : c.l == REG_B ? sim.b : sim.read_bytes(TARGET, c.width);
      EXPECT_EQ(found, expected);
      EXPECT_EQ(sim.stray_writes(TARGET, c.width), "");
    }
  }
}

class AssignCondition : public AssignTest {
 protected:
  // A condition on the sign bits: A's clear jumps false, then B's clear jumps true, and with
  // both set it falls through. Returns its first word.
  std::int32_t emit_condition(std::string_view sense) {
    const std::int32_t start = g_rom_word_count;
    g_false_jumps.clear();
    g_true_jumps.clear();
    append_jump_entry(g_false_jumps, g_rom_word_count);
    emit_jump_if_ah_clear(0);
    append_jump_entry(g_true_jumps, g_rom_word_count);
    emit_jump_if_bh_clear(0);
    g_fall_through_sense = Text(sense);
    return start;
  }
};

TEST_F(AssignCondition, GivesOneWhenItHoldsAndZeroWhenNot) {
  for (const std::string_view sense : {SENSE_TRUE, SENSE_FALSE}) {
    const bool falls_true = sense == SENSE_TRUE;
    const std::int32_t start = emit_condition(sense);
    ASSERT_EQ(assign(REG_A, COND), STATUS_DONE);
    EXPECT_EQ(emitted(), words_of([&] {
                emit_a_imm(falls_true ? 1 : 0);
                emit_jump_to(first_word + 6);
                emit_a_imm(falls_true ? 0 : 1);
              }));
    EXPECT_EQ(g_true_jumps, "");
    EXPECT_EQ(g_false_jumps, "");

    const struct {
      std::uint8_t a, b, expected;
    } runs[] = {{0x00, 0x80, 0}, {0x80, 0x00, 1}, {0x80, 0x80, static_cast<std::uint8_t>(falls_true)}};
    for (const auto& r : runs) {
      sim.a = r.a, sim.b = r.b;
      EXPECT_TRUE(sim.run(start));
      EXPECT_EQ(sim.problems(), "");
      EXPECT_EQ(sim.a, r.expected) << "A " << int{r.a} << ", B " << int{r.b};
    }
  }
}

// Before the first condition there is no sense: a condition cannot become a value then.
TEST_F(AssignCondition, WithoutASenseIsRefused) {
  for (const Text& sense : {Text(), Text(SENSE_TRUE) + " "}) {
    emit_condition(sense);
    expect_refused(0, REG_A, "=", COND, STATUS_BINOP_ASSIGN_A_TYPE_ERROR);
  }
}

using AssignRefusals = AssignTest;

TEST_F(AssignRefusals, LeaveEverythingAsItWas) {
  const struct {
    OperandDescriptor l, r;
    std::string_view status;
  } cases[] = {
      {at_target(OPERAND_KIND_UCHAR), at_source(OPERAND_KIND_CHAR), STATUS_BINOP_ASSIGN_CHAR_TYPE_ERROR},
      {at_target(OPERAND_KIND_CHAR), at_source(OPERAND_KIND_INT), STATUS_BINOP_ASSIGN_CHAR_TYPE_ERROR},
      {at_target(OPERAND_KIND_CHAR), RAM, STATUS_BINOP_ASSIGN_CHAR_TYPE_ERROR},
      {at_target(OPERAND_KIND_INT), at_source(OPERAND_KIND_LONG_VIA_PTR), STATUS_BINOP_ASSIGN_INT16_TYPE_ERROR},
      {at_target(OPERAND_KIND_INT), A0, STATUS_BINOP_ASSIGN_INT16_TYPE_ERROR},
      {at_target(OPERAND_KIND_UINT), at_source(OPERAND_KIND_INT_PTR), STATUS_BINOP_ASSIGN_INT16_TYPE_ERROR},
      {at_target(OPERAND_KIND_LONG), at_source(OPERAND_KIND_INT_VIA_PTR), STATUS_BINOP_ASSIGN_INT32_TYPE_ERROR},
      {at_target(OPERAND_KIND_ULONG), COND, STATUS_BINOP_ASSIGN_INT32_TYPE_ERROR},
      {at_target(OPERAND_KIND_ULONG), reg(OPERAND_KIND_B_AL), STATUS_BINOP_ASSIGN_INT32_TYPE_ERROR},
      {at_pointer(OPERAND_KIND_UCHAR_VIA_PTR), REG_B, STATUS_BINOP_ASSIGN_CHAR_VIA_PTR_TYPE_ERROR},
      {at_pointer(OPERAND_KIND_CHAR_VIA_PTR), at_source(OPERAND_KIND_CHAR), STATUS_BINOP_ASSIGN_CHAR_VIA_PTR_TYPE_ERROR},
      {at_pointer(OPERAND_KIND_INT_VIA_PTR), A_UNSIGNED, STATUS_BINOP_ASSIGN_INT_VIA_PTR_TYPE_ERROR},
      {at_pointer(OPERAND_KIND_UINT_VIA_PTR), at_source(OPERAND_KIND_UCHAR), STATUS_BINOP_ASSIGN_INT_VIA_PTR_TYPE_ERROR},
      {at_pointer(OPERAND_KIND_LONG_VIA_PTR), at_source(OPERAND_KIND_INT), STATUS_BINOP_ASSIGN_INT_VIA_PTR_TYPE_ERROR},
      {at_pointer(OPERAND_KIND_ULONG_VIA_PTR), at_source(OPERAND_KIND_ULONG_VIA_PTR), STATUS_BINOP_ASSIGN_INT_VIA_PTR_TYPE_ERROR},
      {REG_A, A2, STATUS_BINOP_ASSIGN_A_TYPE_ERROR},
      {REG_A, at_source(OPERAND_KIND_INT_VIA_PTR), STATUS_BINOP_ASSIGN_A_TYPE_ERROR},
      {A_SIGNED, at_source(OPERAND_KIND_CHAR_PTR), STATUS_BINOP_ASSIGN_A_TYPE_ERROR},
      {REG_A, reg(OPERAND_KIND_ADD_A_B), STATUS_BINOP_ASSIGN_A_TYPE_ERROR},
      {REG_B, COND, STATUS_BINOP_ASSIGN_B_TYPE_ERROR},
      {REG_B, A1, STATUS_BINOP_ASSIGN_B_TYPE_ERROR},
      {A2, at_source(OPERAND_KIND_CHAR_VIA_PTR), STATUS_BINOP_ASSIGN_A2_TYPE_ERROR},
      {A1, A1, STATUS_BINOP_ASSIGN_A1_TYPE_ERROR},
      {A0, reg(OPERAND_KIND_NOP), STATUS_BINOP_ASSIGN_A0_TYPE_ERROR},
      {RAM, at_source(OPERAND_KIND_UCHAR), STATUS_BINOP_ASSIGN_RAM_TYPE_ERROR},
      {RAM, A2, STATUS_BINOP_ASSIGN_RAM_TYPE_ERROR},
      {at_target(OPERAND_KIND_ADDRESS), at_source(OPERAND_KIND_CHAR), STATUS_BINOP_ASSIGN_ADDRESS_TYPE_ERROR},
      {at_target(OPERAND_KIND_ADDRESS), RAM, STATUS_BINOP_ASSIGN_ADDRESS_TYPE_ERROR},
      {at_target(OPERAND_KIND_ADDRESS), at_source(OPERAND_KIND_UCHAR_VIA_PTR), STATUS_BINOP_ASSIGN_ADDRESS_TYPE_ERROR},
      {at_target(OPERAND_KIND_UCHAR_PTR), immediate(1), STATUS_BINOP_ASSIGN_OTHER_TYPE_ERROR},
      {at_target(OPERAND_KIND_LONG_PTR), at_source(OPERAND_KIND_ADDRESS), STATUS_BINOP_ASSIGN_OTHER_TYPE_ERROR},
      {at_target(OPERAND_KIND_CHAR_ARRAY), REG_A, STATUS_BINOP_ASSIGN_OTHER_TYPE_ERROR},
      {immediate(TARGET), REG_A, STATUS_BINOP_ASSIGN_OTHER_TYPE_ERROR},
      {operand(OPERAND_KIND_CONSTANT, 1), REG_A, STATUS_BINOP_ASSIGN_OTHER_TYPE_ERROR},
      {COND, REG_A, STATUS_BINOP_ASSIGN_OTHER_TYPE_ERROR},
      {reg(OPERAND_KIND_A_0), REG_A, STATUS_BINOP_ASSIGN_OTHER_TYPE_ERROR},
  };
  emit_nop();
  g_true_jumps = "abc";
  g_false_jumps = "def";
  g_fall_through_sense = Text(SENSE_TRUE);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.l << " = " << c.r);
    expect_refused(0, c.l, "=", c.r, c.status);
  }
}

}  // namespace
}  // namespace tarvik::test
