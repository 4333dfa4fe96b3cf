#include <algorithm>
#include <vector>

#include "app/app.h"
#include "front/front.h"

namespace tarvik {

namespace {

// Adds to the list, depth first, every file named by an include line at the head of a
// listed file. The head's directives are taken out of the text as they are read, so an
// including file is read again from its start once its included file is done.
void list_included_files(Window& window) {
  std::vector<ByteArray> suspended_texts;                     // the include stack
  std::vector<ByteArray> chain = {ByteArray(PROJECT_MAIN_FILE)};  // the files being read, outermost first
  g_scan_pos = 0;
  for (;;) {
    const HeadDirective directive = read_head_directive();
    if (directive.kind == HeadDirective::Kind::include) {
      g_source.erase(directive.start, directive.end - directive.start);
      window.add_item(directive.name);
      // A file that includes itself, directly or through others, is listed but not read
      // again: that would never end.
      const bool on_chain = std::find(chain.begin(), chain.end(), directive.name) != chain.end();
      if (on_chain || suspended_texts.size() >= MAX_INCLUDE_DEPTH) {
        g_scan_pos = directive.start;
        continue;
      }
      suspended_texts.push_back(std::move(g_source));
      chain.push_back(directive.name);
      g_source = read_file(directive.name) + ByteArray(SOURCE_PADDING);
      g_scan_pos = 0;
    } else if (directive.kind == HeadDirective::Kind::define) {
      std::fill(g_source.begin() + directive.start, g_source.begin() + directive.end, ' ');
    } else {
      if (suspended_texts.empty()) return;
      g_source = std::move(suspended_texts.back());
      suspended_texts.pop_back();
      chain.pop_back();
      g_scan_pos = 0;
    }
  }
}

}  // namespace

void open_project(Window& window) {
  window.clear_items();
  window.add_item(ByteArray(PROJECT_MAIN_FILE));
  window.set_current_item(0);
  const ByteArray main_text = read_file(PROJECT_MAIN_FILE);
  g_source = main_text + ByteArray(SOURCE_PADDING);
  window.set_editor_text(main_text);
  list_included_files(window);
}

void load_selected_file_into_editor(Window& window) {
  if (const int item = window.current_item(); item >= 0) window.set_editor_text(read_file(window.item_text(item)));
}

void save_selected_file(Window& window) {
  const int item = window.current_item();
  if (item < 0) return;
  const ByteArray name = window.item_text(item);
  if (!write_file(name, window.editor_text())) window.append_log(Text(MSG_WRITE_FAILED) + as_text(name) + Text(LINE_END));
}

void handle_editor_event(Window&) {}

std::array<Placement, 3> control_layout(int width, int height) {
  return {{
      {Control::file_list, {2, 16, 128, height - 167}},
      {Control::editor, {130, 16, width - 146, height - 150}},
      {Control::log, {0, height - 135, width - 16, 96}},
  }};
}

void layout_controls(Window& window) {
  for (const Placement& placement : control_layout(window.outer_width(), window.outer_height()))
    window.place(placement.control, placement.rect);
  for (Control control : {Control::file_list, Control::editor}) {
    window.set_text_colour(control, LIST_AND_EDITOR_TEXT_COLOUR);
    window.set_background(control, LIST_AND_EDITOR_BACKGROUND);
  }
  window.set_background(Control::log, LOG_BACKGROUND);
}

}  // namespace tarvik
