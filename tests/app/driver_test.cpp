#include "isa/isa.h"
#include "support/support.h"

namespace tarvik::test {
namespace {

class CompileDriver : public CompilerTest {
 protected:
  // Compiles main.c as it stands on disk, with main.c selected and shown in the editor.
  void compile_main(const std::string& main_c) {
    put_file("main.c", main_c);
    window.items = {"main.c"};
    window.current = 0;
    window.editor = main_c;
    compile_project(window);
  }
  std::vector<std::string> rom_files() const {
    std::vector<std::string> names;
    for (const auto& name : files_here())
      if (name.starts_with("ROM")) names.push_back(name);
    return names;
  }
};

constexpr const char* STARTUP_WORDS = "35 00 34 00 33 09 0D FF 35 C0 33 80 FF FF 37 FF FF FF";

TEST_F(CompileDriver, AnEmptyMainCompilesToThirteenWords) {
  compile_main("void main(){}");
  EXPECT_EQ(window.log_text(),
            "开始编译\r\n"
            "正在编译main函数...OK\r\n"
            "正在修改主函数入口跳转指令指向地址13\r\n"
            "ROM使用13字\r\n"
            "RAM使用24字节 系统保留65536字节 总占65560字节\r\n"
            "编译结束\r\n");
  EXPECT_EQ(rom_files(), (std::vector<std::string>{"ROM.bin", "ROM_H.bin", "ROM_L.bin", "ROM_U4.bin", "ROM_U8.bin"}));
  EXPECT_EQ(hex(read_file("ROM_H.bin")), "35 34 33 0D 35 33 FF 37 FF 35 34 33 0D");
  EXPECT_EQ(hex(read_file("ROM_L.bin")), "00 00 09 FF C0 80 FF FF FF 00 00 0D FF");
  EXPECT_EQ(read_file("ROM_U4.bin"), read_file("ROM_H.bin"));
  EXPECT_EQ(read_file("ROM_U8.bin"), read_file("ROM_L.bin"));
  EXPECT_EQ(read_file("ROM.bin"), read_file("ROM_L.bin") + read_file("ROM_H.bin"));
}

TEST_F(CompileDriver, AProjectOfIncludesDefinesGlobalsAndFunctions) {
  put_file("io.h",
           "#define PORT_BASE 0x30\r\n"
           "unsigned char flags[2] = {1, PORT_BASE};\r\n");
  compile_main(
      "// 主程序\r\n"
      "#include <io.h>\r\n"
      "#define LIMIT 10\r\n"
      "int total = LIMIT;\r\n"
      "@0x20000\r\n"
      "char port;\r\n"
      "@\r\n"
      "void clear(char *p, int n) { char k = 1; }\r\n"
      "int twice(int x) { /* nothing yet */ }\r\n"
      "void main() { long int v = -2; }\r\n");

  EXPECT_EQ(window.log_text(),
            "开始编译\r\n"
            "正在编译clear函数...OK\r\n"
            "正在编译twice函数...OK\r\n"
            "正在编译main函数...OK\r\n"
            "正在修改主函数入口跳转指令指向地址74\r\n"
            "ROM使用94字\r\n"
            "RAM使用32字节 系统保留65536字节 总占65568字节\r\n"
            "编译结束\r\n");
  EXPECT_EQ(words(),
            std::string(STARTUP_WORDS) +
                // flags at 0x10015 = {1, 0x30}, total at 0x10017 = 10; port is placed at 0x20000
                " 35 01 34 00 33 15 FF FF 37 01"
                " 35 01 34 00 33 16 FF FF 37 30"
                " 35 01 34 00 33 17 FF FF 37 0A"
                " 35 01 34 00 33 18 FF FF 37 00"
                // word 29: the jump to main, patched to word 74
                " 35 00 34 00 33 4A 0D FF"
                // clear (p at 0x10019, n at 0x1001C, return slot 0x1001E): local k = 1, then its return
                " 35 01 34 00 33 21 FF FF 37 01"
                " 35 01 34 00 33 1E FF FF 21 FF 35 01 34 00 33 1F FF FF 22 FF 35 01 34 00 33 20 FF FF 25 FF"
                " 14 AF 13 FF 0D FF"
                // twice (return slot 0x1001B) only returns at its closing brace
                " 35 01 34 00 33 1B FF FF 21 FF 35 01 34 00 33 1C FF FF 22 FF 35 01 34 00 33 1D FF FF 25 FF"
                " 14 AF 13 FF 0D FF"
                // main (return slot 0x10019): local v = -2 at 0x1001C
                " 35 01 34 00 33 1C FF FF 37 FE 35 01 34 00 33 1D FF FF 37 FF"
                " 35 01 34 00 33 1E FF FF 37 FF 35 01 34 00 33 1F FF FF 37 FF");
  EXPECT_EQ(read_file("ROM_H.bin"), g_rom_high_bytes);
  EXPECT_EQ(read_file("ROM_L.bin"), g_rom_low_bytes);
}

// Editors here save LF line ends; a // comment must end there as it does at CR LF.
TEST_F(CompileDriver, AProjectSavedWithLfLineEndsCompilesAsItsCrLfTwin) {
  const std::string config_h =
      "#define LIMIT 10 // the loop's end\r\n"
      "#define STEP 3 // added each pass\r\n";
  const std::string main_c =
      "// 主程序\r\n"
      "#include <config.h>\r\n"
      "int total = 0; // the sum\r\n"
      "int count = LIMIT; // how many passes\r\n"
      "void main()\r\n"
      "{\r\n"
      "  int i; // the index\r\n"
      "  // a line of its own\r\n"
      "  for (i = 0; i < count; i++) // each pass\r\n"
      "    total += STEP; // one step\r\n"
      "}\r\n";
  const auto lf = [](std::string text) {
    std::erase(text, '\r');
    return text;
  };

  put_file("config.h", config_h);
  compile_main(main_c);
  const std::string crlf_log = window.log_text();
  const std::string crlf_rom = read_file("ROM.bin");
  ASSERT_TRUE(crlf_log.ends_with("编译结束\r\n")) << crlf_log;

  put_file("config.h", lf(config_h));
  compile_main(lf(main_c));
  EXPECT_EQ(window.log_text(), crlf_log);
  EXPECT_EQ(read_file("ROM.bin"), crlf_rom);
}

TEST_F(CompileDriver, APlacementLeftOpenDoesNotMoveTheFunctionsRam) {
  compile_main("@0x300000 char buffer[16];\r\nvoid main() { char c; }");
  EXPECT_EQ(g_func_return_slot[1], RAM_START);
  EXPECT_TRUE(window.log_text().ends_with("RAM使用25字节 系统保留65536字节 总占65561字节\r\n编译结束\r\n"))
      << window.log_text();
}

TEST_F(CompileDriver, WithNoItemSelectedNothingIsReadOrWritten) {
  put_file("main.c", "void main(){}");
  window.editor = "int x;";
  compile_project(window);
  EXPECT_EQ(window.log_text(), "开始编译\r\n文本结束\r\n");
  EXPECT_EQ(files_here(), std::vector<std::string>{"main.c"});
  EXPECT_EQ(read_file("main.c"), "void main(){}");
}

TEST_F(CompileDriver, TheSelectedFileIsSavedBeforeMainIsRead) {
  put_file("main.c", "#include <a.h>\r\nvoid main(){}");
  window.items = {"main.c", "a.h"};
  window.current = 1;
  window.editor = "int 变量;";
  compile_project(window);
  EXPECT_EQ(read_file("a.h"), "int 变量;");
  EXPECT_EQ(window.log_text(), "开始编译\r\n符号错误\r\n");  // a GBK name is no variable name
}

TEST_F(CompileDriver, ASelectedFileThatCannotBeWrittenStopsTheCompile) {
  window.items = {"no/such/dir.h"};
  window.current = 0;
  compile_project(window);
  EXPECT_EQ(window.log_text(), "开始编译\r\n写入文件失败:no/such/dir.h\r\n");
  EXPECT_TRUE(files_here().empty());
}

TEST_F(CompileDriver, AFailedCompileWritesNoRomFile) {
  const struct {
    const char* main_c;
    const char* log_tail;  // after "开始编译\r\n"
  } cases[] = {
      {"", "文本结束\r\n"},
      {"int a; // globals only", "文本结束\r\n"},
      {"int a, main()", "符号错误\r\n"},
      {"void f();", "_函数扫描错误\r\n"},
      {"void f(); void main(){}", "正在编译f函数...\r\n函数定义错误\r\n"},
      {"void g(){} void f(){ int g(); }", "正在编译g函数...OK\r\n正在编译f函数...\r\n(????错误\r\n"},
      {"void f(){} void f(){} void main(){}", "正在编译f函数...OK\r\n正在编译f函数...\r\n函数和函数名称重复0_o~!\r\n"},
      {"void main(){} void main(){}", "正在编译main函数...OK\r\n正在编译main函数...\r\n函数和函数名称重复0_o~!\r\n"},
      {"int g; void g(){}", "正在编译g函数...\r\n函数和全局变量名称重复0_o~!\r\n"},
      {"void while(){}", "正在编译while函数...\r\n函数名称不能是关键字0_o~!\r\n"},
      {"void _SUB_A_1(){}", "正在编译_SUB_A_1函数...\r\n函数名称不能是关键字0_o~!\r\n"},
      {"void f(int a, char a){}", "正在编译f函数...\r\n函数参数和函数参数名称重复0_o~!\r\n"},
      {"void f(int a){ char a; }", "正在编译f函数...\r\n函数参数和局部变量名称重复0_o~!\r\n"},
      {"void f(int a){ char a; int = 1; }", "正在编译f函数...\r\n函数参数和局部变量名称重复0_o~!\r\n"},
      {"void f(int _RAM){}", "正在编译f函数...\r\n函数参数名称不能是关键字0_o~!\r\n"},
      {"void f(){ g(); }", "调用了未定义的函数\r\n"},
      {"void f() { x = 1; }", "正在编译f函数...\r\n子表达式处理_未找到操作数!~\r\n"},
      {"void main(){} void f(){}", "正在编译main函数...OK\r\n正在编译f函数...OK\r\nmain函数什么情况0_o?!)\r\n"},
      {"void Main(){}", "正在编译Main函数...OK\r\nmain函数什么情况0_o?!)\r\n"},
      {"char big[0x400000]; void main(){}",
       "正在编译main函数...OK\r\n正在修改主函数入口跳转指令指向地址13\r\nROM使用13字\r\nRAM使用超出CPU地址范围_~!RAM爆缸...\r\n"},
      {"char big[17000000]; void main(){}", "RAM爆缸...\r\n"},
  };
  put_file("ROM_H.bin", "old");
  for (const auto& c : cases) {
    compile_main(c.main_c);
    EXPECT_EQ(window.log_text(), std::string("开始编译\r\n") + c.log_tail) << c.main_c;
    EXPECT_EQ(rom_files(), std::vector<std::string>{"ROM_H.bin"}) << c.main_c;
  }
  EXPECT_EQ(read_file("ROM_H.bin"), "old");
}

TEST_F(CompileDriver, NamesThatLookReservedButAreNotCompile) {
  compile_main("void _A_0(int _B_0){} void main(){}");
  EXPECT_TRUE(window.log_text().ends_with("编译结束\r\n")) << window.log_text();
}

TEST_F(CompileDriver, AVoidFunctionWithAnEmptyBodyIsItsReturn) {
  compile_main("void f() { /* empty */ } void main() {}");
  // f starts at word 13 with its return through the slot at 0x10015
  EXPECT_EQ(words_from(13).substr(0, 29), "35 01 34 00 33 15 FF FF 21 FF");
  EXPECT_EQ(g_rom_word_count, 13 + RETURN_SEQUENCE_WORDS);
}

TEST_F(CompileDriver, ASecondCompileGivesTheSameResult) {
  const std::string main_c = "int a = 1; void f(int p) { char c = 2; } void main() { int x = 3; }";
  compile_main(main_c);
  const std::string first_log = window.log_text();
  const std::string first_words = words();
  compile_main("void g(int a, int b, int c) {} void h() {} void main() {}");
  compile_main(main_c);
  EXPECT_EQ(window.log_text(), first_log);
  EXPECT_EQ(words(), first_words);
}

// The second compile has as many globals and functions as the first, under other names.
TEST_F(CompileDriver, ASecondCompileChecksNamesAgainstItsOwnGlobalsAndFunctions) {
  const struct {
    const char* first;
    const char* second;
    const char* log_tail;  // of the second, after "开始编译\r\n"
  } cases[] = {
      {"int a; void main(){}", "int b; void b(){}", "正在编译b函数...\r\n函数和全局变量名称重复0_o~!\r\n"},
      {"int a; void main(){}", "int b; void a(){} void main(){}", "正在编译a函数...OK\r\n正在编译main函数...OK\r\n"},
      {"void a(){} void b(){} void main(){}", "void b(){} void b(){} void main(){}",
       "正在编译b函数...OK\r\n正在编译b函数...\r\n函数和函数名称重复0_o~!\r\n"},
  };
  for (const auto& c : cases) {
    compile_main(c.first);
    ASSERT_TRUE(window.log_text().ends_with("编译结束\r\n")) << c.first;
    compile_main(c.second);
    EXPECT_TRUE(window.log_text().starts_with(std::string("开始编译\r\n") + c.log_tail)) << c.second;
  }
}

TEST_F(CompileDriver, AScopeHoldsAtMost65536Variables) {
  std::string globals;
  for (int i = 1; i <= TABLE_CAPACITY; ++i) globals += "char v" + std::to_string(i) + ";";
  compile_main(globals + "void main(){}");
  EXPECT_TRUE(window.log_text().ends_with("编译结束\r\n")) << window.log_text().substr(0, 200);

  compile_main(globals + "char one_more; void main(){}");
  EXPECT_EQ(window.log_text(), "开始编译\r\n表格容量超出65536项\r\n");
}

// 65536 empty functions also make code past the eight chips: 0x40000 words each.
TEST_F(CompileDriver, AProjectHoldsAtMost65536Functions) {
  std::string functions;
  for (int i = 1; i < TABLE_CAPACITY; ++i) functions += "void f" + std::to_string(i) + "(){}";
  compile_main(functions + "void main(){}");
  ASSERT_TRUE(window.log_text().ends_with("编译结束\r\n"));
  EXPECT_GT(g_rom_word_count, 0x100000);
  EXPECT_EQ(rom_files(), (std::vector<std::string>{"ROM.bin", "ROM_H.bin", "ROM_L.bin", "ROM_U1.bin", "ROM_U2.bin",
                                                   "ROM_U3.bin", "ROM_U4.bin", "ROM_U5.bin", "ROM_U6.bin", "ROM_U7.bin",
                                                   "ROM_U8.bin"}));
  EXPECT_EQ(std::filesystem::file_size("ROM_U1.bin"), 0x40000u);
  EXPECT_EQ(std::filesystem::file_size("ROM_H.bin"), static_cast<std::uintmax_t>(g_rom_word_count));

  compile_main(functions + "void one_more(){} void main(){}");
  EXPECT_TRUE(window.log_text().ends_with("正在编译one_more函数...OK\r\n表格容量超出65536项\r\n"));
}

}  // namespace
}  // namespace tarvik::test
