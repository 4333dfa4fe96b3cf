#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/app.h"
#include "app/gbk.h"

namespace tarvik {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A compile reads and writes only in the project folder: a name that is absolute or steps out
// with ".." (an include line can hold any name) is no project file.
bool names_a_project_file(std::string_view name) {
  const std::filesystem::path path(gbk_to_file_name(name));
  if (path.empty() || path.has_root_path()) return false;
  for (const auto& part : path)
    if (part == "..") return false;
  return true;
}

}  // namespace

ByteArray read_file(std::string_view name) {
  if (!names_a_project_file(name)) return {};
  const File file(std::fopen(gbk_to_file_name(name).c_str(), "rb"));
  if (!file) return {};
  ByteArray bytes;
  char buffer[1 << 16];
  // A read error, or a directory, ends the text there.
  while (const std::size_t count = std::fread(buffer, 1, sizeof buffer, file.get())) bytes.append(buffer, count);
  return bytes;
}

bool write_file(std::string_view name, std::string_view bytes) {
  if (!names_a_project_file(name)) return false;
  File file(std::fopen(gbk_to_file_name(name).c_str(), "wb"));
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  return std::fclose(file.release()) == 0 && written;
}

}  // namespace tarvik
