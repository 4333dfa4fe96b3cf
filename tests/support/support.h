// Helpers shared by the tests: hex views of bytes and of the program image, a window
// without a screen, and a fixture that gives every test fresh state and a fresh directory.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/app.h"

namespace tarvik::test {

// "35 01 34 00": the bytes as upper-case hex pairs separated by spaces.
std::string hex(std::string_view bytes);
// The program image as opcode and operand byte of every word, in hex.
std::string words();
// The image from word `first` on, in hex.
std::string words_from(std::int32_t first);
// The image from word `first` on read as store instructions of constant bytes, one
// "address=byte" pair each in hex ("10015=41 10016=00"); "?" marks words that are no such store.
std::string stores_from(std::int32_t first);
// Entries first to last of a table of variables or parameters: "name:type@address" each,
// the address in hex, separated by spaces.
std::string table_entries(RecordTable<ByteArray>& names, RecordTable<Text>& types, RecordTable<std::int32_t>& addresses,
                          std::int32_t first, std::int32_t last);
// The source text from g_scan_pos up to the padding at its end.
std::string unscanned();
// A source text as the compiler holds it: the text followed by the 16 padding spaces.
ByteArray padded(std::string_view text);

// A window as the compiler sees it, with its state in plain members.
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
};

// Fresh compiler state, and an empty working directory that is removed afterwards.
class CompilerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The names of the files in the working directory, sorted.
  std::vector<std::string> files_here() const;
  void put_file(std::string_view name, std::string_view bytes) const;

  FakeWindow window;

 private:
  std::filesystem::path previous_dir_;
  std::filesystem::path dir_;
};

}  // namespace tarvik::test
