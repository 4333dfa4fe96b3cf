// The preprocessor and the scanners of declarations and function headers.
#pragma once

#include <string_view>

#include "app/state.h"

namespace tarvik {

inline constexpr std::string_view STATUS_ENTER_FUNCTION_SCAN = "进入函数扫描";
inline constexpr std::string_view STATUS_VARIABLE_SCAN_END = "变量扫描结束";
inline constexpr std::string_view STATUS_TEXT_END = "文本结束";
inline constexpr std::string_view STATUS_RAM_BASE_DONE = "提取RAM分配地址结束";
inline constexpr std::string_view STATUS_HEADER_DONE = ")";

// A directive at the head of a file: an include line or a define of one word.
struct HeadDirective {
  enum class Kind { none, include, define };
  Kind kind = Kind::none;
  std::int32_t start = 0;  // the "#"
  std::int32_t end = 0;    // just after the ">" or the value
  ByteArray name;          // the included file, or the defined name
  ByteArray value;         // the define's value
};
// Reads the directive at g_scan_pos, after blanks and comments, and leaves the position at
// its end; kind none when there is none and the head of the text is over.
HeadDirective read_head_directive();

// Replaces every include line of the source with the included file's text.
void merge_include_files();
// Replaces every #define name of the source with its value.
void expand_defines();
// Reads a run of variable declarations into the current-scope variable table.
StatusText scan_variable_declarations();
// Raises g_ram_next above the RAM of every function that the next function calls.
StatusText find_callee_ram_base();
// Reads the header of function g_function_count + 1 and its parameters.
StatusText scan_function_header();

}  // namespace tarvik
