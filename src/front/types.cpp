#include "front/front.h"
#include "front/scan.h"

namespace tarvik {

std::int32_t scalar_size(std::string_view type) {
  if (type == "char" || type == "unsigned char") return 1;
  if (type == "int" || type == "unsigned int") return 2;
  if (type == "long int" || type == "unsigned long int") return 4;
  return POINTER_SIZE;
}

bool read_stars_and_name(const Text& base_type, Text& type, ByteArray& name) {
  skip_blanks_and_comments();
  type = base_type;
  for (int star = 0; star < 2 && current_byte() == '*'; ++star, ++g_scan_pos) type += '*';
  skip_blanks_and_comments();
  name.clear();
  if (!is_letter(current_byte())) return false;
  name = read_identifier();
  return true;
}

TypeWords read_long_int(std::string_view base, const TypeWordErrors& errors) {
  skip_blanks_and_comments();
  if (read_identifier() != "int") return {{}, Text(errors.after_long)};
  return {Text(base), {}};
}

TypeWords read_signed_type(bool is_unsigned, const TypeWordErrors& errors) {
  const std::string_view prefix = is_unsigned ? "unsigned " : "";
  skip_blanks_and_comments();
  const ByteArray word = read_identifier();
  if (word == "char" || word == "int") return {Text(prefix) + word, {}};
  if (word == "long") return read_long_int(Text(prefix) + "long int", errors);
  return {{}, Text(is_unsigned ? errors.after_unsigned : errors.after_signed)};
}

}  // namespace tarvik
