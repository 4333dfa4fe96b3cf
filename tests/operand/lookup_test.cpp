#include <cstdint>
#include <vector>

#include "operand/operand.h"
#include "support/support.h"

namespace tarvik::test {
namespace {

struct Entry {
  const char* name;
  const char* type;
  std::int32_t address;
};

class LookupOperand : public CompilerTest {
 protected:
  static void set_locals(const std::vector<Entry>& entries) {
    g_var_count = fill(g_var_names, g_var_types, g_var_addrs, 1, entries);
  }
  static void set_globals(const std::vector<Entry>& entries) {
    g_global_count = fill(g_global_names, g_global_types, g_global_addrs, 1, entries);
  }
  // The parameters of function k, placed after those of the functions before it.
  static void set_parameters(std::int32_t k, const std::vector<Entry>& entries) {
    g_func_first_param[k] = k == 1 ? 0 : g_func_param_end[k - 1];
    g_func_param_end[k] = fill(g_param_names, g_param_types, g_param_addrs, g_func_first_param[k] + 1, entries);
  }
  static std::uint32_t lookup(std::string_view name) { return static_cast<std::uint32_t>(lookup_operand(name)); }

 private:
  // Returns the number of the last entry written.
  static std::int32_t fill(RecordTable<ByteArray>& names, RecordTable<Text>& types, RecordTable<std::int32_t>& addresses,
                           std::int32_t first, const std::vector<Entry>& entries) {
    note_name_tables_restarted();
    std::int32_t k = first;
    for (const Entry& entry : entries) {
      names[k] = entry.name;
      types[k] = entry.type;
      addresses[k] = entry.address;
      ++k;
    }
    return k - 1;
  }
};

TEST_F(LookupOperand, FirstEntryBearingTheNameDecides) {
  const struct {
    const char* what;
    std::vector<Entry> locals, parameters, globals;
    const char* name;
    std::uint32_t expected;
  } cases[] = {
      {"local int hides global array", {{"x", "int", 0x10020}}, {}, {{"x", "char[]", 0x10100}}, "x", 0x84010020},
      {"parameter array is a pointer", {}, {{"p", "char[]", 0x10030}}, {}, "p", 0x89010030},
      {"local array", {{"s", "char[]", 0x10040}}, {}, {}, "s", 0x8F010040},
      {"global array", {}, {}, {{"s", "long int[]", 0x10040}}, "s", 0x91010040},
      {"parameter hides global", {}, {{"y", "unsigned int", 0x10022}}, {{"y", "char", 0x10100}}, "y", 0x81010022},
      {"local hides parameter", {{"y", "long int*", 0x10050}}, {{"y", "char", 0x10022}}, {}, "y", 0x8B010050},
      {"global after misses", {{"a", "int", 0x10020}}, {{"b", "int", 0x10022}}, {{"c", "unsigned char", 0x10100}}, "c",
       0x80010100},
      {"kindless local ends the search", {{"v", "void", 0x10020}}, {}, {{"v", "int", 0x10100}}, "v", 0},
      {"pointer to pointer has no kind", {{"v", "int**", 0x10020}}, {}, {{"v", "int", 0x10100}}, "v", 0},
      {"kindless parameter ends the search", {}, {{"v", "void*", 0x10020}}, {{"v", "int", 0x10100}}, "v", 0},
      {"type text must match exactly", {{"v", "int ", 0x10020}}, {}, {}, "v", 0},
      {"lowest local wins", {{"x", "int", 0x10020}, {"x", "char", 0x10022}}, {}, {}, "x", 0x84010020},
      {"lowest kindless wins", {}, {}, {{"x", "void", 0x10020}, {"x", "char", 0x10022}}, "x", 0},
      {"address cut to 24 bits", {{"x", "int", 0x7F123456}}, {}, {}, "x", 0x84123456},
      {"negative address cut", {}, {}, {{"x", "char*", -1}}, "x", 0x89FFFFFF},
      {"variable hides pseudo-operand", {{"_A_0", "int", 0x10020}}, {}, {}, "_A_0", 0x84010020},
      {"global hides pseudo-operand", {}, {}, {{"_RAM", "char", 0x10100}}, "_RAM", 0x83010100},
      {"GBK name", {{"\xB1\xE4\xC1\xBF", "int", 0x10020}}, {}, {}, "\xB1\xE4\xC1\xBF", 0x84010020},
      {"no prefix match", {{"xy", "int", 0x10020}}, {}, {{"x1", "int", 0x10100}}, "x", 0},
      {"no longer name", {{"x", "int", 0x10020}}, {}, {}, "xy", 0},
      {"case-sensitive", {{"X", "int", 0x10020}}, {}, {}, "x", 0},
      {"found nowhere", {{"a", "int", 0x10020}}, {{"b", "int", 0x10022}}, {{"c", "int", 0x10100}}, "d", 0},
      {"_RAM", {}, {}, {}, "_RAM", 0xE9000000},
      {"_B_AL", {}, {}, {}, "_B_AL", 0xEC000000},
      {"_A", {}, {}, {}, "_A", 0xFF000000},
      {"_A2 not taken for _A", {}, {}, {}, "_A2", 0xFD000000},
      {"_A_0 pseudo-operand", {}, {}, {}, "_A_0", 0xEF000000},
      {"pseudo-operand in other case", {}, {}, {}, "_ram", 0},
      {"pseudo-operand with a character added", {}, {}, {}, "_RAMX", 0},
  };
  for (const auto& c : cases) {
    init_global_tables();
    set_locals(c.locals);
    set_parameters(1, c.parameters);
    set_globals(c.globals);
    EXPECT_EQ(lookup(c.name), c.expected) << c.what;
  }
}

TEST_F(LookupOperand, OnlyTheCurrentFunctionsParameters) {
  set_parameters(1, {{"p", "int", 0x10020}});
  set_parameters(2, {{"q", "char", 0x10030}});
  set_globals({{"p", "char*", 0x10100}});
  EXPECT_EQ(lookup("p"), 0x84010020u);
  EXPECT_EQ(lookup("q"), 0u);
  g_function_count = 1;
  EXPECT_EQ(lookup("p"), 0x89010100u);
  EXPECT_EQ(lookup("q"), 0x83010030u);
}

// The tables change under the lookup without notice; every answer must still be the
// first entry of the tables as they are now.
TEST_F(LookupOperand, AnswersFromTheTablesAsTheyAreNow) {
  set_locals({{"x", "int", 0x10020}, {"y", "int", 0x10022}, {"z", "int", 0x10024}});
  set_globals({{"x", "char", 0x10100}, {"w", "char", 0x10101}});
  EXPECT_EQ(lookup("x"), 0x84010020u);
  EXPECT_EQ(lookup("y"), 0x84010022u);
  EXPECT_EQ(lookup("w"), 0x83010101u);

  // The next function's locals: same count, other names, a name moved to a lower entry.
  set_locals({{"y", "long int", 0x10030}, {"v", "int", 0x10034}, {"u", "char", 0x10036}});
  EXPECT_EQ(lookup("x"), 0x83010100u);
  EXPECT_EQ(lookup("y"), 0x85010030u);
  EXPECT_EQ(lookup("z"), 0u);
  EXPECT_EQ(lookup("v"), 0x84010034u);
  EXPECT_EQ(lookup("u"), 0x83010036u);

  // Type and address rewritten under a name the index holds.
  g_var_types[2] = "void";
  EXPECT_EQ(lookup("v"), 0u);
  g_var_types[2] = "int[]";
  g_var_addrs[2] = 0x10040;
  EXPECT_EQ(lookup("v"), 0x90010040u);

  // A shorter scope leaves its former last entry unseen.
  g_var_count = 2;
  EXPECT_EQ(lookup("u"), 0u);

  // A recompile: the globals renamed, same count.
  set_globals({{"w", "int", 0x10200}, {"x", "int", 0x10202}});
  EXPECT_EQ(lookup("x"), 0x84010202u);
  EXPECT_EQ(lookup("w"), 0x84010200u);
}

}  // namespace
}  // namespace tarvik::test
