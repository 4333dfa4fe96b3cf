// Compiles three expression shapes of n and 2n parts: a long && / || condition with bracketed
// chains and calls, n nested brackets, and a chain of n ?: ; each fails when 2n takes more
// than 2.2 times as long: a step must cost its own part, not a pass over the whole text.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iterator>
#include <string_view>

#include "app/state.h"
#include "codegen/codegen.h"
#include "expr/expr.h"
#include "operand/operand.h"
#include "stmt/stmt.h"
#include "support/linearity.h"

namespace {

using namespace tarvik;

// The constants the texts use after entries 0 and 1 (0 and 1).
constexpr std::int32_t CONSTANTS[] = {5, 300, 7};
constexpr std::int32_t CONSTANT_COUNT = 2 + static_cast<std::int32_t>(std::size(CONSTANTS));

constexpr OperandDescriptor constant_token(std::int32_t entry) { return make_operand(OPERAND_KIND_CONSTANT, entry); }
constexpr OperandDescriptor ONE = constant_token(1);
constexpr OperandDescriptor FIVE = constant_token(2);
constexpr OperandDescriptor THREE_HUNDRED = constant_token(3);
constexpr OperandDescriptor SEVEN = constant_token(4);

// An expression text as the extractor writes it: every item followed by three blanks.
class ExpressionText {
 public:
  ExpressionText& operator<<(std::string_view item) {
    text_ += item;
    text_ += TOKEN_PAD;
    return *this;
  }
  ExpressionText& operator<<(OperandDescriptor token) {
    ByteArray bytes(4, ' ');
    write_operand_token(bytes, 0, token);
    return *this << std::string_view(bytes);
  }
  ByteArray end() { return (*this << ";").text_; }

 private:
  ByteArray text_;
};

void declare(const char* name, const char* type, std::int32_t address) {
  ++g_var_count;
  g_var_names[g_var_count] = name;
  g_var_types[g_var_count] = type;
  g_var_addrs[g_var_count] = address;
}

// Locals a, b, c, d, x, y and the function int f(int).
void declare_names() {
  declare("a", "int", 0x010100);
  declare("b", "int", 0x010102);
  declare("c", "unsigned char", 0x010104);
  declare("d", "unsigned char", 0x010105);
  declare("x", "int", 0x010106);
  declare("y", "int", 0x010108);
  g_function_count = 1;
  g_func_names[1] = "f";
  g_func_return_types[1] = "int";
  g_func_first_param[1] = 0;
  g_func_param_end[1] = 1;
  g_param_names[1] = "p1";
  g_param_types[1] = "int";
  g_param_addrs[1] = 0x010190;
  g_func_return_slot[1] = 0x010180;
  g_func_entry[1] = 0x1234;
  note_name_tables_changed();
  g_constant_table[0] = 0;
  g_constant_table[1] = 1;
  for (std::int32_t k = 0; k < CONSTANT_COUNT - 2; ++k) g_constant_table[2 + k] = CONSTANTS[k];
}

// a && ( b || c ) && f ( a ) || b < 5 && a && ( c && d ) || ... : n operands, the last one d.
ByteArray condition_text(std::int64_t operands) {
  ExpressionText text;
  for (std::int64_t i = 0; i + 1 < operands; ++i) {
    switch (i % 4) {
      case 0: text << "a"; break;
      case 1:
        if (i % 8 == 1) text << "(" << "b" << "||" << "c" << ")";
        else text << "(" << "c" << "&&" << "d" << ")";
        break;
      case 2: text << "f" << "(" << "a" << ")"; break;
      case 3: text << "b" << "<" << FIVE; break;
    }
    text << (i % 3 == 2 ? "||" : "&&");
  }
  return (text << "d").end();
}

// x = ( ( ( ... ( ( y + 1 ) ) + 300 ) + 1 ) ... ) ; : n brackets, every third a plain grouping.
ByteArray nested_text(std::int64_t brackets) {
  ExpressionText text;
  text << "x" << "=";
  for (std::int64_t i = 0; i < brackets; ++i) text << "(";
  text << "y";
  for (std::int64_t i = 0; i < brackets; ++i) {
    if (i % 3 == 1) text << ")";
    else text << "+" << (i % 3 == 0 ? ONE : THREE_HUNDRED) << ")";
  }
  return text.end();
}

// x = c ? a : b < 7 ? 300 : d ? y : ... : b ; : n conditionals.
ByteArray conditional_text(std::int64_t conditionals) {
  ExpressionText text;
  text << "x" << "=";
  for (std::int64_t i = 0; i < conditionals; ++i) {
    switch (i % 3) {
      case 0: text << "c" << "?" << "a"; break;
      case 1: text << "b" << "<" << SEVEN << "?" << THREE_HUNDRED; break;
      case 2: text << "d" << "?" << "y"; break;
    }
    text << ":";
  }
  return (text << "b").end();
}

// Each run is a single iteration of the evaluator on a text made beforehand.
void evaluate(benchmark::State& state, ByteArray (*text_of)(std::int64_t), std::int32_t is_condition) {
  const ByteArray text = text_of(state.range(0));
  for (auto _ : state) {
    // The planes keep their storage: first touches of fresh memory would time the system.
    g_rom_high_bytes.clear();
    g_rom_low_bytes.clear();
    g_rom_word_count = 0;
    g_true_jumps.clear();
    g_false_jumps.clear();
    g_constant_count = CONSTANT_COUNT;
    // A broken evaluator must not pass by stopping early: every part gives words.
    if (process_main_expression(text, is_condition) != STATUS_EXPRESSION_END || g_rom_word_count < state.range(0))
      std::abort();
    benchmark::DoNotOptimize(g_rom_low_bytes.data());
  }
}

void condition(benchmark::State& state) { evaluate(state, condition_text, 1); }
void nested(benchmark::State& state) { evaluate(state, nested_text, 0); }
void conditional(benchmark::State& state) { evaluate(state, conditional_text, 0); }

}  // namespace

int main(int argc, char** argv) {
  init_global_tables();
  declare_names();
  g_ram_next = 0x010200;
  int failed = test::check_linear(argc, argv, "condition", condition, 2000, "operands");
  benchmark::ClearRegisteredBenchmarks();
  failed |= test::check_linear(argc, argv, "nested", nested, 4000, "brackets");
  benchmark::ClearRegisteredBenchmarks();
  failed |= test::check_linear(argc, argv, "conditional", conditional, 2000, "conditionals");
  return failed;
}
