#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "fuzz/fuzz_project.h"

namespace tarvik::fuzz {
namespace {

namespace fs = std::filesystem;

// The files of a folder of kept inputs, sorted; dot files are the folder's own.
std::vector<fs::path> inputs_in(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file() && !entry.path().filename().string().starts_with(".")) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

void replay(const fs::path& folder) {
  for (const fs::path& file : inputs_in(folder)) {
    SCOPED_TRACE(file.filename().string());
    EXPECT_EQ(compile_and_check(read_file(file.string())), "");
  }
}

TEST(FuzzInputs, AnInputSplitsIntoMainAndTheIncludedFileAtTheFirstSeparator) {
  const struct {
    std::string input, main_c, included;
    bool has_included;
  } cases[] = {
      {"void main(){}", "void main(){}", "", false},
      {"#include <inc.h>\r\nvoid main(){}\n%%%%\nint x;", "#include <inc.h>\r\nvoid main(){}", "int x;", true},
      {"\n%%%%\n", "", "", true},
      {"a\n%%%%\nb\n%%%%\nc", "a", "b\n%%%%\nc", true},
      {"a%%%%\nb", "a%%%%\nb", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    const Project project = split_project(c.input);
    EXPECT_EQ(project.main_c, c.main_c);
    EXPECT_EQ(project.included, c.included);
    EXPECT_EQ(project.has_included, c.has_included);
  }
}

TEST(FuzzInputs, ACompileThatEndsWellOrFailsPassesTheChecks) {
  for (const char* input : {"void main(){}", "#include <inc.h>\r\nvoid main(){ x = 2; }\n%%%%\nint x;", "void main(",
                            "", "\n%%%%\n"}) {
    SCOPED_TRACE(input);
    EXPECT_EQ(compile_and_check(input), "");
  }
}

TEST(FuzzInputs, EveryInputThatOnceFailedCompilesToOneFinalLine) { replay(fs::path(TARVIK_FUZZ_DIR) / "regressions"); }

TEST(FuzzInputs, EverySeedCompilesToOneFinalLine) {
  const fs::path corpus = fs::path(TARVIK_FUZZ_DIR) / "corpus";
  ASSERT_FALSE(inputs_in(corpus).empty()) << corpus;
  replay(corpus);
}

}  // namespace
}  // namespace tarvik::fuzz
