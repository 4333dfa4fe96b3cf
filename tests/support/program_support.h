// Whole programs: a project compiled through the driver, and its image run on the simulator.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/simulator.h"
#include "support/support.h"

namespace tarvik::test {

// The first global's address; globals follow in declaration order.
inline constexpr std::int32_t FIRST_GLOBAL = 0x010015;

// The bytes a value of a type name ("unsigned int", "char*") takes.
int width_of(std::string_view type);

class ProgramTest : public CompilerTest {
 protected:
  // Compiles main.c (and any files put beside it) as the window's compile button does, with
  // main.c selected and shown in the editor; returns the log after "开始编译\r\n".
  std::string compile(std::string_view main_c);
  // Whether the last compile ended in "编译结束".
  bool compiled() const;
  // Runs the image from word 0 until it passes its last word; a fault, a missed stop or a
  // RAM access right after an address write fails the test.
  void run();
  // Compiles and runs; the log must end in "编译结束".
  void compile_and_run(std::string_view main_c);

  // Bytes of RAM after a run, little-endian.
  std::uint32_t ram(std::int32_t address, int width) const { return sim.read_bytes(static_cast<std::uint32_t>(address), width); }

  Simulator sim;
};

}  // namespace tarvik::test
