#include "front/front.h"
#include "support/support.h"

namespace tarvik::test {
namespace {

class NumberLiterals : public CompilerTest {};

TEST_F(NumberLiterals, ReadTheirValueAndStopAfterTheLiteral) {
  const struct {
    const char* text;
    std::uint32_t value;
    const char* left;  // the text from the position afterwards on
  } cases[] = {
      {"0x1F;", 31, ";"},
      {"0XfF", 255, ""},
      {"0x1g", 1, "g"},
      {"0xFFFFFFFF", 0xFFFFFFFF, ""},
      {"0x123456789", 0, "0x123456789"},
      {"0x;", 0, "0x;"},
      {"017", 15, ""},
      {"00", 0, ""},
      {"0128", 10, "8"},
      {"037777777777", 0xFFFFFFFF, ""},
      {"040000000000", 0, "040000000000"},
      {"0777777777777", 0, "0777777777777"},
      {"08", 0, "8"},
      {"0.5", 0, ".5"},
      {"0 ", 0, " "},
      {"12ab", 12, "ab"},
      {"1.5", 1, ".5"},
      {"2147483648", 0x80000000, ""},
      {"4294967295", 0xFFFFFFFF, ""},
      {"4294967296", 0, "4294967296"},
      {"99999999999999999999", 0, "99999999999999999999"},
      {"'a'", 97, ""},
      {"'''", 39, ""},
      {"' '", 32, ""},
      {"'\xB0'", 176, ""},
      {"'ab'", 0, "'ab'"},
      {"'\\n'", 0, "'\\n'"},
      {"-5", 0, "-5"},
  };
  for (const auto& c : cases) {
    g_source = padded(c.text);
    g_scan_pos = 0;
    EXPECT_EQ(static_cast<std::uint32_t>(parse_number_literal()), c.value) << c.text;
    EXPECT_EQ(unscanned(), c.left) << c.text;
  }
}

TEST_F(NumberLiterals, HexDigitValuesComeFromWholeTexts) {
  const struct {
    const char* digit;
    std::int32_t value;
  } cases[] = {{"0", 0}, {"9", 9}, {"a", 10}, {"f", 15}, {"F", 15}, {"g", 0}, {"", 0}, {"10", 0}};
  for (const auto& c : cases) EXPECT_EQ(get_hex_digit_value(c.digit), c.value) << c.digit;
}

}  // namespace
}  // namespace tarvik::test
