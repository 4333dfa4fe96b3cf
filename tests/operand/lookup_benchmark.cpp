// Refills n and 2n globals (and a few locals and parameters) with new names, then looks up
// every name, a missing one and the pseudo-operands; fails when the larger run takes more
// than 2.2 times as long: each use of a name must not cost a pass over the globals.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/state.h"
#include "operand/operand.h"
#include "support/linearity.h"

namespace {

using namespace tarvik;

constexpr std::int32_t LOCALS = 8;
constexpr std::int32_t PARAMETERS = 4;

void expect(std::string_view name, OperandDescriptor descriptor) {
  if (lookup_operand(name) != descriptor) std::abort();
}

// Two sets of names with the same counts, made once per size: every refill with the other
// set makes the index stale.
const std::vector<ByteArray>& names(char prefix, std::int64_t count) {
  static std::map<std::pair<char, std::int64_t>, std::vector<ByteArray>> made;
  std::vector<ByteArray>& names = made[{prefix, count}];
  for (std::int64_t i = static_cast<std::int64_t>(names.size()); i < count; ++i) names.push_back(prefix + std::to_string(i));
  return names;
}

void refill_and_look_up(benchmark::State& state) {
  const std::int64_t globals = state.range(0);
  const std::vector<ByteArray>* global_names[] = {&names('g', globals), &names('h', globals)};
  const std::vector<ByteArray>* local_names[] = {&names('l', LOCALS), &names('m', LOCALS)};
  const std::vector<ByteArray>* parameter_names[] = {&names('p', PARAMETERS), &names('q', PARAMETERS)};
  g_global_count = static_cast<std::int32_t>(globals);
  for (std::int32_t k = 1; k <= g_global_count; ++k) {
    g_global_types[k] = "int";
    g_global_addrs[k] = 0x10000 + 2 * k;
  }
  g_var_count = LOCALS;
  for (std::int32_t k = 1; k <= LOCALS; ++k) {
    g_var_types[k] = "char";
    g_var_addrs[k] = 0x80000 + k;
  }
  g_function_count = 0;
  g_func_first_param[1] = 0;
  g_func_param_end[1] = PARAMETERS;
  for (std::int32_t k = 1; k <= PARAMETERS; ++k) {
    g_param_types[k] = "char[]";
    g_param_addrs[k] = 0x90000 + 3 * k;
  }
  // Each run is a single iteration: the set alternates across runs.
  static int set = 0;
  for (auto _ : state) {
    set ^= 1;
    for (std::int32_t k = 1; k <= g_global_count; ++k) g_global_names[k] = (*global_names[set])[k - 1];
    for (std::int32_t k = 1; k <= LOCALS; ++k) g_var_names[k] = (*local_names[set])[k - 1];
    for (std::int32_t k = 1; k <= PARAMETERS; ++k) g_param_names[k] = (*parameter_names[set])[k - 1];
    note_name_tables_restarted();

    for (std::int32_t k = 1; k <= g_global_count; ++k)
      expect((*global_names[set])[k - 1], make_operand(OPERAND_KIND_INT, 0x10000 + 2 * k));
    for (std::int32_t k = 1; k <= LOCALS; ++k)
      expect((*local_names[set])[k - 1], make_operand(OPERAND_KIND_CHAR, 0x80000 + k));
    for (std::int32_t k = 1; k <= PARAMETERS; ++k)
      expect((*parameter_names[set])[k - 1], make_operand(OPERAND_KIND_CHAR_PTR, 0x90000 + 3 * k));
    expect("missing", 0);
    for (const PseudoOperand& pseudo : PSEUDO_OPERAND_TABLE) expect(pseudo.name, make_operand(pseudo.kind, 0));
  }
}

}  // namespace

int main(int argc, char** argv) {
  init_global_tables();
  return test::check_linear(argc, argv, "refill_and_look_up", refill_and_look_up, 20000, "globals");
}
