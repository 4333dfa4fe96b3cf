#include "support/simulator.h"

#include "isa/isa.h"
#include "support/support.h"

namespace tarvik::test {
namespace {

class SimulatorTest : public CompilerTest {
 protected:
  // Runs the whole image from word 0 with the given A and B.
  Simulator run_with(std::uint8_t a, std::uint8_t b) {
    Simulator sim;
    sim.a = a;
    sim.b = b;
    EXPECT_TRUE(sim.run(0)) << sim.problems();
    return sim;
  }
};

TEST_F(SimulatorTest, AluValuesAndCarries) {
  constexpr int NO_CARRY = -1;  // logic functions: a carry jump on them is a fault
  const struct {
    std::uint8_t code, a, b, value;
    int carry;
  } cases[] = {
      {ALU_ADD_A_B, 0x80, 0x7F, 0xFF, 0},   {ALU_ADD_A_B, 0x80, 0x80, 0x00, 1},   {ALU_ADD_A_B, 0xFF, 0x02, 0x01, 1},
      {ALU_ADD_A_A, 0x81, 0x00, 0x02, 1},   {ALU_ADD_A_A, 0x7F, 0xFF, 0xFE, 0},   {ALU_ADD_A_1, 0xFF, 0x00, 0x00, 1},
      {ALU_ADD_A_1, 0xFE, 0xFF, 0xFF, 0},   {ALU_ADD_A_B_1, 0x80, 0x7F, 0x00, 1}, {ALU_ADD_A_B_1, 0x7F, 0x7F, 0xFF, 0},
      {ALU_ADD_A_A_1, 0x80, 0x00, 0x01, 1}, {ALU_ADD_A_A_1, 0x40, 0xFF, 0x81, 0}, {ALU_SUB_A_B, 0x05, 0x05, 0x00, 1},
      {ALU_SUB_A_B, 0x04, 0x05, 0xFF, 0},   {ALU_SUB_A_B, 0x00, 0xFF, 0x01, 0},   {ALU_SUB_A_B, 0xFF, 0x00, 0xFF, 1},
      {ALU_SUB_A_1, 0x00, 0x00, 0xFF, 0},   {ALU_SUB_A_1, 0x01, 0xFF, 0x00, 1},   {ALU_SUB_A_B_1, 0x05, 0x05, 0xFF, 0},
      {ALU_SUB_A_B_1, 0x06, 0x05, 0x00, 1}, {ALU_SUB_A_B_1, 0x00, 0x00, 0xFF, 0}, {ALU_AND, 0xF0, 0x3C, 0x30, NO_CARRY},
      {ALU_OR, 0xF0, 0x3C, 0xFC, NO_CARRY}, {ALU_XOR, 0xF0, 0x3C, 0xCC, NO_CARRY}, {ALU_NOT_A, 0xF0, 0x3C, 0x0F, NO_CARRY},
      {ALU_NOT_B, 0xF0, 0x3C, 0xC3, NO_CARRY}, {ALU_PASS_A, 0xF0, 0x3C, 0xF0, NO_CARRY},
      {ALU_PASS_B, 0xF0, 0x3C, 0x3C, NO_CARRY},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << "code " << +c.code << ", A " << +c.a << ", B " << +c.b);
    init_global_tables();
    append_word(OP_A0_ALU, c.code);
    const Simulator sim = run_with(c.a, c.b);
    EXPECT_EQ(sim.a0, c.value);
    EXPECT_EQ(sim.a, c.a);
    EXPECT_EQ(sim.b, c.b);

    init_global_tables();
    append_address_prefix(100);
    append_word(OP_JUMP_IF_CARRY, c.code);
    Simulator jump;
    jump.a = c.a;
    jump.b = c.b;
    const std::int32_t reached = jump.run_until(0, {4, 100});
    if (c.carry == NO_CARRY) {
      EXPECT_EQ(reached, -1);
      EXPECT_NE(jump.fault(), "");
    } else {
      EXPECT_EQ(reached, c.carry ? 100 : 4) << jump.problems();
    }
  }
}

TEST_F(SimulatorTest, ShiftSourcesLeaveTheirRegister) {
  const struct {
    std::uint8_t source, a, b, value;
  } cases[] = {
      {SRC_A_SHL, 0x81, 0xFF, 0x02},    {SRC_A_SHL_BH, 0x81, 0x80, 0x03}, {SRC_A_SHL_BH, 0x81, 0x7F, 0x02},
      {SRC_A_SHR, 0x81, 0xFF, 0x40},    {SRC_A_SAR, 0x81, 0x00, 0xC0},    {SRC_A_SAR, 0x41, 0xFF, 0x20},
      {SRC_B_SHL, 0xFF, 0x81, 0x02},    {SRC_B_SHR, 0xFF, 0x81, 0x40},    {SRC_B_SAR, 0x00, 0x81, 0xC0},
      {SRC_B_SAR, 0xFF, 0x41, 0x20},    {SRC_B_SHR_AL, 0x01, 0x02, 0x81}, {SRC_B_SHR_AL, 0xFE, 0x03, 0x01},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << "source " << +c.source << ", A " << +c.a << ", B " << +c.b);
    init_global_tables();
    append_word(opcode(c.source, DST_A1), NO_OPERAND);
    const Simulator sim = run_with(c.a, c.b);
    EXPECT_EQ(sim.a1, c.value);
    EXPECT_EQ(sim.a, c.a);
    EXPECT_EQ(sim.b, c.b);
  }
}

TEST_F(SimulatorTest, EachDestinationGetsTheValueAndNothingElseChanges) {
  for (std::uint8_t destination : {DST_A, DST_B, DST_A0, DST_A1, DST_A2, DST_RAM}) {
    SCOPED_TRACE(testing::Message() << "destination " << +destination);
    init_global_tables();
    append_word(opcode(SRC_IMM, destination), 0x3C);
    Simulator sim;
    sim.a = 0x11, sim.b = 0x22, sim.a2 = 0x01, sim.a1 = 0x00, sim.a0 = 0x20;
    ASSERT_TRUE(sim.run(0)) << sim.problems();
    const std::uint8_t expected[] = {
        destination == DST_A ? std::uint8_t{0x3C} : std::uint8_t{0x11},
        destination == DST_B ? std::uint8_t{0x3C} : std::uint8_t{0x22},
        destination == DST_A0 ? std::uint8_t{0x3C} : std::uint8_t{0x20},
        destination == DST_A1 ? std::uint8_t{0x3C} : std::uint8_t{0x00},
        destination == DST_A2 ? std::uint8_t{0x3C} : std::uint8_t{0x01},
        destination == DST_RAM ? std::uint8_t{0x3C} : pattern_byte(0x010020),
    };
    const std::uint8_t actual[] = {sim.a, sim.b, sim.a0, sim.a1, sim.a2, sim.ram(0x010020)};
    EXPECT_EQ(std::vector<std::uint8_t>(std::begin(actual), std::end(actual)),
              std::vector<std::uint8_t>(std::begin(expected), std::end(expected)));
    EXPECT_EQ(sim.written_addresses().size(), destination == DST_RAM ? 1u : 0u);
  }
}

TEST_F(SimulatorTest, AddressedLoadsAndStores) {
  emit_load_a(0x010030);
  emit_b_imm(0x11);
  emit_store_add_a_b(0x010020);
  emit_store_imm(0x010005, 7);  // scratch RAM
  emit_a_imm(0x66);
  emit_a2_imm(0x00), emit_a1_imm(0x12), emit_a0_imm(0x34), emit_nop();
  emit_ram_from_a();  // the staging page
  Simulator sim;
  sim.set_bytes(0x010030, 0x55, 1);
  ASSERT_TRUE(sim.run(0));
  EXPECT_EQ(sim.problems(), "");
  EXPECT_EQ(sim.read_bytes(0x010020, 1), 0x66u);
  EXPECT_EQ(sim.ram(0x001234), 0x66);
  EXPECT_EQ(sim.written_addresses(), (std::set<std::uint32_t>{0x001234, 0x010005, 0x010020}));
  EXPECT_EQ(sim.stray_writes(0x010020, 1), "");
  EXPECT_EQ(sim.stray_writes(0x010021, 4), "010020");
  EXPECT_EQ(sim.steps(), g_rom_word_count);
}

TEST_F(SimulatorTest, ConditionalJumps) {
  using EmitJump = void (*)(std::int32_t);
  const struct {
    EmitJump emit;
    std::uint8_t a, b;
    bool taken;
  } cases[] = {
      {emit_jump_if_ah_clear, 0x7F, 0xFF, true},  {emit_jump_if_ah_clear, 0x80, 0x00, false},
      {emit_jump_if_bh_clear, 0xFF, 0x7F, true},  {emit_jump_if_bh_clear, 0x00, 0x80, false},
      {emit_jump_if_a_ne_b, 0x03, 0x04, true},    {emit_jump_if_a_ne_b, 0x83, 0x83, false},
      {emit_jump_to, 0x00, 0x00, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << "A " << +c.a << ", B " << +c.b);
    init_global_tables();
    emit_nop();
    c.emit(0x010203);
    Simulator sim;
    sim.a = c.a, sim.b = c.b;
    EXPECT_EQ(sim.run_until(0, {5, 0x010203}), c.taken ? 0x010203 : 5) << sim.problems();
    EXPECT_EQ(sim.pc, sim.stop_reached());
    EXPECT_EQ(sim.steps(), 5);
  }

  // An indirect jump goes wherever A2:A1:A0 points.
  init_global_tables();
  emit_jump_indirect();
  Simulator sim;
  sim.a2 = 0, sim.a1 = 0x01, sim.a0 = 0x02;
  EXPECT_EQ(sim.run_until(0, {0x0102}), 0x0102);
}

TEST_F(SimulatorTest, RamAccessRightAfterAnAddressWriteIsReported) {
  emit_a0_imm(0x20);
  emit_a_from_ram();  // word 1: no NOP in between
  emit_a1_from_a();
  emit_nop();
  emit_ram_imm(1);
  emit_load_b(0x010020);
  emit_store_b(0x010021);
  emit_a2_imm(0x01);
  emit_ram_from_b();  // word 16
  Simulator sim;
  EXPECT_TRUE(sim.run(0));  // reported, not stopped
  EXPECT_EQ(sim.unseparated_accesses(), (std::vector<std::int32_t>{1, 16}));
  EXPECT_EQ(sim.problems(),
            "word 1: RAM access right after an address register write\n"
            "word 16: RAM access right after an address register write");
}

TEST_F(SimulatorTest, WordsOutsideTheInstructionSetAreFaults) {
  const struct {
    std::uint8_t op, operand;
    const char* fault;
  } cases[] = {
      {0x06, 0x00, "word 1 (06 00): no such opcode"},
      {0x27, 0xFF, "word 1 (27 FF): no such opcode"},
      {0x01, 0xFF, "word 1 (01 FF): no such opcode"},
      {0x41, 0xFF, "word 1 (41 FF): no such opcode"},
      {0x16, 0xFF, "word 1 (16 FF): no such opcode"},
      {0xF1, 0xFF, "word 1 (F1 FF): no such opcode"},
      {0x11, ALU_EQUALITY_TEST, "word 1 (11 9F): ALU function without a value"},
      {0x17, 0x12, "word 1 (17 12): ALU function without a value"},
      {OP_JUMP_IF_CARRY, ALU_AND, "word 1 (0C BF): carry jump on a function without a carry"},
      {OP_JUMP_IF_A_NE_B, 0xFF, "word 1 (0B FF): A != B jump without the equality test code"},
      {OP_NOP, 0x00, "word 1 (FF 00): NOP with an operand"},
      {OP_A_A_SHL, 0x00, "word 1 (71 00): shift with an operand"},
  };
  for (const auto& c : cases) {
    init_global_tables();
    emit_nop();
    append_word(c.op, c.operand);
    emit_nop();
    Simulator sim;
    EXPECT_FALSE(sim.run(0));
    EXPECT_EQ(sim.problems(), c.fault);
    EXPECT_EQ(sim.pc, 1);
  }
}

TEST_F(SimulatorTest, RunsThatMissTheirStopAreFaults) {
  emit_jump_to(0);
  Simulator looping(1000);
  EXPECT_FALSE(looping.run(0));
  EXPECT_EQ(looping.problems(), "word 0 (35 00): still running after 1000 words");
  EXPECT_EQ(looping.steps(), 1000);

  init_global_tables();
  emit_jump_to(50);
  Simulator away;
  EXPECT_FALSE(away.run(0));
  EXPECT_EQ(away.problems(), "word 50: outside the image of 4 words");

  // Running off the end is fine when the end is the stop, and only then.
  init_global_tables();
  emit_nop(), emit_nop();
  Simulator sim;
  EXPECT_TRUE(sim.run(0));
  EXPECT_FALSE(sim.run(0, 6));
  EXPECT_EQ(sim.problems(), "word 2: outside the image of 2 words");
}

TEST_F(SimulatorTest, RamStartsWithANonZeroPattern) {
  const Simulator fresh;
  std::set<std::uint8_t> seen;
  for (std::uint32_t address = 0; address <= 0xFFFFFF; address += 0x1001) {
    ASSERT_NE(pattern_byte(address), 0) << address;
    seen.insert(pattern_byte(address));
  }
  EXPECT_GT(seen.size(), 200u);
  EXPECT_NE(pattern_byte(0x010020), pattern_byte(0x010021));
  EXPECT_EQ(fresh.ram(0xFFFFFF), pattern_byte(0xFFFFFF));
  EXPECT_EQ(fresh.ram(0x1000005), pattern_byte(0x000005));  // 24 address bits

  Simulator sim;
  sim.set_bytes(0x010020, 0x11223344, 3);
  EXPECT_EQ(sim.ram(0x010020), 0x44);
  EXPECT_EQ(sim.ram(0x010022), 0x22);
  EXPECT_EQ(sim.ram(0x010023), pattern_byte(0x010023));
  EXPECT_EQ(sim.read_bytes(0x010020, 3), 0x223344u);
  sim.set_bytes(0x010020, 0xA1B2C3D4, 4);
  EXPECT_EQ(sim.read_bytes(0x010020, 4), 0xA1B2C3D4u);
  EXPECT_TRUE(sim.written_addresses().empty());
}

}  // namespace
}  // namespace tarvik::test
