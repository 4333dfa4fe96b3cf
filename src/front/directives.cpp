// The directives of the preprocessor, and the word readers that every scanner shares.
#include "front/front.h"
#include "front/scan.h"

namespace tarvik {

namespace {

bool starts_file_name(std::uint8_t c) { return is_letter(c) || c == '.' || c >= 0x80; }
bool continues_file_name(std::uint8_t c) { return starts_file_name(c) || is_digit(c); }

}  // namespace

ByteArray read_word(bool (*starts)(std::uint8_t), bool (*continues)(std::uint8_t)) {
  const std::int32_t start = g_scan_pos;
  if (!starts(current_byte())) return {};
  while (continues(current_byte())) ++g_scan_pos;
  return g_source.substr(start, g_scan_pos - start);
}

bool skip_to(char c) {
  skip_blanks_and_comments();
  if (current_byte() != static_cast<std::uint8_t>(c)) return false;
  ++g_scan_pos;
  return true;
}

Directive read_directive() {
  Directive directive;
  directive.start = g_scan_pos;
  ++g_scan_pos;
  skip_blanks_and_comments();
  const ByteArray word = read_identifier();
  if (word == "include") {
    directive.kind = Directive::Kind::include;
  } else if (word == "define") {
    // The name and the value stand on the directive's line: a define with no value must not
    // take the first word of the next line.
    skip_blanks_and_comments_on_line();
    directive.name = read_word(starts_define_name, continues_define_name);
    if (!directive.name.empty()) {
      skip_blanks_and_comments_on_line();
      directive.value = read_word(continues_define_name, continues_define_name);
      if (!directive.value.empty()) directive.kind = Directive::Kind::define;
    }
  }
  directive.end = g_scan_pos;
  return directive;
}

Directive read_head_directive() {
  skip_blanks_and_comments();
  if (current_byte() != '#') return {};
  Directive directive = read_directive();
  if (directive.kind == Directive::Kind::include) {
    directive.kind = Directive::Kind::none;
    if (!skip_to('<')) return directive;
    skip_blanks_and_comments();
    directive.name = read_word(starts_file_name, continues_file_name);
    if (directive.name.empty() || !skip_to('>')) return directive;
    directive.kind = Directive::Kind::include;
    directive.end = g_scan_pos;
  }
  return directive;
}

}  // namespace tarvik
