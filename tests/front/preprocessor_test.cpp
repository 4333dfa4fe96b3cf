#include <map>

#include "front/front.h"
#include "support/support.h"

namespace tarvik::test {
namespace {

class Preprocessor : public CompilerTest {
 protected:
  // The merged text of main.c, with the other files of the project on disk.
  ByteArray merged(const char* main_c, const std::map<std::string, std::string>& files = {}) {
    for (const auto& [name, text] : files) put_file(name, text);
    g_source = padded(main_c);
    merge_include_files();
    return g_source;
  }
  ByteArray expanded(const char* text) {
    g_source = padded(text);
    expand_defines();
    return g_source;
  }
  static std::string end_of(const std::string& text) { return text + std::string(SOURCE_PADDING) + "\r\n"; }
};

TEST_F(Preprocessor, IncludedFilesStandBeforeTheirIncluderAndHeadDefinesInFront) {
  const ByteArray text = merged("#define A 1\r\n#include <x.h>\r\n#include <y.h>\r\nint m;",
                                {{"x.h", "#define B 2\r\nint x;"}, {"y.h", "int y;"}});
  EXPECT_EQ(text, "#define A 1 #define B 2 " + end_of("           \r\nint x;") + end_of("int y;") +
                      end_of("           \r\n\r\n\r\nint m;"));
}

TEST_F(Preprocessor, MergeCases) {
  const struct {
    const char* main_c;
    std::string merged;
  } cases[] = {
      {"int a;", end_of("int a;")},
      {"#include <missing.h>\r\nint a;", end_of("") + end_of("\r\nint a;")},
      {"# include < x.h > /* c */ int a;", end_of("int x;") + end_of(" /* c */ int a;")},
      {"#include \"x.h\"\r\nint a;", end_of("#include \"x.h\"\r\nint a;")},
      {"#include <d/x.h>\r\nint a;", end_of("#include <d/x.h>\r\nint a;")},
      {"int a;\r\n#include <x.h>", end_of("int a;\r\n#include <x.h>")},
      {"#define M (10)\r\n#include <x.h>", end_of("#define M (10)\r\n#include <x.h>")},
      {"#define N 10 // ten\r\nint a;", "#define N 10 " + end_of(std::string(12, ' ') + " // ten\r\nint a;")},
      {"#define N /* c\r\n */ 5\r\nint a;", "#define N /* c\r\n */ 5 " + end_of(std::string(21, ' ') + "\r\nint a;")},
      {"#define DEBUG\r\nint a;", end_of("#define DEBUG\r\nint a;")},
      {"#define DEBUG // on\r\nint a;", end_of("#define DEBUG // on\r\nint a;")},
      {"#define\r\nN 1\r\nint a;", end_of("#define\r\nN 1\r\nint a;")},
      {"#pragma x\r\n#include <x.h>", end_of("#pragma x\r\n#include <x.h>")},
  };
  for (const auto& c : cases) EXPECT_EQ(merged(c.main_c, {{"x.h", "int x;"}}), c.merged) << c.main_c;
}

TEST_F(Preprocessor, AFileIncludedTwiceStandsTwice) {
  const ByteArray text = merged("#include <x.h>\r\n#include <y.h>\r\n", {{"x.h", "int x;"}, {"y.h", "#include <x.h>\r\n"}});
  EXPECT_EQ(text, end_of("int x;") + end_of("int x;") + end_of("\r\n") + end_of("\r\n\r\n"));
}

TEST_F(Preprocessor, AnIncludeCycleIsMergedAsNothing) {
  const ByteArray text = merged("#include <a.h>\r\nint m;",
                                {{"a.h", "#include <main.c>\r\n#include <a.h>\r\n#include <b.h>\r\nint a;"}, {"b.h", "int b;"}});
  EXPECT_EQ(text, end_of("int b;") + end_of("\r\n\r\n\r\nint a;") + end_of("\r\nint m;"));
}

TEST_F(Preprocessor, ADefineWithNoValueAtTheEndOfAHeaderLeavesTheNextFileAlone) {
  for (const char* header : {"#define DEBUG", "#define DEBUG\r\n"}) {
    const ByteArray text = merged("#include <a.h>\r\nint a;", {{"a.h", header}});
    EXPECT_EQ(text, end_of(header) + end_of("\r\nint a;")) << header;
  }
}

// A block comment that a header leaves open ends with the header; main.c's runs on.
TEST_F(Preprocessor, ABlockCommentEndsWithItsFile) {
  const ByteArray text = merged("#include <a.h>\r\n#define N 2 /* two */\r\nint r = N;\r\n/* open",
                                {{"a.h", "#define N 9\r\n/* open"}});
  EXPECT_EQ(text, "#define N 9 " + end_of("           \r\n/* open") + "*/#define N 2 " +
                      end_of("\r\n            /* two */\r\nint r = N;\r\n/* open"));
  EXPECT_EQ(merged("#include <b.h>\r\nint a;", {{"b.h", "char s[] = \"/*\";"}}),
            end_of("char s[] = \"/*\";") + end_of("\r\nint a;"));
}

TEST_F(Preprocessor, DefinesReplaceWholeWordsFromTheirPlaceOn) {
  const struct {
    const char* text;
    const char* expanded;
  } cases[] = {
      {"#define N 10\r\nchar a[N];", "\r\nchar a[10];"},
      {"#define N 10\r\nint N1, _N;", "\r\nint N1, _N;"},
      {"#define A 1\r\nx=A;\r\n#define A 2\r\ny=A;", "\r\nx=1;\r\n\r\ny=2;"},
      {"x=A;\r\n#define A 1\r\n", "x=A;\r\n\r\n"},
      {"#define A B\r\n#define B 7\r\nx=A;", "\r\n\r\nx=B;"},
      {"#define LED 1\r\n/* LED */ // LED\r\nLED", "\r\n/* LED */ // LED\r\n1"},
      {"#define MAX (10)\r\nMAX", "#define MAX (10)\r\nMAX"},
      // literals and numbers keep their text
      {"#define x1F 5\r\ny=0x1F;", "\r\ny=0x1F;"},
      {"#define ab 5\r\ny=12ab+ab;", "\r\ny=12ab+5;"},
      {"#define c 9\r\nx='c'+c;", "\r\nx='c'+9;"},
      {"#define ON 1\r\np=\"ON // ON\"+ON;", "\r\np=\"ON // ON\"+1;"},
      {"#define ON 1\r\np=\"ON", "\r\np=\"ON"},
      // a define reads its name and value on its own line
      {"#define DEBUG\r\nint a;", "#define DEBUG\r\nint a;"},
      {"#define DEBUG\rint a;", "#define DEBUG\rint a;"},
      {"#define DEBUG // on\r\nint a;", "#define DEBUG // on\r\nint a;"},
      {"#define DEBUG /* on */\r\n\r\nint a;", "#define DEBUG /* on */\r\n\r\nint a;"},
      {"#define\r\nN 1\r\nN", "#define\r\nN 1\r\nN"},
      {"#define DEBUG", "#define DEBUG"},
      {"#define N /* count */ 5\r\nN", "\r\n5"},
      {"#define N /* count\r\n */ 5\r\nN", "\r\n5"},
      {"#define \xB5\xC6 3\r\nx=\xB5\xC6;", "\r\nx=3;"},
      {"#pragma N\r\n#define N 4\r\n#include <N>", "#pragma N\r\n\r\n#include <4>"},
      {"int a;", "int a;"},
  };
  for (const auto& c : cases) EXPECT_EQ(expanded(c.text), padded(c.expanded)) << c.text;
}

}  // namespace
}  // namespace tarvik::test
