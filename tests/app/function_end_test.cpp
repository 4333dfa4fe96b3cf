#include "isa/isa.h"
#include "support/support.h"

namespace tarvik::test {
namespace {

class FunctionEnd : public CompilerTest {
 protected:
  // Function k = g_function_count + 1 as the header scanner leaves it, with its log line.
  void function_being_compiled(const char* name, const char* return_type, std::int32_t slot) {
    const std::int32_t k = g_function_count + 1;
    g_func_names[k] = name;
    g_func_return_types[k] = return_type;
    g_func_return_slot[k] = slot;
    window.replace_log("开始编译\r\n");
    window.append_log(std::string("正在编译") + name + "函数...\r\n");
  }
};

TEST_F(FunctionEnd, ReturnSequenceLoadsTheSlotIntoTheAddressRegister) {
  emit_return_jump(0x01FFFE);
  EXPECT_EQ(words(),
            "35 01 34 FF 33 FE FF FF 21 FF "
            "35 01 34 FF 33 FF FF FF 22 FF "
            "35 02 34 00 33 00 FF FF 25 FF "
            "14 AF 13 FF 0D FF");
  EXPECT_EQ(g_rom_word_count, RETURN_SEQUENCE_WORDS);
}

// Every function but main returns at its closing brace, unless its body ended with a return
// of its result; a void function keeps its own even then.
TEST_F(FunctionEnd, AFunctionOtherThanMainReturnsAtItsClosingBrace) {
  const struct {
    const char* name;
    const char* return_type;
    bool ends_with_return;
    std::int32_t words;
  } cases[] = {
      {"f", "void", false, 18}, {"f", "void", true, 18},  {"f", "int", false, 18},
      {"f", "int", true, 0},    {"f", "void*", false, 18}, {"f", "void*", true, 0},
      {"main", "void", false, 0}, {"main", "int", false, 0}, {"main", "int", true, 0},
  };
  for (const auto& c : cases) {
    init_global_tables();
    g_function_count = 2;
    function_being_compiled(c.name, c.return_type, 0x010020);
    finish_function(window, c.ends_with_return);
    EXPECT_EQ(g_rom_word_count, c.words) << c.name << " " << c.return_type << " " << c.ends_with_return;
    EXPECT_EQ(g_function_count, 3);
  }
}

TEST_F(FunctionEnd, TheFunctionsLogLineEndsInOk) {
  function_being_compiled("f", "void", 0x010015);
  finish_function(window, false);
  EXPECT_EQ(window.log_text(), "开始编译\r\n正在编译f函数...OK\r\n");
  EXPECT_EQ(words_from(0).substr(0, 17), "35 01 34 00 33 15");
}

TEST_F(FunctionEnd, AnEmptyLogIsNotCutBelowNothing) {
  g_func_names[1] = "main";
  finish_function(window, false);
  EXPECT_EQ(window.log_text(), "OK\r\n");
}

}  // namespace
}  // namespace tarvik::test
