// Helpers shared by the tests: hex views of bytes and of the program image, a window
// without a screen, and a fixture that gives every test fresh state and a fresh directory.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/app.h"
#include "support/fake_window.h"

namespace tarvik::test {

// "35 01 34 00": the bytes as upper-case hex pairs separated by spaces.
std::string hex(std::string_view bytes);
// The program image as opcode and operand byte of every word, in hex.
std::string words();
// The image from word `first` on, in hex.
std::string words_from(std::int32_t first);
// The words that the emitters give when they start at word `first`, in hex; the image is
// left as it was (jump targets depend on where the words stand).
std::string words_spelled_from(std::int32_t first, const std::function<void()>& emitters);
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
