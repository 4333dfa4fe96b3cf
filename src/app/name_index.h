// Lookups by name in the record tables: the lowest entry of a range bearing each name, so
// that a name looked up U times among G entries costs U probes, not G x U comparisons.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "app/state.h"

namespace tarvik {

// Slots keep a hash tag and an entry number, never a name: a probe is confirmed by the
// table's own entry. Types and addresses are always read from the table.
class NameIndex {
 public:
  using Version = std::uint64_t (*)();

  // The index stands while `version` returns what it did at the last build and the range
  // keeps its first entry and does not shrink; a range grown at its end gets the new entries
  // added. With name_tables_version every noted write rebuilds it (tables a scan refills at
  // any time); with name_tables_restart_version only a restart does (tables that only grow).
  explicit NameIndex(Version version) : version_of_(version) {}

  // The entry that first bears `name` among `first` to `last`, or 0.
  std::int32_t find(RecordTable<ByteArray>& names, std::int32_t first, std::int32_t last, std::string_view name);

 private:
  struct Slot {
    std::uint32_t tag;
    std::int32_t entry;  // 0: empty
  };

  std::int32_t probe(RecordTable<ByteArray>& names, std::string_view name) const;
  void rebuild(RecordTable<ByteArray>& names, std::int32_t first, std::int32_t last);
  // Adds entries up to `last`; false when they do not fit and the index must be rebuilt.
  bool extend(RecordTable<ByteArray>& names, std::int32_t last);
  void insert(RecordTable<ByteArray>& names, std::int32_t entry);

  Version version_of_;
  bool valid_ = false;
  std::uint64_t version_ = 0;
  std::int32_t first_ = 0;
  std::int32_t last_ = 0;
  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
};

// The finished function (1 .. g_function_count) that first bears `name`, or 0. Entries once
// indexed count as unchanged: whoever rewrites one in place calls note_name_tables_restarted().
std::int32_t find_finished_function(std::string_view name);

}  // namespace tarvik
