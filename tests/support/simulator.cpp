#include "support/simulator.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "isa/isa.h"

namespace tarvik::test {
namespace {

constexpr std::uint32_t ADDRESS_MASK = 0xFFFFFF;
constexpr std::uint32_t SCRATCH_END = ARITH_SCRATCH_RAM + 17;

struct AluOutput {
  std::uint8_t value;
  bool carry;
  bool arithmetic;  // only these have a carry to jump on
};

std::optional<AluOutput> alu(std::uint8_t code, std::uint8_t a, std::uint8_t b) {
  const unsigned x = a, y = b;
  const auto arith = [](unsigned value, bool carry) { return AluOutput{static_cast<std::uint8_t>(value), carry, true}; };
  const auto logic = [](unsigned value) { return AluOutput{static_cast<std::uint8_t>(value), false, false}; };
  switch (code) {
    case ALU_ADD_A_B: return arith(x + y, x + y > 255);
    case ALU_ADD_A_A: return arith(x + x, (x & 0x80) != 0);
    case ALU_ADD_A_1: return arith(x + 1, x == 0xFF);
    case ALU_ADD_A_B_1: return arith(x + y + 1, x + y + 1 > 255);
    case ALU_ADD_A_A_1: return arith(x + x + 1, (x & 0x80) != 0);
    case ALU_SUB_A_B: return arith(x - y, x >= y);
    case ALU_SUB_A_1: return arith(x - 1, x != 0);
    case ALU_SUB_A_B_1: return arith(x - y - 1, x > y);
    case ALU_AND: return logic(x & y);
    case ALU_OR: return logic(x | y);
    case ALU_XOR: return logic(x ^ y);
    case ALU_NOT_A: return logic(~x);
    case ALU_NOT_B: return logic(~y);
    case ALU_PASS_A: return logic(x);
    case ALU_PASS_B: return logic(y);
    default: return std::nullopt;  // ALU_EQUALITY_TEST among them: it has no value
  }
}

std::optional<std::uint8_t> shifted(std::uint8_t source, std::uint8_t a, std::uint8_t b) {
  const auto u8 = [](unsigned v) { return static_cast<std::uint8_t>(v); };
  switch (source) {
    case SRC_A_SHL: return u8(a << 1);
    case SRC_A_SHL_BH: return u8(a << 1 | b >> 7);
    case SRC_A_SHR: return u8(a >> 1);
    case SRC_A_SAR: return u8(a >> 1 | (a & 0x80));
    case SRC_B_SHL: return u8(b << 1);
    case SRC_B_SHR: return u8(b >> 1);
    case SRC_B_SAR: return u8(b >> 1 | (b & 0x80));
    case SRC_B_SHR_AL: return u8(b >> 1 | (a & 1) << 7);
    default: return std::nullopt;
  }
}

std::string hex6(std::uint32_t address) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(address & 0xFFFFFF));
  return text;
}

}  // namespace

std::uint8_t pattern_byte(std::uint32_t address) {
  std::uint32_t x = (address & ADDRESS_MASK) * 0x9E3779B1u;
  x ^= x >> 15;
  return static_cast<std::uint8_t>(1 + (x >> 8) % 255);
}

Simulator::Simulator(std::int64_t step_limit) : step_limit(step_limit) {}

std::uint8_t& Simulator::ram(std::uint32_t address) {
  address &= ADDRESS_MASK;
  return ram_.try_emplace(address, pattern_byte(address)).first->second;
}

std::uint8_t Simulator::ram(std::uint32_t address) const {
  address &= ADDRESS_MASK;
  const auto found = ram_.find(address);
  return found == ram_.end() ? pattern_byte(address) : found->second;
}

void Simulator::set_bytes(std::uint32_t address, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) ram(address + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t Simulator::read_bytes(std::uint32_t address, int width) const {
  std::uint32_t value = 0;
  for (int i = 0; i < width; ++i) value |= static_cast<std::uint32_t>(ram(address + i)) << (8 * i);
  return value;
}

bool Simulator::run(std::int32_t start, std::int32_t stop) { return run_until(start, {stop}) == stop; }

bool Simulator::run(std::int32_t start) { return run(start, g_rom_word_count); }

std::int32_t Simulator::run_until(std::int32_t start, const std::vector<std::int32_t>& stops) {
  written_.clear();
  unseparated_.clear();
  fault_.clear();
  stop_reached_ = -1;
  steps_ = 0;
  address_just_written_ = false;
  pc = start;

  const std::int32_t size = std::min<std::int64_t>(
      {g_rom_word_count, static_cast<std::int64_t>(g_rom_high_bytes.size()), static_cast<std::int64_t>(g_rom_low_bytes.size())});
  while (fault_.empty()) {
    if (std::find(stops.begin(), stops.end(), pc) != stops.end()) return stop_reached_ = pc;
    if (pc < 0 || pc >= size) {
      fail("outside the image of " + std::to_string(size) + " words");
      break;
    }
    if (steps_ >= step_limit) {
      fail("still running after " + std::to_string(step_limit) + " words");
      break;
    }
    ++steps_;
    execute(static_cast<std::uint8_t>(g_rom_high_bytes[pc]), static_cast<std::uint8_t>(g_rom_low_bytes[pc]));
  }
  return -1;
}

std::uint32_t Simulator::address() const { return static_cast<std::uint32_t>(a2) << 16 | a1 << 8 | a0; }

void Simulator::fail(const std::string& why) {
  char word[40];
  if (pc >= 0 && pc < static_cast<std::int64_t>(std::min(g_rom_high_bytes.size(), g_rom_low_bytes.size())))
    std::snprintf(word, sizeof word, "word %d (%02X %02X): ", static_cast<int>(pc),
                  static_cast<unsigned>(static_cast<std::uint8_t>(g_rom_high_bytes[pc])),
                  static_cast<unsigned>(static_cast<std::uint8_t>(g_rom_low_bytes[pc])));
  else
    std::snprintf(word, sizeof word, "word %d: ", static_cast<int>(pc));
  fault_ = word + why;
}

void Simulator::execute(std::uint8_t op, std::uint8_t operand) {
  const bool after_address_write = address_just_written_;
  address_just_written_ = false;

  if (op == OP_NOP) {
    if (operand != NO_OPERAND) return fail("NOP with an operand");
    ++pc;
    return;
  }
  if (op >> 4 == 0) {
    bool taken = false;
    switch (op) {
      case OP_JUMP_IF_AH_CLEAR: taken = (a & 0x80) == 0; break;
      case OP_JUMP_IF_BH_CLEAR: taken = (b & 0x80) == 0; break;
      case OP_JUMP: taken = true; break;
      case OP_JUMP_IF_A_NE_B:
        if (operand != ALU_EQUALITY_TEST) return fail("A != B jump without the equality test code");
        taken = a != b;
        break;
      case OP_JUMP_IF_CARRY: {
        const auto out = alu(operand, a, b);
        if (!out || !out->arithmetic) return fail("carry jump on a function without a carry");
        taken = out->carry;
        break;
      }
      default: return fail("no such opcode");
    }
    if (op != OP_JUMP_IF_A_NE_B && op != OP_JUMP_IF_CARRY && operand != NO_OPERAND)
      return fail("jump with an operand");
    pc = taken ? static_cast<std::int32_t>(address()) : pc + 1;
    return;
  }

  const std::uint8_t source = op >> 4, destination = op & 0xF;
  std::uint8_t* target = nullptr;
  switch (destination) {
    case DST_A: target = &a; break;
    case DST_B: target = &b; break;
    case DST_A0: target = &a0; break;
    case DST_A1: target = &a1; break;
    case DST_A2: target = &a2; break;
    case DST_RAM: break;
    default: return fail("no such opcode");
  }
  if (source == SRC_RAM && destination == DST_RAM) return fail("no such opcode");

  std::uint8_t value = 0;
  if (source == SRC_ALU) {
    const auto out = alu(operand, a, b);
    if (!out) return fail("ALU function without a value");
    value = out->value;
  } else if (source == SRC_IMM) {
    value = operand;
  } else if (source == SRC_RAM) {
    if (operand != NO_OPERAND) return fail("RAM load with an operand");
    value = ram(address());
  } else if (const auto bits = shifted(source, a, b)) {
    if (operand != NO_OPERAND) return fail("shift with an operand");
    value = *bits;
  } else {
    return fail("no such opcode");
  }

  if ((source == SRC_RAM || destination == DST_RAM) && after_address_write) unseparated_.push_back(pc);
  if (target) {
    *target = value;
  } else {
    ram(address()) = value;
    written_.insert(address());
  }
  address_just_written_ = destination == DST_A0 || destination == DST_A1 || destination == DST_A2;
  ++pc;
}

std::string Simulator::problems() const {
  constexpr std::size_t SHOWN = 10;
  std::string out = fault_;
  for (std::size_t i = 0; i < unseparated_.size() && i < SHOWN; ++i)
    out += (out.empty() ? "" : "\n") + std::string("word ") + std::to_string(unseparated_[i]) +
           ": RAM access right after an address register write";
  if (unseparated_.size() > SHOWN)
    out += "\n... and " + std::to_string(unseparated_.size() - SHOWN) + " more such accesses";
  return out;
}

std::string Simulator::stray_writes(std::uint32_t first, std::uint32_t width) const {
  std::string out;
  for (std::uint32_t address : written_) {
    const bool target = address >= first && address - first < width;
    const bool scratch = address >= ARITH_SCRATCH_RAM && address < SCRATCH_END;
    const bool staging = address >> 16 == POINTER_STORE_STAGING_PAGE;
    if (!target && !scratch && !staging) out += (out.empty() ? "" : " ") + hex6(address);
  }
  return out;
}

}  // namespace tarvik::test
