#include <cstdio>
#include <memory>

#include "app/app.h"
#include "app/gbk.h"

namespace tarvik {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

ByteArray read_file(std::string_view name) {
  const File file(std::fopen(gbk_to_file_name(name).c_str(), "rb"));
  if (!file) return {};
  ByteArray bytes;
  char buffer[1 << 16];
  // A read error, or a directory, ends the text there.
  while (const std::size_t count = std::fread(buffer, 1, sizeof buffer, file.get())) bytes.append(buffer, count);
  return bytes;
}

bool write_file(std::string_view name, std::string_view bytes) {
  File file(std::fopen(gbk_to_file_name(name).c_str(), "wb"));
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  return std::fclose(file.release()) == 0 && written;
}

}  // namespace tarvik
