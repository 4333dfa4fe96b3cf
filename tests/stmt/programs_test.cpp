#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "front/front.h"
#include "isa/isa.h"
#include "support/program_support.h"

namespace tarvik::test {
namespace {

class WholePrograms : public ProgramTest {
 protected:
  std::int16_t int_at(std::int32_t address) const { return static_cast<std::int16_t>(ram(address, 2)); }
  std::int32_t long_at(std::int32_t address) const { return static_cast<std::int32_t>(ram(address, 4)); }
};

// The statements of a body, and the r that C leaves after them.
struct Statements {
  const char* body;
  std::int16_t r;
};

// The same statements compiled twice: as main's body for the target, and here by the C++
// compiler, whose run gives the expected r. Both start with r, i, j and n at 0.
#define BODY_AND_ITS_C_RESULT(...)                 \
  {                                                \
    #__VA_ARGS__, [] {                             \
      std::int16_t r = 0, i = 0, j = 0, n = 0;     \
      __VA_ARGS__;                                 \
      static_cast<void>(i), static_cast<void>(j);  \
      static_cast<void>(n);                        \
      return r;                                    \
    }()                                            \
  }

TEST_F(WholePrograms, AProjectOfTwoFilesComputesItsGlobals) {
  put_file("lib.h",
           "#define SIZE 6\r\n"
           "#define BASE 100\r\n"
           "int base = BASE;\r\n"
           "long int big = 70000;\r\n"
           "unsigned char table[SIZE] = {3, 1, 4, 1, 5, 9};\r\n"
           "int result;\r\n"
           "int total = -1;\r\n"
           "int square(int x) { int y; y = x * x; return y; }\r\n");
  compile_and_run(
      "#include <lib.h>\r\n"
      "#define LIMIT 4\r\n"
      "// the sum of the first n squares, through the function before it\r\n"
      "int sum_squares(unsigned char n) {\r\n"
      "  int s;\r\n"
      "  unsigned char k;\r\n"
      "  s = 0;\r\n"
      "  for (k = 1; k <= n; k++) s = s + square(k);\r\n"
      "  return s;\r\n"
      "}\r\n"
      "long int scaled(long int v, int by) { return v * by + base; }\r\n"
      "void main() {\r\n"
      "  int t;\r\n"
      "  t = sum_squares(LIMIT);\r\n"
      "  result = t;\r\n"
      "  big = scaled(big, t);\r\n"
      "  total = total + table[0] + table[SIZE - 1];\r\n"
      "}\r\n");
  // base at +0, big at +2, table at +6, result at +12, total at +14
  EXPECT_EQ(int_at(FIRST_GLOBAL), 100);
  EXPECT_EQ(long_at(FIRST_GLOBAL + 2), 70000 * 30 + 100);
  EXPECT_EQ(int_at(FIRST_GLOBAL + 12), 1 + 4 + 9 + 16);
  EXPECT_EQ(int_at(FIRST_GLOBAL + 14), -1 + 3 + 9);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(ram(FIRST_GLOBAL + 6 + k, 1), (std::array{3u, 1u, 4u, 1u, 5u, 9u}[k]));
}

TEST_F(WholePrograms, EveryStatementComputesWhatCComputes) {
  const Statements cases[] = {
      // if, else if, else
      BODY_AND_ITS_C_RESULT(for (i = -2; i < 14; i = i + 3) {
        if (i < 0) r = r + 1;
        else if (i == 1) r = r + 10;
        else if (i < 10) r = r + 100;
        else r = r + 1000;
      }),
      BODY_AND_ITS_C_RESULT(if (r) r = 5; else { r = 6; } if (r == 6) { r = r * 2; } else r = 0;),
      // loops with all their parts, and with parts left out
      BODY_AND_ITS_C_RESULT(while (i < 10) { r = r + i; i++; }),
      BODY_AND_ITS_C_RESULT(while (i < 0) r = 99; r = r + 1;),
      BODY_AND_ITS_C_RESULT(for (i = 0; i < 5; i++) r = r * 2 + 1;),
      BODY_AND_ITS_C_RESULT(for (;;) { i++; if (i > 6) break; r = r + i; }),
      BODY_AND_ITS_C_RESULT(i = 3; for (; i;) { r = r + i; i--; }),
      BODY_AND_ITS_C_RESULT(for (i = 10; i > 0;) i = i - 3; r = i;),
      BODY_AND_ITS_C_RESULT(do { r = r + 2; i++; } while (i < 4);),
      BODY_AND_ITS_C_RESULT(do r = r + 7; while (0);),
      // break and continue in each loop
      BODY_AND_ITS_C_RESULT(while (1) { i++; if (i == 5) break; } r = i;),
      BODY_AND_ITS_C_RESULT(do { i++; if (i == 3) break; r = r + 10; } while (i < 100);),
      BODY_AND_ITS_C_RESULT(while (i < 10) { i++; if (i % 3) continue; r = r + i; }),
      BODY_AND_ITS_C_RESULT(for (i = 0; i < 10; i++) { if (i % 2) continue; r = r + i; }),
      BODY_AND_ITS_C_RESULT(do { i++; if (i % 2) continue; r = r + i; } while (i < 9);),
      // nested loops: a break or continue leaves only the inner one
      BODY_AND_ITS_C_RESULT(for (i = 1; i <= 4; i++) for (j = 1; j <= i; j++) r = r + i * j;),
      BODY_AND_ITS_C_RESULT(for (i = 0; i < 5; i++) { for (j = 0; j < 5; j++) { if (j == i) break; r++; } }),
      BODY_AND_ITS_C_RESULT(for (i = 0; i < 4; i++) { j = 0; while (j < 6) { j++; if (j % 2) continue; r = r + 1; } n++; }
                            r = r * 10 + n;),
      BODY_AND_ITS_C_RESULT(while (i < 3) { i++; j = 0; do { j++; if (j == i) continue; r = r + j; } while (j < 3); }),
      // unbraced bodies, one statement completing a chain of them
      BODY_AND_ITS_C_RESULT(while (i < 8) if (i < 2) i = i + 1; else if (i < 4) { i = i + 2; r++; } else i = i + 5;
                            r = r * 100 + i;),
      BODY_AND_ITS_C_RESULT(for (i = 0; i < 3; i++) for (j = 0; j < 3; j++) while (n < i + j) n++; r = n;),
      BODY_AND_ITS_C_RESULT(for (i = 0; i < 5; i++) if (i % 2) r = r + 1; else for (j = 0; j < i; j++) r = r + 10;),
      {"for (i = 0; i < 6; i++) if (i % 2) if (i > 2) r = r + 100; else r = r + 10; else r = r + 1;",
       1 + 10 + 1 + 100 + 1 + 100},  // each else belongs to the nearest if
      // blocks
      BODY_AND_ITS_C_RESULT({ r = 1; { r = r + 2; } { } } r = r * 10;),
      BODY_AND_ITS_C_RESULT(if (r == 0) { { r = 4; } } else { r = 5; }),
      // goto forward over code, into a block, out of loops; labels before statements
      BODY_AND_ITS_C_RESULT(r = 1; goto skip; r = 100; skip: r = r + 2;),
      BODY_AND_ITS_C_RESULT(goto in; r = 9; { r = r + 1; in: r = r + 2; }),
      BODY_AND_ITS_C_RESULT(for (i = 0; i < 10; i++) for (j = 0; j < 10; j++) if (i * j == 12) goto found;
                            found: r = i * 100 + j;),
      BODY_AND_ITS_C_RESULT(while (1) { do { i++; if (i == 7) goto out; } while (1); } out: r = i;),
      BODY_AND_ITS_C_RESULT(goto loop; r = 50; loop: while (i < 3) i++; r = r + i;),
      BODY_AND_ITS_C_RESULT(if (r == 0) goto a; r = 1; a: if (r == 0) goto b; r = 2; b: r = r + 40;),
      // a name is free again once its label is reached
      {"goto a; r = 5; a: r = r + 1; goto a; r = r + 10; a: r = r + 100;", 101},
  };
  for (const Statements& c : cases) {
    SCOPED_TRACE(c.body);
    compile_and_run(std::string("int r = 0; int i = 0; int j = 0; int n = 0;\r\nvoid main() {") + c.body + "}\r\n");
    EXPECT_EQ(int_at(FIRST_GLOBAL), c.r);
  }
}

TEST_F(WholePrograms, KnownResults) {
  const struct {
    const char* what;
    const char* program;  // leaves its result in the long int at the first global
    std::int32_t expected;
  } cases[] = {
      {"the sum 1 + ... + 100",
       "long int sum;\r\n"
       "void main() { int k; sum = 0; k = 1; while (k <= 100) { sum = sum + k; k++; } }\r\n",
       [] {
         std::int32_t sum = 0;
         for (int k = 1; k <= 100; ++k) sum += k;
         return sum;
       }()},
      {"10! by a loop",
       "long int f;\r\n"
       "long int factorial(char n) { long int p; char k; p = 1; for (k = 2; k <= n; k++) p = p * k; return p; }\r\n"
       "void main() { f = factorial(10); }\r\n",
       [] {
         std::int32_t p = 1;
         for (int k = 2; k <= 10; ++k) p *= k;
         return p;
       }()},
      {"the 24th Fibonacci number",
       "long int fib;\r\n"
       "unsigned int fibonacci(int n) {\r\n"
       "  unsigned int a; unsigned int b; unsigned int t;\r\n"
       "  a = 0; b = 1;\r\n"
       "  while (n > 0) { t = a + b; a = b; b = t; n--; }\r\n"
       "  return a;\r\n"
       "}\r\n"
       "void main() { fib = fibonacci(24); }\r\n",
       [] {
         std::int32_t a = 0, b = 1;
         for (int n = 24; n > 0; --n) b = std::exchange(a, b) + b;
         return a;
       }()},
      {"gcd(1071, 462) and gcd(7680, 2160), summed",
       "long int g;\r\n"
       "int gcd(int a, int b) { int t; while (b != 0) { t = a % b; a = b; b = t; } return a; }\r\n"
       "void main() { g = gcd(1071, 462) + gcd(7680, 2160); }\r\n",
       [] {
         const auto gcd = [](int a, int b) {
           while (b != 0) a = std::exchange(b, a % b);
           return a;
         };
         return gcd(1071, 462) + gcd(7680, 2160);
       }()},
      {"3 to the 15th",
       "long int p;\r\n"
       "long int power(long int base, char e) { long int r; r = 1; do { r = r * base; e--; } while (e); return r; }\r\n"
       "void main() { p = power(3, 15); }\r\n",
       [] {
         std::int32_t r = 1;
         for (int e = 0; e < 15; ++e) r *= 3;
         return r;
       }()},
      {"the primes below 100, by trial division",
       "long int count;\r\n"
       "void main() {\r\n"
       "  int n; int d; char prime;\r\n"
       "  count = 0;\r\n"
       "  for (n = 2; n < 100; n++) {\r\n"
       "    prime = 1;\r\n"
       "    for (d = 2; d * d <= n; d++) if (n % d == 0) { prime = 0; break; }\r\n"
       "    if (!prime) continue;\r\n"
       "    count++;\r\n"
       "  }\r\n"
       "}\r\n",
       [] {
         std::int32_t count = 0;
         for (int n = 2; n < 100; ++n) {
           bool prime = true;
           for (int d = 2; d * d <= n; ++d)
             if (n % d == 0) {
               prime = false;
               break;
             }
           if (!prime) continue;
           ++count;
         }
         return count;
       }()},
      {"the steps of 27 to 1 in the 3n + 1 walk",
       "long int steps;\r\n"
       "void main() {\r\n"
       "  int n;\r\n"
       "  n = 27; steps = 0;\r\n"
       "  while (n != 1) { if (n % 2) n = 3 * n + 1; else n = n / 2; steps++; }\r\n"
       "}\r\n",
       [] {
         std::int32_t steps = 0;
         for (int n = 27; n != 1; ++steps) n = n % 2 ? 3 * n + 1 : n / 2;
         return steps;
       }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    compile_and_run(c.program);
    EXPECT_EQ(long_at(FIRST_GLOBAL), c.expected);
  }
}

TEST_F(WholePrograms, BubbleSortOfAGlobalArray) {
  std::array<std::int16_t, 8> values = {512, -3, 12, 0, 7, -800, 12, 9};
  compile_and_run(
      "#define N 8\r\n"
      "int a[N] = {512, -3, 12, 0, 7, -800, 12, 9};\r\n"
      "int swaps;\r\n"
      "void main() {\r\n"
      "  int i; int j; int t; char sorted;\r\n"
      "  swaps = 0;\r\n"
      "  for (i = 0; i < N - 1; i++) {\r\n"
      "    sorted = 1;\r\n"
      "    for (j = 0; j < N - 1 - i; j++)\r\n"
      "      if (a[j] > a[j + 1]) { t = a[j]; a[j] = a[j + 1]; a[j + 1] = t; sorted = 0; swaps++; }\r\n"
      "    if (sorted) break;\r\n"
      "  }\r\n"
      "}\r\n");
  int swaps = 0;  // inversions: one swap each
  for (std::size_t i = 0; i < values.size(); ++i)
    for (std::size_t j = i + 1; j < values.size(); ++j) swaps += values[i] > values[j];
  std::sort(values.begin(), values.end());
  for (std::size_t k = 0; k < values.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(int_at(FIRST_GLOBAL + 2 * static_cast<std::int32_t>(k)), values[k]);
  }
  EXPECT_EQ(int_at(FIRST_GLOBAL + 16), swaps);
}

// Each result type: the value goes through the function's return cell at that width, and
// the caller widens it again into a long int.
TEST_F(WholePrograms, ReturnsOfEveryResultWidth) {
  constexpr std::int32_t V = 0x1234807F;  // returned as V + 1
  const struct {
    const char* type;
    std::int32_t expected;
  } cases[] = {
      {"char", static_cast<std::int8_t>(V + 1)},
      {"unsigned char", static_cast<std::uint8_t>(V + 1)},
      {"int", static_cast<std::int16_t>(V + 1)},
      {"unsigned int", static_cast<std::uint16_t>(V + 1)},
      {"long int", V + 1},
      {"unsigned long int", V + 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    const std::string type = c.type;
    // A bare return leaves the cell as the call before left it.
    compile_and_run("long int r; long int again; char after;\r\n" + type +
                    " next(long int v) {\r\n"
                    "  if (v == 0) return;\r\n"
                    "  return v + 1;\r\n"
                    "  after = 1;\r\n"
                    "}\r\n"
                    "void main() { after = 0; r = next(0x1234807F); again = next(0); }\r\n");
    EXPECT_EQ(long_at(FIRST_GLOBAL), c.expected);
    EXPECT_EQ(long_at(FIRST_GLOBAL + 4), c.expected);
    EXPECT_EQ(ram(FIRST_GLOBAL + 8, 1), 0u);
  }
}

TEST_F(WholePrograms, ReturnsOfPointersAndOfVoidFunctions) {
  compile_and_run(
      "char c; int g; int before; int later;\r\n"
      "unsigned char *skip_two(unsigned char *p) { return p + 2; }\r\n"
      "void set(int v) { if (v < 0) return; g = v; return; g = 0; }\r\n"
      "void main() {\r\n"
      "  unsigned char *q;\r\n"
      "  q = skip_two(\"xyz\");\r\n"
      "  c = *q;\r\n"
      "  g = 1; set(-5); before = g; set(7); later = g;\r\n"
      "}\r\n");
  EXPECT_EQ(ram(FIRST_GLOBAL, 1), static_cast<std::uint32_t>('z'));
  EXPECT_EQ(int_at(FIRST_GLOBAL + 3), 1);
  EXPECT_EQ(int_at(FIRST_GLOBAL + 5), 7);
}

TEST_F(WholePrograms, AFunctionCallsOnlyTheFunctionsBeforeIt) {
  const struct {
    const char* program;
    const char* log;
  } cases[] = {
      {"int f(int n) { if (n) return f(n - 1); return 0; }\r\nvoid main() { f(3); }\r\n", ""},
      {"void g() {}\r\nvoid f() { g(); h(); }\r\nvoid h() {}\r\nvoid main() { f(); }\r\n",
       "正在编译g函数...OK\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program);
    EXPECT_EQ(compile(c.program), std::string(c.log) + Text(MSG_UNDEFINED_FUNCTION_CALLED) + "\r\n");
  }
}

// The literal's bytes are stored by the code that uses it, each time it runs; GBK text is
// two bytes a character.
TEST_F(WholePrograms, AStringLiteralThroughAPointer) {
  compile_and_run(
      "unsigned char *p; int length; int both;\r\n"
      "int count(unsigned char *s) { int n; n = 0; while (*s) { n++; s++; } return n; }\r\n"
      "void main() {\r\n"
      "  p = \"Tarvik CPU\";\r\n"
      "  length = 0;\r\n"
      "  while (*p != 0) { length++; p++; }\r\n"
      "  both = count(\"你好\") * 100 + count(\"\");\r\n"
      "}\r\n");
  EXPECT_EQ(int_at(FIRST_GLOBAL + 3), 10);
  EXPECT_EQ(int_at(FIRST_GLOBAL + 5), 400);
}

// rom_run starts the program again: the start-up marks the restart at ROM_RUN_STORE_ADDRESS
// and sets the initialised globals anew, while a global without a value keeps counting.
TEST_F(WholePrograms, RomRunStartsTheProgramAgain) {
  ASSERT_NE(pattern_byte(ROM_RUN_STORE_ADDRESS), 0xFF);
  compile_and_run(
      "@0xC00080\r\n"
      "unsigned char restarted;\r\n"
      "@\r\n"
      "unsigned char runs;\r\n"
      "unsigned char fresh = 7;\r\n"
      "unsigned char seen;\r\n"
      "void main() {\r\n"
      "  if (restarted != 0xFF) { runs = 0; seen = 0; }\r\n"
      "  runs++;\r\n"
      "  fresh = fresh + runs;\r\n"
      "  seen = seen * 10 + fresh;\r\n"
      "  if (runs < 3) rom_run;\r\n"
      "}\r\n");
  EXPECT_EQ(ram(ROM_RUN_STORE_ADDRESS, 1), 0xFFu);
  EXPECT_EQ(ram(FIRST_GLOBAL, 1), 3u);
  EXPECT_EQ(ram(FIRST_GLOBAL + 1, 1), 7u + 3u);
  EXPECT_EQ(ram(FIRST_GLOBAL + 2, 1), ((8u * 10 + 9) * 10 + 10) & 0xFF);
}

}  // namespace
}  // namespace tarvik::test
