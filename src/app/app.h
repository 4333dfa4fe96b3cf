// The application shell: the window as the compiler sees it, project files, the blank
// skipper, the compile driver, the end of a function and the ROM image files.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "app/state.h"

namespace tarvik {

// Every text read from a file into the source gets these 16 spaces; a space at the scan
// position after skipping blanks means the end of the text.
inline constexpr std::string_view SOURCE_PADDING = "                ";
static_assert(SOURCE_PADDING.size() == 16);
inline constexpr std::string_view PROJECT_MAIN_FILE = "main.c";

// Names no function, parameter or variable may bear.
inline constexpr std::array<std::string_view, 32> RESERVED_WORDS = {
    "if",      "else",       "do",         "while",    "for",      "sizeof",     "break",    "continue",
    "return",  "goto",       "rom_run",    "_A",       "_B",       "_A2",        "_A1",      "_A0",
    "_NOP",    "_AH",        "_BH",        "_ADD_A_B", "_ADD_A_A", "_ADD_A_B_1", "_ADD_A_A_1", "_ADD_A_1",
    "_SUB_A_B", "_SUB_A_B_1", "_SUB_A_1", "_A_AH",    "_B_BH",    "_A_BH",      "_B_AL",    "_RAM"};
bool is_reserved_word(std::string_view name);

// Statuses and messages of the driver, the function end and the final checks.
inline constexpr std::string_view STATUS_NEXT_FUNCTION = "}";
inline constexpr std::string_view STATUS_COMPILE_END = "编译结束";
inline constexpr std::string_view LOG_COMPILE_START = "开始编译\r\n";
inline constexpr std::string_view LOG_COMPILING = "正在编译";
inline constexpr std::string_view LOG_FUNCTION_SUFFIX = "函数...\r\n";
inline constexpr std::string_view LOG_FUNCTION_OK = "OK\r\n";
inline constexpr std::string_view LOG_PATCHING_MAIN_JUMP = "正在修改主函数入口跳转指令指向地址";
inline constexpr std::string_view LOG_ROM_USE = "ROM使用";
inline constexpr std::string_view LOG_ROM_USE_UNIT = "字\r\n";
inline constexpr std::string_view LOG_RAM_USE = "RAM使用";
inline constexpr std::string_view LOG_RAM_RESERVED = "字节 系统保留";
inline constexpr std::string_view LOG_RAM_TOTAL = "字节 总占";
inline constexpr std::string_view LOG_RAM_USE_UNIT = "字节\r\n";
inline constexpr std::string_view LINE_END = "\r\n";
inline constexpr std::string_view MSG_FUNCTION_DEFINITION_ERROR = "函数定义错误";
inline constexpr std::string_view MSG_HEADER_AMONG_LOCALS = "(????错误";
inline constexpr std::string_view MSG_FUNCTION_NAME_TWICE = "函数和函数名称重复0_o~!";
inline constexpr std::string_view MSG_FUNCTION_NAMED_LIKE_GLOBAL = "函数和全局变量名称重复0_o~!";
inline constexpr std::string_view MSG_FUNCTION_NAME_RESERVED = "函数名称不能是关键字0_o~!";
inline constexpr std::string_view MSG_PARAMETER_NAME_TWICE = "函数参数和函数参数名称重复0_o~!";
inline constexpr std::string_view MSG_PARAMETER_NAMED_LIKE_LOCAL = "函数参数和局部变量名称重复0_o~!";
inline constexpr std::string_view MSG_PARAMETER_NAME_RESERVED = "函数参数名称不能是关键字0_o~!";
inline constexpr std::string_view MSG_LAST_FUNCTION_NOT_MAIN = "main函数什么情况0_o?!)";
inline constexpr std::string_view MSG_ROM_TOO_LARGE = "ROM使用超出CPU地址范围_~!ROM爆缸...";
inline constexpr std::string_view MSG_RAM_TOO_LARGE = "RAM使用超出CPU地址范围_~!RAM爆缸...";
inline constexpr std::string_view MSG_WRITE_FAILED = "写入文件失败:";
inline constexpr std::string_view MSG_TABLE_FULL = "表格容量超出65536项";

inline constexpr std::int32_t RETURN_SLOT_SIZE = 3;
inline constexpr std::int32_t RETURN_SEQUENCE_WORDS = 18;
inline constexpr std::int32_t RAM_BYTE_LIMIT = 0x400000;
inline constexpr std::int32_t ROM_CHIP_WORDS = 0x40000;
inline constexpr std::int32_t MAX_INCLUDE_DEPTH = 65536;

// The window: its texts, its controls and their places.
inline constexpr std::string_view WINDOW_TITLE = "Tarvik编译器 V1.4";
inline constexpr std::string_view CAPTION_OPEN = "打开";
inline constexpr std::string_view CAPTION_SAVE = "保存";
inline constexpr std::string_view CAPTION_COMPILE = "编译";

enum class Control { file_list, editor, log, open_button, save_button, compile_button };

struct Rect {
  int left, top, width, height;
  bool operator==(const Rect&) const = default;
};

struct Placement {
  Control control;
  Rect rect;
};

// Colours with red in the low byte, green in the next and blue in the third.
inline constexpr std::uint32_t LIST_AND_EDITOR_TEXT_COLOUR = 0x09FCE7;
inline constexpr std::uint32_t LIST_AND_EDITOR_BACKGROUND = 0x000000;
inline constexpr std::uint32_t LOG_BACKGROUND = 0x04ACD0C5;

// Where the window and its controls stand before the first layout. The window's size
// counts a frame of FRAME_WIDTH by FRAME_HEIGHT pixels around its client area.
inline constexpr Rect DESIGNED_WINDOW = {50, 50, 826, 601};
inline constexpr int FRAME_WIDTH = 16;
inline constexpr int FRAME_HEIGHT = 39;
inline constexpr std::array<Placement, 6> DESIGNED_PLACES = {{
    {Control::file_list, {32, 72, 104, 144}},
    {Control::log, {288, 272, 216, 88}},
    {Control::compile_button, {80, 0, 48, 16}},
    {Control::save_button, {40, 0, 40, 16}},
    {Control::open_button, {0, 0, 40, 16}},
    {Control::editor, {280, 120, 176, 88}},
}};

// The places of the file list, the editor and the log in a window of outer size W x H.
std::array<Placement, 3> control_layout(int width, int height);

// The window as the compiler uses it. The log is kept here as GBK bytes; a window only
// shows it.
class Window {
 public:
  virtual ~Window() = default;

  const Text& log_text() const { return log_; }
  void replace_log(Text text);
  void append_log(std::string_view text);
  // Drops the log's last `count` bytes (all of them when it has fewer) and appends `text`:
  // an edit of the last line, done and shown in place however long the log is. A window
  // shows only the change, so the cut must fall between characters (before a line end).
  void replace_log_end(std::size_t count, std::string_view text);

  // The file list. Selections made here are the program's own and load nothing.
  virtual int current_item() const = 0;  // -1 when no item is current
  virtual ByteArray item_text(int index) const = 0;
  virtual void clear_items() = 0;
  virtual void add_item(const ByteArray& name) = 0;
  virtual void set_current_item(int index) = 0;

  virtual ByteArray editor_text() const = 0;
  virtual void set_editor_text(const ByteArray& text) = 0;

  // The size of the window, frame included, as the layout takes it.
  virtual int outer_width() const = 0;
  virtual int outer_height() const = 0;
  virtual void place(Control control, const Rect& rect) = 0;
  virtual void set_text_colour(Control control, std::uint32_t colour) = 0;
  virtual void set_background(Control control, std::uint32_t colour) = 0;

 protected:
  virtual void show_replaced_log(const Text& log) = 0;
  virtual void show_appended_log(std::string_view text) = 0;
  // The log lost `dropped` at its end, then gained `text`.
  virtual void show_replaced_log_end(std::string_view dropped, std::string_view text) = 0;

 private:
  Text log_;
};

// The handlers of the window's events.
void open_project(Window& window);
void load_selected_file_into_editor(Window& window);
void save_selected_file(Window& window);
void handle_editor_event(Window& window);
void layout_controls(Window& window);

// Project files, named relative to the working directory. A missing or unreadable file
// reads as empty; a write creates or replaces the file and says whether it succeeded. A name
// that leaves the working directory (absolute, or with a ".." step) reads as empty and is
// never written.
ByteArray read_file(std::string_view name);
bool write_file(std::string_view name, std::string_view bytes);

// The byte of g_source at pos as a number; NUL outside the text, so no scanner reads past it.
inline std::uint8_t source_byte(std::int32_t pos) {
  return pos >= 0 && static_cast<std::size_t>(pos) < g_source.size() ? static_cast<std::uint8_t>(g_source[pos]) : 0;
}

// The position of the first of the 16 spaces that end g_source: scanners stop there.
inline std::int32_t text_end_position() {
  return static_cast<std::int32_t>(g_source.size()) - static_cast<std::int32_t>(SOURCE_PADDING.size());
}

// Moves g_scan_pos over blanks and comments, never into the last 16 bytes of g_source.
void skip_blanks_and_comments();
// The same, stopping at a line end (CR or LF) that stands outside a block comment: what a
// directive reads must stand on its own line.
void skip_blanks_and_comments_on_line();
// skip_blanks_and_comments; true when the text ended inside a block comment.
bool skip_blanks_and_comments_ends_open();

// One compile, from saving the selected file to the ROM image files and the log.
void compile_project(Window& window);

// The return through a function's 3-byte return slot.
void emit_return_jump(std::int32_t slot);
// Ends function g_function_count + 1: its implicit return (a void function always has one,
// a function with a result unless its body ends with a return), "OK" in the log, the count.
void finish_function(Window& window, bool body_ends_with_return);
// The checks after the last function, the ROM/RAM report and the ROM image files.
StatusText finish_compilation(Window& window);

}  // namespace tarvik
