// Random programs compiled through the core and run on the simulator, checked global by global
// against a twin compiled by the host's C++ compiler. DIFF_SEEDS and DIFF_FIRST choose the seeds.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/state.h"
#include "diff/generator.h"
#include "support/program_support.h"

namespace tarvik::test {
namespace {

constexpr int BATCH = 25;

#ifndef DIFF_DEFAULT_SEEDS
#define DIFF_DEFAULT_SEEDS 200
#endif

long env_or(const char* name, long fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::strtol(value, nullptr, 10) : fallback;
}

long seed_count() { return env_or("DIFF_SEEDS", DIFF_DEFAULT_SEEDS); }
long first_seed() { return env_or("DIFF_FIRST", 1); }

// Builds and runs the twins of a batch; one line of hex values per program.
std::vector<std::vector<std::uint32_t>> run_twins(const std::vector<diff::Program>& programs) {
  {
    std::ofstream out("twin.cpp");
    out << diff::twin_unit(programs);
  }
  std::vector<std::vector<std::uint32_t>> values;
  if (std::system("g++ -std=c++17 -fwrapv -O0 -w twin.cpp -o twin && ./twin > twin.out") != 0) return values;
  std::ifstream in("twin.out");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::vector<std::uint32_t> row;
    std::string word;
    while (words >> word) row.push_back(static_cast<std::uint32_t>(std::stoull(word, nullptr, 16)));
    values.push_back(row);
  }
  return values;
}

std::string hex_value(std::uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", v);
  return text;
}

class RandomPrograms : public ProgramTest, public ::testing::WithParamInterface<int> {
 protected:
  // Compiles and runs one program on fresh tables; false when it does not compile or run cleanly.
  bool agrees(const diff::Program& program, const std::vector<std::uint32_t>& expected) {
    init_global_tables();
    const std::string log = compile(program.source);
    if (!compiled()) {
      ADD_FAILURE() << "seed " << program.seed << " does not compile:\n" << log << "\n" << program.source;
      return false;
    }
    run();
    if (!sim.problems().empty() || !sim.finished()) {
      ADD_FAILURE() << "seed " << program.seed << " does not run cleanly:\n" << program.source;
      return false;
    }
    EXPECT_EQ(expected.size(), program.cells.size()) << "seed " << program.seed;
    std::string differences;
    for (std::size_t i = 0; i < program.cells.size() && i < expected.size(); ++i) {
      const diff::Cell& cell = program.cells[i];
      const std::uint32_t got = ram(FIRST_GLOBAL + cell.offset, cell.width);
      if (got != expected[i])
        differences += "  cell " + std::to_string(i) + " at +" + std::to_string(cell.offset) + ": " + hex_value(got) +
                       ", twin " + hex_value(expected[i]) + "\n";
    }
    if (differences.empty()) return true;
    ADD_FAILURE() << "seed " << program.seed << " differs from its twin:\n" << differences << program.source;
    return false;
  }
};

TEST_P(RandomPrograms, AgreeWithTheirHostCompiledTwins) {
  const long first = first_seed() + static_cast<long>(GetParam()) * BATCH;
  const long end = first_seed() + seed_count();
  std::vector<diff::Program> programs;
  for (long seed = first; seed < end && seed < first + BATCH; ++seed) programs.push_back(diff::generate(static_cast<std::uint32_t>(seed)));
  const auto twins = run_twins(programs);
  ASSERT_EQ(twins.size(), programs.size()) << "the twins did not build or run; see twin.cpp";
  for (std::size_t i = 0; i < programs.size(); ++i) agrees(programs[i], twins[i]);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomPrograms, ::testing::Range(0, static_cast<int>((seed_count() + BATCH - 1) / BATCH)));

}  // namespace
}  // namespace tarvik::test
