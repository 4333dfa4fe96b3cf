// A fixture for the code generator's tests: fresh state, constants in the table, one call
// of the generator, its words in hex, and a run of them on the simulator.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>

#include "codegen/codegen.h"
#include "support/simulator.h"
#include "support/support.h"

namespace tarvik::test {

// Descriptors of test operands.
constexpr OperandDescriptor operand(int kind, std::int32_t value) { return make_operand(kind, value); }
inline constexpr OperandDescriptor COND = make_operand(OPERAND_KIND_CONDITION, 0);
inline constexpr OperandDescriptor REG_A = make_operand(OPERAND_KIND_A, 0);
inline constexpr OperandDescriptor REG_B = make_operand(OPERAND_KIND_B, 0);
inline constexpr OperandDescriptor A_UNSIGNED = make_operand(OPERAND_KIND_A_UNSIGNED, 0);
inline constexpr OperandDescriptor A_SIGNED = make_operand(OPERAND_KIND_A_SIGNED, 0);

// Where a comparison's code left the run.
enum class Outcome { fell_through, true_jump, false_jump, fault };

class CodegenTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The next entry of the constant table, holding value, as an operand.
  OperandDescriptor constant(std::int32_t value);

  // One call of the generator; the words it emits are those from `first_word` on. The
  // operator text after the call is kept in `op_after`.
  StatusText generate(OperandDescriptor d, OperandDescriptor l, std::string_view op, OperandDescriptor r);
  // The emitted words in hex.
  std::string emitted() const { return words_from(first_word); }
  std::int32_t emitted_count() const { return g_rom_word_count - first_word; }
  // The words that the given emitter calls produce when they start where the generator's
  // words started (jump targets depend on the position), in hex; the image is left as it was.
  std::string words_of(const std::function<void()>& emitters) const;

  // Runs the emitted words on `sim`; a fault or a RAM access right after an address write fails the test.
  void run();
  // Runs a comparison's words with the true list patched to one marker and the false list
  // to another, and says where the run ended.
  Outcome run_condition();
  // Whether the comparison held: a true jump, or a fall-through whose sense is true.
  bool condition_held();

  Simulator sim;
  std::int32_t first_word = 0;
  Text op_after;
};

}  // namespace tarvik::test
