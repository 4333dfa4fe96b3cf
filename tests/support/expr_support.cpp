#include "support/expr_support.h"

namespace tarvik::test {

ByteArray expression(std::initializer_list<Piece> pieces) { return level_text(pieces) + ";   "; }

void ExpressionTest::SetUp() {
  ReductionTest::SetUp();
  g_ram_next = EXPR_TEMPORARIES;
  g_function_count = 0;
}

void ExpressionTest::local(const char* name, const char* type, std::int32_t address) {
  note_name_tables_changed();
  ++g_var_count;
  g_var_names[g_var_count] = name;
  g_var_types[g_var_count] = type;
  g_var_addrs[g_var_count] = address;
}

std::int32_t ExpressionTest::function(const char* name, const char* return_type, std::initializer_list<Parameter> parameters,
                                      std::int32_t return_slot, std::int32_t entry) {
  const std::int32_t v = ++g_function_count;
  const std::int32_t first = v == 1 ? 0 : g_func_param_end[v - 1];
  g_func_names[v] = name;
  g_func_return_types[v] = return_type;
  g_func_first_param[v] = first;
  g_func_param_end[v] = first + static_cast<std::int32_t>(parameters.size());
  std::int32_t p = first;
  for (const Parameter& parameter : parameters) {
    ++p;
    g_param_names[p] = "p" + std::to_string(p);
    g_param_types[p] = parameter.type;
    g_param_addrs[p] = parameter.address;
  }
  g_func_return_slot[v] = return_slot;
  g_func_entry[v] = entry;
  note_name_tables_changed();
  return v;
}

StatusText ExpressionTest::evaluate(std::initializer_list<Piece> pieces, std::int32_t is_condition) {
  return evaluate_text(expression(pieces), is_condition);
}

StatusText ExpressionTest::evaluate_text(const ByteArray& text, std::int32_t is_condition) {
  first_word = g_rom_word_count;
  return process_main_expression(text, is_condition);
}

}  // namespace tarvik::test
