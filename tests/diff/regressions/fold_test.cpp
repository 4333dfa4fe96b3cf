// Programs on which the core once disagreed with a host-compiled twin, kept as fixed cases.
#include "support/program_support.h"

namespace tarvik::test {
namespace {

class DiffRegressions : public ProgramTest {};

// Two constants fold to the low 32 bits of their exact product, as the generated multiply of
// the same values gives: no rounding through a double past 2^53. Seed 10736 of the random
// programs (g5 = -1330584919 * 326512430) once expected the rounded product.
TEST_F(DiffRegressions, ConstantProductsKeepTheLow32BitsOfTheExactProduct) {
  compile_and_run(
      "long int r0 = 0, r1 = 0, r2 = 0;\r\n"
      "void main() {\r\n"
      "  r0 = -1330584919 * 326512430;\r\n"
      "  r1 = 2147483647 * 2147483647;\r\n"
      "  r2 = 65536 * 65536;\r\n"
      "}\r\n");
  EXPECT_EQ(ram(FIRST_GLOBAL, 4), 0x3E4BC15Eu);  // through a double it would be 0x3E4BC140
  EXPECT_EQ(ram(FIRST_GLOBAL + 4, 4), 1u);         // through a double it would be 0
  EXPECT_EQ(ram(FIRST_GLOBAL + 8, 4), 0u);
}

}  // namespace
}  // namespace tarvik::test
