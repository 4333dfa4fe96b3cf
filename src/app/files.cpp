#include <exception>
#include <fstream>
#include <iterator>

#include "app/app.h"
#include "app/gbk.h"

namespace tarvik {

ByteArray read_file(std::string_view name) {
  std::ifstream in{gbk_to_file_name(name), std::ios::binary};
  if (!in) return {};
  try {
    return ByteArray(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::exception&) {  // a directory, or a read error
    return {};
  }
}

bool write_file(std::string_view name, std::string_view bytes) {
  std::ofstream out{gbk_to_file_name(name), std::ios::binary | std::ios::trunc};
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

}  // namespace tarvik
