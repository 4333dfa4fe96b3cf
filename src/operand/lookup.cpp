#include <cstdint>
#include <functional>
#include <vector>

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

// The lowest entry of a table range bearing each name, so that a name used U times among G
// entries costs U probes, not G x U comparisons. Slots keep a hash tag and an entry number,
// never a name: a probe is confirmed by the table's own entry. The index is built again when
// its range changes or a name of the tables was written since (the declaration scanners and
// the driver note every write), so a table refilled with the same count is seen too. Types
// and addresses are always read from the table.
class NameIndex {
 public:
  // The entry that first bears `name` among `first` to `last`, or 0.
  std::int32_t find(RecordTable<ByteArray>& names, std::int32_t first, std::int32_t last, std::string_view name) {
    if (!valid_ || first != first_ || last != last_ || version_ != name_tables_version()) rebuild(names, first, last);
    return probe(names, name, std::hash<std::string_view>{}(name));
  }

 private:
  struct Slot {
    std::uint32_t tag;
    std::int32_t entry;  // 0: empty
  };

  static std::uint32_t tag_of(std::size_t hash) { return static_cast<std::uint32_t>(hash >> 32); }

  // The entry bearing `name`, or 0.
  std::int32_t probe(RecordTable<ByteArray>& names, std::string_view name, std::size_t hash) const {
    for (std::size_t s = hash & mask_;; s = (s + 1) & mask_) {
      const Slot& slot = slots_[s];
      if (slot.entry == 0) return 0;
      if (slot.tag == tag_of(hash) && names[slot.entry] == name) return slot.entry;
    }
  }

  void rebuild(RecordTable<ByteArray>& names, std::int32_t first, std::int32_t last) {
    // A table access that throws leaves the index invalid, not half built.
    valid_ = false;
    const std::size_t count = last >= first ? static_cast<std::size_t>(last - first) + 1 : 0;
    std::size_t capacity = 16;
    while (capacity * 3 < count * 4) capacity *= 2;
    slots_.assign(capacity, Slot{0, 0});
    mask_ = capacity - 1;
    for (std::int32_t i = first; i <= last; ++i) {
      const ByteArray& name = names[i];
      const std::size_t hash = std::hash<std::string_view>{}(name);
      for (std::size_t s = hash & mask_;; s = (s + 1) & mask_) {
        Slot& slot = slots_[s];
        if (slot.entry == 0) {
          slot = Slot{tag_of(hash), i};
          break;
        }
        if (slot.tag == tag_of(hash) && names[slot.entry] == name) break;  // a lower entry bears it
      }
    }
    first_ = first;
    last_ = last;
    version_ = name_tables_version();
    valid_ = true;
  }

  bool valid_ = false;
  std::uint64_t version_ = 0;
  std::int32_t first_ = 0;
  std::int32_t last_ = 0;
  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
};

NameIndex local_index;
NameIndex parameter_index;
NameIndex global_index;

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
