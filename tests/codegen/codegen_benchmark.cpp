// Appends a fixed mix of operations (stores through pointers, 32-bit divisions, shifts by a
// variable, comparisons turned into A) n and 2n times into one image, and fails when the
// larger run takes more than 2.2 times as long: each operation costs only its own words.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "app/state.h"
#include "codegen/codegen.h"
#include "support/linearity.h"

namespace {

using namespace tarvik;

constexpr OperandDescriptor LONG_VIA_PTR = make_operand(OPERAND_KIND_LONG_VIA_PTR, 0x010020);
constexpr OperandDescriptor LONG_X = make_operand(OPERAND_KIND_LONG, 0x010024);
constexpr OperandDescriptor LONG_Y = make_operand(OPERAND_KIND_LONG, 0x010028);
constexpr OperandDescriptor INT_X = make_operand(OPERAND_KIND_INT, 0x01002C);
constexpr OperandDescriptor INT_Y = make_operand(OPERAND_KIND_INT, 0x01002E);
constexpr OperandDescriptor COUNT = make_operand(OPERAND_KIND_UCHAR, 0x010030);

void compile(OperandDescriptor d, OperandDescriptor l, const char* op, OperandDescriptor r) {
  Text text = op;
  if (generate_binary_operation_code(d, l, text, r) != STATUS_DONE) std::abort();
}

void append_mix(benchmark::State& state) {
  for (auto _ : state) {
    // The planes keep their storage: first touches of fresh memory would time the system.
    g_rom_high_bytes.clear();
    g_rom_low_bytes.clear();
    g_rom_word_count = 0;
    for (std::int64_t i = 0; i < state.range(0); ++i) {
      compile(0, LONG_VIA_PTR, "=", LONG_X);
      compile(LONG_Y, LONG_X, "/", LONG_Y);
      compile(INT_X, INT_Y, "<<", COUNT);
      compile(CONDITION, INT_X, "<", INT_Y);
      compile(0, REGISTER_A, "=", CONDITION);
    }
    benchmark::DoNotOptimize(g_rom_low_bytes.data());
  }
}

}  // namespace

int main(int argc, char** argv) {
  init_global_tables();
  return test::check_linear(argc, argv, "append_mix", append_mix, 2000, "operations");
}
