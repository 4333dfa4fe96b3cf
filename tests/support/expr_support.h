// Expression texts as the extractor writes them, declarations made by hand, the words the
// evaluator's steps must emit, and fixtures that run the expression evaluator on them.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "expr/expr.h"
#include "isa/isa.h"
#include "support/binop_support.h"

namespace tarvik::test {

// The text of an expression: every piece followed by the three blanks the extractor puts
// after each item, then ";" and three blanks.
ByteArray expression(std::initializer_list<Piece> pieces);
ByteArray expression(const std::vector<Piece>& pieces);

// Where the expression tests take their temporaries from (g_ram_next).
inline constexpr std::int32_t EXPR_TEMPORARIES = 0x010200;
// Constant entries 0 and 1, which hold 0 and 1 in every expression.
inline constexpr OperandDescriptor ZERO = make_operand(OPERAND_KIND_CONSTANT, 0);
inline constexpr OperandDescriptor ONE = make_operand(OPERAND_KIND_CONSTANT, 1);
// The cell a callee leaves its result in.
inline constexpr std::int32_t CELL = RETURN_VALUE_ADDRESS;
// The words of one jump.
inline constexpr std::int32_t JUMP = 4;
// A := a condition is A = 0 where falling through lands, a jump, then A = 1.
inline constexpr std::int32_t ONE_OF_VALUE = 5;

// A local variable: its name, type text and RAM address.
struct Local {
  const char* name;
  const char* type;
  std::int32_t address;
};

// A parameter of a callee: its type text and RAM address.
struct Parameter {
  const char* type;
  std::int32_t address;
};

// A value put into RAM before a run: `width` bytes at `at`, little-endian.
struct Stored {
  std::int32_t at;
  int width;
  std::int64_t value;
};

// An expression text, the status it must end with, and whether it is a condition.
struct Failure {
  const char* what;
  ByteArray text;
  std::string_view status;
  std::int32_t is_condition = 0;
};

// `e != 0`, every true exit landing on `on_true`; false falls through.
void nonzero(OperandDescriptor e, std::int32_t on_true);
// A := the condition, whose exits the words before have already landed.
void value_of_condition();
// A placeholder jump whose entry goes into `list`.
void placeholder(JumpList& list);
// The first words of the jumps of a list, lowest first.
std::vector<std::int32_t> sorted_entries(const JumpList& list);

class ExpressionTest : public ReductionTest {
 protected:
  void SetUp() override;

  // A local variable of the function being compiled, or each of a list.
  static void local(const char* name, const char* type, std::int32_t address);
  static void locals(std::initializer_list<Local> variables);
  // A parameter of the function being compiled (callees, if any, declared before).
  static void parameter(const char* name, const char* type, std::int32_t address);
  // A finished function that can be called: its result type, parameters, return slot and
  // first word; returns its number.
  static std::int32_t function(const char* name, const char* return_type, std::initializer_list<Parameter> parameters,
                               std::int32_t return_slot, std::int32_t entry);
  // A string literal's token: an unsigned char array at the address.
  static OperandDescriptor string_at(std::int32_t address) { return make_operand(OPERAND_KIND_UCHAR_ARRAY, address); }

  // The evaluator on the expression of `pieces`; its words start at first_word.
  StatusText evaluate(std::initializer_list<Piece> pieces, std::int32_t is_condition = 0);
  StatusText evaluate_text(const ByteArray& text, std::int32_t is_condition = 0);
  // The tokens and characters left in g_expression_text, blanks dropped.
  std::string left() const { return items_of(g_expression_text); }

  // How many words the emitters give.
  std::int32_t length(const std::function<void()>& emitters) const;
  // The words of comparing the int at X with 0.
  std::int32_t int_test() const;

  // The values into the simulator's RAM.
  void put(const std::vector<Stored>& values);
  // For each input a fresh simulator, holding what `stores` gives for it, runs the words;
  // `check` then looks at what they left. An input prints itself for the trace.
  void run_each(const auto& inputs, const auto& stores, const auto& check) {
    for (const auto& input : inputs) {
      SCOPED_TRACE(testing::Message() << input);
      sim = Simulator();
      put(stores(input));
      run();
      check(input);
    }
  }

  // Each text, evaluated on fresh state after `before_each`, ends with its status.
  void expect_failures(std::span<const Failure> cases, const std::function<void()>& before_each = [] {});
  // The same, and none of them emits a word.
  void expect_failures_without_words(std::span<const Failure> cases);

 private:
  void check_failures(std::span<const Failure> cases, const std::function<void()>& before_each, bool without_words);
};

// Callees made of words in front of the caller; each body computes its result into the
// return-value cell (or stores its parameters) and returns through its slot. The caller has
// the ints a, b, c, d and x at X, Y, Z, W and P.
class CallerTest : public ExpressionTest {
 protected:
  void SetUp() override;

  // Compiles the callees; SetUp calls it before it declares the caller's variables.
  virtual void callees() {}
  // A callee whose body the evaluator compiles at the next word, followed by its return.
  void callee(const char* name, const char* type, std::initializer_list<Parameter> parameters, std::int32_t slot,
              std::initializer_list<Piece> body);
  // Runs the caller with a, b, c and d set; x afterwards.
  std::int16_t x_for(std::int16_t a, std::int16_t b, std::int16_t c = 0, std::int16_t d = 0);
};

}  // namespace tarvik::test
