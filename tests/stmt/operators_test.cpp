// Whole programs that exercise the operators at every width and signedness: each program
// stores its results into globals, runs on the simulator, and the globals are read back.
#include "support/program_support.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::test {
namespace {

// One global that a program computes: its type, the statements that compute it ("$" stands
// for its name) and the value it must hold when the program ends.
struct Result {
  const char* type;
  const char* code;
  std::int64_t expected;
};

std::string hex_value(std::uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", v);
  return text;
}

class OperatorPrograms : public ProgramTest {
 protected:
  // Declares one global per result ahead of `inputs`, so the results lie from FIRST_GLOBAL on,
  // then `functions` and a main that runs the results' statements in order; runs the image and
  // checks every result, cut to its width.
  void check(std::string_view inputs, const std::vector<Result>& results, std::string_view functions = "") {
    std::string program, body;
    for (std::size_t i = 0; i < results.size(); ++i) {
      const std::string name = "r" + std::to_string(i);
      program += std::string(results[i].type) + " " + name + ";\r\n";
      for (const char* c = results[i].code; *c; ++c) body += *c == '$' ? name : std::string(1, *c);
      body += "\r\n";
    }
    program += std::string(inputs) + "\r\n" + std::string(functions) + "\r\nvoid main() {\r\n" + body + "}\r\n";
    compile(program);
    ASSERT_TRUE(compiled()) << window.log_text();
    run();
    std::int32_t address = FIRST_GLOBAL;
    for (const Result& r : results) {
      SCOPED_TRACE(std::string(r.type) + ": " + r.code);
      const int width = width_of(r.type);
      const std::uint32_t mask = width == 4 ? 0xFFFFFFFFu : (1u << (8 * width)) - 1;
      EXPECT_EQ(hex_value(ram(address, width)), hex_value(static_cast<std::uint32_t>(r.expected) & mask));
      address += width;
    }
  }
};

// ua 0xC8, ub 0x64; ca 0x9C, cb 0x32; ui 0xEA60, uj 0x1B58; si 0x8AD0, sj 0x04D2;
// ul 0xEE6B2800, um 0x00011170; sl 0x88CA6C00, sm 0x0001E240. The second line's pairs
// (ca, cc), (si, sk), (sl, sn) lie so far apart that their difference overflows the width.
constexpr std::string_view NUMBERS =
    "unsigned char ua = 200, ub = 100, us = 3;\r\n"
    "char ca = -100, cb = 50, cs = 3, c7 = 7;\r\n"
    "unsigned int ui = 60000, uj = 7000;\r\n"
    "int si = -30000, sj = 1234;\r\n"
    "unsigned long int ul = 4000000000, um = 70000;\r\n"
    "long int sl = -2000000000, sm = 123456, n5 = 5;\r\n"
    "unsigned char zero = 0, one = 1;\r\n"
    "char cc = 100, cm = -128, cn = -7; int sk = 30000; long int sn = 2000000000;\r\n"
    "int imin = -32768; long int lmin = 0x80000000;\r\n";

TEST_F(OperatorPrograms, AdditionAndSubtraction) {
  const std::vector<Result> results = {
      // Two 8-bit operands give an 8-bit result, stored as its signedness says.
      {"int", "$ = ua + ub;", 44},
      {"int", "$ = ub - ua;", 156},
      {"int", "$ = ca + cb;", -50},
      {"int", "$ = ca - cb;", 106},
      {"int", "$ = ca - ua;", 212},  // unsigned: only one operand is signed
      {"unsigned char", "$ = ua + ub;", 44},
      {"char", "$ = ca + cb + cs;", -47},
      {"int", "$ = si + sj;", -28766},
      {"unsigned int", "$ = ui + uj;", 1464},
      {"long int", "$ = ui + uj;", 1464},
      {"int", "$ = sj + ua;", 1434},
      {"unsigned int", "$ = uj + ca;", 6900},
      {"unsigned char", "$ = ui + uj;", 0xB8},
      {"long int", "$ = sl + sm;", -1999876544},
      {"unsigned long int", "$ = ul - um;", 3999930000},
      {"long int", "$ = sm - si;", 153456},
      {"long int", "$ = sm + ca;", 123356},
      {"unsigned long int", "$ = um + ub;", 70100},
      {"unsigned long int", "$ = si - ul;", 294937296},
      {"int", "$ = sj - cb - cs;", 1181},
      // A constant widens the other operand only when that type cannot hold it.
      {"int", "$ = ua + 255;", 199},
      {"int", "$ = ua + 256;", 456},
      {"int", "$ = ub - 101;", 255},
      {"int", "$ = ca + 127;", 27},
      {"int", "$ = ca + 128;", 28},
      {"long int", "$ = ca + 32768;", 32668},
      {"long int", "$ = ua + -1;", 199},
      {"long int", "$ = sj - 40000;", -38766},
      {"long int", "$ = 2 + 3;", 5},
      {"long int", "$ = 0x7FFFFFFF + 1;", 0x80000000},
  };
  check(NUMBERS, results);
}

TEST_F(OperatorPrograms, MultiplicationDivisionAndRemainder) {
  const std::vector<Result> results = {
      {"int", "$ = ua * us;", 88},  // 600 kept to 8 bits
      {"int", "$ = ua / us;", 66},
      {"int", "$ = ua % us;", 2},
      {"unsigned char", "$ = ua / ub;", 2},
      {"int", "$ = ca * cs;", -44},  // -300 kept to 8 bits
      {"int", "$ = ca / cs;", -33},
      {"int", "$ = ca % cs;", -1},
      {"int", "$ = ca / us;", 52},  // unsigned: 0x9C / 3
      {"int", "$ = si / sj;", -24},
      {"int", "$ = si % sj;", -384},
      {"unsigned int", "$ = ui / uj;", 8},
      {"unsigned int", "$ = ui % uj;", 4000},
      {"int", "$ = sj * sj;", 15428},
      {"int", "$ = si / cs;", -10000},
      {"unsigned int", "$ = ui / cs;", 20000},
      {"long int", "$ = sj * ua;", -15344},  // an int times an unsigned char is signed
      {"unsigned long int", "$ = uj * ub;", 44640},
      {"long int", "$ = sm * 100;", 12345600},
      {"long int", "$ = sl / sm;", -16200},
      {"long int", "$ = sl % sm;", -12800},
      {"unsigned long int", "$ = ul / um;", 57142},
      {"unsigned long int", "$ = ul % um;", 60000},
      {"int", "$ = ua / 7;", 28},
      {"int", "$ = ua % 7;", 4},
      {"int", "$ = ca / cb;", -2},
      {"int", "$ = cb / ca;", 0},
      {"int", "$ = cm / 2;", -64},
      {"int", "$ = cm % 3;", -2},
      {"int", "$ = si / cn;", 4285},
      {"unsigned int", "$ = ui % 7;", 3},
      {"long int", "$ = sl % cn;", -5},
      {"unsigned long int", "$ = ul / 3;", 1333333333},
      {"unsigned long int", "$ = ul % 7;", 3},
      {"long int", "$ = sl * -1;", 2000000000},
      {"long int", "$ = sm * sm;", -1938485248},
      {"unsigned int", "$ = ui * ui;", 0xA400},
      {"unsigned long int", "$ = ul * 3;", 3410065408},
      {"int", "$ = si * cn;", 13392},
      {"unsigned long int", "$ = ul / sl;", 1},  // unsigned: sl is read as 0x88CA6C00
      {"unsigned long int", "$ = ul % sl;", 1705032704},
      {"int", "$ = cm / cs;", -42},
      {"int", "$ = imin / 10;", -3276},
      {"int", "$ = imin % 10;", -8},
      {"long int", "$ = lmin / 2;", -1073741824},
      {"long int", "$ = lmin % 10;", -8},
      // The constant's range decides the width: 100 fits a char, 200 does not.
      {"int", "$ = ca * 100;", -16},
      {"int", "$ = ca * 200;", -20000},
      {"int", "$ = ua * 300;", 60000},
      {"long int", "$ = ua * -1;", -200},
      {"int", "$ = sj / -5;", -246},
      {"int", "$ = 7 / -2;", -3},
      {"int", "$ = -7 % 2;", -1},
      {"int", "$ = 7 % -2;", 1},
      {"long int", "$ = 65536 * 65536;", 0},
      {"int", "$ = sj + sj * 2;", 3702},
  };
  check(NUMBERS, results);
}

TEST_F(OperatorPrograms, BitwiseOperatorsAndComplement) {
  const std::vector<Result> results = {
      {"int", "$ = ua & ub;", 0x40},
      {"int", "$ = ua | ub;", 0xEC},
      {"int", "$ = ua ^ ub;", 0xAC},
      {"int", "$ = ca & cb;", 0x10},
      {"int", "$ = ca | cb;", -66},
      {"int", "$ = ca ^ cb;", -82},
      {"int", "$ = ua | ca;", 0xDC},  // 8 bits, unsigned
      {"int", "$ = si & sj;", 0xD0},
      {"int", "$ = si | sj;", -28974},
      {"long int", "$ = si ^ sj;", -29182},
      {"long int", "$ = ui | sj;", 0xEEF2},
      {"unsigned long int", "$ = ul & um;", 0x10000},
      {"unsigned long int", "$ = ul ^ sm;", 0xEE6ACA40},
      {"long int", "$ = sl | ca;", -100},
      // 0xFF fits an 8-bit operand, so c & 0xFF stays a signed char.
      {"int", "$ = ca & 0xFF;", -100},
      {"int", "$ = ua & 0x1FF;", 200},
      {"long int", "$ = si & 0x10000;", 0x10000},
      {"long int", "$ = ca & -1;", -100},
      {"int", "$ = 6 | 9;", 15},
      {"int", "$ = -1 & 0xFF;", 255},
      {"long int", "$ = -1 ^ 5;", -6},
      {"int", "$ = ua | ub & us;", 200},
      {"int", "$ = ua ^ ub | cs & ca;", 0xAC},
      // The complement keeps the operand's width.
      {"int", "$ = ~ua;", 55},
      {"int", "$ = ~ca;", 99},
      {"int", "$ = ~sj;", -1235},
      {"unsigned int", "$ = ~ui;", 5535},
      {"long int", "$ = ~sm;", -123457},
      {"unsigned long int", "$ = ~ul;", 0x1194D7FF},
      {"int", "$ = ~5;", -6},
      {"char", "$ = ~~ca;", -100},
  };
  check(NUMBERS, results);
}

TEST_F(OperatorPrograms, Shifts) {
  const std::vector<Result> results = {
      {"int", "$ = ua << 2;", 0x20},  // the left operand's 8 bits
      {"int", "$ = ua >> 2;", 50},
      {"int", "$ = ca >> 2;", -25},
      {"int", "$ = ca << 1;", 0x38},
      {"unsigned char", "$ = ua >> 7;", 1},
      {"char", "$ = ca >> 7;", -1},
      {"int", "$ = si >> 4;", -1875},
      {"unsigned int", "$ = ui >> 4;", 3750},
      {"int", "$ = sj << 4;", 19744},
      {"int", "$ = si >> 15;", -1},
      {"unsigned int", "$ = ui >> 15;", 1},
      {"long int", "$ = sl >> 8;", -7812500},
      {"unsigned long int", "$ = ul >> 28;", 14},
      {"long int", "$ = sm << 8;", 31604736},
      {"int", "$ = si >> 20;", -1},  // a count beyond the width shifts every bit out
      {"int", "$ = sj << 16;", 0},
      // Counts held in variables of any width.
      {"int", "$ = ua << us;", 0x40},
      {"int", "$ = si >> cs;", -3750},
      {"long int", "$ = sm >> us;", 15432},
      {"int", "$ = sj << n5;", -26048},
      {"int", "$ = ua << zero;", 200},
      {"int", "$ = sj << zero;", 1234},
      {"long int", "$ = sl >> zero;", -2000000000},
      // A constant left operand takes the smallest signed type that holds it.
      {"int", "$ = 1 << c7;", -128},
      {"int", "$ = 300 << cs;", 2400},
      {"long int", "$ = 1 << 33;", 2},
      {"long int", "$ = -16 >> 2;", -4},
  };
  check(NUMBERS, results);
}

TEST_F(OperatorPrograms, UnaryOperators) {
  const std::vector<Result> results = {
      // Negating an unsigned type widens it: unsigned char to int, unsigned int to long.
      {"int", "$ = -ua;", -200},
      {"long int", "$ = -ui;", -60000},
      {"int", "$ = -ca;", 100},
      {"int", "$ = -si;", 30000},
      {"long int", "$ = -sl;", 2000000000},
      {"unsigned long int", "$ = -um;", 4294897296},
      {"char", "$ = - -ca;", -100},
      {"int", "$ = +sj;", 1234},
      {"int", "$ = -sj * 2;", -2468},
      {"int", "$ = sj - -sj;", 2468},
      {"int", "$ = !ua;", 0},
      {"int", "$ = !zero;", 1},
      {"int", "$ = !!ua;", 1},
      {"int", "$ = !si;", 0},
      {"long int", "$ = !sl;", 0},
      {"int", "$ = !0;", 1},
      {"int", "$ = !5;", 0},
      {"int", "$ = -!zero;", -1},
      {"int", "$ = -ua + -ca;", -100},
      {"long int", "$ = -ui - ui;", -120000},
      {"long int", "$ = ~ui + 1;", 5536},
      {"unsigned char", "$ = !ua == !ub;", 1},
  };
  check(NUMBERS, results);
}

TEST_F(OperatorPrograms, Comparisons) {
  const std::vector<Result> results = {
      {"unsigned char", "$ = ua < ub;", 0},
      {"unsigned char", "$ = ua > ub;", 1},
      {"unsigned char", "$ = ua <= ub;", 0},
      {"unsigned char", "$ = ua >= ub;", 1},
      {"unsigned char", "$ = ua == ub;", 0},
      {"unsigned char", "$ = ua != ub;", 1},
      {"unsigned char", "$ = ca < cb;", 1},
      {"unsigned char", "$ = ca > cb;", 0},
      {"unsigned char", "$ = ca >= -100;", 1},
      {"unsigned char", "$ = ca <= -101;", 0},
      {"unsigned char", "$ = ca == -100;", 1},
      {"unsigned char", "$ = ca != cb;", 1},
      // A char against an unsigned char compares unsigned at 8 bits: 0x9C > 0x64.
      {"unsigned char", "$ = ca > ub;", 1},
      {"unsigned char", "$ = si < sj;", 1},
      {"unsigned char", "$ = ui > sj;", 1},
      {"unsigned char", "$ = si < uj;", 0},
      {"unsigned char", "$ = si < ua;", 1},
      {"unsigned char", "$ = ca < ui;", 0},
      {"unsigned char", "$ = si >= -30000;", 1},
      {"unsigned char", "$ = si > -30000;", 0},
      {"unsigned char", "$ = ui > 59999;", 1},
      {"unsigned char", "$ = sl < sm;", 1},
      {"unsigned char", "$ = ul > um;", 1},
      {"unsigned char", "$ = sl < um;", 0},
      {"unsigned char", "$ = sl < ui;", 1},
      {"unsigned char", "$ = sm <= 123456;", 1},
      {"unsigned char", "$ = ul >= 4000000001;", 0},
      {"unsigned char", "$ = ca < cc;", 1},
      {"unsigned char", "$ = cc <= ca;", 0},
      {"unsigned char", "$ = si < sk;", 1},
      {"unsigned char", "$ = sk > si;", 1},
      {"unsigned char", "$ = sl < sn;", 1},
      {"unsigned char", "$ = sn >= sl;", 1},
      {"unsigned char", "$ = si == -29744;", 0},  // only the high bytes differ
      {"unsigned char", "$ = sm != 188992;", 1},
      {"unsigned char", "$ = si < 0;", 1},
      {"unsigned char", "$ = ui < 0;", 0},
      {"unsigned char", "$ = ui >= 0;", 1},
      {"unsigned char", "$ = ui > 32767;", 1},
      {"unsigned char", "$ = ul > -1;", 0},  // -1 read as 0xFFFFFFFF
      {"unsigned char", "$ = ui > -1;", 1},  // ui widened to a signed long
      // Constants outside the operand's range widen it, signed.
      {"unsigned char", "$ = ua < 256;", 1},
      {"unsigned char", "$ = ua > 255;", 0},
      {"unsigned char", "$ = ua >= -1;", 1},
      {"unsigned char", "$ = ca == 156;", 0},
      {"unsigned char", "$ = 3 >= 2;", 1},
      {"unsigned char", "$ = -5 <= 3;", 1},
      {"unsigned char", "$ = 2 == 3;", 0},
      {"unsigned char", "$ = -1 < 1;", 1},
      {"unsigned char", "$ = ua > ub == 1;", 1},
      {"unsigned char", "$ = ca < cb < cs;", 1},
      {"unsigned char", "$ = si < sj != zero;", 1},
      {"int", "$ = si < sj;", 1},
      {"long int", "$ = sl > sm;", 0},
  };
  check(NUMBERS, results);
}

TEST_F(OperatorPrograms, CompoundAssignments) {
  const std::vector<Result> results = {
      {"unsigned char", "$ = 200; $ += 100;", 44},
      {"char", "$ = 100; $ += 100;", -56},
      {"unsigned char", "$ = 250; $ += 10;", 4},
      {"char", "$ = 5; $ -= cb;", -45},
      {"unsigned char", "$ = 10; $ += ui;", 0x6A},
      {"int", "$ = 1000; $ -= 3000;", -2000},
      {"unsigned int", "$ = 5; $ -= 10;", 65531},
      {"int", "$ = 7; $ *= ca;", -700},
      {"long int", "$ = 100000; $ *= 30;", 3000000},
      {"unsigned long int", "$ = 0xFFFFFFFF; $ /= 16;", 0x0FFFFFFF},
      {"long int", "$ = -1000; $ /= 7;", -142},
      {"int", "$ = -1000; $ %= 7;", -6},
      {"unsigned int", "$ = 1000; $ %= us;", 1},
      {"unsigned char", "$ = 0xF0; $ &= 0x3C;", 0x30},
      {"char", "$ = 0x0F; $ |= 0x70;", 0x7F},
      {"int", "$ = 0x1234; $ ^= 0xFFFF;", 0xEDCB},
      {"long int", "$ = sm; $ ^= sl;", 0x88CB8E40},
      {"unsigned int", "$ = 1; $ <<= 15;", 0x8000},
      {"int", "$ = -256; $ >>= 4;", -16},
      {"unsigned long int", "$ = 0x80000000; $ >>= 31;", 1},
      {"long int", "$ = 0x80000000; $ >>= 31;", -1},
      {"char", "$ = 10; $ <<= cs;", 80},
      {"long int", "$ = 1; $ <<= n5;", 32},
      {"int", "$ = 10; $ += ua > ub ? sj : si;", 1244},
      {"int", "$ = 10; $ -= zero ? sj : si;", 30010},
  };
  check(NUMBERS, results);
}

TEST_F(OperatorPrograms, IncrementsAndDecrements) {
  const std::vector<Result> results = {
      // y = x++ gives the old value; the variable wraps at its own width.
      {"unsigned char", "$ = xa++;", 255},
      {"unsigned char", "$ = xa;", 0},
      {"char", "$ = xc--;", -128},
      {"char", "$ = xc;", 127},
      {"unsigned int", "$ = xi++;", 65535},
      {"unsigned int", "$ = xi;", 0},
      {"int", "$ = xs++;", 32767},
      {"int", "$ = xs;", -32768},
      {"unsigned long int", "$ = xl++;", 0xFFFFFFFF},
      {"unsigned long int", "$ = xl;", 0},
      {"long int", "$ = xm++;", 0x7FFFFFFF},
      {"long int", "$ = xm;", 0x80000000},
      // Prefix forms give the new value.
      {"unsigned char", "$ = ++xa;", 1},
      {"char", "$ = --xc;", 126},
      {"unsigned int", "$ = --xi;", 65535},
      {"int", "$ = ++xs;", -32767},
      {"unsigned long int", "$ = --xl;", 0xFFFFFFFF},
      {"long int", "$ = --xm;", 0x7FFFFFFF},
      // Old values used inside larger expressions and stored at other widths.
      {"int", "$ = yy++ + 10;", 15},
      {"int", "$ = yy-- * yy;", 30},  // the old value is taken before the right operand is read
      {"char", "$ = xs++;", 1},
      {"long int", "$ = xa--;", 1},
      {"long int", "$ = -yy--;", -5},
      {"int", "$ = yy;", 4},
      {"int", "yy++; ++yy; yy--; $ = yy;", 5},
  };
  check(
      "unsigned char xa = 255; char xc = -128; unsigned int xi = 65535; int xs = 32767;\r\n"
      "unsigned long int xl = 0xFFFFFFFF; long int xm = 0x7FFFFFFF; int yy = 5;",
      results);
}

TEST_F(OperatorPrograms, LogicalOperatorsConditionalAndComma) {
  const std::vector<Result> results = {
      {"unsigned char", "$ = ua && ub;", 1},
      {"unsigned char", "$ = ua && zero;", 0},
      {"unsigned char", "$ = zero || one;", 1},
      {"unsigned char", "$ = zero || zero;", 0},
      {"unsigned char", "$ = ua > ub && ca < cb;", 1},
      {"unsigned char", "$ = ua < ub || ca > cb;", 0},
      {"unsigned char", "$ = zero || one && zero;", 0},
      {"unsigned char", "$ = one || zero && zero;", 1},
      {"unsigned char", "$ = !zero && one;", 1},
      {"unsigned char", "$ = sl && si;", 1},
      // The right operand runs only when it decides.
      {"unsigned char", "$ = zero && hits++;", 0},
      {"unsigned char", "$ = one || hits++;", 1},
      {"int", "$ = hits;", 0},
      {"unsigned char", "$ = one && hits++;", 0},
      {"int", "$ = hits;", 1},
      {"int", "$ = ua > ub ? sj : si;", 1234},
      {"int", "$ = zero ? 1 : 2;", 2},
      {"int", "$ = ca < 0 ? (cb < 0 ? 1 : 2) : 3;", 2},
      {"int", "$ = zero ? 1 : one ? 2 : 3;", 2},
      {"int", "$ = zero ? 1 : zero ? 2 : 3;", 3},
      {"long int", "$ = one ? sl : sm;", -2000000000},
      {"unsigned char", "$ = ua > ub ? ua : ub;", 200},
      {"int", "$ = zero ? hits++ : hits--;", 1},
      {"int", "$ = hits;", 0},
      {"int", "$ = (sj, si);", -30000},
      {"int", "$ = (hits = 5, hits + 1);", 6},
      {"int", "for (i = 0, $ = 0; i < 5; i++, $ += 2) {}", 10},
  };
  check(std::string(NUMBERS) + "int hits = 0; char i;", results);
}

// Placed at fixed addresses so that pointer values read as plain numbers.
constexpr std::string_view MEMORY =
    "@0x20000\r\n"
    "int arr[5] = {10, 20, 30, 40, 50};\r\n"        // 0x20000
    "char text[4] = \"AB\";\r\n"                    // 0x2000A
    "long int big[3] = {-1, 100000, 7};\r\n"        // 0x2000E
    "unsigned char bytes[4] = {1, 2, 3, 250};\r\n"  // 0x2001A
    "unsigned int words[2] = {65535, 1};\r\n"       // 0x2001E
    "@\r\n"
    "int *ip, *jp; char *cp, *dp; long int *lp, *kp; unsigned char *up; unsigned int *wp;\r\n"
    "unsigned char k = 2, zero = 0; int n = 3, sj = 1234; long int m = 1; char i, cm = -128;\r\n";

TEST_F(OperatorPrograms, PointersAndArrays) {
  const std::vector<Result> results = {
      {"int *", "$ = arr + 3;", 0x20006},
      {"int *", "$ = &arr[2];", 0x20004},
      {"int *", "ip = arr; $ = ip + n;", 0x20006},
      {"long int *", "lp = big; $ = lp + k;", 0x20016},
      {"long int *", "$ = lp - 1;", 0x2000A},
      {"char *", "cp = text; $ = cp + m;", 0x2000B},
      {"unsigned char", "$ = cp == text;", 1},
      {"unsigned char", "$ = ip < lp;", 1},
      // Indexes held in variables of every width.
      {"int", "$ = arr[k];", 30},
      {"int", "$ = arr[n];", 40},
      {"int", "$ = arr[m];", 20},
      {"int", "$ = arr[k + 1];", 40},
      {"int", "$ = arr[n - k] + arr[0];", 30},
      {"int", "arr[k] = 33; $ = arr[2];", 33},
      {"long int", "big[k] = -5; $ = big[2] + big[m];", 99995},
      {"char", "$ = text[m];", 'B'},
      {"char", "$ = text[k];", 0},
      {"unsigned int", "$ = words[zero_index()];", 65535},
      // Elements keep their own width: two unsigned chars add in 8 bits.
      {"int", "$ = bytes[3] + bytes[3];", 244},
      {"unsigned long int", "$ = words[0] + words[1];", 0},
      // Through pointers, with pointer arithmetic scaled by the element.
      {"int", "ip = arr; $ = *(ip + 4);", 50},
      {"int", "$ = ip[n];", 40},
      {"int", "ip = &arr[1]; ip++; $ = *ip;", 33},
      {"int", "$ = *--ip;", 20},
      {"long int", "lp = big; $ = lp[m];", 100000},
      {"long int", "lp++; $ = *lp;", 100000},
      {"long int", "$ = *(lp - 1);", -1},
      {"char", "$ = *(cp + 1);", 'B'},
      {"unsigned int", "wp = words; $ = *wp + 1;", 0},
      {"long int", "$ = *wp + m;", 65536},
      // The difference of two pointers counts elements.
      {"long int", "ip = &arr[4]; jp = arr; $ = ip - jp;", 4},
      {"long int", "$ = jp - ip;", -4},
      {"long int", "cp = &text[3]; dp = text; $ = cp - dp;", 3},
      {"long int", "lp = &big[2]; kp = big; $ = kp - lp;", -2},
      {"int", "up = bytes; $ = up - dp;", 16},  // unsigned char and char pointers step alike
      // Stores through pointers, at every width.
      {"int", "ip = &n; *ip = 77; $ = n;", 77},
      {"int", "*ip += 3; $ = n;", 80},
      {"unsigned char", "up = bytes; *up = 7; $ = bytes[0];", 7},
      {"unsigned char", "++*up; $ = bytes[0];", 8},
      {"long int", "lp = big; *(lp + 2) = -70000; $ = big[2];", -70000},
      // "*p++" steps the object that p points to; p stays.
      {"unsigned char", "$ = *up++;", 8},
      {"unsigned char", "$ = bytes[0];", 9},
      {"unsigned char *", "$ = up;", 0x2001A},
      {"int", "$ = 0; for (i = 0; i < 5; i++) $ += arr[i];", 10 + 20 + 33 + 40 + 50},
      // Elements and pointers stepped and updated in place.
      {"int", "$ = arr[k]++;", 33},
      {"int", "$ = ++arr[k];", 35},
      {"unsigned char", "$ = bytes[k]--;", 3},
      {"unsigned char", "$ = bytes[k];", 2},
      {"int", "arr[k + m] += 5; arr[k + m] <<= 1; $ = arr[3];", 90},
      {"long int", "lp = &big[1]; *lp -= 100001; $ = big[1];", -1},
      {"unsigned char", "bytes[k] *= 200; $ = bytes[2];", 144},
      {"int *", "ip = arr; $ = ip++;", 0x20000},
      {"int *", "$ = ip;", 0x20002},
      {"long int *", "lp = big; $ = ++lp;", 0x20012},
      {"long int *", "$ = lp--;", 0x20012},
      {"long int *", "$ = lp;", 0x2000E},
      {"int *", "ip = arr; ip += 3; $ = ip;", 0x20006},
      {"long int *", "lp = &big[2]; lp -= k; $ = lp;", 0x2000E},
      {"unsigned char", "jp = arr; $ = (ip > jp) + (ip != jp) * 2 + (ip == &arr[3]) * 4;", 7},
      {"unsigned char", "$ = !ip + !!jp * 2 + (ip && zero) * 4 + (jp || zero) * 8;", 10},
      {"unsigned char", "cp = text; $ = cp[0] == 'A';", 1},
      // Copies between objects reached through pointers, widened or cut to the target.
      {"long int", "ip = arr; *ip = -300; lp = big; *lp = *ip; $ = big[0];", -300},
      {"char", "cp = text; *cp = *lp; $ = text[0];", -44},
      {"int", "*ip = cm; $ = arr[0];", -128},
      {"long int", "up = bytes; *up = 250; *lp = *up; $ = big[0];", 250},
      {"int", "jp = &arr[1]; *jp = 7; *ip = *jp; $ = arr[0];", 7},
      {"long int", "arr[m] = 20; bytes[0] = 9; big[k] = arr[m] * bytes[0]; $ = big[2];", 180},
      {"int", "big[m] = -70000; arr[k] = big[m]; $ = arr[2];", -70000},
      {"char", "*cp += sj; $ = text[0];", -44 + 1234},
      // Addresses of scalars of every width.
      {"long int", "lp = &m; *lp += 4; $ = m;", 5},
      {"unsigned char", "up = &k; ++*up; $ = k;", 3},
      {"char", "cp = &i; *cp = -9; $ = i;", -9},
  };
  check(MEMORY, results, "unsigned char zero_index() { return 0; }\r\n");
}

TEST_F(OperatorPrograms, StringLiterals) {
  const std::vector<Result> results = {
      {"char", "cp = \"XYZ\"; $ = cp[2];", 'Z'},
      {"char", "$ = *cp;", 'X'},
      {"char", "$ = cp[3];", 0},
      {"char", "$ = *(cp + k);", 'Y'},
      // Brackets, separators and comment marks inside a literal are plain bytes.
      {"char", "cp = \"(;)\"; $ = cp[k];", ';'},
      {"char", "cp = \"//*\"; $ = cp[2];", '*'},
      {"unsigned char", "up = \"中\"; $ = up[0];", 0xD6},
      {"unsigned char", "$ = up[k];", 0xD0},
      {"unsigned char", "$ = first(\"AB\") + first(\"CD\");", 'A' + 'C'},
      {"unsigned char", "$ = count(\"hello\");", 5},
  };
  check("char *cp; unsigned char *up; unsigned char k = 1;", results,
        "unsigned char first(unsigned char *s) { return *s; }\r\n"
        "unsigned char count(char *s) { unsigned char n = 0; while (*s) { s = s + 1; n++; } return n; }\r\n");
}

constexpr std::string_view FUNCTIONS =
    "unsigned char add8(unsigned char a, unsigned char b) { return a + b; }\r\n"
    "char neg8(char a) { return -a; }\r\n"
    "int mul16(int a, int b) { return a * b; }\r\n"
    "unsigned int half(unsigned int a) { return a >> 1; }\r\n"
    "long int sum32(long int a, long int b, char c) { return a + b + c; }\r\n"
    "unsigned long int twice32(unsigned long int a) { return a + a; }\r\n"
    "int widen(char c) { return c; }\r\n"
    "char narrow(long int v) { return v; }\r\n"
    "int *nth(int *p, unsigned char i) { return p + i; }\r\n"
    "void bump(int *p, int by) { *p += by; }\r\n"
    "int pick(char c, int a, int b) { if (c) return a; return b; }\r\n"
    "unsigned long int mix(unsigned char a, char b, unsigned int c, int d, unsigned long int e, long int f) {\r\n"
    "  return a + b + c + d + e + f;\r\n"
    "}\r\n"
    "int local_sum(unsigned char count) {\r\n"
    "  int v[4] = {1, 2, 3, 4}; int s = 0; unsigned char j;\r\n"
    "  for (j = 0; j < count; j++) s += v[j];\r\n"
    "  return s;\r\n"
    "}\r\n"
    "int first_of(int p[]) { return p[0]; }\r\n"
    "unsigned char less(int a, int b) { return a < b; }\r\n"
    "int maxi(int a, int b) { return a > b ? a : b; }\r\n"
    "char both(char a, char b) { return a && b; }\r\n";

TEST_F(OperatorPrograms, CallsWithParametersAndResultsOfEveryWidth) {
  const std::vector<Result> results = {
      {"int", "$ = add8(ua, ub);", 44},  // an unsigned char result keeps 8 bits
      {"int", "$ = neg8(ca);", 100},
      {"int", "$ = mul16(sj, 3);", 3702},
      {"int", "$ = mul16(ua, ca);", -20000},
      {"int", "$ = mul16(sj + 1, -2);", -2470},
      {"unsigned int", "$ = half(ui);", 30000},
      {"long int", "$ = sum32(sl, sm, ca);", -1999876644},
      {"long int", "$ = sum32(si, ua, -1);", -29801},
      {"unsigned long int", "$ = twice32(ul);", 3705032704},
      {"int", "$ = widen(ca);", -100},
      {"char", "$ = narrow(0x12345678);", 0x78},
      {"int", "$ = mul16(mul16(2, 3), add8(4, 5));", 54},
      {"int", "$ = mul16(2, 3) + mul16(4, 5) * 2;", 46},
      {"int *", "$ = nth(arr, 2);", 0x20004},
      {"int", "ip = nth(arr, 1); $ = *ip;", 6},
      {"int", "bump(&total, 5); bump(&arr[2], -8); $ = total + arr[2];", 14},
      {"int", "$ = pick(zero, si, sj) + pick(one, 1, 2);", 1235},
      {"unsigned char", "$ = add8(200, 100) == 44;", 1},
      {"unsigned long int", "$ = mix(ua, ca, ui, si, ul, sl);", 2000030100},
      {"int", "$ = local_sum(3);", 6},
      {"int", "$ = first_of(arr) + first_of(&arr[1]);", 11},
      {"int", "$ = mul16(ua + ub, ca + cb);", -2200},
      {"unsigned char", "$ = less(si, sj) + less(sj, si) * 2;", 1},
      {"int", "$ = maxi(si, sj) + maxi(-5, -9);", 1229},
      {"unsigned char", "$ = both(ua, ub) + both(ua, zero) * 2;", 1},
      {"int", "if (add8(ua, ub) > 40) $ = 1; else $ = 2;", 1},
  };
  check(std::string(NUMBERS) + "@0x20000\r\nint arr[3] = {5, 6, 7};\r\n@\r\nint *ip; int total = 10;", results,
        FUNCTIONS);
}

TEST_F(OperatorPrograms, Sizeof) {
  const std::vector<Result> results = {
      {"int", "$ = sizeof(ua);", 1},
      {"int", "$ = sizeof(ca);", 1},
      {"int", "$ = sizeof(ui);", 2},
      {"int", "$ = sizeof(si);", 2},
      {"int", "$ = sizeof(ul);", 4},
      {"int", "$ = sizeof(sl);", 4},
      {"int", "$ = sizeof(ip);", 2},  // a pointer measures 2 though it takes 3 bytes
      {"int", "$ = sizeof(*ip);", 2},
      {"int", "$ = sizeof(*lp);", 4},
      {"int", "$ = sizeof(100);", 1},  // a constant measures by its value
      {"int", "$ = sizeof(200);", 2},
      {"int", "$ = sizeof(65536);", 4},
      {"int", "$ = sizeof(ua + ub);", 1},
      {"int", "$ = sizeof(si < sj);", 1},
      {"int", "$ = sizeof(sj) * 10 + sizeof(sm);", 24},
      {"int", "$ = sizeof(sj++) + sj;", 2 + 1235},  // the operand's code runs
  };
  check(std::string(NUMBERS) + "int *ip; unsigned long int *lp;", results);
}

TEST_F(OperatorPrograms, ConditionalOperatorShapes) {
  const std::vector<Result> results = {
      // Brackets and calls in the else part must not lose the jump over it.
      {"int", "$ = one ? 1 : (sj + 1);", 1},
      {"int", "$ = zero ? 1 : (sj + 1);", 1235},
      {"int", "$ = one ? sj : arr[k];", 1234},
      {"int", "$ = zero ? sj : arr[k];", 7},
      {"int", "$ = one ? 2 : twice(sj);", 2},
      {"int", "$ = zero ? 2 : twice(sj);", 2468},
      {"int", "$ = (zero ? ua : ub) + 1;", 101},  // the group's value is a long temporary
      {"long int", "$ = (one ? ca : sl) * 2;", -200},
      {"int", "$ = 1 ? sj : si;", 1234},
      {"int", "$ = 0 ? sj : si;", -30000},
      {"int", "$ = (ua < ub) ? 1 : 2;", 2},
      {"int", "$ = ua && ub ? 3 : 4;", 3},
      {"int", "$ = zero || zero ? 3 : 4;", 4},
      {"int", "$ = one ? ua && zero : 9;", 0},
      {"int", "$ = one ? (zero ? 1 : 2) : (one ? 3 : 4);", 2},
      {"int", "$ = zero ? 1 : one ? 2 : zero ? 3 : 4;", 2},
      {"int", "$ = t = zero ? sj : si;", -30000},
      {"int", "$ = t;", -30000},
      {"char", "$ = 5; $ *= one ? 3 : 100;", 15},
      {"int *", "$ = zero ? arr : &arr[2];", 0x20004},
      {"int *", "ip = one ? arr : &arr[2]; $ = ip;", 0x20000},
  };
  check(std::string(NUMBERS) + "@0x20000\r\nint arr[3] = {5, 6, 7};\r\n@\r\nint t, *ip; unsigned char k = 2;", results,
        "int twice(int v) { return v + v; }\r\n");
}

TEST_F(OperatorPrograms, ValuesPendingInRegisterA) {
  // 8-bit results live in register A until the next operation needs it.
  const std::vector<Result> results = {
      {"int", "$ = (ua + ub) + (ca + cb);", 0xFA},  // 44 + (-50): unsigned 8 bits
      {"int", "$ = (ca + cb) - (cb - ca);", 56},    // -50 - (-106): 150 does not fit a char
      {"int", "$ = (ua - ub) * (ua / ub);", 200},
      {"int", "$ = (ua + ub) + si;", -29956},
      {"long int", "$ = sm + (ca - cb);", 123456 + 106},
      {"unsigned char", "$ = ua + ub < ca + cb;", 1},  // 44 < 0xCE, unsigned
      {"unsigned char", "$ = (ua > ub) + (ca > cb) + (cs == 3);", 2},
      {"int", "$ = -(ua + ub);", -44},
      {"int", "$ = ~(ca + cb);", 49},
      {"int", "$ = !(ua - ua) + !(ua + ub);", 1},
      {"int", "$ = (ua & ub) | (ca ^ cb) & (ua + 1);", 0xC8},
      {"int", "$ = (ua + ub) << 1;", 88},  // 8 bits throughout
      {"int", "$ = si >> (cs + 1);", -1875},
      // Calls, conditionals, chains and indexes that follow the pending value.
      {"int", "$ = (ua + ub) + add8(1, 2);", 47},
      {"int", "$ = (ca + cb) + neg8(cs);", -53},
      {"int", "$ = add8(1, 2) + (ua + ub);", 47},
      {"long int", "$ = (ua + ub) + (one ? 1 : 2);", 45},
      {"int", "$ = (ua + ub) + (one && zero);", 44},
      {"int", "$ = (ua + ub) + (zero || one);", 45},
      {"int", "$ = (ua + ub) + bytes[k];", 47},
      {"int", "$ = (ua + ub) + bytes[ua - 198];", 47},
      {"int", "$ = (ca + cb) * (one ? 2 : 3);", -100},
      {"int", "$ = (ua + ub, ca + cb);", -50},
      {"int", "$ = (ua + ub) + k++;", 46},
      {"int", "$ = (ua + ub) + sizeof(sl);", 48},
  };
  check(std::string(NUMBERS) + "unsigned char bytes[4] = {1, 2, 3, 4}; unsigned char k = 2;", results,
        "unsigned char add8(unsigned char a, unsigned char b) { return a + b; }\r\n"
        "char neg8(char a) { return -a; }\r\n");
}

TEST_F(OperatorPrograms, ConditionsOfStatements) {
  const std::vector<Result> results = {
      {"int", "if (ul > um) $ = 1; else $ = 2;", 1},
      {"int", "if (sl > sm) $ = 1; else $ = 2;", 2},
      {"int", "if (ca > ub) $ = 1; else $ = 2;", 1},  // unsigned at 8 bits
      {"int", "if (si < ua) $ = 1; else $ = 2;", 1},
      {"int", "if (ui) $ = 1; else $ = 2;", 1},
      {"int", "if (!sl) $ = 1; else $ = 2;", 2},
      {"int", "if (ua + ub == 44) $ = 1; else $ = 2;", 1},
      {"int", "if (zero || ca < 0 && cb > 0) $ = 1; else $ = 2;", 1},
      {"int", "$ = 0; while (ua > $) $ += 60;", 240},
      {"unsigned long int", "$ = 1; while ($ < um) $ <<= 1;", 0x20000},
      {"int", "$ = 0; do $ -= 7; while ($ > si);", -30002},
  };
  check(NUMBERS, results);
}

TEST_F(OperatorPrograms, PrecedenceAssociativityAndAssignmentChains) {
  const std::vector<Result> results = {
      {"long int", "$ = sm / 10 / 3;", 4115},
      {"long int", "$ = sm - 100 - 50;", 123306},
      {"long int", "$ = 100 - sm - 50;", -123406},
      {"int", "$ = sj % 100 * 2;", 68},
      {"int", "$ = 2 * 3 + 4 * 5;", 26},
      {"int", "$ = ((((ua + 1) * 2) - 3) / 4);", 0x8F / 4},  // 201 * 2 keeps 8 bits: 0x92
      {"unsigned char", "$ = (ua > ub) == (ca > cb);", 0},
      {"unsigned char", "$ = !(sl + 2000000000);", 1},
      {"long int", "$ = sl + sm - sl + sm - sm + sl - sl;", 123456},
      {"int", "$ = sj - 34 >> 2 + 1;", 150},
      {"int", "$ = ua + ub * us - cs << 1 & 0xFF | 1;", 227},
      {"unsigned char", "$ = ua > ub == ca > cb;", 0},
      {"unsigned char", "$ = one | zero && zero ^ one;", 1},
      {"int", "$ = -sj + ~zero;", -1234 + 0xFF},  // ~zero stays an unsigned char
      // Each assignment stores at its own target's width, right to left.
      {"unsigned long int", "$ = ca;", 0xFFFFFF9C},
      {"unsigned long int", "$ = si;", 0xFFFF8AD0},
      {"long int", "$ = ui;", 60000},
      {"long int", "$ = ua;", 200},
      {"int", "$ = ua;", 200},
      {"unsigned int", "$ = ca;", 0xFF9C},
      {"char", "$ = ui;", 0x60},
      {"unsigned char", "$ = sl;", 0x00},
      {"int", "$ = ul;", 0x2800},
      {"char", "$ = sm;", 0x40},
      {"long int", "$ = t = tc = 300;", 44},
      {"char", "$ = t = 300;", 44},
      {"int", "$ = t;", 300},
      {"long int", "$ = tl = t = ca;", -100},
      {"int", "t = 10; tl = 5; t += tl -= 2; $ = t;", 13},
      {"long int", "$ = tl;", 3},
  };
  check(std::string(NUMBERS) + "int t; char tc; long int tl;", results);
}

}  // namespace
}  // namespace tarvik::test
