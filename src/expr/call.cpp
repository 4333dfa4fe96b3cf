#include "app/name_index.h"
#include "expr/evaluator.h"
#include "stmt/stmt.h"

namespace tarvik::expr {

namespace {

std::int32_t new_constant(std::int32_t value) {
  const std::int32_t c = g_constant_count;
  g_constant_table[c] = value;
  g_constant_count += 1;
  return c;
}

void set_entry(std::vector<OperandDescriptor>& list, std::int32_t number, OperandDescriptor d) {
  if (number > TABLE_CAPACITY) throw TableCapacityExceeded();
  if (list.size() <= static_cast<std::size_t>(number)) list.resize(static_cast<std::size_t>(number) + 1);
  list[static_cast<std::size_t>(number)] = d;
}

// The arguments between the brackets, each a name, a token or a run of digits; false when the
// scan failed.
bool read_arguments(Scan& s, std::int32_t& count) {
  std::int32_t p = g_level_open_pos[s.level()] + 1;
  count = 0;
  for (;;) {
    p = s.index.next_non_blank(p);
    const std::uint8_t c = s.byte_at(p);
    if (c == ')') return true;
    if (is_name_start(c)) {
      std::int32_t end = p + 1;
      while (is_name_byte(s.byte_at(end))) ++end;
      const OperandDescriptor d = lookup_operand(s.item_text({p, end - p}));
      if (d == 0) {
        s.fail(STATUS_ARGUMENT_NOT_FOUND);
        return false;
      }
      set_entry(s.call_arguments, ++count, d);
      p = end;
    } else if (c >= '0' && c <= '9') {
      std::uint32_t value = 0;  // a run of digits keeps its low 32 bits
      for (; s.byte_at(p) >= '0' && s.byte_at(p) <= '9'; ++p) value = value * 10 + (s.byte_at(p) - '0');
      set_entry(s.call_arguments, ++count, make_operand(OPERAND_KIND_CONSTANT, new_constant(static_cast<std::int32_t>(value))));
    } else if (c >= 0x80) {
      set_entry(s.call_arguments, ++count, read_operand_token(g_expression_text, static_cast<std::size_t>(p)));
      p += 4;
    } else {
      s.fail(STATUS_ARGUMENT_SCAN_ERROR);
      return false;
    }
    p = s.index.next_non_blank(p);
    if (s.byte_at(p) == ')') return true;
    if (s.byte_at(p) != ',') {
      s.fail(STATUS_ARGUMENT_SEPARATOR_ERROR);
      return false;
    }
    ++p;
  }
}

StatusText move(OperandDescriptor to, OperandDescriptor from) {
  Text op = "=";
  return generate_binary_operation_code(0, to, op, from);
}

// The result copied out of the return-value cell into a new temporary, which a later call
// cannot overwrite; its token carries the return type.
StatusText copy_result(int kind, OperandDescriptor& result) {
  const std::int32_t t = g_temp_ram_next & 0xFFFFFF;
  StatusText status;
  std::int32_t bytes = 0;
  if (is_pointer(kind)) {
    status = move(make_operand(OPERAND_KIND_ADDRESS, t), make_operand(OPERAND_KIND_ADDRESS, RETURN_VALUE_ADDRESS));
    bytes = 3;
  } else if (is_v8(kind)) {
    status = move(REGISTER_A, make_operand(OPERAND_KIND_UCHAR, RETURN_VALUE_ADDRESS));
    if (status == STATUS_DONE) status = move(make_operand(OPERAND_KIND_UCHAR, t), REGISTER_A);
    bytes = 1;
  } else {
    const int unsigned_kind = is_v16(kind) ? OPERAND_KIND_UINT : OPERAND_KIND_ULONG;
    status = move(make_operand(unsigned_kind, t), make_operand(unsigned_kind, RETURN_VALUE_ADDRESS));
    bytes = variable_width(kind);
  }
  if (status != STATUS_DONE) return status;
  g_temp_ram_next += bytes;
  result = make_operand(kind, t);
  return status;
}

StatusText make_result(Scan& s, std::int32_t callee, OperandDescriptor& result) {
  const std::string_view type = g_func_return_types[callee];
  if (type == "void") {
    result = make_operand(OPERAND_KIND_CONSTANT, new_constant(0));
    return Text(STATUS_DONE);
  }
  const int kind = result_type_kind(type);
  if (kind == 0) return Text(STATUS_RETURN_TYPE_UNKNOWN);
  const std::int32_t after = s.index.next_non_blank(s.expr_pos + 1);
  if (static_cast<std::size_t>(after) < g_expression_text.size() && s.byte_at(after) == ';') {
    result = make_operand(kind, RETURN_VALUE_ADDRESS);
    return Text(STATUS_DONE);
  }
  return copy_result(kind, result);
}

StatusText call(Scan& s, OperandDescriptor& result) {
  if (g_register_a_state != REG_A_FREE) {
    const StatusText status = spill_into_expression_text(s, {});
    if (status != STATUS_DONE) return status;
  }
  std::int32_t count = 0;
  if (!read_arguments(s, count)) return s.loop_status;
  const std::int32_t v = find_finished_function(g_level_name[s.level()]);
  if (v == 0) return Text(STATUS_FUNCTION_NOT_FOUND);
  const std::int32_t first = g_func_first_param[v];
  const std::int32_t parameters = g_func_param_end[v] - first;
  if (parameters > count) return Text(STATUS_TOO_FEW_ARGUMENTS);
  if (parameters < count) return Text(STATUS_TOO_MANY_ARGUMENTS);
  bool types_known = true;
  for (std::int32_t j = 1; j <= parameters; ++j) {
    const int kind = parameter_type_kind(g_param_types[first + j]);
    types_known = types_known && kind != 0;
    set_entry(s.call_parameters, j, make_operand(kind, g_param_addrs[first + j]));
  }
  if (!types_known) return Text(STATUS_PARAMETER_TYPE_UNKNOWN);
  for (std::int32_t j = count; j >= 1; --j) {
    ByteArray assignment(4, ' ');
    write_operand_token(assignment, 0, s.call_parameters[static_cast<std::size_t>(j)]);
    assignment += '=';
    assignment += ByteArray(4, ' ');
    write_operand_token(assignment, 5, s.call_arguments[static_cast<std::size_t>(j)]);
    const StatusText status = run_subexpression(s, assignment);
    if (status != STATUS_DONE) return status;
  }
  const std::int32_t back = g_rom_word_count + CALL_RETURN_OFFSET;
  const std::int32_t slot = g_func_return_slot[v];
  emit_store_imm(slot, low_byte(back));
  emit_store_imm(slot + 1, middle_byte(back));
  emit_store_imm(slot + 2, high_byte(back));
  emit_jump_to(g_func_entry[v]);
  return make_result(s, v, result);
}

}  // namespace

void compile_function_call(Scan& s) {
  OperandDescriptor result = 0;
  const StatusText status = call(s, result);
  if (status != STATUS_DONE) {
    s.fail(status);
    return;
  }
  const std::int32_t at = g_level_name_pos[s.level()];
  put_token(s, at, result);
  blank(s, at + 4, s.expr_pos + 1);
  resume_at_name(s);
}

}  // namespace tarvik::expr
