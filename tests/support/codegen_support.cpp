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

void CodegenTest::fresh() {
  SetUp();
  sim = Simulator();
}

OperandDescriptor CodegenTest::constant(std::int32_t value) {
  g_constant_table[g_constant_count] = value;
  return make_operand(OPERAND_KIND_CONSTANT, g_constant_count++);
}

OperandDescriptor CodegenTest::operand_for(Side side, int width, std::int64_t value, std::int32_t address) {
  switch (side) {
    case U: case S:
      sim.set_bytes(address, static_cast<std::uint32_t>(value), width);
      return variable(width, address, side == S);
    case K: return constant(static_cast<std::int32_t>(value));
    case IMM: return immediate(static_cast<std::int32_t>(value));
    case AU: case AS:
      sim.a = static_cast<std::uint8_t>(value);
      return side == AU ? A_UNSIGNED : A_SIGNED;
  }
  return 0;
}

StatusText CodegenTest::generate(OperandDescriptor d, OperandDescriptor l, std::string_view op, OperandDescriptor r) {
  first_word = g_rom_word_count;
  // Each operation stands as an expression of its own.
  g_expression_part_start = first_word;
  op_after = Text(op);
  return generate_binary_operation_code(d, l, op_after, r);
}

std::string CodegenTest::words_of(const std::function<void()>& emitters) const {
  return words_spelled_from(first_word, emitters);
}

void CodegenTest::expect_listings(std::span<const Listing> listings) {
  for (const Listing& listing : listings) {
    SCOPED_TRACE(listing.what);
    EXPECT_EQ(generate(listing.d, listing.l, listing.op, listing.r), STATUS_DONE);
    EXPECT_EQ(emitted(), words_of(listing.words));
    EXPECT_EQ(emitted_count(), listing.count);
  }
}

void CodegenTest::expect_refused(OperandDescriptor d, OperandDescriptor l, std::string_view op, OperandDescriptor r,
                                 std::string_view error) {
  const std::string image = words();
  const std::int32_t count = g_rom_word_count;
  const JumpList true_jumps = g_true_jumps, false_jumps = g_false_jumps;
  const Text sense = g_fall_through_sense;
  EXPECT_EQ(generate(d, l, op, r), error);
  EXPECT_EQ(words(), image);
  EXPECT_EQ(g_rom_word_count, count);
  EXPECT_EQ(g_rom_high_bytes.size(), static_cast<std::size_t>(count));
  EXPECT_EQ(g_true_jumps, true_jumps);
  EXPECT_EQ(g_false_jumps, false_jumps);
  EXPECT_EQ(g_fall_through_sense, sense);
  EXPECT_EQ(op_after, op);
}

void CodegenTest::expect_refusals(std::span<const Refusal> refusals, std::string_view op, std::string_view error) {
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(testing::Message() << refusal.what << ", " << op);
    expect_refused(refusal.d, refusal.l, op, refusal.r, error);
  }
}

void CodegenTest::expect_countdown(std::int32_t loop, std::int32_t counter, std::int32_t step, std::int32_t end) const {
  const std::int32_t start = first_word + loop;
  EXPECT_EQ(emitted_words(loop + step, end - step), words_of([&] {
              emit_load_a(counter), emit_ram_sub_a_1(), emit_jump_if_carry_sub_a_1(start);
            }));
}

void CodegenTest::run() {
  sim.run(first_word, g_rom_word_count);
  EXPECT_EQ(sim.problems(), "");
  EXPECT_TRUE(sim.finished());
}

std::uint32_t CodegenTest::result_of(std::string_view op, OperandDescriptor d, OperandDescriptor l, OperandDescriptor r,
                                     std::int32_t at, int width) {
  EXPECT_EQ(generate(d, l, op, r), STATUS_DONE);
  run();
  EXPECT_EQ(sim.stray_writes(at, width), "");
  return sim.read_bytes(at, width);
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

namespace {

std::uint32_t sum_or_difference(std::string_view op, std::uint32_t x, std::uint32_t y) { return op == "+" ? x + y : x - y; }

}  // namespace

void ArithmeticTest::SetUp() {
  CodegenTest::SetUp();
  for (int i = 0; i < 0x123; ++i) emit_nop();
}

void ArithmeticTest::expect_byte_cases(std::string_view op, std::span<const ByteCase> cases) {
  for (const ByteCase& c : cases) {
    SCOPED_TRACE(c.what);
    sim.a = c.a, sim.ram(X) = c.x, sim.ram(Y) = c.y;
    ASSERT_EQ(generate(c.d, c.l, op, c.r), STATUS_DONE);
    run();
    EXPECT_EQ(c.result == IN_A ? sim.a : sim.ram(c.result), c.expected);
    EXPECT_EQ(sim.stray_writes(c.result == IN_A ? X : c.result, 1), "");
  }
}

void ArithmeticTest::expect_arrangements(std::string_view op, std::span<const std::uint32_t[2]> pairs, bool left_signed) {
  // D, L and R: all apart, D = L, D = R, L = R, all the same.
  const struct {
    std::int32_t d, l, r;
  } arrangements[] = {{Z, X, Y}, {X, X, Y}, {Y, X, Y}, {Z, X, X}, {X, X, X}};
  for (const int width : {1, 2, 4}) {
    const int unsigned_kind = variable_kind(width, false), signed_kind = variable_kind(width, true);
    for (const auto& at : arrangements) {
      for (const auto& pair : pairs) {
        SCOPED_TRACE(testing::Message() << width << " bytes, D " << at.d << " L " << at.l << " R " << at.r << " "
                                        << pair[0] << " " << op << " " << pair[1]);
        sim.set_bytes(at.l, pair[0], width);
        if (at.r != at.l) sim.set_bytes(at.r, pair[1], width);
        const std::uint32_t expected = sum_or_difference(op, pair[0], at.r == at.l ? pair[0] : pair[1]) & width_mask(width);
        const OperandDescriptor l = operand(left_signed ? signed_kind : unsigned_kind, at.l);
        const OperandDescriptor r = operand(left_signed ? unsigned_kind : signed_kind, at.r);
        EXPECT_EQ(result_of(op, operand(unsigned_kind, at.d), l, r, at.d, width), expected);
      }
    }
  }
}

std::uint32_t ArithmeticTest::with_constant(std::string_view op, int kind, int width, std::int32_t d, std::uint32_t x,
                                            std::int32_t k, bool k_first) {
  sim.set_bytes(X, x, width);
  const OperandDescriptor v = operand(kind, X), c = constant(k);
  return result_of(op, operand(kind, d), k_first ? c : v, k_first ? v : c, d, width);
}

void ArithmeticTest::expect_scaled_indexes(std::string_view op, const int (&pointers)[3], const int (&arrays)[3],
                                           bool either_order) {
  const struct {
    int kind, width;
    std::uint32_t values[2];
  } indexes[] = {{OPERAND_KIND_A_SIGNED, 1, {0xFF, 0x6C}},
                 {OPERAND_KIND_CHAR, 1, {0xFF, 0xC3}},
                 {OPERAND_KIND_INT, 2, {0xFFFF, 0xC3A5}},
                 {OPERAND_KIND_LONG, 4, {0xFFFFFFFF, 0x89C3A5F1}}};
  constexpr std::uint32_t BASE = 0x01FFFF;
  for (int size = 0; size < 3; ++size) {
    const std::uint32_t s = 1u << size;
    for (const auto& index : indexes) {
      const std::uint32_t mask = index.width == 1 ? 0xFF : index.width == 2 ? 0xFFFF : 0xFFFFFF;
      for (const std::uint32_t i : index.values) {
        // array base into D, pointer base into D, pointer base in place; base first and index first
        for (int form = 0; form < 6; ++form) {
          const bool array = form < 2, in_place = form >= 4, base_left = form % 2 == 0;
          if (!base_left && !either_order) continue;
          SCOPED_TRACE(testing::Message() << "s " << s << ", index width " << index.width << " = " << i << ", form " << form);
          const std::int32_t d = in_place ? Y : Z;
          const OperandDescriptor base = array ? operand(arrays[size], BASE) : operand(pointers[size], Y);
          const OperandDescriptor idx = operand(index.kind, X);
          if (!array) sim.set_bytes(Y, BASE, 3);
          if (index.kind == OPERAND_KIND_A_SIGNED) sim.a = static_cast<std::uint8_t>(i);
          else sim.set_bytes(X, i, index.width);
          const std::uint32_t result =
              result_of(op, operand(pointers[size], d), base_left ? base : idx, base_left ? idx : base, d, 3);
          EXPECT_EQ(result, sum_or_difference(op, BASE, s * (i & mask)) & 0xFFFFFF);
        }
      }
    }
  }
}

}  // namespace tarvik::test
