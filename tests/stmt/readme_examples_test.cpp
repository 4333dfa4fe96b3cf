// The small programs of the README, each with the values or the message that the README
// gives for it. A change of the compiler that makes the README wrong fails here.
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/program_support.h"

namespace tarvik::test {
namespace {

class ReadmeExamples : public ProgramTest {
 protected:
  // A global's value after the run, as its type reads it; an array reads as its first element.
  std::int64_t global(std::string_view name) const {
    for (std::int32_t k = 1; k <= g_global_count; ++k) {
      if (as_text(g_global_names[k]) != name) continue;
      std::string type = g_global_types[k];
      if (type.ends_with("[]")) type.resize(type.size() - 2);
      const int width = width_of(type);
      const std::uint32_t bytes = ram(g_global_addrs[k], width);
      if (type.ends_with('*') || type.starts_with("unsigned")) return bytes;
      const std::uint32_t sign = 1u << (8 * width - 1);
      return static_cast<std::int64_t>(bytes ^ sign) - sign;
    }
    ADD_FAILURE() << "no global " << name;
    return 0;
  }
};

struct Example {
  std::string point;    // the README's point, in short
  std::string program;  // main.c
  // The globals the README names, with their values after the run...
  std::vector<std::pair<const char*, std::int64_t>> values;
  // ...or the log after "开始编译" of a compile that stops, or of one that runs...
  std::string log = {};
  // ...with these files beside main.c.
  std::vector<std::pair<const char*, const char*>> files = {};
  // The words its run executes beyond those of this program's run, when there is one.
  std::string baseline = {};
  std::int64_t steps = 0;
};

constexpr const char* IN_MAIN = "正在编译main函数...\r\n";

// The log of a compile that stops in main with this message.
std::string in_main(std::string_view message) { return std::string(IN_MAIN) + std::string(message) + "\r\n"; }

TEST_F(ReadmeExamples, EachProgramGivesWhatTheReadmeSays) {
  const std::string not_found = in_main("子表达式处理_未找到操作数!~");
  const std::string not_extracted = in_main("C代码表达式提取_操作数错误....!- =~");
  const std::string bad_sum = in_main("子表达式处理_双目运算符处理_参加+-运算的操作数错误~!- =");
  const std::string not_a_type = "扫描函数定义_类型名称错误\r\n";
  const std::string no_separator = "缺少,或;\r\n";
  const std::string bad_initial_value = "=后面符号错误\r\n";
  const std::string bad_equality = in_main("子表达式处理_双目运算符处理_参加>=,<=,==,!=运算的操作数错误~!- =");
  const std::string bad_order = in_main("子表达式处理_双目运算符处理_参加><运算的操作数错误~!- =");
  const std::string missing_operator = in_main("子表达式处理_单目运算符处理_操作数和操作数之间缺少运算符...~- =");
  const std::string step_after = in_main("子表达式处理_单目运算符处理_操作数右侧++或--错误...~- -");
  const std::string step_before = in_main("子表达式处理_单目运算符处理_操作数左侧++或--错误...~- -");
  const std::string bad_target = in_main("子表达式处理_双目运算符处理_赋值运算的目标操作数错误~!- =");
  const std::string bad_bitwise = in_main("子表达式处理_双目运算符处理_参加&|^运算的操作数错误~!- =");
  const std::string bad_product = in_main("子表达式处理_双目运算符处理_参加*/%运算的操作数错误~!- =");
  const std::string bad_shift = in_main("子表达式处理_双目运算符处理_参加>><<运算的操作数错误~!- =");
  const std::string ram_refused = in_main("二元式机器码生成_RAM_=_?_运算类型错误或不存在...~!- -");
  const std::string operand_query = in_main("主表达式处理_;_操作数查询错误");
  const std::string unrecognised = in_main("C代码表达式提取_发现未识别的符号....!- =~");
  // Ends main by copying the byte at 0x020000 into the global `at`.
  const std::string read_back_020000 = "_A2 = 2; _A1 = 0; _A0 = 0; _NOP; _A = _RAM; at = _A; }\r\n";
  const std::string with_g = "int r = 0; int n = 0;\r\nint g(int k) { n = n * 10 + k; return k; }\r\n";
  const Example examples[] = {
      // Where it is not the C you know
      {"operations work at the width of their operands",
       "unsigned char a = 200; unsigned char b = 200; int sum = 0;\r\n"
       "unsigned char hi = 0x12; unsigned char lo = 0x34; int v = 0; int w = 0; int folded = 0;\r\n"
       "void main() { sum = a + b; v = (hi << 8) | lo; w = hi; w = (w << 8) | lo; folded = 1 << 8; }\r\n",
       {{"sum", 144}, {"v", 0x34}, {"w", 0x1234}, {"folded", 256}}},
      {"a constant works at the width of the other operand",
       "unsigned char c = 5; int times60 = 0; int plus255 = 0; int times300 = 0; int v = 0;\r\n"
       "void main() { times60 = c * 60; plus255 = c + 255; times300 = c * 300; v = c; v *= 60; }\r\n",
       {{"times60", 44}, {"plus255", 4}, {"times300", 1500}, {"v", 300}}},
      {"an unsigned char beside 32768 to 65535 works as an unsigned int",
       "unsigned char u = 5; unsigned char v = 5; unsigned char *p = 0; long int sum = 0; long int quotient = 0;\r\n"
       "long int inverse = 0; int below = 0; long int bits = 0; long int in_a = 0; long int difference = 0; long int product = 0;\r\n"
       "void main() { sum = u + 40000; quotient = u / 65535; inverse = 65535 / u; if (u < 40000) below = 1; v /= 65535;\r\n"
       "  bits = u | 40000; p = &u; in_a = *p + 40000; difference = u - 300; product = u * 300; }\r\n",
       {{"sum", 40005}, {"quotient", 0}, {"inverse", 13107}, {"below", 1}, {"v", 0}, {"bits", 40005}, {"in_a", 40005},
        {"difference", -295}, {"product", 1500}}},
      {"a negative constant takes an unsigned variable to a long int",
       "unsigned int w = 65535; long int r = 0; int size = 0;\r\nvoid main() { r = w / -1; size = sizeof(w / -1); }\r\n",
       {{"r", -65535}, {"size", 4}}},
      {"a constant above 2147483647 is its 32-bit pattern",
       "long int r = 0; int s1 = 0; int s2 = 0; int s3 = 0; int s4 = 0; int g1 = 9; int g2 = 9; long int h = 9;\r\n"
       "void main() { r = 4294967295; s1 = sizeof(0xFFFFFFFF); s2 = sizeof(037777777777); s3 = sizeof(0xFFFFFF00);\r\n"
       "  s4 = sizeof(0x80000000); g1 = 0xFFFFFFFF > 0; g2 = 0x80000000 > 0; h = 0xFFFFFFFF / 2; }\r\n",
       {{"r", -1}, {"s1", 1}, {"s2", 1}, {"s3", 2}, {"s4", 4}, {"g1", 0}, {"g2", 0}, {"h", 0}}},
      {"beside a variable such a constant fits by its value as a negative number",
       "char c = -128; int i = -32768; unsigned int w = 5; long int l = 5; long int rc = 0; long int ri = 0;\r\n"
       "int w_below = 9; int l_below = 9; int l_above = 9; unsigned long int lim = 0; int l_lim = 9; int w_lim = 9;\r\n"
       "void main() { rc = c + 4294967295; ri = i + 4294967295; w_below = w < 0x80000000; l_below = l < 0x80000000;\r\n"
       "  l_above = l > 3000000000; lim = 0x80000000; l_lim = l < lim; w_lim = w < lim; }\r\n",
       {{"rc", 127}, {"ri", 32767}, {"w_below", 0}, {"l_below", 0}, {"l_above", 1}, {"l_lim", 1}, {"w_lim", 1}}},
      {"where only the bits matter such a constant gives C's bits",
       "unsigned long int ul = 5; unsigned int w = 5; long int l = 5; int i = -32768; int below = 9; int equal = 9;\r\n"
       "unsigned long int sum = 0; long int l_and = 0; long int i_and = 0; unsigned long int v = 0x90000000; int above = 9;\r\n"
       "unsigned long int quotient = 0; unsigned long int remainder = 0; unsigned long int product = 0; unsigned long int difference = 0;\r\n"
       "void main() { below = ul < 0x80000000; product = ul * 0xFFFFFFFF; difference = ul - 0xFFFFFFFF; ul = 0xFFFFFFFF;\r\n"
       "  equal = ul == 0xFFFFFFFF; sum = w + 0x80000000; l_and = l & 0xFFFFFFFF; i_and = i & 0xFFFF0000;\r\n"
       "  above = v > 0x80000000; quotient = v / 0x80000000; remainder = v % 0x80000001; }\r\n",
       {{"below", 1}, {"equal", 1}, {"sum", 0x80000005}, {"l_and", 5}, {"i_and", -65536}, {"above", 1}, {"quotient", 1},
        {"remainder", 0x0FFFFFFF}, {"product", 4294967291}, {"difference", 6}}},
      {"& | ^ fit a constant by its bits",
       "char m = 1; int i = 1; char c = -128; char k = 1; long int or_m = 0; int or_m_size = 0; long int plus_m = 0;\r\n"
       "long int or_i = 0; long int and_c = 0; int xor_taken = 0; long int or_wide = 0; int or_wide_size = 0; int size = 0;\r\n"
       "long int wide = 0;\r\n"
       "void main() { or_m = m | 200; or_m_size = sizeof(m | 200); plus_m = m + 200; or_i = i | 32768; and_c = c & 128;\r\n"
       "  if (c ^ 128) xor_taken = 1; or_wide = m | 40000; or_wide_size = sizeof(m | 40000); size = sizeof(c & -1);\r\n"
       "  wide = (k & -1) << 8; }\r\n",
       {{"or_m", -55}, {"or_m_size", 1}, {"plus_m", 201}, {"or_i", -32767}, {"and_c", -128}, {"xor_taken", 0},
        {"or_wide", -25535}, {"or_wide_size", 2}, {"size", 4}, {"wide", 256}}},
      {"& | ^ widen an unsigned char beside 256 to 32767 into an int",
       "unsigned char u = 5; long int shifted = 0; int size = 0; long int doubled = 0;\r\n"
       "void main() { shifted = (u | 300) << 8; size = sizeof(u | 300); doubled = (u ^ 32767) * 2; }\r\n",
       {{"shifted", 11520}, {"size", 2}, {"doubled", -12}}},
      {"a constant shifted by a variable count takes its least signed width",
       "int n = 2; int n9 = 9; int n10 = 10; long int a = 0; long int b = 0; long int c = 0; long int d = 0;\r\n"
       "long int mask = 0; int size = 0; int one = 0; long int r = 0;\r\n"
       "void main() { a = 100 << n; b = 64 << n; c = 300 << n; d = 1 << n9; mask = (1 << n10) - 1; size = sizeof(1 << n);\r\n"
       "  one = 1; r = one << n9; }\r\n",
       {{"a", -112}, {"b", 0}, {"c", 1200}, {"d", 0}, {"mask", -1}, {"size", 1}, {"r", 512}}},
      {"signed against unsigned as wide or wider compares unsigned, a wider signed one compares signed",
       "char m = -1; unsigned char u = 1; int i = -1; long int l = -1; unsigned int ui = 1; unsigned long int ul = 1;\r\n"
       "int below_u = 9; int below_200 = 9; int i_uc = 9; int l_ui = 9; int m_ui = 9; int i_ul = 9;\r\n"
       "void main() { below_u = m < u; below_200 = m < 200; i_uc = i < u; l_ui = l < ui; m_ui = m < ui; i_ul = i < ul; }\r\n",
       {{"below_u", 0}, {"below_200", 1}, {"i_uc", 1}, {"l_ui", 1}, {"m_ui", 0}, {"i_ul", 0}}},
      {"unary minus of an unsigned value is signed and one size wider",
       "unsigned char u = 200; unsigned int w = 65535; int neg = 0; int size = 0; int half = 0; long int negw = 0;\r\n"
       "int complement = 0; int difference = 0;\r\n"
       "void main() { neg = -u; size = sizeof(-u); half = -u / 2; negw = -w; complement = ~u; difference = 0 - u; }\r\n",
       {{"neg", -200}, {"size", 2}, {"half", -100}, {"negw", -65535}, {"complement", 55}, {"difference", 56}}},
      {"unary minus of an unsigned long int stays unsigned",
       "unsigned long int ul = 5; unsigned long int r = 0; int size = 0; int above = 9;\r\n"
       "void main() { r = -ul; size = sizeof(-ul); above = -ul > 0; }\r\n",
       {{"r", 4294967291}, {"size", 4}, {"above", 1}}},
      {"*p++ steps the object",
       "char buf[2] = {5, 9}; char *p = 0; char old = 0;\r\nvoid main() { p = buf; old = *p++; }\r\n",
       {{"buf", 6}, {"old", 5}, {"p", FIRST_GLOBAL}}},
      // a at +3; s points at a[2], at +3 + 4
      {"an offset in a variable is not sign-extended",
       "int *p = 0; int a[4] = {1, 2, 3, 4}; int k = -1; char c = -1; long int kl = -1; int n = 1;\r\n"
       "int *s = 0; int *q = 0; int *r = 0; int *t = 0; int *u = 0; int *v = 0; int prev = 0; int back2 = 0;\r\n"
       "void main() { s = a + 2; p = s; q = s; r = s; p += k; t = s + k; u = &s[k]; v = s + c;\r\n"
       "  q += kl; r -= n; prev = s[-1]; back2 = *(s - 2); }\r\n",
       {{"p", FIRST_GLOBAL + 7 + 65535 * 2},
        {"t", FIRST_GLOBAL + 7 + 65535 * 2},
        {"u", FIRST_GLOBAL + 7 + 65535 * 2},
        {"v", FIRST_GLOBAL + 7 + 255 * 2},
        {"q", FIRST_GLOBAL + 5},
        {"r", FIRST_GLOBAL + 5},
        {"prev", 2},
        {"back2", 1}}},
      {"a ?: with no assignment before it is a long int",
       "char a = 1; char b = 2; int c = 1; int size = 0;\r\nvoid main() { size = sizeof(c ? a : b); }\r\n",
       {{"size", 4}}},
      {"division by zero",
       "int folded_q = 9; int folded_r = 9; int x = 7; int nx = -7; int z = 0; unsigned char u = 200;\r\n"
       "unsigned char uz = 0; int q = 0; int nq = 0; unsigned char uq = 0; int r = 0;\r\n"
       "void main() { folded_q = 5 / 0; folded_r = 5 % 0; q = x / z; uq = u / uz; nq = nx / z; r = x % z; }\r\n",
       {{"folded_q", 0}, {"folded_r", 5}, {"q", -1}, {"uq", 255}, {"nq", 1}, {"r", 7}}},
      {"shifts by the width or more, and by a variable",
       "unsigned char u = 1; int i = -1; char c = -1; long int l = -1; unsigned int w = 65535; int one = 1; int n = 257;\r\n"
       "unsigned char ul = 9; int ir = 0; char cr = 0; long int lr = 0; int il = 9; unsigned int wr = 9; int by_n = 0;\r\n"
       "long int folded = 0;\r\n"
       "void main() { ul = u << 8; ir = i >> 16; cr = c >> 8; lr = l >> 32; il = i << 16; wr = w >> 16;\r\n"
       "  by_n = one << n; folded = 1 << 40; }\r\n",
       {{"ul", 0}, {"ir", -1}, {"cr", -1}, {"lr", -1}, {"il", 0}, {"wr", 0}, {"by_n", 2}, {"folded", 256}}},
      {"a constant count of 256 or more counts modulo 256 on an int or a long int, not on a char",
       "int i = 1; int j = -3; unsigned int w = 50000; long int l = 1; int a = 0; int b = 0; int c = 0; unsigned int d = 0;\r\n"
       "char ch = 1; char sc = -1; char e = 9; char f = 9;\r\n"
       "void main() { a = i << 256; b = i << 257; c = j >> 257; d = w >> 256; l <<= 264; e = ch << 257; f = sc >> 300; }\r\n",
       {{"a", 1}, {"b", 2}, {"c", -2}, {"d", 50000}, {"l", 256}, {"e", 0}, {"f", -1}}},
      {"sizeof runs its operand, a void call counts 0",
       "int i = 0; int size = 0; int x = 0; char *p = 0; int psize = 0;\r\nvoid g() { }\r\n"
       "void main() { size = sizeof(i++); x = 5 + g(); psize = sizeof(p); }\r\n",
       {{"size", 2}, {"i", 1}, {"x", 5}, {"psize", 2}}},
      {"sizeof of a constant is the least signed width that holds it",
       "int a = 0; int b = 0; int d = 0; int e = 0; int f = 0; int g = 0;\r\n"
       "void main() { a = sizeof(0); b = sizeof(300); d = sizeof(70000); e = sizeof(127); f = sizeof(255); g = sizeof(65535); }\r\n",
       {{"a", 1}, {"b", 2}, {"d", 4}, {"e", 1}, {"f", 2}, {"g", 4}}},
      // the simulator's RAM starts with no zero byte
      {"a list shorter than its array",
       "char b[8] = {0}; int b1_is_0 = 9; int kept = 0;\r\nvoid f() { char l[4] = {1}; kept = l[1]; l[1] = 5; }\r\n"
       "void main() { b1_is_0 = b[1] == 0; f(); f(); }\r\n",
       {{"b", 0}, {"b1_is_0", 0}, {"kept", 5}}},
      {"a string shorter than its global array",
       "char s[8] = \"ab\"; char s1 = 0; int s2_is_0 = 9; int s3_is_0 = 9; int s7_is_0 = 9;\r\n"
       "void main() { s1 = s[1]; s2_is_0 = s[2] == 0; s3_is_0 = s[3] == 0; s7_is_0 = s[7] == 0; }\r\n",
       {{"s", 'a'}, {"s1", 'b'}, {"s2_is_0", 1}, {"s3_is_0", 0}, {"s7_is_0", 0}}},
      {"a string shorter than its local array",
       "char r;\r\nvoid f(char k)\r\n{\r\n  char s[8] = \"ab\";\r\n  r = s[5];\r\n  s[5] = k;\r\n}\r\n"
       "void main()\r\n{\r\n  f(7);\r\n  f(9);\r\n}\r\n",
       {{"r", 7}}},
      {"a function with a result that reaches its end",
       "int first = 0; int second = 0; int third = 0;\r\nint f(int n) { if (n) return 7; }\r\nint g() { return 3; }\r\n"
       "void main() { first = f(1); second = f(0); g(); third = f(0); }\r\n",
       {{"first", 7}, {"second", 7}, {"third", 3}}},
      {"an array in a difference through a pointer",
       "char buf[8]; char *end = 0; char *q = 0; int n = 0;\r\nvoid main() { end = buf + 3; q = buf; n = end - q; }\r\n",
       {{"n", 3}}},
      {"an array in a difference", "char buf[8]; char *end = 0; int n = 0;\r\nvoid main() { end = buf + 3; n = end - buf; }\r\n",
       {}, bad_sum},
      {"an address minus a pointer", "int x[4]; int *p = 0; int r = 0;\r\nvoid main() { p = x; r = &x[1] - p; }\r\n", {},
       bad_sum},
      {"a pointer minus an address", "int x[4]; int *p = 0; int r = 0;\r\nvoid main() { p = &x[2]; r = p - &x[0]; }\r\n",
       {}, bad_sum},
      {"an address plus an offset", "int x[4]; int *p = 0; int *q = 0; int r = 0;\r\n"
       "void main() { q = &x[0] + 1; p = x; r = q - p; }\r\n", {{"r", 1}}},
      {"a // comment ends at LF too", "int r = 0;\r\nvoid main() {\r\n  r = 1; // set r\n  r = 2;\r\n}\r\n", {{"r", 2}}},
      {"a \\ does not carry a // comment on", "int r = 0;\r\nvoid main() {\r\n  // note \\\r\n  r = 5;\r\n}\r\n", {{"r", 5}}},
      {"a missing include brings nothing", "#include <conifg.h>\r\nint r = 0;\r\nvoid main() { r = COUNT; }\r\n", {},
       not_found},
      {"statements use A and B",
       "int x = 1; unsigned char a = 0; unsigned char s = 0; unsigned char t = 0; char w = 0;\r\n"
       "void main() { _A = 7; x = x + 300; a = _A; _A = 3; _B = 4; _A = _A + _B; s = _A; _B = _A + _B; t = _B; w = _A - 1; }\r\n",
       {{"x", 301}, {"a", 1}, {"s", 7}, {"t", 11}, {"w", 6}}},
      {"a register form of two steps", "void main() { _B = 4; _B = _B + 1; }\r\n", {}, bad_sum},
      {"a register sum of three", "void main() { _A = 1; _B = 2; _A = _A + _B + 1; }\r\n", {}, bad_sum},
      {"_A above _B as unsigned bytes", "unsigned char r = 9;\r\nvoid main() { _A = 200; _B = 100; r = _A > _B; }\r\n",
       {{"r", 1}}},
      {"_B above _A as unsigned bytes", "unsigned char s = 9;\r\nvoid main() { _A = 200; _B = 100; s = _B > _A; }\r\n",
       {{"s", 0}}},
      {"_A equal to a constant", "int r = 0;\r\nvoid main() { _A = 5; if (_A == 5) r = 1; }\r\n", {}, bad_equality},
      {"_A below a constant", "int r = 0;\r\nvoid main() { _A = 5; if (_A < 9) r = 1; }\r\n", {}, bad_order},
      {"_A above a variable", "int r = 0; char c = 3;\r\nvoid main() { _A = 5; if (_A > c) r = 1; }\r\n", {}, bad_order},
      {"the register copied into a char first", "int r = 0; char c = 0;\r\nvoid main() { _A = 5; c = _A; if (c == 5) r = 1; }\r\n",
       {{"r", 1}}},
      {"++_A and --_A step A",
       "unsigned char r = 0; unsigned char s = 0;\r\nvoid main() { _A = 5; ++_A; r = _A; _A = 5; --_A; s = _A; }\r\n",
       {{"r", 6}, {"s", 4}}},
      {"_A++", "void main() { _A = 5; _A++; }\r\n", {}, step_after},
      {"_A--", "void main() { _A = 5; _A--; }\r\n", {}, step_after},
      {"++_B", "void main() { _B = 5; ++_B; }\r\n", {}, step_before},
      {"--_B", "void main() { _B = 5; --_B; }\r\n", {}, step_before},
      {"the register forms _B & _A, _B | _A and _B ^ _A",
       "unsigned char x = 0; unsigned char y = 0; unsigned char z = 0;\r\n"
       "void main() { _A = 12; _B = 10; _A = _B & _A; x = _A; _A = 12; _A = _B | _A; y = _A; _A = 12; _A = _B ^ _A; z = _A; }\r\n",
       {{"x", 8}, {"y", 14}, {"z", 6}}},
      {"_A & a constant", "void main() { _A = 5; _A = _A & 1; }\r\n", {}, bad_bitwise},
      {"_A | a variable", "char c = 1;\r\nvoid main() { _A = 5; _A = _A | c; }\r\n", {}, bad_bitwise},
      {"_A * _B", "void main() { _A = 5; _B = 3; _A = _A * _B; }\r\n", {}, bad_product},
      {"_A << 2", "void main() { _A = 5; _A = _A << 2; }\r\n", {}, bad_shift},
      {"reading a variable sets the address register",
       "char c = 42; unsigned char at = 0;\r\n"
       "void main() { _A2 = 2; _A1 = c; _A0 = 0; _NOP; _RAM = 5; _A2 = 0x01; _A1 = 0x2A; _A0 = 0; _NOP; _A = _RAM; at = _A; }\r\n",
       {{"at", 5}}},
      {"the address register set last",
       "char c = 42; unsigned char at = 0;\r\n"
       "void main() { _A = c; _A2 = 0x02; _A1 = 0; _A0 = 0; _NOP; _RAM = _A; " + read_back_020000,
       {{"at", 42}}},
      {"a condition's jump sets the address register",
       "char k = 1; unsigned char at = 0;\r\n"
       "void main() { _A2 = 2; _A1 = 0; _A0 = 0; _NOP; _RAM = 9; if (k) _RAM = 5; " + read_back_020000,
       {{"at", 9}}},
      {"_RAM = after a condition in its statement", "char k = 1;\r\nvoid main() { _A2 = 2; _A1 = 0; _A0 = 0; _NOP; k && (_RAM = 5); }\r\n",
       {}, ram_refused},
      {"_RAM = after the address in one statement of comma parts",
       "unsigned char at = 0;\r\n"
       "void main() { _A2 = 0x02, _A1 = 0, _A0 = 0, _NOP, _RAM = 5; " + read_back_020000,
       {{"at", 5}}},
      // The string lies after the globals and main's own RAM, at 0x01001F.
      {"a string in comma parts is stored before the first part",
       "unsigned char at = 0; char *base = 0x10000; char s0 = 0; char s1 = 0; char s2 = 9;\r\n"
       "void main() { _A2 = 0x02, _A1 = 0, _A0 = 0, _NOP, _RAM = \"ab\";\r\n"
       "  _A2 = 2; _A1 = 0; _A0 = 0; _NOP; _A = _RAM; at = _A; s0 = base[at]; s1 = base[at + 1]; s2 = base[at + 2]; }\r\n",
       {{"at", 0x1F}, {"s0", 'a'}, {"s1", 'b'}, {"s2", 0}}},
      {"a string into a pointer after the address is set",
       "char *p = 0; char p0 = 0; char p2 = 9;\r\nvoid main() { _A2 = 0x02; _A1 = 0; _A0 = 0; _NOP; p = \"ab\"; p0 = p[0]; p2 = p[2]; }\r\n",
       {{"p0", 'a'}, {"p2", 0}}},
      {"_A && _B", "int r = 0;\r\nvoid main() { r = _A && _B; }\r\n", {}, operand_query},
      {"_A || _B", "int r = 0;\r\nvoid main() { r = _A || _B; }\r\n", {}, operand_query},
      {"_A && _B as a condition", "int r = 0;\r\nvoid main() { if (_A && _B) r = 1; }\r\n", {}, operand_query},
      {"_A && a variable", "int r = 9; int s = 9; char c = 1; char z = 0;\r\n"
       "void main() { _A = 3; r = _A && c; _A = 3; s = _A && z; }\r\n", {{"r", 1}, {"s", 0}}},
      {"_B copied into a char first", "int r = 9; int s = 9; char c = 0;\r\n"
       "void main() { _A = 3; _B = 4; c = _B; r = _A && c; _A = 0; _B = 4; c = _B; s = _A && c; }\r\n",
       {{"r", 1}, {"s", 0}}},
      // What the dialect takes, and what it does not
      {"a global whose last byte is 0xFFFFFF", "char big[16711659];\r\nvoid main() { }\r\n", {}, "RAM爆缸...\r\n"},
      {"a global whose last byte is 0xFFFFFE", "char big[16711658];\r\nvoid main() { }\r\n", {},
       "正在编译main函数...OK\r\n正在修改主函数入口跳转指令指向地址13\r\nROM使用13字\r\nRAM使用超出CPU地址范围_~!RAM爆缸...\r\n"},
      {"placed variables are not checked against the others",
       "char big[70000];\r\n@0x20000 char port[16]; @\r\nint r = 0;\r\nvoid main() { port[0] = 9; r = big[65515]; }\r\n",
       {{"r", 9}},
       "正在编译main函数...OK\r\n正在修改主函数入口跳转指令指向地址23\r\nROM使用49字\r\n"
       "RAM使用70026字节 系统保留65536字节 总占135562字节\r\n编译结束\r\n"},
      {"lines may end in a lone CR", "int r = 0;\rvoid main() {\r  // note\r  r = 5;\r}\r", {{"r", 5}}},
      {"a define never changes a string, a character or a number",
       "#define ON 1\r\n#define O 7\r\n#define x1F 5\r\nchar label[] = \"ON\"; char c = 0; int h = 0; char *p = 0; char p0 = 0;\r\n"
       "void main() { c = 'O'; h = 0x1F; p = \"ON\"; p0 = p[0]; }\r\n",
       {{"label", 'O'}, {"c", 'O'}, {"h", 0x1F}, {"p0", 'O'}}},
      {"a string initialises a char array", "char s[] = \"hi\"; char second = 0;\r\nvoid main() { second = s[1]; }\r\n",
       {{"second", 'i'}}},
      {"an unsized array with a brace list, global or local",
       "unsigned char key[] = {0x2b, 0x7e}; unsigned char k1 = 0; unsigned char first = 0; unsigned char second = 0; int n = 0;\r\n"
       "void f() { unsigned char iv[] = {0x15, 0x16}; if (n == 0) first = iv[1]; else second = iv[1]; iv[1] = 9; n++; }\r\n"
       "void main() { k1 = key[1]; f(); f(); }\r\n",
       {{"k1", 0x7e}, {"first", 0x16}, {"second", 0x16}}},
      {"a string for a char pointer by assignment", "char *p = 0; char second = 0;\r\nvoid main() { p = \"hello\"; second = p[1]; }\r\n",
       {{"second", 'e'}}},
      {"a string is no initial value of a pointer", "char *p = \"hello\";\r\nvoid main() { }\r\n", {}, "=后面符号错误\r\n"},
      {"an address is no initial value", "char c = 1; char *q = &c;\r\nvoid main() { }\r\n", {}, "=后面符号错误\r\n"},
      {"an unknown word at the head of a global declaration", "short s;\r\nvoid main() { }\r\n", {},
       "函数名称参数扫描_符号错误+ +\r\n"},
      {"uint8_t is an unknown word", "uint8_t b;\r\nvoid main() { }\r\n", {}, "函数名称参数扫描_符号错误+ +\r\n"},
      {"an unknown word at the head of a local declaration", "void main() { static int n; }\r\n", {}, not_extracted},
      {"unsigned with no type word after it", "unsigned x;\r\nvoid main() { }\r\n", {}, "unsigned后面符号错误\r\n"},
      {"signed with no type word after it", "signed x;\r\nvoid main() { }\r\n", {}, "signed后面符号错误\r\n"},
      {"no escapes", "char s[] = \"a\\n\"; char c1 = 0; char c2 = 0; char end = 9;\r\n"
       "void main() { c1 = s[1]; c2 = s[2]; end = s[3]; }\r\n",
       {{"s", 'a'}, {"c1", '\\'}, {"c2", 'n'}, {"end", 0}}},
      {"a cast inside sizeof", "char c = 5; int r = 0;\r\nvoid main() { r = sizeof((int) c); }\r\n", {}, not_found},
      {"sizeof of a bracket and an operand", "char c = 5; long int l = 7; int r = 0;\r\nvoid main() { r = sizeof((c) l); }\r\n",
       {}, missing_operator},
      {"sizeof of a call and an operand",
       "char c = 5; int r = 0;\r\nint g(int k) { return k + 1; }\r\nvoid main() { r = sizeof(g(1) c); }\r\n", {},
       "正在编译g函数...OK\r\n" + missing_operator},
      {"(void) before a call", "int n = 0;\r\nint f() { n++; return 5; }\r\nvoid main() { (void) f(); }\r\n", {{"n", 1}}},
      {"recursion", "int f(int n) { return f(n); }\r\nvoid main() { }\r\n", {}, "调用了未定义的函数\r\n"},
      {"a pointer to a function as a global", "void (*hook)(int v);\r\nvoid main() { }\r\n", {},
       "函数名称参数扫描_符号错误+ +\r\n"},
      {"a pointer to a function with a result as a global", "int (*hook)(int v);\r\nvoid main() { }\r\n", {}, "符号错误\r\n"},
      {"a pointer to a function with a pointer result as a global", "int *(*hook)(char c);\r\nvoid main() { }\r\n", {},
       "符号错误\r\n"},
      {"a pointer to a function as a parameter that is called",
       "int r = 0;\r\nint g() { return 1; }\r\nvoid emit(void (*out)(char c), char c) { out(c); }\r\nvoid main() { }\r\n", {},
       "正在编译g函数...OK\r\n调用了未定义的函数\r\n"},
      {"a pointer to a void function as the first parameter",
       "int r = 0;\r\nvoid emit(void (*out)(char c), char c) { r = c; }\r\nvoid main() { }\r\n", {},
       "函数名称参数扫描_(void...?错误\r\n"},
      {"a pointer to a function as another parameter",
       "int r = 0;\r\nvoid emit(char c, int (*out)(char c)) { r = c; }\r\nvoid main() { }\r\n", {}, "(?,?错误\r\n"},
      {"a pointer to a function as a local", "int r = 0;\r\nint g() { return 1; }\r\nvoid main() { void (*f)(int); r = 1; }\r\n",
       {}, "正在编译g函数...OK\r\n调用了未定义的函数\r\n"},
      {"a variable argument list", "int r = 0;\r\nint sum(int n, ...) { return n; }\r\nvoid main() { r = sum(1, 2); }\r\n", {},
       "函数名称参数扫描_符号错误..- -\r\n"},
      // C habits it refuses
      {"#include with quotes", "#include \"uart.h\"\r\nint r = 0;\r\nvoid main() { }\r\n", {}, not_a_type},
      {"an include line after a declaration", "int r = 0;\r\n#include <config.h>\r\nvoid main() { r = N; }\r\n", {},
       not_a_type, {{"config.h", "#define N 3\r\n"}}},
      {"an include name with a -", "#include <lcd-1602.h>\r\nint r = 0;\r\nvoid main() { r = N; }\r\n", {}, not_a_type,
       {{"lcd-1602.h", "#define N 3\r\n"}}},
      {"an include name with a space", "#include <a b.h>\r\nint r = 0;\r\nvoid main() { r = N; }\r\n", {}, not_a_type,
       {{"a b.h", "#define N 3\r\n"}}},
      {"an include name with a folder", "#include <sub/h.h>\r\nint r = 0;\r\nvoid main() { r = N; }\r\n", {}, not_a_type,
       {{"sub/h.h", "#define N 3\r\n"}}},
      {"an include name with ./", "#include <./h.h>\r\nint r = 0;\r\nvoid main() { r = N; }\r\n", {}, not_a_type,
       {{"h.h", "#define N 3\r\n"}}},
      {"an include name that starts with a digit", "#include <1x.h>\r\nint r = 0;\r\nvoid main() { r = N; }\r\n", {}, not_a_type,
       {{"1x.h", "#define N 3\r\n"}}},
      {"an include name of letters, digits, _ and .", "#include <lcd_1602.h>\r\nint r = 0;\r\nvoid main() { r = N; }\r\n",
       {{"r", 3}}, {}, {{"lcd_1602.h", "#define N 3\r\n"}}},
      {"an include name of GBK characters", "#include <配置.h>\r\nint r = 0;\r\nvoid main() { r = N; }\r\n", {{"r", 3}}, {},
       {{"配置.h", "#define N 3\r\n"}}},
      {"a define of a character", "#define SEP ';'\r\nint r = 0;\r\nvoid main() { }\r\n", {}, not_a_type},
      {"a define of an expression", "#define CELLS (ROWS * COLS)\r\nint r = 0;\r\nvoid main() { }\r\n", {}, not_a_type},
      {"a define of a string", "#define MSG \"hi\"\r\nchar s[] = MSG;\r\nvoid main() { }\r\n", {}, not_a_type},
      {"a define of more than one word", "#define NEG -1\r\nint r = 0;\r\nvoid main() { r = NEG; }\r\n", {}, not_a_type},
      {"-1 where it is used, or a global", "int neg = -1; int r = 0; int s = 0;\r\nvoid main() { r = -1; s = neg; }\r\n",
       {{"r", -1}, {"s", -1}}},
      {"a define ending in ;", "#define N 10;\r\nint r = N;\r\nvoid main() { }\r\n", {}, not_a_type},
      {"#undef", "#undef X\r\nint r = 0;\r\nvoid main() { }\r\n", {}, not_a_type},
      {"#pragma", "#pragma once\r\nint r = 0;\r\nvoid main() { }\r\n", {}, not_a_type},
      {"#if", "#if 1\r\nint r = 0;\r\nvoid main() { }\r\n", {}, not_a_type},
      {"an include guard", "#include <config.h>\r\nint r = 0;\r\nvoid main() { r = N; }\r\n", {}, not_a_type,
       {{"config.h", "#ifndef CONFIG_H\r\n#define CONFIG_H\r\n#define N 3\r\n#endif\r\n"}}},
      {"a header of globals included from two files", "#include <a.h>\r\n#include <b.h>\r\nvoid main() { }\r\n", {},
       "变量和变量名称重复- =\r\n",
       {{"common.h", "int shared = 0;\r\n"}, {"a.h", "#include <common.h>\r\n"}, {"b.h", "#include <common.h>\r\n"}}},
      {"a header of defines included from two files",
       "#include <a.h>\r\n#include <b.h>\r\nint r = 0;\r\nvoid main() { r = K; }\r\n", {{"r", 3}}, {},
       {{"common.h", "#define K 3\r\n"}, {"a.h", "#include <common.h>\r\n"}, {"b.h", "#include <common.h>\r\n"}}},
      {"a define with no value before a define", "#define DEBUG\r\n#define LIMIT 3\r\nint r = 0;\r\nvoid main() { }\r\n", {},
       not_a_type},
      {"a define with no value before a declaration", "#define DEBUG\r\nint r = 0;\r\nvoid main() { }\r\n", {}, not_a_type},
      {"a define with no value but a comment", "#define DEBUG // on\r\nint r = 0;\r\nvoid main() { }\r\n", {},
       not_a_type},
      {"a define with no value before a function", "int r = 0;\r\n#define DEBUG\r\nchar f() { return 3; }\r\nvoid main() { }\r\n",
       {}, not_a_type},
      {"a define with no value in a function", "int r = 0;\r\nvoid main() {\r\n#define DEBUG\r\n  do { r++; } while (r < 3);\r\n}\r\n",
       {}, unrecognised},
      {"a define with no value in a parameter list",
       "int r = 0;\r\nvoid f(\r\n#define DEBUG\r\nunsigned char a) { r = a; }\r\nvoid main() { f(3); }\r\n", {},
       "函数名称参数扫描_符号错误..- -\r\n"},
      {"a define with no value at the end of a header", "#include <debug.h>\r\nint r = 0;\r\nvoid main() { }\r\n", {},
       not_a_type, {{"debug.h", "#define DEBUG"}}},
      {"a define with no value on the last line of a header", "#include <debug.h>\r\nint r = 0;\r\nvoid main() { }\r\n",
       {}, not_a_type, {{"debug.h", "#define DEBUG\r\n"}}},
      {"a define with a value", "#define DEBUG 1\r\nint r = 0;\r\nvoid main() { r = DEBUG; }\r\n", {{"r", 1}}},
      {"a define of another define's name as an array length",
       "#define LIMIT 10\r\n#define MAX LIMIT\r\nchar buf[MAX];\r\nvoid main() { }\r\n", {}, "[]对数错误\r\n"},
      {"a define of another define's name as an initial value",
       "#define LIMIT 10\r\n#define MAX LIMIT\r\nint r = MAX;\r\nvoid main() { }\r\n", {}, bad_initial_value},
      {"a define of another define's name in a function",
       "#define LIMIT 10\r\n#define MAX LIMIT\r\nint r = 0;\r\nvoid main() { r = MAX; }\r\n", {}, not_found},
      {"a define of a variable's name", "#define MAX LIMIT\r\nint LIMIT = 4; int r = 0;\r\nvoid main() { r = MAX; }\r\n",
       {{"r", 4}}},
      {"a define of the number", "#define MAX 10\r\nchar buf[MAX]; int r = MAX; int s = 0;\r\nvoid main() { s = MAX; }\r\n",
       {{"r", 10}, {"s", 10}}},
      {"no library", "#include <stdio.h>\r\nvoid main() { printf(\"hi\"); }\r\n", {}, "调用了未定义的函数\r\n"},
      {"a missing include's name as an array length", "#include <config.h>\r\nchar buf[SIZE];\r\nvoid main() { }\r\n", {},
       "[]对数错误\r\n"},
      {"a missing include's name as an initial value", "#include <config.h>\r\nint r = START;\r\nvoid main() { }\r\n", {},
       bad_initial_value},
      {"a character escape '\\0'", "int r = 0;\r\nvoid main() { r = '\\0'; }\r\n", {}, not_extracted},
      {"a character escape '\\n'", "int r = 0;\r\nvoid main() { r = '\\n'; }\r\n", {}, not_extracted},
      {"a character escape '\\x41'", "int r = 0;\r\nvoid main() { r = '\\x41'; }\r\n", {}, not_extracted},
      {"an L suffix", "long int r = 0;\r\nvoid main() { r = 100000L; }\r\n", {}, not_extracted},
      {"a u suffix", "int r = 0;\r\nvoid main() { r = 0xF0u; }\r\n", {}, not_extracted},
      {"a binary literal", "int r = 0;\r\nvoid main() { r = 0b101; }\r\n", {}, not_extracted},
      {"an L suffix in an initial value", "long int r = 100000L;\r\nvoid main() { }\r\n", {}, no_separator},
      {"a u suffix in an initial value", "int r = 0xF0u;\r\nvoid main() { }\r\n", {}, no_separator},
      {"a binary literal in an initial value", "int r = 0b101;\r\nvoid main() { }\r\n", {}, no_separator},
      {"what to write instead of suffixes", "long int big = 0; int f0 = 0; int five = 0;\r\n"
       "void main() { big = 100000; f0 = 0xF0; five = 5; }\r\n", {{"big", 100000}, {"f0", 0xF0}, {"five", 5}}},
      {"two strings side by side in a declaration", "char s[] = \"ab\" \"cd\";\r\nvoid main() { }\r\n", {}, "''?错误\r\n"},
      {"two strings side by side in a function", "char *p = 0;\r\nvoid main() { p = \"ab\" \"cd\"; }\r\n", {},
       in_main("子表达式处理_单目运算符处理_操作数和操作数之间缺少运算符...~- =")},
      {"a string with no room for its NUL", "char s[3] = \"abc\";\r\nvoid main() { }\r\n", {}, "数组初始化数据超出范围\r\n"},
      {"a \" inside a string in a declaration", "char s[6] = \"x\\\"y\";\r\nvoid main() { }\r\n", {}, "''?错误\r\n"},
      {"a \" inside a string in a function", "char *p = 0;\r\nvoid main() { p = \"x\\\"y\"; }\r\n", {}, "{}对数错误\r\n"},
      {"a \" inside a string in a local declaration",
       "int r = 0;\r\nvoid f() { char s[6] = \"x\\\"y\"; r = 1; }\r\nvoid main() { f(); }\r\n", {}, "{}对数错误\r\n"},
      {"a ' inside a string", "char s[] = \"it's\"; char *p = 0; char a = 0; char b = 0;\r\n"
       "void main() { p = \"it's\"; a = s[2]; b = p[2]; }\r\n", {{"a", '\''}, {"b", '\''}}},
      {"a \" stored as its byte", "char s[6] = \"xay\"; char r = 0;\r\nvoid main() { s[1] = 34; r = s[1]; }\r\n", {{"r", '"'}}},
      {"a string with room for its NUL", "char s[4] = \"abc\"; char t[] = \"abc\"; char s3 = 9; char t3 = 9;\r\n"
       "void main() { s3 = s[3]; t3 = t[3]; }\r\n", {{"s", 'a'}, {"s3", 0}, {"t3", 0}}},
      {"a comma after the last value", "int a[3] = {1, 2, 3,};\r\nvoid main() { }\r\n", {}, "{或,后面符号错误\r\n"},
      {"a designated initializer", "int a[3] = {[2] = 2};\r\nvoid main() { }\r\n", {}, "{或,后面符号错误\r\n"},
      {"a product as initial value", "int r = 2 * 3;\r\nvoid main() { }\r\n", {}, no_separator},
      {"a product as a local's initial value", "void main() { int a = 2 * 3; }\r\n", {}, in_main("缺少,或;")},
      {"a sum as initial value", "char c = 'a' + 1;\r\nvoid main() { }\r\n", {}, no_separator},
      {"a complement as initial value", "int x = ~0;\r\nvoid main() { }\r\n", {}, bad_initial_value},
      {"brackets round an initial value", "int y = (5);\r\nvoid main() { }\r\n", {}, bad_initial_value},
      {"an expression as an array length", "#define N 4\r\nchar buf[N * 2];\r\nvoid main() { }\r\n", {}, "[]对数错误\r\n"},
      {"a local with a parameter's value", "int r = 0;\r\nvoid f(int n) { int j = n; r = j; }\r\nvoid main() { f(2); }\r\n",
       {}, "正在编译f函数...\r\n=后面符号错误\r\n"},
      {"a local pointer with NULL", "void main() { char *p = NULL; }\r\n", {}, in_main("=后面符号错误")},
      {"NULL", "char *p = 0;\r\nvoid main() { p = NULL; }\r\n", {}, not_found},
      {"true in a condition", "int r = 0;\r\nvoid main() { if (true) r = 1; }\r\n", {}, operand_query},
      {"true beside &&", "int r = 0;\r\nvoid main() { if (true && r) r = 1; }\r\n", {}, operand_query},
      {"false beside ||", "int r = 0;\r\nvoid main() { if (r || false) r = 1; }\r\n", {}, operand_query},
      {"true before ?", "int r = 0;\r\nvoid main() { r = true ? 1 : 2; }\r\n", {}, operand_query},
      {"NULL compared", "char *p = 0; int r = 0;\r\nvoid main() { if (p != NULL) r = 1; }\r\n", {}, not_found},
      {"NULL compared with a number", "int r = 0;\r\nvoid main() { if (r == NULL) r = 1; }\r\n", {}, not_found},
      {"true negated", "int r = 0;\r\nvoid main() { if (!true) r = 1; }\r\n", {}, not_found},
      {"NULL in arithmetic", "int r = 0;\r\nint g(int k) { return k; }\r\nvoid main() { r = g(NULL + 1); }\r\n", {},
       "正在编译g函数...OK\r\n" + not_found},
      {"NULL in brackets as an argument", "int r = 0;\r\nint g(char *p) { return 1; }\r\nvoid main() { r = g((NULL)); }\r\n",
       {}, "正在编译g函数...OK\r\n" + in_main("主表达式处理_)_函数实参未找到_!- =~...")},
      {"0 for NULL", "char *p = 0; int r = 0;\r\nvoid main() { if (p != 0) r = 1; else r = 2; }\r\n", {{"r", 2}}},
      {"NULL as an argument", "int r = 0;\r\nint g(char *p) { return 1; }\r\nvoid main() { r = g(NULL); }\r\n", {},
       "正在编译g函数...OK\r\n" + in_main("主表达式处理_)_函数实参未找到_!- =~...")},
      {"true", "int r = 0;\r\nvoid main() { r = true; }\r\n", {}, not_found},
      {"false", "int r = 0;\r\nvoid main() { r = false; }\r\n", {}, not_found},
      {"a declaration in an inner block", "int r = 0;\r\nvoid main() { if (r) { int t; t = 1; } }\r\n", {}, not_extracted},
      {"a global after the first function", "int r = 0;\r\nvoid f() { }\r\nint late = 0;\r\nvoid main() { }\r\n", {},
       "正在编译f函数...OK\r\n函数名称参数扫描_符号错误+ +\r\n"},
      {"a header that holds functions", "#include <lib.h>\r\nint r;\r\nvoid main() { r = twice(2); }\r\n", {},
       "正在编译twice函数...OK\r\n函数名称参数扫描_符号错误+ +\r\n",
       {{"lib.h", "int twice(int a) { return a + a; }\r\n"}}},
      {"the globals in a header before the functions' header",
       "#include <globals.h>\r\n#include <lib.h>\r\nvoid main() { r = twice(2); }\r\n", {{"r", 4}}, {},
       {{"globals.h", "int r = 0;\r\n"}, {"lib.h", "int twice(int a) { return a + a; }\r\n"}}},
      {"a prototype", "int f(int a);\r\nint f(int a) { return a; }\r\nvoid main() { }\r\n", {},
       "正在编译f函数...\r\n函数定义错误\r\n"},
      {"a prototype in a body of a function defined above",
       "int r = 0;\r\nint f(int a) { return a; }\r\nvoid main() { int f(int a); r = 1; }\r\n", {},
       "正在编译f函数...OK\r\n" + in_main("(????错误")},
      {"a prototype in a body", "int r = 0;\r\nvoid main() { int f(int a); r = 1; }\r\n", {}, "调用了未定义的函数\r\n"},
      {"a function after main", "int r = 0;\r\nvoid main() { r = 1; }\r\nvoid g() { }\r\n", {},
       "正在编译main函数...OK\r\n正在编译g函数...OK\r\nmain函数什么情况0_o?!)\r\n"},
      {"no main", "int r = 0;\r\nvoid f() { r = 1; }\r\n", {}, "正在编译f函数...OK\r\nmain函数什么情况0_o?!)\r\n"},
      {"a ; after a function", "int r = 0;\r\nvoid f() { r = 1; };\r\nvoid main() { f(); }\r\n", {},
       "正在编译f函数...OK\r\n" + not_a_type},
      {"a ; after main", "int r = 0;\r\nvoid main() { r = 1; };\r\n", {}, "正在编译main函数...OK\r\n_函数扫描错误\r\n"},
      {"a function left without its }", "int r = 0;\r\nint g() { return 1; }\r\nvoid f() { r = 1;\r\nvoid main() { f(); }\r\n",
       {}, "正在编译g函数...OK\r\n调用了未定义的函数\r\n"},
      {"return with a value in a void function", "void f() { return 1; }\r\nvoid main() { f(); }\r\n", {},
       "正在编译f函数...\r\n语句表达式处理_return_函数类型错误....!- =~\r\n"},
      {"an unused label before an assignment", "int r = 0;\r\nvoid main() { top: r = 1; }\r\n", {},
       in_main("C代码表达式提取_赋值符出现在三目运算符内部错误....!- =~")},
      {"an unused label before an if that assigns", "int r = 0;\r\nvoid main() { top: if (r) r = 1; }\r\n", {},
       in_main("C代码表达式提取_赋值符出现在三目运算符内部错误....!- =~")},
      {"an unused label before a step", "int r = 0;\r\nvoid main() { r++; top: r++; }\r\n", {}, in_main("?:对数错误...")},
      {"an unused label before a call", with_g + "void main() { top: g(1); }\r\n", {},
       "正在编译g函数...OK\r\n" + in_main("?:对数错误...")},
      {"an unused label before a return", "int r = 0;\r\nint f() { top: return 1; }\r\nvoid main() { r = f(); }\r\n", {},
       "正在编译f函数...\r\nC代码表达式提取_操作数错误....!- =~\r\n"},
      {"an unused label before a goto", "int r = 0;\r\nvoid main() { top: goto end; end: r = 1; }\r\n", {}, not_extracted},
      {"an unused label before a lone ;", "int r = 0;\r\nvoid main() { top: ; }\r\n", {},
       in_main("C代码表达式提取_运算符错误....!- =~")},
      {"an unused label before a block", "int r = 0;\r\nvoid main() { top: { r = 1; } }\r\n", {},
       unrecognised},
      {"a goto back", "int r = 0;\r\nvoid main() { again: r++; if (r < 3) goto again; }\r\n", {}, in_main("?:对数错误...")},
      {"a goto forward", "int r = 0;\r\nvoid main() { goto end; r = 1; end: r = 2; }\r\n", {{"r", 2}}},
      {"two gotos to one label", "int r = 0;\r\nvoid main() { if (r) goto end; if (r) goto end; r = 1; end: r = 2; }\r\n",
       {}, in_main("语句表达式处理_goto名称重复错误....!- =~")},
      {"sizeof of a type", "int r = 0;\r\nvoid main() { r = sizeof(int); }\r\n", {},
       in_main("主表达式处理_)_sizeof_操作数查询错误_!- =~...")},
      {"sizeof of a type of two words", "int r = 0;\r\nvoid main() { r = sizeof(long int); }\r\n", {}, not_extracted},
      {"sizeof of an array", "char buf[4]; int r = 0;\r\nvoid main() { r = sizeof(buf); }\r\n", {},
       in_main("主表达式处理_)_sizeof_操作数错误_!- =~...")},
      {"the count of an array's elements", "int a[3] = {1, 2, 3}; int n = 0;\r\nvoid main() { n = sizeof(a) / sizeof(a[0]); }\r\n",
       {}, in_main("主表达式处理_)_sizeof_操作数错误_!- =~...")},
      {"sizeof of an address", "int x = 0; int r = 0;\r\nvoid main() { r = sizeof(&x); }\r\n", {},
       in_main("主表达式处理_)_sizeof_操作数错误_!- =~...")},
      {"an address against 0 in an if", "int a = 0; int r = 0;\r\nvoid main() { if (&a == 0) r = 1; }\r\n", {}, bad_equality},
      {"an address unequal to 0", "int a = 0; int r = 0;\r\nvoid main() { r = &a != 0; }\r\n", {}, bad_equality},
      {"two addresses", "int a = 0; int g = 0; int r = 0;\r\nvoid main() { r = &a == &g; }\r\n", {}, bad_equality},
      {"an array name against 0", "char b[4]; int r = 0;\r\nvoid main() { r = b == 0; }\r\n", {}, bad_equality},
      {"an address above 0", "int a = 0; int r = 0;\r\nvoid main() { r = &a > 0; }\r\n", {}, bad_order},
      {"an address as a condition", "int a = 0; int r = 0;\r\nvoid main() { if (&a) r = 1; }\r\n", {},
       in_main("主表达式处理_;_操作数类型错误_!- =~...")},
      {"addresses compared through pointers",
       "int a = 0; char buf[4]; int *p = 0; char *q = 0; int r = 5; int s = 5;\r\n"
       "void main() { p = &a; if (p == 0) r = 1; else r = 2; q = buf; s = q == buf; }\r\n",
       {{"r", 2}, {"s", 1}}},
      {"sizeof with no brackets", "int x = 0; int r = 0;\r\nvoid main() { r = sizeof x; }\r\n", {}, not_extracted},
      {"a cast to unsigned int", "unsigned int r = 0; char hi = 1;\r\nvoid main() { r = (unsigned int)hi; }\r\n", {},
       not_extracted},
      {"a cast to long int", "long int r = 0; char c = 1;\r\nvoid main() { r = (long int)c; }\r\n", {}, not_extracted},
      {"the copy idiom", "char a[2] = {1, 2}; char b[2]; char *d = 0; char *s = 0;\r\nvoid main() { d = b; s = a; *d++ = *s++; }\r\n",
       {}, in_main("子表达式处理_双目运算符处理_赋值运算的目标操作数错误~!- =")},
      {"the copy in three steps", "char a[2] = {1, 2}; char b[2] = {0, 0}; char *d = 0; char *s = 0;\r\n"
       "void main() { d = b; s = a; *d = *s; d++; s++; *d = *s; }\r\n", {{"b", 1}, {"d", FIRST_GLOBAL + 3}}},
      {"unsigned long", "unsigned long x;\r\nvoid main() { }\r\n", {}, "long后面符号错误\r\n"},
      {"long", "long x;\r\nvoid main() { }\r\n", {}, "long后面符号错误\r\n"},
      {"long long", "long long x = 0;\r\nvoid main() { }\r\n", {}, "long后面符号错误\r\n"},
      {"long int and a tab", "long int\tx = 1;\r\nvoid main() { }\r\n", {}, "long后面符号错误\r\n"},
      {"long int and a line end", "long int\r\nx = 1;\r\nvoid main() { }\r\n", {}, "long后面符号错误\r\n"},
      {"long int and a comment", "long int/* c */x = 1;\r\nvoid main() { }\r\n", {}, "long后面符号错误\r\n"},
      {"long int and a star", "long int*p;\r\nvoid main() { }\r\n", {}, "long后面符号错误\r\n"},
      {"long int and a star for a result", "long int*f() { return 0; }\r\nvoid main() { }\r\n", {},
       "long后面符号错误\r\n"},
      {"long int and a tab for a local", "void main() { long int\tx; x = 1; }\r\n", {}, in_main("long后面符号错误")},
      {"long int and a space", "long int *p = 0; long int x = 0;\r\nlong int f() { return 70000; }\r\n"
       "void main() { long int *q; x = f(); q = p; }\r\n", {{"x", 70000}}},
      {"unsigned short", "unsigned short x = 0;\r\nvoid main() { }\r\n", {}, "unsigned后面符号错误\r\n"},
      {"a global of two dimensions", "int m[2][2];\r\nvoid main() { }\r\n", {}, "[]后面符号错误\r\n"},
      {"a local of two dimensions", "void main() { int m[2][2]; }\r\n", {}, in_main("[]后面符号错误")},
      {"an array parameter with a length", "int f(int v[10]) { return v[1]; }\r\nvoid main() { }\r\n", {}, "(...[?错误\r\n"},
      {"an element of an array of pointers", "char *names[2]; char a = 0;\r\nvoid main() { names[0] = &a; }\r\n", {},
       not_found},
      {"indexing a call's result",
       "char a[4] = {1, 2, 3, 4}; char r = 0;\r\nchar *pick(char *p, int i) { return p + i; }\r\n"
       "void main() { r = pick(a, 1)[2]; }\r\n", {},
       "正在编译pick函数...OK\r\n" + in_main("主表达式处理_]_数组名称错误...~- +!")},
      {"a call's result through a sum",
       "char a[4] = {1, 2, 3, 4}; char r = 0;\r\nchar *pick(char *p, int i) { return p + i; }\r\n"
       "void main() { r = *(pick(a, 1) + 2); }\r\n", {{"r", 4}}},
      {"a ?: of two arrays into a pointer",
       "char a[4] = {1, 2, 3, 4}; char b[4] = {5, 6, 7, 8}; char *p = 0; char k = 0; char r = 0;\r\n"
       "void main() { p = k ? a : b; r = p[2]; }\r\n", {{"r", 7}}},
      {"through a ?: of two pointers",
       "char a[4] = {1, 2, 3, 4}; char b[4] = {5, 6, 7, 8}; char *p = 0; char *q = 0; char k = 0; char r = 0;\r\n"
       "void main() { p = a; q = b; r = *(k ? p : q); }\r\n", {}, in_main("子表达式处理_单目运算符处理_*操作数类型错误~..")},
      {"indexing a ?: of two arrays",
       "char a[4] = {1, 2, 3, 4}; char b[4] = {5, 6, 7, 8}; char k = 0; char r = 0;\r\n"
       "void main() { r = (k ? a : b)[2]; }\r\n", {}, in_main("主表达式处理_]_数组名称错误...~- +!")},
      {"a pointer takes an address of another width",
       "unsigned char b[8] = {1, 2, 3, 4, 0x78, 0x56, 0x34, 0x12}; unsigned long int *lp = 0; unsigned long int r = 0;\r\n"
       "void main() { lp = b; r = lp[1]; }\r\n", {{"r", 0x12345678}}},
      {"a pointer of another width from an expression",
       "unsigned char b[8] = {1, 2, 3, 4, 0x78, 0x56, 0x34, 0x12}; unsigned long int *lp = 0; unsigned long int r = 0;\r\n"
       "unsigned long int s = 0;\r\nvoid main() { lp = b + 4; r = lp[0]; lp = &b[4]; s = lp[0]; }\r\n",
       {{"r", 0x12345678}, {"s", 0x12345678}}},
      {"two globals of one name in two headers", "#include <a.h>\r\n#include <b.h>\r\nvoid main() { }\r\n", {},
       "变量和变量名称重复- =\r\n", {{"a.h", "int count = 0;\r\n"}, {"b.h", "int count = 0;\r\n"}}},
      {"two functions of one name in two headers", "#include <a.h>\r\n#include <b.h>\r\nvoid main() { }\r\n", {},
       "正在编译init函数...OK\r\n正在编译init函数...\r\n函数和函数名称重复0_o~!\r\n",
       {{"a.h", "int init() { return 1; }\r\n"}, {"b.h", "int init() { return 2; }\r\n"}}},
      {"a function and a global of one name in two headers", "#include <a.h>\r\n#include <b.h>\r\nvoid main() { }\r\n", {},
       "正在编译count函数...\r\n函数和全局变量名称重复0_o~!\r\n",
       {{"a.h", "int count = 0;\r\n"}, {"b.h", "int count() { return 1; }\r\n"}}},
      {"a local hides a global and a function",
       "int r = 5; int s = 0; int t = 0;\r\nint g() { return 7; }\r\n"
       "void h() { int r; int g; r = 1; g = 2; s = r + g; }\r\nvoid main() { h(); t = r + g(); }\r\n",
       {{"s", 3}, {"t", 12}}},
      // Finding an error
      {"an unknown name", "int r = 0;\r\nvoid main() { r = y; }\r\n", {}, not_found},
      {"a cast of one word", "int r = 0; char c = 1;\r\nvoid main() { r = (int)c; }\r\n", {}, not_found},
      {"a declaration after a statement", "void main() { int i; i = 0; int j; }\r\n", {}, not_extracted},
      {"a declaration in a for", "int r = 0;\r\nvoid main() { for (int i = 0; i < 2; i++) r++; }\r\n", {},
       not_extracted},
      {"a missing ;", "int r = 0;\r\nvoid main() { r = 1 r = 2; }\r\n", {}, not_extracted},
      {"a missing ; before a call", with_g + "void main() { r = 1 g(2); }\r\n", {}, "正在编译g函数...OK\r\n" + not_extracted},
      {"a missing ; after a call", with_g + "void main() { r = g(1) r = 2; }\r\n", {}, "正在编译g函数...OK\r\n" + bad_target},
      {"a missing ; after a step", "int r = 0;\r\nvoid main() { r++ r++; }\r\n", {}, missing_operator},
      {"a missing ; between two calls", with_g + "void main() { g(1) g(2); }\r\n", {{"n", 12}}},
      {"a missing ; after a call before }", with_g + "void main() { g(3) }\r\n", {}, "正在编译g函数...OK\r\n" + unrecognised},
      {"a missing ; after an assignment before }", "int r = 0;\r\nvoid main() { r = 1 }\r\n", {}, unrecognised},
      {"a missing ; after a step before }", "int r = 0;\r\nvoid main() { r++ }\r\n", {}, unrecognised},
      {"a missing ; before else", "int r = 0; char c = 1;\r\nvoid g(int k) { r = k; }\r\nvoid main() { if (c) g(0) else g(1); }\r\n", {},
       "正在编译g函数...OK\r\n" + not_extracted},
      {"too many arguments", "int r = 0;\r\nint x() { return 1; }\r\nvoid main() { r = x(0); }\r\n", {},
       "正在编译x函数...OK\r\n" + in_main("传递了过多的参数")},
      {"too few arguments", "int r = 0;\r\nint x(int a) { return a; }\r\nvoid main() { r = x(); }\r\n", {},
       "正在编译x函数...OK\r\n" + in_main("函数参数传递太少")},
      // the calls are checked before the function's line
      {"a call of a function defined later",
       "int r = 0;\r\nint f() { return 2; }\r\nvoid main() { r = f() + later(); }\r\nint later() { return 1; }\r\n", {},
       "正在编译f函数...OK\r\n调用了未定义的函数\r\n"},
      {"switch", "int r = 0;\r\nvoid main() { switch (r) { } }\r\n", {}, "调用了未定义的函数\r\n"},
      {"an if ... else if chain for a switch",
       "int r = 0; int k = 2;\r\nvoid main() { if (k == 1) r = 10; else if (k == 2) r = 20; else r = 30; }\r\n", {{"r", 20}}},
      {"a macro with parameters", "#define TWICE(x) x + x\r\nint r = 0;\r\nvoid main() { r = TWICE(2); }\r\n", {},
       "调用了未定义的函数\r\n"},
  };
  std::vector<Example> all(std::begin(examples), std::end(examples));
  for (const char* word : {"const", "static", "volatile", "enum", "typedef", "struct"}) {
    all.push_back({word, std::string(word) + " int x = 5;\r\nvoid main() { }\r\n", {}, "函数名称参数扫描_符号错误+ +\r\n"});
    all.push_back({word, "void main() { " + std::string(word) + " int x = 5; }\r\n", {}, not_extracted});
  }
  // `_RAM =` stores where the program set A2:A1:A0, here 0x020000 after a 9 there: a right side
  // whose code moves the address register is refused, the others leave their value.
  struct RamRightSide {
    const char* text;
    std::int64_t value;                       // 0x020000 afterwards; -1 when refused...
    const std::string* refusal = nullptr;  // ...with this message, when not `ram_refused`
  };
  const RamRightSide ram_right_sides[] = {
      {"c", -1},      {"*p", -1},        {"c + 1", -1}, {"_A > _B", -1}, {"c = 5", -1},
      {"(c = 1, 5)", -1}, {"i", -1},     {"g()", -1},     {"(c, 5)", 5},   {"\"ab\"", -1},
      {"42", 42},     {"_A", 200},       {"_B", 100},   {"_RAM", 9},     {"~_A", 55},
      {"_A + _B", 44}, {"_A_0 << 1", 144}, {"&c", 0x15},
      // a register beside a variable, and two registers beside &&, are refused as elsewhere
      {"_A + c", -1, &bad_sum}, {"_A & c", -1, &bad_bitwise}, {"_A && _B", -1, &operand_query},
  };
  for (const RamRightSide& side : ram_right_sides) {
    const std::string program =
        "char c = 42; int i = 7; unsigned char *p = 0; unsigned char at = 0;\r\nchar g() { return 3; }\r\n"
        "void main() { p = &at; _A = 200; _B = 100; _A2 = 2; _A1 = 0; _A0 = 0; _NOP; _RAM = 9; _A = 200;\r\n"
        "  _RAM = " + std::string(side.text) + "; " + read_back_020000;
    if (side.value < 0) all.push_back({side.text, program, {}, "正在编译g函数...OK\r\n" + (side.refusal ? *side.refusal : ram_refused)});
    else all.push_back({side.text, program, {{"at", side.value}}});
  }
  // What code costs: the words `main` executes beyond a plain copy, with globals `a` and `b`
  // of one type into a third, `r`, of the type.
  const char* const types[] = {"char", "int", "long int", "unsigned char", "unsigned int", "unsigned long int"};
  const auto cost = [&](const char* statement, int type, std::int64_t a, std::int64_t b, std::int64_t steps) {
    const std::string t = types[type];
    const std::string globals = t + " a = " + std::to_string(a) + "; " + t + " b = " + std::to_string(b) + "; " + t +
                                " r = 0;\r\n" + t + " f(" + t + " x, " + t + " y) { return x; }\r\n";
    all.push_back({t + ": " + statement + " at " + std::to_string(a) + " and " + std::to_string(b),
                   globals + "void main() { " + statement + " }\r\n", {}, {}, {},
                   globals + "void main() { r = a; }\r\n", steps});
  };
  struct Cost {
    const char* statement;
    std::int64_t steps[6];  // by type, in the order of `types`
  };
  const Cost costs[] = {
      {"r = a + b;", {5, 18, 44, 5, 18, 44}},
      {"r = a & b;", {5, 10, 20, 5, 10, 20}},
      {"r = a * b;", {255, 841, 2589, 255, 841, 2589}},
      {"r = a / b;", {429, 1598, 5672, 406, 1575, 5649}},
      {"r = a % b;", {351, 1312, 4682, 334, 1295, 4665}},
      {"r = a << b;", {43, 173, 243, 43, 173, 243}},
      {"if (a > b) r = a;", {22, 40, 76, 14, 32, 68}},
      {"r = f(a, b);", {67, 97, 157, 67, 97, 157}},
  };
  for (const Cost& c : costs)
    for (int type = 0; type < 6; ++type) cost(c.statement, type, 77, 5, c.steps[type]);
  // A shift by a variable count n: a first cost and one per place, n counted modulo 256.
  const std::int64_t shift_first[] = {13, 23, 23}, shift_per_place[] = {6, 30, 44};
  for (int type = 0; type < 6; ++type)
    for (const char* statement : {"r = a << b;", "r = a >> b;"})
      for (const std::int64_t n : {0, 1, 31, 100, type % 3 == 0 ? 127 : 257})
        cost(statement, type, 77, n, shift_first[type % 3] + shift_per_place[type % 3] * (n % 256));
  // `/` and `%` by their values, at the signed widths.
  struct Quotient {
    std::int64_t a[3], b;  // a by type, in the order of `types`
    std::int64_t divide[3], remainder[3];
  };
  const Quotient quotients[] = {
      {{0, 0, 0}, 5, {421, 1486, 5440}, {367, 1224, 4474}},
      {{77, 77, 77}, 5, {429, 1598, 5672}, {351, 1312, 4682}},
      {{-77, -77, -77}, 5, {433, 1640, 5738}, {355, 1354, 4748}},
      {{127, 32767, 2147483647}, 1, {435, 1906, 7238}, {339, 1554, 6086}},
  };
  for (const Quotient& q : quotients)
    for (int type = 0; type < 3; ++type) {
      cost("r = a / b;", type, q.a[type], q.b, q.divide[type]);
      cost("r = a % b;", type, q.a[type], q.b, q.remainder[type]);
    }
  // Bytes that are no blank stop the compile wherever they stand outside a comment.
  struct NonBlank {
    const char* what;
    const char* byte;
    const char* header;  // a header that ends in it
  };
  const NonBlank non_blanks[] = {{"a form feed", "\f", "#define N 3\r\n\f"},
                                 {"a vertical tab", "\v", "#define N 3\r\n\v"},
                                 {"0x1A", "\x1A", "#define N 3\r\n\x1A"}};
  for (const NonBlank& non_blank : non_blanks) {
    const std::string b = non_blank.byte, w = non_blank.what;
    all.push_back({w + " among the globals", "int r = 0;" + b + "\r\nint s = 0;\r\nvoid main() { }\r\n", {}, not_a_type});
    all.push_back({w + " before a function", "int r = 0;\r\n" + b + "void main() { r = 1; }\r\n", {}, not_a_type});
    all.push_back({w + " in a function", "int r = 0;\r\nvoid main() {" + b + " r = 1; }\r\n", {},
                   unrecognised});
    all.push_back({w + " at the end of main.c", "int r = 0;\r\nvoid main() { r = 1; }\r\n" + b, {},
                   "正在编译main函数...OK\r\n_函数扫描错误\r\n"});
    all.push_back({w + " at the end of a header", "#include <h.h>\r\nint r = 0;\r\nvoid main() { r = N; }\r\n", {},
                   not_a_type, {{"h.h", non_blank.header}}});
  }
  for (const Example& e : all) {
    SCOPED_TRACE(e.point);
    std::int64_t baseline_steps = 0;
    if (!e.baseline.empty()) {
      compile(e.baseline);
      run();
      baseline_steps = sim.steps();
    }
    for (const auto& [name, text] : e.files) {
      const std::filesystem::path folder = std::filesystem::path(name).parent_path();
      if (!folder.empty()) std::filesystem::create_directories(folder);
      put_file(name, text);
    }
    const std::string log = compile(e.program);
    for (const auto& file : e.files) std::filesystem::remove_all(*std::filesystem::path(file.first).begin());
    if (!e.log.empty()) {
      EXPECT_EQ(log, e.log);
    }
    if (e.values.empty() && e.baseline.empty()) continue;
    if (!compiled()) {
      ADD_FAILURE() << log;
      continue;
    }
    run();
    for (const auto& [name, value] : e.values) EXPECT_EQ(global(name), value) << name;
    if (!e.baseline.empty()) {
      EXPECT_EQ(sim.steps() - baseline_steps, e.steps);
    }
  }
}

// The register example of "What the dialect takes", as the README prints it.
TEST_F(ReadmeExamples, TheRegisterExampleLeaves42AndACarry) {
  compile_and_run(
      "unsigned char carry = 0;\r\n\r\nvoid main()\r\n{\r\n"
      "  _A2 = 0x02; _A1 = 0x00; _A0 = 0x00;  /* the address 0x020000 */\r\n"
      "  _NOP;                                /* one word before RAM is used there */\r\n"
      "  _RAM = 42;\r\n  _A = 200;\r\n  _B = 100;\r\n"
      "  if (_ADD_A_B == 1) carry = 1;        /* 200 + 100 does not fit in 8 bits */\r\n}\r\n");
  EXPECT_EQ(ram(0x020000, 1), 42u);
  EXPECT_EQ(global("carry"), 1);
}

}  // namespace
}  // namespace tarvik::test
