// Reduces generated level texts of about 20,000 and 40,000 operators spread over several
// passes, and fails when the larger one takes more than 2.2 times as long: each reduction
// resumes where the text changed instead of scanning it again from the start.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "binop/binop.h"
#include "codegen/codegen.h"
#include "operand/operand.h"
#include "stmt/stmt.h"
#include "support/linearity.h"

namespace {

using namespace tarvik;

// c1 + c2 * c3 & c4 ^ c5 | c6, again and again, joined by "|".
ByteArray level_text_of(std::int64_t operators) {
  static constexpr const char* OPERATORS[] = {"+", "*", "&", "^", "|", "|"};
  ByteArray text;
  for (std::int64_t i = 0; i <= operators; ++i) {
    ByteArray token(4, ' ');
    write_operand_token(token, 0, make_operand(OPERAND_KIND_UCHAR, 0x010020 + static_cast<std::int32_t>(i % 6)));
    text += token + ByteArray(TOKEN_PAD);
    if (i < operators) text += ByteArray(OPERATORS[i % 6]) + ByteArray(TOKEN_PAD);
  }
  return text;
}

void reduce_level_text(benchmark::State& state) {
  const ByteArray original = level_text_of(state.range(0));
  ByteArray text;
  for (auto _ : state) {
    g_rom_high_bytes.clear();
    g_rom_low_bytes.clear();
    g_rom_word_count = 0;
    g_temp_ram_next = 0x020000;
    g_register_a_state = Text(REG_A_FREE);
    text = original;
    if (reduce_binary_operators(text) != STATUS_DONE) std::abort();
    benchmark::DoNotOptimize(g_reduced_expression.data());
  }
}

}  // namespace

int main(int argc, char** argv) {
  init_global_tables();
  return test::check_linear(argc, argv, "reduce_level_text", reduce_level_text, 20000, "operators");
}
