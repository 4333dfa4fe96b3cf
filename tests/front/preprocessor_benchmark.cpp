// Merges and expands generated projects of about 1 MB and 2 MB, each with thousands of
// define uses, and fails when the larger one takes more than 2.2 times as long: the
// preprocessor must stay linear in the size of the text.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/app.h"
#include "front/front.h"
#include "support/linearity.h"

namespace {

using tarvik::ByteArray;

constexpr int HEADERS = 50;
constexpr int DEFINES_PER_HEADER = 20;

std::filesystem::path project_dir(std::int64_t bytes) {
  return std::filesystem::temp_directory_path() /
         ("tarvik-bench-" + std::to_string(::getpid()) + "-" + std::to_string(bytes));
}

// Setup files are written by path; the compiler's own file access keeps to its project folder.
void write_into(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Writes main.c and the headers it includes, about `bytes` in all, into their own folder.
void write_project(std::int64_t bytes) {
  const auto dir = project_dir(bytes);
  std::filesystem::create_directories(dir);
  const auto part = static_cast<std::size_t>(bytes / (HEADERS + 1));
  ByteArray main_c;
  for (int h = 0; h < HEADERS; ++h) {
    const std::string prefix = "N" + std::to_string(h) + "_";
    main_c += "#include <h" + std::to_string(h) + ".h>\r\n";
    ByteArray header;
    for (int d = 0; d < DEFINES_PER_HEADER; ++d)
      header += "#define " + prefix + std::to_string(d) + " 0x" + std::to_string(d + 10) + "\r\n";
    for (int line = 0; header.size() < part; ++line)
      header += "int v" + std::to_string(h) + "_" + std::to_string(line) + " = " + prefix +
                std::to_string(line % DEFINES_PER_HEADER) + "; // a comment with a word N0_0 in it\r\n";
    write_into(dir / ("h" + std::to_string(h) + ".h"), header);
  }
  for (int line = 0; main_c.size() < part; ++line)
    main_c += "char m" + std::to_string(line) + "[N" + std::to_string(line % HEADERS) + "_1];\r\n";
  write_into(dir / "main.c", main_c);
}

void merge_and_expand(benchmark::State& state) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(project_dir(state.range(0)));
  const ByteArray main_c = tarvik::read_file("main.c");
  for (auto _ : state) {
    tarvik::g_source = main_c + ByteArray(tarvik::SOURCE_PADDING);
    tarvik::merge_include_files();
    tarvik::expand_defines();
    benchmark::DoNotOptimize(tarvik::g_source.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
  std::filesystem::current_path(previous);
}

}  // namespace

int main(int argc, char** argv) {
  tarvik::init_global_tables();
  const std::int64_t bytes = 1 << 20;
  for (const std::int64_t size : {bytes, 2 * bytes}) write_project(size);
  const int status = tarvik::test::check_linear(argc, argv, "merge_and_expand", merge_and_expand, bytes, "project");
  for (const std::int64_t size : {bytes, 2 * bytes}) std::filesystem::remove_all(project_dir(size));
  return status;
}
