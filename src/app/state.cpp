#include "app/state.h"

namespace tarvik {

#define TARVIK_DEFINE_INT(name) std::int32_t name = 0;
#define TARVIK_DEFINE_SCALAR(type, name) type name;
#define TARVIK_DEFINE_TABLE(type, name) type name;
TARVIK_GLOBAL_STATE(TARVIK_DEFINE_INT, TARVIK_DEFINE_SCALAR, TARVIK_DEFINE_TABLE)

namespace {
std::uint64_t name_tables_changes = 0;
std::uint64_t name_tables_restarts = 0;
}  // namespace

void note_name_tables_changed() { ++name_tables_changes; }
std::uint64_t name_tables_version() { return name_tables_changes; }

void note_name_tables_restarted() {
  ++name_tables_restarts;
  note_name_tables_changed();
}
std::uint64_t name_tables_restart_version() { return name_tables_restarts; }

void init_global_tables() {
  note_name_tables_restarted();
#define TARVIK_RESET_INT(name) name = 0;
#define TARVIK_RESET_SCALAR(type, name) name = type();
#define TARVIK_RESET_TABLE(type, name) name.release();
  TARVIK_GLOBAL_STATE(TARVIK_RESET_INT, TARVIK_RESET_SCALAR, TARVIK_RESET_TABLE)
}

void free_global_tables() {
#define TARVIK_FREE_INT(name)
#define TARVIK_FREE_SCALAR(type, name) type().swap(name);
#define TARVIK_FREE_TABLE(type, name) name.release();
  TARVIK_GLOBAL_STATE(TARVIK_FREE_INT, TARVIK_FREE_SCALAR, TARVIK_FREE_TABLE)
}

}  // namespace tarvik
