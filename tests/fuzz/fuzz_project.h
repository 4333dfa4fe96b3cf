// A fuzz input as a project, and one whole compile of it with the checks every compile must
// pass. Shared by the fuzz driver and by the test that replays the kept inputs.
#pragma once

#include <string>
#include <string_view>

namespace tarvik::fuzz {

// An input is main.c, then optionally this separator and the one file main.c may include.
inline constexpr std::string_view FILE_SEPARATOR = "\n%%%%\n";
inline constexpr std::string_view INCLUDED_FILE = "inc.h";

struct Project {
  std::string main_c;
  std::string included;
  bool has_included = false;
};

// Splits at the first separator; the rest, further separators and all, is the included file.
Project split_project(std::string_view input);

// Compiles the project with fresh state in a fresh temporary folder that holds an earlier
// image set, as the compile button does with main.c selected; returns what went wrong, or an
// empty text when the compile ended well: no exception, the log ends in exactly one non-empty
// line with its "\r\n", the image files were written when that line is "编译结束" and left
// byte for byte otherwise, and nothing was written outside the folder.
std::string compile_and_check(std::string_view input);

}  // namespace tarvik::fuzz
