#include "app/app.h"
#include "isa/isa.h"

namespace tarvik {

void emit_return_jump(std::int32_t slot) {
  emit_load_a(slot);
  emit_load_b(slot + 1);
  emit_load_a2(slot + 2);
  emit_a1_from_b();
  emit_a0_from_a();
  emit_jump_indirect();
}

void finish_function(Window& window, bool body_ends_with_return) {
  const std::int32_t k = g_function_count + 1;
  // A function with a result that reaches its closing brace returns too, rather than
  // running on into the next function's words.
  const bool is_void = g_func_return_types[k] == "void";
  if (as_text(g_func_names[k]) != "main" && (is_void || !body_ends_with_return)) {
    emit_return_jump(g_func_return_slot[k]);
  }

  // The function's log line ends in "函数...\r\n"; its line end becomes "OK\r\n".
  window.replace_log_end(LINE_END.size(), LOG_FUNCTION_OK);
  ++g_function_count;
}

}  // namespace tarvik
