// Level texts as the expression extractor leaves them, and a fixture for the reduction.
#pragma once

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "binop/binop.h"
#include "operand/operand.h"
#include "support/codegen_support.h"

namespace tarvik::test {

// One item of a level text: an operand token or an operator's characters.
struct Piece {
  Piece(OperandDescriptor token);  // NOLINT: a table of pieces reads as the text it stands for
  Piece(const char* op);           // NOLINT
  std::string bytes;
};

// Every piece followed by the three blanks that the extractor puts after each item.
ByteArray level_text(std::initializer_list<Piece> pieces);
// The tokens (8 hex digits) and operators of a text in order, blanks dropped.
std::string items_of(const ByteArray& text);
// The items of the level text of `pieces`.
std::string items(std::initializer_list<Piece> pieces);

// One generator call, as the reduction must have made it; replayed for the expected words.
void call(OperandDescriptor d, OperandDescriptor l, std::string_view op, OperandDescriptor r);

// A value pending in A, its token at `pos` of the text that `place` names.
void pending_a(std::string_view state, std::string_view place, std::int32_t pos);

// Where the reduction tests take their temporaries from.
inline constexpr std::int32_t TEMPORARIES = 0x010100;
inline constexpr std::int32_t T = TEMPORARIES;
// Three more variables, apart from X, Y, Z, from each other and from the temporaries.
inline constexpr std::int32_t W = 0x010050, P = 0x010060, Q = 0x010070;

// X assign L op R, or L op R alone when x is 0.
struct Binary {
  const char* what;
  OperandDescriptor x;
  const char* assign;
  OperandDescriptor l;
  const char* op;
  OperandDescriptor r;

  ByteArray level() const;
};

// What a reduction must leave: the words, the text, the temporaries taken and what register
// A holds for the text.
struct Expected {
  std::function<void()> words;
  std::string items;
  std::int32_t temporaries;
  std::string_view a_state = REG_A_FREE;
};

// A level text, the value of the constant in entry 2 (the first literal of a fresh
// expression), the words of the calls in order and the items left.
struct Reduction {
  const char* what;
  ByteArray level;
  std::int32_t k;
  std::function<void()> words;
  const char* items;
};

// X = L op R that the reduction must compile to the one instruction `word`.
struct RegisterForm {
  const char* what;
  OperandDescriptor x, l;
  const char* op;
  OperandDescriptor r;
  std::function<void()> word;
};

// A Binary run on the simulator with `y` at Y and `other` at the address the test gives;
// the value its result stands for.
struct SimulatedValue {
  Binary binary;
  std::uint32_t y, other, expected;
};

// Two constants and the one constant they fold into.
struct Fold {
  std::int32_t l;
  const char* op;
  std::int32_t r, folded;
};

// A level text the reduction refuses with `status`.
struct RefusedText {
  const char* what;
  ByteArray level;
  std::string_view status;
};

class ReductionTest : public CodegenTest {
 protected:
  void SetUp() override;

  // Reduces the level text; `text` keeps it, `first_word` marks the first word emitted.
  StatusText reduce(std::initializer_list<Piece> pieces);
  StatusText reduce_text(const ByteArray& level);
  // The Binary's text reduced from the first temporary with A free.
  StatusText reduce_binary(const Binary& b);
  // The whole subexpression processor on a level text; `text` keeps it.
  StatusText process(const ByteArray& level);
  // The assignment step on the reduced text, as the subexpression compiler calls it.
  StatusText assign();

  // A result in A is tracked at its token in `text`; any other leaves A free.
  void expect_a_tracked() const;
  void expect_reduced(const Binary& b, const Expected& e);
  void expect_all_reduced(std::span<const std::pair<Binary, Expected>> cases);
  // Each form leaves its target, takes no temporary and leaves A free.
  void expect_register_forms(std::span<const RegisterForm> forms);
  // Each text on fresh state, with entry 2 holding k and A pending when it starts the text.
  void expect_reductions(std::span<const Reduction> cases);
  // Each fold on fresh state emits nothing and leaves one new constant, no temporary and A free.
  void expect_folds(std::span<const Fold> folds);
  // A fold with the constant table full ends the compile and leaves the text as it was.
  void expect_full_table_fold_throws(std::int32_t l, const char* op, std::int32_t r);
  // Each case run on the simulator; its result read from A or from the bytes its token names.
  void expect_values(std::span<const SimulatedValue> values, std::int32_t other_at);

  // Refused with `status`: nothing emitted, the text and the reduction's copy of it unchanged.
  void expect_text_refused(const ByteArray& level, std::string_view status);
  // Each case after `before_each`, as expect_text_refused says.
  void expect_texts_refused(std::span<const RefusedText> cases, const std::function<void()>& before_each = [] {});
  // Each Binary from the first temporary with A free, as expect_text_refused says.
  void expect_binaries_refused(std::span<const Binary> cases, std::string_view status);

  ByteArray text;
};

}  // namespace tarvik::test
