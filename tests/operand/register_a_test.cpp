#include "isa/isa.h"
#include "operand/operand.h"
#include "stmt/stmt.h"
#include "support/binop_support.h"

namespace tarvik::test {
namespace {

constexpr OperandDescriptor X = make_operand(OPERAND_KIND_INT, 0x010020);

class RegisterASpill : public ReductionTest {};

TEST_F(RegisterASpill, StoresThePendingValueAndRenamesItsToken) {
  const struct {
    std::string_view state;
    int kind;
  } cases[] = {{REG_A_UNSIGNED, OPERAND_KIND_UCHAR}, {REG_A_SIGNED, OPERAND_KIND_CHAR}, {"有符号ACC", OPERAND_KIND_CHAR}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    text = level_text({X, "+", A_SIGNED});
    pending_a(c.state, TOKEN_IN_MAIN_EXPRESSION, 11);
    first_word = g_rom_word_count;
    const std::int32_t t = g_temp_ram_next;
    ASSERT_EQ(spill_register_a(text, {X}), STATUS_DONE);
    EXPECT_EQ(emitted(), words_of([t] { emit_store_a(t); }));
    EXPECT_EQ(read_operand_token(text, 11), make_operand(c.kind, t));
    EXPECT_EQ(g_temp_ram_next, t + 1);
    EXPECT_EQ(g_register_a_state, REG_A_FREE);
  }
}

// No store and no temporary: nothing pending, the pending value is an operand itself, or no
// token of a value in A stands where the tracker points.
TEST_F(RegisterASpill, LeavesAFreeWithoutAStoreWhenNoTokenStandsForTheValue) {
  const ByteArray spilled = level_text({X, "+", A_UNSIGNED});
  const struct {
    const char* what;
    std::string_view state;
    std::int32_t pos;
    OperandDescriptor exempt;
  } cases[] = {
      {"nothing pending", REG_A_FREE, 11, X},
      {"the value is an operand", REG_A_UNSIGNED, 11, A_UNSIGNED},
      {"no value token there", REG_A_UNSIGNED, 0, X},
      {"the token would end past the text", REG_A_UNSIGNED, 16, X},
      {"before the text", REG_A_UNSIGNED, -1, X},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    text = spilled;
    pending_a(c.state, TOKEN_IN_MAIN_EXPRESSION, c.pos);
    first_word = g_rom_word_count;
    ASSERT_EQ(spill_register_a(text, {c.exempt}), STATUS_DONE);
    EXPECT_EQ(emitted_count(), 0);
    EXPECT_EQ(text, spilled);
    EXPECT_EQ(g_temp_ram_next, T);
    EXPECT_EQ(g_register_a_state, REG_A_FREE);
  }
}

TEST(OperandTokens, AreTheDescriptorKindByteFirst) {
  ByteArray text(6, ' ');
  write_operand_token(text, 1, static_cast<OperandDescriptor>(0x8D00100Au));
  EXPECT_EQ(hex(text), "20 8D 00 10 0A 20");
  EXPECT_EQ(static_cast<std::uint32_t>(read_operand_token(text, 1)), 0x8D00100Au);
}

}  // namespace
}  // namespace tarvik::test
