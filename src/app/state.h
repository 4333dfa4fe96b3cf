// The compiler's global state. Every subsystem reads and writes these globals directly;
// they live as long as the process and a compile resets only what it refills.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarvik {

// Texts are GBK bytes. A Text ends at its first NUL byte; a ByteArray may hold any byte.
using ByteArray = std::string;
using Text = std::string;
using StatusText = Text;
// The status of a step that went through; any other text is an error message.
inline constexpr std::string_view STATUS_DONE = "完成";
// The status of a step after which its caller goes on.
inline constexpr std::string_view STATUS_CONTINUE = "继续";
// 3-byte entries, each the word index of a jump's first prefix word, low byte first.
using JumpList = ByteArray;

inline constexpr std::int32_t TABLE_CAPACITY = 65536;

// A ByteArray read as a Text: its bytes up to the first NUL.
inline Text as_text(std::string_view bytes) { return Text(bytes.substr(0, bytes.find('\0'))); }

// Raised by a table access outside its 65536 entries; the driver turns it into a log line.
class TableCapacityExceeded : public std::runtime_error {
 public:
  TableCapacityExceeded() : std::runtime_error("table capacity exceeded") {}
};

// A table of TABLE_CAPACITY entries numbered from FIRST, all zero or empty until written.
// Storage comes in blocks as entries are touched, so start-up stays small and a reference
// to an entry stays valid while others are added; an index outside the entries throws.
template <class T, std::int32_t FIRST>
class Table {
 public:
  T& operator[](std::int32_t number) {
    if (number < FIRST || number - FIRST >= TABLE_CAPACITY) throw TableCapacityExceeded();
    const std::int32_t index = number - FIRST;
    auto& block = blocks_[index / BLOCK_SIZE];
    if (!block) block = std::make_unique<std::array<T, BLOCK_SIZE>>();
    return (*block)[index % BLOCK_SIZE];
  }
  void release() {
    for (auto& block : blocks_) block.reset();
  }

 private:
  static constexpr std::int32_t BLOCK_SIZE = 1024;
  std::array<std::unique_ptr<std::array<T, BLOCK_SIZE>>, TABLE_CAPACITY / BLOCK_SIZE> blocks_;
};

// Records (variables, functions, parameters, statement levels) are numbered 1 to 65536;
// slots (expression levels, open conditional operators, constants) 0 to 65535.
template <class T>
using RecordTable = Table<T, 1>;
template <class T>
using SlotTable = Table<T, 0>;

// Every global once: INT a 32-bit integer (0 at start), SCALAR a Text or ByteArray
// (empty at start), TABLE a table of records or slots.
#define TARVIK_GLOBAL_STATE(INT, SCALAR, TABLE) \
  /* Source text and scanning */ \
  SCALAR(ByteArray, g_source) \
  INT(g_scan_pos) \
  /* Program image */ \
  SCALAR(ByteArray, g_rom_high_bytes) \
  SCALAR(ByteArray, g_rom_low_bytes) \
  INT(g_rom_word_count) \
  INT(g_main_jump_word) \
  /* Variables and RAM allocation */ \
  INT(g_ram_next) \
  INT(g_fixed_address_mode) \
  INT(g_saved_ram_next) \
  INT(g_var_count) \
  TABLE(RecordTable<ByteArray>, g_var_names) \
  TABLE(RecordTable<Text>, g_var_types) \
  TABLE(RecordTable<std::int32_t>, g_var_addrs) \
  INT(g_global_count) \
  TABLE(RecordTable<ByteArray>, g_global_names) \
  TABLE(RecordTable<Text>, g_global_types) \
  TABLE(RecordTable<std::int32_t>, g_global_addrs) \
  INT(g_globals_ram_end) \
  /* Functions and parameters */ \
  INT(g_function_count) \
  TABLE(RecordTable<ByteArray>, g_func_names) \
  TABLE(RecordTable<Text>, g_func_return_types) \
  TABLE(RecordTable<std::int32_t>, g_func_first_param) \
  TABLE(RecordTable<std::int32_t>, g_func_param_end) \
  TABLE(RecordTable<std::int32_t>, g_func_return_slot) \
  TABLE(RecordTable<std::int32_t>, g_func_entry) \
  TABLE(RecordTable<std::int32_t>, g_func_ram_end) \
  TABLE(RecordTable<ByteArray>, g_param_names) \
  TABLE(RecordTable<Text>, g_param_types) \
  TABLE(RecordTable<std::int32_t>, g_param_addrs) \
  /* Conditions */ \
  SCALAR(JumpList, g_true_jumps) \
  SCALAR(JumpList, g_false_jumps) \
  SCALAR(Text, g_fall_through_sense) \
  /* Constants of the expression being compiled */ \
  TABLE(SlotTable<std::int32_t>, g_constant_table) \
  INT(g_constant_count) \
  /* Statement levels */ \
  INT(g_stmt_depth) \
  TABLE(RecordTable<ByteArray>, g_stmt_keyword) \
  TABLE(RecordTable<JumpList>, g_stmt_exit_jumps) \
  TABLE(RecordTable<std::int32_t>, g_stmt_braced) \
  TABLE(RecordTable<std::int32_t>, g_stmt_loop_start) \
  TABLE(RecordTable<std::int32_t>, g_stmt_for_step_pos) \
  TABLE(RecordTable<JumpList>, g_stmt_continue_jumps) \
  /* Expression levels, conditional operators, assignment splitting and register A */ \
  INT(g_expr_level) \
  INT(g_temp_ram_next) \
  /* the first word of the statement (its strings' stores included), or of its part after its last comma outside brackets */ \
  INT(g_expression_part_start) \
  SCALAR(ByteArray, g_expression_text) \
  TABLE(SlotTable<std::int32_t>, g_level_ternary_base) \
  TABLE(SlotTable<std::int32_t>, g_level_ternary_open) \
  TABLE(SlotTable<JumpList>, g_ternary_false_jumps) \
  TABLE(SlotTable<JumpList>, g_ternary_end_jumps) \
  TABLE(SlotTable<JumpList>, g_level_true_jumps) \
  TABLE(SlotTable<JumpList>, g_level_false_jumps) \
  TABLE(SlotTable<std::int32_t>, g_level_open_pos) \
  TABLE(SlotTable<std::int32_t>, g_level_body_pos) \
  TABLE(SlotTable<std::int32_t>, g_level_is_call) \
  TABLE(SlotTable<ByteArray>, g_level_name) \
  TABLE(SlotTable<std::int32_t>, g_level_name_pos) \
  INT(g_pending_subexpr_flag) \
  SCALAR(ByteArray, g_pending_subexpr_text) \
  INT(g_pending_subexpr_offset) \
  INT(g_assignment_seen) \
  INT(g_last_assignment_op) \
  INT(g_subexpr_result) \
  SCALAR(Text, g_register_a_state) \
  INT(g_register_a_token_pos) \
  SCALAR(Text, g_register_a_token_place) \
  SCALAR(ByteArray, g_reduced_expression)

#define TARVIK_DECLARE_INT(name) extern std::int32_t name;
#define TARVIK_DECLARE_SCALAR(type, name) extern type name;
#define TARVIK_DECLARE_TABLE(type, name) extern type name;
TARVIK_GLOBAL_STATE(TARVIK_DECLARE_INT, TARVIK_DECLARE_SCALAR, TARVIK_DECLARE_TABLE)

// Raised whenever a name of the variable, parameter or globals tables is written, so that an
// index over the names knows when to look again. Never lowered, not even by a reset: an
// index built before a reset must not pass for a current one.
void note_name_tables_changed();
std::uint64_t name_tables_version();
// Raised when entries already in the finished functions or the kept globals may be written
// again rather than added to: by a reset, by each compile, by anything that refills them in
// place. Indexes over those tables read a longer range as added entries and look again only
// after this. It notes a change of the name tables too.
void note_name_tables_restarted();
std::uint64_t name_tables_restart_version();

// Puts every global back to its start-up value: counts 0, texts and tables empty.
void init_global_tables();
// Releases the storage of every table and text.
void free_global_tables();

}  // namespace tarvik
