#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "isa/isa.h"

namespace tarvik {

namespace {

// The chip files of the blocks of ROM_CHIP_WORDS words: opcode file, then operand file.
constexpr std::array<std::array<std::string_view, 2>, 4> CHIP_FILES = {{
    {"ROM_U4.bin", "ROM_U8.bin"},
    {"ROM_U3.bin", "ROM_U7.bin"},
    {"ROM_U2.bin", "ROM_U6.bin"},
    {"ROM_U1.bin", "ROM_U5.bin"},
}};

std::string_view plane_part(const ByteArray& plane, std::int32_t start, std::int32_t count) {
  return std::string_view(plane).substr(std::min<std::size_t>(start, plane.size()), count);
}

// Writes the image of n words into the chip files its words reach, then the whole-image
// files. Stops at the first file that cannot be written and returns its name.
Text write_rom_files(std::int32_t n) {
  std::vector<std::pair<std::string_view, std::string_view>> files;
  for (std::int32_t block = 0; block < static_cast<std::int32_t>(CHIP_FILES.size()); ++block) {
    const std::int32_t start = block * ROM_CHIP_WORDS;
    const std::int32_t count = std::min(n - start, ROM_CHIP_WORDS);
    files.emplace_back(CHIP_FILES[block][0], plane_part(g_rom_high_bytes, start, count));
    files.emplace_back(CHIP_FILES[block][1], plane_part(g_rom_low_bytes, start, count));
    if (n <= start + ROM_CHIP_WORDS) break;
  }
  const std::string_view high = plane_part(g_rom_high_bytes, 0, n);
  const std::string_view low = plane_part(g_rom_low_bytes, 0, n);
  const ByteArray both = ByteArray(low) + ByteArray(high);
  files.emplace_back("ROM_H.bin", high);
  files.emplace_back("ROM_L.bin", low);
  files.emplace_back("ROM.bin", both);

  for (const auto& [name, bytes] : files)
    if (!write_file(name, bytes)) return Text(name);
  return {};
}

}  // namespace

StatusText finish_compilation(Window& window) {
  const std::int32_t m = g_function_count;
  if (as_text(g_func_names[m]) != "main") return Text(MSG_LAST_FUNCTION_NOT_MAIN);

  StatusText status(STATUS_COMPILE_END);
  const std::int32_t entry = g_func_entry[m];
  window.append_log(Text(LOG_PATCHING_MAIN_JUMP) + std::to_string(entry) + Text(LINE_END));
  patch_jump_target(g_main_jump_word, entry);

  const std::int32_t n = g_rom_word_count;
  window.append_log(Text(LOG_ROM_USE) + std::to_string(n) + Text(LOG_ROM_USE_UNIT));
  if (n > ROM_WORD_LIMIT) status = Text(MSG_ROM_TOO_LARGE);

  if (status == STATUS_COMPILE_END) {
    const std::int32_t r = g_func_ram_end[m];
    if (r >= 0 && r <= RAM_BYTE_LIMIT) {
      window.append_log(Text(LOG_RAM_USE) + std::to_string(r - SYSTEM_RESERVED_RAM) + Text(LOG_RAM_RESERVED) +
                        std::to_string(SYSTEM_RESERVED_RAM) + Text(LOG_RAM_TOTAL) + std::to_string(r) +
                        Text(LOG_RAM_USE_UNIT));
    } else {
      status = Text(MSG_RAM_TOO_LARGE);
    }
  }

  if (status == STATUS_COMPILE_END) {
    // A file that cannot be written must not end in a report of success.
    if (Text failed = write_rom_files(n); !failed.empty()) status = Text(MSG_WRITE_FAILED) + failed;
  }
  return status;
}

}  // namespace tarvik
