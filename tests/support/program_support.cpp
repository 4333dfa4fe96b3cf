#include "support/program_support.h"

#include "app/app.h"

namespace tarvik::test {

int width_of(std::string_view type) {
  if (type.ends_with("*")) return 3;
  if (type.find("long") != std::string_view::npos) return 4;
  if (type.find("int") != std::string_view::npos) return 2;
  return 1;
}

std::string ProgramTest::compile(std::string_view main_c) {
  put_file("main.c", main_c);
  window.items = {"main.c"};
  window.current = 0;
  window.editor = ByteArray(main_c);
  compile_project(window);
  const std::string& log = window.log_text();
  return log.substr(std::min(log.size(), LOG_COMPILE_START.size()));
}

bool ProgramTest::compiled() const {
  const std::string end = Text(STATUS_COMPILE_END) + Text(LINE_END);
  const std::string& log = window.log_text();
  return log.size() >= end.size() && log.compare(log.size() - end.size(), end.size(), end) == 0;
}

void ProgramTest::run() {
  sim = Simulator();
  sim.run(0, g_rom_word_count);
  EXPECT_EQ(sim.problems(), "");
  EXPECT_TRUE(sim.finished());
}

void ProgramTest::compile_and_run(std::string_view main_c) {
  const std::string log = compile(main_c);
  ASSERT_TRUE(compiled()) << log;
  run();
}

}  // namespace tarvik::test
