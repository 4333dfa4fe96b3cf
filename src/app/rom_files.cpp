#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/gbk.h"
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

namespace fs = std::filesystem;

// Names beside the set while it is replaced: the new file, and the old one set aside.
constexpr std::string_view NEW_FILE_SUFFIX = ".tmp";
constexpr std::string_view OLD_FILE_SUFFIX = ".old.tmp";

fs::path path_of(std::string_view name) { return fs::path(gbk_to_file_name(name)); }

// A folder (or a device) in a file's place is nothing that a new image may replace.
bool may_replace(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  return !fs::exists(status) || fs::is_regular_file(status) || fs::is_symlink(status);
}

// Removes a file this writer made; a folder of the same name is the user's and stays.
void remove_own_file(const fs::path& path) {
  std::error_code error;
  if (!fs::is_directory(fs::symlink_status(path, error))) fs::remove(path, error);
}

struct RomFile {
  RomFile(std::string_view file_name, std::string_view file_bytes)
      : name(file_name),
        bytes(file_bytes),
        target(path_of(name)),
        fresh(path_of(Text(name) + Text(NEW_FILE_SUFFIX))),
        kept(path_of(Text(name) + Text(OLD_FILE_SUFFIX))) {}

  std::string_view name;
  std::string_view bytes;
  fs::path target, fresh, kept;
  bool had_old = false;
};

// Puts the set back as it was: the new files that were moved in go, the old ones return.
void restore(std::vector<RomFile>& files, std::size_t moved_in) {
  std::error_code error;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (i < moved_in) remove_own_file(files[i].target);
    remove_own_file(files[i].fresh);
    if (files[i].had_old) fs::rename(files[i].kept, files[i].target, error);
  }
}

// Replaces the set of image files as a whole. Chips are burned from the whole set, so a
// failure must not leave new files beside old ones: every file is written under a
// temporary name first and moved in only when all are written. Returns the name of the
// first file that could not be written or replaced, the earlier set left as it was.
Text replace_rom_files(std::vector<RomFile>& files) {
  for (const RomFile& file : files) {
    if (!may_replace(file.target) || !write_file(Text(file.name) + Text(NEW_FILE_SUFFIX), file.bytes)) {
      restore(files, 0);
      return Text(file.name);
    }
  }
  // The old files are set aside rather than overwritten, so that any later failure can
  // still bring them back (a file held open elsewhere may refuse to be moved).
  std::error_code error;
  for (RomFile& file : files) {
    if (!fs::exists(fs::symlink_status(file.target, error))) continue;
    fs::rename(file.target, file.kept, error);
    if (error) {
      restore(files, 0);
      return Text(file.name);
    }
    file.had_old = true;
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    fs::rename(files[i].fresh, files[i].target, error);
    if (error) {
      restore(files, i);
      return Text(files[i].name);
    }
  }
  for (const RomFile& file : files)
    if (file.had_old) remove_own_file(file.kept);
  return {};
}

// Writes the image of n words into the chip files its words reach, then the whole-image
// files; the name of a file that failed, or an empty text.
Text write_rom_files(std::int32_t n) {
  std::vector<RomFile> files;
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
  return replace_rom_files(files);
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
