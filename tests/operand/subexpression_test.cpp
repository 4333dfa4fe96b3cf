#include "operand/operand.h"
#include "stmt/stmt.h"
#include "support/binop_support.h"

namespace tarvik::test {
namespace {

constexpr OperandDescriptor CA = u8(0x010030), CB = u8(0x010031), I = s16(0x010040);

class Subexpression : public ReductionTest {
 protected:
  // One local variable of the function being compiled.
  static void local(const char* name, const char* type, std::int32_t address) {
    note_name_tables_changed();
    ++g_var_count;
    g_var_names[g_var_count] = name;
    g_var_types[g_var_count] = type;
    g_var_addrs[g_var_count] = address;
  }
};

TEST_F(Subexpression, NamesBecomeTokensOverTheNameAndItsBlanks) {
  local("abcdef", "int", 0x010040);
  local("x", "unsigned char", 0x010030);
  ASSERT_EQ(process("abcdef   =   x   "), STATUS_DONE);
  EXPECT_EQ(items_of(g_reduced_expression), "84010040");
  EXPECT_EQ(g_subexpr_result, I);
  EXPECT_EQ(emitted(), words_of([] {
              call(0, REG_A, "=", CA);
              call(0, I, "=", A_UNSIGNED);
            }));
}

TEST_F(Subexpression, AValueInATrackedInTheTextItself) {
  g_register_a_state = Text(REG_A_FREE);
  ASSERT_EQ(process(level_text({CA, "+", A_UNSIGNED})), STATUS_DONE);
  // The sum's own value in A; the piece's token stood at 11, now the state is free again.
  EXPECT_EQ(emitted(), words_of([] { call(REG_A, CA, "+", A_UNSIGNED); }));
  EXPECT_EQ(g_register_a_token_place, TOKEN_IN_SUBEXPRESSION);
  EXPECT_EQ(g_register_a_state, REG_A_FREE);
  EXPECT_EQ(get_operand_kind(g_subexpr_result), OPERAND_KIND_A_UNSIGNED);
}

TEST_F(Subexpression, WithoutAValueTokenThePendingValueStaysInTheMainExpression) {
  g_register_a_state = Text(REG_A_SIGNED);
  g_register_a_token_pos = 7;
  g_expression_text = ByteArray(7, ' ') + level_text({A_SIGNED});
  ASSERT_EQ(process(level_text({CA, "=", CB})), STATUS_DONE);
  EXPECT_EQ(g_register_a_token_place, TOKEN_IN_MAIN_EXPRESSION);
  // The assignment needs A: the value is stored first and its token renamed where it stands.
  EXPECT_EQ(read_operand_token(g_expression_text, 7), s8(T));
  EXPECT_EQ(g_register_a_state, REG_A_FREE);
}

// A position that no longer holds the value's token (its place was written over) stores nothing.
TEST_F(Subexpression, AStalePositionStoresNothing) {
  g_register_a_state = Text(REG_A_SIGNED);
  g_register_a_token_pos = 0;
  g_expression_text = level_text({CB, ",", CA});
  const ByteArray main_text = g_expression_text;
  ASSERT_EQ(process(level_text({CA, "=", CB})), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of([] {
              call(0, REG_A, "=", CB);
              call(0, CA, "=", A_UNSIGNED);
            }));
  EXPECT_EQ(g_expression_text, main_text);
  EXPECT_EQ(g_temp_ram_next, TEMPORARIES);
  EXPECT_EQ(g_register_a_state, REG_A_FREE);
}

TEST_F(Subexpression, TextsThatAreNoExpressionAreRefused) {
  const struct {
    const char* what;
    ByteArray level;
    std::string_view status;
  } cases[] = {
      {"only blanks", "        ", STATUS_SUBEXPRESSION_CONTENT_ERROR},
      {"an operator at the end", level_text({CA, "+"}), STATUS_SUBEXPRESSION_CONTENT_ERROR},
      {"two operands without an operator", level_text({CA, CB}), STATUS_MISSING_OPERATOR},
      {"a binary operator first", level_text({"/", CA}), STATUS_LEFT_OF_OPERAND_ERROR},
      {"a prefix that is no unary operator", level_text({CA, "=", "<<", CB}), STATUS_LEFT_OF_OPERAND_ERROR},
      {"one byte after the last operand", level_text({CA}) + ";", STATUS_RIGHT_OF_OPERAND_ERROR},
      {"an unknown character", level_text({CA, "?", CB}), STATUS_UNARY_UNRECOGNISED_SYMBOL},
      {"an undeclared name", "zz  +   " + level_text({CB}), STATUS_OPERAND_NOT_FOUND},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    g_subexpr_result = 0x12345678;
    EXPECT_EQ(process(c.level), c.status);
    EXPECT_EQ(emitted_count(), 0);
    EXPECT_EQ(g_subexpr_result, 0x12345678);
  }
}

}  // namespace
}  // namespace tarvik::test
