#include "app/name_index.h"

#include <algorithm>
#include <functional>

namespace tarvik {

namespace {

std::size_t hash_of(std::string_view name) { return std::hash<std::string_view>{}(name); }

std::uint32_t tag_of(std::size_t hash) { return static_cast<std::uint32_t>(hash >> 32); }

// Power-of-two slot counts, at most three quarters used.
bool fits(std::size_t entries, std::size_t capacity) { return entries * 4 <= capacity * 3; }

}  // namespace

std::int32_t NameIndex::find(RecordTable<ByteArray>& names, std::int32_t first, std::int32_t last,
                             std::string_view name) {
  if (!valid_ || first != first_ || last < last_ || version_ != version_of_()) {
    rebuild(names, first, last);
  } else if (last > last_ && !extend(names, last)) {
    rebuild(names, first, last);
  }
  return probe(names, name);
}

std::int32_t NameIndex::probe(RecordTable<ByteArray>& names, std::string_view name) const {
  const std::size_t hash = hash_of(name);
  for (std::size_t s = hash & mask_;; s = (s + 1) & mask_) {
    const Slot& slot = slots_[s];
    if (slot.entry == 0) return 0;
    if (slot.tag == tag_of(hash) && names[slot.entry] == name) return slot.entry;
  }
}

void NameIndex::rebuild(RecordTable<ByteArray>& names, std::int32_t first, std::int32_t last) {
  // A table access that throws leaves the index invalid, not half built.
  valid_ = false;
  // Sized for the table at most: a range past its end throws at the first entry beyond it.
  const std::size_t count = last >= first ? static_cast<std::size_t>(last - first) + 1 : 0;
  std::size_t capacity = 16;
  while (!fits(std::min<std::size_t>(count, TABLE_CAPACITY), capacity)) capacity *= 2;
  slots_.assign(capacity, Slot{0, 0});
  mask_ = capacity - 1;
  for (std::int32_t i = first; i <= last; ++i) insert(names, i);
  first_ = first;
  last_ = last;
  version_ = version_of_();
  valid_ = true;
}

bool NameIndex::extend(RecordTable<ByteArray>& names, std::int32_t last) {
  // Counting entries rather than distinct names keeps the test cheap and the load bounded.
  if (!fits(static_cast<std::size_t>(last - first_) + 1, slots_.size())) return false;
  valid_ = false;
  for (std::int32_t i = last_ + 1; i <= last; ++i) insert(names, i);
  last_ = last;
  valid_ = true;
  return true;
}

// Entries come in rising order, so a name already in the index keeps its lower entry.
void NameIndex::insert(RecordTable<ByteArray>& names, std::int32_t entry) {
  const ByteArray& name = names[entry];
  const std::size_t hash = hash_of(name);
  for (std::size_t s = hash & mask_;; s = (s + 1) & mask_) {
    Slot& slot = slots_[s];
    if (slot.entry == 0) {
      slot = Slot{tag_of(hash), entry};
      return;
    }
    if (slot.tag == tag_of(hash) && names[slot.entry] == name) return;
  }
}

std::int32_t find_finished_function(std::string_view name) {
  static NameIndex functions(name_tables_restart_version);
  return functions.find(g_func_names, 1, g_function_count, name);
}

}  // namespace tarvik
