#include "app/app.h"
#include "front/front.h"

namespace tarvik {

namespace {

class Listing : public HeadVisitor {
 public:
  explicit Listing(Window& window) : window_(window) {}
  void include_line(const ByteArray& name) override { window_.add_item(name); }

 private:
  Window& window_;
};

}  // namespace

void open_project(Window& window) {
  window.clear_items();
  window.add_item(ByteArray(PROJECT_MAIN_FILE));
  window.set_current_item(0);
  const ByteArray main_text = read_file(PROJECT_MAIN_FILE);
  g_source = main_text + ByteArray(SOURCE_PADDING);
  window.set_editor_text(main_text);
  Listing listing(window);
  try {
    walk_file_heads(listing);
  } catch (const TableCapacityExceeded&) {
    // A chain of includes deeper than the include stack ends the listing where it stands.
  }
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
