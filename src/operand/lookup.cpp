#include <cstdint>

#include "app/name_index.h"
#include "operand/operand.h"

namespace tarvik {

namespace {

// The kind of a declared type text, 0 when it has none. A Text ends at its first NUL.
int kind_of_type(const Text& type, bool parameter) {
  const std::string_view text = std::string_view(type).substr(0, type.find('\0'));
  for (const TypeKind& entry : TYPE_KIND_TABLE)
    if (entry.type == text) return parameter ? entry.parameter_kind : entry.kind;
  return 0;
}

// The scanners note every write of the locals and parameters, so a table refilled with the
// same count is seen too. The kept globals change only when a compile keeps them anew.
NameIndex local_index(name_tables_version);
NameIndex parameter_index(name_tables_version);
NameIndex global_index(name_tables_restart_version);

OperandDescriptor entry_operand(const Text& type, std::int32_t address, bool parameter) {
  const int kind = kind_of_type(type, parameter);
  return kind == 0 ? 0 : make_operand(kind, address);
}

}  // namespace

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
