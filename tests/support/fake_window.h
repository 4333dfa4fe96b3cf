// A window as the compiler sees it, without a screen and without the test framework, so that
// the benchmarks can drive whole compiles with it too.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "app/app.h"

namespace tarvik::test {

// Its state is in plain members.
class FakeWindow : public Window {
 public:
  int current = -1;
  std::vector<ByteArray> items;
  ByteArray editor;
  int width = 826, height = 601;
  std::vector<Placement> placements;

  int current_item() const override { return current; }
  ByteArray item_text(int index) const override { return items.at(index); }
  void clear_items() override { items.clear(), current = -1; }
  void add_item(const ByteArray& name) override { items.push_back(name); }
  void set_current_item(int index) override { current = index; }
  ByteArray editor_text() const override { return editor; }
  void set_editor_text(const ByteArray& text) override { editor = text; }
  int outer_width() const override { return width; }
  int outer_height() const override { return height; }
  void place(Control control, const Rect& rect) override { placements.push_back({control, rect}); }
  void set_text_colour(Control, std::uint32_t) override {}
  void set_background(Control, std::uint32_t) override {}

 protected:
  void show_replaced_log(const Text&) override {}
  void show_appended_log(std::string_view) override {}
  void show_replaced_log_end(std::string_view, std::string_view) override {}
};

}  // namespace tarvik::test
