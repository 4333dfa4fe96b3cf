// A fixture for the code generator's tests: fresh state, constants in the table, one call
// of the generator, its words in hex, and a run of them on the simulator.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "codegen/codegen.h"
#include "support/simulator.h"
#include "support/support.h"

namespace tarvik::test {

// Descriptors of test operands.
constexpr OperandDescriptor operand(int kind, std::int32_t value) { return make_operand(kind, value); }
constexpr OperandDescriptor immediate(std::int32_t value) { return make_operand(OPERAND_KIND_IMMEDIATE, value); }
inline constexpr OperandDescriptor COND = CONDITION;
inline constexpr OperandDescriptor REG_A = REGISTER_A;
inline constexpr OperandDescriptor REG_B = make_operand(OPERAND_KIND_B, 0);
inline constexpr OperandDescriptor A_UNSIGNED = make_operand(OPERAND_KIND_A_UNSIGNED, 0);
inline constexpr OperandDescriptor A_SIGNED = make_operand(OPERAND_KIND_A_SIGNED, 0);

// The kind of a 1-, 2- or 4-byte variable.
constexpr int variable_kind(int width, bool is_signed) {
  switch (width) {
    case 1: return is_signed ? OPERAND_KIND_CHAR : OPERAND_KIND_UCHAR;
    case 2: return is_signed ? OPERAND_KIND_INT : OPERAND_KIND_UINT;
    default: return is_signed ? OPERAND_KIND_LONG : OPERAND_KIND_ULONG;
  }
}
constexpr OperandDescriptor variable(int width, std::int32_t at, bool is_signed = false) {
  return operand(variable_kind(width, is_signed), at);
}
constexpr OperandDescriptor u8(std::int32_t at) { return operand(OPERAND_KIND_UCHAR, at); }
constexpr OperandDescriptor s8(std::int32_t at) { return operand(OPERAND_KIND_CHAR, at); }
constexpr OperandDescriptor u16(std::int32_t at) { return operand(OPERAND_KIND_UINT, at); }
constexpr OperandDescriptor s16(std::int32_t at) { return operand(OPERAND_KIND_INT, at); }
constexpr OperandDescriptor u32(std::int32_t at) { return operand(OPERAND_KIND_ULONG, at); }
constexpr OperandDescriptor s32(std::int32_t at) { return operand(OPERAND_KIND_LONG, at); }
constexpr OperandDescriptor addr(std::int32_t at) { return operand(OPERAND_KIND_ADDRESS, at); }

// The bits of a `width`-byte value.
constexpr std::uint32_t width_mask(int width) { return width == 4 ? 0xFFFFFFFFu : (1u << (8 * width)) - 1; }

// Three variables, apart from each other and from the work bytes.
inline constexpr std::int32_t X = 0x010020, Y = 0x010030, Z = 0x010040;

// How an operand is given: unsigned or signed variable, constant, immediate, value in A.
enum Side { U, S, K, IMM, AU, AS };

// Where a comparison's code left the run.
enum class Outcome { fell_through, true_jump, false_jump, fault };

// Operands that the generator refuses, named for a trace.
struct Refusal {
  const char* what;
  OperandDescriptor d, l, r;
};

// One call of the generator and the words it must emit, spelled with the emitters.
struct Listing {
  const char* what;
  OperandDescriptor d, l;
  const char* op;
  OperandDescriptor r;
  std::function<void()> words;
  std::int32_t count;
};

class CodegenTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new operation on fresh state and a fresh simulator.
  void fresh();

  // The next entry of the constant table, holding value, as an operand.
  OperandDescriptor constant(std::int32_t value);
  // An operand given as `side`, with `value` put where it is read from (a variable at `address`).
  OperandDescriptor operand_for(Side side, int width, std::int64_t value, std::int32_t address);

  // One call of the generator; the words it emits are those from `first_word` on. The
  // operator text after the call is kept in `op_after`.
  StatusText generate(OperandDescriptor d, OperandDescriptor l, std::string_view op, OperandDescriptor r);
  // The emitted words in hex.
  std::string emitted() const { return words_from(first_word); }
  std::int32_t emitted_count() const { return g_rom_word_count - first_word; }
  // `count` of the emitted words from word `offset` on, in hex.
  std::string emitted_words(std::int32_t offset, std::int32_t count) const { return emitted().substr(6 * offset, 6 * count - 1); }
  // The words that the given emitter calls produce when they start where the generator's
  // words started (jump targets depend on the position), in hex; the image is left as it was.
  std::string words_of(const std::function<void()>& emitters) const;

  // Each listed call is done and emits its words.
  void expect_listings(std::span<const Listing> listings);
  // The call is refused with `error` and leaves the image, both jump lists, the sense and
  // the operator text as they were.
  void expect_refused(OperandDescriptor d, OperandDescriptor l, std::string_view op, OperandDescriptor r,
                      std::string_view error);
  // Each refusal under `op`, as expect_refused says.
  void expect_refusals(std::span<const Refusal> refusals, std::string_view op, std::string_view error);
  // The emitted words from `step` to `end`, counted from a loop that starts `loop` words in,
  // count down the byte at `counter` and jump back to the loop until it passes 0.
  void expect_countdown(std::int32_t loop, std::int32_t counter, std::int32_t step, std::int32_t end) const;

  // Runs the emitted words on `sim`; a fault or a RAM access right after an address write fails the test.
  void run();
  // Runs D = L op R after checking it was done, checks it wrote no byte but the `width` at
  // `at`, and returns those.
  std::uint32_t result_of(std::string_view op, OperandDescriptor d, OperandDescriptor l, OperandDescriptor r, std::int32_t at,
                          int width);
  // Runs a comparison's words with the true list patched to one marker and the false list
  // to another, and says where the run ended.
  Outcome run_condition();
  // Whether the comparison held: a true jump, or a fall-through whose sense is true.
  bool condition_held();

  Simulator sim;
  std::int32_t first_word = 0;
  Text op_after;
};

// Sums and differences. Their words start past 0x123 others, so that jump targets get a middle byte.
class ArithmeticTest : public CodegenTest {
 protected:
  void SetUp() override;

  static constexpr std::int32_t IN_A = 0;
  // A one-byte operation with its inputs in A, at X and at Y, and its result in A (IN_A) or at an address.
  struct ByteCase {
    const char* what;
    OperandDescriptor d, l, r;
    std::uint8_t a, x, y;
    std::int32_t result;
    std::uint8_t expected;
  };
  void expect_byte_cases(std::string_view op, std::span<const ByteCase> cases);

  // D = L op R on 1-, 2- and 4-byte variables with the values of each pair, D, L and R all
  // apart or sharing addresses in every way; one of L and R is signed.
  void expect_arrangements(std::string_view op, std::span<const std::uint32_t[2]> pairs, bool left_signed);

  // D = x op k, or k op x, with x of `kind` at X, k a table constant and D at `d`; D's bytes.
  std::uint32_t with_constant(std::string_view op, int kind, int width, std::int32_t d, std::uint32_t x, std::int32_t k,
                              bool k_first);

  // A pointer op an index of every kind, scaled by the element size: pointers[size] and
  // arrays[size] have elements of 1 << size bytes. The base is an array or a pointer at Y
  // and D is at Z or at Y; with `either_order` the index also comes first.
  void expect_scaled_indexes(std::string_view op, const int (&pointers)[3], const int (&arrays)[3], bool either_order);
};

}  // namespace tarvik::test
