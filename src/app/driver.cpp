#include "app/app.h"
#include "app/name_index.h"
#include "front/front.h"
#include "isa/isa.h"
#include "stmt/stmt.h"

namespace tarvik {

namespace {

// Words 0 to 3 jump over the rom_run block of words 4 to 8, which stores 0xFF at
// ROM_RUN_STORE_ADDRESS (A1 is left 0 by the prefix of the jump that reaches it).
void emit_startup_words() {
  emit_jump_to(g_rom_word_count + STARTUP_JUMP_TARGET);
  emit_a2_imm(high_byte(ROM_RUN_STORE_ADDRESS));
  emit_a0_imm(low_byte(ROM_RUN_STORE_ADDRESS));
  emit_nop();
  emit_ram_imm(0xFF);
  emit_nop();
}

// The kept globals, and the functions after them, are written anew: their indexes look again.
void keep_globals() {
  note_name_tables_restarted();
  g_global_count = g_var_count;
  for (std::int32_t k = 1; k <= g_var_count; ++k) {
    g_global_names[k] = g_var_names[k];
    g_global_types[k] = g_var_types[k];
    g_global_addrs[k] = g_var_addrs[k];
  }
}

bool any_name_equals(const ByteArray& name, RecordTable<ByteArray>& names, std::int32_t first, std::int32_t last) {
  for (std::int32_t i = first; i <= last; ++i)
    if (names[i] == name) return true;
  return false;
}

// The globals are kept once per compile, which notes the restart.
NameIndex kept_globals(name_tables_restart_version);

// The checks of function k's name and of its parameters' names; the first failure's message,
// or an empty text when all pass.
Text check_function_names(std::int32_t k) {
  const ByteArray& name = g_func_names[k];
  // Function k is the next one: the earlier ones are the finished ones.
  if (find_finished_function(name) != 0) return Text(MSG_FUNCTION_NAME_TWICE);
  if (kept_globals.find(g_global_names, 1, g_global_count, name) != 0) return Text(MSG_FUNCTION_NAMED_LIKE_GLOBAL);
  if (is_reserved_word(name)) return Text(MSG_FUNCTION_NAME_RESERVED);

  const std::int32_t first = g_func_first_param[k] + 1;
  const std::int32_t last = g_func_param_end[k];
  for (std::int32_t p = first; p <= last; ++p)
    for (std::int32_t q = first; q <= last; ++q)
      if (p != q && g_param_names[p] == g_param_names[q]) return Text(MSG_PARAMETER_NAME_TWICE);
  for (std::int32_t p = first; p <= last; ++p)
    if (any_name_equals(g_param_names[p], g_var_names, 1, g_var_count)) return Text(MSG_PARAMETER_NAMED_LIKE_LOCAL);
  for (std::int32_t p = first; p <= last; ++p)
    if (is_reserved_word(g_param_names[p])) return Text(MSG_PARAMETER_NAME_RESERVED);
  return {};
}

// Compiles one function, from its RAM base to its closing brace.
StatusText compile_function(Window& window) {
  const std::int32_t k = g_function_count + 1;
  g_ram_next = g_globals_ram_end;
  StatusText status = find_callee_ram_base();
  if (status != STATUS_RAM_BASE_DONE) return status;
  status = scan_function_header();
  if (status != STATUS_HEADER_DONE) return status;
  window.append_log(Text(LOG_COMPILING) + as_text(g_func_names[k]) + Text(LOG_FUNCTION_SUFFIX));

  skip_blanks_and_comments();
  if (source_byte(g_scan_pos) != '{') return Text(MSG_FUNCTION_DEFINITION_ERROR);
  ++g_scan_pos;
  status = scan_variable_declarations();
  if (Text failed = check_function_names(k); !failed.empty()) status = failed;
  if (status == STATUS_ENTER_FUNCTION_SCAN) return Text(MSG_HEADER_AMONG_LOCALS);
  if (status != STATUS_VARIABLE_SCAN_END) return status;

  g_func_ram_end[k] = g_ram_next;
  if (source_byte(g_scan_pos) == '}') {
    finish_function(window, false);
    ++g_scan_pos;
  } else {
    bool ends_with_return = false;
    status = compile_function_body(ends_with_return);
    if (status != STATUS_DONE) return status;
    finish_function(window, ends_with_return);
  }
  skip_blanks_and_comments();
  return Text(STATUS_NEXT_FUNCTION);
}

StatusText compile(Window& window) {
  window.replace_log(Text(LOG_COMPILE_START));
  if (const int item = window.current_item(); item >= 0) {
    const ByteArray name = window.item_text(item);
    // Compiling text that was never saved would report success for the wrong source.
    if (!write_file(name, window.editor_text())) return Text(MSG_WRITE_FAILED) + as_text(name);
    g_source = read_file(PROJECT_MAIN_FILE) + Text(SOURCE_PADDING);
  } else {
    g_source = SOURCE_PADDING;
  }
  merge_include_files();
  expand_defines();

  g_scan_pos = 0;
  g_rom_high_bytes.clear();
  g_rom_low_bytes.clear();
  g_rom_word_count = 0;
  g_fixed_address_mode = 0;
  g_global_count = 0;
  g_ram_next = RAM_START;
  emit_startup_words();

  StatusText status = scan_variable_declarations();
  if (status != STATUS_ENTER_FUNCTION_SCAN && status != STATUS_VARIABLE_SCAN_END) return status;
  g_main_jump_word = g_rom_word_count;
  emit_jump_to(0);
  keep_globals();
  g_globals_ram_end = g_ram_next;
  g_function_count = 0;
  g_func_first_param[1] = 0;

  for (;;) {
    status = compile_function(window);
    if (status != STATUS_NEXT_FUNCTION) return status;
    if (source_byte(g_scan_pos) == ' ') return finish_compilation(window);
  }
}

}  // namespace

bool is_reserved_word(std::string_view name) {
  for (std::string_view word : RESERVED_WORDS)
    if (name == word) return true;
  return false;
}

void compile_project(Window& window) {
  StatusText status;
  try {
    status = compile(window);
  } catch (const TableCapacityExceeded&) {
    status = Text(MSG_TABLE_FULL);
  }
  window.append_log(status + Text(LINE_END));
}

}  // namespace tarvik
