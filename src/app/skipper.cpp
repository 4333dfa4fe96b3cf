#include "app/app.h"

namespace tarvik {

namespace {

bool is_line_end(std::uint8_t c) { return c == '\r' || c == '\n'; }
bool is_blank(std::uint8_t c) { return c == ' ' || c == '\t' || is_line_end(c); }

bool text_at(std::int32_t pos, std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (source_byte(pos + static_cast<std::int32_t>(i)) != static_cast<std::uint8_t>(bytes[i])) return false;
  return true;
}

enum class Skip { crossing_line_ends, within_the_line };

// Moves past blanks and comments; false when the text ends inside a block comment. A line
// comment ends at the first CR or LF, whichever the file's lines end with, and leaves it to
// be read as a blank; a block comment crosses line ends either way.
bool skip(Skip mode) {
  const std::int32_t limit = text_end_position();
  while (g_scan_pos < limit) {
    const std::uint8_t c = source_byte(g_scan_pos);
    if (is_blank(c) && !(mode == Skip::within_the_line && is_line_end(c))) {
      ++g_scan_pos;
    } else if (text_at(g_scan_pos, "//")) {
      g_scan_pos += 2;
      while (g_scan_pos < limit && !is_line_end(source_byte(g_scan_pos))) ++g_scan_pos;
    } else if (text_at(g_scan_pos, "/*")) {
      g_scan_pos += 2;
      while (!text_at(g_scan_pos, "*/")) {
        if (g_scan_pos >= limit) return false;
        ++g_scan_pos;
      }
      g_scan_pos += 2;
    } else {
      break;
    }
  }
  return true;
}

}  // namespace

void skip_blanks_and_comments() { skip(Skip::crossing_line_ends); }

void skip_blanks_and_comments_on_line() { skip(Skip::within_the_line); }

bool skip_blanks_and_comments_ends_open() { return !skip(Skip::crossing_line_ends); }

}  // namespace tarvik
