#include <cstdint>

#include "app/name_index.h"
#include "operand/operand.h"

namespace tarvik {

namespace {

// The scanners note every write of the locals and parameters, so a table refilled with the
// same count is seen too. The kept globals change only when a compile keeps them anew.
NameIndex local_index(name_tables_version);
NameIndex parameter_index(name_tables_version);
NameIndex global_index(name_tables_restart_version);

OperandDescriptor entry_operand(const Text& type, std::int32_t address, bool parameter) {
  const int kind = parameter ? parameter_type_kind(type) : variable_type_kind(type);
  return kind == 0 ? 0 : make_operand(kind, address);
}

// The row of a type text, or none. A Text ends at its first NUL.
const TypeKind* type_row(std::string_view type) {
  const std::string_view text = type.substr(0, type.find('\0'));
  for (const TypeKind& entry : TYPE_KIND_TABLE)
    if (entry.type == text) return &entry;
  return nullptr;
}

}  // namespace

int variable_type_kind(std::string_view type) {
  const TypeKind* row = type_row(type);
  return row == nullptr ? 0 : row->kind;
}

int parameter_type_kind(std::string_view type) {
  const TypeKind* row = type_row(type);
  return row == nullptr ? 0 : row->parameter_kind;
}

int result_type_kind(std::string_view type) {
  const int kind = variable_type_kind(type);
  return is_array(kind) ? 0 : kind;
}

OperandDescriptor lookup_operand(std::string_view name) {
  if (const std::int32_t i = local_index.find(g_var_names, 1, g_var_count, name))
    return entry_operand(g_var_types[i], g_var_addrs[i], false);
  const std::int32_t k = g_function_count + 1;
  if (const std::int32_t j = parameter_index.find(g_param_names, g_func_first_param[k] + 1, g_func_param_end[k], name))
    return entry_operand(g_param_types[j], g_param_addrs[j], true);
  if (const std::int32_t i = global_index.find(g_global_names, 1, g_global_count, name))
    return entry_operand(g_global_types[i], g_global_addrs[i], false);
  for (const PseudoOperand& pseudo : PSEUDO_OPERAND_TABLE)
    if (pseudo.name == name) return make_operand(pseudo.kind, 0);
  return 0;
}

}  // namespace tarvik
