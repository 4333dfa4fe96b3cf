// Compiles generated projects of about 1 MB and 2 MB through the whole driver, from saving
// the editor to the ROM image files, and fails when the larger one takes more than 2.2 times
// as long: no step of a compile may grow with the size of the project it sits in.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/app.h"
#include "support/fake_window.h"
#include "support/linearity.h"

namespace {

using tarvik::ByteArray;

// Functions in a group of four call at most the ones before them in their group, and the
// first calls a helper: call chains stay short, so RAM does not pile up with the size.
constexpr int GROUP = 4;
// One global per this many functions, so that the globals grow with the project too.
constexpr int FUNCTIONS_PER_GLOBAL = 4;

constexpr std::int64_t BYTES = 1 << 20;

std::filesystem::path project_dir(std::int64_t bytes) {
  return std::filesystem::temp_directory_path() /
         ("tarvik-compile-bench-" + std::to_string(::getpid()) + "-" + std::to_string(bytes));
}

// Setup files are written by path; the compiler's own file access keeps to its project folder.
void write_into(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

void remove_projects() {
  for (const std::int64_t size : {BYTES, 2 * BYTES}) std::filesystem::remove_all(project_dir(size));
}

const char* const HEADER =
    "#define LIMIT 12\r\n"
    "#define STEP 3\r\n"
    "long int total = 0;\r\n"
    "unsigned char table[8] = {3, 1, 4, 1, 5, 9, 2, 6};\r\n";

const char* const HELPERS =
    "// helpers that every group starts from\r\n"
    "unsigned char length(unsigned char *s) { unsigned char n; n = 0; while (*s) { n++; s++; } return n; }\r\n"
    "int twice(int x) { return x + x; }\r\n"
    "long int scaled(long int v, int by) { return v * by + total; }\r\n";

std::string decimal(int value) { return std::to_string(value); }

// Function i: locals, if/else, while and for loops, a goto forward, calls and a string.
std::string function_text(int i) {
  const std::string g = "g" + decimal(i / FUNCTIONS_PER_GLOBAL);
  std::string call;
  switch (i % GROUP) {
    case 0: call = "twice(s) + length(\"group " + decimal(i) + "\")"; break;
    case 1: call = "f" + decimal(i - 1) + "(s, b)"; break;
    case 2: call = "f" + decimal(i - 1) + "(a, k) - f" + decimal(i - 2) + "(s, 2)"; break;
    default: call = "f" + decimal(i - 1) + "(s - a, b + 1)"; break;
  }
  return "// function " + decimal(i) + "\r\n"
         "int f" + decimal(i) + "(int a, char b) {\r\n"
         "  int s;\r\n"
         "  char k;\r\n"
         "  long int t;\r\n"
         "  unsigned char *p;\r\n"
         "  s = a * STEP + b - " + decimal(i % 97) + ";\r\n"
         "  t = scaled(s, " + decimal(i % 13 + 1) + ");\r\n"
         "  p = \"text of f" + decimal(i) + "\";\r\n"
         "  if (s > 100 && b != 0) s = s - " + call + ";\r\n"
         "  else { s = s + table[b & 7]; t = t + s * 2; }\r\n"
         "  k = 0;\r\n"
         "  while (k < LIMIT) { s = s + k % 3; k++; }\r\n"
         "  for (k = 0; k < b; k++) {\r\n"
         "    t = t + (k << 1) + *p;\r\n"
         "    if (t > 50000) goto done;\r\n"
         "  }\r\n"
         "  " + g + " = " + g + " + s;\r\n"
         "  total = total + t / 4;\r\n"
         "done:\r\n"
         "  return s + length(p);\r\n"
         "}\r\n";
}

// Writes main.c, about `bytes` long, and the header it includes into their own folder.
void write_project(std::int64_t bytes) {
  const auto dir = project_dir(bytes);
  std::filesystem::create_directories(dir);
  write_into(dir / "lib.h", HEADER);

  // The functions are written first, so that the globals ahead of them can match their count.
  std::string functions;
  int count = 0;
  while (static_cast<std::int64_t>(functions.size()) < bytes) functions += function_text(count++);
  ByteArray main_c = "#include <lib.h>\r\n#define FIRST 7\r\n";
  for (int k = 0; k * FUNCTIONS_PER_GLOBAL < count; ++k) main_c += "int g" + decimal(k) + " = FIRST;\r\n";
  main_c += HELPERS + functions + "void main() {\r\n  int r;\r\n  r = f0(1, 2);\r\n  total = total + r;\r\n}\r\n";
  write_into(dir / "main.c", main_c);
}

void compile_whole_project(benchmark::State& state) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(project_dir(state.range(0)));
  tarvik::test::FakeWindow window;
  window.items = {"main.c"};
  window.current = 0;
  window.editor = tarvik::read_file("main.c");
  for (auto _ : state) tarvik::compile_project(window);
  // A compile that stops early would look fast: only a finished one counts.
  const std::string end = std::string(tarvik::STATUS_COMPILE_END) + std::string(tarvik::LINE_END);
  if (const std::string& log = window.log_text(); !log.ends_with(end)) {
    const std::string tail = log.substr(log.size() > 2000 ? log.size() - 2000 : 0);
    std::fprintf(stderr, "the compile did not finish:\n%s\n", tail.c_str());
    std::filesystem::current_path(previous);
    remove_projects();
    std::abort();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
  std::filesystem::current_path(previous);
}

}  // namespace

int main(int argc, char** argv) {
  tarvik::init_global_tables();
  for (const std::int64_t size : {BYTES, 2 * BYTES}) write_project(size);
  const int status =
      tarvik::test::check_linear(argc, argv, "compile_whole_project", compile_whole_project, BYTES, "project", 20);
  remove_projects();
  return status;
}
