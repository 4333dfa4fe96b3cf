#include "support/expr_support.h"

#include <algorithm>

#include "app/app.h"

namespace tarvik::test {

ByteArray expression(std::initializer_list<Piece> pieces) { return expression(std::vector<Piece>(pieces)); }

ByteArray expression(const std::vector<Piece>& pieces) {
  ByteArray text;
  for (const Piece& piece : pieces) text += level_text({piece});
  return text + ";   ";
}

void nonzero(OperandDescriptor e, std::int32_t on_true) {
  call(COND, e, "!=", ZERO);
  patch_jump_list(g_true_jumps, on_true);
  g_true_jumps.clear();
}

void value_of_condition() {
  g_true_jumps.clear();
  g_false_jumps.clear();
  g_fall_through_sense = Text(SENSE_FALSE);
  call(0, REG_A, "=", COND);
}

void placeholder(JumpList& list) {
  append_jump_entry(list, g_rom_word_count);
  emit_jump_to(0);
}

std::vector<std::int32_t> sorted_entries(const JumpList& list) {
  std::vector<std::int32_t> entries;
  for (std::size_t i = 0; i + 3 <= list.size(); i += 3) {
    const auto byte = [&](std::size_t k) { return static_cast<std::int32_t>(static_cast<std::uint8_t>(list[i + k])); };
    entries.push_back(byte(0) | byte(1) << 8 | byte(2) << 16);
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

void ExpressionTest::SetUp() {
  ReductionTest::SetUp();
  g_ram_next = EXPR_TEMPORARIES;
  g_function_count = 0;
}

void ExpressionTest::local(const char* name, const char* type, std::int32_t address) {
  note_name_tables_changed();
  ++g_var_count;
  g_var_names[g_var_count] = name;
  g_var_types[g_var_count] = type;
  g_var_addrs[g_var_count] = address;
}

void ExpressionTest::locals(std::initializer_list<Local> variables) {
  for (const Local& v : variables) local(v.name, v.type, v.address);
}

void ExpressionTest::parameter(const char* name, const char* type, std::int32_t address) {
  const std::int32_t k = g_function_count + 1;
  if (g_func_param_end[k] == 0) {
    g_func_first_param[k] = g_function_count == 0 ? 0 : g_func_param_end[g_function_count];
    g_func_param_end[k] = g_func_first_param[k];
  }
  const std::int32_t p = ++g_func_param_end[k];
  g_param_names[p] = name;
  g_param_types[p] = type;
  g_param_addrs[p] = address;
  note_name_tables_changed();
}

std::int32_t ExpressionTest::function(const char* name, const char* return_type, std::initializer_list<Parameter> parameters,
                                      std::int32_t return_slot, std::int32_t entry) {
  const std::int32_t v = ++g_function_count;
  const std::int32_t first = v == 1 ? 0 : g_func_param_end[v - 1];
  g_func_names[v] = name;
  g_func_return_types[v] = return_type;
  g_func_first_param[v] = first;
  g_func_param_end[v] = first + static_cast<std::int32_t>(parameters.size());
  std::int32_t p = first;
  for (const Parameter& parameter : parameters) {
    ++p;
    g_param_names[p] = "p" + std::to_string(p);
    g_param_types[p] = parameter.type;
    g_param_addrs[p] = parameter.address;
  }
  g_func_return_slot[v] = return_slot;
  g_func_entry[v] = entry;
  note_name_tables_changed();
  return v;
}

StatusText ExpressionTest::evaluate(std::initializer_list<Piece> pieces, std::int32_t is_condition) {
  return evaluate_text(expression(pieces), is_condition);
}

StatusText ExpressionTest::evaluate_text(const ByteArray& text, std::int32_t is_condition) {
  first_word = g_rom_word_count;
  g_expression_part_start = first_word;
  return process_main_expression(text, is_condition);
}

std::int32_t ExpressionTest::length(const std::function<void()>& emitters) const {
  // "35 01 34 00" is two words: six characters each, the last without its blank.
  return static_cast<std::int32_t>((words_of(emitters).size() + 1) / 6);
}

std::int32_t ExpressionTest::int_test() const {
  return length([] { nonzero(s16(X), 0); });
}

void ExpressionTest::put(const std::vector<Stored>& values) {
  for (const Stored& v : values) sim.set_bytes(v.at, static_cast<std::uint32_t>(v.value), v.width);
}

void ExpressionTest::expect_failures(std::span<const Failure> cases, const std::function<void()>& before_each) {
  check_failures(cases, before_each, false);
}

void ExpressionTest::expect_failures_without_words(std::span<const Failure> cases) {
  check_failures(cases, [] {}, true);
}

void ExpressionTest::check_failures(std::span<const Failure> cases, const std::function<void()>& before_each,
                                    bool without_words) {
  for (const Failure& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    before_each();
    EXPECT_EQ(evaluate_text(c.text, c.is_condition), c.status);
    if (without_words) {
      EXPECT_EQ(emitted(), "");
      EXPECT_EQ(emitted_count(), 0);
    }
  }
}

void CallerTest::SetUp() {
  ExpressionTest::SetUp();
  emit_nop();  // no callee at word 0
  // The callees' temporaries lie apart from the caller's.
  g_ram_next = 0x010300;
  callees();
  g_ram_next = EXPR_TEMPORARIES;
  locals({{"a", "int", X}, {"b", "int", Y}, {"c", "int", Z}, {"d", "int", W}, {"x", "int", P}});
}

void CallerTest::callee(const char* name, const char* type, std::initializer_list<Parameter> parameters,
                        std::int32_t slot, std::initializer_list<Piece> body) {
  function(name, type, parameters, slot, g_rom_word_count);
  ASSERT_EQ(evaluate(body), STATUS_EXPRESSION_END) << name;
  emit_return_jump(slot);
}

std::int16_t CallerTest::x_for(std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d) {
  put({{X, 2, a}, {Y, 2, b}, {Z, 2, c}, {W, 2, d}});
  run();
  return static_cast<std::int16_t>(sim.read_bytes(P, 2));
}

}  // namespace tarvik::test
