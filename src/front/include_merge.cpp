#include <algorithm>
#include <vector>

#include "front/front.h"
#include "front/scan.h"

namespace tarvik {

namespace {

// A file whose head waits on the include stack while an included file is read.
struct WaitingFile {
  ByteArray text;
  std::int32_t resume;                // where its head goes on
  std::vector<Directive> directives;  // read so far: include lines come out, defines are blanked
  ByteArray name;
};

// Appends the file's text with its head's include lines taken out and its defines blanked.
// The directives are in the order of the text.
void append_edited_text(ByteArray& out, const ByteArray& text, const std::vector<Directive>& directives) {
  std::int32_t from = 0;
  for (const Directive& directive : directives) {
    out.append(text, from, directive.start - from);
    if (directive.kind == Directive::Kind::define) out.append(directive.end - directive.start, ' ');
    from = directive.end;
  }
  out.append(text, from);
}

// Whether g_source ends inside a block comment, read as the scanners read it: a comment mark
// inside a string or character literal opens nothing.
bool ends_in_open_comment() {
  const std::int32_t resume = g_scan_pos;
  g_scan_pos = 0;
  bool open = skip_blanks_and_comments_ends_open();
  while (!open && g_scan_pos < text_end_position()) {
    step_over_byte_or_literal();
    open = skip_blanks_and_comments_ends_open();
  }
  g_scan_pos = resume;
  return open;
}

class Merge : public HeadVisitor {
 public:
  void define_directive(const Directive& directive) override {
    close_open_comment();
    merged.append(g_source, directive.start, directive.end - directive.start);
    merged += ' ';
  }
  void head_done(const std::vector<Directive>& directives) override {
    close_open_comment();
    append_edited_text(merged, g_source, directives);
    merged += "\r\n";
    comment_open_ = ends_in_open_comment();
  }
  ByteArray merged;

 private:
  // A block comment ends with its file at the latest, so the next piece is read whole.
  // main.c comes last and is never closed: its comment runs to the end of the text.
  void close_open_comment() {
    if (comment_open_) merged += "*/";
    comment_open_ = false;
  }
  bool comment_open_ = false;
};

}  // namespace

// Reading a head goes on after each directive instead of taking the directive out of the
// text and starting the head again; the text before it is all blanks and comments either way,
// so both read the same directives, and every file is read once.
void walk_file_heads(HeadVisitor& visitor) {
  std::vector<WaitingFile> waiting;
  std::vector<Directive> directives;
  ByteArray name(PROJECT_MAIN_FILE);
  g_scan_pos = 0;
  for (;;) {
    const Directive directive = read_head_directive();
    if (directive.kind == Directive::Kind::include) {
      directives.push_back(directive);
      visitor.include_line(directive.name);
      const auto on_chain = [&](const WaitingFile& file) { return file.name == directive.name; };
      if (name == directive.name || std::any_of(waiting.begin(), waiting.end(), on_chain)) continue;
      if (waiting.size() >= static_cast<std::size_t>(MAX_INCLUDE_DEPTH)) throw TableCapacityExceeded();
      waiting.push_back({std::move(g_source), g_scan_pos, std::move(directives), std::move(name)});
      g_source = read_file(directive.name) + ByteArray(SOURCE_PADDING);
      g_scan_pos = 0;
      directives.clear();
      name = directive.name;
    } else if (directive.kind == Directive::Kind::define) {
      directives.push_back(directive);
      visitor.define_directive(directive);
    } else {
      visitor.head_done(directives);
      if (waiting.empty()) return;
      WaitingFile& resumed = waiting.back();
      g_source = std::move(resumed.text);
      g_scan_pos = resumed.resume;
      directives = std::move(resumed.directives);
      name = std::move(resumed.name);
      waiting.pop_back();
    }
  }
}

void merge_include_files() {
  Merge merge;
  walk_file_heads(merge);
  g_source = std::move(merge.merged);
}

}  // namespace tarvik
