#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "front/front.h"
#include "isa/isa.h"
#include "stmt/stmt.h"
#include "support/expr_support.h"
#include "support/program_support.h"

namespace tarvik::test {
namespace {

// A loop and the i and n it ends with.
struct Loop {
  const char* body;
  std::int16_t i, n;
};

// Programs on the globals int i, j, n and r, in this order, with a counting function before
// main.
class MendedStatements : public ProgramTest {
 protected:
  static constexpr std::int32_t I = FIRST_GLOBAL, N = I + 4, R = I + 6;

  // Runs main with the body, after the globals and count(s), which gives the length of s.
  void run_main(const std::string& body) {
    compile_and_run(
        "int i = 0; int j = 0; int n = 0; int r = 0;\r\n"
        "int count(unsigned char *s) { int k; k = 0; while (*s) { k++; s++; } return k; }\r\n"
        "void main() {\r\n" +
        body + "\r\n}\r\n");
  }
  std::int16_t int_at(std::int32_t address) const { return static_cast<std::int16_t>(ram(address, 2)); }
  // The log of a compile that fails in main.
  static std::string failed_in_main(std::string_view message) {
    return std::string("正在编译main函数...\r\n") + Text(message) + "\r\n";
  }
  void expect_loops(std::span<const Loop> cases) {
    for (const Loop& c : cases) {
      SCOPED_TRACE(c.body);
      run_main(c.body);
      EXPECT_EQ(int_at(I), c.i);
      EXPECT_EQ(int_at(N), c.n);
    }
  }
};

TEST_F(MendedStatements, ContinueInAForRunsTheStep) {
  const Loop cases[] = {
      {"for (i = 0; i < 10; i++) { if (i & 1) continue; n++; }", 10, 5},
      {"for (i = 0; i < 4; i++) continue;", 4, 0},
      {"for (i = 0; i < 10;) { i++; if (i < 5) continue; n++; }", 10, 6},
      // the inner continue runs the inner step; a while inside goes to its own condition
      {"for (i = 0; i < 3; i++) for (j = 0; j < 3; j++) { if (j == 1) continue; n++; }", 3, 6},
      {"for (i = 0; i < 2; i++) { j = 0; while (j < 3) { j++; continue; } n = n + j; }", 2, 6},
      // the step's string is stored again on the way from a continue
      {"for (i = 0; i < 9; i = i + count(\"abc\")) { if (i == 0) continue; n++; }", 9, 2},
  };
  expect_loops(cases);
}

TEST_F(MendedStatements, ContinueInADoTestsTheCondition) {
  const Loop cases[] = {
      {"do { i++; continue; } while (i < 3);", 3, 0},
      {"do { i++; if (i % 2) continue; n++; } while (i < 7);", 7, 3},
      {"do if (i++ < 4) continue; else n++; while (i < 6);", 6, 2},
      // the condition's string is stored before it is tested, also the first time
      {"do { i++; if (i < 3) continue; n++; } while (count(\"abcde\") > i);", 5, 3},
      {"do { i++; j = 0; do { j++; if (j < i) continue; n++; } while (j < 2); } while (i < 3);", 3, 3},
  };
  expect_loops(cases);
}

// A return in main goes where the end of main's body goes: past main's last word, where
// the program ends.
TEST_F(MendedStatements, ReturnInMainEndsTheProgram) {
  const struct {
    const char* body;
    std::int16_t r;
  } cases[] = {
      {"r = 1; if (r) return; r = 2;", 1},
      {"while (1) { for (i = 0;; i++) if (i == 7) { r = i; return; } r = 99; }", 7},
      {"do { r++; if (r == 4) return; } while (1);", 4},
      {"r = 3; return;", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    run_main(c.body);
    EXPECT_EQ(int_at(R), c.r);
  }
}

TEST_F(MendedStatements, ReturnInMainIsOneJumpToTheEnd) {
  // main starts at word 13 and ends at word 17
  compile("void main() { return; }");
  EXPECT_EQ(words_from(13), "35 00 34 00 33 11 0D FF");
  EXPECT_EQ(g_rom_word_count, 17);

  // other functions keep the return through their slot
  compile("void f() { return; } void main() {}");
  EXPECT_EQ(g_rom_word_count, 13 + 2 * RETURN_SEQUENCE_WORDS);
}

TEST_F(MendedStatements, ReturnInMainStoresItsValueFirst) {
  const struct {
    const char* type;
    int width;
    std::uint32_t cell;
  } cases[] = {
      {"char", 1, 0xF1},
      {"int", 2, 0xFFF1},
      {"unsigned long int", 4, 0xFFFFFFF1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    compile_and_run("int r;\r\n" + std::string(c.type) + " main() { r = 5; if (r) return r - 20; r = 0; }\r\n");
    EXPECT_EQ(ram(FIRST_GLOBAL, 2), 5u);
    EXPECT_EQ(ram(RETURN_VALUE_ADDRESS, c.width), c.cell);
  }
}

// Gotos jump forward only: a label that never follows, or one passed before the goto,
// would leave the goto a jump to the next word.
TEST_F(MendedStatements, AGotoMustMeetItsLabelLater) {
  const struct {
    const char* program;
    std::string log;
  } cases[] = {
      {"void main() { goto out; }", failed_in_main(MSG_GOTO_NAME)},
      {"int r; void main() { goto L; L: r = 1; goto L; }", failed_in_main(MSG_GOTO_NAME)},
      {"int r; void main() { while (r) { goto L; } }", failed_in_main(MSG_GOTO_NAME)},
      {"void f() { goto done; }\r\nvoid main() { goto done; done: ; }",
       "正在编译f函数...\r\n" + Text(MSG_GOTO_NAME) + "\r\n"},
      {"int r; void main() { goto L; goto L; L: r = 1; }", failed_in_main(MSG_GOTO_NAME_TWICE)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program);
    EXPECT_EQ(compile(c.program), c.log);
  }
}

// The step of a for header is stepped over before the body: literals in it are taken whole,
// so their brackets do not count and "//" or "/*" in them starts no comment.
TEST_F(MendedStatements, ForStepLiteralsAreSkippedWhole) {
  const struct {
    const char* step;
    std::int16_t i, n;
  } cases[] = {
      {"i = i + 40 + count(\")\")", 123, 3},
      {"i = i + 40 + count(\"((\")", 126, 3},
      {"i = i + count(\"a)\") + count(\"b(\") + 36", 120, 3},
      {"i = i + 40 + count(\"//\")", 126, 3},
      {"i = i + 40 + count(\"/*\")", 126, 3},
      {"i = i + count(\"'(\") * 20", 120, 3},
      {"i = i + ')'", 123, 3},
      {"i = i + '('", 120, 3},
      {"i = i + '\"' + 6", 120, 3},
      {"i = i + 80 / 2 /* ) */", 120, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.step);
    run_main(std::string("for (i = 0; i < 100; ") + c.step + ") n++; r = 1;");
    EXPECT_EQ(int_at(I), c.i);
    EXPECT_EQ(int_at(N), c.n);
    EXPECT_EQ(int_at(R), 1);
  }
}

// A character literal left open is none: its "(" counts and is never closed.
TEST_F(MendedStatements, ALiteralLeftOpenInTheForStepIsAFormatError) {
  EXPECT_EQ(compile("int i; void main() { for (i = 0; i < 3; i = i + '() i = 1; }"), failed_in_main(MSG_FOR_FORMAT));
  // a string left open reaches the end of the text: the driver's brace count before the body meets it first
  EXPECT_EQ(compile("int i; void main() { for (i = 0; i < 3; i = i + \"ab) i = 1; }"),
            Text(MSG_BRACES_UNPAIRED) + "\r\n");
}

class ForStepLeftOpen : public ExpressionTest {};

TEST_F(ForStepLeftOpen, AStringToTheEndOfTheTextIsAFormatError) {
  local("i", "int", X);
  g_source = padded("for (i = 0; i < 3; i = i + \"ab) i = 1; }");
  g_scan_pos = 0;
  bool ends_with_return = false;
  EXPECT_EQ(compile_function_body(ends_with_return), MSG_FOR_FORMAT);
}

// A bare block that is the body of an unbraced statement completes it, also when a label
// stands before it, so an if finds its else and a loop jumps back.
TEST_F(MendedStatements, ALabelledBlockCompletesTheStatementBeforeIt) {
  const struct {
    const char* body;
    std::int16_t r;
  } cases[] = {
      {"if (j) goto L; if (i) L: { r = r + 1; } else { r = r + 10; } r = r + 100;", 110},
      {"i = 1; if (j) goto L; if (i) L: { r = r + 1; } else { r = r + 10; } r = r + 100;", 101},
      {"j = 1; if (j) goto L; if (i) L: { r = r + 1; } else { r = r + 10; } r = r + 100;", 101},
      {"j = 1; if (j) goto L; if (i) { r = r + 1; } else L: { r = r + 10; } r = r + 100;", 110},
      {"i = 1; if (j) goto L; if (i) r = r + 1; else L: { r = r + 10; } r = r + 100;", 101},
      {"j = 1; if (j) goto W; while (i < 3) W: { i++; r = r + 1; } r = r + 100;", 103},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    run_main(c.body);
    EXPECT_EQ(int_at(R), c.r);
  }
}

TEST_F(MendedStatements, MoreThan65536StatementLevelsFillTheTable) {
  const std::string opened(TABLE_CAPACITY, '{'), closed(TABLE_CAPACITY, '}');
  compile("void main() {" + opened + closed + "}");
  EXPECT_TRUE(compiled());

  std::string loops;
  for (int k = 0; k <= TABLE_CAPACITY; ++k) loops += "do ";
  const std::string programs[] = {
      "void main() {" + opened + "{}" + closed + "}",
      "void main() { " + loops + "; }",
  };
  for (const std::string& program : programs) {
    SCOPED_TRACE(program.substr(0, 20));
    EXPECT_EQ(compile(program), failed_in_main(MSG_TABLE_FULL));
  }
}

TEST_F(MendedStatements, MoreThan65536GotosInABodyFillTheTable) {
  std::string gotos;
  for (int k = 0; k < TABLE_CAPACITY; ++k) gotos += "goto L; L: ";
  compile("void main() { " + gotos + "}");
  EXPECT_TRUE(compiled());
  EXPECT_EQ(g_rom_word_count, 13 + 4 * TABLE_CAPACITY);

  EXPECT_EQ(compile("void main() { " + gotos + "goto L; L: }"), failed_in_main(MSG_TABLE_FULL));
}

}  // namespace
}  // namespace tarvik::test
