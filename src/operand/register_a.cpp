#include "codegen/codegen.h"
#include "operand/operand.h"
#include "stmt/stmt.h"

namespace tarvik {

namespace {

bool is_value_in_a(OperandDescriptor x) {
  const int kind = get_operand_kind(x);
  return kind == OPERAND_KIND_A_UNSIGNED || kind == OPERAND_KIND_A_SIGNED;
}

// The pending value's token, when one stands whole at the recorded position.
bool token_stands_at_recorded_position(const ByteArray& text) {
  const std::int64_t pos = g_register_a_token_pos;
  if (pos < 0 || pos + 4 > static_cast<std::int64_t>(text.size())) return false;
  return is_value_in_a(read_operand_token(text, static_cast<std::size_t>(pos)));
}

}  // namespace

ByteArray& register_a_token_text(ByteArray& level_text) {
  return g_register_a_token_place == TOKEN_IN_SUBEXPRESSION ? level_text : g_expression_text;
}

StatusText spill_register_a(ByteArray& text, std::initializer_list<OperandDescriptor> exempt) {
  bool pending = g_register_a_state != REG_A_FREE && token_stands_at_recorded_position(text);
  for (const OperandDescriptor x : exempt) pending = pending && !is_value_in_a(x);
  if (pending) {
    const std::int32_t t = g_temp_ram_next & 0xFFFFFF;
    Text op = "=";
    const StatusText status = generate_binary_operation_code(0, make_operand(OPERAND_KIND_UCHAR, t), op, REGISTER_A);
    if (status != STATUS_DONE) return status;
    const int kind = g_register_a_state == REG_A_UNSIGNED ? OPERAND_KIND_UCHAR : OPERAND_KIND_CHAR;
    write_operand_token(text, static_cast<std::size_t>(g_register_a_token_pos), make_operand(kind, t));
    g_temp_ram_next += 1;
  }
  g_register_a_state = Text(REG_A_FREE);
  return Text(STATUS_DONE);
}

}  // namespace tarvik
