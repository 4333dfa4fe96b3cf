#include "app/app.h"
#include "front/front.h"

namespace tarvik {

namespace {

bool is_letter(std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool is_digit(std::uint8_t c) { return c >= '0' && c <= '9'; }

bool starts_directive_word(std::uint8_t c) { return is_letter(c); }
bool continues_directive_word(std::uint8_t c) { return is_letter(c) || is_digit(c); }
bool starts_file_name(std::uint8_t c) { return is_letter(c) || c == '.' || c >= 0x80; }
bool continues_file_name(std::uint8_t c) { return starts_file_name(c) || is_digit(c); }
bool starts_define_name(std::uint8_t c) { return is_letter(c) || c >= 0x80; }
bool continues_define_name(std::uint8_t c) { return starts_define_name(c) || is_digit(c); }

// The word at g_scan_pos, the position moved past it; empty when none starts there.
ByteArray read_word(bool (*starts)(std::uint8_t), bool (*continues)(std::uint8_t)) {
  const std::int32_t start = g_scan_pos;
  if (!starts(source_byte(g_scan_pos))) return {};
  while (continues(source_byte(g_scan_pos))) ++g_scan_pos;
  return g_source.substr(start, g_scan_pos - start);
}

// Skips blanks and comments and steps past `c` when it stands there.
bool skip_to(char c) {
  skip_blanks_and_comments();
  if (source_byte(g_scan_pos) != static_cast<std::uint8_t>(c)) return false;
  ++g_scan_pos;
  return true;
}

}  // namespace

HeadDirective read_head_directive() {
  HeadDirective directive;
  if (!skip_to('#')) return directive;
  const std::int32_t start = g_scan_pos - 1;
  skip_blanks_and_comments();
  const ByteArray word = read_word(starts_directive_word, continues_directive_word);

  if (word == "include") {
    if (!skip_to('<')) return directive;
    skip_blanks_and_comments();
    directive.name = read_word(starts_file_name, continues_file_name);
    if (directive.name.empty() || !skip_to('>')) return directive;
    directive.kind = HeadDirective::Kind::include;
  } else if (word == "define") {
    skip_blanks_and_comments();
    directive.name = read_word(starts_define_name, continues_define_name);
    if (directive.name.empty()) return directive;
    skip_blanks_and_comments();
    directive.value = read_word(continues_define_name, continues_define_name);
    if (directive.value.empty()) return directive;
    directive.kind = HeadDirective::Kind::define;
  } else {
    return directive;
  }
  directive.start = start;
  directive.end = g_scan_pos;
  return directive;
}

}  // namespace tarvik
