#include "front/front.h"
#include "isa/isa.h"
#include "support/support.h"

namespace tarvik::test {
namespace {

class FunctionHeaders : public CompilerTest {
 protected:
  static std::string parameters() {
    return table_entries(g_param_names, g_param_types, g_param_addrs, g_func_first_param[1] + 1, g_func_param_end[1]);
  }
};

TEST_F(FunctionHeaders, PlaceParametersThenTheReturnSlot) {
  const struct {
    const char* header;
    const char* return_type;
    const char* name;
    const char* parameters;
    std::int32_t return_slot;
  } cases[] = {
      {"f(char a, int b, long int c, int *p, int q[])", "int", "f",
       "a:char@10020 b:int@10021 c:long int@10023 p:int*@10027 q:int[]@1002A", 0x1002D},
      {"main()", "int", "main", "", 0x10020},
      {"void f(void)", "void", "f", "", 0x10020},
      {"void f( )", "void", "f", "", 0x10020},
      {"f(a, b)", "int", "f", "a:int@10020 b:int@10022", 0x10024},
      {"int *f()", "int*", "f", "", 0x10020},
      {"int* f()", "int*", "f", "", 0x10020},
      {"int **f()", "int**", "f", "", 0x10020},
      {"unsigned char *f()", "unsigned char*", "f", "", 0x10020},
      {"signed long int f()", "long int", "f", "", 0x10020},
      {"f(char *s, int n[ ])", "int", "f", "s:char*@10020 n:int[]@10023", 0x10026},
      {"f(char **s)", "int", "f", "s:char**@10020", 0x10023},
      {"f(unsigned long int x, signed char c)", "int", "f", "x:unsigned long int@10020 c:char@10024", 0x10025},
      {"f(int a, void)", "int", "f", "a:int@10020 void:int@10022", 0x10024},
      {"long /*x*/ int f /* c */ ( /* d */ int /* e */ a /* f */ )", "long int", "f", "a:int@10020", 0x10022},
  };
  for (const auto& c : cases) {
    init_global_tables();
    for (int i = 0; i < 42; ++i) emit_nop();
    g_ram_next = 0x10020;
    g_source = padded(c.header);
    EXPECT_EQ(scan_function_header(), ")") << c.header;
    EXPECT_EQ(g_func_return_types[1], c.return_type) << c.header;
    EXPECT_EQ(g_func_names[1], c.name) << c.header;
    EXPECT_EQ(parameters(), c.parameters) << c.header;
    EXPECT_EQ(g_func_return_slot[1], c.return_slot) << c.header;
    EXPECT_EQ(g_ram_next, c.return_slot + 3) << c.header;
    EXPECT_EQ(g_func_entry[1], 42) << c.header;
    EXPECT_EQ(g_func_first_param[2], g_func_param_end[1]) << c.header;
    EXPECT_EQ(source_byte(g_scan_pos), ' ') << c.header;  // just after the ")"
  }
}

TEST_F(FunctionHeaders, Errors) {
  const struct {
    const char* header;
    const char* message;
  } cases[] = {
      {"(x)", "扫描函数定义_类型名称错误"},
      {"unsigned f()", "扫描函数定义_unsigned后面符号错误"},
      {"signed f()", "扫描函数定义_signed后面符号错误"},
      {"long f()", "扫描函数定义_long后面符号错误"},
      {"unsigned long f()", "扫描函数定义_long后面符号错误"},
      {"int * *f()", "函数名称参数扫描_符号错误+ +"},
      {"int f", "函数名称参数扫描_符号错误+ +"},
      {"void 5()", "函数名称参数扫描_符号错误+ +"},
      {"f(;", "函数名称参数扫描_符号错误..- -"},
      {"f(int a,)", "函数名称参数扫描_符号错误..- -"},
      {"void f(void x)", "函数名称参数扫描_(void...?错误"},
      {"f(long x)", "函数名称参数扫描_long后面符号错误"},
      {"f(unsigned x)", "函数名称参数扫描_unsigned后面符号错误"},
      {"f(signed x)", "函数名称参数扫描_signed后面符号错误"},
      {"f(int)", "(?,?错误"},
      {"f(int a b)", "(?,?错误"},
      {"f(int a[5])", "(...[?错误"},
      {"f(int a[] b)", "(..[]?错误"},
  };
  for (const auto& c : cases) {
    init_global_tables();
    g_source = padded(c.header);
    EXPECT_EQ(scan_function_header(), c.message) << c.header;
  }
}

class RamOverlay : public CompilerTest {
 protected:
  void SetUp() override {
    CompilerTest::SetUp();
    g_function_count = 2;
    g_func_names[1] = "f";
    g_func_ram_end[1] = 0x10030;
    g_func_names[2] = "g";
    g_func_ram_end[2] = 0x10040;
  }
};

TEST_F(RamOverlay, AFunctionsRamStartsAboveTheRamOfTheFunctionsItCalls) {
  const struct {
    const char* function;
    const char* status;
    std::int32_t ram_next;
  } cases[] = {
      {"void h() { }", "提取RAM分配地址结束", 0x10020},
      {"void h() { f(); }", "提取RAM分配地址结束", 0x10030},
      {"void h() { f(); g(1); f(); }", "提取RAM分配地址结束", 0x10040},
      {"void h() { g(f(x)); }", "提取RAM分配地址结束", 0x10040},
      {"void h() { f /* c */ (); }", "提取RAM分配地址结束", 0x10030},
      {"void h() { if (x) while (y) for (;;) sizeof (z); return (1); }", "提取RAM分配地址结束", 0x10020},
      {"void h() { x = (int)y; { z = 1; } }", "提取RAM分配地址结束", 0x10020},
      {"void h() /* { */ g(); }", "提取RAM分配地址结束", 0x10040},
      {"void h() { s = \"}\"; f(); }", "提取RAM分配地址结束", 0x10030},
      {"void h() { c = '}'; g(); }", "提取RAM分配地址结束", 0x10040},
      {"void h() { s = \"f( { // \"; }", "提取RAM分配地址结束", 0x10020},
      {"void h() { h(); }", "调用了未定义的函数", 0x10020},
      {"void h() { f(); k(); }", "调用了未定义的函数", 0x10030},
      {"void h() { x = 1; ", "{}对数错误", 0x10020},
      {"void h() { s = \"}", "{}对数错误", 0x10020},
      {"void h();", "_函数扫描错误", 0x10020},
  };
  for (const auto& c : cases) {
    g_ram_next = 0x10020;
    g_source = padded(c.function);
    g_scan_pos = 0;
    EXPECT_EQ(find_callee_ram_base(), c.status) << c.function;
    EXPECT_EQ(g_ram_next, c.ram_next) << c.function;
    if (c.status == STATUS_RAM_BASE_DONE) {
      EXPECT_EQ(g_scan_pos, 0) << c.function;
    }
  }
}

TEST_F(RamOverlay, NeverLowersTheRamPointer) {
  g_ram_next = 0x10035;
  g_source = padded("void h() { f(); }");
  EXPECT_EQ(find_callee_ram_base(), "提取RAM分配地址结束");
  EXPECT_EQ(g_ram_next, 0x10035);
}

}  // namespace
}  // namespace tarvik::test
