#include "app/gbk.h"
#include "support/support.h"

namespace tarvik::test {
namespace {

// CR LF, a lone LF, a lone CR, a NUL, a byte that starts no GBK character (0x80), a lead byte
// without a trail (0x81 then "1"), two GBK characters, and a lead byte at the very end.
const ByteArray AWKWARD("a\r\nb\nc\rd\0e\x80" "f\x81" "1\xD6\xD0\xCE\xC4\xFE", 19);

TEST(EditorText, ShowsLineEndsAsBreaksAndOddBytesAsMarks) {
  EditorText text;
  text.load(AWKWARD);
  EXPECT_EQ(text.shown(), u"a\nb\nc\nd\u2400e\uFFFDf\uFFFD1中文\uFFFD");
  EXPECT_EQ(text.bytes(), AWKWARD);
}

TEST(EditorText, EditsChangeOnlyTheBytesThatWereEdited) {
  const struct {
    std::size_t position;  // where the edit starts in the shown text
    std::size_t removed;
    std::u16string added;
    ByteArray saved;
  } cases[] = {
      {1, 0, u"中", ByteArray("a\xD6\xD0\r\nb\nc\rd\0e\x80" "f\x81" "1\xD6\xD0\xCE\xC4\xFE", 21)},
      {3, 1, u"\n\n", ByteArray("a\r\nb\r\n\nc\rd\0e\x80" "f\x81" "1\xD6\xD0\xCE\xC4\xFE", 21)},
      {9, 3, u"", ByteArray("a\r\nb\nc\rd\0e" "1\xD6\xD0\xCE\xC4\xFE", 16)},
      {15, 0, u"\U0001F600!", ByteArray("a\r\nb\nc\rd\0e\x80" "f\x81" "1\xD6\xD0\xCE\xC4?!\xFE", 21)},
  };
  for (const auto& c : cases) {
    EditorText text;
    text.load(AWKWARD);
    std::u16string now = text.shown();
    now.replace(c.position, c.removed, c.added);
    text.update(now, c.position);
    EXPECT_EQ(hex(text.bytes()), hex(c.saved)) << "edit at " << c.position;
  }
}

TEST(EditorText, ATypedBreakNextToAnOldOneKeepsTheOldOnesBytes) {
  EditorText text;
  text.load("a\nb");
  text.update(u"a\n\nb", 1);  // Enter at the end of the first line
  EXPECT_EQ(text.bytes(), "a\r\n\nb");
  text.load("a\nb");
  text.update(u"a\n\nb", 2);  // Enter at the start of the second line
  EXPECT_EQ(text.bytes(), "a\n\r\nb");
}

TEST(GbkFileNames, BecomeUtf8WithOddBytesKept) {
  EXPECT_EQ(gbk_to_file_name("main.c"), "main.c");
  EXPECT_EQ(gbk_to_file_name("中文.h"), "\xE4\xB8\xAD\xE6\x96\x87.h");
  EXPECT_EQ(gbk_to_file_name("a\x80.h"), "a\x80.h");
}

TEST(WindowLayout, FillsTheClientAreaOfTheDesignedWindow) {
  const auto places = control_layout(826, 601);
  EXPECT_EQ(places[0].rect, (Rect{2, 16, 128, 434}));
  EXPECT_EQ(places[1].rect, (Rect{130, 16, 680, 451}));
  EXPECT_EQ(places[2].rect, (Rect{0, 466, 810, 96}));
}

}  // namespace
}  // namespace tarvik::test
