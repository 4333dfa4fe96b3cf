#include "front/front.h"
#include "isa/isa.h"
#include "support/support.h"

namespace tarvik::test {
namespace {

class Declarations : public CompilerTest {
 protected:
  // Fresh state, allocation at RAM_START, and the text to scan.
  void start(const char* text, std::int32_t ram_next = RAM_START) {
    init_global_tables();
    g_ram_next = ram_next;
    g_source = padded(text);
    g_scan_pos = 0;
  }
  static std::string variables() { return table_entries(g_var_names, g_var_types, g_var_addrs, 1, g_var_count); }
};

TEST_F(Declarations, DeclaratorsAllocateRamAndStoreInitialValues) {
  const struct {
    const char* base;
    const char* declarators;
    const char* status;
    const char* variables;
    const char* stores;
    std::int32_t ram_used;
  } cases[] = {
      {"char", "c = 'A';", ";", "c:char@10015", "10015=41", 1},
      {"int", "x = -5;", ";", "x:int@10015", "10015=FB 10016=FF", 2},
      {"long int", "v = 258;", ";", "v:long int@10015", "10015=02 10016=01 10017=00 10018=00", 4},
      {"char", "*p = 0x10020;", ";", "p:char*@10015", "10015=20 10016=00 10017=01", 3},
      {"int", "**pp;", ";", "pp:int**@10015", "", 3},
      {"char", "a[10];", ";", "a:char[]@10015", "", 10},
      {"int", "t[3] = {1};", ";", "t:int[]@10015", "10015=01 10016=00", 6},
      {"char", "s[4] = \"abc\";", ";", "s:char[]@10015", "10015=61 10016=62 10017=63 10018=00", 4},
      {"char", "s[] = \"hi\";", ";", "s:char[]@10015", "10015=68 10016=69 10017=00", 3},
      {"int", "w[] = \"ab\";", ";", "w:int[]@10015", "10015=61 10016=00 10017=62 10018=00 10019=00", 5},
      {"char", "*q[2] = {-1};", ";", "q:char*[]@10015", "10015=FF 10016=FF 10017=FF", 6},
      {"char", "a['A'];", ";", "a:char[]@10015", "", 65},
      {"int", "a = 1, b[2] = {3, 4}, *p;", ";", "a:int@10015 b:int[]@10017 p:int*@1001B",
       "10015=01 10016=00 10017=03 10018=00 10019=04 1001A=00", 9},
      {"char", "f(void)", "进入函数扫描", "", "", 0},
  };
  for (const auto& c : cases) {
    start(c.declarators);
    EXPECT_EQ(declare_variables_of_type(c.base), c.status) << c.declarators;
    EXPECT_EQ(variables(), c.variables) << c.declarators;
    EXPECT_EQ(stores_from(0), c.stores) << c.declarators;
    EXPECT_EQ(g_ram_next, RAM_START + c.ram_used) << c.declarators;
  }
  EXPECT_EQ(unscanned(), "(void)");
}

TEST_F(Declarations, DeclaratorErrors) {
  const struct {
    const char* base;
    const char* declarators;
    const char* message;
  } cases[] = {
      {"int", "***q;", "符号错误"},
      {"char", "* * p;", "符号错误"},
      {"int", "a, f();", "符号错误"},
      {"int", "9a;", "符号错误"},
      {"int", "a = y;", "=后面符号错误"},
      {"int", "a = - y;", "-后面符号错误"},
      {"int", "a = 1 2;", "缺少,或;"},
      {"int", "t[2] = {1, 2, 3};", "数组初始化数据超出范围"},
      {"char", "s[3] = \"abc\";", "数组初始化数据超出范围"},
      {"char", "a[];", "[]后面符号错误"},
      {"char", "a[2] x;", "[]后面符号错误"},
      {"char", "a[0];", "数组长度范围定义错误"},
      {"char", "a[0x2000000];", "数组长度范围定义错误"},
      {"char", "a[0x];", "数组长度范围定义错误"},
      {"char", "a[0x1FFFFFF];", "RAM爆缸..."},
      {"char", "a[n];", "[]对数错误"},
      {"char", "a[2 x];", "[]对数错误"},
      {"int", "k[2] = {1, 2,};", "{或,后面符号错误"},
      {"int", "k[2] = {};", "{或,后面符号错误"},
      {"int", "k[2] = {-};", "-后面符号错误"},
      {"int", "k[2] = {1 2};", "缺少,或}"},
      {"int", "k[2] = {1} x", "}后面符号错误"},
      {"char", "s[] = \"ab\" x", "''?错误"},
      {"char", "s[] = \"ab", "''?错误"},
      {"char", "a[2] = 5;", "=?错误"},
  };
  for (const auto& c : cases) {
    start(c.declarators);
    EXPECT_EQ(declare_variables_of_type(c.base), c.message) << c.declarators;
  }
}

TEST_F(Declarations, RamEndsBelow0x1000000) {
  const struct {
    std::int32_t ram_next;
    const char* declarators;
    const char* status;
  } cases[] = {
      {0xFFFFFE, "a;", ";"},
      {0xFFFFFF, "a;", "RAM爆缸..."},
      {0xFFFFFF, "a = 1;", "RAM爆缸..."},
      {0x7FFFFFFF, "a;", "RAM爆缸..."},
      {-1, "a;", "RAM爆缸..."},  // the pointer after it wraps to 0: the address counts as well
  };
  for (const auto& c : cases) {
    start(c.declarators, c.ram_next);
    EXPECT_EQ(declare_variables_of_type("char"), c.status) << c.ram_next;
  }
}

TEST_F(Declarations, RunsOfStatementsEndAtTheFirstNonDeclaration) {
  const struct {
    const char* text;
    const char* status;
    const char* variables;
    const char* unscanned;
  } cases[] = {
      {"x = 1;", "变量扫描结束", "", "x = 1;"},
      {"  }", "变量扫描结束", "", "}"},
      {"void f()", "变量扫描结束", "", "void f()"},
      {"unsignedint x;", "变量扫描结束", "", "unsignedint x;"},
      {"int a; int main()", "进入函数扫描", "a:int@10015", "int main()"},
      {"int a, main()", "符号错误", "a:int@10015", "()"},
      {"long int x;", "文本结束", "x:long int@10015", ""},
      {"long /* c */ int x;", "文本结束", "x:long int@10015", ""},
      {"long int*p;", "long后面符号错误", "", "int*p;"},
      {"long int\tx;", "long后面符号错误", "", "int\tx;"},
      {"long int\r\nx;", "long后面符号错误", "", "int\r\nx;"},
      {"long x;", "long后面符号错误", "", "x;"},
      {"unsigned long int*p;", "文本结束", "p:unsigned long int*@10015", ""},
      {"unsigned long x;", "long后面符号错误", "", ";"},
      {"signed char c; signed long int l;", "文本结束", "c:char@10015 l:long int@10016", ""},
      {"unsigned x;", "unsigned后面符号错误", "", ";"},
      {"unsigned short x;", "unsigned后面符号错误", "", " x;"},
      {"signed;", "signed后面符号错误", "", ";"},
      {"@0x20000 char a; char b; @ char c;", "文本结束", "a:char@20000 b:char@20001 c:char@10015", ""},
      {"@0x20000 char a; @0x30000 char b; @ char c;", "文本结束", "a:char@20000 b:char@30000 c:char@10015", ""},
      {"@ char a; @", "文本结束", "a:char@10015", ""},
      {"@0x20000; char a;", "变量扫描结束", "", "; char a;"},
      {"int a; char a;", "变量和变量名称重复- =", "a:int@10015 a:char@10017", ""},
      {"int Ab, ab;", "文本结束", "Ab:int@10015 ab:int@10017", ""},
      {"char goto;", "变量名称和关键字重复- =", "goto:char@10015", ""},
      {"int _RAM;", "变量名称和关键字重复- =", "_RAM:int@10015", ""},
      {"int a; int a; int b = ;", "变量和变量名称重复- =", "a:int@10015 a:int@10017", ";"},
  };
  for (const auto& c : cases) {
    start(c.text);
    EXPECT_EQ(scan_variable_declarations(), c.status) << c.text;
    EXPECT_EQ(variables(), c.variables) << c.text;
    EXPECT_EQ(unscanned(), c.unscanned) << c.text;
  }
}

TEST_F(Declarations, APlacementLeftOpenEndsWithItsRun) {
  start("@0x20000 char a; char b;");
  EXPECT_EQ(scan_variable_declarations(), "文本结束");
  EXPECT_EQ(variables(), "a:char@20000 b:char@20001");
  EXPECT_EQ(g_ram_next, RAM_START);
  EXPECT_EQ(g_fixed_address_mode, 0);

  g_source = padded("char c; @");  // a bare "@" in the next run has nothing left to restore
  g_scan_pos = 0;
  EXPECT_EQ(scan_variable_declarations(), "文本结束");
  EXPECT_EQ(variables(), "c:char@10015");
  EXPECT_EQ(g_ram_next, RAM_START + 1);
}

TEST_F(Declarations, APlacedAddressIsCheckedLikeAnyOther) {
  const struct {
    const char* text;
    const char* status;
  } cases[] = {
      {"@0xFFFFFE char a;", "文本结束"},
      {"@0xFFFFFF char a;", "RAM爆缸..."},
      {"@0xFFFFFFFF char a;", "RAM爆缸..."},
      {"@0x7FFFFFFF int a[2] = {1};", "RAM爆缸..."},
  };
  for (const auto& c : cases) {
    start(c.text);
    EXPECT_EQ(scan_variable_declarations(), c.status) << c.text;
  }
}

}  // namespace
}  // namespace tarvik::test
