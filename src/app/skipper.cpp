#include "app/app.h"

namespace tarvik {

namespace {

bool is_blank(std::uint8_t c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

bool text_at(std::int32_t pos, std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (source_byte(pos + static_cast<std::int32_t>(i)) != static_cast<std::uint8_t>(bytes[i])) return false;
  return true;
}

}  // namespace

void skip_blanks_and_comments() {
  const std::int32_t limit = text_end_position();
  while (g_scan_pos < limit) {
    if (is_blank(source_byte(g_scan_pos))) {
      ++g_scan_pos;
    } else if (text_at(g_scan_pos, "//")) {
      // A line comment ends at the first LF, whether a CR stands before it or not (files
      // come with either line end); a lone CR does not end it.
      g_scan_pos += 2;
      while (g_scan_pos < limit && source_byte(g_scan_pos) != '\n') ++g_scan_pos;
      if (g_scan_pos < limit) ++g_scan_pos;
    } else if (text_at(g_scan_pos, "/*")) {
      g_scan_pos += 2;
      while (g_scan_pos < limit) {
        if (text_at(g_scan_pos, "*/")) {
          g_scan_pos += 2;
          break;
        }
        ++g_scan_pos;
      }
    } else {
      return;
    }
  }
}

}  // namespace tarvik
