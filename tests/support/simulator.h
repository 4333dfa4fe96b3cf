// A Tarvik CPU for the tests: runs words of the current program image on the registers and
// a sparse RAM, and reports what generated code must never do.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace tarvik::test {

// The byte an address holds until something writes it. Never 0 and it varies with the
// address, so an untouched byte is not mistaken for a stored 0 or for its neighbour.
std::uint8_t pattern_byte(std::uint32_t address);

class Simulator {
 public:
  static constexpr std::int64_t DEFAULT_STEP_LIMIT = 2'000'000;

  explicit Simulator(std::int64_t step_limit = DEFAULT_STEP_LIMIT);

  // Non-zero start values, so code that reads a register it never set is not helped by a 0.
  std::uint8_t a = 0xA5, b = 0x5A, a0 = 0xE1, a1 = 0xE2, a2 = 0xE3;
  std::int32_t pc = 0;
  // Words a run may execute; reaching the limit before a stop word is a fault.
  std::int64_t step_limit;

  // RAM by 24-bit address (higher bits ignored). The writable form also serves reads.
  std::uint8_t& ram(std::uint32_t address);
  std::uint8_t ram(std::uint32_t address) const;
  // Little-endian, width 1 to 4.
  void set_bytes(std::uint32_t address, std::uint32_t value, int width);
  std::uint32_t read_bytes(std::uint32_t address, int width) const;

  // Runs from word start until the PC equals stop; true when it got there without a fault.
  bool run(std::int32_t start, std::int32_t stop);
  // Stops at g_rom_word_count, the end of the code under test.
  bool run(std::int32_t start);
  // Runs until the PC equals any of stops: the stop reached, or -1 after a fault.
  std::int32_t run_until(std::int32_t start, const std::vector<std::int32_t>& stops);

  // Of the last run (each run starts them afresh):
  bool finished() const { return stop_reached_ >= 0; }
  std::int32_t stop_reached() const { return stop_reached_; }
  // Empty when none; the run ends at the first fault.
  const std::string& fault() const { return fault_; }
  // Words that accessed RAM right after a word that wrote A2, A1 or A0, without the NOP.
  const std::vector<std::int32_t>& unseparated_accesses() const { return unseparated_; }
  std::int64_t steps() const { return steps_; }
  // Addresses written by executed words (not by ram() or set_bytes()).
  const std::set<std::uint32_t>& written_addresses() const { return written_; }

  // The fault and the unseparated accesses, one per line: empty after a clean run.
  std::string problems() const;
  // Written addresses outside [first, first + width), the arithmetic scratch RAM and the
  // pointer-store staging page, as six hex digits each separated by spaces.
  std::string stray_writes(std::uint32_t first, std::uint32_t width) const;

 private:
  void execute(std::uint8_t op, std::uint8_t operand);
  void fail(const std::string& why);
  std::uint32_t address() const;

  std::unordered_map<std::uint32_t, std::uint8_t> ram_;
  std::set<std::uint32_t> written_;
  std::vector<std::int32_t> unseparated_;
  std::string fault_;
  std::int32_t stop_reached_ = -1;
  std::int64_t steps_ = 0;
  bool address_just_written_ = false;
};

}  // namespace tarvik::test
