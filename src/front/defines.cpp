#include <unordered_map>

#include "front/front.h"
#include "front/scan.h"

namespace tarvik {

namespace {

bool starts_literal(std::uint8_t c) { return is_digit(c) || c == '"' || c == '\''; }

// A number runs from its first digit over the letters and digits after it, so that the x1F
// of 0x1F is no word of its own.
void step_over_literal() {
  if (is_digit(current_byte())) read_word(is_digit, continues_define_name);
  else step_over_byte_or_literal();
}

}  // namespace

// Walks the text once and builds the expanded text beside it, rather than replacing inside
// the text: the same result, in time linear in the size of the text.
void expand_defines() {
  const ByteArray& text = g_source;  // unchanged until the walk is over
  ByteArray expanded;
  expanded.reserve(text.size());
  std::unordered_map<ByteArray, ByteArray> values;  // the newest value of each name
  std::int32_t define_count = 0;

  g_scan_pos = 0;
  for (;;) {
    const std::int32_t blanks = g_scan_pos;
    skip_blanks_and_comments();
    expanded.append(text, blanks, g_scan_pos - blanks);
    const std::uint8_t c = current_byte();
    if (c == ' ') {  // the end of the text
      expanded.append(text, g_scan_pos);
      break;
    }
    if (starts_define_name(c)) {
      const ByteArray word = read_word(starts_define_name, continues_define_name);
      const auto value = values.find(word);
      expanded += value == values.end() ? word : value->second;
    } else if (starts_literal(c)) {  // a define never changes a string, a character or a number
      const std::int32_t start = g_scan_pos;
      step_over_literal();
      expanded.append(text, start, g_scan_pos - start);
    } else if (c == '#') {
      const Directive directive = read_directive();
      if (directive.kind == Directive::Kind::define) {
        if (++define_count > MAX_INCLUDE_DEPTH) throw TableCapacityExceeded();
        values[directive.name] = directive.value;  // the directive leaves the text
      } else {
        expanded.append(text, directive.start, directive.end - directive.start);
      }
    } else {
      expanded += static_cast<char>(c);
      ++g_scan_pos;
    }
  }
  g_source = std::move(expanded);
}

}  // namespace tarvik
