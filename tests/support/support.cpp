#include "support/support.h"

#include <algorithm>
#include <unistd.h>

namespace tarvik::test {

std::string hex(std::string_view bytes) {
  static constexpr char DIGITS[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += DIGITS[c >> 4];
    out += DIGITS[c & 15];
  }
  return out;
}

std::string words_from(std::int32_t first) {
  std::string interleaved;
  for (std::size_t i = first; i < g_rom_high_bytes.size(); ++i) {
    interleaved += g_rom_high_bytes[i];
    interleaved += g_rom_low_bytes.at(i);
  }
  return hex(interleaved);
}

std::string words() { return words_from(0); }

ByteArray padded(std::string_view text) { return ByteArray(text) + ByteArray(SOURCE_PADDING); }

void CompilerTest::SetUp() {
  init_global_tables();
  previous_dir_ = std::filesystem::current_path();
  dir_ = std::filesystem::temp_directory_path() / ("tarvik-test-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);
  std::filesystem::current_path(dir_);
}

void CompilerTest::TearDown() {
  std::filesystem::current_path(previous_dir_);
  std::filesystem::remove_all(dir_);
  free_global_tables();
}

std::vector<std::string> CompilerTest::files_here() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void CompilerTest::put_file(std::string_view name, std::string_view bytes) const {
  ASSERT_TRUE(write_file(name, bytes));
}

}  // namespace tarvik::test
