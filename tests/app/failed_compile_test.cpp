#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "front/front.h"
#include "stmt/stmt.h"
#include "support/program_support.h"

namespace tarvik::test {
namespace {

// Two programs of different images; both reach only the first chip pair.
constexpr const char* FIRST_PROGRAM = "void main(){}";
constexpr const char* SECOND_PROGRAM = "char c; void main(){ c = 5; }";

// What a compile leaves in the project folder: every file but the source, with its bytes.
class ImageFiles : public ProgramTest {
 protected:
  std::map<std::string, std::string> rom_set() const {
    std::map<std::string, std::string> files;
    for (const auto& name : files_here())
      if (name != "main.c") files[name] = read_file(name);
    return files;
  }
  // The five files of an image that reaches only the first chip pair, from the image in memory.
  static std::map<std::string, std::string> image_set() {
    return {{"ROM.bin", g_rom_low_bytes + g_rom_high_bytes},
            {"ROM_H.bin", g_rom_high_bytes},
            {"ROM_L.bin", g_rom_low_bytes},
            {"ROM_U4.bin", g_rom_high_bytes},
            {"ROM_U8.bin", g_rom_low_bytes}};
  }
};

TEST_F(ImageFiles, ASecondCompileReplacesTheWholeSet) {
  compile(FIRST_PROGRAM);
  ASSERT_TRUE(compiled());
  const auto first = rom_set();
  ASSERT_EQ(first, image_set());

  compile(SECOND_PROGRAM);
  ASSERT_TRUE(compiled());
  EXPECT_EQ(rom_set(), image_set());
  EXPECT_NE(rom_set().at("ROM_H.bin"), first.at("ROM_H.bin"));
}

TEST_F(ImageFiles, ASetThatCannotBeReplacedStaysAsItWas) {
  compile(FIRST_PROGRAM);
  ASSERT_TRUE(compiled());
  auto earlier = rom_set();
  // A folder in place of the operand plane, as a person might leave it.
  std::filesystem::remove("ROM_L.bin");
  std::filesystem::create_directory("ROM_L.bin");
  earlier["ROM_L.bin"] = "";

  const std::string log = compile(SECOND_PROGRAM);
  EXPECT_TRUE(log.ends_with("总占65561字节\r\n" + Text(MSG_WRITE_FAILED) + "ROM_L.bin\r\n")) << log;
  EXPECT_EQ(rom_set(), earlier);  // no temporary is left beside them either
  EXPECT_TRUE(std::filesystem::is_directory("ROM_L.bin"));
}

TEST_F(ImageFiles, ACompileThatFailsInTheSourceWritesNoImageFile) {
  const struct {
    const char* main_c;
    std::string log;
  } cases[] = {
      {"long x; void main(){}", Text(MSG_AFTER_LONG) + "\r\n"},
      {"void main(){ break; }", "正在编译main函数...\r\n" + Text(MSG_BREAK) + "\r\n"},
      {"void f(){} void main(){ f(); break; }",
       "正在编译f函数...OK\r\n正在编译main函数...\r\n" + Text(MSG_BREAK) + "\r\n"},
      {"void main(){ g(); }", Text(MSG_UNDEFINED_FUNCTION_CALLED) + "\r\n"},
  };
  // First in an empty folder, then over the set of an earlier compile.
  for (const bool earlier_set : {false, true}) {
    if (earlier_set) {
      compile(FIRST_PROGRAM);
      ASSERT_TRUE(compiled());
    }
    const auto earlier = rom_set();
    for (const auto& c : cases) {
      SCOPED_TRACE(c.main_c);
      EXPECT_EQ(compile(c.main_c), c.log);
      EXPECT_EQ(rom_set(), earlier);
    }
  }
}

}  // namespace
}  // namespace tarvik::test

namespace tarvik::test {
namespace {

// A compile keeps to the project folder: an include line that names a file above it or at an
// absolute place reads as empty, and a window item so named is never written.
TEST_F(ImageFiles, NamesThatLeaveTheProjectFolderAreNoProjectFiles) {
  const std::filesystem::path outside = std::filesystem::current_path().parent_path() / "tarvik-outside.h";
  write_file(outside.string(), "");  // refused: the name is absolute
  ASSERT_FALSE(std::filesystem::exists(outside));
  {
    std::FILE* file = std::fopen(outside.string().c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("int taken = 1;\r\n", file);
    std::fclose(file);
  }
  for (const std::string& name : {std::string("../tarvik-outside.h"), outside.string(), std::string("sub/../../tarvik-outside.h")}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(read_file(name), "");
    EXPECT_FALSE(write_file(name, "x"));
    // The included text is not taken in: the program does not compile.
    compile("#include <" + name + ">\r\nvoid main(){ taken = 2; }");
    EXPECT_FALSE(compiled());
  }
  std::string kept;
  {
    std::FILE* file = std::fopen(outside.string().c_str(), "rb");
    char buffer[64] = {};
    kept = std::string(buffer, std::fread(buffer, 1, sizeof buffer - 1, file));
    std::fclose(file);
  }
  EXPECT_EQ(kept, "int taken = 1;\r\n");
  std::filesystem::remove(outside);
}

}  // namespace
}  // namespace tarvik::test
