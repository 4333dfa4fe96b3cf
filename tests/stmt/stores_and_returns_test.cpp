#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "binop/binop.h"
#include "support/program_support.h"

namespace tarvik::test {
namespace {

class StoresAndReturns : public ProgramTest {
 protected:
  std::int16_t int_at(std::int32_t address) const { return static_cast<std::int16_t>(ram(address, 2)); }
};

// The target of a ?: assignment is stepped once, whichever part is stored.
TEST_F(StoresAndReturns, AConditionalStoresIntoItsTargetAfterRunningTheTargetsCodeOnce) {
  const struct {
    int c;
    std::int16_t ia[3];
  } cases[] = {{0, {10, 8, 6}}, {1, {10, 7, 5}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.c);
    // ia at +0, ip at +6, c at +9
    compile_and_run("int ia[3] = {10, 20, 30};\r\nint *ip = 0;\r\nint c = " + std::to_string(c.c) +
                    ";\r\nvoid main() { ip = ia; *++ip = c ? 3 : 4; *++ip = c ? 5 : 6; *--ip = c ? 7 : 8; }\r\n");
    for (int k = 0; k < 3; ++k) EXPECT_EQ(int_at(FIRST_GLOBAL + 2 * k), c.ia[k]) << k;
    EXPECT_EQ(ram(FIRST_GLOBAL + 6, 3), static_cast<std::uint32_t>(FIRST_GLOBAL + 2));
  }
}

TEST_F(StoresAndReturns, ACompoundOrChainedConditionalIntoASteppedTargetToo) {
  const struct {
    const char* statements;
    std::int16_t ia1, x;
  } cases[] = {
      {"*++ip += c ? 5 : 6;", 2 + 5, 0},
      {"x = *++ip = c ? c ? 5 : 6 : 7;", 5, 5},
      {"x = *++ip = c ? 7 : c ? 6 : 5;", 7, 7},
      {"x = *++ip = !c ? 7 : c ? 6 : 5;", 6, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.statements);
    // ia at +0, ip at +4, c at +7, x at +9
    compile_and_run(std::string("int ia[2] = {1, 2};\r\nint *ip = 0;\r\nint c = 1;\r\nint x = 0;\r\n"
                                "void main() { ip = ia; ") +
                    c.statements + " }\r\n");
    EXPECT_EQ(int_at(FIRST_GLOBAL), 1);
    EXPECT_EQ(int_at(FIRST_GLOBAL + 2), c.ia1);
    EXPECT_EQ(ram(FIRST_GLOBAL + 4, 3), static_cast<std::uint32_t>(FIRST_GLOBAL + 2));
    EXPECT_EQ(int_at(FIRST_GLOBAL + 9), c.x);
  }
}

// A function with a result whose end is reached returns there, and the program ends.
TEST_F(StoresAndReturns, AFunctionWithAResultReturnsAtItsClosingBrace) {
  compile_and_run(
      "int r = 0;\r\n"
      "int s = 0;\r\n"
      "inc() { r++; }\r\n"
      "int add(int n) { if (n > 0) return s + n; s = s + 10; }\r\n"
      "void main() { inc(); inc(); add(0); add(0); r = r + add(5); }\r\n");
  EXPECT_EQ(int_at(FIRST_GLOBAL), 2 + 25);
  EXPECT_EQ(int_at(FIRST_GLOBAL + 2), 20);
}

// The closing brace after a return at the body's own level adds no words; a labelled return
// counts, a return inside a block or a branch does not. f's last words are counted as return
// sequences: its own return's, then the closing brace's.
TEST_F(StoresAndReturns, AReturnAtTheBodysLevelIsTheFunctionsLastWords) {
  const struct {
    const char* function;
    int trailing_returns;
  } cases[] = {
      {"int f() { return 1; }", 1},
      {"int f() { goto end; end: return 1; }", 1},
      {"int f() { if (1) return 1; else return 2; }", 2},
      {"int f() { { return 1; } }", 2},
      {"int f() { goto end; return 1; end: }", 2},
      {"int f() { }", 1},
      {"void f() { return; }", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.function);
    compile(std::string(c.function) + "\r\nvoid main() { }\r\n");
    ASSERT_TRUE(compiled());
    const std::string return_jump = words_spelled_from(0, [] { emit_return_jump(g_func_return_slot[1]); });
    int trailing = 0;
    for (std::int32_t end = g_func_entry[2]; end - RETURN_SEQUENCE_WORDS >= g_func_entry[1]; end -= RETURN_SEQUENCE_WORDS) {
      const std::string last = words_from(end - RETURN_SEQUENCE_WORDS).substr(0, return_jump.size());
      if (last != return_jump) break;
      ++trailing;
    }
    EXPECT_EQ(trailing, c.trailing_returns);
  }
}

// The first project of the README: its function ends with a return and keeps its words.
TEST_F(StoresAndReturns, TheReadmesFirstProjectKeepsItsSize) {
  put_file("config.h", "#define COUNT 5\r\n");
  const std::string log = compile(
      "#include <config.h>\r\n\r\nint total = 0;\r\nint squares[COUNT];\r\n\r\n"
      "int square(int n)\r\n{\r\n  return n * n;\r\n}\r\n\r\n"
      "void main()\r\n{\r\n  int i;\r\n  for (i = 0; i < COUNT; i++) {\r\n"
      "    squares[i] = square(i);\r\n    total += squares[i];\r\n  }\r\n}\r\n");
  EXPECT_EQ(log,
            "正在编译square函数...OK\r\n"
            "正在编译main函数...OK\r\n"
            "正在修改主函数入口跳转指令指向地址188\r\n"
            "ROM使用757字\r\n"
            "RAM使用48字节 系统保留65536字节 总占65584字节\r\n"
            "编译结束\r\n");
  // The only chip pair holds just the words there are.
  EXPECT_EQ(std::filesystem::file_size("ROM_U4.bin"), 757u);
  EXPECT_EQ(std::filesystem::file_size("ROM_U8.bin"), 757u);
  run();
  EXPECT_EQ(int_at(FIRST_GLOBAL), 30);
}

// Globals for the assignment tables: x, y, z and w, then a, ia, ip and c.
constexpr std::string_view ASSIGNMENT_GLOBALS =
    "int x = 1; int y = 2; int z = 0; int w = 10; char a = 3; int ia[4] = {0, 0, 0, 0}; int *ip = 0;\r\n"
    "unsigned char c = 1; char b = 4; int f() { return 5; }\r\n";

TEST_F(StoresAndReturns, AnAssignmentToAValueIsRefused) {
  const char* statements[] = {
      "*ip++ = x;",     "x == y = 3;", "(x + y) = 3;", "(a + b) = 3;",      "x + 1 = 3;",
      "f() = 1;",       "-x = 3;",     "!x = 3;",      "x++ = 3;",          "x = y < c = 2;",
      "x + 1 += 3;",    "~x = 3;",     "(c ? x : y) = 3;", "(x + y) = c ? 1 : 2;", "f(x + 1 = 2);",
      "y = (x + y) = 3;",
  };
  for (const char* statement : statements) {
    SCOPED_TRACE(statement);
    const std::string log = compile(std::string(ASSIGNMENT_GLOBALS) + "void main() { ip = ia; " + statement + " }\r\n");
    EXPECT_TRUE(log.ends_with("正在编译main函数...\r\n" + Text(STATUS_ASSIGNMENT_TARGET_ERROR) + "\r\n")) << log;
    EXPECT_EQ(files_here(), std::vector<std::string>{"main.c"});
  }
}

// Each statement changes the globals it names and no other byte of them.
TEST_F(StoresAndReturns, AnAssignmentToAnObjectStores) {
  struct Change {
    std::int32_t offset;  // from the first global
    std::int16_t value;
  };
  constexpr std::int32_t X = 0, Y = 2, Z = 4, W = 6, A = 8, IA = 9;  // a is one byte
  const struct {
    const char* statements;
    std::vector<Change> changes;
  } cases[] = {
      {"(x) = 3;", {{X, 3}}},
      {"*ip = 7;", {{IA, 7}}},
      {"ip[1] = 8;", {{IA + 2, 8}}},
      {"ia[c + 2] = 5;", {{IA + 6, 5}}},
      {"x = y = 4;", {{X, 4}, {Y, 4}}},
      {"*ip += 1;", {{IA, 1}}},
      {"ia[3] += 2;", {{IA + 6, 2}}},
      {"z = c ? 3 : 4;", {{Z, 3}}},
      {"w += c ? 1 : 2;", {{W, 11}}},
      {"_A = 6; a = _A;", {{A, 6}}},
      {"*(ip + 2) = 9;", {{IA + 4, 9}}},
      {"x = (y = 6) + 1;", {{X, 7}, {Y, 6}}},
  };
  compile_and_run(std::string(ASSIGNMENT_GLOBALS) + "void main() { ip = ia; }\r\n");
  std::vector<std::uint32_t> before;
  for (std::int32_t k = 0; k < IA + 8; ++k) before.push_back(ram(FIRST_GLOBAL + k, 1));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.statements);
    compile_and_run(std::string(ASSIGNMENT_GLOBALS) + "void main() { ip = ia; " + c.statements + " }\r\n");
    std::vector<std::uint32_t> expected = before;
    for (const Change& change : c.changes) {
      expected[static_cast<std::size_t>(change.offset)] = static_cast<std::uint8_t>(change.value);
      if (change.offset != A) expected[static_cast<std::size_t>(change.offset) + 1] = static_cast<std::uint8_t>(change.value >> 8);
    }
    for (std::int32_t k = 0; k < IA + 8; ++k) EXPECT_EQ(ram(FIRST_GLOBAL + k, 1), expected[static_cast<std::size_t>(k)]) << k;
  }
}

}  // namespace
}  // namespace tarvik::test
