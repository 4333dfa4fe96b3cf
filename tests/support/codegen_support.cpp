#include "support/codegen_support.h"

#include "isa/isa.h"

namespace tarvik::test {

void CodegenTest::SetUp() {
  init_global_tables();
  // Entries 0 and 1 hold 0 and 1, as the extractor leaves them.
  constant(0);
  constant(1);
}

void CodegenTest::TearDown() { free_global_tables(); }

OperandDescriptor CodegenTest::constant(std::int32_t value) {
  g_constant_table[g_constant_count] = value;
  return make_operand(OPERAND_KIND_CONSTANT, g_constant_count++);
}

StatusText CodegenTest::generate(OperandDescriptor d, OperandDescriptor l, std::string_view op, OperandDescriptor r) {
  first_word = g_rom_word_count;
  op_after = Text(op);
  return generate_binary_operation_code(d, l, op_after, r);
}

std::string CodegenTest::words_of(const std::function<void()>& emitters) const {
  const ByteArray high = g_rom_high_bytes, low = g_rom_low_bytes;
  const std::int32_t count = g_rom_word_count;
  g_rom_high_bytes.resize(first_word);
  g_rom_low_bytes.resize(first_word);
  g_rom_word_count = first_word;
  emitters();
  std::string words = words_from(first_word);
  g_rom_high_bytes = high, g_rom_low_bytes = low, g_rom_word_count = count;
  return words;
}

void CodegenTest::run() {
  sim.run(first_word, g_rom_word_count);
  EXPECT_EQ(sim.problems(), "");
  EXPECT_TRUE(sim.finished());
}

Outcome CodegenTest::run_condition() {
  const std::int32_t fall = g_rom_word_count;
  emit_nop();
  const std::int32_t on_true = g_rom_word_count;
  emit_nop();
  const std::int32_t on_false = g_rom_word_count;
  emit_nop();
  patch_jump_list(g_true_jumps, on_true);
  patch_jump_list(g_false_jumps, on_false);
  const std::int32_t stop = sim.run_until(first_word, {fall, on_true, on_false});
  EXPECT_EQ(sim.problems(), "");
  return stop == fall ? Outcome::fell_through : stop == on_true ? Outcome::true_jump : stop == on_false ? Outcome::false_jump : Outcome::fault;
}

bool CodegenTest::condition_held() {
  const Outcome outcome = run_condition();
  EXPECT_NE(outcome, Outcome::fault);
  return outcome == Outcome::true_jump || (outcome == Outcome::fell_through && g_fall_through_sense == SENSE_TRUE);
}

}  // namespace tarvik::test
