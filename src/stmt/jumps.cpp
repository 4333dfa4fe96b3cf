#include "stmt/body.h"

#include "operand/operand.h"

namespace tarvik::stmt {

namespace {

bool compiling_main() { return as_text(g_func_names[g_function_count + 1]) == "main"; }

}  // namespace

bool Body::add_goto(const ByteArray& name, std::int32_t word) {
  if (waiting_gotos_.contains(name)) return false;
  if (goto_count_ >= TABLE_CAPACITY) throw TableCapacityExceeded();
  ++goto_count_;
  waiting_gotos_.emplace(name, word);
  return true;
}

bool Body::take_label(const ByteArray& word) {
  const auto waiting = waiting_gotos_.find(word);
  skip_blanks_and_comments();
  if (waiting == waiting_gotos_.end() || current_byte() != ':') return false;
  patch_jump_target(waiting->second, g_rom_word_count);
  waiting_gotos_.erase(waiting);
  ++g_scan_pos;
  return true;
}

StatusText Body::end() {
  // A goto whose label never followed would silently jump to the next word.
  if (!waiting_gotos_.empty()) return Text(MSG_GOTO_NAME);
  patch_jump_list(main_returns_, g_rom_word_count);
  return Text(STATUS_DONE);
}

StatusText compile_return(Body& body) {
  skip_blanks_and_comments();
  if (current_byte() == ';') {
    ++g_scan_pos;
  } else {
    // The return-value cell is the target of an assignment, typed by the function's result.
    const int kind = result_type_kind(g_func_return_types[g_function_count + 1]);
    if (kind == 0) return Text(MSG_RETURN_TYPE);
    ByteArray prefix(4, ' ');
    write_operand_token(prefix, 0, make_operand(kind, RETURN_VALUE_ADDRESS));
    prefix += "=";
    prefix += TOKEN_PAD;
    const StatusText status = extract_expression(0, 0, prefix);
    if (status != STATUS_DONE) return status;
  }
  if (compiling_main()) {
    body.add_main_return(g_rom_word_count);
    emit_jump_to(0);
  } else {
    emit_return_jump(g_func_return_slot[g_function_count + 1]);
  }
  return Text(STATUS_DONE);
}

StatusText compile_goto(Body& body) {
  skip_blanks_and_comments();
  if (!is_letter(current_byte())) return Text(MSG_GOTO_NAME);
  const ByteArray name = read_identifier();
  skip_blanks_and_comments();
  if (current_byte() != ';') return Text(MSG_GOTO_NAME);
  if (!body.add_goto(name, g_rom_word_count)) return Text(MSG_GOTO_NAME_TWICE);
  emit_jump_to(g_rom_word_count + 4);
  ++g_scan_pos;
  return Text(STATUS_DONE);
}

StatusText compile_rom_run() {
  skip_blanks_and_comments();
  if (current_byte() != ';') return Text(MSG_ROM_RUN);
  emit_jump_to(ROM_RUN_TARGET);
  ++g_scan_pos;
  return Text(STATUS_DONE);
}

}  // namespace tarvik::stmt
