#include "support/binop_support.h"

#include "operand/operand.h"

#include <cstdio>

#include "stmt/stmt.h"

namespace tarvik::test {

Piece::Piece(OperandDescriptor token) : bytes(4, ' ') { write_operand_token(bytes, 0, token); }

Piece::Piece(const char* op) : bytes(op) {}

ByteArray level_text(std::initializer_list<Piece> pieces) {
  ByteArray text;
  for (const Piece& piece : pieces) text += piece.bytes + ByteArray(TOKEN_PAD);
  return text;
}

std::string items_of(const ByteArray& text) {
  std::string items;
  for (std::size_t pos = 0; pos < text.size();) {
    if (text[pos] == ' ') {
      ++pos;
      continue;
    }
    if (!items.empty()) items += ' ';
    if (static_cast<std::uint8_t>(text[pos]) >= 0x80 && pos + 4 <= text.size()) {
      char token[16];
      std::snprintf(token, sizeof token, "%08X", static_cast<unsigned>(read_operand_token(text, pos)));
      items += token;
      pos += 4;
    } else if (static_cast<std::uint8_t>(text[pos]) >= 0x80) {
      items += '?';  // a token cut short by the end of the text
      pos = text.size();
    } else {
      while (pos < text.size() && text[pos] != ' ' && static_cast<std::uint8_t>(text[pos]) < 0x80) items += text[pos++];
    }
  }
  return items;
}

std::string items(std::initializer_list<Piece> pieces) { return items_of(level_text(pieces)); }

void call(OperandDescriptor d, OperandDescriptor l, std::string_view op, OperandDescriptor r) {
  Text text(op);
  EXPECT_EQ(generate_binary_operation_code(d, l, text, r), STATUS_DONE) << op;
}

void pending_a(std::string_view state, std::string_view place, std::int32_t pos) {
  g_register_a_state = Text(state);
  g_register_a_token_place = Text(place);
  g_register_a_token_pos = pos;
}

ByteArray Binary::level() const { return x == 0 ? level_text({l, op, r}) : level_text({x, assign, l, op, r}); }

namespace {

std::string_view a_state_of(int kind) { return kind == OPERAND_KIND_A_SIGNED ? REG_A_SIGNED : REG_A_UNSIGNED; }

// A value in A that starts the text is pending, as the subexpression compiler records it.
void pending_a_at_start(const ByteArray& level) {
  const int kind = get_operand_kind(read_operand_token(level, 0));
  if (is_acc_value(kind)) pending_a(a_state_of(kind), TOKEN_IN_SUBEXPRESSION, 0);
}

}  // namespace

void ReductionTest::SetUp() {
  CodegenTest::SetUp();
  g_temp_ram_next = TEMPORARIES;
  g_register_a_state = Text(REG_A_FREE);
  g_register_a_token_place = Text(TOKEN_IN_MAIN_EXPRESSION);
}

StatusText ReductionTest::reduce(std::initializer_list<Piece> pieces) { return reduce_text(level_text(pieces)); }

StatusText ReductionTest::reduce_text(const ByteArray& level) {
  text = level;
  first_word = g_rom_word_count;
  return reduce_binary_operators(text);
}

StatusText ReductionTest::reduce_binary(const Binary& b) {
  g_temp_ram_next = T;
  g_register_a_state = Text(REG_A_FREE);
  return reduce_text(b.level());
}

StatusText ReductionTest::process(const ByteArray& level) {
  text = level;
  first_word = g_rom_word_count;
  return process_subexpression(text);
}

StatusText ReductionTest::assign() { return rewrite_compound_assignments(g_reduced_expression); }

void ReductionTest::expect_a_tracked() const {
  for (std::size_t pos = 0; pos + 4 <= text.size(); ++pos) {
    if (static_cast<std::uint8_t>(text[pos]) < 0x80) continue;
    const int kind = get_operand_kind(read_operand_token(text, pos));
    if (is_acc_value(kind)) {
      EXPECT_EQ(g_register_a_state, a_state_of(kind));
      EXPECT_EQ(g_register_a_token_place, TOKEN_IN_SUBEXPRESSION);
      EXPECT_EQ(g_register_a_token_pos, static_cast<std::int32_t>(pos));
      return;
    }
    pos += 3;
  }
  EXPECT_EQ(g_register_a_state, REG_A_FREE);
}

void ReductionTest::expect_reduced(const Binary& b, const Expected& e) {
  SCOPED_TRACE(b.what);
  EXPECT_EQ(reduce_binary(b), STATUS_DONE);
  EXPECT_EQ(emitted(), words_of(e.words));
  EXPECT_EQ(items_of(text), e.items);
  EXPECT_EQ(g_temp_ram_next - T, e.temporaries);
  EXPECT_EQ(g_register_a_state, e.a_state);
  if (e.a_state != REG_A_FREE) {
    // The tracker points at the token that now stands for A.
    EXPECT_EQ(g_register_a_token_place, TOKEN_IN_SUBEXPRESSION);
    const int kind = e.a_state == REG_A_SIGNED ? OPERAND_KIND_A_SIGNED : OPERAND_KIND_A_UNSIGNED;
    EXPECT_EQ(get_operand_kind(read_operand_token(text, g_register_a_token_pos)), kind);
  }
}

void ReductionTest::expect_all_reduced(std::span<const std::pair<Binary, Expected>> cases) {
  for (const auto& [binary, expected] : cases) expect_reduced(binary, expected);
}

void ReductionTest::expect_register_forms(std::span<const RegisterForm> forms) {
  for (const RegisterForm& f : forms) expect_reduced({f.what, f.x, "=", f.l, f.op, f.r}, {f.word, items({f.x}), 0});
}

void ReductionTest::expect_reductions(std::span<const Reduction> cases) {
  for (const Reduction& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    constant(c.k);
    pending_a_at_start(c.level);
    ASSERT_EQ(reduce_text(c.level), STATUS_DONE);
    EXPECT_EQ(emitted(), words_of(c.words));
    EXPECT_EQ(items_of(text), c.items);
    expect_a_tracked();
  }
}

void ReductionTest::expect_folds(std::span<const Fold> folds) {
  for (const Fold& f : folds) {
    SCOPED_TRACE(testing::Message() << f.l << ' ' << f.op << ' ' << f.r);
    fresh();
    const OperandDescriptor l = constant(f.l), r = constant(f.r);
    // A fold takes a new entry even when one already holds its value.
    const std::int32_t index = g_constant_count;
    ASSERT_EQ(reduce({l, f.op, r}), STATUS_DONE);
    EXPECT_EQ(emitted_count(), 0);
    EXPECT_EQ(items_of(text), items({operand(OPERAND_KIND_CONSTANT, index)}));
    EXPECT_EQ(g_constant_table[index], f.folded);
    EXPECT_EQ(g_constant_count, index + 1);
    EXPECT_EQ(g_temp_ram_next, T);
    EXPECT_EQ(g_register_a_state, REG_A_FREE);
  }
}

void ReductionTest::expect_full_table_fold_throws(std::int32_t l, const char* op, std::int32_t r) {
  const ByteArray level = level_text({constant(l), op, constant(r)});
  g_constant_count = TABLE_CAPACITY;
  EXPECT_THROW(reduce_text(level), TableCapacityExceeded);
  EXPECT_EQ(text, level);
}

void ReductionTest::expect_values(std::span<const SimulatedValue> values, std::int32_t other_at) {
  for (const SimulatedValue& v : values) {
    SCOPED_TRACE(v.binary.what);
    sim.set_bytes(Y, v.y, 4);
    sim.set_bytes(other_at, v.other, 4);
    ASSERT_EQ(reduce_binary(v.binary), STATUS_DONE);
    run();
    const OperandDescriptor result = read_operand_token(text, text.find_first_not_of(' '));
    const int kind = get_operand_kind(result);
    EXPECT_EQ(is_acc_value(kind) ? sim.a : sim.read_bytes(result & 0xFFFFFF, variable_width(kind)), v.expected);
  }
}

void ReductionTest::expect_text_refused(const ByteArray& level, std::string_view status) {
  EXPECT_EQ(reduce_text(level), status);
  EXPECT_EQ(emitted_count(), 0);
  EXPECT_EQ(text, level);
  EXPECT_EQ(g_reduced_expression, level);
}

void ReductionTest::expect_texts_refused(std::span<const RefusedText> cases, const std::function<void()>& before_each) {
  for (const RefusedText& c : cases) {
    SCOPED_TRACE(c.what);
    before_each();
    expect_text_refused(c.level, c.status);
  }
}

void ReductionTest::expect_binaries_refused(std::span<const Binary> cases, std::string_view status) {
  for (const Binary& b : cases) {
    SCOPED_TRACE(b.what);
    g_temp_ram_next = T;
    g_register_a_state = Text(REG_A_FREE);
    expect_text_refused(b.level(), status);
  }
}

}  // namespace tarvik::test
