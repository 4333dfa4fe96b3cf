#include "support/support.h"

#include <algorithm>
#include <cstdio>
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

std::string words_spelled_from(std::int32_t first, const std::function<void()>& emitters) {
  const ByteArray high = g_rom_high_bytes, low = g_rom_low_bytes;
  const std::int32_t count = g_rom_word_count;
  g_rom_high_bytes.resize(first);
  g_rom_low_bytes.resize(first);
  g_rom_word_count = first;
  emitters();
  std::string words = words_from(first);
  g_rom_high_bytes = high, g_rom_low_bytes = low, g_rom_word_count = count;
  return words;
}

std::string words() { return words_from(0); }

std::string stores_from(std::int32_t first) {
  const auto op = [](std::size_t i) { return static_cast<std::uint8_t>(g_rom_high_bytes[i]); };
  const auto operand = [](std::size_t i) { return static_cast<unsigned>(static_cast<std::uint8_t>(g_rom_low_bytes[i])); };
  std::string out;
  char pair[16];
  for (std::size_t i = first; i < g_rom_high_bytes.size(); i += 5) {
    if (!out.empty()) out += ' ';
    if (i + 5 > g_rom_high_bytes.size() || op(i) != 0x35 || op(i + 1) != 0x34 || op(i + 2) != 0x33 || op(i + 3) != 0xFF ||
        op(i + 4) != 0x37)
      return out + "?";
    std::snprintf(pair, sizeof pair, "%X=%02X", operand(i) << 16 | operand(i + 1) << 8 | operand(i + 2), operand(i + 4));
    out += pair;
  }
  return out;
}

std::string table_entries(RecordTable<ByteArray>& names, RecordTable<Text>& types, RecordTable<std::int32_t>& addresses,
                          std::int32_t first, std::int32_t last) {
  std::string out;
  char address[16];
  for (std::int32_t k = first; k <= last; ++k) {
    std::snprintf(address, sizeof address, "%X", static_cast<unsigned>(addresses[k]));
    out += (out.empty() ? "" : " ") + names[k] + ":" + types[k] + "@" + address;
  }
  return out;
}

std::string unscanned() {
  const std::int32_t end = text_end_position();
  return g_scan_pos < 0 || g_scan_pos >= end ? "" : g_source.substr(g_scan_pos, end - g_scan_pos);
}

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
