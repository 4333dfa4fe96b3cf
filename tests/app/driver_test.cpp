#include "support/support.h"

namespace tarvik::test {
namespace {

class CompileDriver : public CompilerTest {};

constexpr const char* STARTUP_WORDS = "35 00 34 00 33 09 0D FF 35 C0 33 80 FF FF 37 FF FF FF";

TEST_F(CompileDriver, WithNoItemSelectedNothingIsReadOrWritten) {
  put_file("main.c", "int x;");
  window.editor = "void main(){}";
  compile_project(window);
  EXPECT_EQ(window.log_text(), "开始编译\r\n文本结束\r\n");
  EXPECT_EQ(g_source, SOURCE_PADDING);
  EXPECT_EQ(files_here(), std::vector<std::string>{"main.c"});
  EXPECT_EQ(read_file("main.c"), "int x;");
}

TEST_F(CompileDriver, SavesTheSelectedFileThenCompilesMainFromTheStartUpWords) {
  window.items = {"main.c", "a.h"};
  window.current = 1;
  window.editor = "// a.h\r\n";
  put_file("main.c", "int x;");

  compile_project(window);

  EXPECT_EQ(read_file("a.h"), "// a.h\r\n");
  EXPECT_EQ(g_source, padded("int x;"));
  EXPECT_EQ(words(), STARTUP_WORDS);
  EXPECT_EQ(window.log_text(), "开始编译\r\nscan_variable_declarations尚未实现\r\n");
}

TEST_F(CompileDriver, AMainWithNothingToCompileEndsWithTheEndOfTheText) {
  const struct {
    const char* main_c;  // nullptr: no main.c
  } cases[] = {{nullptr}, {""}, {"  /* nothing */\r\n"}};
  window.items = {"main.c"};
  window.current = 0;
  for (const auto& c : cases) {
    for (const auto& name : files_here()) std::filesystem::remove(name);
    window.editor = c.main_c ? c.main_c : "";
    if (!c.main_c) window.items = {"b.h"};  // main.c is then never written
    compile_project(window);
    EXPECT_EQ(window.log_text(), "开始编译\r\n文本结束\r\n");
    EXPECT_EQ(words(), STARTUP_WORDS);
  }
}

TEST_F(CompileDriver, ASelectedFileThatCannotBeWrittenStopsTheCompile) {
  put_file("main.c", "int x;");
  window.items = {"no/such/dir.h"};
  window.current = 0;
  compile_project(window);
  EXPECT_EQ(window.log_text(), "开始编译\r\n写入文件失败:no/such/dir.h\r\n");
  EXPECT_EQ(g_rom_word_count, 0);
  EXPECT_EQ(files_here(), std::vector<std::string>{"main.c"});
}

TEST_F(CompileDriver, ASecondCompileStartsAfresh) {
  window.items = {"main.c"};
  window.current = 0;
  window.editor = "int x;";
  compile_project(window);
  const std::string first_log = window.log_text();
  const std::string first_words = words();
  compile_project(window);
  EXPECT_EQ(window.log_text(), first_log);
  EXPECT_EQ(words(), first_words);
}

}  // namespace
}  // namespace tarvik::test
