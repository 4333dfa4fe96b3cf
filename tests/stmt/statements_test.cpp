#include <functional>
#include <span>

#include "isa/isa.h"
#include "stmt/stmt.h"
#include "support/binop_support.h"
#include "support/program_support.h"

namespace tarvik::test {
namespace {

// With no globals, main's first word follows the start-up block and the jump to main.
constexpr std::int32_t MAIN = 13;

// A body and the words that main compiles it to, spelled with the emitters from word 13 on.
// `_NOP;` is one word; a condition `0` is one placeholder jump to its false exit; a condition
// `5` or an empty one jumps over the placeholder of its false exit (`always`).
struct Shape {
  const char* body;
  std::function<void()> words;
};

// A condition that always holds: a jump over its false exit, then that exit.
void always(std::int32_t false_exit) {
  emit_jump_to(g_rom_word_count + 8);
  emit_jump_to(false_exit);
}

class StatementShapes : public ProgramTest {
 protected:
  void expect_shapes(std::span<const Shape> shapes) {
    for (const Shape& shape : shapes) {
      SCOPED_TRACE(shape.body);
      const std::string log = compile(std::string("void main(){") + shape.body + "}");
      ASSERT_TRUE(compiled()) << log;
      EXPECT_EQ(words_from(MAIN), words_spelled_from(MAIN, shape.words));
    }
  }
};

TEST_F(StatementShapes, IfAndElse) {
  const Shape shapes[] = {
      {"if(0)_NOP;", [] { emit_jump_to(18), emit_nop(); }},
      {"if(5)_NOP;", [] { always(22), emit_nop(); }},
      // the false exit lands on the else part, the jump after the then part behind it
      {"if(0)_NOP;else _NOP;", [] { emit_jump_to(22), emit_nop(), emit_jump_to(23), emit_nop(); }},
      {"if(0){_NOP;}else{_NOP;_NOP;}", [] { emit_jump_to(22), emit_nop(), emit_jump_to(24), emit_nop(), emit_nop(); }},
      {"if(0){}else{}", [] { emit_jump_to(21), emit_jump_to(21); }},
      // one else level per else; the last statement closes them all
      {"if(0)_NOP;else if(0)_NOP;else _NOP;",
       [] {
         emit_jump_to(22), emit_nop(), emit_jump_to(32), emit_jump_to(31), emit_nop(), emit_jump_to(32), emit_nop();
       }},
      // an unbraced if that ends a block sees the "}" and closes; the block stays open
      {"{if(0)_NOP;}_NOP;", [] { emit_jump_to(18), emit_nop(), emit_nop(); }},
  };
  expect_shapes(shapes);
}

TEST_F(StatementShapes, Loops) {
  const Shape shapes[] = {
      {"while(0)_NOP;", [] { emit_jump_to(22), emit_nop(), emit_jump_to(MAIN); }},
      {"while(5){}", [] { always(25), emit_jump_to(MAIN); }},
      // the first expression runs once, before the condition; the third after the body, and
      // the scan goes on after the body
      {"for(_NOP;0;_NOP)_NOP;_NOP;",
       [] { emit_nop(), emit_jump_to(24), emit_nop(), emit_nop(), emit_jump_to(14), emit_nop(); }},
      // the third expression is skipped by its brackets and compiled once
      {"for(;0;((_NOP)))_NOP;", [] { emit_jump_to(23), emit_nop(), emit_nop(), emit_jump_to(MAIN); }},
      {"for(;;)_NOP;", [] { always(26), emit_nop(), emit_jump_to(MAIN); }},
      {"do _NOP; while(0);", [] { emit_nop(), emit_jump_to(22), emit_jump_to(MAIN); }},
      {"do{_NOP;_NOP;}while(5);", [] { emit_nop(), emit_nop(), always(27), emit_jump_to(MAIN); }},
      // two unbraced loops closed by their one body statement, the inner one first
      {"while(0)while(0)_NOP;",
       [] { emit_jump_to(30), emit_jump_to(26), emit_nop(), emit_jump_to(17), emit_jump_to(MAIN); }},
      {"while(5)if(0)_NOP;", [] { always(30), emit_jump_to(26), emit_nop(), emit_jump_to(MAIN); }},
      {"for(;0;)for(;0;)do _NOP; while(0);",
       [] {
         emit_jump_to(38), emit_jump_to(34), emit_nop(), emit_jump_to(30), emit_jump_to(21), emit_jump_to(17),
             emit_jump_to(MAIN);
       }},
      // a while header followed at once by "}" ends there; that "}" leaves the block open
      {"{while(0)}_NOP;}", [] { emit_jump_to(21), emit_jump_to(MAIN), emit_nop(); }},
  };
  expect_shapes(shapes);
}

TEST_F(StatementShapes, BreakAndContinue) {
  const Shape shapes[] = {
      {"while(5){_NOP;break;}", [] { always(30), emit_nop(), emit_jump_to(30), emit_jump_to(MAIN); }},
      // a break inside an if joins the loop's exits, not the if's
      {"while(5)if(0)break;", [] { always(33), emit_jump_to(29), emit_jump_to(33), emit_jump_to(MAIN); }},
      {"for(;;){{break;}}", [] { always(29), emit_jump_to(29), emit_jump_to(MAIN); }},
      {"do break; while(5);", [] { emit_jump_to(29), always(29), emit_jump_to(MAIN); }},
      // the inner loop takes the break; the outer one goes on
      {"while(5){while(5)break;_NOP;}",
       [] { always(42), always(37), emit_jump_to(37), emit_jump_to(21), emit_nop(), emit_jump_to(MAIN); }},
      // continue: a while tests its condition again, a for runs its third expression first,
      // a do tests its condition
      {"while(5){continue;}", [] { always(29), emit_jump_to(MAIN), emit_jump_to(MAIN); }},
      {"for(;5;_NOP){continue;_NOP;}",
       [] { always(31), emit_jump_to(26), emit_nop(), emit_nop(), emit_jump_to(MAIN); }},
      {"for(;5;){continue;}", [] { always(29), emit_jump_to(25), emit_jump_to(MAIN); }},
      {"do{continue;_NOP;}while(0);", [] { emit_jump_to(18), emit_nop(), emit_jump_to(26), emit_jump_to(MAIN); }},
      {"do{if(0)continue;continue;}while(5);",
       [] { emit_jump_to(21), emit_jump_to(25), emit_jump_to(25), always(37), emit_jump_to(MAIN); }},
  };
  expect_shapes(shapes);
}

TEST_F(StatementShapes, BlocksLabelsGotosAndRomRun) {
  const Shape shapes[] = {
      // empty statements and empty blocks emit nothing
      {";{}{;{}}{{}}", [] {}},
      {"{_NOP;{_NOP;}}{}_NOP;", [] { emit_nop(), emit_nop(), emit_nop(); }},
      // a goto jumps to the first word of the statement after its label
      {"goto L;_NOP;L:_NOP;", [] { emit_jump_to(18), emit_nop(), emit_nop(); }},
      {"goto L;{_NOP;L:}", [] { emit_jump_to(18), emit_nop(); }},
      // once its label is reached, the name may wait for a later label of the same name
      {"goto L;L:_NOP;goto L;_NOP;L:;", [] { emit_jump_to(17), emit_nop(), emit_jump_to(23), emit_nop(); }},
      {"goto a;goto b;b:a:_NOP;", [] { emit_jump_to(21), emit_jump_to(21), emit_nop(); }},
      // a label after an unbraced if head: the statement after it is the if's body
      {"goto L;if(0)L:_NOP;_NOP;", [] { emit_jump_to(21), emit_jump_to(22), emit_nop(), emit_nop(); }},
      // the block after such a label completes the if, which then finds its else
      {"goto L;if(0)L:{_NOP;}else _NOP;",
       [] { emit_jump_to(21), emit_jump_to(26), emit_nop(), emit_jump_to(27), emit_nop(); }},
      {"rom_run;_NOP;", [] { emit_jump_to(ROM_RUN_TARGET), emit_nop(); }},
      {"while(0)rom_run;", [] { emit_jump_to(25), emit_jump_to(ROM_RUN_TARGET), emit_jump_to(MAIN); }},
      // main returns by jumping to the word after its code
      {"return;_NOP;", [] { emit_jump_to(18), emit_nop(); }},
      {"if(0)return;_NOP;", [] { emit_jump_to(21), emit_jump_to(22), emit_nop(); }},
      {"while(5){return;}return;", [] { always(29), emit_jump_to(33), emit_jump_to(MAIN), emit_jump_to(33); }},
  };
  expect_shapes(shapes);
}

TEST_F(StatementShapes, ForBreakExampleWritesItsRomFiles) {
  const std::string log = compile("void main(){for(;;)break;}");
  EXPECT_TRUE(log.ends_with("ROM使用29字\r\nRAM使用24字节 系统保留65536字节 总占65560字节\r\n编译结束\r\n")) << log;
  EXPECT_EQ(files_here(),
            (std::vector<std::string>{"ROM.bin", "ROM_H.bin", "ROM_L.bin", "ROM_U4.bin", "ROM_U8.bin", "main.c"}));
  EXPECT_EQ(hex(read_file("ROM_H.bin")),
            "35 34 33 0D 35 33 FF 37 FF "
            "35 34 33 0D 35 34 33 0D 35 34 33 0D 35 34 33 0D 35 34 33 0D");
  // start-up, the jump to main at 13; the condition jumps over its false exit to the
  // break, both leave to 29; the back jump goes to 13
  EXPECT_EQ(hex(read_file("ROM_L.bin")),
            "00 00 09 FF C0 80 FF FF FF "
            "00 00 0D FF 00 00 15 FF 00 00 1D FF 00 00 1D FF 00 00 0D FF");
  EXPECT_EQ(read_file("ROM.bin"), read_file("ROM_L.bin") + read_file("ROM_H.bin"));
}

TEST_F(StatementShapes, IfElseExampleLandsOnTheElsePartAndAfterIt) {
  compile("void main(){if(0)_NOP;else _NOP;}");
  ASSERT_TRUE(compiled());
  EXPECT_EQ(g_rom_word_count, 23);
  EXPECT_EQ(words_from(MAIN), "35 00 34 00 33 16 0D FF FF FF 35 00 34 00 33 17 0D FF FF FF");
}

TEST_F(StatementShapes, BlanksAndCommentsMayStandBetweenEveryPart) {
  const struct {
    const char* compact;
    const char* spaced;
  } cases[] = {
      {"if(0)_NOP;else _NOP;", "if /*a*/ ( /*b*/ 0 /*c*/ ) // d\r\n _NOP /*e*/ ; /*f*/ else /*g*/ _NOP ;"},
      {"while(0){_NOP;}", "while\r\n(\t0\t)\r\n{\r\n\t_NOP;\r\n}\r\n"},
      // a ")" in a comment does not count in the skip over the third expression
      {"for(_NOP;0;_NOP)_NOP;", "for ( _NOP /*;*/ ; 0 ; _NOP /* ) */ ) // )\r\n _NOP ;"},
      {"do _NOP; while(0);", "do /*{*/ _NOP ; /*x*/ while /*(*/ ( /**/ 0 ) /*;*/ ;"},
      {"while(5){break;continue;}", "while ( 5 ) { break /*;*/ ; continue // x\r\n ; }"},
      {"goto L;_NOP;L:_NOP;", "goto /*x*/ L /*y*/ ; _NOP; L /*z*/ : _NOP;"},
      {"rom_run;return;", "rom_run /**/ ; return // x\r\n ;"},
      {"{}", "{ /* } */ }"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.spaced);
    compile(std::string("void main(){") + c.compact + "}");
    ASSERT_TRUE(compiled());
    const std::string compact = words();
    const std::string log = compile(std::string("void main(){") + c.spaced + "}");
    ASSERT_TRUE(compiled()) << log;
    EXPECT_EQ(words(), compact);
  }
}

TEST_F(StatementShapes, WordsThatBeginWithAKeywordAreNames) {
  // Locals from 0x10018, after main's return slot; each is set by an expression statement.
  compile_and_run(
      "void main(){ char iffy, if2, done, do_it, whiles, format, for_, returned, gotoL, breaks, continued, rom_runs,"
      " elsewhere;\r\n"
      "iffy = 1; if2 = 2; done = 3; do_it = 4; whiles = 5; format = 6; for_ = 7; returned = 8; gotoL = 9;"
      " breaks = 10; continued = 11; rom_runs = 12;\r\n"
      "if (0) _NOP; elsewhere = 13; }");
  for (std::int32_t k = 0; k < 13; ++k) EXPECT_EQ(ram(0x010018 + k, 1), static_cast<std::uint32_t>(k + 1)) << k;
}

// Function f starts at word 13 and returns through its slot, the first RAM byte.
TEST_F(StatementShapes, ReturnOutsideMainJumpsThroughTheSlot) {
  const struct {
    const char* project;
    std::function<void()> words;
  } cases[] = {
      // a void function ends in a return sequence of its own as well
      {"void f(){return;} void main(){}", [] { emit_return_jump(RAM_START), emit_return_jump(RAM_START); }},
      // a bare return in a function with a result compiles only the return sequence; its
      // closing brace, reached after a last statement that is no return, returns too
      {"int f(){if(0)return;_NOP;} void main(){}",
       [] { emit_jump_to(35), emit_return_jump(RAM_START), emit_nop(), emit_return_jump(RAM_START); }},
      {"long int f(){while(5)return;} void main(){}",
       [] { always(43), emit_return_jump(RAM_START), emit_jump_to(MAIN), emit_return_jump(RAM_START); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.project);
    const std::string log = compile(c.project);
    ASSERT_TRUE(compiled()) << log;
    EXPECT_EQ(words_from(MAIN), words_spelled_from(MAIN, c.words));
  }
}

TEST_F(StatementShapes, AReturnedValueIsAssignedToTheReturnCellWithTheResultType) {
  const struct {
    const char* type;  // as declared: a plain "long int" needs a blank before a "*"
    int kind;
    int width;
  } types[] = {
      {"unsigned char", OPERAND_KIND_UCHAR, 1},
      {"unsigned int", OPERAND_KIND_UINT, 2},
      {"unsigned long int", OPERAND_KIND_ULONG, 4},
      {"char", OPERAND_KIND_CHAR, 1},
      {"int", OPERAND_KIND_INT, 2},
      {"long int", OPERAND_KIND_LONG, 4},
      {"unsigned char*", OPERAND_KIND_UCHAR_PTR, 3},
      {"unsigned int*", OPERAND_KIND_UINT_PTR, 3},
      {"unsigned long int*", OPERAND_KIND_ULONG_PTR, 3},
      {"char*", OPERAND_KIND_CHAR_PTR, 3},
      {"int*", OPERAND_KIND_INT_PTR, 3},
      {"long int *", OPERAND_KIND_LONG_PTR, 3},
  };
  constexpr std::uint32_t VALUE = 0x11223344;
  for (const auto& t : types) {
    SCOPED_TRACE(t.type);
    // The assignment leaves its target, the return cell typed by the result, in the text.
    std::string log = compile(std::string(t.type) + " f(){return 0x11223344;} void main(){}");
    ASSERT_TRUE(compiled()) << log;
    EXPECT_EQ(items_of(g_expression_text), items({make_operand(t.kind, RETURN_VALUE_ADDRESS), ";"}));
    EXPECT_TRUE(words().ends_with(words_spelled_from(0, [] { emit_return_jump(RAM_START); })));

    log = compile(std::string(t.type) + " f(){return 0x11223344;} void main(){ f(); }");
    ASSERT_TRUE(compiled()) << log;
    run();
    for (int i = 0; i < 4; ++i) {
      const std::uint32_t address = RETURN_VALUE_ADDRESS + i;
      const std::uint32_t expected = i < t.width ? (VALUE >> (8 * i)) & 0xFF : pattern_byte(address);
      EXPECT_EQ(ram(static_cast<std::int32_t>(address), 1), expected) << "byte " << i;
    }
  }
}

}  // namespace
}  // namespace tarvik::test
