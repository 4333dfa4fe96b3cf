#include <string>
#include <string_view>
#include <vector>

#include "stmt/stmt.h"
#include "support/program_support.h"

namespace tarvik::test {
namespace {

class StatementMessages : public ProgramTest {};

// Each project stops inside a function body; the log's last line is the message, after the
// line of the function being compiled, and no ROM file is written.
TEST_F(StatementMessages, EachFaultEndsTheCompileWithItsMessage) {
  const struct {
    const char* project;
    std::string_view message;
  } cases[] = {
      // The function scan pairs the braces first, but a "}" in the third expression of a for
      // is stepped over with it: the text can end inside the body.
      {"void main(){ for(;;(})){ _NOP;", MSG_BODY_TEXT_END},
      {"void main(){ for(;;(})){ while(1){ if(1) _NOP; } /* } */", MSG_BODY_TEXT_END},

      {"void main(){ if 1) _NOP; }", MSG_IF_FORMAT},
      {"void main(){ if; }", MSG_IF_FORMAT},
      {"void main(){ if /* ( */ }", MSG_IF_FORMAT},
      {"void main(){ if() _NOP; }", MSG_IF_EMPTY},
      {"void main(){ if ( /* c */ ) _NOP; }", MSG_IF_EMPTY},
      {"void main(){ while 1; }", MSG_WHILE_FORMAT},
      {"void main(){ while{} }", MSG_WHILE_FORMAT},
      {"void main(){ while() _NOP; }", MSG_WHILE_EMPTY},
      {"void main(){ while(\r\n) _NOP; }", MSG_WHILE_EMPTY},
      {"void main(){ for; }", MSG_FOR_FORMAT},
      {"void main(){ for _NOP;;) _NOP; }", MSG_FOR_FORMAT},
      // the text ends while the third expression is stepped over
      {"void main(){ for(;;_NOP }", MSG_FOR_FORMAT},
      {"void main(){ for(;;(_NOP) _NOP; }", MSG_FOR_FORMAT},
      {"void main(){ for(;;_NOP /* ) */ }", MSG_FOR_FORMAT},
      // a string literal is stepped over whole, with the brackets in it
      {"void main(){ for(;;\")) _NOP; \"}", MSG_FOR_FORMAT},
      {"void main(){ for() _NOP; }", MSG_FOR_EMPTY},
      {"void main(){ for ( ) _NOP; }", MSG_FOR_EMPTY},

      // break and continue: no ";" or no level at all (four points), no loop (seven points)
      {"void main(){ break; }", MSG_BREAK},
      {"void main(){ while(1) break }", MSG_BREAK},
      {"void main(){ while(1){ break _NOP; } }", MSG_BREAK},
      {"void main(){ if(1) break; }", MSG_BREAK_OUTSIDE_LOOP},
      {"void main(){ { break; } }", MSG_BREAK_OUTSIDE_LOOP},
      {"void main(){ if(0) _NOP; else { if(1) break; } }", MSG_BREAK_OUTSIDE_LOOP},
      {"void main(){ continue; }", MSG_CONTINUE},
      {"void main(){ do continue } while(1); }", MSG_CONTINUE},
      {"void main(){ if(1) continue; }", MSG_CONTINUE_OUTSIDE_LOOP},
      {"void main(){ { { continue; } } }", MSG_CONTINUE_OUTSIDE_LOOP},

      // a value needs a result type with a kind
      {"void f(){ return 1; } void main(){}", MSG_RETURN_TYPE},
      {"char **f(){ return 0; } void main(){}", MSG_RETURN_TYPE},
      {"int **f(){ if(1) return 0; } void main(){}", MSG_RETURN_TYPE},
      {"void main(){ return 0; }", MSG_RETURN_TYPE},

      {"void main(){ goto; }", MSG_GOTO_NAME},
      {"void main(){ goto 9L; 9L: _NOP; }", MSG_GOTO_NAME},
      {"void main(){ goto L _NOP; L: _NOP; }", MSG_GOTO_NAME},
      {"void main(){ goto L }", MSG_GOTO_NAME},
      // a goto still waiting for its label at the body's closing brace
      {"void main(){ goto L; _NOP; }", MSG_GOTO_NAME},
      {"void main(){ goto L; { L: _NOP; } goto M; }", MSG_GOTO_NAME},
      // gotos only jump forward: one back to a label already passed waits in vain
      {"void main(){ goto L; L: _NOP; goto L; }", MSG_GOTO_NAME},
      {"void f(){ goto L; } void main(){ L: _NOP; }", MSG_GOTO_NAME},
      {"void main(){ goto L; goto L; L: _NOP; }", MSG_GOTO_NAME_TWICE},
      {"void main(){ goto L; if(1) goto M; else goto L; L: M: _NOP; }", MSG_GOTO_NAME_TWICE},

      {"void main(){ rom_run }", MSG_ROM_RUN},
      {"void main(){ rom_run _NOP; }", MSG_ROM_RUN},

      // the tail of a do: while, "(", a condition and ";"
      {"void main(){ do _NOP; _NOP; }", MSG_DO_WITHOUT_WHILE},
      {"void main(){ do { _NOP; } whilst; }", MSG_DO_WITHOUT_WHILE},
      {"void main(){ do { } (1); }", MSG_DO_WITHOUT_WHILE},
      {"void main(){ for(;;(})) do { }", MSG_DO_WITHOUT_WHILE},
      {"void main(){ do { } while 1; }", MSG_DO_WHILE_FORMAT},
      {"void main(){ do { } while; }", MSG_DO_WHILE_FORMAT},
      {"void main(){ do { } while(); }", MSG_DO_WHILE_EMPTY},
      {"void main(){ do _NOP; while( /* 1 */ ); }", MSG_DO_WHILE_EMPTY},
      {"void main(){ do { } while(1) }", MSG_DO_WHILE_SEMICOLON},
      {"void main(){ do { } while(1) _NOP; }", MSG_DO_WHILE_SEMICOLON},
      {"void main(){ for(;;(})) do _NOP; while(1)", MSG_DO_WHILE_SEMICOLON},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.project);
    const std::string log = compile(c.project);
    EXPECT_TRUE(log.ends_with("函数...\r\n" + std::string(c.message) + "\r\n")) << log;
    EXPECT_EQ(files_here(), std::vector<std::string>{"main.c"});
  }
}

// No statement leaves an unbraced level without a keyword; closing one anyway is refused.
TEST_F(StatementMessages, AnUnbracedLevelWithoutAKeywordIsRefused) {
  g_stmt_depth = 1;
  g_stmt_keyword[1] = "";
  g_stmt_braced[1] = 0;
  EXPECT_EQ(finish_control_statements(), MSG_UNKNOWN_LEVEL);
  EXPECT_EQ(g_stmt_depth, 0);
  EXPECT_EQ(g_rom_word_count, 0);
}

}  // namespace
}  // namespace tarvik::test
