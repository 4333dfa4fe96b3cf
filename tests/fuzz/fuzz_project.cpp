#include "fuzz/fuzz_project.h"

#include <unistd.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/app.h"
#include "support/fake_window.h"

namespace tarvik::fuzz {

namespace {

namespace fs = std::filesystem;

// Keeps the last text appended to the log: the compile's final status goes there in one append.
class RecordingWindow : public test::FakeWindow {
 public:
  std::string last_append;

 protected:
  void show_appended_log(std::string_view text) override { last_append = text; }
};

// The working directory for one compile, alone in a folder of its own so that anything the
// compile writes beside it shows, and holding an earlier image set that a failed compile must
// leave as it was. Removed afterwards with whatever the compile wrote.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    static int count = 0;
    previous_ = fs::current_path();
    outer_ = fs::temp_directory_path() / ("tarvik-fuzz-" + std::to_string(::getpid()) + "-" + std::to_string(++count));
    path_ = outer_ / "project";
    fs::remove_all(outer_);
    fs::create_directories(path_);
    fs::current_path(path_);
    for (const char* name : EARLIER_SET) write_file(name, earlier_bytes(name));
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    fs::current_path(previous_, ignored);
    fs::remove_all(outer_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  // Whether every file of the earlier set is still there, byte for byte, and no other image
  // file has appeared.
  bool earlier_set_kept() const {
    for (const char* name : EARLIER_SET)
      if (read_file(name) != earlier_bytes(name)) return false;
    for (const auto& entry : fs::directory_iterator(path_)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with("ROM") && std::find(std::begin(EARLIER_SET), std::end(EARLIER_SET), name) == std::end(EARLIER_SET))
        return false;
    }
    return true;
  }
  bool wrote_outside() const {
    for (const auto& entry : fs::directory_iterator(outer_))
      if (entry.path() != path_) return true;
    return false;
  }

 private:
  static constexpr const char* EARLIER_SET[] = {"ROM.bin", "ROM_H.bin", "ROM_L.bin", "ROM_U4.bin", "ROM_U8.bin"};
  static std::string earlier_bytes(std::string_view name) { return "an earlier " + std::string(name); }

  fs::path previous_, outer_, path_;
};

std::string check_log(const RecordingWindow& window) {
  const std::string& log = window.log_text();
  const std::string& line = window.last_append;
  if (!log.starts_with(LOG_COMPILE_START)) return "the log does not start with the compile's first line";
  if (!log.ends_with(line)) return "the log changed after its last line";
  if (!line.ends_with(LINE_END) || line.size() == LINE_END.size()) return "the last line is empty or has no line end";
  if (line.find(LINE_END) != line.size() - LINE_END.size()) return "the last append holds more than one line";
  return {};
}

std::string compile_here(const Project& project, const TemporaryFolder& folder) {
  if (project.has_included && !write_file(INCLUDED_FILE, project.included)) return "cannot write the included file";
  RecordingWindow window;
  window.items = {std::string(PROJECT_MAIN_FILE)};
  window.current = 0;
  window.editor = project.main_c;
  try {
    compile_project(window);
  } catch (const std::exception& e) {
    return std::string("an exception escaped the compile: ") + e.what();
  } catch (...) {
    return "an exception escaped the compile";
  }
  if (std::string problem = check_log(window); !problem.empty()) return problem;
  const bool compiled = window.last_append == std::string(STATUS_COMPILE_END) + std::string(LINE_END);
  if (folder.wrote_outside()) return "the compile wrote outside the project folder";
  if (compiled && folder.earlier_set_kept()) return "a compile that ended well wrote no ROM file";
  if (!compiled && !folder.earlier_set_kept()) return "a failed compile changed the ROM files";
  return {};
}

}  // namespace

Project split_project(std::string_view input) {
  Project project;
  const std::size_t at = input.find(FILE_SEPARATOR);
  project.main_c = input.substr(0, at);
  if (at != std::string_view::npos) {
    project.included = input.substr(at + FILE_SEPARATOR.size());
    project.has_included = true;
  }
  return project;
}

std::string compile_and_check(std::string_view input) {
  init_global_tables();
  std::string problem;
  {
    TemporaryFolder folder;
    problem = compile_here(split_project(input), folder);
  }
  free_global_tables();
  return problem;
}

}  // namespace tarvik::fuzz
