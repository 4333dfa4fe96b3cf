// The expression extraction: the text it hands the evaluator, its literals and string
// stores, its neighbour and bracket checks, and its messages.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "isa/isa.h"
#include "operand/operand.h"
#include "stmt/stmt.h"
#include "support/expr_support.h"

namespace tarvik::test {
namespace {

// What g_expression_text holds as long as the evaluator has not been called.
constexpr std::string_view UNTOUCHED = "untouched";
// Where string literals start; its three bytes differ, so their order in a token shows.
constexpr std::int32_t R = 0x012345;

// The token of constant-table entry n.
constexpr OperandDescriptor entry(std::int32_t n) { return make_operand(OPERAND_KIND_CONSTANT, n); }

// A source expression and what the evaluator must get for it: the text before its final
// ";", the literals' values from entry 2 on, and the bytes stored for string literals.
struct HandOver {
  const char* source;
  std::vector<Piece> text;
  std::vector<std::int32_t> literals = {};
  std::string stored = {};
  std::int32_t end_at_paren = 0;
  std::int32_t is_condition = 0;
  std::int32_t from = 0;  // where the expression starts
  std::int32_t end = -1;  // g_scan_pos afterwards; -1: just after the whole source
};

// A source expression and the extractor's message for it.
struct Outcome {
  const char* source;
  std::string_view message;
  std::int32_t end_at_paren = 0;
};
// The extractor accepts the text and hands it to the evaluator.
constexpr std::string_view PASSES = {};

// The stores of the bytes from address `at` on, as stores_from() spells them.
std::string stores_at(std::int32_t at, std::string_view bytes) {
  std::string out;
  for (const char byte : bytes) {
    char pair[16];
    std::snprintf(pair, sizeof pair, "%s%X=%02X", out.empty() ? "" : " ", static_cast<unsigned>(at++),
                  static_cast<unsigned>(static_cast<std::uint8_t>(byte)));
    out += pair;
  }
  return out;
}

// No names are declared, so the evaluator stops at its first lookup and keeps the text it
// got in g_expression_text.
class ExpressionExtraction : public ExpressionTest {
 protected:
  void SetUp() override {
    ExpressionTest::SetUp();
    g_ram_next = R;
  }

  // Extracts the expression that starts at `from` in `source`; its words start at first_word.
  StatusText extract(std::string_view source, std::int32_t end_at_paren = 0, std::int32_t is_condition = 0,
                     std::int32_t from = 0, const ByteArray& prefix = {}) {
    g_source = padded(source);
    g_scan_pos = from;
    g_expression_text = ByteArray(UNTOUCHED);
    first_word = g_rom_word_count;
    return extract_expression(end_at_paren, is_condition, prefix);
  }
  // Whether the last extraction called the evaluator.
  static bool handed_over() { return g_expression_text != UNTOUCHED; }

  // Each extraction, on fresh state, does what the string stores followed by the evaluator
  // on the expected text do: the same result, words, working text, constants and RAM.
  void expect_hand_overs(std::span<const HandOver> cases) {
    for (const HandOver& c : cases) {
      SCOPED_TRACE(c.source);
      fresh();
      const StatusText status = extract(c.source, c.end_at_paren, c.is_condition, c.from);
      ASSERT_TRUE(handed_over()) << status;
      EXPECT_EQ(g_scan_pos, c.end >= 0 ? c.end : static_cast<std::int32_t>(std::strlen(c.source)));
      std::vector<std::int32_t> literals;
      for (std::size_t k = 0; k < c.literals.size(); ++k) literals.push_back(g_constant_table[2 + static_cast<std::int32_t>(k)]);
      EXPECT_EQ(literals, c.literals);
      const ByteArray text = g_expression_text;
      const std::string words = words_from(0);
      const std::int32_t count = g_constant_count, ram_next = g_ram_next;

      fresh();
      for (const std::int32_t value : c.literals) constant(value);
      for (const char byte : c.stored) emit_store_imm(g_ram_next++, static_cast<std::uint8_t>(byte));
      // The evaluator's ";" is the extractor's "完成".
      const StatusText evaluated = evaluate_text(expression(c.text), c.is_condition);
      EXPECT_EQ(status, evaluated == STATUS_EXPRESSION_END ? Text(STATUS_DONE) : evaluated);
      EXPECT_EQ(items_of(text), items_of(g_expression_text));
      EXPECT_EQ(hex(text), hex(g_expression_text));
      EXPECT_EQ(words, words_from(0));
      EXPECT_EQ(count, g_constant_count);
      EXPECT_EQ(ram_next, g_ram_next);
    }
  }

  // Each extraction, on fresh state, ends with its message and hands nothing over, or
  // reaches the evaluator.
  void expect_outcomes(std::span<const Outcome> cases) {
    for (const Outcome& c : cases) {
      SCOPED_TRACE(c.source);
      fresh();
      const StatusText status = extract(c.source, c.end_at_paren);
      if (c.message.empty()) {
        EXPECT_TRUE(handed_over()) << status;
      } else {
        EXPECT_EQ(status, c.message);
        EXPECT_FALSE(handed_over());
      }
    }
  }
};

// The names a, b, x and y are ints, p an unsigned char pointer.
class DeclaredExtraction : public ExpressionExtraction {
 protected:
  void SetUp() override {
    ExpressionExtraction::SetUp();
    locals({{"a", "int", X}, {"b", "int", Y}, {"x", "int", Z}, {"y", "int", W}, {"p", "unsigned char*", P}});
  }
};

TEST_F(ExpressionExtraction, TokensReachTheEvaluatorEachFollowedByThreeBlanks) {
  const HandOver cases[] = {
      {"x = 1;", {"x", "=", entry(2)}, {1}},
      // Read from just after the "(": the ")" ends it and y = 2; stays unread.
      {"if (a < b) y = 2;", {"a", "<", "b"}, {}, "", 1, 1, 4, 10},
      {"(a) + b) c;", {"(", "a", ")", "+", "b"}, {}, "", 1, 0, 0, 8},
      {")", {}, {}, "", 1},
      {";", {}},
      // The longest operator wins, and only when nothing stands inside it.
      {"a<<=b;", {"a", "<<=", "b"}},
      {"a>>=b>=c;", {"a", ">>=", "b", ">=", "c"}},
      {"a+++b;", {"a", "++", "+", "b"}},
      {"a->b;", {"a", "-", ">", "b"}},
      {"a < = b;", {"a", "<", "=", "b"}},
      {"a!=!b;", {"a", "!=", "!", "b"}},
      {"a&&b||~c;", {"a", "&&", "b", "||", "~", "c"}},
      {"_a1 %= b2_;", {"_a1", "%=", "b2_"}},
      {"if = sizeof(while);", {"if", "=", "sizeof", "(", "while", ")"}},
      {"f();", {"f", "(", ")"}},
      {"a[1] = 2;", {"a", "[", entry(2), "]", "=", entry(3)}, {1, 2}},
      {"x /* note */ =\r\n\t1 // one\r\n ;", {"x", "=", entry(2)}, {1}},
      {"x = 0x1F + 017 + 'A' + 4294967295;",
       {"x", "=", entry(2), "+", entry(3), "+", entry(4), "+", entry(5)},
       {31, 15, 65, -1}},
      {"x = -1;", {"x", "=", "-", entry(2)}, {1}},
      // A string is a token for its address; its bytes and a 0 are stored there first.
      {"\"AB\";", {make_operand(OPERAND_KIND_UCHAR_ARRAY, R)}, {}, std::string("AB\0", 3)},
      {"x = \"A\" \"\" + 'B';",
       {"x", "=", make_operand(OPERAND_KIND_UCHAR_ARRAY, R), make_operand(OPERAND_KIND_UCHAR_ARRAY, R + 2), "+", entry(2)},
       {66},
       std::string("A\0\0", 3)},
  };
  expect_hand_overs(cases);
}

TEST_F(ExpressionExtraction, WorkedExampleIsExactAndReadsNothingAfterItsEnd) {
  // x is undeclared: the evaluator stops at its lookup and leaves the text as it got it.
  EXPECT_EQ(extract("x = 1; y"), STATUS_OPERAND_NOT_FOUND);
  EXPECT_EQ(hex(g_expression_text), hex(ByteArray("x   =   \xE8\x00\x00\x02   ;   ", 19)));
  EXPECT_EQ(g_constant_table[2], 1);
  EXPECT_EQ(g_constant_count, 3);
  EXPECT_EQ(g_scan_pos, 6);
  EXPECT_EQ(g_rom_word_count, 0);

  // A string's token holds its address high byte first; a lone operand is left as it came.
  fresh();
  EXPECT_EQ(extract("\"AB\";"), STATUS_DONE);
  EXPECT_EQ(hex(g_expression_text), "8C 01 23 45 20 20 20 3B 20 20 20");
}

TEST_F(DeclaredExtraction, CompiledExpressionsReturnDone) {
  const HandOver cases[] = {
      {"x = 1;", {"x", "=", entry(2)}, {1}},
      {"if (a < b) y = 2;", {"a", "<", "b"}, {}, "", 1, 1, 4, 10},
      {"(a == 0x100)", {"a", "==", entry(2)}, {0x100}, "", 1, 1, 1},
      {"for (;;) x++;", {}, {}, "", 0, 1, 5, 6},
      {"p = \"AB\";", {"p", "=", make_operand(OPERAND_KIND_UCHAR_ARRAY, R)}, {}, std::string("AB\0", 3)},
  };
  expect_hand_overs(cases);
  for (const HandOver& c : cases) {
    SCOPED_TRACE(c.source);
    fresh();
    EXPECT_EQ(extract(c.source, c.end_at_paren, c.is_condition, c.from), STATUS_DONE);
  }
}

TEST_F(DeclaredExtraction, StatementsComputeTheirValues) {
  ASSERT_EQ(extract("x = 0x1F + 017 + 'A';"), STATUS_DONE);
  sim.set_bytes(Z, 0x5555, 2);
  run();
  EXPECT_EQ(sim.read_bytes(Z, 2), 31u + 15u + 65u);

  // The string's bytes are stored where g_ram_next stood, before the evaluator's words.
  fresh();
  ASSERT_EQ(extract("p = \"AB\";"), STATUS_DONE);
  EXPECT_EQ(stores_from(first_word).substr(0, 26), "12345=41 12346=42 12347=00");
  EXPECT_EQ(g_ram_next, R + 3);
  run();
  EXPECT_EQ(sim.read_bytes(R, 3), 0x004241u);
  EXPECT_EQ(sim.read_bytes(P, 3), static_cast<std::uint32_t>(R));
}

TEST_F(DeclaredExtraction, FirstLiteralOfEveryExpressionIsEntryTwo) {
  ASSERT_EQ(extract("x = 1 + 2 + 3 + 4;"), STATUS_DONE);
  ASSERT_EQ(extract("y = 7;"), STATUS_DONE);
  EXPECT_EQ(g_constant_table[0], 0);
  EXPECT_EQ(g_constant_table[1], 1);
  EXPECT_EQ(g_constant_table[2], 7);
  EXPECT_EQ(g_constant_count, 3);
  run();
  EXPECT_EQ(sim.read_bytes(W, 2), 7u);
}

TEST_F(DeclaredExtraction, PrefixStandsBeforeTheText) {
  const ByteArray prefix = level_text({s16(CELL), "="});
  ASSERT_EQ(extract("a + 1;", 0, 0, 0, prefix), STATUS_DONE);
  const std::string words = emitted();
  sim.set_bytes(X, 41, 2);
  run();
  EXPECT_EQ(sim.read_bytes(CELL, 2), 42u);

  fresh();
  constant(1);
  EXPECT_EQ(evaluate({s16(CELL), "=", "a", "+", entry(2)}), STATUS_EXPRESSION_END);
  EXPECT_EQ(words, emitted());
}

TEST_F(ExpressionExtraction, EvaluatorErrorsComeBackUnchanged) {
  const struct {
    const char* source;
    std::string_view status;
  } cases[] = {
      {"f();", STATUS_FUNCTION_NOT_FOUND},
      {"x = 1;", STATUS_OPERAND_NOT_FOUND},
      {"(a) b;", STATUS_END_NAME_NOT_FOUND},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    fresh();
    EXPECT_EQ(extract(c.source), c.status);
  }
}

TEST_F(ExpressionExtraction, StringBytesAreStoredAsTheyStand) {
  const struct {
    const char* what;
    std::string source;
    std::string stored;  // without the closing 0
    std::int32_t end;
  } cases[] = {
      {"empty", "\"\";", "", 3},
      {"backslash before the quote", "\"a\\\" ;", "a\\", 6},
      {"blanks, line break, comment markers", "\"x y\r\n/*c*/ //\";", "x y\r\n/*c*/ //", 16},
      {"GBK text and a byte of 0xFF", "\"中\xFF\";", "中\xFF", 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    EXPECT_EQ(extract(c.source), STATUS_DONE);
    EXPECT_EQ(g_scan_pos, c.end);
    EXPECT_EQ(stores_from(first_word), stores_at(R, c.stored + '\0'));
    EXPECT_EQ(g_ram_next, R + static_cast<std::int32_t>(c.stored.size()) + 1);
  }
}

TEST_F(ExpressionExtraction, UnterminatedStringStoresUpToTheLastByte) {
  // The source ends in 16 blanks: all but the last are stored with A and B.
  EXPECT_EQ(extract("x = \"AB"), MSG_EXTRACT_STRING_END);
  EXPECT_FALSE(handed_over());
  EXPECT_EQ(stores_from(first_word), stores_at(R, "AB" + std::string(15, ' ')));
  EXPECT_EQ(g_ram_next, R + 17);
}

TEST_F(ExpressionExtraction, NoOperandDirectlyAfterAnOperand) {
  const Outcome cases[] = {
      {"a b;", MSG_EXTRACT_OPERAND},
      {"a 1;", MSG_EXTRACT_OPERAND},
      {"1 a;", MSG_EXTRACT_OPERAND},
      {"'a' 'b';", MSG_EXTRACT_OPERAND},
      {"\"s\" a;", MSG_EXTRACT_OPERAND},
      {"\"s\" 1;", MSG_EXTRACT_OPERAND},
      {"a \"s\";", MSG_EXTRACT_OPERAND},
      {"1 \"s\";", MSG_EXTRACT_OPERAND},
      {"\"s\" \"t\";", PASSES},
      // A name may be called or indexed, a literal not.
      {"1(a);", MSG_EXTRACT_OPERAND},
      {"'a'[0];", MSG_EXTRACT_OPERAND},
      {"\"s\"[0];", MSG_EXTRACT_OPERAND},
      {"\"s\"(0);", MSG_EXTRACT_OPERAND},
      {"a(b);", PASSES},
      {"a[b];", PASSES},
      {"(a)(b);", PASSES},
      // Operands may follow closing brackets.
      {"(a) b;", PASSES},
      {"a[1] 2;", PASSES},
  };
  expect_outcomes(cases);
}

TEST_F(ExpressionExtraction, NoOperatorWhereAnOperandMustCome) {
  const Outcome cases[] = {
      {"&& a;", MSG_EXTRACT_OPERATOR},
      {"|| a;", MSG_EXTRACT_OPERATOR},
      {"? a;", MSG_EXTRACT_OPERATOR},
      {": a;", MSG_EXTRACT_OPERATOR},
      {", a;", MSG_EXTRACT_OPERATOR},
      {"= a;", PASSES},
      {"- a;", PASSES},
      // "&&", "||", "?" and ":" after an assignment, an opening bracket or another of them.
      {"a = && b;", MSG_EXTRACT_OPERATOR},
      {"a >>= || b;", MSG_EXTRACT_OPERATOR},
      {"a ^= ? b : c;", MSG_EXTRACT_OPERATOR},
      {"(|| a);", MSG_EXTRACT_OPERATOR},
      {"a[: b];", MSG_EXTRACT_OPERATOR},
      {"a && || b;", MSG_EXTRACT_OPERATOR},
      {"a ? ? b;", MSG_EXTRACT_OPERATOR},
      {"a ? b : && c;", MSG_EXTRACT_OPERATOR},
      {"a, ? b;", MSG_EXTRACT_OPERATOR},
      {"a + && b;", PASSES},
      {"(a) && b[1] || c;", PASSES},
      // Closing brackets, "," and ";".
      {"f();", PASSES},
      {"a[];", MSG_EXTRACT_OPERATOR},
      {"a[b,];", MSG_EXTRACT_OPERATOR},
      {"a[b &&];", MSG_EXTRACT_OPERATOR},
      {"a[b +];", PASSES},
      {"f(a,);", MSG_EXTRACT_OPERATOR},
      {"(a ?);", MSG_EXTRACT_OPERATOR},
      {"(a :)", MSG_EXTRACT_OPERATOR, 1},
      {"(a =);", PASSES},
      {"f(, a);", MSG_EXTRACT_OPERATOR},
      {"a,, b;", MSG_EXTRACT_OPERATOR},
      {"a ||, b;", MSG_EXTRACT_OPERATOR},
      {"a[, b];", PASSES},
      {"a =, b;", PASSES},
      {"a ||;", MSG_EXTRACT_OPERATOR},
      {"a ?;", MSG_EXTRACT_OPERATOR},
      {"a,;", MSG_EXTRACT_OPERATOR},
      {"a =;", PASSES},
      {";", PASSES},
  };
  expect_outcomes(cases);
}

TEST_F(ExpressionExtraction, NoAssignmentAfterAConditionalOfItsBracketLevel) {
  const Outcome cases[] = {
      {"a ? b = 1 : c;", MSG_EXTRACT_ASSIGNMENT_IN_CONDITIONAL},
      {"a ? b : c = 1;", MSG_EXTRACT_ASSIGNMENT_IN_CONDITIONAL},
      {"a ? b : c[i] = 1;", MSG_EXTRACT_ASSIGNMENT_IN_CONDITIONAL},
      {"a ? b : c <<= 1;", MSG_EXTRACT_ASSIGNMENT_IN_CONDITIONAL},
      {"a ? b : c, x |= 1;", MSG_EXTRACT_ASSIGNMENT_IN_CONDITIONAL},
      {"f(a ? b : c, x = 1);", MSG_EXTRACT_ASSIGNMENT_IN_CONDITIONAL},
      {"x = a ? b : c;", PASSES},
      {"a ? (b = 1) : c;", PASSES},
      {"a ? b : c[i = 1];", PASSES},
      {"(a ? b : c), x = 1;", PASSES},
      // A bracket opening a level again starts it without the conditional.
      {"(a ? b : c) + (x = 1);", PASSES},
      {"f(a[b ? c : d], x = 1);", PASSES},
      {"x = (a ? b : c) == (y -= 1))", PASSES, 1},
  };
  expect_outcomes(cases);
}

TEST_F(ExpressionExtraction, BracketsPairAndTheEndTokenStandsOutsideThem) {
  const Outcome cases[] = {
      {"(a];", MSG_EXTRACT_SQUARE_BRACKETS},
      {"a];", MSG_EXTRACT_SQUARE_BRACKETS},
      {"a]", MSG_EXTRACT_SQUARE_BRACKETS, 1},
      {"[a);", MSG_EXTRACT_PARENTHESES},
      {"[a)", MSG_EXTRACT_PARENTHESES, 1},
      {"a);", MSG_EXTRACT_PARENTHESES},
      {"f(a[b)];", MSG_EXTRACT_PARENTHESES},
      {"a; b)", MSG_EXTRACT_SEMICOLON_BEFORE_PAREN, 1},
      {";", MSG_EXTRACT_SEMICOLON_BEFORE_PAREN, 1},
      {"f(a; b)", MSG_EXTRACT_SEMICOLON_IN_BRACKETS},
      {"f(a; b)", MSG_EXTRACT_SEMICOLON_IN_BRACKETS, 1},
      {"a[b; c];", MSG_EXTRACT_SEMICOLON_IN_BRACKETS},
      {"f((a)[b]);", PASSES},
      {"(a))", PASSES, 1},
  };
  expect_outcomes(cases);
}

TEST_F(ExpressionExtraction, TextEndLiteralsAndUnknownBytes) {
  const Outcome cases[] = {
      {"", MSG_EXTRACT_TEXT_END},
      {"x = 1", MSG_EXTRACT_TEXT_END},
      {"x = 1 /* end */", MSG_EXTRACT_TEXT_END},
      {"(a < b", MSG_EXTRACT_TEXT_END, 1},
      {"x = 4294967296;", MSG_EXTRACT_OPERAND},
      {"x = 0x123456789;", MSG_EXTRACT_OPERAND},
      {"x = 'ab';", MSG_EXTRACT_OPERAND},
      {"x = 08;", MSG_EXTRACT_OPERAND},
      {"x = 1.5;", MSG_EXTRACT_UNRECOGNISED},
      {".", MSG_EXTRACT_UNRECOGNISED},
      {"x = {1};", MSG_EXTRACT_UNRECOGNISED},
      {"}", MSG_EXTRACT_UNRECOGNISED},
      {"#x;", MSG_EXTRACT_UNRECOGNISED},
      {"a \\ b;", MSG_EXTRACT_UNRECOGNISED},
      {"x = 中;", MSG_EXTRACT_UNRECOGNISED},
      {"a$;", MSG_EXTRACT_UNRECOGNISED},
  };
  expect_outcomes(cases);
}

TEST_F(ExpressionExtraction, ExtractorErrorsLeaveWhatWasDone) {
  // The literal and the string before the error stay; the scan stops at the bad byte.
  EXPECT_EQ(extract("x = 5 + \"A\" . 1;"), MSG_EXTRACT_UNRECOGNISED);
  EXPECT_FALSE(handed_over());
  EXPECT_EQ(g_constant_table[2], 5);
  EXPECT_EQ(g_constant_count, 3);
  EXPECT_EQ(stores_from(first_word), "12345=41 12346=00");
  EXPECT_EQ(g_ram_next, R + 2);
  EXPECT_EQ(g_scan_pos, 12);
}

TEST_F(ExpressionExtraction, NestedBracketsBeyondTheTableThrow) {
  // 65535 open brackets fit; the text then fails at the ".", before the evaluator.
  EXPECT_EQ(extract(std::string(65535, '(') + "."), MSG_EXTRACT_UNRECOGNISED);
  EXPECT_THROW(extract(std::string(65536, '(') + "."), TableCapacityExceeded);
}

TEST_F(ExpressionExtraction, ConstantsBeyondTheTableThrow) {
  // Entries 0 and 1 are taken, so 65534 literals fill the table.
  std::string literals = "1";
  for (int k = 1; k < 65534; ++k) literals += "+1";
  EXPECT_EQ(extract(literals + "."), MSG_EXTRACT_UNRECOGNISED);
  EXPECT_EQ(g_constant_count, TABLE_CAPACITY);
  EXPECT_THROW(extract(literals + "+1."), TableCapacityExceeded);
}

}  // namespace
}  // namespace tarvik::test
