// The preprocessor and the scanners of declarations and function headers.
#pragma once

#include <string_view>
#include <vector>

#include "app/app.h"

namespace tarvik {

inline constexpr std::string_view STATUS_ENTER_FUNCTION_SCAN = "进入函数扫描";
inline constexpr std::string_view STATUS_VARIABLE_SCAN_END = "变量扫描结束";
inline constexpr std::string_view STATUS_TEXT_END = "文本结束";
inline constexpr std::string_view STATUS_RAM_BASE_DONE = "提取RAM分配地址结束";
inline constexpr std::string_view STATUS_HEADER_DONE = ")";
inline constexpr std::string_view STATUS_DECLARATION_DONE = ";";
inline constexpr std::string_view STATUS_NEXT_DECLARATOR = ",";
inline constexpr std::string_view STATUS_NEXT_PARAMETER = ",";

// Messages of the variable declarations.
inline constexpr std::string_view MSG_AFTER_UNSIGNED = "unsigned后面符号错误";
inline constexpr std::string_view MSG_AFTER_SIGNED = "signed后面符号错误";
inline constexpr std::string_view MSG_AFTER_LONG = "long后面符号错误";
inline constexpr std::string_view MSG_VARIABLE_NAME_TWICE = "变量和变量名称重复- =";
inline constexpr std::string_view MSG_VARIABLE_NAME_RESERVED = "变量名称和关键字重复- =";
inline constexpr std::string_view MSG_SYMBOL_ERROR = "符号错误";
inline constexpr std::string_view MSG_AFTER_EQUALS = "=后面符号错误";
inline constexpr std::string_view MSG_AFTER_MINUS = "-后面符号错误";
inline constexpr std::string_view MSG_MISSING_COMMA_OR_SEMICOLON = "缺少,或;";
inline constexpr std::string_view MSG_MISSING_COMMA_OR_BRACE = "缺少,或}";
inline constexpr std::string_view MSG_AFTER_BRACE_OR_COMMA = "{或,后面符号错误";
inline constexpr std::string_view MSG_AFTER_CLOSING_BRACE = "}后面符号错误";
inline constexpr std::string_view MSG_STRING_INITIALISER = "''?错误";
inline constexpr std::string_view MSG_ARRAY_INITIALISER = "=?错误";
inline constexpr std::string_view MSG_AFTER_BRACKETS = "[]后面符号错误";
inline constexpr std::string_view MSG_BRACKETS_UNPAIRED = "[]对数错误";
inline constexpr std::string_view MSG_ARRAY_LENGTH = "数组长度范围定义错误";
inline constexpr std::string_view MSG_ARRAY_INITIALISER_TOO_LONG = "数组初始化数据超出范围";
inline constexpr std::string_view MSG_RAM_FULL = "RAM爆缸...";

// Messages of the function headers.
inline constexpr std::string_view MSG_HEADER_TYPE = "扫描函数定义_类型名称错误";
inline constexpr std::string_view MSG_HEADER_AFTER_UNSIGNED = "扫描函数定义_unsigned后面符号错误";
inline constexpr std::string_view MSG_HEADER_AFTER_SIGNED = "扫描函数定义_signed后面符号错误";
inline constexpr std::string_view MSG_HEADER_AFTER_LONG = "扫描函数定义_long后面符号错误";
inline constexpr std::string_view MSG_HEADER_NAME = "函数名称参数扫描_符号错误+ +";
inline constexpr std::string_view MSG_HEADER_PARAMETER_LIST = "函数名称参数扫描_符号错误..- -";
inline constexpr std::string_view MSG_HEADER_VOID = "函数名称参数扫描_(void...?错误";
inline constexpr std::string_view MSG_PARAMETER_AFTER_UNSIGNED = "函数名称参数扫描_unsigned后面符号错误";
inline constexpr std::string_view MSG_PARAMETER_AFTER_SIGNED = "函数名称参数扫描_signed后面符号错误";
inline constexpr std::string_view MSG_PARAMETER_AFTER_LONG = "函数名称参数扫描_long后面符号错误";
inline constexpr std::string_view MSG_PARAMETER_NAME = "(?,?错误";
inline constexpr std::string_view MSG_PARAMETER_BRACKET = "(...[?错误";
inline constexpr std::string_view MSG_PARAMETER_AFTER_BRACKETS = "(..[]?错误";

// Messages of the RAM overlay.
inline constexpr std::string_view MSG_NO_FUNCTION_BODY = "_函数扫描错误";
inline constexpr std::string_view MSG_UNDEFINED_FUNCTION_CALLED = "调用了未定义的函数";
inline constexpr std::string_view MSG_BRACES_UNPAIRED = "{}对数错误";

// Byte classes and word readers, shared with the statement compiler.
inline bool is_letter(std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
inline bool is_digit(std::uint8_t c) { return c >= '0' && c <= '9'; }
inline bool continues_identifier(std::uint8_t c) { return is_letter(c) || is_digit(c); }
// Names and values of defines, and the words that define expansion replaces, may also hold
// bytes of 0x80 and above.
inline bool starts_define_name(std::uint8_t c) { return is_letter(c) || c >= 0x80; }
inline bool continues_define_name(std::uint8_t c) { return starts_define_name(c) || is_digit(c); }

inline std::uint8_t current_byte() { return source_byte(g_scan_pos); }

// The word at g_scan_pos, the position moved past it; empty when none starts there.
ByteArray read_word(bool (*starts)(std::uint8_t), bool (*continues)(std::uint8_t));
// An identifier: a letter or "_", then letters, digits and "_".
inline ByteArray read_identifier() { return read_word(is_letter, continues_identifier); }

inline constexpr int MAX_HEX_DIGITS = 8;
inline constexpr int MAX_OCTAL_DIGITS = 11;

// A preprocessor directive, from its "#" to where it was read.
struct Directive {
  enum class Kind { none, include, define };
  Kind kind = Kind::none;
  std::int32_t start = 0;  // the "#"
  std::int32_t end = 0;    // where the reading stopped: after the ">" or the value when complete
  ByteArray name;          // the included file, or the defined name
  ByteArray value;         // the define's value
};
// At a "#": reads the directive word and, for "define", its name and value. Kind include
// means only that the word was "include".
Directive read_directive();
// The next directive of a file's head: skips blanks and comments, then reads a whole include
// line or a define of one word. Kind none when there is none and the head is over.
Directive read_head_directive();

// What a walk over the head of main.c, and depth first over the heads of the files that
// head includes, meets.
class HeadVisitor {
 public:
  virtual ~HeadVisitor() = default;
  // Every include line of a head, whether its file is read or not.
  virtual void include_line(const ByteArray&) {}
  // A define of a head; its bytes are those of g_source from directive.start to directive.end.
  virtual void define_directive(const Directive&) {}
  // A head is over: g_source holds the file's text, and these are the directives of its head.
  virtual void head_done(const std::vector<Directive>&) {}
};
// Walks the heads from the text in g_source, which is main.c. A file already on the chain of
// files being read is not read again: it would include itself without end.
void walk_file_heads(HeadVisitor& visitor);

// Replaces every include line of the source with the included file's text.
void merge_include_files();
// Replaces every #define name of the source with its value.
void expand_defines();
// Reads a run of variable declarations into the current-scope variable table.
StatusText scan_variable_declarations();
// Reads the declarators of one declaration statement of the given base type, up to its ";".
StatusText declare_variables_of_type(const Text& base_type);

// Reads the number or character literal at g_scan_pos and moves past it; 0, with the
// position unchanged, when none stands there or it is malformed.
std::int32_t parse_number_literal();
// 0 to 15 for the one-character texts "0" to "9", "a" to "f" and "A" to "F"; else 0.
std::int32_t get_hex_digit_value(const Text& digit);
// Steps over a string literal ("..." up to the next double quote, never past the text) or a
// character literal ('x'), so that a bracket, a brace or a comment mark inside one counts for
// nothing. Any other byte is one step.
void step_over_byte_or_literal();
// Raises g_ram_next above the RAM of every function that the next function calls.
StatusText find_callee_ram_base();
// Reads the header of function g_function_count + 1 and its parameters.
StatusText scan_function_header();
StatusText scan_function_name_and_parameters(const Text& return_type);
StatusText declare_parameter(const Text& base_type);

}  // namespace tarvik
