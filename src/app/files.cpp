#include <fstream>
#include <iterator>

#include "app/app.h"

namespace tarvik {

ByteArray read_file(std::string_view name) {
  std::ifstream in{std::string(name), std::ios::binary};
  if (!in) return {};
  return ByteArray(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool write_file(std::string_view name, std::string_view bytes) {
  std::ofstream out{std::string(name), std::ios::binary | std::ios::trunc};
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

}  // namespace tarvik
