// What the statement compiler keeps for one function body, and the steps its files share.
#pragma once

#include <string>
#include <unordered_map>

#include "app/app.h"
#include "front/front.h"
#include "isa/isa.h"
#include "stmt/stmt.h"

namespace tarvik::stmt {

// The state of one body: its gotos waiting for their labels, and the returns of main.
class Body {
 public:
  // A goto to `name` jumping from `word`; false when one to that name still waits.
  bool add_goto(const ByteArray& name, std::int32_t word);
  // At a word that is no statement keyword: a label of a waiting goto when a ":" follows,
  // which it then steps over; otherwise the scan position is left after the blanks.
  bool take_label(const ByteArray& word);
  // A return of main leaves the program as the end of main's body does.
  void add_main_return(std::int32_t word) { append_jump_entry(main_returns_, word); }
  // The body's closing brace: every goto has met its label, and main's returns land here.
  StatusText end();

  // Whether the last statement so far at the body's own level is a return.
  bool ends_with_return = false;

 private:
  std::unordered_map<ByteArray, std::int32_t> waiting_gotos_;  // name -> first word of its jump
  std::int32_t goto_count_ = 0;
  JumpList main_returns_;
};

StatusText compile_return(Body& body);
StatusText compile_goto(Body& body);
StatusText compile_rom_run();
StatusText close_completed_levels();

}  // namespace tarvik::stmt
