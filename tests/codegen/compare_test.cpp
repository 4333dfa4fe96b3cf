#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "isa/isa.h"
#include "support/codegen_support.h"

namespace tarvik::test {
namespace {

constexpr std::int32_t L_AT = 0x010020;
constexpr std::int32_t R_AT = 0x010030;

// A test operand: a constant by its value, an array or immediate by its value, anything
// else of its kind at the address in `value`.
struct Arg {
  int kind;
  std::int32_t value = 0;
};
constexpr Arg var(int kind, std::int32_t address) { return {kind, address}; }
constexpr Arg k(std::int32_t value) { return {OPERAND_KIND_CONSTANT, value}; }
constexpr Arg reg(int kind) { return {kind, 0}; }

// Two operands as text for a trace.
std::string pair_text(Arg l, Arg r) {
  char text[64];
  std::snprintf(text, sizeof text, "%02X:%X with %02X:%X", l.kind, static_cast<unsigned>(l.value), r.kind,
                static_cast<unsigned>(r.value));
  return text;
}

// Operands that an operator refuses, with D (COND for a comparison).
struct RefusedPair {
  Arg l, r;
  OperandDescriptor d = COND;
};

// The lists of an earlier condition, which a comparison must drop.
const JumpList STALE_TRUE("\x01\x00\x00", 3);
const JumpList STALE_FALSE("\x02\x00\x00\x03\x00\x00", 6);

std::int32_t pc() { return g_rom_word_count; }

class Comparison : public CodegenTest {
 protected:
  OperandDescriptor make(Arg arg) {
    return arg.kind == OPERAND_KIND_CONSTANT ? constant(arg.value) : operand(arg.kind, arg.value);
  }

  StatusText compare(Arg l, std::string_view op, Arg r) { return generate(COND, make(l), op, make(r)); }

  // The list's jumps as word offsets from the first emitted word.
  std::vector<int> offsets(const JumpList& list) const {
    std::vector<int> out;
    for (std::size_t i = 0; i + 2 < list.size(); i += 3) {
      const auto byte = [&](std::size_t j) { return static_cast<int>(static_cast<std::uint8_t>(list[j])); };
      out.push_back(byte(i) + 256 * byte(i + 1) + 65536 * byte(i + 2) - first_word);
    }
    return out;
  }

  // The words of one comparison compiled at word 0.
  std::string words_at_start(Arg l, std::string_view op, Arg r) {
    g_rom_high_bytes.clear(), g_rom_low_bytes.clear(), g_rom_word_count = 0;
    EXPECT_EQ(compare(l, op, r), STATUS_DONE);
    return emitted();
  }

  // Every pair refused with `error` under each operator, the stale lists and sense kept.
  void expect_pairs_refused(std::span<const RefusedPair> pairs, std::initializer_list<const char*> ops, std::string_view error) {
    emit_nop();
    g_true_jumps = STALE_TRUE, g_false_jumps = STALE_FALSE, g_fall_through_sense = Text(SENSE_FALSE);
    for (const RefusedPair& t : pairs) {
      SCOPED_TRACE(pair_text(t.l, t.r));
      for (const char* op : ops) expect_refused(t.d, make(t.l), op, make(t.r), error);
    }
  }
};

struct Listed {
  const char* what;
  Arg l;
  const char* op;
  Arg r;
  void (*words)();
  int count;
  std::vector<int> on_true, on_false;
  std::string_view sense;
  const char* op_after;
};

const Listed LISTED[] = {
    {"two longs", var(OPERAND_KIND_LONG, L_AT), "==", var(OPERAND_KIND_LONG, R_AT),
     [] {
       emit_load_a(L_AT + 3), emit_load_b(R_AT + 3), emit_jump_if_a_ne_b(0);
       emit_load_a(L_AT + 2), emit_load_b(R_AT + 2), emit_jump_if_a_ne_b(0);
       emit_load_a(L_AT + 1), emit_load_b(R_AT + 1), emit_jump_if_a_ne_b(0);
       emit_load_a(L_AT), emit_load_b(R_AT), emit_jump_if_a_ne_b(0);
     },
     56, {}, {10, 24, 38, 52}, SENSE_TRUE, "=="},
    {"an int != 0", var(OPERAND_KIND_INT, L_AT), "!=", k(0),
     [] {
       emit_load_a(L_AT + 1), emit_jump_if_carry_sub_a_1(0);
       emit_load_a(L_AT), emit_jump_if_carry_sub_a_1(0);
     },
     18, {5, 14}, {}, SENSE_FALSE, "!="},
    {"0x1234 == an int", k(0x1234), "==", var(OPERAND_KIND_INT, R_AT),
     [] {
       emit_load_a(R_AT + 1), emit_b_imm(0x12), emit_jump_if_a_ne_b(0);
       emit_load_a(R_AT), emit_b_imm(0x34), emit_jump_if_a_ne_b(0);
     },
     20, {}, {6, 16}, SENSE_TRUE, "=="},
    {"a char == 256 compares with 0 through B", var(OPERAND_KIND_CHAR, L_AT), "==", k(256),
     [] { emit_load_a(L_AT), emit_b_imm(0), emit_jump_if_a_ne_b(0); }, 10, {}, {6}, SENSE_TRUE, "=="},
    {"the value in A == 0x61", reg(OPERAND_KIND_A_UNSIGNED), "==", k(0x61),
     [] { emit_b_imm(0x61), emit_jump_if_a_ne_b(0); }, 5, {}, {1}, SENSE_TRUE, "=="},
    {"_AH == 0", reg(OPERAND_KIND_AH), "==", k(0), [] { emit_jump_if_ah_clear(0); }, 4, {0}, {}, SENSE_FALSE, "=="},
    {"_AH != 0", reg(OPERAND_KIND_AH), "!=", k(0), [] { emit_jump_if_ah_clear(0); }, 4, {}, {0}, SENSE_TRUE, "!="},
    {"signed ints <", var(OPERAND_KIND_INT, L_AT), "<", var(OPERAND_KIND_INT, R_AT),
     [] {
       emit_load_a(L_AT + 1), emit_load_b(R_AT + 1);
       emit_jump_if_ah_clear(pc() + 12), emit_jump_if_bh_clear(0), emit_jump_to(pc() + 12);
       emit_jump_if_bh_clear(pc() + 8), emit_jump_to(0);
       emit_jump_if_carry_sub_a_b(pc() + 8), emit_jump_to(0), emit_jump_if_a_ne_b(0);
       emit_load_a(L_AT), emit_load_b(R_AT), emit_jump_if_carry_sub_a_b(0);
     },
     56, {14, 34}, {26, 38, 52}, SENSE_TRUE, "<"},
    {"unsigned ints <", var(OPERAND_KIND_UINT, L_AT), "<", var(OPERAND_KIND_UINT, R_AT),
     [] {
       emit_load_a(L_AT + 1), emit_load_b(R_AT + 1);
       emit_jump_if_carry_sub_a_b(pc() + 8), emit_jump_to(0), emit_jump_if_a_ne_b(0);
       emit_load_a(L_AT), emit_load_b(R_AT), emit_jump_if_carry_sub_a_b(0);
     },
     36, {14}, {18, 32}, SENSE_TRUE, "<"},
    {"an int < a negative constant", var(OPERAND_KIND_INT, L_AT), "<", k(-300),
     [] {
       emit_load_a(L_AT + 1), emit_jump_if_ah_clear(0), emit_b_imm(0xFE);
       emit_jump_if_carry_sub_a_b(pc() + 8), emit_jump_to(0), emit_jump_if_a_ne_b(0);
       emit_load_a(L_AT), emit_b_imm(0xD4), emit_jump_if_carry_sub_a_b(0);
     },
     32, {14}, {5, 18, 28}, SENSE_TRUE, "<"},
    {"an unsigned char > a constant", var(OPERAND_KIND_UCHAR, L_AT), ">", k(0x41),
     [] { emit_load_b(L_AT), emit_a_imm(0x41), emit_jump_if_carry_sub_a_b(0); }, 10, {}, {6}, SENSE_TRUE, ">"},
    {"a char < the signed value in A", var(OPERAND_KIND_CHAR, L_AT), "<", reg(OPERAND_KIND_A_SIGNED),
     [] {
       emit_load_b(L_AT);
       emit_jump_if_bh_clear(pc() + 12), emit_jump_if_ah_clear(0), emit_jump_to(pc() + 12);
       emit_jump_if_ah_clear(pc() + 8), emit_jump_to(0);
       emit_b_from_a(), emit_load_a(L_AT), emit_jump_if_carry_sub_a_b(0);
     },
     35, {9}, {21, 31}, SENSE_TRUE, ">"},
    {"the signed value in A < a constant", reg(OPERAND_KIND_A_SIGNED), "<", k(0x41),
     [] { emit_jump_if_ah_clear(pc() + 8), emit_jump_to(0), emit_b_imm(0x41), emit_jump_if_carry_sub_a_b(0); }, 13, {4},
     {9}, SENSE_TRUE, "<"},
    {"_A > _B", reg(OPERAND_KIND_A), ">", reg(OPERAND_KIND_B),
     [] { emit_jump_if_carry_sub_a_b(pc() + 8), emit_jump_to(0), emit_jump_if_a_ne_b(0); }, 12, {8}, {4}, SENSE_FALSE,
     ">"},
    {"signed ints <=", var(OPERAND_KIND_INT, L_AT), "<=", var(OPERAND_KIND_INT, R_AT),
     [] {
       emit_load_a(L_AT + 1), emit_load_b(R_AT + 1);
       emit_jump_if_ah_clear(pc() + 12), emit_jump_if_bh_clear(0), emit_jump_to(pc() + 12);
       emit_jump_if_bh_clear(pc() + 8), emit_jump_to(0);
       emit_jump_if_carry_sub_a_b(pc() + 8), emit_jump_to(0), emit_jump_if_a_ne_b(0);
       emit_load_a(L_AT), emit_load_b(R_AT);
       emit_jump_if_carry_sub_a_b(pc() + 8), emit_jump_to(0), emit_jump_if_a_ne_b(0);
     },
     64, {14, 34, 56}, {26, 38, 60}, SENSE_TRUE, "<="},
    {"an unsigned char >= a constant", var(OPERAND_KIND_UCHAR, L_AT), ">=", k(0x41),
     [] {
       emit_load_b(L_AT), emit_a_imm(0x41);
       emit_jump_if_carry_sub_a_b(pc() + 8), emit_jump_to(0), emit_jump_if_a_ne_b(0);
     },
     18, {10}, {14}, SENSE_TRUE, ">="},
    {"a constant >= an int", k(0x1234), ">=", var(OPERAND_KIND_INT, R_AT),
     [] {
       emit_load_a(R_AT + 1), emit_jump_if_ah_clear(pc() + 8), emit_jump_to(0), emit_b_imm(0x12);
       emit_jump_if_carry_sub_a_b(pc() + 8), emit_jump_to(0), emit_jump_if_a_ne_b(0);
       emit_load_a(R_AT), emit_b_imm(0x34);
       emit_jump_if_carry_sub_a_b(pc() + 8), emit_jump_to(0), emit_jump_if_a_ne_b(0);
     },
     44, {9, 18, 36}, {22, 40}, SENSE_TRUE, "<="},
    {"_A >= _B", reg(OPERAND_KIND_A), ">=", reg(OPERAND_KIND_B), [] { emit_jump_if_carry_sub_a_b(0); }, 4, {0}, {},
     SENSE_FALSE, ">="},
};

TEST_F(Comparison, EmitsTheListedWordsAndReplacesTheLists) {
  for (const Listed& c : LISTED) {
    SCOPED_TRACE(c.what);
    g_true_jumps = STALE_TRUE, g_false_jumps = STALE_FALSE;
    ASSERT_EQ(compare(c.l, c.op, c.r), STATUS_DONE);
    EXPECT_EQ(emitted(), words_of(c.words));
    EXPECT_EQ(emitted_count(), c.count);
    EXPECT_EQ(offsets(g_true_jumps), c.on_true);
    EXPECT_EQ(offsets(g_false_jumps), c.on_false);
    EXPECT_EQ(g_fall_through_sense, c.sense);
    EXPECT_EQ(op_after, c.op_after);
  }
}

// Operand order only picks the words' roles: these pairs emit the same words, and the
// operator text is mirrored only in its own rows.
TEST_F(Comparison, MirroredFormsEmitTheSameWords) {
  const Arg x = var(OPERAND_KIND_INT, L_AT), c = var(OPERAND_KIND_CHAR, L_AT);
  const Arg a_signed = reg(OPERAND_KIND_A_SIGNED), a_unsigned = reg(OPERAND_KIND_A_UNSIGNED);
  const Arg a = reg(OPERAND_KIND_A), b = reg(OPERAND_KIND_B);
  const struct {
    Arg l1;
    const char* op1;
    Arg r1;
    const char* after1;
    Arg l2;
    const char* op2;
    Arg r2;
    const char* after2;
  } cases[] = {
      {x, "==", k(5), "==", k(5), "==", x, "=="},
      {a, "!=", b, "!=", b, "!=", a, "!="},
      {k(5), "<", x, ">", x, ">", k(5), ">"},
      {k(5), "<=", x, ">=", x, ">=", k(5), ">="},
      {b, "<", a, ">", a, ">", b, ">"},
      {b, "<=", a, ">=", a, ">=", b, ">="},
      {a_signed, "<", c, "<", c, ">", a_signed, "<"},
      {c, "<", a_unsigned, "<", a_unsigned, ">", c, ">"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(std::string(t.op1) + " / " + t.op2);
    const std::string first = words_at_start(t.l1, t.op1, t.r1);
    EXPECT_EQ(op_after, t.after1);
    EXPECT_EQ(words_at_start(t.l2, t.op2, t.r2), first);
    EXPECT_EQ(op_after, t.after2);
  }
}

// ---- values on the simulator

// The bytes of a value as a comparison of width w sees them.
std::int64_t as_compared(std::uint32_t value, int w, bool is_signed) {
  const std::uint64_t modulus = std::uint64_t{1} << (8 * w);
  const std::int64_t x = static_cast<std::int64_t>(value % modulus);
  return is_signed && x >= static_cast<std::int64_t>(modulus / 2) ? x - static_cast<std::int64_t>(modulus) : x;
}

int width_of(int kind) {
  switch (kind) {
    case OPERAND_KIND_UINT: case OPERAND_KIND_INT: return 2;
    case OPERAND_KIND_ULONG: case OPERAND_KIND_LONG: return 4;
    default: return 1;
  }
}

bool is_by_value(int kind) {
  return kind == OPERAND_KIND_CONSTANT || kind == OPERAND_KIND_IMMEDIATE ||
         (kind >= OPERAND_KIND_UCHAR_ARRAY && kind <= OPERAND_KIND_LONG_ARRAY);
}

// Relational operators compare signed when both sides are: signed variables, the signed
// value in A, constants.
bool counts_signed(int kind) {
  return kind == OPERAND_KIND_CHAR || kind == OPERAND_KIND_INT || kind == OPERAND_KIND_LONG || kind == OPERAND_KIND_A_SIGNED ||
         kind == OPERAND_KIND_CONSTANT || kind == OPERAND_KIND_IMMEDIATE;
}

bool holds(std::string_view op, std::int64_t l, std::int64_t r) {
  if (op == "==") return l == r;
  if (op == "!=") return l != r;
  if (op == "<") return l < r;
  if (op == ">") return l > r;
  if (op == "<=") return l <= r;
  return l >= r;
}

constexpr const char* OPERATORS[] = {"==", "!=", "<", ">", "<=", ">="};

class ComparisonValues : public Comparison {
 protected:
  // Puts a value where the operand of this kind takes it from.
  OperandDescriptor place(int kind, std::uint32_t value, std::int32_t address) {
    if (kind == OPERAND_KIND_CONSTANT) return constant(static_cast<std::int32_t>(value));
    if (is_by_value(kind)) return operand(kind, static_cast<std::int32_t>(value));
    if (kind == OPERAND_KIND_A_UNSIGNED || kind == OPERAND_KIND_A_SIGNED) return operand(kind, 0);
    sim.set_bytes(address, value, width_of(kind));
    return operand(kind, address);
  }
  void put_in_a(int l_kind, std::uint32_t l, int r_kind, std::uint32_t r) {
    if (l_kind == OPERAND_KIND_A_UNSIGNED || l_kind == OPERAND_KIND_A_SIGNED) sim.a = static_cast<std::uint8_t>(l);
    if (r_kind == OPERAND_KIND_A_UNSIGNED || r_kind == OPERAND_KIND_A_SIGNED) sim.a = static_cast<std::uint8_t>(r);
  }
};

const std::vector<std::uint32_t> BYTES = {0, 1, 0x7F, 0x80, 0xFF};
// As constants: with the top bit set, and beyond a byte (200 is -56 to a signed char).
const std::vector<std::uint32_t> BYTE_CONSTANTS = {0, 1, 0x7F, 0x80, 0xFF, 200, static_cast<std::uint32_t>(-200),
                                                   static_cast<std::uint32_t>(-1), 256};
const std::vector<std::uint32_t> INTS = {0, 1, 0xFF, 0x100, 0x7FFF, 0x8000, 0x80FF, 0xFFFF};
const std::vector<std::uint32_t> INT_CONSTANTS = {0, 0x100, 0x7FFF, 0x8000, 0xFFFF, static_cast<std::uint32_t>(-300), 0x10001};
const std::vector<std::uint32_t> LONGS = {0, 1, 0xFF, 0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFF0000, 0xFFFFFFFF};
const std::vector<std::uint32_t> ADDRESSES = {0, 0xFF, 0x8000, 0xFFFF, 0x123456, 0xFFFFFF};

TEST_F(ComparisonValues, EveryOperatorAgreesWithTheValuesOnTheMachine) {
  const struct {
    int l_kind, r_kind;
    const std::vector<std::uint32_t>&l_values, &r_values;
  } rows[] = {
      {OPERAND_KIND_UCHAR, OPERAND_KIND_UCHAR, BYTES, BYTES},
      {OPERAND_KIND_CHAR, OPERAND_KIND_CHAR, BYTES, BYTES},
      {OPERAND_KIND_CHAR, OPERAND_KIND_UCHAR, BYTES, BYTES},
      {OPERAND_KIND_INT, OPERAND_KIND_INT, INTS, INTS},
      {OPERAND_KIND_UINT, OPERAND_KIND_UINT, INTS, INTS},
      {OPERAND_KIND_UINT, OPERAND_KIND_INT, INTS, INTS},
      {OPERAND_KIND_LONG, OPERAND_KIND_LONG, LONGS, LONGS},
      {OPERAND_KIND_ULONG, OPERAND_KIND_ULONG, LONGS, LONGS},
      {OPERAND_KIND_LONG, OPERAND_KIND_ULONG, LONGS, LONGS},
      {OPERAND_KIND_CHAR, OPERAND_KIND_CONSTANT, BYTES, BYTE_CONSTANTS},
      {OPERAND_KIND_CONSTANT, OPERAND_KIND_CHAR, BYTE_CONSTANTS, BYTES},
      {OPERAND_KIND_UCHAR, OPERAND_KIND_CONSTANT, BYTES, BYTE_CONSTANTS},
      {OPERAND_KIND_CONSTANT, OPERAND_KIND_UCHAR, BYTE_CONSTANTS, BYTES},
      {OPERAND_KIND_INT, OPERAND_KIND_CONSTANT, INTS, INT_CONSTANTS},
      {OPERAND_KIND_CONSTANT, OPERAND_KIND_INT, INT_CONSTANTS, INTS},
      {OPERAND_KIND_UINT, OPERAND_KIND_CONSTANT, INTS, INT_CONSTANTS},
      {OPERAND_KIND_LONG, OPERAND_KIND_CONSTANT, LONGS, LONGS},
      {OPERAND_KIND_CONSTANT, OPERAND_KIND_LONG, LONGS, LONGS},
      {OPERAND_KIND_ULONG, OPERAND_KIND_CONSTANT, LONGS, LONGS},
      {OPERAND_KIND_INT, OPERAND_KIND_IMMEDIATE, INTS, ADDRESSES},
      {OPERAND_KIND_LONG, OPERAND_KIND_IMMEDIATE, LONGS, ADDRESSES},
      {OPERAND_KIND_INT, OPERAND_KIND_INT_ARRAY, INTS, ADDRESSES},
      {OPERAND_KIND_CHAR_ARRAY, OPERAND_KIND_LONG, ADDRESSES, LONGS},
      {OPERAND_KIND_A_SIGNED, OPERAND_KIND_CHAR, BYTES, BYTES},
      {OPERAND_KIND_CHAR, OPERAND_KIND_A_SIGNED, BYTES, BYTES},
      {OPERAND_KIND_A_UNSIGNED, OPERAND_KIND_CHAR, BYTES, BYTES},
      {OPERAND_KIND_UCHAR, OPERAND_KIND_A_SIGNED, BYTES, BYTES},
      {OPERAND_KIND_A_SIGNED, OPERAND_KIND_CONSTANT, BYTES, BYTE_CONSTANTS},
      {OPERAND_KIND_CONSTANT, OPERAND_KIND_A_SIGNED, BYTE_CONSTANTS, BYTES},
      {OPERAND_KIND_A_UNSIGNED, OPERAND_KIND_CONSTANT, BYTES, BYTE_CONSTANTS},
      {OPERAND_KIND_CONSTANT, OPERAND_KIND_A_UNSIGNED, BYTE_CONSTANTS, BYTES},
  };
  for (const auto& row : rows) {
    const int w = is_by_value(row.l_kind) ? width_of(row.r_kind) : width_of(row.l_kind);
    for (const std::uint32_t l : row.l_values) {
      for (const std::uint32_t r : row.r_values) {
        for (const std::string_view op : OPERATORS) {
          const bool is_signed = counts_signed(row.l_kind) && counts_signed(row.r_kind);
          const bool expected = holds(op, as_compared(l, w, is_signed), as_compared(r, w, is_signed));
          const OperandDescriptor dl = place(row.l_kind, l, L_AT), dr = place(row.r_kind, r, R_AT);
          ASSERT_EQ(generate(COND, dl, op, dr), STATUS_DONE);
          put_in_a(row.l_kind, l, row.r_kind, r);
          EXPECT_EQ(condition_held(), expected) << std::hex << "kind " << row.l_kind << " value " << l << " " << op << " kind "
                                                << row.r_kind << " value " << r;
        }
      }
    }
  }
}

TEST_F(ComparisonValues, RegistersCompareUnsignedAsTheyStand) {
  const std::uint8_t values[] = {0, 1, 0x7F, 0x80, 0xFF};
  const Arg a = reg(OPERAND_KIND_A), b = reg(OPERAND_KIND_B);
  for (const std::uint8_t va : values) {
    for (const std::uint8_t vb : values) {
      for (const std::string_view op : OPERATORS) {
        for (const bool a_left : {true, false}) {
          ASSERT_EQ(compare(a_left ? a : b, op, a_left ? b : a), STATUS_DONE);
          sim.a = va, sim.b = vb;
          EXPECT_EQ(condition_held(), a_left ? holds(op, va, vb) : holds(op, vb, va))
              << std::hex << "A " << +va << " B " << +vb << " " << op << (a_left ? " A left" : " B left");
        }
      }
    }
  }
}

// What a flag reads as on the machine: a sign bit, the carry of an addition, minus the
// borrow of a subtraction.
std::int32_t flag_value(int kind, unsigned a, unsigned b) {
  switch (kind) {
    case OPERAND_KIND_AH: return a >> 7;
    case OPERAND_KIND_BH: return b >> 7;
    case OPERAND_KIND_ADD_A_B: return a + b > 255;
    case OPERAND_KIND_ADD_A_A: case OPERAND_KIND_ADD_A_A_1: return a >> 7;
    case OPERAND_KIND_ADD_A_1: return a == 255;
    case OPERAND_KIND_ADD_A_B_1: return a + b + 1 > 255;
    case OPERAND_KIND_SUB_A_B: return -static_cast<std::int32_t>(a < b);
    case OPERAND_KIND_SUB_A_1: return -static_cast<std::int32_t>(a == 0);
    default: return -static_cast<std::int32_t>(a <= b);  // _SUB_A_B_1
  }
}

TEST_F(ComparisonValues, FlagsEqualOnlyTheValuesTheyTest) {
  const int flags[] = {OPERAND_KIND_AH,       OPERAND_KIND_BH,     OPERAND_KIND_SUB_A_B,  OPERAND_KIND_SUB_A_1,
                       OPERAND_KIND_SUB_A_B_1, OPERAND_KIND_ADD_A_B, OPERAND_KIND_ADD_A_A,  OPERAND_KIND_ADD_A_1,
                       OPERAND_KIND_ADD_A_B_1, OPERAND_KIND_ADD_A_A_1};
  const std::int32_t tested[] = {1, 0, -1, 2};
  const std::uint8_t registers[][2] = {{0, 0}, {0, 1}, {1, 0}, {0x7F, 0x80}, {0x80, 0x7F}, {0x80, 0x80}, {0xFF, 0}, {0xFF, 1}};
  for (const int flag : flags) {
    for (const std::int32_t v : tested) {
      for (const auto& ab : registers) {
        for (const bool not_equal : {false, true}) {
          for (const bool flag_left : {true, false}) {
            const Arg f = reg(flag), c = k(v);
            ASSERT_EQ(compare(flag_left ? f : c, not_equal ? "!=" : "==", flag_left ? c : f), STATUS_DONE);
            sim.a = ab[0], sim.b = ab[1];
            // A zero tests the sign bits only: an addition's missing carry or a subtraction's missing borrow never equals it.
            const bool tests_value = v != 0 || flag == OPERAND_KIND_AH || flag == OPERAND_KIND_BH;
            const bool equal = tests_value && v == flag_value(flag, ab[0], ab[1]);
            EXPECT_EQ(condition_held(), equal != not_equal)
                << std::hex << "flag " << flag << " value " << v << " A " << +ab[0] << " B " << +ab[1]
                << (not_equal ? " !=" : " ==");
          }
        }
      }
    }
  }
}

TEST_F(Comparison, AnImmediateNeverMatchesASubtractionFlag) {
  ASSERT_EQ(compare(reg(OPERAND_KIND_SUB_A_B), "==", Arg{OPERAND_KIND_IMMEDIATE, 0xFFFFFF}), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([] { emit_jump_to(0); }));
  EXPECT_EQ(offsets(g_false_jumps), std::vector<int>{0});
}

// ---- refusals: nothing emitted, lists, sense and text as they were

const Arg CHAR_AT_L = var(OPERAND_KIND_CHAR, L_AT);
const Arg INT_AT_R = var(OPERAND_KIND_INT, R_AT);

TEST_F(Comparison, EqualityRefusesPairsOutsideItsTables) {
  const RefusedPair refused[] = {
      {CHAR_AT_L, INT_AT_R},
      {k(1), k(2)},
      {k(1), var(OPERAND_KIND_CHAR_ARRAY, R_AT)},
      {reg(OPERAND_KIND_A_UNSIGNED), reg(OPERAND_KIND_A_SIGNED)},
      {reg(OPERAND_KIND_A_SIGNED), INT_AT_R},
      {reg(OPERAND_KIND_A), CHAR_AT_L},
      {reg(OPERAND_KIND_A), k(5)},
      {reg(OPERAND_KIND_B), reg(OPERAND_KIND_B)},
      {reg(OPERAND_KIND_A_UNSIGNED), reg(OPERAND_KIND_B)},
      {reg(OPERAND_KIND_AH), CHAR_AT_L},
      {reg(OPERAND_KIND_AH), reg(OPERAND_KIND_BH)},
      {reg(OPERAND_KIND_ADD_A_B), reg(OPERAND_KIND_A)},
      {var(OPERAND_KIND_CHAR_PTR, L_AT), k(0)},
      {var(OPERAND_KIND_CHAR_VIA_PTR, L_AT), k(0)},
      {var(OPERAND_KIND_ADDRESS, L_AT), k(0)},
      {reg(OPERAND_KIND_RAM), k(0)},
      {reg(OPERAND_KIND_CONDITION), k(0)},
      {reg(OPERAND_KIND_A2), k(0)},
      {reg(OPERAND_KIND_A_0), k(0)},
      {reg(OPERAND_KIND_NOP), k(0)},
      {CHAR_AT_L, var(OPERAND_KIND_CHAR, R_AT), operand(OPERAND_KIND_A, 0)},
      {reg(OPERAND_KIND_AH), k(1), operand(OPERAND_KIND_UCHAR, R_AT)},
  };
  expect_pairs_refused(refused, {"==", "!="}, STATUS_BINOP_EQUALITY_TYPE_ERROR);
}

// Strict and non-strict operators accept the same pairs.
const RefusedPair RELATIONAL_REFUSED[] = {
    {CHAR_AT_L, INT_AT_R},
    {k(1), k(2)},
    {var(OPERAND_KIND_INT_ARRAY, L_AT), k(2)},
    {reg(OPERAND_KIND_A_SIGNED), reg(OPERAND_KIND_A_SIGNED)},
    {INT_AT_R, reg(OPERAND_KIND_A_UNSIGNED)},
    {reg(OPERAND_KIND_A), CHAR_AT_L},
    {reg(OPERAND_KIND_B), k(5)},
    {reg(OPERAND_KIND_A), reg(OPERAND_KIND_A)},
    {reg(OPERAND_KIND_AH), k(1)},
    {k(1), reg(OPERAND_KIND_ADD_A_B)},
    {var(OPERAND_KIND_INT_PTR, L_AT), INT_AT_R},
    {var(OPERAND_KIND_ADDRESS, L_AT), k(0)},
    {CHAR_AT_L, var(OPERAND_KIND_CHAR, R_AT), operand(OPERAND_KIND_CHAR, 0x010040)},
};

TEST_F(Comparison, StrictRelationsRefusePairsOutsideTheirTable) {
  expect_pairs_refused(RELATIONAL_REFUSED, {"<", ">"}, STATUS_BINOP_STRICT_TYPE_ERROR);
}

TEST_F(Comparison, NonStrictRelationsRefusePairsOutsideTheirTable) {
  expect_pairs_refused(RELATIONAL_REFUSED, {"<=", ">="}, STATUS_BINOP_NON_STRICT_TYPE_ERROR);
}

}  // namespace
}  // namespace tarvik::test
