#include "support/support.h"

namespace tarvik::test {
namespace {

class BlankSkipper : public CompilerTest {};

TEST_F(BlankSkipper, StopsAtTheNextTokenOrAtTheEndOfTheText) {
  const struct {
    const char* text;
    std::int32_t start;
    const char* stops_at;  // the text from the stop on, the padding left out; "" for the end
  } cases[] = {
      {"", 0, ""},
      {" \t\r\n  ", 0, ""},
      {"// note\r\nint a;", 0, "int a;"},
      {"// note\r\r\nint a;\r\nint b;", 0, "int a;\r\nint b;"},
      {"// note\nint a;", 0, "int a;"},
      {"// a\n// b\n\tint a;", 0, "int a;"},
      {"// note\rint a;", 0, "int a;"},
      {"// note\r\r\n\rint a;", 0, "int a;"},
      {"/* a /* b */  c", 0, "c"},
      {"/* never closed", 0, ""},
      {"/x", 0, "/x"},
      {"/", 0, "/"},
      {"\x0C" "a", 0, "\x0C" "a"},
      {"x  /**/ // y\r\n\t*", 1, "*"},
  };
  for (const auto& c : cases) {
    g_source = padded(c.text);
    g_scan_pos = c.start;
    skip_blanks_and_comments();
    EXPECT_EQ(unscanned(), c.stops_at)
        << "text: " << c.text;
  }
}

// What a directive reads stands on its line; a block comment may still span lines.
TEST_F(BlankSkipper, OnTheLineStopsAtALineEndOutsideABlockComment) {
  const struct {
    const char* text;
    const char* stops_at;
  } cases[] = {
      {" \t x", "x"},
      {"  \r\nx", "\r\nx"},
      {" \rx", "\rx"},
      {" // on\r\nx", "\r\nx"},
      {" // on\nx", "\nx"},
      {" /* a\r\n b */ x", "x"},
      {" /* never closed", ""},
  };
  for (const auto& c : cases) {
    g_source = padded(c.text);
    g_scan_pos = 0;
    skip_blanks_and_comments_on_line();
    EXPECT_EQ(unscanned(), c.stops_at) << "text: " << c.text;
  }
}

TEST_F(BlankSkipper, TellsWhetherTheTextEndedInsideABlockComment) {
  const struct {
    const char* text;
    bool open;
  } cases[] = {
      {"/* closed */", false}, {"/* open", true}, {"// line /* ", false}, {"/* a */ /* b", true}, {"x /* b", false},
  };
  for (const auto& c : cases) {
    g_source = padded(c.text);
    g_scan_pos = 0;
    EXPECT_EQ(skip_blanks_and_comments_ends_open(), c.open) << "text: " << c.text;
  }
}

TEST_F(BlankSkipper, ANulByteStopsIt) {
  g_source = padded(std::string("  \0a", 4));
  skip_blanks_and_comments();
  EXPECT_EQ(g_scan_pos, 2);
}

TEST_F(BlankSkipper, LeavesAPositionAtOrBeyondTheEndAlone) {
  g_source = padded("int");
  for (std::int32_t pos : {3, 5, 19, 40}) {
    g_scan_pos = pos;
    skip_blanks_and_comments();
    EXPECT_EQ(g_scan_pos, pos);
  }
}

TEST_F(BlankSkipper, AtTheEndTheByteIsASpace) {
  g_source = padded("  // only a comment");
  skip_blanks_and_comments();
  EXPECT_EQ(g_scan_pos, text_end_position());
  EXPECT_EQ(source_byte(g_scan_pos), ' ');
}

}  // namespace
}  // namespace tarvik::test
